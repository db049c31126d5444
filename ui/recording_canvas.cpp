#include "ui/recording_canvas.h"

#include <algorithm>

namespace tesmo {

DisplayList::DisplayList(std::size_t maxPoints)
    : maxBlocks_((maxPoints + kBlockPoints - 1) / kBlockPoints) {}

std::span<const ChartPoint> DisplayList::points(const Item& item) const {
    return {blocks_[item.block].get() + item.first, item.count};
}

bool DisplayList::makeRoom(std::size_t n) {
    if (!complete_) return false;
    if (used_ + n <= kBlockPoints) return true;
    if (blocks_.size() >= maxBlocks_) {
        complete_ = false;
        return false;
    }
    blocks_.push_back(std::make_unique<ChartPoint[]>(kBlockPoints));
    used_ = 0;
    return true;
}

void DisplayList::addItem(Kind kind, const ChartPen& pen, ChartPoint a, ChartPoint b) {
    if (!makeRoom(2)) return;
    ChartPoint* p = blocks_.back().get() + used_;
    p[0] = a;
    p[1] = b;
    items_.push_back({kind, pen, static_cast<std::uint32_t>(blocks_.size() - 1),
                      static_cast<std::uint32_t>(used_), 2});
    used_ += 2;
    points_ += 2;
}

void DisplayList::addSegment(const ChartPen& pen, ChartPoint from, ChartPoint to) {
    if (!complete_) return;
    // The last item always ends at the last used point of the last block; a segment of the
    // same pen that starts where it ended continues it while the block has room.
    if (!items_.empty() && used_ < kBlockPoints) {
        Item& last = items_.back();
        if (last.kind == Kind::Polyline && last.pen == pen &&
            blocks_[last.block][last.first + last.count - 1] == from) {
            blocks_.back()[used_++] = to;
            ++last.count;
            ++points_;
            return;
        }
    }
    addItem(Kind::Polyline, pen, from, to);
}

void DisplayList::addBox(Rgb colour, ChartPoint corner1, ChartPoint corner2) {
    addItem(Kind::Box, ChartPen{colour}, corner1, corner2);
}

void DisplayList::clear() {
    std::vector<Item>().swap(items_);
    blocks_.clear();
    blocks_.shrink_to_fit();
    used_ = kBlockPoints;
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
