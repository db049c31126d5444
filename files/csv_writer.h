// Writing CSV fields and rows as RFC 4180 has them, for tables a spreadsheet opens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesmo {

// Appends `field`, enclosed in double quotes with its quotes doubled when it holds the
// separator, a quote, CR or LF; otherwise as it is.
void appendCsvField(std::string& out, std::string_view field, char separator);

// Appends the fields separated by `separator` and ends the row with LF. A row of one empty
// field is written as "" so that a reader does not take it for a blank line.
void appendCsvRow(std::string& out, const std::vector<std::string_view>& fields, char separator);

}  // namespace tesmo
