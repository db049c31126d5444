#include "verify/statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tesmo {

double quantile(std::vector<double> values, double q) {
    if (values.empty()) return std::nan("");
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    const double share = position - static_cast<double>(below);
    return values[below] + share * (values[above] - values[below]);
}

std::vector<double> ranks(const std::vector<double>& values) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> r(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j + 1 < order.size() && values[order[j + 1]] == values[order[i]])
            ++j;
        const double mean = (static_cast<double>(i + j) / 2) + 1;
        for (std::size_t k = i; k <= j; ++k)
            r[order[k]] = mean;
        i = j + 1;
    }
    return r;
}

double spearman(const std::vector<double>& a, const std::vector<double>& b) {
    const std::size_t n = std::min(a.size(), b.size());
    if (n < 2) return std::nan("");
    const std::vector<double> ra = ranks({a.begin(), a.begin() + static_cast<long>(n)});
    const std::vector<double> rb = ranks({b.begin(), b.begin() + static_cast<long>(n)});
    const double mean = (static_cast<double>(n) + 1) / 2;
    double sab = 0, saa = 0, sbb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sab += (ra[i] - mean) * (rb[i] - mean);
        saa += (ra[i] - mean) * (ra[i] - mean);
        sbb += (rb[i] - mean) * (rb[i] - mean);
    }
    if (saa == 0 || sbb == 0) return std::nan("");
    return sab / std::sqrt(saa * sbb);
}

std::vector<int> histogram(const std::vector<double>& values, double lo, double width, int bins) {
    std::vector<int> counts(static_cast<std::size_t>(std::max(0, bins)), 0);
    const double hi = lo + width * bins;
    for (double v : values) {
        if (!(v >= lo && v <= hi)) continue;
        const int i = std::min(bins - 1, static_cast<int>(std::floor((v - lo) / width)));
        ++counts[static_cast<std::size_t>(i)];
    }
    return counts;
}

}  // namespace tesmo
