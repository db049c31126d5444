// How a plot looks on a QPainter: sizes at the plot's usual scale, fonts, colours, the pens of
// its lines and the shapes of its markers, shared by the plot and its legend.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QString>
#include <cstddef>
#include <string>

#include "plot/plot_data.h"
#include "plot/plot_spec.h"

namespace tesmo::look {

// Sizes in pixels at scale 1, which fits an area of about 640 × 400 pixels.
inline constexpr double kReferenceWidth = 640, kReferenceHeight = 400;
inline constexpr double kMinScale = 0.75, kMaxScale = 2.0;
inline constexpr double kTitlePx = 16, kAxisTitlePx = 14, kTickPx = 13, kNotePx = 12;
inline constexpr double kMargin = 10;             // around everything
inline constexpr double kSpace = 5;               // between a label and what it labels
inline constexpr double kTickLength = 5;          // outwards from the frame
inline constexpr double kLineWidth = 1.6;         // series lines
inline constexpr double kMarkerSize = 7;          // across a marker
inline constexpr double kLegendSample = 28;       // length of the line sample in the legend
inline constexpr double kMostLegendShare = 0.35;  // of the area's width; longer labels shortened
inline constexpr double kSmallestFrame = 10;      // pixels; a smaller frame is not drawn at all

QColor frameColour();
QColor gridColour();
QColor minorGridColour();
QColor noteColour();

QColor qcolour(Rgb c);
// The light tint of a colour that fills a bar of Fill::Light.
QColor lightTint(const QColor& c);
QString qtext(const std::string& s);
QPointF qpoint(PlotPoint p);
QFont font(double px, double scale, bool bold = false, bool italic = false);

// Filled marker of shape `shape` (circle, square, triangle, diamond, triangle down) at c.
void drawMarker(QPainter& p, QPointF c, double size, int shape);
// The pen of a series' line at the plot's scale: its colour, width and dash pattern.
QPen seriesPen(const PlotSeries& s, double scale);
// The marker shape of the series at `position` in the plot.
int markerShape(const PlotSeries& s, std::size_t position);

}  // namespace tesmo::look
