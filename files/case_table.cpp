#include "files/case_table.h"

#include <algorithm>
#include <limits>

#include "files/csv_reader.h"
#include "files/file_text.h"
#include "files/name_text_lines.h"

namespace tesmo {

static_assert(kMaxCaseTableBytes < std::numeric_limits<std::uint32_t>::max() / 2,
              "cell offsets are 32 bits: the cells of a table take at most its size plus one");

namespace {

// Control characters a cell may hold: a spreadsheet writes a line break in a cell as it is.
constexpr std::string_view kCellControls = "\t\r\n";

}  // namespace

class CaseTableBuilder {
  public:
    CaseTableBuilder(char separator, const std::vector<std::string_view>& otherColumns)
        : otherColumns_(otherColumns) {
        table_.separator_ = separator;
    }

    bool takeHeader(const std::vector<CsvCell>& cells, FileProblem& problem) {
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

    bool takeRow(int line, const std::vector<CsvCell>& cells, FileProblem& problem) {
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
        const std::vector<CsvCell> empty(1);
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
    const char separator = csvSeparatorOf(content);
    CsvReader reader(content, separator);
    CaseTableBuilder builder(separator, otherColumns);
    std::vector<CsvCell> cells;
    int line = 0;

    // Of more names than inputs and other columns at least one is unknown or repeated.
    CsvReader::Result result = reader.next(cells, kInputCount + otherColumns.size(), line, problem);
    if (result == CsvReader::Result::Refused) return false;
    if (result == CsvReader::Result::End || isBlankRow(cells)) {
        problem.line = result == CsvReader::Result::End ? 0 : line;
        return refuse(problem, ProblemKind::MissingHeader);
    }
    if (!builder.takeHeader(cells, problem)) return false;

    while ((result = reader.next(cells, builder.cellCount(), line, problem)) ==
           CsvReader::Result::Row) {
        if (isBlankRow(cells)) {
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
