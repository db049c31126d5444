#include "files/csv_writer.h"

namespace tesmo {

void appendCsvField(std::string& out, std::string_view field, char separator) {
    const char special[] = {separator, '"', '\r', '\n'};
    if (field.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendCsvRow(std::string& out, const std::vector<std::string_view>& fields, char separator) {
    if (fields.size() == 1 && fields.front().empty()) {
        out += "\"\"\n";
        return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += separator;
        appendCsvField(out, fields[i], separator);
    }
    out += '\n';
}

}  // namespace tesmo
