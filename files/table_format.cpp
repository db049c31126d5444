#include "files/table_format.h"

#include <charconv>

namespace tesmo {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}

bool tableFormatNamed(std::string_view name, TableFormat& format) {
    if (name == "csv") {
        format = TableFormat::Csv;
        return true;
    }
    if (name == "de") {
        format = TableFormat::German;
        return true;
    }
    return false;
}

char tableSeparator(TableFormat format) {
    return format == TableFormat::German ? ';' : ',';
}

std::string_view tableStart(TableFormat format) {
    return format == TableFormat::German ? kByteOrderMark : std::string_view();
}

char* writeTableNumber(char* out, double value, TableFormat format) {
    // Without a precision to_chars gives the shortest text that reads back to the same double,
    // in the "C" locale whatever the program's.
    char* end = std::to_chars(out, out + kTableNumberChars, value).ptr;
    if (format == TableFormat::German)
        for (char* c = out; c != end; ++c)
            if (*c == '.') *c = ',';
    return end;
}

void appendTableNumber(std::string& out, double value, TableFormat format) {
    char buffer[kTableNumberChars];
    out.append(buffer, writeTableNumber(buffer, value, format));
}

bool readTableNumber(std::string_view cell, double& value) {
    if (cell.empty() || cell.size() >= kTableNumberChars * 4) return false;
    char buffer[kTableNumberChars * 4];
    std::size_t n = 0;
    for (char c : cell)
        buffer[n++] = c == ',' ? '.' : c;
    // from_chars takes no leading '+', as the writer never puts one.
    const auto r = std::from_chars(buffer, buffer + n, value);
    return r.ec == std::errc() && r.ptr == buffer + n;
}

}  // namespace tesmo
