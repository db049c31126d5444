// Case tables: a CSV file with one case per row, as a spreadsheet writes it.
//
//   txt_Dicke;txt_XAnf          header: input fields' control names (each at most once)
//   12,5;0,30                   one case per row, texts as typed (decimal comma)
//   15;                         an empty cell keeps the base text
//
// RFC 4180 as files/csv_reader.h reads it: a cell may be enclosed in double quotes, a quote
// inside it doubled, and may then hold the separator and line breaks. Rows end at LF, CR LF or
// CR. The separator is ';' when the header line holds a ';', else ',' when it holds a ','
// (then a decimal comma must be quoted, "12,5"), else ';'. A UTF-8 byte-order mark at the start is
// skipped; header names lose blanks and tabs around them, cells keep everything. Empty lines at the
// end are ignored; in a one-column table an empty line between rows is a row with an empty cell. A
// cell holds at most kMaxTextCharacters characters and no control character but tab, CR and LF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"
#include "model/inputs.h"

namespace tesmo {

class CaseTable {
  public:
    // The input field of each column, left to right.
    const std::vector<Control>& columns() const { return columns_; }
    // The separator the header line chose.
    char separator() const { return separator_; }
    std::size_t rowCount() const { return rows_.size(); }
    // The line (from 1) where the row begins.
    int line(std::size_t row) const { return rows_[row].line; }
    // The cell's text; none when the cell is empty, so that the base text applies.
    std::optional<std::string_view> cell(std::size_t row, std::size_t column) const;
    // `base` with the row's non-empty cells put in.
    InputTexts texts(std::size_t row, const InputTexts& base) const;

  private:
    friend class CaseTableBuilder;
    struct Row {
        int line;
        std::uint32_t offset;  // of the row's first cell in cells_
    };
    std::vector<Control> columns_;
    char separator_ = ';';
    std::vector<Row> rows_;
    // All cells row by row, each followed by '\0' (which no cell may hold): a table of the
    // largest size allowed takes about its own size in memory, not a string per cell.
    std::string cells_;
};

// Reads a case table's content (at most kMaxCaseTableBytes). On a refusal `out` is left as it
// was and `problem` names `displayName`, the line and what is wrong. Columns headed by a name
// of `otherColumns` are passed over (a study's result table, whose input columns give its
// cases again, has its results beside them).
bool parseCaseTable(std::string_view content, const std::string& displayName, CaseTable& out,
                    FileProblem& problem, const std::vector<std::string_view>& otherColumns = {});
bool readCaseTable(const std::string& path, CaseTable& out, FileProblem& problem,
                   const std::vector<std::string_view>& otherColumns = {});

}  // namespace tesmo
