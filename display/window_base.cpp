#include "display/window_base.h"

#include "display/display_groups.h"
#include "display/profile_chart.h"
#include "display/run_capture.h"
#include "display/time_chart.h"

namespace tesmo {

void WindowBase::writeGroup(DisplayGroup group) {
    writeDisplayGroup(group, *this);
}

void WindowBase::poll() {
    if (capture_) capture_->notePoll(state_);
    processEvents();
}

void WindowBase::draw(ChartDrawing drawing) {
    switch (drawing) {
        case ChartDrawing::ProfileAxes:
            drawProfileAxes(state_, canvas(Chart::Ausgabe));
            break;
        case ChartDrawing::ProfileCurveFirst:
            if (capture_) capture_->noteProfile(state_, false);
            drawProfileCurve(state_, canvas(Chart::Ausgabe), true);
            break;
        case ChartDrawing::ProfileCurveSecond:
            if (capture_) capture_->noteProfile(state_, true);
            drawProfileCurve(state_, canvas(Chart::Ausgabe), false);
            break;
        case ChartDrawing::TimeHistory:
            drawTimeHistory(state_, canvas(Chart::Zeit));
            break;
    }
}

}  // namespace tesmo
