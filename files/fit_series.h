// A measured series: a drying curve from the laboratory together with the case it was measured
// under, ready to be compared with runs of the model.
#pragma once

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "files/file_problem.h"
#include "files/fit_file.h"
#include "files/measurement_file.h"
#include "model/inputs.h"

namespace tesmo {

struct MeasuredSeries {
    std::string name;  // the measurement file as the user named it, for tables
    std::string path;  // where it was read, for messages
    Measurement measurement;
    InputTexts texts;  // the case's seventeen texts and run modes
    double trockenmasse_g = std::numeric_limits<double>::quiet_NaN();  // NaN: not given
};

// What the measurements of a series must agree with: masses need a dry mass; a measured water
// load (or one from a mass) may lie above the case's initial water load by no more than three
// times the measurement noise (`sigma`, NaN where a quantity's typical noise applies). A refusal
// names `where` (the line that gave the series, or nothing) or the measurement's line.
bool checkSeries(const MeasuredSeries& series, const std::array<double, kMessgroessenCount>& sigma,
                 const FileProblem& where, FileProblem& problem);

// Reads the measurement file and the case of one series line of `file` and checks them.
bool loadSeries(const FitFile& file, const SeriesEntry& entry, const std::string& fitFileName,
                MeasuredSeries& out, FileProblem& problem);
// Every series of the file, in its order.
bool loadAllSeries(const FitFile& file, const std::string& fitFileName,
                   std::vector<MeasuredSeries>& out, FileProblem& problem);

// The water load a measured value stands for: X as it is, a mass through the dry mass.
double waterLoadOf(const MeasuredSeries& series, Messgroesse g, double value);

}  // namespace tesmo
