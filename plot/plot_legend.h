// The legend of a plot: an entry for every labelled series and guide, with a sample of its
// line and marker. It stands beside the frame in a box, one entry a row, or below the plot in
// rows as wide as the plot (PlotSpec::legendBelow).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <cstdint>
#include <vector>

#include "plot/plot_spec.h"

namespace tesmo {

class PlotLegend {
  public:
    // `font` and `metrics` of the legend's texts; `scale` of the plot; `areaWidth` bounds a
    // label's length.
    PlotLegend(const PlotSpec& spec, const QFont& font, const QFontMetricsF& metrics, double scale,
               double areaWidth);

    bool empty() const { return entries_.empty(); }
    // The width of the box beside the frame.
    double besideWidth() const;
    // Lays the entries out in rows at most `width` wide; returns the rows' height.
    double layOutBelow(double width);

    void drawBeside(QPainter& p, QPointF topLeft) const;
    void drawBelow(QPainter& p, QPointF origin) const;

  private:
    // What the legend shows of a labelled series, guide, bar or interval: its look, without
    // its points.
    enum class Sample : std::uint8_t { Line, Box, Interval };
    struct Entry {
        PlotSeries look;
        int shape = 0;
        Sample sample = Sample::Line;
        Fill fill = Fill::Solid;
    };
    double rowHeight() const;
    double entryWidth(const Entry& e) const;
    QString text(const Entry& e) const;
    void drawEntry(QPainter& p, const Entry& e, double x0, double y, double textRight) const;

    QFont font_;
    QFontMetricsF metrics_;
    double scale_;
    double areaWidth_;
    bool below_;  // in rows below the plot: a label may take a whole row
    std::vector<Entry> entries_;
    std::vector<QPointF> cells_;  // below: each entry's place from the origin
};

}  // namespace tesmo
