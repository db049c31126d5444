// Uncertainty studies (*.tguq): which inputs scatter, how, and what to learn about the results.
//
//   format = tesmo-gegen-uq 1
//   case = versuch12.tgcase                       the base texts from a case file (its path
//   txt_Dicke = 20,0                              relative to this file), and/or NAME = TEXT
//   uncertain txt_Feuchteleit = lognormal 40 ; 8   mean ; standard deviation (input's unit)
//   uncertain txt_mue = uniform 15 : 25            lower : upper bound
//   uncertain txt_AbluftFeuchte = normal 70 ; 3    mean ; standard deviation
//   uncertain txt_KappaSteig = triangular 5 : 6,7 : 8   lower : peak : upper
//   fit = versuch.tgfit                           fitted inputs with their covariance
//   samples = 2000                                number of sampled cases (the budget)
//   design = lhs                                  lhs | sobol | montecarlo
//   seed = 12                                     the same seed draws the same cases
//   indices = auto                                auto | pickfreeze | chaos
//   results = Laufzeit, SchwindGradMax            result columns to analyse
//   limit SchwindGradMax > 8                      probability of exceeding (or < falling below)
//
// The line syntax is that of files/name_text_lines.h. A base line NAME = TEXT keeps its text
// exactly as a case file does (and wins over the case file, wherever it stands). On the other
// lines a comment may follow after a blank and '#', as in the lines above; numbers are written
// as typed, with a decimal comma or point and an optional E exponent. Lines not given keep the
// defaults of UncertaintyFile. Result names are those of the study table's columns; limits are
// in that table's units.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"
#include "model/inputs.h"

namespace tesmo {

inline constexpr const char* kUncertaintyFileSuffix = ".tguq";

enum class DistributionKind : std::uint8_t { LogNormal, Uniform, Normal, Triangular };

// A distribution as a file writes it; the parameters are in the input's own unit.
struct DistributionSpec {
    DistributionKind kind = DistributionKind::Normal;
    // lognormal, normal: mean, standard deviation; uniform: lower, upper bound;
    // triangular: lower bound, peak, upper bound.
    std::array<double, 3> p{};
    bool operator==(const DistributionSpec&) const = default;
};

// One row per distribution: its word, how many numbers follow and what separates them, and the
// form a message shows.
struct DistributionForm {
    DistributionKind kind;
    std::string_view word;
    int count;
    char separator;
    std::string_view form;
};
inline constexpr std::array<DistributionForm, 4> kDistributionForms = {{
    {DistributionKind::LogNormal, "lognormal", 2, ';', "lognormal MITTELWERT ; STANDARDABWEICHUNG"},
    {DistributionKind::Uniform, "uniform", 2, ':', "uniform UNTEN : OBEN"},
    {DistributionKind::Normal, "normal", 2, ';', "normal MITTELWERT ; STANDARDABWEICHUNG"},
    {DistributionKind::Triangular, "triangular", 3, ':', "triangular UNTEN : GIPFEL : OBEN"},
}};
const DistributionForm& distributionForm(DistributionKind kind);

// Reads "lognormal 40 ; 8" and checks its parameters; the problem's kind and detail say what
// is wrong (its path and line are the caller's).
bool parseDistribution(std::string_view text, DistributionSpec& out, FileProblem& problem);
// The parameters' rules: false (and the problem filled) for parameters the distribution cannot
// have, e.g. a standard deviation of 0.
bool checkDistribution(const DistributionSpec& spec, FileProblem& problem);
// "lognormal 40 ; 8": the numbers in their shortest exact form with a decimal comma.
std::string distributionText(const DistributionSpec& spec);

// How the sampled points fill the space of the uncertain inputs.
enum class SampleDesign : std::uint8_t {
    Lhs,         // Latin hypercube: each input's range in equally likely strata, each used once
    Sobol,       // Sobol' low-discrepancy sequence, randomly shifted by the seed
    MonteCarlo,  // independent random points
};
inline constexpr std::array<std::string_view, 3> kDesignWords = {"lhs", "sobol", "montecarlo"};

// How the global sensitivity indices are estimated.
enum class IndexMethod : std::uint8_t {
    Auto,        // pick-freeze when the budget gives enough points per matrix, else chaos
    PickFreeze,  // the cases form a pick-freeze design (Saltelli and Jansen estimators)
    Chaos,       // a polynomial-chaos surrogate fitted to the sampled cases
};
inline constexpr std::array<std::string_view, 3> kIndexWords = {"auto", "pickfreeze", "chaos"};

enum class LimitSide : std::uint8_t { Above, Below };

struct UncertainLine {
    Control field = Control::txt_Dicke;
    DistributionSpec distribution;
    int line = 0;  // where it stands in the file (0 for a study not read from a file)
};

// The probability that `result` lies above (or below) `value`.
struct ResultLimit {
    std::string result;
    LimitSide side = LimitSide::Above;
    double value = 0;
    int line = 0;
};

// The budget of one study: at least enough cases for a statistic, at most what a cluster runs
// in reasonable time (more than kCasesWithoutYes cases still need the runner's --yes).
inline constexpr std::size_t kMinSamples = 10;
inline constexpr std::size_t kMaxSamples = 1'000'000;
inline constexpr std::uint64_t kMaxSeed = 4'294'967'295;  // the generator takes 32 bits

struct UncertaintyFile {
    InputTexts base = defaultInputTexts();
    std::vector<UncertainLine> uncertain;  // each field at most once, in the file's order
    std::string fitPath;                   // a fit file, as written; empty: none
    int fitLine = 0;
    std::size_t samples = 1000;
    SampleDesign design = SampleDesign::Lhs;
    std::uint64_t seed = 1;
    IndexMethod indices = IndexMethod::Auto;
    std::vector<std::string> results = {"Laufzeit"};
    std::vector<ResultLimit> limits;
};

// What a reader needs besides the content.
struct UncertaintyFileRules {
    InputTexts defaults = defaultInputTexts();
    // The names "results" and "limit" lines may use (the study table's result columns).
    std::vector<std::string> resultNames;
    // Reads the case file a "case" line names, as written in the file; null: "case" lines are
    // refused. Fills `texts` (the defaults going in) or the problem.
    std::function<bool(const std::string& path, InputTexts& texts, FileProblem& problem)> readCase;
};

// Reads an uncertainty file's content. On a refusal `out` is left as it was and `problem` says
// why, naming `displayName` and the line (or the case file's).
bool parseUncertaintyFile(std::string_view content, const std::string& displayName,
                          const UncertaintyFileRules& rules, UncertaintyFile& out,
                          FileProblem& problem);
// The same for the file at `path`; a case line's path counts from that file's folder.
bool readUncertaintyFile(const std::string& path, UncertaintyFileRules rules, UncertaintyFile& out,
                         FileProblem& problem);

// The content of an uncertainty file: all seventeen base lines (no case line: the file stands
// alone), the uncertain lines, the fit line if any, then the settings. Refuses what the reader
// would refuse.
bool uncertaintyFileText(const UncertaintyFile& study, std::string& content, FileProblem& problem);
bool writeUncertaintyFile(const std::string& path, const UncertaintyFile& study,
                          FileProblem& problem);

}  // namespace tesmo
