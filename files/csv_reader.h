// Reading RFC 4180 tables row by row, as spreadsheets and the runner write them: a cell may be
// enclosed in double quotes, a quote inside it doubled, and may then hold the separator and
// line breaks. Rows end at LF, CR LF or CR (files/file_text.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"

namespace tesmo {

struct CsvCell {
    std::string text;  // quotes removed, doubled quotes made single
    int line = 0;      // where the cell begins, from 1
    bool quoted = false;
};

class CsvReader {
  public:
    CsvReader(std::string_view content, char separator)
        : s_(content), separator_(separator), plainEnd_{separator, '\r', '\n'} {}

    enum class Result { Row, End, Refused };

    // The next row's cells, at most `maxCells` + 1 of them: a row with more is wrong anyway, and
    // a row of a million separators must not take a million cells of memory. A quote left open
    // or followed by anything but a separator or the row's end is refused (with its line).
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

}  // namespace tesmo
