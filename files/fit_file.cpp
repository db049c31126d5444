#include "files/fit_file.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "files/decimal_number.h"
#include "files/file_text.h"
#include "files/name_text_lines.h"

namespace tesmo {

namespace {

constexpr std::string_view kFitFormat = "tesmo-gegen-fit 1";
// A series line names two files; their paths may be long.
constexpr std::size_t kMaxFitLineCharacters = 8192;
constexpr std::string_view kDryMass = "trockenmasse_g";
constexpr std::string_view kInfinite = "inf";
// Relative difference within which two covariances of one pair count as the same: the file
// holds every bit, so only a matrix that was never symmetric differs by more.
constexpr double kSymmetryTolerance = 1e-9;

constexpr std::string_view kFitComment =
    "# Tesmo-Gegen – Anpassung von Eingaben an gemessene Trocknungsverläufe.\n"
    "# series = MESSDATEI ; FALLDATEI [; trockenmasse_g = …] (Pfade relativ zu dieser Datei),\n"
    "# fit NAME = START ; UNTERGRENZE : OBERGRENZE, dann wahlweise starts, seed, iterations\n"
    "# und sigma GRÖSSE = Messrauschen. Die Zeilen ergebnis und kovarianz schreibt das Programm.\n"
    "\n";

// Whether `name` is "KEYWORD REST" and, if so, REST without its blanks.
bool afterKeyword(std::string_view name, std::string_view keyword, std::string_view& rest) {
    if (name.substr(0, keyword.size()) != keyword) return false;
    const std::string_view after = name.substr(keyword.size());
    if (after.empty() || (after.front() != ' ' && after.front() != '\t')) return false;
    rest = trimBlanks(after);
    return true;
}

// The parts of a text between semicolons, without their blanks.
std::vector<std::string_view> parts(std::string_view text, char separator = ';') {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        out.push_back(trimBlanks(text.substr(start, end - start)));
        if (end == std::string_view::npos) return out;
        start = end + 1;
    }
}

bool notANumber(FileProblem& problem, std::string_view text, std::string_view what) {
    problem.context = std::string(what);
    return refuse(problem, ProblemKind::NotANumber, text);
}

bool readNumber(std::string_view text, std::string_view what, double& value, FileProblem& problem) {
    return readDecimal(text, value) || notANumber(problem, text, what);
}

bool readPositive(std::string_view text, std::string_view what, double& value,
                  FileProblem& problem) {
    if (!readNumber(text, what, value, problem)) return false;
    if (value > 0) return true;
    problem.context = std::string(what);
    return refuse(problem, ProblemKind::NotPositiveNumber, text);
}

// A whole number from 1 to `max`.
bool readCount(std::string_view text, std::string_view what, long long max, long long& value,
               FileProblem& problem) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec == std::errc() && r.ptr == text.data() + text.size() && value >= 1 && value <= max)
        return true;
    problem.context = std::string(what);
    problem.number = max;
    return refuse(problem, ProblemKind::CountOutOfRange, text);
}

bool takeSeries(const NameTextLine& line, std::vector<SeriesEntry>& series, FileProblem& problem) {
    const std::vector<std::string_view> p = parts(line.text);
    if (p.size() < 2 || p[0].empty() || p[1].empty())
        return refuse(problem, ProblemKind::SeriesSyntax);
    SeriesEntry s;
    s.measurement = std::string(p[0]);
    s.caseFile = std::string(p[1]);
    s.line = line.line;
    bool dryMassSet = false;
    for (std::size_t i = 2; i < p.size(); ++i) {
        const std::size_t eq = p[i].find('=');
        if (eq == std::string_view::npos) return refuse(problem, ProblemKind::SeriesSyntax);
        const std::string_view name = trimBlanks(p[i].substr(0, eq));
        const std::string_view value = trimBlanks(p[i].substr(eq + 1));
        if (name == kDryMass) {
            if (dryMassSet) return refuse(problem, ProblemKind::DuplicateName, name);
            if (!readPositive(value, kDryMass, s.trockenmasse_g, problem)) return false;
            dryMassSet = true;
            continue;
        }
        const auto option = runOptionByName(name);
        if (!option) return refuse(problem, ProblemKind::UnknownSeriesSetting, name);
        bool& set = s.optionSet[static_cast<std::size_t>(*option)];
        if (set) return refuse(problem, ProblemKind::DuplicateName, name);
        if (!setOptionWord(s.optionen, *option, value)) {
            problem.number = static_cast<long long>(*option);
            return refuse(problem, ProblemKind::UnknownOptionWord, value);
        }
        set = true;
    }
    series.push_back(std::move(s));
    return true;
}

bool inputNamed(std::string_view name, Control& field, FileProblem& problem) {
    if (name.empty()) return refuse(problem, ProblemKind::MissingName);
    if (!findInput(name, field)) return refuse(problem, ProblemKind::UnknownName, name);
    return true;
}

bool takeFitLine(const NameTextLine& line, std::string_view fieldName,
                 std::vector<FitParameterEntry>& parameters, FileProblem& problem) {
    FitParameterEntry e;
    e.line = line.line;
    if (!inputNamed(fieldName, e.field, problem)) return false;
    for (const FitParameterEntry& other : parameters)
        if (other.field == e.field) return refuse(problem, ProblemKind::DuplicateName, fieldName);
    const std::vector<std::string_view> p = parts(line.text);
    if (p.size() != 2) return refuse(problem, ProblemKind::FitSyntax);
    const std::vector<std::string_view> bounds = parts(p[1], ':');
    if (bounds.size() != 2) return refuse(problem, ProblemKind::FitSyntax);
    if (!readNumber(p[0], fieldName, e.start, problem) ||
        !readNumber(bounds[0], fieldName, e.lower, problem) ||
        !readNumber(bounds[1], fieldName, e.upper, problem))
        return false;
    problem.context = std::string(fieldName);
    if (!(e.lower < e.upper)) return refuse(problem, ProblemKind::BoundsNotOrdered);
    if (!(e.start >= e.lower && e.start <= e.upper))
        return refuse(problem, ProblemKind::StartOutsideBounds);
    problem.context.clear();
    parameters.push_back(e);
    return true;
}

bool takeSigma(const NameTextLine& line, std::string_view quantity, FitFile& file,
               FileProblem& problem) {
    Messgroesse g{};
    if (!messgroesseByName(quantity, g))
        return refuse(problem, ProblemKind::UnknownQuantity, quantity);
    double& sigma = file.sigma[slot(g)];
    if (!std::isnan(sigma)) return refuse(problem, ProblemKind::DuplicateName, line.name);
    return readPositive(line.text, line.name, sigma, problem);
}

// The outcome's lines as they come; checked as a whole once the file has been read.
struct OutcomeLines {
    FitOutcome outcome;
    std::vector<int> resultLines;
    std::vector<Control> covarianceRows;
    std::vector<int> covarianceLines;
};

bool takeResult(const NameTextLine& line, std::string_view fieldName, OutcomeLines& o,
                FileProblem& problem) {
    Control field{};
    if (!inputNamed(fieldName, field, problem)) return false;
    for (Control other : o.outcome.fields)
        if (other == field) return refuse(problem, ProblemKind::DuplicateName, fieldName);
    const std::vector<std::string_view> p = parts(line.text);
    double value = 0;
    if (p.size() != 2) return refuse(problem, ProblemKind::ResultSyntax);
    if (!readNumber(p[0], fieldName, value, problem)) return false;
    FitScale scale{};
    if (p[1] == scaleWord(FitScale::Log))
        scale = FitScale::Log;
    else if (p[1] == scaleWord(FitScale::Linear))
        scale = FitScale::Linear;
    else
        return refuse(problem, ProblemKind::ResultSyntax);
    if (scale == FitScale::Log && !(value > 0)) {
        problem.context = std::string(fieldName);
        return refuse(problem, ProblemKind::NotPositiveNumber, p[0]);
    }
    o.outcome.fields.push_back(field);
    o.outcome.values.push_back(value);
    o.outcome.scales.push_back(scale);
    o.resultLines.push_back(line.line);
    return true;
}

bool takeCovariance(const NameTextLine& line, std::string_view fieldName, OutcomeLines& o,
                    FileProblem& problem) {
    Control field{};
    if (!inputNamed(fieldName, field, problem)) return false;
    const std::size_t row = o.covarianceRows.size();
    const std::size_t n = o.outcome.fields.size();
    if (row >= n || o.outcome.fields[row] != field)
        return refuse(problem, ProblemKind::CovarianceOrder, fieldName);
    const std::vector<std::string_view> p = parts(line.text);
    if (p.size() != n) {
        problem.number = static_cast<long long>(n);
        return refuse(problem, ProblemKind::CovarianceRowLength);
    }
    for (std::size_t j = 0; j < n; ++j) {
        double c = 0;
        if (j == row && p[j] == kInfinite)
            c = std::numeric_limits<double>::infinity();
        else if (!readNumber(p[j], fieldName, c, problem))
            return false;
        o.outcome.covariance.push_back(c);
    }
    o.covarianceRows.push_back(field);
    o.covarianceLines.push_back(line.line);
    return true;
}

// Every result belongs to a fitted field; a covariance has a row for every result, is symmetric
// and has no negative variance; a field of infinite variance has no covariance with another.
bool checkOutcome(const OutcomeLines& o, const std::vector<FitParameterEntry>& parameters,
                  FileProblem& problem) {
    const FitOutcome& r = o.outcome;
    for (std::size_t i = 0; i < r.size(); ++i) {
        bool fitted = false;
        for (const FitParameterEntry& e : parameters)
            fitted = fitted || e.field == r.fields[i];
        problem.line = o.resultLines[i];
        if (!fitted) return refuse(problem, ProblemKind::ResultNotFitted, controlName(r.fields[i]));
    }
    if (o.covarianceRows.empty()) return true;
    if (o.covarianceRows.size() != r.size()) {
        problem.line = o.covarianceLines.back();
        return refuse(problem, ProblemKind::CovarianceIncomplete);
    }
    for (std::size_t i = 0; i < r.size(); ++i) {
        problem.line = o.covarianceLines[i];
        const bool infinite = std::isinf(r.cov(i, i));
        bool valid = r.cov(i, i) >= 0;
        for (std::size_t j = 0; j < r.size() && valid; ++j) {
            const double a = r.cov(i, j), b = r.cov(j, i);
            if (i == j) continue;
            valid = std::fabs(a - b) <= kSymmetryTolerance * std::max(std::fabs(a), std::fabs(b)) &&
                    (!infinite || a == 0);
        }
        if (!valid)
            return refuse(problem, ProblemKind::CovarianceInvalid, controlName(r.fields[i]));
    }
    return true;
}

void appendSeries(std::string& out, const SeriesEntry& s) {
    std::string text = s.measurement + " ; " + s.caseFile;
    if (!std::isnan(s.trockenmasse_g))
        text += std::string(" ; ") + std::string(kDryMass) + " = " + exactDecimal(s.trockenmasse_g);
    for (const RunOptionSpec& spec : kRunOptions)
        if (s.optionSet[static_cast<std::size_t>(spec.option)])
            text += " ; " + std::string(spec.name) + " = " +
                    std::string(optionWord(s.optionen, spec.option));
    appendNameTextLine(out, "series", text);
}

void appendOutcome(std::string& out, const FitOutcome& r) {
    out.append(
        "\n# Ergebnis der Anpassung: Wert und Skala der Kovarianz (log: die des natürlichen\n"
        "# Logarithmus), dann die Kovarianzmatrix zeilenweise in der Reihenfolge der "
        "Ergebnisse\n");
    for (std::size_t i = 0; i < r.size(); ++i)
        appendNameTextLine(out, std::string("ergebnis ") + controlName(r.fields[i]),
                           exactDecimal(r.values[i]) + " ; " + std::string(scaleWord(r.scales[i])));
    if (!r.hasCovariance()) return;
    for (std::size_t i = 0; i < r.size(); ++i) {
        std::string row;
        for (std::size_t j = 0; j < r.size(); ++j) {
            if (j > 0) row += " ; ";
            const double c = r.cov(i, j);
            row += std::isinf(c) ? std::string(kInfinite) : exactDecimal(c);
        }
        appendNameTextLine(out, std::string("kovarianz ") + controlName(r.fields[i]), row);
    }
}

}  // namespace

std::string_view scaleWord(FitScale scale) {
    return scale == FitScale::Log ? "log" : "linear";
}

std::string resolvedPath(const FitFile& file, const std::string& written) {
    const std::filesystem::path p(written);
    if (p.is_absolute() || file.folder.empty()) return written;
    return (std::filesystem::path(file.folder) / p).lexically_normal().string();
}

FitFile relocated(const FitFile& file, const std::string& path) {
    namespace fs = std::filesystem;
    FitFile moved = file;
    std::error_code error;
    const fs::path target = fs::absolute(fs::path(path), error).parent_path();
    moved.folder = target.string();
    for (SeriesEntry& s : moved.series)
        for (std::string* written : {&s.measurement, &s.caseFile}) {
            if (fs::path(*written).is_absolute()) continue;
            const fs::path from = fs::absolute(resolvedPath(file, *written), error);
            const fs::path relative = from.lexically_normal().lexically_relative(target);
            *written = relative.empty() ? from.lexically_normal().string() : relative.string();
        }
    return moved;
}

bool parseFitFile(std::string_view content, const std::string& displayName, FitFile& out,
                  FileProblem& problem) {
    FitFile file;
    OutcomeLines outcome;
    bool startsSet = false, seedSet = false, iterationsSet = false;
    const auto setting = [&](const NameTextLine& line, bool& set, long long max, long long& value,
                             FileProblem& p) {
        if (set) return refuse(p, ProblemKind::DuplicateName, line.name);
        set = true;
        return readCount(line.text, line.name, max, value, p);
    };
    const bool ok = parseNameTextLines(
        content, displayName, kFitFormat,
        [&](const NameTextLine& line, FileProblem& p) {
            std::string_view rest;
            long long value = 0;
            if (line.name == "series") return takeSeries(line, file.series, p);
            if (afterKeyword(line.name, "fit", rest))
                return takeFitLine(line, rest, file.parameters, p);
            if (afterKeyword(line.name, "sigma", rest)) return takeSigma(line, rest, file, p);
            if (afterKeyword(line.name, "ergebnis", rest))
                return takeResult(line, rest, outcome, p);
            if (afterKeyword(line.name, "kovarianz", rest))
                return takeCovariance(line, rest, outcome, p);
            if (line.name == "starts") {
                if (!setting(line, startsSet, kMaxStarts, value, p)) return false;
                file.starts = static_cast<int>(value);
                return true;
            }
            if (line.name == "iterations") {
                if (!setting(line, iterationsSet, kMaxIterations, value, p)) return false;
                file.iterations = static_cast<int>(value);
                return true;
            }
            if (line.name == "seed") {
                if (!setting(line, seedSet, 4294967295LL, value, p)) return false;
                file.seed = static_cast<std::uint32_t>(value);
                return true;
            }
            return refuse(p, ProblemKind::UnknownName, line.name);
        },
        problem, kMaxFitLineCharacters);
    if (!ok) return false;
    problem.path = displayName;
    if (file.series.empty()) return refuse(problem, ProblemKind::NoSeries);
    if (file.parameters.empty()) return refuse(problem, ProblemKind::NoFitParameter);
    if (!checkOutcome(outcome, file.parameters, problem)) return false;
    if (!outcome.outcome.fields.empty()) file.outcome = std::move(outcome.outcome);
    file.folder = out.folder;
    out = std::move(file);
    problem = FileProblem{};
    return true;
}

bool readFitFile(const std::string& path, FitFile& out, FileProblem& problem) {
    std::string content;
    if (!readFileUpTo(path, kMaxLineFileBytes, content, problem)) return false;
    FitFile file;
    file.folder = std::filesystem::path(path).parent_path().string();
    if (!parseFitFile(content, path, file, problem)) return false;
    out = std::move(file);
    return true;
}

bool fitFileText(const FitFile& file, std::string& content, FileProblem& problem) {
    problem = FileProblem{};
    problem.saving = true;
    std::string text = "format = " + std::string(kFitFormat) + "\n";
    text.append(kFitComment);
    for (const SeriesEntry& s : file.series) {
        for (const std::string& path : {s.measurement, s.caseFile})
            if (path.find(';') != std::string::npos)
                return refuse(problem, ProblemKind::PathWithSemicolon, path);
        appendSeries(text, s);
    }
    for (const FitParameterEntry& e : file.parameters) {
        if (!isInput(e.field)) return refuse(problem, ProblemKind::UnknownName);
        appendNameTextLine(
            text, std::string("fit ") + controlName(e.field),
            exactDecimal(e.start) + " ; " + exactDecimal(e.lower) + " : " + exactDecimal(e.upper));
    }
    if (file.starts != 1) appendNameTextLine(text, "starts", std::to_string(file.starts));
    if (file.seed != 1) appendNameTextLine(text, "seed", std::to_string(file.seed));
    if (file.iterations != kDefaultIterations)
        appendNameTextLine(text, "iterations", std::to_string(file.iterations));
    for (const MessgroesseSpec& q : kMessgroessen)
        if (!std::isnan(file.sigma[slot(q.groesse)]))
            appendNameTextLine(text, "sigma " + std::string(q.spalte),
                               exactDecimal(file.sigma[slot(q.groesse)]));
    if (file.outcome) appendOutcome(text, *file.outcome);
    // What is written must read back: the reader's rules are the writer's.
    FitFile check;
    if (!parseFitFile(text, "", check, problem)) {
        problem.saving = true;
        problem.line = 0;
        return false;
    }
    content = std::move(text);
    problem = FileProblem{};
    return true;
}

bool writeFitFile(const std::string& path, const FitFile& file, FileProblem& problem) {
    return saveTextFile(
        path, [&file](std::string& c, FileProblem& p) { return fitFileText(file, c, p); }, problem);
}

}  // namespace tesmo
