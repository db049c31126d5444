// Numbers as German text for plots and reports: the decimal comma, the minus sign (not the
// hyphen), groups of three digits separated by a narrow space from 10 000 on, and powers of ten
// written as 2,5·10⁻⁴.
//
// Unlike the window's fixed patterns (display/number_format.h) the number of digits is free
// here; these texts are for reading, not for the window's fields. A value that is not finite
// gives "–". The texts do not depend on the C library's locale.
#pragma once

#include <string>

namespace tesmo {

// The text for a value that is not a number.
inline constexpr const char* kKeineZahl = "–";

// value with `decimals` digits after the comma (0 to 15), halves rounded to even as printf
// does.
// "-0" never appears: a value that rounds to zero is written without sign.
std::string decimalText(double value, int decimals);

// value as mantissa·10^exponent with `significant` digits (1 to 15), e.g. "2,50·10⁻⁴"; 0 gives
// "0".
std::string powerText(double value, int significant);

// value as mantissa·10^exponent for the given exponent, the mantissa with `decimals` digits
// after the comma: scaledText(35e6, 7, 1) is "3,5·10⁷".
std::string scaledText(double value, int exponent, int decimals);

// value with `significant` digits: plain decimals from 0,001 to below 100 000, otherwise as
// a power of ten. Trailing zeros are kept, they tell the precision.
std::string significantText(double value, int significant);

// The power of ten 10^exponent, e.g. "10⁻³".
std::string powerOfTen(int exponent);

}  // namespace tesmo
