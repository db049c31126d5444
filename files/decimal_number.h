// Numbers in the program's tables and settings lines: written by people and spreadsheets with a
// decimal comma or point, read without the C library's locale.
#pragma once

#include <string>
#include <string_view>

namespace tesmo {

// A plain decimal number and nothing else, blanks and tabs around it allowed: an optional sign,
// digits with at most one decimal comma or point (digits on at least one side of it), an
// optional exponent (E or e, an optional sign, digits). No thousands separators, no "inf" or
// "nan". False for anything else and for a value beyond double precision.
bool readDecimal(std::string_view text, double& value);

// The shortest text with a decimal comma that readDecimal (and an input field) reads back to
// the same double: "40", "0,004", "4,1234567890123e-05".
std::string exactDecimal(double value);

}  // namespace tesmo
