#include "files/history_csv.h"

#include <algorithm>

#include "files/file_text.h"
#include "files/name_text_lines.h"
#include "model/shrinkage.h"

namespace tesmo {

namespace {

constexpr std::size_t kColumnCount = kHistoryColumns.size();
constexpr std::string_view kSchwindOb = "VerlaufSchwindOb";
constexpr std::string_view kSchwindK = "VerlaufSchwindK";

bool isShrinkage(std::size_t column) {
    const std::string_view name = kHistoryColumns[column].name;
    return name == kSchwindOb || name == kSchwindK;
}

// The input lines: NAME = TEXT behind '#', as a case file writes them, then a line for each run
// mode that is not at its default. A line end inside a text would end the comment, so it
// becomes a blank (no accepted input holds one).
void appendInputLines(std::string& out, const InputTexts& texts) {
    for (int i = 0; i < kInputCount; ++i) {
        const Control field = controlAt(i);
        std::string text = texts[field];
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        out += "# ";
        appendNameTextLine(out, controlName(field), text);
    }
    for (const RunOptionSpec& spec : kRunOptions) {
        if (optionChoice(texts.optionen, spec.option) == 0) continue;
        out += "# ";
        appendNameTextLine(out, spec.name, optionWord(texts.optionen, spec.option));
    }
}

void appendHeader(std::string& out, char separator) {
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (c > 0) out += separator;
        out += kHistoryColumns[c].name;
    }
    out += '\n';
}

void writeRow(std::FILE* out, const RunState& st, std::size_t record, TableFormat format) {
    char row[kColumnCount * (kTableNumberChars + 1)];
    char* p = row;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (c > 0) *p++ = tableSeparator(format);
        p = writeTableNumber(p, exportedHistoryValue(st, c, record), format);
    }
    *p++ = '\n';
    std::fwrite(row, 1, static_cast<std::size_t>(p - row), out);
}

// --- reading ---------------------------------------------------------------------------------

// Splits a line at the separator into `cells` (as views into the line).
void splitCells(std::string_view line, char separator, std::vector<std::string_view>& cells) {
    cells.clear();
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(separator, start);
        cells.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

// A comment line "# NAME = TEXT" that names an input gives its text, one that names a run mode
// ("# klima = konstant") the mode.
bool takeCommentLine(std::string_view comment, int lineNumber, InputLines& inputs, bool& any,
                     FileProblem& problem) {
    const std::size_t equals = comment.find('=');
    if (equals == std::string_view::npos) return true;  // a comment of other words
    NameTextLine line{lineNumber, trimBlanks(comment.substr(0, equals)),
                      trimBlanks(comment.substr(equals + 1))};
    Control field{};
    if (!findInput(line.name, field) && !runOptionByName(line.name)) return true;
    if (line.text.size() >= 2 && line.text.front() == '"' && line.text.back() == '"')
        line.text = line.text.substr(1, line.text.size() - 2);
    if (!takeInputLine(line, inputs, problem) || !checkText(line.name, line.text, "\t", problem))
        return false;
    any = true;
    return true;
}

bool isHeader(const std::vector<std::string_view>& cells) {
    if (cells.size() != kColumnCount) return false;
    for (std::size_t c = 0; c < kColumnCount; ++c)
        if (trimBlanks(cells[c]) != kHistoryColumns[c].name) return false;
    return true;
}

}  // namespace

double exportedHistoryValue(const RunState& st, std::size_t column, std::size_t record) {
    const double v = (st.*kHistoryColumns[column].array)[record];
    return isShrinkage(column) ? physischeSchwindung(st, v) : v;
}

bool writeHistoriesCsv(std::FILE* out, const RunState& st, const InputTexts& texts,
                       TableFormat format) {
    std::string head(tableStart(format));
    appendInputLines(head, texts);
    appendHeader(head, tableSeparator(format));
    std::fwrite(head.data(), 1, head.size(), out);
    const int last = st.HistIndex < 0 ? -1 : std::min(st.HistIndex, kMaxHistoryIndex);
    for (int record = 0; record <= last; ++record)
        writeRow(out, st, static_cast<std::size_t>(record), format);
    return std::ferror(out) == 0;
}

bool writeHistoriesCsv(const std::string& path, const RunState& st, const InputTexts& texts,
                       TableFormat format, WriteFailure* failure) {
    // Another run may write the same file at the same time, and a reader may open it at any
    // moment: either sees one whole table, never a mixture or half of one.
    return writeFileAtomically(
        path, [&](std::FILE* out) { return writeHistoriesCsv(out, st, texts, format); }, failure);
}

bool parseHistoryTable(std::string_view content, const std::string& displayName, HistoryTable& out,
                       FileProblem& problem) {
    problem = FileProblem{.path = displayName};
    const bool byteOrderMark = content.substr(0, 3) == "\xEF\xBB\xBF";
    if (!checkFileText(content, kMaxHistoryTableBytes, problem)) return false;

    HistoryTable table;
    InputLines inputs{defaultInputTexts(), {}};
    std::vector<std::string_view> cells;
    char separator = 0;  // 0 until the header has been read
    bool blankSeen = false;
    int lineNumber = 0;
    for (std::size_t pos = 0; pos < content.size();) {
        const std::string_view line = nextLine(content, pos);
        problem.line = ++lineNumber;
        if (separator == 0) {
            const std::string_view trimmed = trimBlanks(line);
            if (trimmed.empty()) continue;
            if (trimmed.front() == '#') {
                if (!takeCommentLine(trimmed.substr(1), lineNumber, inputs, table.hasInputs,
                                     problem))
                    return false;
                continue;
            }
            separator = line.find(';') != std::string_view::npos ? ';' : ',';
            splitCells(line, separator, cells);
            if (!isHeader(cells)) return refuse(problem, ProblemKind::NotHistoryTable);
            table.format =
                separator == ';' || byteOrderMark ? TableFormat::German : TableFormat::Csv;
            continue;
        }
        if (line.empty()) {
            blankSeen = true;  // only blank lines may follow
            continue;
        }
        if (blankSeen) {
            problem.line = lineNumber - 1;
            return refuse(problem, ProblemKind::BlankLine);
        }
        if (table.records() == static_cast<std::size_t>(kHistorySize)) {
            problem.number = kHistorySize;
            return refuse(problem, ProblemKind::TooManyRows);
        }
        splitCells(line, separator, cells);
        if (cells.size() != kColumnCount) {
            problem.number = static_cast<long long>(kColumnCount);
            return refuse(problem, ProblemKind::WrongCellCount);
        }
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            double v = 0;
            if (!readTableNumber(trimBlanks(cells[c]), v))
                return refuse(problem, ProblemKind::NotANumber, cells[c]);
            table.columns[c].push_back(v);
        }
    }
    problem.line = 0;
    if (separator == 0) return refuse(problem, ProblemKind::NotHistoryTable);
    if (table.records() == 0) return refuse(problem, ProblemKind::NoDataRows);
    table.inputs = inputs.texts;
    out = std::move(table);
    problem = FileProblem{};
    return true;
}

bool readHistoryTable(const std::string& path, HistoryTable& out, FileProblem& problem) {
    std::string content;
    if (!readFileUpTo(path, kMaxHistoryTableBytes, content, problem)) return false;
    return parseHistoryTable(content, path, out, problem);
}

}  // namespace tesmo
