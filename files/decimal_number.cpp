#include "files/decimal_number.h"

#include <charconv>
#include <cmath>

#include "files/file_text.h"

namespace tesmo {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The length of the digits at text[i].
std::size_t digitsAt(std::string_view text, std::size_t i) {
    std::size_t n = 0;
    while (i + n < text.size() && isDigit(text[i + n]))
        ++n;
    return n;
}

}  // namespace

bool readDecimal(std::string_view text, double& value) {
    text = trimBlanks(text);
    // The shape first, so that from_chars sees nothing it would read differently.
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t before = digitsAt(text, i);
    i += before;
    std::size_t after = 0;
    if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
        after = digitsAt(text, ++i);
        i += after;
    }
    if (before + after == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exponent = digitsAt(text, i);
        if (exponent == 0) return false;
        i += exponent;
    }
    if (i != text.size()) return false;

    std::string plain(text);
    for (char& c : plain)
        if (c == ',') c = '.';
    const char* begin = plain.data() + (plain.front() == '+' ? 1 : 0);
    double v = 0;
    const auto r = std::from_chars(begin, plain.data() + plain.size(), v);
    if (r.ec != std::errc() || r.ptr != plain.data() + plain.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

std::string exactDecimal(double value) {
    char buffer[40];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);  // shortest exact
    std::string text(buffer, r.ptr);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

}  // namespace tesmo
