// How the program writes its tables (result tables of studies, time histories): for programs,
// or for a German spreadsheet that opens the file as it stands.
//
//   Csv     ',' between cells, '.' as decimal point, UTF-8 (RFC 4180)
//   German  ';' between cells, ',' as decimal point, UTF-8 with a byte-order mark, so that a
//           spreadsheet set to German splits the cells and reads the numbers without an import
//           dialog
//
// Numbers take the shortest form that reads back to the same double (0.05, not
// 0.050000000000000003): every bit is kept, and a value typed as 0,05 appears as 0.05.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmo {

enum class TableFormat : std::uint8_t { Csv, German };

// The format named on a command line: "csv" or "de". False for any other name.
bool tableFormatNamed(std::string_view name, TableFormat& format);

char tableSeparator(TableFormat format);
// What the file begins with: nothing, or the UTF-8 byte-order mark.
std::string_view tableStart(TableFormat format);

// The shortest text of `value` that reads back to it, '.' or ',' as the decimal point
// ("0.05", "1e-05", "-2.5e+300"; "nan", "inf" for values that are not finite).
void appendTableNumber(std::string& out, double value, TableFormat format);
// The same into a buffer of at least kTableNumberChars; returns the end of the text.
inline constexpr std::size_t kTableNumberChars = 32;
char* writeTableNumber(char* out, double value, TableFormat format);

// A number of a table cell in either format: the whole cell must be a decimal number ('.' or
// ',' as the decimal point, an exponent allowed). False for anything else.
bool readTableNumber(std::string_view cell, double& value);

}  // namespace tesmo
