#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plot/number_text.h"

namespace tesmo {

const std::string kNarrow = "\u202F";

TEST(NumberText, DecimalsWithTheCommaAndGroupsFromTenThousandOn) {
    EXPECT_EQ(decimalText(3.14159, 2), "3,14");
    EXPECT_EQ(decimalText(-2.5, 0), "−2");  // printf rounds halves to even
    EXPECT_EQ(decimalText(1234.5, 1), "1234,5");
    EXPECT_EQ(decimalText(12345.678, 1), "12" + kNarrow + "345,7");
    EXPECT_EQ(decimalText(-1234567, 0), "−1" + kNarrow + "234" + kNarrow + "567");
    EXPECT_EQ(decimalText(-0.001, 2), "0,00");  // no "-0"
    EXPECT_EQ(decimalText(-0.0, 0), "0");
    EXPECT_EQ(decimalText(std::nan(""), 2), kKeineZahl);
    EXPECT_EQ(decimalText(std::numeric_limits<double>::infinity(), 1), kKeineZahl);
}

TEST(NumberText, PowersOfTenWithSuperscriptExponents) {
    EXPECT_EQ(powerOfTen(0), "10⁰");
    EXPECT_EQ(powerOfTen(-12), "10⁻¹²");
    EXPECT_EQ(powerOfTen(5), "10⁵");
    EXPECT_EQ(powerText(0.000245, 3), "2,45·10⁻⁴");
    EXPECT_EQ(powerText(-12345, 2), "−1,2·10⁴");
    EXPECT_EQ(powerText(0, 3), "0");
}

TEST(NumberText, SignificantDigitsChooseDecimalsOrAPowerByMagnitude) {
    EXPECT_EQ(significantText(0.0021786, 3), "0,00218");
    EXPECT_EQ(significantText(3616.6, 4), "3617");
    EXPECT_EQ(significantText(9.996, 3), "10,0");  // the digits count after rounding
    EXPECT_EQ(significantText(0.5, 2), "0,50");    // trailing zeros tell the precision
    EXPECT_EQ(significantText(2.5e-6, 2), "2,5·10⁻⁶");
    EXPECT_EQ(significantText(123456, 3), "1,23·10⁵");
    EXPECT_EQ(significantText(99999.4, 5), "99" + kNarrow + "999");
    EXPECT_EQ(significantText(0, 3), "0");
}

}  // namespace tesmo
