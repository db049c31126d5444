// An uncertainty study as the study window takes it: the texts typed into its fields, and the
// check that turns them into a plan by the rules of a study file, with German messages where
// the entry is wrong. The window shows each message beside its entry, so that the study file
// it saves is one the runner takes as it stands.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/uncertainty_file.h"
#include "study/results.h"
#include "uq/uncertainty_plan.h"

namespace tesmo {

// One uncertain input as entered: the field, its distribution and the parameters as typed
// (only the distribution's count of them is used).
struct UncertainEntry {
    Control field = Control::Count;  // Control::Count: none chosen yet
    DistributionKind kind = DistributionKind::Normal;
    std::array<std::string, 3> parameters;
};

// One limit as entered: the result column, the side and the value as typed (study table unit).
struct LimitEntry {
    std::size_t column = kResultCount;  // kResultCount: none chosen yet
    LimitSide side = LimitSide::Above;
    std::string value;
};

// The fit file chosen for the study, read at once: its inputs as a correlated block, or why
// it cannot serve (German).
struct FitChoice {
    std::string path;  // as it opens from the working folder
    std::optional<CorrelatedNormal> block;
    std::string problem;
};
FitChoice chooseFit(const std::string& path);

struct UncertaintyForm {
    InputTexts base = defaultInputTexts();
    std::vector<UncertainEntry> inputs;
    std::optional<FitChoice> fit;
    std::size_t samples = 1000;
    SampleDesign design = SampleDesign::Lhs;
    std::string seed = "1";
    IndexMethod indices = IndexMethod::Auto;
    std::vector<std::size_t> results;  // columns of resultColumns()
    std::vector<LimitEntry> limits;
};

// The form a window starts with: Laufzeit analysed, nothing uncertain yet.
UncertaintyForm defaultUncertaintyForm();

struct UncertaintyFormCheck {
    std::vector<std::string> inputErrors;  // one per entry (German; empty: fine)
    std::vector<std::string> limitErrors;  // one per limit
    std::string fitError;                  // why the chosen fit cannot serve
    std::string seedError;
    std::string studyError;  // what is wrong with the study as a whole
    UncertaintyPlan plan;    // the study, when ok()
    std::size_t caseCount = 0;

    bool ok() const;
    // The first message, with the entry it concerns: for the line below the form.
    std::string firstError() const;
};

// Checks each entry by the rules of a study file, then the plan as a whole (checkPlan): an
// input twice or also fitted, no result, too few cases for pick-freeze indices, … At most
// kCasesWithoutYes cases: the window does not run studies larger than that.
UncertaintyFormCheck checkUncertaintyForm(const UncertaintyForm& form);

// The names of a distribution's parameters, in order: "Mittelwert", "Standardabweichung";
// "Unten", "Gipfel", "Oben".
std::vector<std::string> parameterNames(DistributionKind kind);
// What the window calls a distribution, a sampling design and an index method.
std::string_view distributionCaption(DistributionKind kind);
std::string_view designCaption(SampleDesign design);
std::string_view indexCaption(IndexMethod method);

// The file of a checked form, to be saved at `studyPath` (its fit line relative to that file's
// folder); false and the problem when the plan cannot be written.
bool uncertaintyFileOfForm(const UncertaintyFormCheck& check, const std::string& studyPath,
                           UncertaintyFile& out, FileProblem& problem);
// The form of a study file read from `studyPath`: parameters as their shortest exact texts,
// its fit read from the file the fit line names.
UncertaintyForm formOfUncertaintyFile(const UncertaintyFile& file, const std::string& studyPath);

}  // namespace tesmo
