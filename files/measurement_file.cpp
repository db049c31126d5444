#include "files/measurement_file.h"

#include <cmath>
#include <limits>

#include "files/csv_reader.h"
#include "files/decimal_number.h"
#include "files/file_text.h"
#include "files/name_text_lines.h"

namespace tesmo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kAbsoluterNullpunkt = -273.15;  // °C
// Control characters a cell may hold: a spreadsheet writes a line break in a cell as it is.
constexpr std::string_view kCellControls = "\t\r\n";

// The time columns: a number of seconds, minutes or hours, or a clock time h:mm:ss.
struct TimeColumn {
    std::string_view name;
    double seconds;  // per unit; 0 for the clock time
};
constexpr TimeColumn kTimeColumns[] = {{"t_s", 1}, {"t_min", 60}, {"t_h", 3600}, {"Zeit", 0}};

const TimeColumn* timeColumnNamed(std::string_view name) {
    for (const TimeColumn& t : kTimeColumns)
        if (t.name == name) return &t;
    return nullptr;
}

// h:mm:ss with hours of any number of digits, minutes and seconds below 60 (the seconds may
// have decimals).
bool readClockTime(std::string_view text, double& seconds) {
    text = trimBlanks(text);
    const std::size_t a = text.find(':');
    const std::size_t b = a == std::string_view::npos ? a : text.find(':', a + 1);
    if (b == std::string_view::npos) return false;
    const std::string_view h = text.substr(0, a), m = text.substr(a + 1, b - a - 1),
                           s = text.substr(b + 1);
    const auto wholeDigits = [](std::string_view t, std::size_t maxLength) {
        if (t.empty() || t.size() > maxLength) return false;
        for (char c : t)
            if (c < '0' || c > '9') return false;
        return true;
    };
    double hv = 0, mv = 0, sv = 0;
    if (!wholeDigits(h, 9) || !wholeDigits(m, 2) || s.empty() || s[0] < '0' || s[0] > '9' ||
        !readDecimal(h, hv) || !readDecimal(m, mv) || !readDecimal(s, sv))
        return false;
    if (s.find_first_of("eE+-") != std::string_view::npos || mv >= 60 || sv >= 60) return false;
    seconds = hv * 3600 + mv * 60 + sv;
    return true;
}

// The columns of the header: the time column and the quantity each other column measures.
struct Columns {
    std::size_t time = 0;
    const TimeColumn* timeKind = nullptr;
    std::vector<Messgroesse> quantity;  // per column (the time column's entry is unused)
    std::array<bool, kMessgroessenCount> measured{};
};

bool takeHeader(const std::vector<CsvCell>& cells, Columns& columns, FileProblem& problem) {
    auto& seen = columns.measured;
    columns.quantity.assign(cells.size(), Messgroesse::X);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        problem.line = cells[i].line;
        const std::string_view name = trimBlanks(cells[i].text);
        if (name.empty()) {
            problem.number = static_cast<long long>(i + 1);
            return refuse(problem, ProblemKind::EmptyColumnName);
        }
        if (const TimeColumn* t = timeColumnNamed(name)) {
            if (columns.timeKind) return refuse(problem, ProblemKind::SecondTimeColumn, name);
            columns.timeKind = t;
            columns.time = i;
            continue;
        }
        Messgroesse g{};
        if (!messgroesseByName(name, g)) return refuse(problem, ProblemKind::UnknownColumn, name);
        if (seen[slot(g)]) return refuse(problem, ProblemKind::DuplicateName, name);
        seen[slot(g)] = true;
        columns.quantity[i] = g;
    }
    problem.line = cells.front().line;
    if (!columns.timeKind) return refuse(problem, ProblemKind::NoTimeColumn);
    for (bool any : seen)
        if (any) return true;
    return refuse(problem, ProblemKind::NoMeasuredQuantity);
}

bool notANumber(FileProblem& problem, std::string_view text, std::string_view column) {
    problem.context = std::string(column);
    return refuse(problem, ProblemKind::NotANumber, trimBlanks(text));
}

// A measured value and what it cannot be: a negative mass, a temperature below absolute zero.
bool readValue(const CsvCell& cell, Messgroesse g, double& value, FileProblem& problem) {
    if (!readDecimal(cell.text, value))
        return notANumber(problem, cell.text, messgroesseSpec(g).spalte);
    if (g == Messgroesse::Masse && value < 0)
        return refuse(problem, ProblemKind::NegativeMass, trimBlanks(cell.text));
    if (g == Messgroesse::thetaOb && value < kAbsoluterNullpunkt)
        return refuse(problem, ProblemKind::BelowAbsoluteZero, trimBlanks(cell.text));
    return true;
}

bool readTime(const CsvCell& cell, const TimeColumn& kind, double& seconds, FileProblem& problem) {
    if (kind.seconds == 0) {
        if (!readClockTime(cell.text, seconds))
            return refuse(problem, ProblemKind::NotAClockTime, trimBlanks(cell.text));
        return true;
    }
    double v = 0;
    if (!readDecimal(cell.text, v)) return notANumber(problem, cell.text, kind.name);
    seconds = v * kind.seconds;
    if (!std::isfinite(seconds)) return notANumber(problem, cell.text, kind.name);
    if (seconds < 0) return refuse(problem, ProblemKind::NegativeTime, trimBlanks(cell.text));
    return true;
}

bool takeRow(int line, const std::vector<CsvCell>& cells, const Columns& columns, char separator,
             Measurement& m, FileProblem& problem) {
    problem.line = line;
    if (cells.size() != columns.quantity.size()) {
        problem.number = static_cast<long long>(columns.quantity.size());
        return refuse(problem, ProblemKind::WrongCellCount, std::string(1, separator));
    }
    std::array<double, kMessgroessenCount> values;
    values.fill(kNaN);
    bool measured = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        problem.line = cells[i].line;
        if (!checkText(i == columns.time ? columns.timeKind->name
                                         : messgroesseSpec(columns.quantity[i]).spalte,
                       cells[i].text, kCellControls, problem))
            return false;
        if (i == columns.time || trimBlanks(cells[i].text).empty()) continue;
        const Messgroesse g = columns.quantity[i];
        if (!readValue(cells[i], g, values[slot(g)], problem)) return false;
        measured = true;
    }
    const CsvCell& timeCell = cells[columns.time];
    problem.line = timeCell.line;
    if (trimBlanks(timeCell.text).empty()) {
        if (!measured) return true;  // a row of empty cells
        return refuse(problem, ProblemKind::MissingTime);
    }
    double t = 0;
    if (!readTime(timeCell, *columns.timeKind, t, problem)) return false;
    if (!m.zeit.empty() && !(t > m.zeit.back()))
        return refuse(problem, ProblemKind::TimeNotIncreasing, trimBlanks(timeCell.text));
    if (!measured) return true;
    m.zeit.push_back(t);
    m.zeile.push_back(line);
    for (std::size_t g = 0; g < kMessgroessenCount; ++g)
        if (columns.measured[g]) m.werte[g].push_back(values[g]);
    return true;
}

}  // namespace

const MessgroesseSpec& messgroesseSpec(Messgroesse g) {
    return kMessgroessen[slot(g)];
}

bool messgroesseByName(std::string_view spalte, Messgroesse& g) {
    for (const MessgroesseSpec& spec : kMessgroessen) {
        if (spec.spalte != spalte) continue;
        g = spec.groesse;
        return true;
    }
    return false;
}

bool parseMeasurementFile(std::string_view content, const std::string& displayName,
                          Measurement& out, FileProblem& problem) {
    problem = FileProblem{.path = displayName};
    if (!checkFileText(content, kMaxMeasurementBytes, problem)) return false;
    const char separator = csvSeparatorOf(content);
    CsvReader reader(content, separator);
    std::vector<CsvCell> cells;
    int line = 0;

    // Of more columns than a time and every quantity at least one is unknown or repeated.
    constexpr std::size_t kMaxColumns = kMessgroessenCount + 1;
    CsvReader::Result result = reader.next(cells, kMaxColumns, line, problem);
    if (result == CsvReader::Result::Refused) return false;
    if (result == CsvReader::Result::End || isBlankRow(cells)) {
        problem.line = result == CsvReader::Result::End ? 0 : line;
        return refuse(problem, ProblemKind::NoColumnHeader);
    }
    Measurement m;
    Columns columns;
    if (!takeHeader(cells, columns, problem)) return false;
    while ((result = reader.next(cells, columns.quantity.size(), line, problem)) ==
           CsvReader::Result::Row) {
        if (isBlankRow(cells)) continue;
        if (!takeRow(line, cells, columns, separator, m, problem)) return false;
    }
    if (result == CsvReader::Result::Refused) return false;
    if (m.zeit.empty()) {
        problem.line = 0;
        return refuse(problem, ProblemKind::NoMeasurements);
    }
    out = std::move(m);
    problem = FileProblem{};
    return true;
}

bool readMeasurementFile(const std::string& path, Measurement& out, FileProblem& problem) {
    std::string content;
    return readFileUpTo(path, kMaxMeasurementBytes, content, problem) &&
           parseMeasurementFile(content, path, out, problem);
}

}  // namespace tesmo
