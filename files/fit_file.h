// Fit files (*.tgfit): which inputs to fit to which measured drying curves, and the outcome.
//
//   format = tesmo-gegen-fit 1
//   series = versuch1.csv ; versuch1.tgcase          a measurement file and the case it was
//   series = versuch2.csv ; versuch2.tgcase ; trockenmasse_g = 152,3     measured under
//   fit txt_Feuchteleit = 40 ; 5 : 200               start ; lower bound : upper bound
//   fit txt_KappaSteig = 6,7 ; 1 : 15
//   starts = 4                                       starting points (default 1)
//   seed = 1                                         their Latin hypercube's seed (default 1)
//   iterations = 100                                 at most per start (default 100)
//   sigma X = 0,002                                  a quantity's measurement noise in its unit
//                                                    (default: estimated from the residuals)
//   ergebnis txt_Feuchteleit = 41,27 ; log           the outcome, written by the program: the
//   ergebnis txt_KappaSteig = 6,52 ; linear          fitted value and its scale,
//   kovarianz txt_Feuchteleit = 0,0004 ; 1,2e-05     the covariance in those scales, one row
//   kovarianz txt_KappaSteig = 1,2e-05 ; 0,0031      per ergebnis line, in their order
//
// The line syntax is that of files/name_text_lines.h. Paths are relative to the fit file's
// folder unless absolute; a series line may also set the run modes of its case (klima =
// konstant). Numbers take a decimal comma or point. A fit line's field is an input field's
// control name; its bounds must enclose the start. The scale "log" means the covariance is that
// of the natural logarithm of the value (a positive parameter fitted on a logarithmic scale),
// "linear" that of the value itself; a parameter the measurements do not determine has the
// variance "inf" and no covariance with the others (0).
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"
#include "files/measurement_file.h"
#include "model/inputs.h"

namespace tesmo {

inline constexpr const char* kFitFileSuffix = ".tgfit";

// Limits of a fit file's settings.
inline constexpr int kMaxStarts = 1000;
inline constexpr int kMaxIterations = 10000;
inline constexpr int kDefaultIterations = 100;

enum class FitScale : std::uint8_t { Linear, Log };
std::string_view scaleWord(FitScale scale);  // "linear", "log"

// One series line: a measurement file and the case it was measured under.
struct SeriesEntry {
    std::string measurement;  // paths as written
    std::string caseFile;
    double trockenmasse_g = std::numeric_limits<double>::quiet_NaN();  // NaN: not given
    RunOptions optionen{};  // the run modes the line sets, over the case's
    std::array<bool, kRunOptionCount> optionSet{};
    int line = 0;
};

// One fit line: an input fitted between bounds, in the units typed.
struct FitParameterEntry {
    Control field = Control::txt_Feuchteleit;
    double start = 0, lower = 0, upper = 0;
    int line = 0;
};

// What a fit file keeps of a finished fit: the fitted values and, when the fit could estimate
// it, their covariance.
struct FitOutcome {
    std::vector<Control> fields;
    std::vector<double> values;  // in the units typed
    std::vector<FitScale> scales;
    // fields.size()² entries, row after row, each in its row's and column's scale; empty when
    // the file holds none.
    std::vector<double> covariance;

    std::size_t size() const { return fields.size(); }
    bool hasCovariance() const { return !covariance.empty(); }
    double cov(std::size_t i, std::size_t j) const { return covariance[i * fields.size() + j]; }
};

struct FitFile {
    std::vector<SeriesEntry> series;
    std::vector<FitParameterEntry> parameters;
    int starts = 1;
    std::uint32_t seed = 1;
    int iterations = kDefaultIterations;
    // Measurement noise per quantity (kMessgroessen's order), NaN where it is to be estimated.
    std::array<double, kMessgroessenCount> sigma{
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    std::optional<FitOutcome> outcome;
    // The folder relative paths start from: the fit file's (empty: the working folder).
    std::string folder;
};

// A path as written in the file, made usable: relative paths start at the file's folder.
std::string resolvedPath(const FitFile& file, const std::string& written);

// The same fit to be saved as `path`: its relative paths rewritten to start at that file's
// folder (absolute where no relative path leads there), so that the saved file finds the same
// measurement and case files.
FitFile relocated(const FitFile& file, const std::string& path);

// Reads a fit file's content. On a refusal `out` is left as it was and `problem` says why,
// naming `displayName` and the line. The measurement and case files are not read here (see
// files/fit_series.h).
bool parseFitFile(std::string_view content, const std::string& displayName, FitFile& out,
                  FileProblem& problem);
// The same for the file at `path`; `out.folder` becomes its folder.
bool readFitFile(const std::string& path, FitFile& out, FileProblem& problem);

// The content of a fit file: series, fit lines, the settings that are not at their defaults,
// then the outcome if there is one. Refuses what the reader would refuse.
bool fitFileText(const FitFile& file, std::string& content, FileProblem& problem);
bool writeFitFile(const std::string& path, const FitFile& file, FileProblem& problem);

}  // namespace tesmo
