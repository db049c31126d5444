#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "plot/number_text.h"
#include "tests/locale_scope.h"

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

// Under the users' German locale the C library itself writes "6100,5"; the texts must come out
// as in any other locale, not as "610 0,5" or "0, 025".
TEST(NumberText, TheTextsAreTheSameUnderTheUsersGermanLocale) {
    std::mt19937_64 rng(20261208);
    const auto uniform = [&rng] { return static_cast<double>(rng() >> 11) * 0x1.0p-53; };
    std::vector<double> values = {6100.5, 0.025, -0.0001, 12345.678, -2.5, 0.000245, 1e300};
    for (int i = 0; i < 500; ++i)
        values.push_back((i % 2 == 0 ? -1 : 1) * std::pow(10.0, -8 + 16 * uniform()));
    std::vector<std::string> inC;
    for (double v : values)
        for (int digits = 1; digits <= 6; ++digits)
            for (const std::string& t : {decimalText(v, digits - 1), powerText(v, digits),
                                         significantText(v, digits), scaledText(v, 3, digits)})
                inC.push_back(t);

    const test::GermanLocale german;
    ASSERT_TRUE(german.active()) << test::kGermanLocale << " is not installed";
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 6100.5);
    ASSERT_STREQ(printed, "6100,5");  // the C library does write the comma now
    EXPECT_EQ(decimalText(6100.5, 1), "6100,5");
    EXPECT_EQ(decimalText(0.025, 3), "0,025");
    EXPECT_EQ(decimalText(-0.0001, 2), "0,00");  // no "-0" either
    EXPECT_EQ(decimalText(12345.678, 1), "12" + kNarrow + "345,7");
    EXPECT_EQ(powerText(0.000245, 3), "2,45·10⁻⁴");
    std::size_t k = 0;
    for (double v : values)
        for (int digits = 1; digits <= 6; ++digits)
            for (const std::string& t : {decimalText(v, digits - 1), powerText(v, digits),
                                         significantText(v, digits), scaledText(v, 3, digits)})
                ASSERT_EQ(t, inC[k++]) << v << " with " << digits;
}

}  // namespace tesmo
