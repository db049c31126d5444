#include "plot/axis_scale.h"

#include <algorithm>
#include <cmath>

#include "plot/number_text.h"

namespace tesmo {

namespace {

// The data keep this share of the axis range free at both ends, so that no marker sits on the
// frame (unless the range is clamped at zero).
constexpr double kPadding = 0.03;
// A linear axis moves a frame end out to the next tick when that lies within this share of a
// step.
constexpr double kReachForTick = 0.25;
// A logarithmic axis moves a frame end out to the next 1, 2 or 5 · 10^k within this many
// decades.
constexpr double kLogReachForTick = 0.1;
// A linear axis starts its search at about this many intervals and grows the step from there.
constexpr double kMostIntervals = 8;
// Tolerance for "on a tick" against rounding in step multiples.
constexpr double kTickTolerance = 1e-9;
// Data whose span is at most this share of their magnitude differ only in digits no label
// shows: the axis takes them as one value (a step that fine would also be lost in rounding).
constexpr double kSmallestRelativeSpan = 1e-9;
// Bounds that keep every search finite whatever the data: a linear axis never has more ticks
// than this, and tries at most this many steps (each at least twice the one before).
constexpr int kMostTicks = 1000;
constexpr int kMostStepTries = 200;
// Minor grid lines of 2·10^k … 9·10^k are drawn up to this many decades.
constexpr double kMostMinorDecades = 8;
// A logarithmic range of up to this many decades labels 1, 2 and 5 of each decade first.
constexpr double kMostDecadesFor125 = 2;
// Labels of a logarithmic axis are written as decimals when every exponent lies in this range.
constexpr int kPlainMinExponent = -3;
constexpr int kPlainMaxExponent = 4;
constexpr double kMantissas[] = {1, 2, 5};

// Whether labels a and b, centred on their ticks, leave `gap` between them.
bool apart(const AxisScale& s, const AxisTick& a, const AxisTick& b, double length,
           const LabelExtent& extent, double gap) {
    const double distance = length * std::abs(s.fraction(b.value) - s.fraction(a.value));
    return distance >= (extent(a.label) + extent(b.label)) / 2 + gap;
}

bool labelsFit(const AxisScale& s, double length, const LabelExtent& extent, double gap) {
    for (std::size_t i = 1; i < s.ticks.size(); ++i)
        if (!apart(s, s.ticks[i - 1], s.ticks[i], length, extent, gap)) return false;
    return true;
}

// The last resort on an axis too short for any choice: from the left, a label that would
// touch the one kept before it is cleared (its tick stays).
void thinLabels(AxisScale& s, double length, const LabelExtent& extent, double gap) {
    const AxisTick* kept = nullptr;
    for (AxisTick& t : s.ticks) {
        if (kept != nullptr && !apart(s, *kept, t, length, extent, gap)) {
            t.label.clear();
        } else {
            kept = &t;
        }
    }
}

// floor and ceil that take a value within rounding of a whole number as that number (the
// tolerance is relative: a tiny value just below zero still rounds down to -1). Far from 0 it
// stays below a millionth of a step, so that no tick lies visibly outside the frame.
constexpr double kMostTickRounding = 1e-6;
bool nearWhole(double r, double n) {
    return std::abs(r - n) <= std::min(kTickTolerance * std::abs(r), kMostTickRounding);
}
double wholeBelow(double r) {
    const double n = std::nearbyint(r);
    return nearWhole(r, n) ? n : std::floor(r);
}
double wholeAbove(double r) {
    const double n = std::nearbyint(r);
    return nearWhole(r, n) ? n : std::ceil(r);
}

// The next step of the 1-2-5 sequence after `step`.
double nextNiceStep(double step) {
    const double decade = std::pow(10.0, std::floor(std::log10(step) + kTickTolerance));
    const double m = step / decade;
    if (m < 1.5) return 2 * decade;
    if (m < 3.5) return 5 * decade;
    return 10 * decade;
}

// The smallest 1-2-5 step not below `rough` (three rounds at most: 1, 2, 5 of its decade).
double niceStepAtLeast(double rough) {
    double step = std::pow(10.0, std::floor(std::log10(rough)));
    for (int round = 0; round < 3 && step < rough * (1 - kTickTolerance); ++round)
        step = nextNiceStep(step);
    return step;
}

int decimalExponent(double v) {
    return static_cast<int>(std::floor(std::log10(v) + kTickTolerance));
}

// The text of a tick at value = i·step: all labels of an axis with the decimals of the step,
// far from 1 all as multiples of one power of ten.
std::string linearLabel(double value, double step, double magnitude) {
    const int stepExponent = decimalExponent(step);
    if (std::abs(value) < step * kTickTolerance) return "0";
    if (magnitude < 1e6 && stepExponent >= -4)
        return decimalText(value, std::max(0, -stepExponent));
    const int exponent = decimalExponent(magnitude);
    return scaledText(value, exponent, std::max(0, exponent - stepExponent));
}

AxisScale linearAxis(double dataMin, double dataMax, double length, const LabelExtent& extent,
                     double gap) {
    double lo = dataMin, hi = dataMax;
    const bool noData = lo > hi;
    if (noData) {
        lo = 0;
        hi = 1;
    }
    if (hi - lo <= kSmallestRelativeSpan * std::max(std::abs(lo), std::abs(hi))) {
        // One value (or values no label could tell apart): a tenth of it to either side; zero
        // alone gets 0 to 1.
        const double value = lo + (hi - lo) / 2;
        const double half = std::abs(value) * 0.1;
        lo = value == 0 ? 0 : value - half;
        hi = value == 0 ? 1 : value + half;
    }
    // Data that do not change sign keep an axis that does not either.
    const double pad = noData ? 0 : kPadding * (hi - lo);
    const double padLo = (lo >= 0 && lo - pad < 0) ? 0 : lo - pad;
    const double padHi = (hi <= 0 && hi + pad > 0) ? 0 : hi + pad;

    AxisScale s;
    double step = niceStepAtLeast((padHi - padLo) / kMostIntervals);
    for (int attempt = 0; attempt < kMostStepTries; ++attempt, step = nextNiceStep(step)) {
        // The frame stays at the padded data and the ticks are the step's multiples inside it;
        // only when fewer than two fit inside does the frame widen to the ticks around.
        double first = wholeAbove(padLo / step);
        double last = wholeBelow(padHi / step);
        s.lo = padLo;
        s.hi = padHi;
        // A frame end close to the next tick moves there, so that the end is labelled.
        if (padLo - (first - 1) * step <= kReachForTick * step) s.lo = --first * step;
        if ((last + 1) * step - padHi <= kReachForTick * step) s.hi = ++last * step;
        if (last <= first) {
            first = wholeBelow(padLo / step);
            last = wholeAbove(padHi / step);
            s.lo = first * step;
            s.hi = last * step;
        }
        // The ticks are counted in whole numbers: `first` may be far beyond 2^53, where adding
        // 1 to it changes nothing.
        const double intervals = last - first;
        if (!(intervals >= 0 && intervals < kMostTicks)) continue;
        const double magnitude = std::max(std::abs(s.lo), std::abs(s.hi));
        s.ticks.clear();
        for (int k = 0; k <= static_cast<int>(intervals); ++k) {
            const double v = (first + k) * step;
            s.ticks.push_back({v, linearLabel(v, step, magnitude)});
        }
        if (labelsFit(s, length, extent, gap)) return s;
        // Fewer ticks are not possible: one interval, or two that meet at zero.
        if (intervals <= 1 || (first == -1 && last == 1)) {
            thinLabels(s, length, extent, gap);
            return s;
        }
    }
    // No step gave a scale (data at the ends of what a double holds): the frame alone.
    s.lo = padLo;
    s.hi = padHi;
    s.ticks.clear();
    return s;
}

bool near(double a, double b) {
    return std::abs(a - b) <= kTickTolerance * std::max(std::abs(a), std::abs(b));
}

// v rounded down (or up) to 1, 2 or 5 times a power of ten.
double snap125(double v, bool up) {
    const double decade = std::pow(10.0, std::floor(std::log10(v)));
    const double m = v / decade;
    if (up) {
        for (double c : kMantissas)
            if (c >= m * (1 - kTickTolerance)) return c * decade;
        return 10 * decade;
    }
    double best = 1;
    for (double c : kMantissas)
        if (c <= m * (1 + kTickTolerance)) best = c;
    return best * decade;
}

// Every m·10^k within [lo, hi] for the given mantissas, ascending.
std::vector<double> logValues(double lo, double hi, std::initializer_list<double> mantissas) {
    std::vector<double> values;
    const int k0 = static_cast<int>(std::floor(std::log10(lo))) - 1;
    const int k1 = static_cast<int>(std::ceil(std::log10(hi))) + 1;
    for (int k = k0; k <= k1; ++k) {
        for (double m : mantissas) {
            const double v = m * std::pow(10.0, k);
            if (v >= lo * (1 - kTickTolerance) && v <= hi * (1 + kTickTolerance))
                values.push_back(v);
        }
    }
    return values;
}

void labelLog(AxisScale& s, const std::vector<double>& values) {
    bool plain = true;
    for (double v : values) {
        const int k = decimalExponent(v);
        plain = plain && k >= kPlainMinExponent && k <= kPlainMaxExponent;
    }
    s.ticks.clear();
    for (double v : values) {
        const int k = decimalExponent(v);
        const bool decade = near(v, std::pow(10.0, k));
        std::string label = plain    ? decimalText(v, std::max(0, -k))
                            : decade ? powerOfTen(k)
                                     : powerText(v, 1);
        s.ticks.push_back({v, std::move(label)});
    }
}

// Labels for a logarithmic range: the finest candidate set whose labels fit (1-2-5 on a short
// range, then every n-th decade), else the sparsest thinned. False when no candidate has two
// values inside the range.
bool labelRange(AxisScale& s, double length, const LabelExtent& extent, double gap) {
    std::vector<std::vector<double>> candidates;
    if (std::log10(s.hi / s.lo) <= kMostDecadesFor125)
        candidates.push_back(logValues(s.lo, s.hi, {1, 2, 5}));
    const std::vector<double> allDecades = logValues(s.lo, s.hi, {1});
    for (int every : {1, 2, 3, 5, 10, 20, 50}) {
        std::vector<double> chosen;
        for (double v : allDecades)
            if (decimalExponent(v) % every == 0) chosen.push_back(v);
        candidates.push_back(std::move(chosen));
    }
    const std::vector<double>* sparsest = nullptr;
    for (const std::vector<double>& values : candidates) {
        if (values.size() < 2) continue;
        sparsest = &values;
        labelLog(s, values);
        if (labelsFit(s, length, extent, gap)) return true;
    }
    if (sparsest == nullptr) return false;
    labelLog(s, *sparsest);
    thinLabels(s, length, extent, gap);
    return true;
}

AxisScale logAxis(double dataMin, double dataMax, double length, const LabelExtent& extent,
                  double gap) {
    double lo = dataMin, hi = dataMax;
    const bool noData = !(lo > 0) || lo > hi;
    if (noData) {
        lo = 1;
        hi = 10;
    }
    if (hi - lo <= kSmallestRelativeSpan * hi) {
        // One value (or values no label could tell apart): half of it to twice it.
        const double value = lo + (hi - lo) / 2;
        lo = value / 2;
        hi = value * 2;
    }
    const double pad = noData ? 0 : kPadding * std::log10(hi / lo);
    AxisScale s;
    s.log = true;
    s.lo = lo / std::pow(10.0, pad);
    s.hi = hi * std::pow(10.0, pad);
    // An end close to a round value moves out to it, so that the end can be labelled.
    const double reach = std::pow(10.0, kLogReachForTick);
    if (s.lo / snap125(s.lo, false) <= reach) s.lo = snap125(s.lo, false);
    if (snap125(s.hi, true) / s.hi <= reach) s.hi = snap125(s.hi, true);
    // A narrow range with fewer than two round values inside widens to 1, 2 or 5 · 10^k.
    if (!labelRange(s, length, extent, gap)) {
        s.lo = snap125(s.lo, false);
        s.hi = snap125(s.hi, true);
        labelRange(s, length, extent, gap);
    }

    const double decades = std::log10(s.hi / s.lo);
    const std::vector<double> allDecades = logValues(s.lo, s.hi, {1});
    std::vector<double> grid = allDecades;
    if (decades <= kMostMinorDecades) grid = logValues(s.lo, s.hi, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    for (double v : grid) {
        const bool labelled = std::any_of(s.ticks.begin(), s.ticks.end(),
                                          [&](const AxisTick& t) { return near(t.value, v); });
        if (!labelled) s.minor.push_back(v);
    }
    return s;
}

}  // namespace

double AxisScale::fraction(double v) const {
    if (log) return std::log10(v / lo) / std::log10(hi / lo);
    return (v - lo) / (hi - lo);
}

AxisScale chooseAxis(double dataMin, double dataMax, bool log, double length,
                     const LabelExtent& extent, double gap) {
    return log ? logAxis(dataMin, dataMax, length, extent, gap)
               : linearAxis(dataMin, dataMax, length, extent, gap);
}

AxisScale labelledAxis(double lo, double hi, std::vector<AxisTick> labels) {
    AxisScale s;
    if (!(std::isfinite(lo) && std::isfinite(hi))) lo = hi = 0;
    if (!(lo < hi)) {
        const double middle = lo > hi ? 0 : lo;
        lo = middle - 0.5;
        hi = middle + 0.5;
    }
    s.lo = lo;
    s.hi = hi;
    std::sort(labels.begin(), labels.end(),
              [](const AxisTick& a, const AxisTick& b) { return a.value < b.value; });
    for (AxisTick& t : labels)
        if (t.value >= lo && t.value <= hi) s.ticks.push_back(std::move(t));
    return s;
}

}  // namespace tesmo
