// Case files (*.tgcase): the seventeen input texts of one case, exactly as typed.
//
//   format = tesmo-gegen-case 1
//   # Anfangsdicke der Platte in mm
//   txt_Dicke = 20,0
//   …
//
// The line syntax is that of files/name_text_lines.h. Every NAME is an input field's control
// name and may appear once; a field not named keeps its base text.
#pragma once

#include <string>
#include <string_view>

#include "files/file_problem.h"
#include "model/inputs.h"

namespace tesmo {

inline constexpr const char* kCaseFileSuffix = ".tgcase";

// Reads a case file's content: `out` becomes `base` with the texts the file names. On a
// refusal `out` is left as it was and `problem` says why, naming `displayName` and the line.
bool parseCaseFile(std::string_view content, const std::string& displayName, const InputTexts& base,
                   InputTexts& out, FileProblem& problem);
// The same for the file at `path` (named in messages as given).
bool readCaseFile(const std::string& path, const InputTexts& base, InputTexts& out,
                  FileProblem& problem);

// The content of a case file for `texts`: all seventeen fields in the window's order. Refuses
// a text that a case file cannot hold (a line break or other control character, more than
// kMaxTextCharacters characters, bytes that are not UTF-8).
bool caseFileText(const InputTexts& texts, std::string& content, FileProblem& problem);
// Saves that content atomically: on any refusal or failure an earlier file stays as it was.
bool writeCaseFile(const std::string& path, const InputTexts& texts, FileProblem& problem);

}  // namespace tesmo
