// A drawing surface with its own logical coordinates, as the two charts use it.
//
// pic_Ausgabe spans x 0..10500, y 0..6000; pic_Zeit x 0..10500, y 0..4300; both with the origin
// at the top left and y growing downwards. Coordinates are single precision, as drawn. What is
// drawn stays until it is drawn over; what lies outside is clipped. Line widths are in pixels of
// the window; a width below 1 draws as 1.
#pragma once

#include "display/rgb.h"

namespace tesmo {

enum class Chart { Ausgabe, Zeit };  // pic_Ausgabe (profiles), pic_Zeit (time histories)

// The logical coordinate range of a chart.
struct ChartExtent {
    double width, height;
};
constexpr ChartExtent chartExtent(Chart chart) {
    return {10500.0, chart == Chart::Ausgabe ? 6000.0 : 4300.0};
}

enum class LineStyle { Solid, DashDotDot };

// The pen a line is drawn with.
struct ChartPen {
    Rgb colour;
    int width = 1;  // pixels of the window, at least 1
    LineStyle style = LineStyle::Solid;
    friend bool operator==(const ChartPen&, const ChartPen&) = default;
};

class ChartCanvas {
  public:
    virtual ~ChartCanvas() = default;
    virtual void setLineWidth(int pixels) = 0;
    virtual void setLineStyle(LineStyle style) = 0;
    virtual void line(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    virtual void fillBox(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    // Show what has been drawn, at once.
    virtual void refresh() = 0;
};

}  // namespace tesmo
