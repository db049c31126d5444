#include "display/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tesmo {

namespace {

constexpr int kSignificant = 15;

std::string_view put(std::string_view text, NumberBuffer& out) {
    std::memcpy(out.data(), text.data(), text.size());
    return {out.data(), text.size()};
}

// |value| as 15 correctly rounded significant digits and the decimal exponent of the first.
struct Decimal15 {
    char digits[kSignificant];
    int exponent;
};

Decimal15 toDecimal15(double magnitude) {
    char sci[32];  // "d.dddddddddddddde+XXX"
    const auto res = std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific,
                                   kSignificant - 1);
    Decimal15 d{};
    d.digits[0] = sci[0];
    std::memcpy(d.digits + 1, sci + 2, kSignificant - 1);
    const char* e = sci + kSignificant + 1;  // the 'e'
    const char* expBegin = e + 1 + (e[1] == '+' ? 1 : 0);
    std::from_chars(expBegin, res.ptr, d.exponent);
    return d;
}

// The digits of round(|value|·10^decimals), halves away from zero, built in `work`, which has
// room for a carry digit in front. May begin with zeros.
std::string_view roundedDigits(const Decimal15& d, int decimals, char* work) {
    const int keep = d.exponent + decimals + 1;  // digits of d with weight >= 10^-decimals
    char* r = work + 1;
    std::size_t n = 0;
    bool carry = false;
    if (keep <= 0) {
        r[n++] = '0';
        carry = keep == 0 && d.digits[0] >= '5';
    } else {
        for (int i = 0; i < keep; ++i)
            r[n++] = i < kSignificant ? d.digits[i] : '0';
        carry = keep < kSignificant && d.digits[keep] >= '5';
    }
    for (std::size_t i = n; carry && i-- > 0;) {
        carry = r[i] == '9';
        r[i] = carry ? '0' : static_cast<char>(r[i] + 1);
    }
    if (!carry) return {r, n};
    work[0] = '1';
    return {work, n + 1};
}

// Sign, integer part (at least one digit), comma and exactly `decimals` decimals of the whole
// number `digits` (without leading zeros) divided by 10^decimals. Zero gets no sign.
std::string_view writeFixed(bool negative, std::string_view digits, std::size_t decimals,
                            NumberBuffer& out) {
    const std::size_t integerDigits = digits.size() > decimals ? digits.size() - decimals : 0;
    const std::string_view fraction = digits.substr(integerDigits);
    std::size_t pos = 0;
    if (negative && digits != "0") out[pos++] = '-';
    if (integerDigits == 0) out[pos++] = '0';
    digits.copy(out.data() + pos, integerDigits);
    pos += integerDigits;
    out[pos++] = ',';
    for (std::size_t pad = fraction.size(); pad < decimals; ++pad)
        out[pos++] = '0';
    fraction.copy(out.data() + pos, fraction.size());
    pos += fraction.size();
    return {out.data(), pos};
}

}  // namespace

std::string_view formatNumber(double value, Pattern pattern, NumberBuffer& out) {
    if (!std::isfinite(value)) return put(kKeinWert, out);
    const int decimals = static_cast<int>(pattern);
    char work[kNumberTextCapacity];
    std::string_view digits = roundedDigits(toDecimal15(std::fabs(value)), decimals, work);
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    return writeFixed(value < 0, digits, static_cast<std::size_t>(decimals), out);
}

std::string_view Zeitformat(double t, NumberBuffer& out) {
    if (!std::isfinite(t) || std::fabs(t) > 1e18) return put(kKeinWert, out);
    const long long n = static_cast<long long>(std::floor(t + 0.5));  // Int(t + 0.5)
    const unsigned long long seconds =
        n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    const auto twoDigits = [&](std::size_t at, unsigned long long v) {
        out[at] = static_cast<char>('0' + v / 10);
        out[at + 1] = static_cast<char>('0' + v % 10);
    };
    out[0] = n < 0 ? '-' : ' ';
    char* end = std::to_chars(out.data() + 1, out.data() + out.size(), seconds / 3600).ptr;
    std::size_t pos = static_cast<std::size_t>(end - out.data());
    out[pos] = ':';
    twoDigits(pos + 1, seconds / 60 % 60);
    out[pos + 3] = ':';
    twoDigits(pos + 4, seconds % 60);
    return {out.data(), pos + 6};
}

std::string formatNumber(double value, Pattern pattern) {
    NumberBuffer buffer;
    return std::string(formatNumber(value, pattern, buffer));
}

std::string Zeitformat(double t) {
    NumberBuffer buffer;
    return std::string(Zeitformat(t, buffer));
}

}  // namespace tesmo
