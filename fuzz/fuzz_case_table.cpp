// Case tables: a refusal is well described; a table that is read has sound rows, and written
// back with the CSV writer it reads to the same columns and cells.
#include <algorithm>
#include <optional>
#include <vector>

#include "files/case_table.h"
#include "files/csv_writer.h"
#include "fuzz_properties.h"

using namespace tesmo;

namespace {

std::string writtenBack(const CaseTable& table) {
    std::string csv;
    std::vector<std::string_view> fields;
    for (Control c : table.columns())
        fields.push_back(controlName(c));
    appendCsvRow(csv, fields, table.separator());
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        fields.clear();
        for (std::size_t c = 0; c < table.columns().size(); ++c)
            fields.push_back(table.cell(r, c).value_or(""));
        appendCsvRow(csv, fields, table.separator());
    }
    return csv;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view content = fuzzInput(data, size);
    const std::string name = "fuzz.csv";
    CaseTable table;
    FileProblem problem;
    if (!parseCaseTable(content, name, table, problem)) {
        requireGoodRefusal(problem, content, name);
        FUZZ_REQUIRE(table.rowCount() == 0);
        return 0;
    }
    const std::vector<Control>& columns = table.columns();
    FUZZ_REQUIRE(!columns.empty() && columns.size() <= static_cast<std::size_t>(kInputCount));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        FUZZ_REQUIRE(isInput(columns[c]));
        FUZZ_REQUIRE(std::count(columns.begin(), columns.end(), columns[c]) == 1);
    }
    FUZZ_REQUIRE(table.rowCount() > 0);
    int previousLine = 1;
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        FUZZ_REQUIRE(table.line(r) > previousLine);
        previousLine = table.line(r);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::optional<std::string_view> cell = table.cell(r, c);
            if (cell) FUZZ_REQUIRE(!cell->empty());
            requireGoodText(cell.value_or(""), "\t\r\n");
        }
    }

    const std::string csv = writtenBack(table);
    CaseTable again;
    FUZZ_REQUIRE(parseCaseTable(csv, name, again, problem));
    FUZZ_REQUIRE(again.columns() == columns);
    FUZZ_REQUIRE(again.separator() == table.separator());
    FUZZ_REQUIRE(again.rowCount() == table.rowCount());
    for (std::size_t r = 0; r < table.rowCount(); ++r)
        for (std::size_t c = 0; c < columns.size(); ++c)
            FUZZ_REQUIRE(again.cell(r, c) == table.cell(r, c));
    return 0;
}
