// A fit as a window holds it while it is being set up: the measured series with the case each
// was measured under, the inputs to fit with their start and bounds as typed, and the settings
// a fit file keeps. The check says at once whether it can run and, if not, why (in German);
// opening and saving go through the fit file (files/fit_file.h).
//
// A series' case comes from a case file or from the main window's fields. The measurement and
// the case are read when the series is added or the fit file opened, and the series keeps
// them: a file changed on disk afterwards changes nothing until the series is added anew. A
// fit file names a case file for every series, so saving writes the cases taken from the main
// window beside the fit file first (named after the measurement, never over another file).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/fit_file.h"
#include "files/measurement_file.h"
#include "fit/fit_setup.h"
#include "model/inputs.h"

namespace tesmo {

struct SeriesForm {
    std::string name;             // the measurement as tables and charts name it
    std::string measurementPath;  // where it was read
    Measurement measurement;
    std::string casePath;      // the case file it was read from; empty: the main window's fields
    InputTexts caseTexts;      // the case with the run modes it holds itself
    RunOptions optionen;       // the run modes the series is computed in
    std::string trockenmasse;  // the dry mass in g as typed; empty: not given
};

struct ParameterForm {
    Control field = Control::txt_Feuchteleit;
    std::string start, lower, upper;  // as typed, decimal comma or point
};

struct FitForm {
    std::vector<SeriesForm> series;
    std::vector<ParameterForm> parameters;
    int starts = 1;
    std::uint32_t seed = 1;
    int iterations = kDefaultIterations;
    std::array<double, kMessgroessenCount> sigma = FitSetup::unsetSigma();
};

// Why a form cannot run; the words are problemText's.
enum class FormProblem : std::uint8_t {
    None,
    NoSeries,
    NoParameter,
    ParameterTwice,      // the same input fitted twice
    NotANumber,          // a start or bound
    BoundsNotOrdered,    // lower bound not below the upper one
    StartOutsideBounds,  // the start not within its bounds
    DryMass,             // a dry mass that is not a number above 0
    Series,              // the measurement does not go with its case (detail: the refusal)
};

struct FitFormCheck {
    FormProblem problem = FormProblem::None;
    int series = -1;     // the series row concerned, or -1
    int parameter = -1;  // the parameter row concerned, or -1
    std::string detail;  // the text that is not a number, or the series' refusal
    bool ok() const { return problem == FormProblem::None; }
};

// The first problem of the form, rows in order: series first, then parameters.
FitFormCheck checkFitForm(const FitForm& form);
// The German sentence for a check that is not ok; empty for one that is.
std::string problemText(const FitFormCheck& check, const FitForm& form);

// The fit the form describes. Only for a form whose check is ok.
FitSetup setupOf(const FitForm& form);

// The series of a measurement file read from `path` whose case is `caseTexts` (from the file
// `casePath`, or the main window's fields when that is empty). A measurement in a climate
// chamber is computed in constant climate whatever the case says. False, with the reader's
// refusal, when the file cannot be read.
bool seriesOfFile(const std::string& path, const InputTexts& caseTexts, const std::string& casePath,
                  SeriesForm& out, FileProblem& problem);

// The start and bounds of a newly fitted input whose value is now `value`: the typical bounds of
// the common material values where the value lies within them, otherwise a factor of five
// either way (or ±1 around 0).
ParameterForm parameterFor(Control field, double value);
// The inputs usually fitted, in the order they are offered.
const std::vector<Control>& typicalFitInputs();

// Opens a fit file: its series with their measurements and cases read, its inputs and
// settings, and the result it keeps if any. False, with the refusal, when the fit file, a
// measurement or a case file cannot be read.
bool openFitForm(const std::string& path, FitForm& form, std::optional<FitOutcome>& outcome,
                 FileProblem& problem);

// Saves the form as the fit file `path` with `outcome` (if given) as its result. Cases taken
// from the main window are written first as case files in the fit file's folder; the form then
// refers to them (and names its series as the file does). `written` receives the case files
// written. The form must be one whose check is ok. False, with the reason, when a file cannot
// be written; the form is then unchanged.
bool saveFitForm(const std::string& path, FitForm& form, const std::optional<FitOutcome>& outcome,
                 std::vector<std::string>& written, FileProblem& problem);

// Everything of the form that a saved fit file holds or that changes what the fit computes: two
// forms with the same key save the same file and compute the same fit.
std::string formKey(const FitForm& form);

}  // namespace tesmo
