// Grid convergence of the default case: the drying time, the duration of the first period and
// the specific energy demand for three space steps, three time steps, and both refined
// together at a constant κ·Δt/Δx².
#pragma once

#include <array>
#include <string>
#include <vector>

#include "verify/case_runs.h"
#include "verify/convergence.h"

namespace tesmo {

// A result the study follows: its name in the report, where a case's result holds it, how it
// is shown (a duration in s as h:mm:ss, or a number with its unit and decimals).
struct GridQuantity {
    const char* name;
    double CaseResult::*value;
    bool duration;
    const char* unit = "";
    int decimals = 1;
};
inline constexpr GridQuantity kLaufzeit{"Laufzeit", &CaseResult::Laufzeit, true};
inline constexpr GridQuantity kErsterAbschnitt{"Dauer 1. Abschnitt t1TA", &CaseResult::t1TA, true};
inline constexpr GridQuantity kEnergie{"spezEnergie", &CaseResult::spezEnergie, false, "kJ/kg", 1};
inline constexpr std::array<GridQuantity, 3> kGridQuantities = {kLaufzeit, kErsterAbschnitt,
                                                                kEnergie};
// The indicators of the risk of cracks: the steepest shrinkage gradient at the surface, the
// surface–core shrinkage difference at that moment, and the ends of surface and core shrinkage.
inline constexpr std::array<GridQuantity, 4> kCrackQuantities = {{
    {"max. Schwindungsgradient", &CaseResult::SchwindGradMax, false, "% pro mm", 3},
    {"Schwindungsdifferenz", &CaseResult::SchwindDiffMax, false, "%", 3},
    {"Ende Oberflächenschwindung t1xse", &CaseResult::t1xse, true},
    {"Ende Kernschwindung t2xse", &CaseResult::t2xse, true},
}};

struct GridLevel {
    std::string dxText, dtText;  // the texts typed into the two fields, mm and s
    double dx = 0, dt = 0;       // the same as numbers
    CaseResult result;
};

// Three levels from coarse to fine; the refined step(s) halve from level to level.
struct GridSeries {
    std::vector<GridLevel> levels;
    bool refinesSpace = false, refinesTime = false;
    Luftbilanz luftbilanz = Luftbilanz::Standard;

    RichardsonEstimate estimate(const GridQuantity& q) const;
};

struct GridStudy {
    GridSeries space;  // Δx 0,2 / 0,1 / 0,05 mm at Δt 0,5 s
    GridSeries time;   // Δt 1 / 0,5 / 0,25 s at Δx 0,1 mm
    GridSeries both;   // Δx 0,2 / 0,1 / 0,05 mm with Δt 2 / 0,5 / 0,125 s
    // The same joint refinement with the corrected air balance of the second period.
    GridSeries bothKorrigiert;
};

GridStudy runGridStudy(int threads);

}  // namespace tesmo
