// The numeric diagrams of runs: which curves each diagram shows, over which quantity, in which
// unit and look, as plots of the plot library. The diagram window, the runner's --plot, the
// report and whatever compares runs with measurements draw them from here.
//
// One run: each curve in its own colour and line pattern, so that the diagram reads also in
// black and white. Several runs: one colour per run, the curve told apart by its pattern.
// Times are shown in hours, positions and depths in mm, shrinkage as the plate's physical one
// (it stops at the linear drying shrinkage once the water load is below XSchwEnde).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "display/run_record.h"
#include "plot/plot_data.h"
#include "plot/plot_spec.h"

namespace tesmo {

enum class RunChart : std::uint8_t {
    Wasserbeladung,     // mean, surface and core water load over time
    Temperaturen,       // air, surface and core temperature over time
    Verdunstungsrate,   // evaporation rate over time
    Trocknungsspiegel,  // depth of the drying front over time
    Schwindung,         // linear shrinkage of surface and core over time
    Bigot,              // linear shrinkage over the mean water load
    Profile,            // water-load profiles across the half thickness at the drawn times
    Mollier,            // the air's path through the dryer in the h,x diagram
};

struct RunChartInfo {
    RunChart chart;
    const char* name;      // the diagram's name in lists and titles
    const char* fileStem;  // its files: "wasserbeladung.svg"
};
inline constexpr std::size_t kRunChartCount = 8;
const std::array<RunChartInfo, kRunChartCount>& runCharts();
const RunChartInfo& runChartInfo(RunChart chart);

// One run in a diagram: its record, its name in the legend ("Lauf 2") and the colour it keeps
// in every diagram (an index for seriesColour).
struct ChartRun {
    const RunRecord* record = nullptr;
    std::string label;
    int colour = 0;
};

// The diagram of the runs. Runs that cannot appear in it (no times, no profiles, no air path:
// a file) are named in the note.
PlotSpec runChart(RunChart chart, const std::vector<ChartRun>& runs);

// What a position in the diagram means, for a read-out under the mouse: "Zeit 2,35 h,
// Wasserbeladung 0,1234 kg/kg"; in the h,x diagram the state of the air there (water load,
// temperature, relative humidity, enthalpy).
std::string positionText(RunChart chart, const PlotSpec& spec, double x, double y);
// A point of a curve: its legend text, then positionText of the point.
std::string pointText(RunChart chart, const PlotSpec& spec, int series, PlotPoint point);

// Curves are thinned to at most this many stretches (two points each): more than a diagram
// of a screen's width can show, few enough for small vector files.
inline constexpr std::size_t kCurveBuckets = 700;

}  // namespace tesmo
