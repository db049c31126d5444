#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "plot/axis_scale.h"

namespace tesmo {
namespace {

// A label is 7 units wide per character (a superscript or a narrow space counts as one).
double charWidth(const std::string& s) {
    double n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;  // count code points, not bytes
    return 7 * n;
}
double lineHeight(const std::string&) {
    return 14;
}

std::vector<std::string> labels(const AxisScale& s) {
    std::vector<std::string> out;
    for (const AxisTick& t : s.ticks)
        out.push_back(t.label);
    return out;
}

// The properties every scale must have: data inside, ticks ascending and inside the range,
// and no two labels closer than the gap (a tick may go without a label on a very short axis).
void expectSound(const AxisScale& s, double lo, double hi, double length, double gap,
                 const LabelExtent& extent) {
    ASSERT_GE(s.ticks.size(), 1u);
    EXPECT_LE(s.lo, lo);
    EXPECT_GE(s.hi, hi);
    const AxisTick* labelled = nullptr;
    for (std::size_t i = 0; i < s.ticks.size(); ++i) {
        const AxisTick& t = s.ticks[i];
        EXPECT_GE(s.fraction(t.value), -1e-9);
        EXPECT_LE(s.fraction(t.value), 1 + 1e-9);
        if (i > 0) {
            EXPECT_GT(t.value, s.ticks[i - 1].value);
        }
        if (t.label.empty()) continue;
        if (labelled != nullptr) {
            const double distance = length * (s.fraction(t.value) - s.fraction(labelled->value));
            EXPECT_GE(distance + 1e-9, (extent(t.label) + extent(labelled->label)) / 2 + gap)
                << labelled->label << " / " << t.label;
        }
        labelled = &t;
    }
}

TEST(AxisScale, LinearAxesLabelOneTwoFiveStepsInsideASmallMargin) {
    const AxisScale s = chooseAxis(0.12, 0.97, false, 600, charWidth, 14);
    EXPECT_EQ(labels(s), (std::vector<std::string>{"0,2", "0,4", "0,6", "0,8", "1,0"}));
    EXPECT_NEAR(s.lo, 0.12 - 0.03 * 0.85, 1e-12);  // the data and a small margin
    EXPECT_EQ(s.hi, 1.0);  // 1,0 lay just beyond the margin: the frame ends there
    // All labels of an axis carry the decimals of its step.
    const AxisScale fine = chooseAxis(0.12, 0.43, false, 600, charWidth, 14);
    EXPECT_EQ(labels(fine), (std::vector<std::string>{"0,10", "0,15", "0,20", "0,25", "0,30",
                                                      "0,35", "0,40", "0,45"}));
    const AxisScale narrow = chooseAxis(0.12, 0.97, false, 60, charWidth, 14);
    EXPECT_EQ(labels(narrow), (std::vector<std::string>{"0", "1"}));
    const AxisScale counts = chooseAxis(0, 37, false, 300, lineHeight, 14);
    EXPECT_EQ(counts.lo, 0);  // data from zero keep the axis at zero
    EXPECT_EQ(labels(counts).front(), "0");
    EXPECT_EQ(labels(counts).back(), "35");
    const AxisScale across = chooseAxis(-3.2, 4.9, false, 400, charWidth, 14);
    EXPECT_EQ(labels(across), (std::vector<std::string>{"−2", "0", "2", "4"}));
    // Too narrow for two round values inside: the frame widens to the ticks around.
    const AxisScale tight = chooseAxis(1.011, 1.019, false, 50, charWidth, 14);
    EXPECT_DOUBLE_EQ(tight.lo, 1.01);
    EXPECT_EQ(labels(tight), (std::vector<std::string>{"1,01", "1,02"}));
}

TEST(AxisScale, LabelsOfLargeAndTinyValuesStayReadable) {
    const std::string n = "\u202F";
    const AxisScale big = chooseAxis(3000, 23000, false, 500, charWidth, 14);
    EXPECT_EQ(labels(big).back(), "20" + n + "000");
    // Far from 1, all labels are multiples of one power of ten.
    const AxisScale tiny = chooseAxis(2e-5, 9.8e-5, false, 800, charWidth, 14);
    EXPECT_EQ(labels(tiny).front(), "0,2·10⁻⁴");
    EXPECT_EQ(labels(tiny).back(), "1,0·10⁻⁴");
    const AxisScale huge = chooseAxis(0, 3.3e7, false, 800, charWidth, 14);
    EXPECT_EQ(labels(huge).front(), "0");
    EXPECT_EQ(labels(huge).back(), "3,5·10⁷");
}

TEST(AxisScale, OneValueOrNoDataStillGiveAnAxis) {
    // No data: exactly 0 to 1, or 1 to 10 on a logarithmic axis.
    for (bool log : {false, true}) {
        const AxisScale none = chooseAxis(1, 0, log, 300, charWidth, 14);
        EXPECT_EQ(none.lo, log ? 1 : 0);
        EXPECT_EQ(none.hi, log ? 10 : 1);
    }
    // One value lies inside its axis, which has labels; zero alone keeps the axis at zero.
    for (double v : {5.0, -3.0, 0.0, 2e-7}) {
        for (bool log : {false, true}) {
            if (log && v <= 0) continue;
            const AxisScale one = chooseAxis(v, v, log, 300, charWidth, 14);
            EXPECT_LE(one.lo, v);
            EXPECT_GT(one.hi, v);
            EXPECT_GE(one.ticks.size(), 2u) << v;
        }
    }
    EXPECT_EQ(chooseAxis(0, 0, false, 300, charWidth, 14).lo, 0);
}

TEST(AxisScale, LogarithmicAxesLabelDecadesAsPowersFarFromOne) {
    const AxisScale s = chooseAxis(1e-5, 3e-2, true, 500, charWidth, 14);
    EXPECT_EQ(labels(s), (std::vector<std::string>{"10⁻⁵", "10⁻⁴", "10⁻³", "10⁻²"}));
    EXPECT_LT(s.lo, 1e-5);
    EXPECT_GT(s.lo, 7e-6);
    EXPECT_NEAR(s.fraction(std::sqrt(s.lo * s.hi)), 0.5, 1e-12);
    // The minor grid holds the other multiples of each decade.
    EXPECT_DOUBLE_EQ(s.minor.front(), 8e-6);
    EXPECT_DOUBLE_EQ(s.minor[2], 2e-5);

    const AxisScale near1 = chooseAxis(0.02, 0.4, true, 500, charWidth, 14);
    // 0,5 lies just beyond the margin: the frame ends there.
    EXPECT_EQ(labels(near1), (std::vector<std::string>{"0,02", "0,05", "0,1", "0,2", "0,5"}));
    EXPECT_DOUBLE_EQ(near1.hi, 0.5);
    const AxisScale within = chooseAxis(2.2e-3, 3.9e-3, true, 400, charWidth, 14);
    EXPECT_EQ(labels(within), (std::vector<std::string>{"0,002", "0,005"}));
}

TEST(AxisScale, CrowdedDecadesAreThinned) {
    const double length = 200;
    const AxisScale s = chooseAxis(1e-12, 1e12, true, length, charWidth, 14);
    expectSound(s, 1e-12, 1e12, length, 14, charWidth);
    EXPECT_LT(s.ticks.size(), 8u);
    EXPECT_GT(s.ticks.size(), 1u);
}

TEST(AxisScale, RandomRangesNeverGiveOverlappingLabels) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-8, 8), share(0, 1), length(60, 900);
    for (int trial = 0; trial < 2000; ++trial) {
        const bool log = trial % 2 == 1;
        const double a = std::pow(10.0, exponent(rng));
        const double b = log ? a * std::pow(10.0, 6 * share(rng)) : a * (1 + 5 * share(rng));
        const double lo = log || trial % 4 == 0 ? a : -a;
        const double len = length(rng);
        const AxisScale s = chooseAxis(lo, b, log, len, charWidth, 10);
        expectSound(s, lo, b, len, 10, charWidth);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "range " << lo << " .. " << b << " log " << log << " length " << len;
            return;
        }
    }
}

// Values that differ only in their last bits (two results of a study that agree to 15 digits)
// give an axis around the value, as one value does; before, the tick step shrank with the
// difference until counting the ticks no longer moved and filled the memory.
TEST(AxisScale, NearlyEqualValuesGiveAnAxisAroundTheValue) {
    const auto expectAroundOneValue = [](double a, double b, bool log) {
        SCOPED_TRACE(testing::Message() << a << " .. " << b << (log ? " log" : ""));
        const AxisScale s = chooseAxis(a, b, log, 400, charWidth, 10);
        expectSound(s, a, b, 400, 10, charWidth);
        EXPECT_LE(s.ticks.size(), 12u);
        // Both values sit in the middle part of the axis, not on its frame.
        EXPECT_GT(s.fraction(a), 0.1);
        EXPECT_LT(s.fraction(b), 0.9);
        for (const AxisTick& t : s.ticks)
            EXPECT_TRUE(std::isfinite(t.value));
    };
    // The study over txt_XZiel 0:0,05:0,01 of the default case: LuftWasserVerh.
    expectAroundOneValue(52.42488518026569, 52.4248851802657, false);
    for (double x :
         {1e-300, 3.7e-12, 1e-3, 0.5, 1.0, 52.42488518026569, 6100.5, 2.5e9, 1e15, 7e200}) {
        expectAroundOneValue(x, std::nextafter(x, 2 * x), false);
        expectAroundOneValue(-std::nextafter(x, 2 * x), -x, false);
        expectAroundOneValue(x, std::nextafter(x, 2 * x), true);
    }
}

TEST(AxisScale, RandomNearlyEqualPairsAlwaysGiveASmallSoundAxis) {
    // Magnitudes over the whole range of doubles, differences from one unit in the last place
    // up to a part in a hundred million, on both sides of the span below which the values are
    // taken as one.
    std::mt19937_64 rng(20261208);
    const auto uniform = [&rng] { return static_cast<double>(rng() >> 11) * 0x1.0p-53; };
    for (int trial = 0; trial < 3000; ++trial) {
        const double a = (trial % 3 == 0 ? -1 : 1) * std::pow(10.0, -300 + 600 * uniform());
        const double b = trial % 2 == 0 ? a + std::abs(a) * std::pow(10.0, -16 + 8 * uniform())
                                        : std::nextafter(a, HUGE_VAL);
        const bool log = a > 0 && trial % 5 == 0;
        const AxisScale s = chooseAxis(a, b, log, 300, charWidth, 10);
        expectSound(s, a, b, 300, 10, charWidth);
        EXPECT_LE(s.ticks.size(), 20u);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "range " << a << " .. " << b << " log " << log;
            return;
        }
    }
}

}  // namespace
}  // namespace tesmo
