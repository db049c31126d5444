// A chart canvas that passes every drawing on to the surface it wraps and keeps a display list
// of what has been drawn, so that the chart can be drawn again later at any scale, as vectors.
//
// The profile chart receives its curves one by one while the run goes on and keeps none of
// them anywhere else; this list is the only record from which it can be drawn again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "ui/chart_canvas.h"

namespace tesmo {

struct ChartPoint {
    float x, y;  // logical chart coordinates, as drawn
    friend bool operator==(ChartPoint, ChartPoint) = default;
};

// What has been drawn on a chart since it was last wholly covered, in drawing order: polylines
// (line segments of one pen, each starting where the one before ended) and filled boxes.
//
// The points lie in blocks of fixed size, so that a growing list never copies what it holds and
// never holds more than one block beyond what it uses. A list that would grow beyond its bound
// keeps what it has, takes nothing more and counts as incomplete until it is cleared.
class DisplayList {
  public:
    enum class Kind : std::uint8_t { Polyline, Box };
    struct Item {
        Kind kind;
        ChartPen pen;                       // a box: its fill colour
        std::uint32_t block, first, count;  // its points, all in one block; a box: two corners
    };
    static constexpr std::size_t kBlockPoints = std::size_t{1} << 16;

    explicit DisplayList(std::size_t maxPoints);

    const std::vector<Item>& items() const { return items_; }
    std::span<const ChartPoint> points(const Item& item) const;
    std::size_t pointCount() const { return points_; }
    // False once something drawn could not be kept.
    bool complete() const { return complete_; }

    void addSegment(const ChartPen& pen, ChartPoint from, ChartPoint to);
    void addBox(Rgb colour, ChartPoint corner1, ChartPoint corner2);
    // Forget everything and give the memory back.
    void clear();

  private:
    // Room for `n` more points in one block, in a fresh block where the current one is full;
    // false (and incomplete) when that would pass the bound.
    bool makeRoom(std::size_t n);
    void addItem(Kind kind, const ChartPen& pen, ChartPoint a, ChartPoint b);

    std::size_t maxBlocks_;
    std::vector<std::unique_ptr<ChartPoint[]>> blocks_;
    std::size_t used_ = kBlockPoints;  // points used in the last block (none: full)
    std::vector<Item> items_;
    std::size_t points_ = 0;
    bool complete_ = true;
};

class RecordingCanvas : public ChartCanvas {
  public:
    // 2^23 points, 64 MiB: the most curves a run can draw (500 000 steps at 50 steps per curve
    // make 10 000 curves of at most 502 points, 5 million points) fit with room to spare.
    static constexpr std::size_t kMaxPoints = std::size_t{1} << 23;

    RecordingCanvas(ChartCanvas& target, ChartExtent extent, std::size_t maxPoints = kMaxPoints);

    void setLineWidth(int pixels) override;
    void setLineStyle(LineStyle style) override;
    void line(float x1, float y1, float x2, float y2, Rgb colour) override;
    // A box that covers the whole chart hides everything drawn before it: the list starts anew.
    void fillBox(float x1, float y1, float x2, float y2, Rgb colour) override;
    void refresh() override;

    const DisplayList& displayList() const { return list_; }
    ChartExtent extent() const { return extent_; }

  private:
    ChartCanvas& target_;
    ChartExtent extent_;
    ChartPen pen_;
    DisplayList list_;
};

}  // namespace tesmo
