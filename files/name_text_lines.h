// The line format that case files and study files share.
//
//   format = tesmo-gegen-case 1      the first line that is not a comment or blank
//   # a comment                      '#' as the first character after leading blanks
//   txt_Dicke = 20,0                 NAME = TEXT
//   txt_XZiel = ""                   an empty text
//   txt_mue = "  20 "                a text whose blanks at either end are part of it
//
// NAME is what stands before the first '=', TEXT what follows it, both without the blanks and
// tabs around them. A TEXT of at least two characters that begins and ends with '"' loses that
// one pair of quotes; nothing else is special, so '#', '=' and quotes inside a text are read as
// they stand. Lines end at LF, CR LF or CR; a byte-order mark at the start is skipped. A TEXT
// may hold tabs but no other control character and at most kMaxTextCharacters characters.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "files/file_problem.h"
#include "files/file_text.h"
#include "model/inputs.h"

namespace tesmo {

struct NameTextLine {
    int line = 0;
    std::string_view name;
    std::string_view text;  // as the field receives it, enclosing quotes removed
    bool quoted = false;    // the text stood in quotes
};

// Reads `content` (at most kMaxLineFileBytes, UTF-8) whose format line must name `format`, and
// hands each NAME = TEXT line to `take`, which returns false to refuse it (after filling the
// problem's kind and detail). A text is checked after `take` has accepted its name; it may have
// at most `maxCharacters` characters (a file that names other files needs room for their paths).
bool parseNameTextLines(std::string_view content, const std::string& displayName,
                        std::string_view format,
                        const std::function<bool(const NameTextLine&, FileProblem&)>& take,
                        FileProblem& problem, std::size_t maxCharacters = kMaxTextCharacters);
// The same for a format whose lines need not all hold '=': every line after the format line
// that has none goes to `takeOther` as `name` (the whole line without the blanks around it,
// `text` empty), which refuses what it does not know. Its characters are checked as a text's.
bool parseNameTextLines(std::string_view content, const std::string& displayName,
                        std::string_view format,
                        const std::function<bool(const NameTextLine&, FileProblem&)>& take,
                        const std::function<bool(const NameTextLine&, FileProblem&)>& takeOther,
                        FileProblem& problem, std::size_t maxCharacters = kMaxTextCharacters);

// Whether `text` can stand in a file: UTF-8, no control character other than those in
// `allowedControls`, at most kMaxTextCharacters characters. The problem names `name`.
bool checkText(std::string_view name, std::string_view text, std::string_view allowedControls,
               FileProblem& problem, std::size_t maxCharacters = kMaxTextCharacters);

// The input field of that control name.
bool findInput(std::string_view name, Control& field);

// The texts of the input fields and the run modes read so far, and which of them a line has
// named.
struct InputLines {
    InputTexts texts;
    std::array<bool, kInputCount> named{};
    std::array<bool, kRunOptionCount> optionNamed{};
};
// Takes a line that names an input field or a run mode ("klima = konstant"): refuses an unknown
// name, one named twice and a word the run mode does not have.
bool takeInputLine(const NameTextLine& line, InputLines& inputs, FileProblem& problem);

// The start of a file's content: "format = F", the comment lines, then all seventeen input
// lines in the window's order, each after its label's caption as a comment, then a line for
// each run mode that is not at its default (so a file of a plain case reads as it always did).
// Refuses a text that cannot be written (see checkText), as a problem while saving.
bool beginInputFile(std::string& out, std::string_view format, std::string_view comment,
                    const InputTexts& texts, FileProblem& problem);
// NAME = TEXT, the text quoted where it would otherwise not be read back as it is.
void appendNameTextLine(std::string& out, std::string_view name, std::string_view text);

// Saves the content that `produce` makes atomically; a refusal of `produce` or a failure to
// write is reported as a problem while saving `path`.
bool saveTextFile(const std::string& path,
                  const std::function<bool(std::string&, FileProblem&)>& produce,
                  FileProblem& problem);

}  // namespace tesmo
