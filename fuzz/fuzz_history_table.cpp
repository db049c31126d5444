// History tables: a refusal is well described; a table that is read has ten columns of equal
// length and texts a case file can hold, and written again by the program's own writer (in
// its own format) it reads back to the same inputs and the same numbers, bit for bit.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "files/history_csv.h"
#include "fuzz_properties.h"

using namespace tesmo;

namespace {

bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) ||
           std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::string writtenBack(const HistoryTable& table) {
    static const auto st = std::make_unique<RunState>();  // 44 MB, once
    st->linTrSchwind = INFINITY;  // no shrinkage capped: the numbers as read
    st->HistIndex = static_cast<int>(table.records()) - 1;
    for (std::size_t c = 0; c < kHistoryColumns.size(); ++c)
        for (std::size_t j = 0; j < table.records(); ++j)
            (st.get()->*kHistoryColumns[c].array)[j] = table.columns[c][j];
    std::FILE* f = std::tmpfile();
    FUZZ_REQUIRE(f != nullptr);
    FUZZ_REQUIRE(writeHistoriesCsv(f, *st, table.inputs, table.format));
    std::rewind(f);
    std::string text;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view content = fuzzInput(data, size);
    const std::string name = "fuzz.csv";
    HistoryTable table;
    FileProblem problem;
    if (!parseHistoryTable(content, name, table, problem)) {
        requireGoodRefusal(problem, content, name);
        FUZZ_REQUIRE(table.records() == 0);
        return 0;
    }
    FUZZ_REQUIRE(table.records() > 0 && table.records() <= kHistorySize);
    for (const std::vector<double>& column : table.columns)
        FUZZ_REQUIRE(column.size() == table.records());
    for (const std::string& text : table.inputs.text)
        requireGoodText(text, "\t");

    HistoryTable again;
    FUZZ_REQUIRE(parseHistoryTable(writtenBack(table), name, again, problem));
    FUZZ_REQUIRE(again.hasInputs);
    FUZZ_REQUIRE(again.inputs.text == table.inputs.text);
    FUZZ_REQUIRE(again.format == table.format);
    FUZZ_REQUIRE(again.records() == table.records());
    for (std::size_t c = 0; c < kHistoryColumns.size(); ++c)
        for (std::size_t j = 0; j < table.records(); ++j)
            FUZZ_REQUIRE(same(again.columns[c][j], table.columns[c][j]));
    return 0;
}
