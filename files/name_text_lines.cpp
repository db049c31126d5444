#include "files/name_text_lines.h"

#include "files/atomic_file.h"
#include "files/file_text.h"
#include "files/utf8.h"

namespace tesmo {

namespace {

constexpr std::string_view kFormatName = "format";
constexpr char kQuote = '"';
constexpr std::string_view kBlanks = " \t";

bool isEnclosedInQuotes(std::string_view text) {
    return text.size() >= 2 && text.front() == kQuote && text.back() == kQuote;
}

// The format line, which must come first; `formatSeen` is set once it has been read.
bool takeFormatLine(std::string_view format, std::string_view name, std::string_view value,
                    FileProblem& problem) {
    if (name != kFormatName) return refuse(problem, ProblemKind::MissingFormat, format);
    if (value != format) return refuse(problem, ProblemKind::WrongFormat, format);
    return true;
}

}  // namespace

bool parseNameTextLines(std::string_view content, const std::string& displayName,
                        std::string_view format,
                        const std::function<bool(const NameTextLine&, FileProblem&)>& take,
                        FileProblem& problem, std::size_t maxCharacters) {
    return parseNameTextLines(content, displayName, format, take, nullptr, problem, maxCharacters);
}

bool parseNameTextLines(std::string_view content, const std::string& displayName,
                        std::string_view format,
                        const std::function<bool(const NameTextLine&, FileProblem&)>& take,
                        const std::function<bool(const NameTextLine&, FileProblem&)>& takeOther,
                        FileProblem& problem, std::size_t maxCharacters) {
    problem = FileProblem{.path = displayName};
    if (!checkFileText(content, kMaxLineFileBytes, problem)) return false;

    bool formatSeen = false;
    int lineNumber = 0;
    for (std::size_t pos = 0; pos < content.size();) {
        const std::string_view line = nextLine(content, pos);
        problem.line = ++lineNumber;
        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;

        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos && formatSeen && takeOther) {
            const NameTextLine entry{lineNumber, trimmed, {}};
            if (!takeOther(entry, problem) ||
                !checkText(trimmed, trimmed, "\t", problem, maxCharacters))
                return false;
            continue;
        }
        if (equals == std::string_view::npos)
            return refuse(problem,
                          formatSeen ? ProblemKind::MissingEquals : ProblemKind::MissingFormat,
                          formatSeen ? "" : format);
        NameTextLine entry{lineNumber, trimBlanks(line.substr(0, equals)),
                           trimBlanks(line.substr(equals + 1))};
        if (!formatSeen) {
            if (!takeFormatLine(format, entry.name, entry.text, problem)) return false;
            formatSeen = true;
            continue;
        }
        if (entry.name.empty()) return refuse(problem, ProblemKind::MissingName);
        if (entry.name == kFormatName)
            return refuse(problem, ProblemKind::DuplicateName, kFormatName);
        if (isEnclosedInQuotes(entry.text)) {
            entry.text = entry.text.substr(1, entry.text.size() - 2);
            entry.quoted = true;
        }
        if (!take(entry, problem) ||
            !checkText(entry.name, entry.text, "\t", problem, maxCharacters))
            return false;
    }
    problem.line = 0;
    if (!formatSeen) return refuse(problem, ProblemKind::MissingFormat, format);
    problem = FileProblem{};
    return true;
}

bool checkText(std::string_view name, std::string_view text, std::string_view allowedControls,
               FileProblem& problem, std::size_t maxCharacters) {
    if (!isUtf8(text)) return refuse(problem, ProblemKind::NotUtf8, name);
    if (hasControlCharacter(text, allowedControls))
        return refuse(problem, ProblemKind::ControlCharacter, name);
    if (utf8Length(text) > maxCharacters) {
        problem.number = static_cast<long long>(maxCharacters);
        return refuse(problem, ProblemKind::TextTooLong, name);
    }
    return true;
}

bool findInput(std::string_view name, Control& field) {
    field = inputByName(name);
    return field != Control::Count;
}

namespace {

bool takeOptionLine(const NameTextLine& line, RunOption option, InputLines& inputs,
                    FileProblem& problem) {
    bool& named = inputs.optionNamed[static_cast<std::size_t>(option)];
    if (named) return refuse(problem, ProblemKind::DuplicateName, line.name);
    if (!setOptionWord(inputs.texts.optionen, option, line.text)) {
        problem.number = static_cast<long long>(option);
        return refuse(problem, ProblemKind::UnknownOptionWord, line.text);
    }
    named = true;
    return true;
}

}  // namespace

bool takeInputLine(const NameTextLine& line, InputLines& inputs, FileProblem& problem) {
    if (const auto option = runOptionByName(line.name))
        return takeOptionLine(line, *option, inputs, problem);
    Control field{};
    if (!findInput(line.name, field)) return refuse(problem, ProblemKind::UnknownName, line.name);
    bool& named = inputs.named[static_cast<std::size_t>(index(field))];
    if (named) return refuse(problem, ProblemKind::DuplicateName, line.name);
    named = true;
    inputs.texts[field] = std::string(line.text);
    return true;
}

void appendNameTextLine(std::string& out, std::string_view name, std::string_view text) {
    // Quotes where trimming or unquoting would change the text on reading.
    const bool quoted = text.empty() || kBlanks.find(text.front()) != std::string_view::npos ||
                        kBlanks.find(text.back()) != std::string_view::npos ||
                        isEnclosedInQuotes(text);
    out.append(name).append(" = ");
    if (quoted) out += kQuote;
    out.append(text);
    if (quoted) out += kQuote;
    out += '\n';
}

bool beginInputFile(std::string& out, std::string_view format, std::string_view comment,
                    const InputTexts& texts, FileProblem& problem) {
    problem = FileProblem{};
    problem.saving = true;
    out.append(kFormatName).append(" = ").append(format).append("\n");
    out.append(comment);
    for (int i = 0; i < kInputCount; ++i) {
        const Control field = controlAt(i);
        if (!checkText(controlName(field), texts[field], "\t", problem)) return false;
        out.append("# ").append(trimBlanks(inputCaption(field))).append("\n");
        appendNameTextLine(out, controlName(field), texts[field]);
    }
    for (const RunOptionSpec& spec : kRunOptions) {
        if (optionChoice(texts.optionen, spec.option) == 0) continue;
        out.append("# ").append(spec.caption).append("\n");
        appendNameTextLine(out, spec.name, optionWord(texts.optionen, spec.option));
    }
    return true;
}

bool saveTextFile(const std::string& path,
                  const std::function<bool(std::string&, FileProblem&)>& produce,
                  FileProblem& problem) {
    std::string content;
    WriteFailure failure;
    if (produce(content, problem)) {
        if (writeFileAtomically(path, content, &failure)) return true;
        problem.kind = ProblemKind::SystemError;
        problem.number = failure.errnum;
        problem.saving = true;
    }
    problem.path = path;
    return false;
}

}  // namespace tesmo
