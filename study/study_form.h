// A parameter study as the study window takes it: a base case and one or two varied inputs,
// each entered as a range (VON, BIS, SCHRITT) or as a list of texts, and the check that says
// whether the study can run, with the same rules and German messages as the runner's --vary.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "files/study_file.h"
#include "model/inputs.h"
#include "study/variation.h"

namespace tesmo {

enum class EntryKind : std::uint8_t { Range, List };

// One varied input as entered.
struct VaryEntry {
    Control field = Control::Count;  // Control::Count: no input chosen (the second one only)
    EntryKind kind = EntryKind::Range;
    std::string from, to, step;  // EntryKind::Range
    std::string values;          // EntryKind::List: texts separated by ';'

    bool used() const { return field != Control::Count; }
    // The range or list as a study file's vary line and --vary write it: "30:70:10", "20;30".
    std::string spec() const;
};

// The entry for a range text read from a study file: a range when it has the form of one
// (':' and no ';'), otherwise a list.
VaryEntry entryOf(Control field, const std::string& spec);

inline constexpr std::size_t kFormVariations = 2;

struct StudyForm {
    InputTexts base = defaultInputTexts();
    std::array<VaryEntry, kFormVariations> vary;
};

// What the check of a form found.
struct FormCheck {
    std::array<std::string, kFormVariations> errors;  // German, one per entry; empty: fine
    std::string countError;                           // German: too many cases
    std::size_t caseCount = 0;                        // the product, when every entry is fine
    std::vector<Variation> variations;                // the used entries' values, in order

    bool ok() const;
};

// Checks every used entry (the first must be used), refuses an input chosen twice and more
// than kCasesWithoutYes cases (the window does not run studies that large).
FormCheck checkStudyForm(const StudyForm& form);

// "1 Fall", "12 Fälle", "100 000 Fälle".
std::string caseCountText(std::size_t count);

// The study file of a form; its varied entries as range or list texts.
SavedStudy savedStudyOf(const StudyForm& form);
// The form of a study file. Refuses (German message in `error`) a study of more varied inputs
// than the form holds; its ranges are not checked here (checkStudyForm does, as for typed ones).
bool formOf(const SavedStudy& study, StudyForm& out, std::string& error);

}  // namespace tesmo
