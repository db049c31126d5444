// Study files (*.tgstudy): a saved parameter study.
//
//   format = tesmo-gegen-study 1
//   txt_Dicke = 20,0          the base case: lines as in a case file, missing names keep
//   …                          the defaults
//   vary txt_Dicke = 10:30:5   one or more input fields to vary, in this order, each with
//   vary txt_XAnf = 0,2;0,25   its range as written
//
// The line syntax is that of files/name_text_lines.h; a vary line's NAME is "vary" and the
// field's control name, separated by blanks. A field may have one base line and one vary line,
// not two of either. The range is kept as a text (same rules as an input text): the study
// reads it and reports its errors with the line number kept here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"
#include "model/inputs.h"

namespace tesmo {

inline constexpr const char* kStudyFileSuffix = ".tgstudy";

struct VariedInput {
    Control field = Control::txt_Dicke;
    std::string range;  // e.g. "30:70:5" or "30;40;55", as written
    int line = 0;       // where it stands in the file (0 for a study not read from a file)
};

struct SavedStudy {
    InputTexts base;
    std::vector<VariedInput> varied;  // at least one, each field at most once
};

// Reads a study file's content; fields without a base line keep `defaults`. On a refusal
// `out` is left as it was and `problem` says why.
bool parseStudyFile(std::string_view content, const std::string& displayName,
                    const InputTexts& defaults, SavedStudy& out, FileProblem& problem);
bool readStudyFile(const std::string& path, const InputTexts& defaults, SavedStudy& out,
                   FileProblem& problem);

// The content of a study file: all seventeen base lines, then the vary lines in order. Refuses
// what a study file cannot hold or the reader would refuse (no varied field, a field varied
// twice, a text as in caseFileText).
bool studyFileText(const SavedStudy& study, std::string& content, FileProblem& problem);
bool writeStudyFile(const std::string& path, const SavedStudy& study, FileProblem& problem);

}  // namespace tesmo
