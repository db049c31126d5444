// The profile chart pic_Ausgabe as drawing operations: the shrinkage scale with the
// shrinkage-end line, and one water-load profile curve across the half thickness.
#pragma once

#include "display/chart_canvas.h"
#include "model/run_state.h"

namespace tesmo {

// Blue whole- and half-percent shrinkage marks on both edges and the shrinkage-end line, then a
// refresh. Writes the run state's sTick and XTick as it goes.
void drawProfileAxes(RunState& st, ChartCanvas& canvas);
// The current profile XKnoten(0..nOrt+1). A first-period curve is black (red and three pixels
// wide once Zustand1 = Beendet) and ends with width 1 and a refresh; a second-period curve is
// black segments only.
void drawProfileCurve(const RunState& st, ChartCanvas& canvas, bool firstPeriod);
// White boxes that clear the chart: at Start the top 5000 units, by "Nochmal !" all of it.
void clearProfileChartAtStart(ChartCanvas& canvas);
void clearProfileChartAll(ChartCanvas& canvas);

// y of a water load on the profile chart: XAnf at the top (0), dry at the bottom (6000).
double yAusX(const RunState& st, double X);

// A straight line computed in double precision, handed to the canvas in single precision.
// Both charts draw every line through here. An end point that is not a finite number (a scale
// without a range) drops the line; a line reaching far beyond the chart is cut to a box of
// +-1e6 units along its own direction, so that single precision never overflows while the
// visible part stays exactly where it was. Returns whether anything was drawn.
bool chartLine(ChartCanvas& canvas, double x1, double y1, double x2, double y2, Rgb colour);

}  // namespace tesmo
