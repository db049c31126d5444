#include "files/case_table.h"

#include <algorithm>
#include <limits>

#include "files/file_text.h"
#include "files/name_text_lines.h"

namespace tesmo {

static_assert(kMaxCaseTableBytes < std::numeric_limits<std::uint32_t>::max() / 2,
              "cell offsets are 32 bits: the cells of a table take at most its size plus one");

namespace {

constexpr char kQuote = '"';
// Control characters a cell may hold: a spreadsheet writes a line break in a cell as it is.
constexpr std::string_view kCellControls = "\t\r\n";

struct Cell {
    std::string text;
    int line = 0;
    bool quoted = false;
};

char separatorOf(std::string_view content) {
    const std::string_view header = content.substr(0, content.find_first_of("\r\n"));
    if (header.find(';') != std::string_view::npos) return ';';
    return header.find(',') != std::string_view::npos ? ',' : ';';
}

// The line ends in part of a quoted cell, by the rule of files/file_text.h (a CR at the end of
// the part is followed by a quote, so it stands alone).
int lineEndsIn(std::string_view part) {
    int count = 0;
    for (std::size_t i = 0; i < part.size(); ++i)
        count +=
            part[i] == '\n' || (part[i] == '\r' && (i + 1 == part.size() || part[i + 1] != '\n'));
    return count;
}

// RFC 4180 rows, one after the other.
class CsvReader {
  public:
    CsvReader(std::string_view content, char separator)
        : s_(content), separator_(separator), plainEnd_{separator, '\r', '\n'} {}

    enum class Result { Row, End, Refused };

    // The next row's cells, at most `maxCells` + 1 of them: a row with more is wrong anyway, and
    // a row of a million separators must not take a million cells of memory.
    Result next(std::vector<Cell>& cells, std::size_t maxCells, int& rowLine,
                FileProblem& problem) {
        if (pos_ >= s_.size()) return Result::End;
        rowLine = line_;
        std::size_t n = 0;
        while (true) {
            if (n == cells.size()) cells.emplace_back();
            if (!readCell(cells[n++], problem)) return Result::Refused;
            if (pos_ >= s_.size()) break;
            const std::size_t lineEnd = lineEndAt(s_, pos_);
            if (lineEnd > 0) {
                pos_ += lineEnd;
                ++line_;
                break;
            }
            ++pos_;  // the separator
            if (n > maxCells) break;
        }
        cells.resize(n);
        return Result::Row;
    }

  private:
    bool readCell(Cell& cell, FileProblem& problem) {
        cell.text.clear();
        cell.line = line_;
        cell.quoted = pos_ < s_.size() && s_[pos_] == kQuote;
        if (!cell.quoted) {
            const std::size_t end =
                std::min(s_.find_first_of(std::string_view(plainEnd_, 3), pos_), s_.size());
            cell.text.assign(s_.substr(pos_, end - pos_));
            pos_ = end;
            return true;
        }
        ++pos_;
        while (true) {
            const std::size_t quote = s_.find(kQuote, pos_);
            if (quote == std::string_view::npos) {
                problem.line = cell.line;
                return refuse(problem, ProblemKind::UnterminatedQuote);
            }
            const std::string_view part = s_.substr(pos_, quote - pos_);
            cell.text.append(part);
            line_ += lineEndsIn(part);
            pos_ = quote + 1;
            if (pos_ >= s_.size() || s_[pos_] != kQuote) break;
            cell.text += kQuote;  // a doubled quote
            ++pos_;
        }
        if (pos_ < s_.size() && s_[pos_] != separator_ && lineEndAt(s_, pos_) == 0) {
            problem.line = line_;
            return refuse(problem, ProblemKind::StrayQuote);
        }
        return true;
    }

    std::string_view s_;
    char separator_;
    char plainEnd_[3];  // what ends a cell without quotes
    std::size_t pos_ = 0;
    int line_ = 1;
};

// A row that is an empty line: one cell, not quoted, empty.
bool isBlank(const std::vector<Cell>& cells) {
    return cells.size() == 1 && !cells.front().quoted && cells.front().text.empty();
}

}  // namespace

class CaseTableBuilder {
  public:
    CaseTableBuilder(char separator, const std::vector<std::string_view>& otherColumns)
        : otherColumns_(otherColumns) {
        table_.separator_ = separator;
    }

    bool takeHeader(const std::vector<Cell>& cells, FileProblem& problem) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            problem.line = cells[i].line;
            const std::string_view name = trimBlanks(cells[i].text);
            Control field{};
            if (name.empty()) {
                problem.number = static_cast<long long>(i + 1);
                return refuse(problem, ProblemKind::EmptyColumnName);
            }
            const bool other =
                std::find(otherColumns_.begin(), otherColumns_.end(), name) != otherColumns_.end();
            kept_.push_back(!other);
            if (other) continue;
            if (!findInput(name, field)) return refuse(problem, ProblemKind::UnknownName, name);
            if (std::find(table_.columns_.begin(), table_.columns_.end(), field) !=
                table_.columns_.end())
                return refuse(problem, ProblemKind::DuplicateName, name);
            table_.columns_.push_back(field);
        }
        return true;
    }

    // The cells of a row, also of the columns passed over.
    std::size_t cellCount() const { return kept_.size(); }
    std::size_t columnCount() const { return table_.columns_.size(); }

    bool takeRow(int line, const std::vector<Cell>& cells, FileProblem& problem) {
        if (cells.size() != cellCount()) {
            problem.line = line;
            problem.number = static_cast<long long>(cellCount());
            return refuse(problem, ProblemKind::WrongCellCount, std::string(1, table_.separator_));
        }
        for (std::size_t i = 0, column = 0; i < cells.size(); ++i) {
            if (!kept_[i]) continue;
            problem.line = cells[i].line;
            if (!checkText(controlName(table_.columns_[column++]), cells[i].text, kCellControls,
                           problem))
                return false;
        }
        table_.rows_.push_back({line, static_cast<std::uint32_t>(table_.cells_.size())});
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (kept_[i]) table_.cells_.append(cells[i].text).push_back('\0');
        return true;
    }

    // Empty lines seen since the last row: ignored at the end of the table; between rows, rows
    // of one empty cell in a one-column table and refused in any other.
    void holdBlankLine(int line) {
        if (blankLines_ == 0) firstBlankLine_ = line;
        ++blankLines_;
    }
    bool takeBlankLines(FileProblem& problem) {
        const std::vector<Cell> empty(1);
        for (int i = 0; i < blankLines_; ++i) {
            if (cellCount() != 1) {
                problem.line = firstBlankLine_;
                return refuse(problem, ProblemKind::BlankLine);
            }
            takeRow(firstBlankLine_ + i, empty, problem);
        }
        blankLines_ = 0;
        return true;
    }

    bool hasRows() const { return !table_.rows_.empty(); }
    CaseTable&& table() { return std::move(table_); }

  private:
    const std::vector<std::string_view>& otherColumns_;
    std::vector<bool> kept_;  // per cell of a row: whether its column is an input's
    CaseTable table_;
    int blankLines_ = 0;
    int firstBlankLine_ = 0;
};

bool parseCaseTable(std::string_view content, const std::string& displayName, CaseTable& out,
                    FileProblem& problem, const std::vector<std::string_view>& otherColumns) {
    problem = FileProblem{.path = displayName};
    if (!checkFileText(content, kMaxCaseTableBytes, problem)) return false;
    const char separator = separatorOf(content);
    CsvReader reader(content, separator);
    CaseTableBuilder builder(separator, otherColumns);
    std::vector<Cell> cells;
    int line = 0;

    // Of more names than inputs and other columns at least one is unknown or repeated.
    CsvReader::Result result = reader.next(cells, kInputCount + otherColumns.size(), line, problem);
    if (result == CsvReader::Result::Refused) return false;
    if (result == CsvReader::Result::End || isBlank(cells)) {
        problem.line = result == CsvReader::Result::End ? 0 : line;
        return refuse(problem, ProblemKind::MissingHeader);
    }
    if (!builder.takeHeader(cells, problem)) return false;

    while ((result = reader.next(cells, builder.cellCount(), line, problem)) ==
           CsvReader::Result::Row) {
        if (isBlank(cells)) {
            builder.holdBlankLine(line);
            continue;
        }
        if (!builder.takeBlankLines(problem) || !builder.takeRow(line, cells, problem))
            return false;
    }
    if (result == CsvReader::Result::Refused) return false;
    if (!builder.hasRows()) {
        problem.line = 0;
        return refuse(problem, ProblemKind::NoDataRows);
    }
    out = builder.table();
    problem = FileProblem{};
    return true;
}

bool readCaseTable(const std::string& path, CaseTable& out, FileProblem& problem,
                   const std::vector<std::string_view>& otherColumns) {
    std::string content;
    return readFileUpTo(path, kMaxCaseTableBytes, content, problem) &&
           parseCaseTable(content, path, out, problem, otherColumns);
}

std::optional<std::string_view> CaseTable::cell(std::size_t row, std::size_t column) const {
    std::size_t start = rows_[row].offset;
    for (std::size_t i = 0; i < column; ++i)
        start = cells_.find('\0', start) + 1;
    const std::size_t end = cells_.find('\0', start);
    if (end == start) return std::nullopt;
    return std::string_view(cells_).substr(start, end - start);
}

InputTexts CaseTable::texts(std::size_t row, const InputTexts& base) const {
    InputTexts texts = base;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (const auto text = cell(row, i)) texts[columns_[i]] = std::string(*text);
    return texts;
}

}  // namespace tesmo
