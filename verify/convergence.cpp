#include "verify/convergence.h"

#include <cmath>
#include <limits>

namespace tesmo {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

double observedOrder(double errorCoarse, double errorFine, double ratio) {
    const double a = std::abs(errorCoarse), b = std::abs(errorFine);
    if (!(a > 0) || !(b > 0) || !std::isfinite(a) || !std::isfinite(b)) return kNaN;
    return std::log(a / b) / std::log(ratio);
}

RichardsonEstimate richardson(double coarse, double medium, double fine, double ratio) {
    const double d1 = medium - coarse, d2 = fine - medium;
    RichardsonEstimate e;
    e.monotone = d1 * d2 > 0 && std::abs(d2) < std::abs(d1);
    if (!e.monotone) {
        e.order = e.value = kNaN;
        return e;
    }
    e.order = observedOrder(d1, d2, ratio);
    e.value = fine + d2 / (std::pow(ratio, e.order) - 1);
    return e;
}

}  // namespace tesmo
