#include "study/result_table.h"

#include <charconv>
#include <cmath>

#include "files/csv_reader.h"
#include "files/file_text.h"
#include "model/drying_run.h"

namespace tesmo {

namespace {

constexpr std::size_t kFirstInput = 1;
constexpr std::size_t kEndColumn = kFirstInput + kInputCount;
constexpr std::size_t kMessageColumn = kEndColumn + 1;
constexpr std::size_t kFirstResult = kMessageColumn + 1;
constexpr std::size_t kColumnCount = kFirstResult + kResultCount;

constexpr RunEnd kRunEnds[] = {RunEnd::Target,      RunEnd::Midplane,  RunEnd::Stopped,
                               RunEnd::HistoryFull, RunEnd::NonFinite, RunEnd::Unstable};

// An empty cell (`present` false) or a number as the table writes it.
bool readCell(const CsvCell& cell, double& value, bool& present) {
    present = !cell.text.empty();
    if (!present) return true;
    const char* first = cell.text.data();
    const char* last = first + cell.text.size();
    const auto r = std::from_chars(first, last, value);
    return r.ec == std::errc() && r.ptr == last && std::isfinite(value);
}

class RowReader {
  public:
    explicit RowReader(std::vector<std::string> names) : names_(std::move(names)) {}

    bool take(const std::vector<CsvCell>& cells, CaseOutcome& o, FileProblem& problem) {
        double number = 0;
        bool present = false;
        const auto bad = [&](std::size_t column, std::string expected) {
            problem.line = cells[column].line;
            problem.expected = std::move(expected) + " in der Spalte „" + names_[column] + "“";
            return refuse(problem, ProblemKind::BadNumber, cells[column].text);
        };
        if (!readCell(cells[0], number, present) || !present || number < 1 ||
            number != std::floor(number) || number > 1e15)
            return bad(0, "eine Fallnummer ab 1");
        o.number = static_cast<std::size_t>(number);
        for (std::size_t i = 0; i < kInputCount; ++i) {
            if (!readCell(cells[kFirstInput + i], o.inputs[i], present))
                return bad(kFirstInput + i, "eine Zahl");
            o.inputRead[i] = present;
        }
        const std::string& end = cells[kEndColumn].text;
        o.refused = end == caseEndName(CaseOutcome{});
        bool known = o.refused;
        for (RunEnd e : kRunEnds)
            if (end == laufendeName(e)) {
                o.end = e;
                known = true;
            }
        if (!known) {
            problem.line = cells[kEndColumn].line;
            problem.expected =
                "refused, target, midplane, stopped, history-full, non-finite "
                "oder unstable";
            return refuse(problem, ProblemKind::UnknownWord, end);
        }
        o.message = cells[kMessageColumn].text;
        for (std::size_t c = 0; c < kResultCount; ++c) {
            if (!readCell(cells[kFirstResult + c], o.results[c], present))
                return bad(kFirstResult + c, "eine Zahl");
            o.reached[c] = present;
        }
        return true;
    }

  private:
    std::vector<std::string> names_;
};

}  // namespace

bool parseResultTable(std::string_view content, const std::string& displayName,
                      std::vector<CaseOutcome>& out, FileProblem& problem) {
    problem = FileProblem{.path = displayName};
    if (!checkFileText(content, kMaxResultTableBytes, problem)) return false;
    const std::vector<std::string> names = tableColumnNames();
    CsvReader reader(content, ',');
    std::vector<CsvCell> cells;
    int line = 0;
    CsvReader::Result result = reader.next(cells, kColumnCount, line, problem);
    if (result == CsvReader::Result::Refused) return false;
    bool header = result == CsvReader::Result::Row && cells.size() == names.size();
    for (std::size_t i = 0; header && i < names.size(); ++i)
        header = cells[i].text == names[i];
    if (!header) {
        problem.line = 1;
        return refuse(problem, ProblemKind::NotAResultTable);
    }
    std::vector<CaseOutcome> rows;
    RowReader rowReader(names);
    while ((result = reader.next(cells, kColumnCount, line, problem)) == CsvReader::Result::Row) {
        if (cells.size() != kColumnCount) {
            problem.line = line;
            problem.number = static_cast<long long>(kColumnCount);
            return refuse(problem, ProblemKind::WrongCellCount);
        }
        CaseOutcome o;
        if (!rowReader.take(cells, o, problem)) return false;
        rows.push_back(std::move(o));
    }
    if (result == CsvReader::Result::Refused) return false;
    out.insert(out.end(), std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
    problem = FileProblem{};
    return true;
}

bool readResultTable(const std::string& path, std::vector<CaseOutcome>& out, FileProblem& problem) {
    std::string content;
    return readFileUpTo(path, kMaxResultTableBytes, content, problem) &&
           parseResultTable(content, path, out, problem);
}

}  // namespace tesmo
