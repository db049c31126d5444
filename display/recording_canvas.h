// A chart canvas that passes every drawing on to the surface it wraps and keeps a display list
// of what has been drawn, so that the chart can be drawn again later at any scale, as vectors.
//
// The profile chart receives its curves one by one while the run goes on and keeps none of
// them anywhere else; this list is the only record from which it can be drawn again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "display/chart_canvas.h"

namespace tesmo {

struct ChartPoint {
    float x, y;  // logical chart coordinates, as drawn
    friend bool operator==(ChartPoint, ChartPoint) = default;
};

// What has been drawn on a chart since it was last wholly covered, in drawing order: polylines
// and filled boxes.
//
// A line segment continues a polyline of its pen that ends where the segment starts. It may
// continue any of the last kOpenPolylines polylines, not only the very last item: the time
// chart draws two curves side by side, a segment of one and then of the other (surface and
// core water load, core temperature and evaporation rate), and each curve still becomes one
// polyline. The polylines that come after the one continued are all open ones as well, so only
// curves drawn side by side change their order; a box closes every open polyline, so that no
// segment moves across a box.
//
// A list that would grow beyond its bound of points keeps what it has, takes nothing more and
// counts as incomplete until it is cleared.
class DisplayList {
  public:
    enum class Kind : std::uint8_t { Polyline, Box };
    struct Item {
        Kind kind;
        ChartPen pen;                    // a box: its fill colour
        std::vector<ChartPoint> points;  // a box: two corners
    };
    static constexpr std::size_t kOpenPolylines = 4;

    explicit DisplayList(std::size_t maxPoints) : maxPoints_(maxPoints) {}

    const std::vector<Item>& items() const { return items_; }
    std::size_t pointCount() const { return points_; }
    // False once something drawn could not be kept.
    bool complete() const { return complete_; }

    void addSegment(const ChartPen& pen, ChartPoint from, ChartPoint to);
    void addBox(Rgb colour, ChartPoint corner1, ChartPoint corner2);
    // Forget everything and give the memory back.
    void clear();

  private:
    // Whether `n` more points fit within the bound; marks the list incomplete when not.
    bool admit(std::size_t n);
    void close(std::size_t item);
    void closeAll();

    std::size_t maxPoints_;
    std::vector<Item> items_;
    std::vector<std::size_t> open_;  // indices of the open polylines, oldest first
    std::size_t points_ = 0;
    bool complete_ = true;
};

class RecordingCanvas : public ChartCanvas {
  public:
    // 2^23 points (64 MiB of coordinates): the most curves a run can draw (500 000 steps at 50
    // steps per curve make 10 000 curves of at most 502 points, 5 million points) fit.
    static constexpr std::size_t kMaxPoints = std::size_t{1} << 23;

    RecordingCanvas(ChartCanvas& target, ChartExtent extent, std::size_t maxPoints = kMaxPoints);

    void setLineWidth(int pixels) override;
    void setLineStyle(LineStyle style) override;
    void line(float x1, float y1, float x2, float y2, Rgb colour) override;
    // A box that covers the whole chart hides everything drawn before it: the list starts anew.
    void fillBox(float x1, float y1, float x2, float y2, Rgb colour) override;
    void refresh() override;

    const DisplayList& displayList() const { return list_; }

  private:
    ChartCanvas& target_;
    ChartExtent extent_;
    ChartPen pen_;
    DisplayList list_;
};

}  // namespace tesmo
