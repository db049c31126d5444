#include "fit/latin_hypercube.h"

#include <numeric>
#include <random>
#include <utility>

namespace tesmo {

std::vector<std::vector<double>> latinHypercube(std::size_t count, const std::vector<double>& lower,
                                                const std::vector<double>& upper,
                                                std::uint32_t seed) {
    // The Mersenne twister's numbers are the same everywhere; the library's distributions are
    // not, so the uniform numbers and the shuffle are made here.
    std::mt19937 random(seed);
    const auto uniform = [&random] { return (random() + 0.5) / 4294967296.0; };
    std::vector<std::vector<double>> points(count, std::vector<double>(lower.size()));
    std::vector<std::size_t> strata(count);
    for (std::size_t d = 0; d < lower.size(); ++d) {
        std::iota(strata.begin(), strata.end(), std::size_t{0});
        for (std::size_t i = count; i > 1; --i)
            std::swap(strata[i - 1], strata[random() % i]);
        for (std::size_t i = 0; i < count; ++i) {
            const double share = (static_cast<double>(strata[i]) + uniform()) / count;
            points[i][d] = lower[d] + share * (upper[d] - lower[d]);
        }
    }
    return points;
}

}  // namespace tesmo
