#include "files/case_file.h"

#include "files/file_text.h"
#include "files/name_text_lines.h"

namespace tesmo {

namespace {

constexpr std::string_view kCaseFormat = "tesmo-gegen-case 1";

constexpr std::string_view kCaseComment =
    "# Tesmo-Gegen – die Eingaben eines Falls, je Zeile NAME = TEXT wie im Fenster eingegeben.\n"
    "# Ein fehlender Name behält seinen Standardtext. Zeilen mit # sind Kommentare;\n"
    "# Anführungszeichen um einen Text bewahren Leerzeichen an seinem Anfang und Ende.\n"
    "\n";

}  // namespace

bool parseCaseFile(std::string_view content, const std::string& displayName, const InputTexts& base,
                   InputTexts& out, FileProblem& problem) {
    InputLines inputs{base};
    const bool ok = parseNameTextLines(
        content, displayName, kCaseFormat,
        [&inputs](const NameTextLine& line, FileProblem& p) {
            return takeInputLine(line, inputs, p);
        },
        problem);
    if (ok) out = std::move(inputs.texts);
    return ok;
}

bool readCaseFile(const std::string& path, const InputTexts& base, InputTexts& out,
                  FileProblem& problem) {
    std::string content;
    return readFileUpTo(path, kMaxLineFileBytes, content, problem) &&
           parseCaseFile(content, path, base, out, problem);
}

bool caseFileText(const InputTexts& texts, std::string& content, FileProblem& problem) {
    std::string text;
    if (!beginInputFile(text, kCaseFormat, kCaseComment, texts, problem)) return false;
    content = std::move(text);
    problem = FileProblem{};
    return true;
}

bool writeCaseFile(const std::string& path, const InputTexts& texts, FileProblem& problem) {
    return saveTextFile(
        path, [&texts](std::string& c, FileProblem& p) { return caseFileText(texts, c, p); },
        problem);
}

}  // namespace tesmo
