#include "files/study_file.h"

#include "files/file_text.h"
#include "files/name_text_lines.h"

namespace tesmo {

namespace {

constexpr std::string_view kStudyFormat = "tesmo-gegen-study 1";
constexpr std::string_view kVary = "vary";

constexpr std::string_view kStudyComment =
    "# Tesmo-Gegen – eine Parameterstudie: der Grundfall je Zeile NAME = TEXT wie im Fenster\n"
    "# eingegeben, dann je variiertem Eingabefeld eine Zeile vary NAME = BEREICH.\n"
    "# Ein fehlender Name behält seinen Standardtext. Zeilen mit # sind Kommentare;\n"
    "# Anführungszeichen um einen Text bewahren Leerzeichen an seinem Anfang und Ende.\n"
    "\n"
    "# Grundfall\n";
constexpr std::string_view kVariedComment = "\n# variierte Eingabefelder\n";

// Whether `name` is a vary line's, and the field's name after "vary".
bool isVaryLine(std::string_view name, std::string_view& fieldName) {
    if (name.substr(0, kVary.size()) != kVary) return false;
    const std::string_view rest = name.substr(kVary.size());
    if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') return false;
    fieldName = trimBlanks(rest);
    return true;
}

bool isVaried(const std::vector<VariedInput>& varied, Control field) {
    for (const VariedInput& v : varied)
        if (v.field == field) return true;
    return false;
}

bool takeVaryLine(const NameTextLine& line, std::string_view fieldName,
                  std::vector<VariedInput>& varied, FileProblem& problem) {
    if (fieldName.empty()) return refuse(problem, ProblemKind::MissingName);
    Control field{};
    if (!findInput(fieldName, field)) return refuse(problem, ProblemKind::UnknownName, fieldName);
    if (isVaried(varied, field)) return refuse(problem, ProblemKind::DuplicateVariation, fieldName);
    varied.push_back({field, std::string(line.text), line.line});
    return true;
}

std::string varyName(Control field) {
    return std::string(kVary) + " " + controlName(field);
}

}  // namespace

bool parseStudyFile(std::string_view content, const std::string& displayName,
                    const InputTexts& defaults, SavedStudy& out, FileProblem& problem) {
    InputLines inputs{defaults};
    std::vector<VariedInput> varied;
    const bool ok = parseNameTextLines(
        content, displayName, kStudyFormat,
        [&](const NameTextLine& line, FileProblem& p) {
            std::string_view fieldName;
            return isVaryLine(line.name, fieldName) ? takeVaryLine(line, fieldName, varied, p)
                                                    : takeInputLine(line, inputs, p);
        },
        problem);
    if (!ok) return false;
    if (varied.empty()) {
        problem.path = displayName;
        return refuse(problem, ProblemKind::NoVariation);
    }
    out = SavedStudy{std::move(inputs.texts), std::move(varied)};
    return true;
}

bool readStudyFile(const std::string& path, const InputTexts& defaults, SavedStudy& out,
                   FileProblem& problem) {
    std::string content;
    return readFileUpTo(path, kMaxLineFileBytes, content, problem) &&
           parseStudyFile(content, path, defaults, out, problem);
}

bool studyFileText(const SavedStudy& study, std::string& content, FileProblem& problem) {
    std::string text;
    if (!beginInputFile(text, kStudyFormat, kStudyComment, study.base, problem)) return false;
    if (study.varied.empty()) return refuse(problem, ProblemKind::NoVariation);
    text.append(kVariedComment);
    std::vector<VariedInput> written;
    for (const VariedInput& v : study.varied) {
        if (!isInput(v.field))
            return refuse(problem, ProblemKind::UnknownName,
                          index(v.field) < kControlCount ? controlName(v.field) : "");
        const std::string name = varyName(v.field);
        if (isVaried(written, v.field))
            return refuse(problem, ProblemKind::DuplicateVariation, controlName(v.field));
        if (!checkText(name, v.range, "\t", problem)) return false;
        appendNameTextLine(text, name, v.range);
        written.push_back(v);
    }
    content = std::move(text);
    problem = FileProblem{};
    return true;
}

bool writeStudyFile(const std::string& path, const SavedStudy& study, FileProblem& problem) {
    return saveTextFile(
        path, [&study](std::string& c, FileProblem& p) { return studyFileText(study, c, p); },
        problem);
}

}  // namespace tesmo
