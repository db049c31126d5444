#include "plot/plot_legend.h"

#include <algorithm>

#include "plot/plot_look.h"

namespace tesmo {

using namespace look;

PlotLegend::PlotLegend(const PlotSpec& spec, const QFont& font, const QFontMetricsF& metrics,
                       double scale, double areaWidth)
    : font_(font),
      metrics_(metrics),
      scale_(scale),
      areaWidth_(areaWidth),
      below_(spec.legendBelow) {
    for (std::size_t i = 0; i < spec.series.size(); ++i) {
        const PlotSeries& s = spec.series[i];
        if (s.label.empty()) continue;
        Entry e;
        e.look.label = s.label;
        e.look.colour = s.colour;
        e.look.line = s.line;
        e.look.markers = s.markers;
        e.look.dash = s.dash;
        e.look.width = s.width;
        e.shape = markerShape(s, i);
        entries_.push_back(std::move(e));
    }
    for (const PlotBars& b : spec.bars) {
        if (b.label.empty()) continue;
        Entry e;
        e.look.label = b.label;
        e.look.colour = b.colour;
        e.sample = Sample::Box;
        e.fill = b.fill;
        entries_.push_back(std::move(e));
    }
    for (const PlotIntervals& in : spec.intervals) {
        if (in.label.empty()) continue;
        Entry e;
        e.look.label = in.label;
        e.look.colour = in.colour;
        e.sample = Sample::Interval;
        entries_.push_back(std::move(e));
    }
    for (const PlotGuide& g : spec.guides) {
        if (g.label.empty()) continue;
        Entry e;
        e.look.label = g.label;
        e.look.colour = g.colour;
        e.look.dash = g.dash;
        e.look.width = g.width;
        entries_.push_back(std::move(e));
    }
}

double PlotLegend::rowHeight() const {
    return metrics_.height() * 1.35;
}

QString PlotLegend::text(const Entry& e) const {
    // Beside the plot the legend may only take a share of the width; below it, a label has a
    // row of its own when it needs one, so it is cut only where it is wider than the area.
    const double room =
        below_ ? areaWidth_ - (kLegendSample + kSpace) * scale_ : areaWidth_ * kMostLegendShare;
    return metrics_.elidedText(qtext(e.look.label), Qt::ElideRight, room);
}

double PlotLegend::entryWidth(const Entry& e) const {
    return kLegendSample * scale_ + kSpace * scale_ + metrics_.horizontalAdvance(text(e));
}

double PlotLegend::besideWidth() const {
    double widest = 0;
    for (const Entry& e : entries_)
        widest = std::max(widest, metrics_.horizontalAdvance(text(e)));
    return kLegendSample * scale_ + 3 * kSpace * scale_ + widest;
}

double PlotLegend::layOutBelow(double width) {
    cells_.clear();
    const double gap = 3 * kSpace * scale_;
    double x = 0, y = 0;
    for (const Entry& e : entries_) {
        const double w = entryWidth(e);
        if (x > 0 && x + w > width) {
            x = 0;
            y += rowHeight();
        }
        cells_.push_back(QPointF(x, y));
        x += w + gap;
    }
    return y + rowHeight();
}

void PlotLegend::drawEntry(QPainter& p, const Entry& e, double x0, double y,
                           double textRight) const {
    const PlotSeries& s = e.look;
    const double x1 = x0 + kLegendSample * scale_;
    const double sp = kSpace * scale_;
    const double h = rowHeight();
    if (e.sample == Sample::Box) {
        const QColor c = qcolour(s.colour);
        p.setPen(QPen(c, e.fill == Fill::Light ? 1.2 * scale_ : 1.0));
        p.setBrush(e.fill == Fill::Light ? lightTint(c) : c);
        p.drawRect(QRectF(x0 + sp, y - h * 0.3, x1 - x0 - 2 * sp, h * 0.6));
    } else if (e.sample == Sample::Interval) {
        p.setPen(QPen(qcolour(s.colour), kLineWidth * scale_ * 0.8, Qt::SolidLine, Qt::FlatCap));
        const double half = h * 0.3;
        p.drawLine(QPointF(x0 + sp, y), QPointF(x1 - sp, y));
        p.drawLine(QPointF(x0 + sp, y - half), QPointF(x0 + sp, y + half));
        p.drawLine(QPointF(x1 - sp, y - half), QPointF(x1 - sp, y + half));
    } else if (s.line) {
        p.setPen(seriesPen(s, scale_));
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
    }
    if (s.markers) {
        p.setPen(QPen(qcolour(s.colour), 1));
        p.setBrush(qcolour(s.colour));
        drawMarker(p, QPointF((x0 + x1) / 2, y), kMarkerSize * scale_, e.shape);
    }
    p.setPen(frameColour());
    p.drawText(QRectF(x1 + sp, y - h / 2, std::max(0.0, textRight - x1 - sp), h),
               Qt::AlignLeft | Qt::AlignVCenter, text(e));
}

void PlotLegend::drawBelow(QPainter& p, QPointF origin) const {
    p.setFont(font_);
    for (std::size_t i = 0; i < entries_.size() && i < cells_.size(); ++i) {
        const QPointF at = origin + cells_[i];
        drawEntry(p, entries_[i], at.x(), at.y() + rowHeight() / 2,
                  at.x() + entryWidth(entries_[i]) + kSpace * scale_);
    }
}

void PlotLegend::drawBeside(QPainter& p, QPointF topLeft) const {
    const double sp = kSpace * scale_;
    const QRectF box(
        topLeft, QSizeF(besideWidth(), rowHeight() * static_cast<double>(entries_.size()) + sp));
    p.setPen(QPen(gridColour(), 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setFont(font_);
    double y = box.top() + sp / 2 + rowHeight() / 2;
    for (const Entry& e : entries_) {
        drawEntry(p, e, box.left() + sp, y, box.right());
        y += rowHeight();
    }
}

}  // namespace tesmo
