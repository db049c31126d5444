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

// A result the study follows: its name in the report, where a case's result holds it, and
// whether it is a duration in s (shown as h:mm:ss) or an energy in kJ/kg.
struct GridQuantity {
    const char* name;
    double CaseResult::*value;
    bool duration;
};
inline constexpr GridQuantity kLaufzeit{"Laufzeit", &CaseResult::Laufzeit, true};
inline constexpr GridQuantity kErsterAbschnitt{"Dauer 1. Abschnitt t1TA", &CaseResult::t1TA, true};
inline constexpr GridQuantity kEnergie{"spezEnergie", &CaseResult::spezEnergie, false};
inline constexpr std::array<GridQuantity, 3> kGridQuantities = {kLaufzeit, kErsterAbschnitt,
                                                                kEnergie};

struct GridLevel {
    std::string dxText, dtText;  // the texts typed into the two fields, mm and s
    double dx = 0, dt = 0;       // the same as numbers
    CaseResult result;
};

// Three levels from coarse to fine; the refined step(s) halve from level to level.
struct GridSeries {
    std::vector<GridLevel> levels;
    bool refinesSpace = false, refinesTime = false;

    RichardsonEstimate estimate(const GridQuantity& q) const;
};

struct GridStudy {
    GridSeries space;  // Δx 0,2 / 0,1 / 0,05 mm at Δt 0,5 s
    GridSeries time;   // Δt 1 / 0,5 / 0,25 s at Δx 0,1 mm
    GridSeries both;   // Δx 0,2 / 0,1 / 0,05 mm with Δt 2 / 0,5 / 0,125 s
};

GridStudy runGridStudy(int threads);

}  // namespace tesmo
