#include "display/clipboard_text.h"

#include "display/control_table.h"

namespace tesmo {

namespace {

std::string cell(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string tabSeparated(const std::vector<std::vector<std::string>>& rows) {
    std::string out;
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) out += '\t';
            out += cell(row[i]);
        }
        out += '\n';
    }
    return out;
}

std::string resultFieldsText(const WindowBase& window) {
    std::vector<std::string> captions, values;
    for (int i = 0; i < kOutputCount; ++i) {
        const Control field = controlAt(index(kFirstOutput) + i);
        if (!window.isVisible(field)) continue;
        captions.emplace_back(fieldCaption(field));
        values.push_back(window.text(field));
    }
    if (captions.empty()) return {};
    return tabSeparated({captions, values});
}

}  // namespace tesmo
