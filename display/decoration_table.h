// The window's fixed decorations: texts, pictures, lines and logos that no run changes, and the
// part of the window that belongs to each chart.
//
// Positions are in twips from the client area's top left corner, as in the control table.
// Texts are UTF-8; every fixed text is Arial bold.
#pragma once

#include <span>

#include "display/chart_canvas.h"
#include "display/control_table.h"

namespace tesmo {

// Titles, chart legends, the temperature-scale symbols and the credit lines.
struct FixedText {
    const char* name;
    const char* text;
    Rgb colour;
    double points;
    Twips geometry;
    Rgb background;  // painted only where the text is opaque
    bool opaque;
};

// How a picture writes its text and arrow along its long side. Upright pictures are written
// upwards (read from the bottom), like an axis title on the right of a chart. The arrow points
// away from the text, to the end it is placed at.
enum class PictureArrow { None, AfterText, BeforeText };
struct PictureStyle {
    bool upwards;
    PictureArrow arrow;
};

// The axis pictures: "0", "Rohlingsdicke" with its arrow, "s/2", "laufende Zeit",
// "Temperaturen".
struct FixedPicture {
    const char* name;
    Twips geometry;
    const char* text;
    Rgb colour;
    PictureStyle style;
};

// A black horizontal or vertical line between two points, `width` pixels thick.
struct FixedLine {
    const char* name;
    int x1, y1, x2, y2, width;
};

// The program's emblem; `counterCurrent` is the flat variant with the plate travelling against
// the air.
struct FixedLogo {
    const char* name;
    Twips geometry;
    bool counterCurrent;
};

std::span<const FixedText> fixedTexts();
std::span<const FixedPicture> fixedPictures();
std::span<const FixedLine> fixedLines();
std::span<const FixedLogo> fixedLogos();

// Every picture's font, and the style of Image7, the shrinkage arrow beside the profile chart
// (a control whose visibility the run sets; see the control table).
inline constexpr FontSpec kPictureFont{9.0, true};
inline constexpr PictureStyle kImage7Style{true, PictureArrow::BeforeText};

// The part of the window that shows a chart: its surface with the axis pictures, the legend
// and the scale symbols, without the column of fields and without the dividing lines. A text
// or picture belongs to the chart whose region holds its top left corner.
Twips chartRegion(Chart chart);
bool inChartRegion(Chart chart, const Twips& place);

}  // namespace tesmo
