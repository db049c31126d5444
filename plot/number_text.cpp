#include "plot/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace tesmo {

namespace {

constexpr const char* kSuperscriptDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
constexpr const char* kSuperscriptMinus = "⁻";
constexpr const char* kGroupSeparator = "\u202F";  // narrow no-break space
constexpr const char* kTimes = "·";
constexpr const char* kMinus = "−";
// Plain decimals are used for rounded exponents in this range, powers of ten outside it.
constexpr int kPlainMinExponent = -3;
constexpr int kPlainMaxExponent = 4;

// "-12345.67" as "−12 345,67" (with the minus sign, not the hyphen).
std::string german(std::string_view printed) {
    std::string sign;
    if (!printed.empty() && printed.front() == '-') {
        sign = kMinus;
        printed.remove_prefix(1);
    }
    const std::size_t point = std::min(printed.find('.'), printed.size());
    const std::string_view whole = printed.substr(0, point);
    std::string text = sign;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (whole.size() >= 5 && i > 0 && (whole.size() - i) % 3 == 0) text += kGroupSeparator;
        text += whole[i];
    }
    if (point < printed.size()) {
        text += ',';
        text += printed.substr(point + 1);
    }
    return text;
}

// The mantissa digits and the decimal exponent of value rounded to `significant` digits.
struct Scientific {
    std::string mantissa;  // "-2.50"
    int exponent = 0;
};

// The digits come from std::to_chars, which writes the same digits as printf's %e and %f but
// never looks at the C library's locale: with LC_NUMERIC=de_DE printf would already write a
// comma, and german() would then take the whole text for the integer part.
Scientific scientific(double value, int significant) {
    char buffer[64];
    const auto printed =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                      std::clamp(significant, 1, 15) - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(printed.ptr - buffer));
    const std::size_t e = text.find('e');
    const char* exponent = buffer + e + 1;
    if (*exponent == '+') ++exponent;  // from_chars takes a minus sign only
    int power = 0;
    std::from_chars(exponent, printed.ptr, power);
    return {std::string(text.substr(0, e)), power};
}

}  // namespace

std::string powerOfTen(int exponent) {
    std::string text = "10";
    if (exponent < 0) text += kSuperscriptMinus;
    const std::string digits = std::to_string(std::abs(exponent));
    for (char d : digits)
        text += kSuperscriptDigits[d - '0'];
    return text;
}

std::string decimalText(double value, int decimals) {
    if (!std::isfinite(value)) return kKeineZahl;
    char buffer[400];  // 309 digits of the largest double, the point and 15 decimals
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                   std::clamp(decimals, 0, 15))
                         .ptr;
    std::string_view printed(buffer, static_cast<std::size_t>(end - buffer));
    if (printed.front() == '-' && printed.find_first_not_of("-0.") == std::string_view::npos)
        printed.remove_prefix(1);
    return german(printed);
}

std::string scaledText(double value, int exponent, int decimals) {
    if (!std::isfinite(value)) return kKeineZahl;
    return decimalText(value / std::pow(10.0, exponent), decimals) + kTimes + powerOfTen(exponent);
}

std::string powerText(double value, int significant) {
    if (!std::isfinite(value)) return kKeineZahl;
    if (value == 0) return "0";
    const Scientific s = scientific(value, significant);
    return german(s.mantissa) + kTimes + powerOfTen(s.exponent);
}

std::string significantText(double value, int significant) {
    if (!std::isfinite(value)) return kKeineZahl;
    if (value == 0) return "0";
    const Scientific s = scientific(value, significant);
    if (s.exponent < kPlainMinExponent || s.exponent > kPlainMaxExponent)
        return powerText(value, significant);
    return decimalText(value, std::max(0, significant - 1 - s.exponent));
}

}  // namespace tesmo
