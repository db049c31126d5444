// The time-history chart pic_Zeit as drawing operations, drawn once at the end of a run.
#pragma once

#include "display/chart_canvas.h"
#include "model/run_state.h"

namespace tesmo {

// Bands, marker lines and every curve in their order, from the corrected histories.
void drawTimeHistory(const RunState& st, ChartCanvas& canvas);
// White box from (0, 0) to (10530, 4330), done by "Nochmal !".
void clearTimeChart(ChartCanvas& canvas);

}  // namespace tesmo
