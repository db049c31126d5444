#include "ui/window_base.h"

#include "ui/display_groups.h"
#include "ui/profile_chart.h"
#include "ui/time_chart.h"

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
