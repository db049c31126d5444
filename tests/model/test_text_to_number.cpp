#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "model/text_to_number.h"

namespace tesmo {

TEST(TextZuZahl, ReadsTheLeadingNumberAsTheWindowTextsMean) {
    struct Fall {
        const char* text;
        double zahl;
    };
    const Fall faelle[] = {
        {"20,0", 20.0},
        {"0,25", 0.25},
        {"0.25", 0.25},
        {"12,5", 12.5},
        {"1 850", 1850},
        {"4E1", 40},
        {"4e1", 40},
        {"2,5E-3", 0.0025},
        {"1e+2", 100},
        {"-7", -7},
        {"+7", 7},
        {" - 3 , 5 e 2x", -350},
        {"\t1\n2", 12},
        {"-.5", -0.5},
        {".5", 0.5},
        {"5.", 5},
        {"1.2.3", 1.2},
        {"1,2,3", 1.2},
        {"12abc", 12},
        {"4E", 4},
        {"4E+", 4},
        {"4Ex", 4},
        {"1e5e3", 1e5},
        {"007", 7},
        {"0,000123", 0.000123},
        {"100 %", 100},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {".", 0},
        {"E5", 0},
        {"+-3", 0},
        {"1\r2", 1},  // a carriage return is not among the ignored blanks
    };
    for (const Fall& f : faelle)
        EXPECT_DOUBLE_EQ(TextZuZahl(f.text), f.zahl) << "[" << f.text << "]";
}

TEST(TextZuZahl, ExtremesAndTheFoundFlag) {
    EXPECT_EQ(TextZuZahl("1E999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(TextZuZahl("-1E999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(TextZuZahl("1E-999"), 0.0);
    EXPECT_EQ(TextZuZahl("1E99999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(TextZuZahl("1,7976931348623157E308"), std::numeric_limits<double>::max());

    // Many digits: the decimal point and the exponent keep their meaning, the value rounds.
    const std::string lang = "1" + std::string(1000, '0') + "E-1000";
    EXPECT_DOUBLE_EQ(TextZuZahl(lang), 1.0);
    const std::string klein = "0," + std::string(1000, '0') + "5E1001";
    EXPECT_DOUBLE_EQ(TextZuZahl(klein), 5.0);

    // The exponent and the mantissa's own scale are judged together, however long the text.
    const std::string nullen(120000, '0');
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TextZuZahl("0," + nullen + "1E1000000"), inf);
    EXPECT_EQ(TextZuZahl("-0," + nullen + "1E1000000"), -inf);
    EXPECT_DOUBLE_EQ(TextZuZahl("0," + nullen + "1E120000"), 0.1);
    EXPECT_DOUBLE_EQ(TextZuZahl("0," + nullen + "25E120001"), 2.5);
    EXPECT_EQ(TextZuZahl("1" + nullen + "E-1000000"), 0.0);
    EXPECT_DOUBLE_EQ(TextZuZahl("4" + nullen + "E-120000"), 4.0);
    EXPECT_EQ(TextZuZahl("1" + nullen + "E-100000"), inf);
    EXPECT_EQ(TextZuZahl("1E" + nullen + "1"), 10.0);  // leading zeros of an exponent

    bool gefunden = true;
    EXPECT_EQ(TextZuZahl("abc", &gefunden), 0.0);
    EXPECT_FALSE(gefunden);
    EXPECT_EQ(TextZuZahl(" 0 ", &gefunden), 0.0);
    EXPECT_TRUE(gefunden);
    EXPECT_EQ(TextZuZahl("", &gefunden), 0.0);
    EXPECT_FALSE(gefunden);
}

// The text of a sampled input: the shortest that reads back as every bit of the number.
TEST(ZahlZuTextExakt, ReadsBackAsTheSameNumber) {
    EXPECT_EQ(ZahlZuTextExakt(0.25), "0,25");
    EXPECT_EQ(ZahlZuTextExakt(40), "40");
    EXPECT_EQ(ZahlZuTextExakt(0.1 + 0.2), "0,30000000000000004");
    EXPECT_EQ(ZahlZuTextExakt(1e-5), "1E-5");
    EXPECT_EQ(ZahlZuTextExakt(-2.5e300), "-2,5E300");
    // Numbers of every size and digit pattern, drawn from a fixed stream of bits.
    std::uint64_t bits = 0x243F6A8885A308D3ull;
    for (int i = 0; i < 100000; ++i) {
        bits = bits * 6364136223846793005ull + 1442695040888963407ull;
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        const std::string text = ZahlZuTextExakt(v);
        const double back = TextZuZahl(text);
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << text;
        EXPECT_EQ(text.find('.'), std::string::npos) << text;
    }
}

}  // namespace tesmo
