#include "display/window_base.h"

#include "display/display_groups.h"
#include "display/profile_chart.h"
#include "display/time_chart.h"

namespace tesmo {

void WindowBase::writeGroup(DisplayGroup group) {
    writeDisplayGroup(group, *this);
}

void WindowBase::draw(ChartDrawing drawing) {
    switch (drawing) {
        case ChartDrawing::ProfileAxes:
            drawProfileAxes(state_, canvas(Chart::Ausgabe));
            break;
        case ChartDrawing::ProfileCurveFirst:
            drawProfileCurve(state_, canvas(Chart::Ausgabe), true);
            break;
        case ChartDrawing::ProfileCurveSecond:
            drawProfileCurve(state_, canvas(Chart::Ausgabe), false);
            break;
        case ChartDrawing::TimeHistory:
            drawTimeHistory(state_, canvas(Chart::Zeit));
            break;
    }
}

}  // namespace tesmo
