#include "files/history_csv.h"

#include <algorithm>
#include <charconv>

namespace tesmo {

namespace {

void writeHeader(std::FILE* out) {
    const char* separator = "";
    for (const HistoryColumn& column : kHistoryColumns) {
        std::fputs(separator, out);
        std::fputs(column.name, out);
        separator = ",";
    }
    std::fputc('\n', out);
}

void writeRow(std::FILE* out, const Histories& st, std::size_t record) {
    char row[kHistoryColumns.size() * 32];
    char* p = row;
    for (const HistoryColumn& column : kHistoryColumns) {
        if (p != row) *p++ = ',';
        p = std::to_chars(p, p + 31, (st.*column.array)[record], std::chars_format::general, 17)
                .ptr;
    }
    *p++ = '\n';
    std::fwrite(row, 1, static_cast<std::size_t>(p - row), out);
}

}  // namespace

bool writeHistoriesCsv(std::FILE* out, const RunState& st) {
    writeHeader(out);
    const int last = st.HistIndex < 0 ? -1 : std::min(st.HistIndex, kMaxHistoryIndex);
    for (int record = 0; record <= last; ++record)
        writeRow(out, st, static_cast<std::size_t>(record));
    return std::ferror(out) == 0;
}

bool writeHistoriesCsv(const std::string& path, const RunState& st, WriteFailure* failure) {
    // Another run may write the same file at the same time, and a reader may open it at any
    // moment: either sees one whole table, never a mixture or half of one.
    return writeFileAtomically(
        path, [&st](std::FILE* out) { return writeHistoriesCsv(out, st); }, failure);
}

}  // namespace tesmo
