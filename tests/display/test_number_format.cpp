#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "display/number_format.h"

namespace tesmo {

TEST(NumberFormat, EveryPatternRoundsToItsDecimalsWithTheDecimalComma) {
    EXPECT_EQ(formatNumber(13.1062, Pattern::F2), "13,11");
    EXPECT_EQ(formatNumber(0.004, Pattern::F2), "0,00");
    EXPECT_EQ(formatNumber(0.25081 * 100, Pattern::F1), "25,1");
    EXPECT_EQ(formatNumber(0.135573, Pattern::F3), "0,136");
    EXPECT_EQ(formatNumber(0.13557, Pattern::F4), "0,1356");
    EXPECT_EQ(formatNumber(7, Pattern::F4), "7,0000");
    EXPECT_EQ(formatNumber(0.5, Pattern::F1), "0,5");    // at least one digit before the comma
    EXPECT_EQ(formatNumber(9.96, Pattern::F1), "10,0");  // carries run through every digit
    EXPECT_EQ(formatNumber(0.9999, Pattern::F3), "1,000");
    NumberBuffer buffer;  // the allocation-free form writes into the caller's buffer
    const std::string_view text = formatNumber(-3600 * -0.0001, Pattern::F3, buffer);
    EXPECT_EQ(text, "0,360");
    EXPECT_EQ(text.data(), buffer.data());
}

TEST(NumberFormat, HalvesGoAwayFromZeroAsTheDecimalReads) {
    EXPECT_EQ(formatNumber(0.125, Pattern::F2), "0,13");  // exact in binary
    EXPECT_EQ(formatNumber(-0.125, Pattern::F2), "-0,13");
    EXPECT_EQ(formatNumber(2.675, Pattern::F2), "2,68");       // binary 2.67499999999999982...
    EXPECT_EQ(formatNumber(0.1 * 1.15, Pattern::F2), "0,12");  // binary 0.11499999999999999
    EXPECT_EQ(formatNumber(-99.995, Pattern::F2), "-100,00");
    EXPECT_EQ(formatNumber(0.00005, Pattern::F4), "0,0001");
    EXPECT_EQ(formatNumber(0.00004999, Pattern::F4), "0,0000");
    EXPECT_EQ(formatNumber(0.1249999, Pattern::F2), "0,12");  // clearly below the half
}

TEST(NumberFormat, NegativesCarryAMinusUnlessTheyRoundToZero) {
    EXPECT_EQ(formatNumber(-3.14159, Pattern::F2), "-3,14");
    EXPECT_EQ(formatNumber(-0.005, Pattern::F2), "-0,01");
    EXPECT_EQ(formatNumber(-0.001, Pattern::F2), "0,00");
    EXPECT_EQ(formatNumber(-0.0, Pattern::F1), "0,0");
}

TEST(NumberFormat, ExtremeValuesKeepEveryIntegerDigitAndNonNumbersShowNoValue) {
    EXPECT_EQ(formatNumber(1234567.891, Pattern::F2), "1234567,89");
    EXPECT_EQ(formatNumber(1e20, Pattern::F1), "100000000000000000000,0");
    EXPECT_EQ(formatNumber(-2.5e17, Pattern::F2), "-250000000000000000,00");
    EXPECT_EQ(formatNumber(1e-300, Pattern::F4), "0,0000");
    const std::string lowest = formatNumber(std::numeric_limits<double>::lowest(), Pattern::F4);
    EXPECT_EQ(lowest.size(), 1u + 309u + 5u);
    EXPECT_EQ(lowest.substr(0, 16), "-179769313486232");
    EXPECT_EQ(lowest.substr(310), ",0000");
    EXPECT_EQ(formatNumber(std::nan(""), Pattern::F2), "-");
    EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity(), Pattern::F3), "-");
}

TEST(Zeitformat, WholeSecondsAsHoursMinutesSecondsAfterOneBlank) {
    EXPECT_EQ(Zeitformat(0), " 0:00:00");
    EXPECT_EQ(Zeitformat(59), " 0:00:59");
    EXPECT_EQ(Zeitformat(60), " 0:01:00");
    EXPECT_EQ(Zeitformat(3599), " 0:59:59");
    EXPECT_EQ(Zeitformat(3600), " 1:00:00");
    EXPECT_EQ(Zeitformat(89.5), " 0:01:30");
    EXPECT_EQ(Zeitformat(89.49), " 0:01:29");
    EXPECT_EQ(Zeitformat(3599.5), " 1:00:00");
    EXPECT_EQ(Zeitformat(3725), " 1:02:05");
    EXPECT_EQ(Zeitformat(360000), " 100:00:00");
}

TEST(Zeitformat, LeavesItsArgumentAndHandlesOddValues) {
    const double t = 3599.5;
    NumberBuffer buffer;
    EXPECT_EQ(Zeitformat(t, buffer), " 1:00:00");
    EXPECT_EQ(t, 3599.5);
    EXPECT_EQ(Zeitformat(-61), "-0:01:01");  // the sign takes the blank's place
    EXPECT_EQ(Zeitformat(std::nan("")), "-");
    EXPECT_EQ(Zeitformat(1e19), "-");
    EXPECT_EQ(Zeitformat(3.6e15), " 1000000000000:00:00");
}

}  // namespace tesmo
