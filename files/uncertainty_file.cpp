#include "files/uncertainty_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "files/case_file.h"
#include "files/file_text.h"
#include "files/name_text_lines.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

constexpr std::string_view kUncertaintyFormat = "tesmo-gegen-uq 1";
constexpr std::string_view kUncertain = "uncertain";
constexpr std::string_view kLimit = "limit";
constexpr std::string_view kLimitForm = "limit ERGEBNIS > WERT oder limit ERGEBNIS < WERT";

// The settings, each on a line of its own at most once.
enum class Setting : std::uint8_t { Case, Fit, Samples, Design, Seed, Indices, Results, Count };
constexpr std::array<std::string_view, static_cast<std::size_t>(Setting::Count)> kSettingNames = {
    "case", "fit", "samples", "design", "seed", "indices", "results"};

constexpr std::string_view kComment =
    "# Tesmo-Gegen – eine Unsicherheitsstudie: der Grundfall je Zeile NAME = TEXT wie im Fenster\n"
    "# eingegeben, dann je unsicherer Eingabe eine Zeile uncertain NAME = VERTEILUNG\n"
    "# (lognormal MITTELWERT ; STANDARDABWEICHUNG, uniform UNTEN : OBEN,\n"
    "# normal MITTELWERT ; STANDARDABWEICHUNG, triangular UNTEN : GIPFEL : OBEN) und die\n"
    "# Einstellungen der Stichprobe. Zeilen mit # sind Kommentare.\n"
    "\n"
    "# Grundfall\n";

// `name` is KEYWORD, blanks, REST: REST without the blanks around it.
bool startsWithWord(std::string_view name, std::string_view keyword, std::string_view& rest) {
    if (name.substr(0, keyword.size()) != keyword) return false;
    const std::string_view after = name.substr(keyword.size());
    if (!after.empty() && after.front() != ' ' && after.front() != '\t') return false;
    rest = trimBlanks(after);
    return true;
}

// A setting's text without a trailing comment (a '#' at the start or after a blank) and
// without the quotes around it. A text the line parser found in quotes is taken as it is.
std::string_view settingText(std::string_view text, bool quoted) {
    if (quoted) return text;
    if (!text.empty() && text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        if (close != std::string_view::npos) {
            const std::string_view rest = trimBlanks(text.substr(close + 1));
            if (rest.empty() || rest.front() == '#') return text.substr(1, close - 1);
        }
    }
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t'))
            return trimBlanks(text.substr(0, i));
    return text;
}

// A number as typed: sign, digits with one decimal comma or point, an optional E exponent.
bool readNumber(std::string_view text, double& out) {
    text = trimBlanks(text);
    std::string plain;
    bool digit = false, point = false, exponent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool signHere = i == 0 || (exponent && (text[i - 1] == 'e' || text[i - 1] == 'E'));
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if ((c == '+' || c == '-') && signHere) {
            if (c == '+') continue;  // from_chars takes no '+'
        } else if ((c == ',' || c == '.') && !point && !exponent) {
            point = true;
            plain += '.';
            continue;
        } else if ((c == 'e' || c == 'E') && digit && !exponent) {
            exponent = true;
            digit = false;
        } else {
            return false;
        }
        plain += c;
    }
    if (!digit) return false;
    const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), out);
    return r.ec == std::errc() && r.ptr == plain.data() + plain.size() && std::isfinite(out);
}

bool readWhole(std::string_view text, std::uint64_t low, std::uint64_t high, std::uint64_t& out) {
    text = trimBlanks(text);
    const auto r = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size() &&
           out >= low && out <= high;
}

bool refuseNumber(FileProblem& problem, std::string_view text, std::string expected) {
    problem.expected = std::move(expected);
    return refuse(problem, ProblemKind::BadNumber, text);
}

template <std::size_t N>
bool readWord(std::string_view text, const std::array<std::string_view, N>& words,
              std::uint8_t& out, FileProblem& problem) {
    for (std::size_t i = 0; i < N; ++i) {
        if (words[i] == text) {
            out = static_cast<std::uint8_t>(i);
            return true;
        }
    }
    problem.expected.clear();
    for (std::size_t i = 0; i < N; ++i)
        problem.expected += std::string(i == 0       ? ""
                                        : i + 1 == N ? " oder "
                                                     : ", ") +
                            std::string(words[i]);
    return refuse(problem, ProblemKind::UnknownWord, text);
}

std::string nameList(const std::vector<std::string>& names) {
    std::string list = "eine Ergebnisspalte der Tabelle:";
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? " " : ", ") + names[i];
    return list;
}

bool takeResultName(std::string_view name, const UncertaintyFileRules& rules,
                    FileProblem& problem) {
    if (std::find(rules.resultNames.begin(), rules.resultNames.end(), name) !=
        rules.resultNames.end())
        return true;
    problem.expected = nameList(rules.resultNames);
    return refuse(problem, ProblemKind::UnknownWord, name);
}

// The lines of one file as they are read: the base lines apart from the case file's texts,
// so that a base line wins wherever it stands.
class UncertaintyReader {
  public:
    explicit UncertaintyReader(const UncertaintyFileRules& rules)
        : rules_(rules), lines_{rules.defaults}, caseTexts_(rules.defaults) {}

    bool take(const NameTextLine& line, FileProblem& problem) {
        std::string_view rest;
        if (startsWithWord(line.name, kUncertain, rest)) return takeUncertain(line, rest, problem);
        if (startsWithWord(line.name, kLimit, rest)) {
            problem.expected = kLimitForm;
            return refuse(problem, ProblemKind::WrongForm,
                          std::string(line.name) + " = " + std::string(line.text));
        }
        for (std::size_t s = 0; s < kSettingNames.size(); ++s)
            if (line.name == kSettingNames[s])
                return takeSetting(static_cast<Setting>(s), line, problem);
        return takeInputLine(line, lines_, problem);
    }

    bool takeOther(const NameTextLine& line, FileProblem& problem) {
        std::string_view rest;
        if (!startsWithWord(line.name, kLimit, rest))
            return refuse(problem, ProblemKind::MissingEquals);
        rest = settingText(rest, false);
        const std::size_t op = rest.find_first_of("<>");
        const std::string_view name = trimBlanks(rest.substr(0, op));
        if (op == std::string_view::npos || name.empty()) {
            problem.expected = kLimitForm;
            return refuse(problem, ProblemKind::WrongForm, line.name);
        }
        if (!takeResultName(name, rules_, problem)) return false;
        ResultLimit limit{std::string(name), rest[op] == '>' ? LimitSide::Above : LimitSide::Below,
                          0, line.line};
        const std::string_view value = trimBlanks(rest.substr(op + 1));
        if (!readNumber(value, limit.value)) return refuseNumber(problem, value, "eine Zahl");
        out_.limits.push_back(std::move(limit));
        return true;
    }

    // The study once every line is read.
    bool finish(FileProblem& problem) {
        if (out_.uncertain.empty() && out_.fitPath.empty()) {
            problem.line = 0;
            return refuse(problem, ProblemKind::NoUncertainInput);
        }
        for (int i = 0; i < kInputCount; ++i)
            if (!lines_.named[static_cast<std::size_t>(i)])
                lines_.texts.text[static_cast<std::size_t>(i)] =
                    caseTexts_.text[static_cast<std::size_t>(i)];
        for (const RunOptionSpec& spec : kRunOptions)
            if (!lines_.optionNamed[static_cast<std::size_t>(spec.option)])
                setOptionWord(lines_.texts.optionen, spec.option,
                              optionWord(caseTexts_.optionen, spec.option));
        out_.base = std::move(lines_.texts);
        return true;
    }

    UncertaintyFile& study() { return out_; }

  private:
    bool takeUncertain(const NameTextLine& line, std::string_view fieldName, FileProblem& problem) {
        if (fieldName.empty()) return refuse(problem, ProblemKind::MissingName);
        Control field{};
        if (!findInput(fieldName, field))
            return refuse(problem, ProblemKind::UnknownName, fieldName);
        for (const UncertainLine& u : out_.uncertain)
            if (u.field == field) return refuse(problem, ProblemKind::DuplicateName, line.name);
        UncertainLine u{field, {}, line.line};
        if (!parseDistribution(settingText(line.text, line.quoted), u.distribution, problem))
            return false;
        out_.uncertain.push_back(u);
        return true;
    }

    bool takeSetting(Setting setting, const NameTextLine& line, FileProblem& problem) {
        bool& seen = seen_[static_cast<std::size_t>(setting)];
        if (seen) return refuse(problem, ProblemKind::DuplicateName, line.name);
        seen = true;
        const std::string_view text = settingText(line.text, line.quoted);
        std::uint8_t word = 0;
        std::uint64_t number = 0;
        switch (setting) {
            case Setting::Case:
                return takeCase(text, problem);
            case Setting::Fit:
                if (text.empty()) {
                    problem.expected = "fit = DATEI.tgfit";
                    return refuse(problem, ProblemKind::WrongForm, text);
                }
                out_.fitPath = std::string(text);
                out_.fitLine = line.line;
                return true;
            case Setting::Samples:
                if (!readWhole(text, kMinSamples, kMaxSamples, number))
                    return refuseNumber(problem, text,
                                        "eine ganze Zahl von " + std::to_string(kMinSamples) +
                                            " bis " + std::to_string(kMaxSamples));
                out_.samples = static_cast<std::size_t>(number);
                return true;
            case Setting::Design:
                if (!readWord(text, kDesignWords, word, problem)) return false;
                out_.design = static_cast<SampleDesign>(word);
                return true;
            case Setting::Seed:
                if (!readWhole(text, 0, kMaxSeed, out_.seed))
                    return refuseNumber(problem, text,
                                        "eine ganze Zahl von 0 bis " + std::to_string(kMaxSeed));
                return true;
            case Setting::Indices:
                if (!readWord(text, kIndexWords, word, problem)) return false;
                out_.indices = static_cast<IndexMethod>(word);
                return true;
            case Setting::Results:
                return takeResults(text, problem);
            case Setting::Count:
                break;
        }
        return false;
    }

    bool takeCase(std::string_view path, FileProblem& problem) {
        if (path.empty()) {
            problem.expected = "case = DATEI.tgcase";
            return refuse(problem, ProblemKind::WrongForm, path);
        }
        if (!rules_.readCase) return refuse(problem, ProblemKind::UnsupportedLine, "case");
        InputTexts texts = rules_.defaults;
        FileProblem caseProblem;
        if (!rules_.readCase(std::string(path), texts, caseProblem)) {
            problem = caseProblem;
            return false;
        }
        caseTexts_ = std::move(texts);
        return true;
    }

    bool takeResults(std::string_view text, FileProblem& problem) {
        std::vector<std::string> names;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find_first_of(",;", start), text.size());
            const std::string_view name = trimBlanks(text.substr(start, end - start));
            if (name.empty()) {
                problem.expected = "results = ERGEBNIS, ERGEBNIS, …";
                return refuse(problem, ProblemKind::WrongForm, text);
            }
            if (!takeResultName(name, rules_, problem)) return false;
            if (std::find(names.begin(), names.end(), name) != names.end())
                return refuse(problem, ProblemKind::DuplicateName, name);
            names.emplace_back(name);
            start = end + 1;
        }
        out_.results = std::move(names);
        return true;
    }

    const UncertaintyFileRules& rules_;
    InputLines lines_;
    InputTexts caseTexts_;
    std::array<bool, static_cast<std::size_t>(Setting::Count)> seen_{};
    UncertaintyFile out_;
};

void appendSetting(std::string& out, std::string_view name, std::string_view value) {
    out.append(name).append(" = ").append(value).append("\n");
}

// A path on a setting line, in quotes where a reader would otherwise take part of it for a
// comment or lose blanks or quotes at its ends.
void appendPathSetting(std::string& out, std::string_view name, std::string_view path) {
    const bool quoted = path.find('#') != std::string_view::npos || path.front() == '"' ||
                        path.front() == ' ' || path.front() == '\t' || path.back() == ' ' ||
                        path.back() == '\t';
    out.append(name).append(" = ");
    if (quoted) out += '"';
    out.append(path);
    if (quoted) out += '"';
    out += '\n';
}

}  // namespace

const DistributionForm& distributionForm(DistributionKind kind) {
    return kDistributionForms[static_cast<std::size_t>(kind)];
}

bool parseDistribution(std::string_view text, DistributionSpec& out, FileProblem& problem) {
    text = trimBlanks(text);
    const std::size_t blank = std::min(text.find_first_of(" \t"), text.size());
    const std::string_view word = text.substr(0, blank);
    const DistributionForm* form = nullptr;
    for (const DistributionForm& f : kDistributionForms)
        if (f.word == word) form = &f;
    if (!form) {
        problem.expected = "lognormal, uniform, normal oder triangular";
        return refuse(problem, ProblemKind::UnknownWord, word);
    }
    DistributionSpec spec{form->kind, {}};
    const std::string_view numbers = text.substr(blank);
    int count = 0;
    for (std::size_t start = 0; start <= numbers.size(); ++count) {
        const std::size_t end = std::min(numbers.find(form->separator, start), numbers.size());
        if (count == form->count || !readNumber(numbers.substr(start, end - start),
                                                spec.p[static_cast<std::size_t>(count)])) {
            problem.expected = form->form;
            return refuse(problem, ProblemKind::WrongForm, text);
        }
        start = end + 1;
    }
    if (count != form->count) {
        problem.expected = form->form;
        return refuse(problem, ProblemKind::WrongForm, text);
    }
    if (!checkDistribution(spec, problem)) return false;
    out = spec;
    return true;
}

bool checkDistribution(const DistributionSpec& spec, FileProblem& problem) {
    const auto broken = [&](ParameterRule rule) {
        problem.number = static_cast<long long>(rule);
        return refuse(problem, ProblemKind::ParameterRule, distributionForm(spec.kind).word);
    };
    const auto& p = spec.p;
    for (double v : p)
        if (!std::isfinite(v)) {
            problem.expected = distributionForm(spec.kind).form;
            return refuse(problem, ProblemKind::WrongForm, distributionText(spec));
        }
    switch (spec.kind) {
        case DistributionKind::LogNormal:
            if (p[0] <= 0) return broken(ParameterRule::MeanNotPositive);
            [[fallthrough]];
        case DistributionKind::Normal:
            if (p[1] <= 0) return broken(ParameterRule::SpreadNotPositive);
            return true;
        case DistributionKind::Uniform:
            if (!(p[0] < p[1])) return broken(ParameterRule::BoundsNotIncreasing);
            return true;
        case DistributionKind::Triangular:
            if (!(p[0] < p[2])) return broken(ParameterRule::BoundsNotIncreasing);
            if (p[1] < p[0] || p[1] > p[2]) return broken(ParameterRule::PeakOutsideBounds);
            return true;
    }
    return false;
}

std::string distributionText(const DistributionSpec& spec) {
    const DistributionForm& form = distributionForm(spec.kind);
    std::string text(form.word);
    for (int i = 0; i < form.count; ++i) {
        if (i > 0) text.append(" ").push_back(form.separator);
        text.append(" ").append(ZahlZuTextExakt(spec.p[static_cast<std::size_t>(i)]));
    }
    return text;
}

bool parseUncertaintyFile(std::string_view content, const std::string& displayName,
                          const UncertaintyFileRules& rules, UncertaintyFile& out,
                          FileProblem& problem) {
    UncertaintyReader reader(rules);
    const bool ok = parseNameTextLines(
        content, displayName, kUncertaintyFormat,
        [&](const NameTextLine& line, FileProblem& p) { return reader.take(line, p); },
        [&](const NameTextLine& line, FileProblem& p) { return reader.takeOther(line, p); },
        problem);
    if (!ok) return false;
    problem.path = displayName;
    if (!reader.finish(problem)) return false;
    out = std::move(reader.study());
    problem = FileProblem{};
    return true;
}

bool readUncertaintyFile(const std::string& path, UncertaintyFileRules rules, UncertaintyFile& out,
                         FileProblem& problem) {
    std::string content;
    if (!readFileUpTo(path, kMaxLineFileBytes, content, problem)) return false;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    rules.readCase = [&folder](const std::string& casePath, InputTexts& texts, FileProblem& p) {
        const std::filesystem::path written(casePath);
        const std::string resolved =
            written.is_absolute() || folder.empty() ? casePath : (folder / written).string();
        return readCaseFile(resolved, texts, texts, p);
    };
    return parseUncertaintyFile(content, path, rules, out, problem);
}

bool uncertaintyFileText(const UncertaintyFile& study, std::string& content, FileProblem& problem) {
    std::string text;
    if (!beginInputFile(text, kUncertaintyFormat, kComment, study.base, problem)) return false;
    if (study.uncertain.empty() && study.fitPath.empty())
        return refuse(problem, ProblemKind::NoUncertainInput);
    text += "\n# unsichere Eingaben\n";
    std::vector<Control> written;
    for (const UncertainLine& u : study.uncertain) {
        if (!isInput(u.field)) return refuse(problem, ProblemKind::UnknownName);
        const std::string name = std::string(kUncertain) + " " + controlName(u.field);
        if (std::find(written.begin(), written.end(), u.field) != written.end())
            return refuse(problem, ProblemKind::DuplicateName, name);
        if (!checkDistribution(u.distribution, problem)) return false;
        written.push_back(u.field);
        appendSetting(text, name, distributionText(u.distribution));
    }
    if (!study.fitPath.empty()) {
        if (!checkText("fit", study.fitPath, "\t", problem)) return false;
        appendPathSetting(text, "fit", study.fitPath);
    }
    if (study.samples < kMinSamples || study.samples > kMaxSamples)
        return refuseNumber(problem, std::to_string(study.samples),
                            "eine Zahl von Proben von " + std::to_string(kMinSamples) + " bis " +
                                std::to_string(kMaxSamples));
    if (study.seed > kMaxSeed)
        return refuseNumber(problem, std::to_string(study.seed),
                            "ein Startwert von 0 bis " + std::to_string(kMaxSeed));
    if (study.results.empty()) {
        problem.expected = "results = ERGEBNIS, ERGEBNIS, …";
        return refuse(problem, ProblemKind::WrongForm, "results =");
    }
    text += "\n# Stichprobe und Auswertung\n";
    appendSetting(text, "samples", std::to_string(study.samples));
    appendSetting(text, "design", kDesignWords[static_cast<std::size_t>(study.design)]);
    appendSetting(text, "seed", std::to_string(study.seed));
    appendSetting(text, "indices", kIndexWords[static_cast<std::size_t>(study.indices)]);
    std::string results;
    for (const std::string& r : study.results) {
        if (r.empty() || r.find_first_of(",;# \t<>") != std::string::npos) {
            problem.expected = "der Name einer Ergebnisspalte";
            return refuse(problem, ProblemKind::UnknownWord, r);
        }
        results += (results.empty() ? "" : ", ") + r;
    }
    if (!checkText("results", results, "", problem)) return false;
    appendSetting(text, "results", results);
    for (const ResultLimit& l : study.limits) {
        if (l.result.empty() || l.result.find_first_of(",;# \t<>=") != std::string::npos ||
            !std::isfinite(l.value)) {
            problem.expected = kLimitForm;
            return refuse(problem, ProblemKind::WrongForm, l.result);
        }
        const std::string line = std::string(kLimit) + " " + l.result +
                                 (l.side == LimitSide::Above ? " > " : " < ") +
                                 ZahlZuTextExakt(l.value);
        if (!checkText("limit", line, "", problem)) return false;
        text += line + "\n";
    }
    content = std::move(text);
    problem = FileProblem{};
    return true;
}

bool writeUncertaintyFile(const std::string& path, const UncertaintyFile& study,
                          FileProblem& problem) {
    return saveTextFile(
        path, [&study](std::string& c, FileProblem& p) { return uncertaintyFileText(study, c, p); },
        problem);
}

}  // namespace tesmo
