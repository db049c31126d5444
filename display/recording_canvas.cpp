#include "display/recording_canvas.h"

#include <algorithm>

namespace tesmo {

bool DisplayList::admit(std::size_t n) {
    if (complete_ && points_ + n <= maxPoints_) {
        points_ += n;
        return true;
    }
    complete_ = false;
    return false;
}

void DisplayList::close(std::size_t item) {
    items_[item].points.shrink_to_fit();
}

void DisplayList::closeAll() {
    for (std::size_t item : open_)
        close(item);
    open_.clear();
}

void DisplayList::addSegment(const ChartPen& pen, ChartPoint from, ChartPoint to) {
    if (!complete_) return;
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
        Item& polyline = items_[*it];
        if (polyline.pen == pen && polyline.points.back() == from) {
            if (admit(1)) polyline.points.push_back(to);
            return;
        }
    }
    if (!admit(2)) return;
    items_.push_back({Kind::Polyline, pen, {from, to}});
    if (open_.size() == kOpenPolylines) {
        close(open_.front());
        open_.erase(open_.begin());
    }
    open_.push_back(items_.size() - 1);
}

void DisplayList::addBox(Rgb colour, ChartPoint corner1, ChartPoint corner2) {
    closeAll();
    if (admit(2)) items_.push_back({Kind::Box, ChartPen{colour}, {corner1, corner2}});
}

void DisplayList::clear() {
    std::vector<Item>().swap(items_);
    open_.clear();
    points_ = 0;
    complete_ = true;
}

RecordingCanvas::RecordingCanvas(ChartCanvas& target, ChartExtent extent, std::size_t maxPoints)
    : target_(target), extent_(extent), list_(maxPoints) {}

void RecordingCanvas::setLineWidth(int pixels) {
    target_.setLineWidth(pixels);
    pen_.width = std::max(pixels, 1);
}

void RecordingCanvas::setLineStyle(LineStyle style) {
    target_.setLineStyle(style);
    pen_.style = style;
}

void RecordingCanvas::line(float x1, float y1, float x2, float y2, Rgb colour) {
    target_.line(x1, y1, x2, y2, colour);
    pen_.colour = colour;
    list_.addSegment(pen_, {x1, y1}, {x2, y2});
}

void RecordingCanvas::fillBox(float x1, float y1, float x2, float y2, Rgb colour) {
    target_.fillBox(x1, y1, x2, y2, colour);
    const bool coversAll = std::min(x1, x2) <= 0.0f && std::min(y1, y2) <= 0.0f &&
                           std::max(x1, x2) >= extent_.width && std::max(y1, y2) >= extent_.height;
    if (coversAll) list_.clear();
    list_.addBox(colour, {x1, y1}, {x2, y2});
}

void RecordingCanvas::refresh() {
    target_.refresh();
}

}  // namespace tesmo
