// Reading CSV as spreadsheets write it (RFC 4180): the tokenizer that case tables and
// measurement files share.
//
// A cell may be enclosed in double quotes, a quote inside it doubled, and may then hold the
// separator and line breaks. Rows end at LF, CR LF or CR. The separator is ';' when the header
// line holds a ';', else ',' when it holds a ',' (then a decimal comma must be quoted, "12,5"),
// else ';'. The content is expected to have passed checkFileText (UTF-8, no byte-order mark).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"

namespace tesmo {

struct CsvCell {
    std::string text;  // without enclosing quotes, doubled quotes made single
    int line = 0;      // where the cell begins, from 1
    bool quoted = false;
};

// The separator that the header line (the content's first line) chooses.
char csvSeparatorOf(std::string_view content);

// RFC 4180 rows, one after the other.
class CsvReader {
  public:
    CsvReader(std::string_view content, char separator);

    enum class Result { Row, End, Refused };

    // The next row's cells, at most `maxCells` + 1 of them: a row with more is wrong anyway, and
    // a row of a million separators must not take a million cells of memory. `rowLine` gets
    // the line where the row begins; a refusal (a quote never closed, a stray quote) fills the
    // problem's kind and line.
    Result next(std::vector<CsvCell>& cells, std::size_t maxCells, int& rowLine,
                FileProblem& problem);

  private:
    bool readCell(CsvCell& cell, FileProblem& problem);

    std::string_view s_;
    char separator_;
    char plainEnd_[3];  // what ends a cell without quotes
    std::size_t pos_ = 0;
    int line_ = 1;
};

// A row that is an empty line: one cell, not quoted, empty.
bool isBlankRow(const std::vector<CsvCell>& cells);

}  // namespace tesmo
