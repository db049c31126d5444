#include "plot/plot_painter.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "plot/axis_scale.h"
#include "plot/plot_data.h"
#include "plot/plot_legend.h"
#include "plot/plot_look.h"

namespace tesmo {

namespace {

using namespace look;

constexpr const char* kNothingShown = "keine darstellbaren Werte";

class PlotPainter {
  public:
    PlotPainter(QPainter& p, const QRectF& area, const PlotSpec& spec)
        : p_(p),
          area_(area),
          spec_(spec),
          scale_(
              std::clamp(std::min(area.width() / kReferenceWidth, area.height() / kReferenceHeight),
                         kMinScale, kMaxScale)),
          titleFont_(font(kTitlePx, scale_, true)),
          axisFont_(font(kAxisTitlePx, scale_)),
          tickFont_(font(kTickPx, scale_)),
          noteFont_(font(kNotePx, scale_, false, true)),
          tickMetrics_(tickFont_, p.device()),
          legend_(spec, tickFont_, tickMetrics_, scale_, area.width()) {}

    PlotFrame paint() {
        p_.fillRect(area_, Qt::white);
        layOut();
        PlotFrame frame;
        // An area too small for the texts (a widget while it is resized) stays empty.
        if (!(plot_.width() >= kSmallestFrame && plot_.height() >= kSmallestFrame)) return frame;
        drawGrid();
        drawBars();
        drawGuides();
        drawSeries();
        drawIntervals();
        drawFrameAndTicks();
        drawPlacedTexts();
        drawTexts();
        drawLegend();
        frame.drawn = true;
        frame.box = box();
        frame.x = xAxis_;
        frame.y = yAxis_;
        return frame;
    }

  private:
    double sp() const { return kSpace * scale_; }
    QFontMetricsF metrics(const QFont& f) const { return QFontMetricsF(f, p_.device()); }

    void layOut() {
        const double margin = kMargin * scale_;
        const QFontMetricsF axisM = metrics(axisFont_);
        const double lineHeight = tickMetrics_.height();

        double top = area_.top() + margin;
        if (!spec_.title.empty()) top += metrics(titleFont_).height() + sp();
        top += lineHeight / 2;  // the top y label reaches above the frame

        double bottom = area_.bottom() - margin;
        if (!spec_.note.empty()) {
            noteRect_ = metrics(noteFont_).boundingRect(
                QRectF(0, 0, area_.width() - 2 * margin, area_.height()), Qt::TextWordWrap,
                qtext(spec_.note));
            bottom -= noteRect_.height() + sp();
            noteRect_.moveTopLeft(QPointF(area_.left() + margin, bottom + sp()));
        }
        const bool legendBeside = !legend_.empty() && !spec_.legendBelow;
        if (!legend_.empty() && spec_.legendBelow) {
            bottom -= legend_.layOutBelow(area_.width() - 2 * margin) + sp();
            legendOrigin_ = QPointF(area_.left() + margin, bottom + sp());
        }
        if (!spec_.xTitle.empty()) bottom -= axisM.height() + sp();
        bottom -= lineHeight + kTickLength * scale_ + sp();

        DataRanges data = shownRanges(spec_);
        empty_ = data.x.empty();
        for (const PlotGuide& g : spec_.guides)
            if (showable(g.at, g.vertical ? spec_.logX : spec_.logY))
                (g.vertical ? data.x : data.y).include(g.at);
        if (spec_.xLimits.set()) data.x = {spec_.xLimits.min, spec_.xLimits.max};
        if (spec_.yLimits.set()) data.y = {spec_.yLimits.min, spec_.yLimits.max};
        const auto height = [&](const std::string&) { return lineHeight; };
        yAxis_ = spec_.yLabels.empty() ? chooseAxis(data.y.min, data.y.max, spec_.logY,
                                                    bottom - top, height, lineHeight)
                                       : labelledAxis(data.y.min, data.y.max, spec_.yLabels);
        double yLabelWidth = 0;
        for (const AxisTick& t : yAxis_.ticks)
            yLabelWidth = std::max(yLabelWidth, tickMetrics_.horizontalAdvance(qtext(t.label)));

        double left = area_.left() + margin + yLabelWidth + kTickLength * scale_ + sp();
        if (!spec_.yTitle.empty()) left += axisM.height() + sp();

        double right = area_.right() - margin;
        if (legendBeside) right -= legend_.besideWidth() + 2 * sp();

        const auto width = [&](const std::string& s) {
            return tickMetrics_.horizontalAdvance(qtext(s));
        };
        const double gap = tickMetrics_.horizontalAdvance(QStringLiteral("MM"));
        // The outermost x labels are centred on the frame's corners: make room for their halves.
        for (int pass = 0; pass < 2; ++pass) {
            xAxis_ = spec_.xLabels.empty()
                         ? chooseAxis(data.x.min, data.x.max, spec_.logX, right - left, width, gap)
                         : labelledAxis(data.x.min, data.x.max, spec_.xLabels);
            if (xAxis_.ticks.empty()) break;
            const double firstHalf = width(xAxis_.ticks.front().label) / 2;
            const double lastHalf = width(xAxis_.ticks.back().label) / 2;
            left = std::max(left, area_.left() + margin + firstHalf);
            if (!legendBeside) right = std::min(right, area_.right() - margin - lastHalf);
        }
        plot_ = QRectF(QPointF(left, top), QPointF(right, bottom));
    }

    QPointF at(double x, double y) const {
        return {plot_.left() + xAxis_.fraction(x) * plot_.width(),
                plot_.bottom() - yAxis_.fraction(y) * plot_.height()};
    }
    double atX(double x) const { return plot_.left() + xAxis_.fraction(x) * plot_.width(); }
    double atY(double y) const { return plot_.bottom() - yAxis_.fraction(y) * plot_.height(); }
    PlotBox box() const { return {plot_.left(), plot_.top(), plot_.right(), plot_.bottom()}; }

    void drawGrid() {
        p_.setBrush(Qt::NoBrush);
        p_.setPen(QPen(minorGridColour(), 1));
        for (double v : xAxis_.minor)
            p_.drawLine(QPointF(atX(v), plot_.top()), QPointF(atX(v), plot_.bottom()));
        for (double v : yAxis_.minor)
            p_.drawLine(QPointF(plot_.left(), atY(v)), QPointF(plot_.right(), atY(v)));
        p_.setPen(QPen(gridColour(), 1));
        if (spec_.xGrid)
            for (const AxisTick& t : xAxis_.ticks)
                p_.drawLine(QPointF(atX(t.value), plot_.top()),
                            QPointF(atX(t.value), plot_.bottom()));
        if (spec_.yGrid)
            for (const AxisTick& t : yAxis_.ticks)
                p_.drawLine(QPointF(plot_.left(), atY(t.value)),
                            QPointF(plot_.right(), atY(t.value)));
    }

    // Guides span the frame; one outside the axis' range is not drawn.
    void drawGuides() {
        p_.setBrush(Qt::NoBrush);
        for (const PlotGuide& g : spec_.guides) {
            if (!showable(g.at, g.vertical ? spec_.logX : spec_.logY)) continue;
            PlotSeries look;
            look.colour = g.colour;
            look.dash = g.dash;
            look.width = g.width;
            p_.setPen(seriesPen(look, scale_));
            if (g.vertical) {
                const double x = atX(g.at);
                if (x >= plot_.left() && x <= plot_.right())
                    p_.drawLine(QPointF(x, plot_.top()), QPointF(x, plot_.bottom()));
            } else {
                const double y = atY(g.at);
                if (y >= plot_.top() && y <= plot_.bottom())
                    p_.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
            }
        }
    }

    // The bars cut to the frame. A solid bar has a thin white edge, so that the bins of a
    // histogram stay apart; a light one an edge in its full colour.
    void drawBars() {
        for (const PlotBars& bars : spec_.bars) {
            const QColor colour = qcolour(bars.colour);
            const bool light = bars.fill == Fill::Light;
            p_.setBrush(light ? lightTint(colour) : colour);
            p_.setPen(QPen(light ? colour : QColor(Qt::white), light ? 1.2 * scale_ : 1.0));
            for (const DataBox& b : shownBars(bars, spec_.logX, spec_.logY)) {
                const QRectF r = QRectF(at(b.x0, b.y0), at(b.x1, b.y1)).normalized() & plot_;
                if (!r.isEmpty()) p_.drawRect(r);
            }
        }
    }

    // Each interval a line with a short bar across either end, cut to the frame.
    void drawIntervals() {
        p_.setBrush(Qt::NoBrush);
        const PlotBox frame = box();
        for (const PlotIntervals& in : spec_.intervals) {
            p_.setPen(
                QPen(qcolour(in.colour), kLineWidth * scale_ * 0.8, Qt::SolidLine, Qt::FlatCap));
            const double half = in.cap * scale_ / 2;
            for (const DataBox& b : shownIntervals(in, spec_.logX, spec_.logY)) {
                const QPointF a = at(b.x0, b.y0), z = at(b.x1, b.y1);
                const QPointF across = in.horizontal ? QPointF(0, half) : QPointF(half, 0);
                for (const auto& part : clipToBox({{a.x(), a.y()}, {z.x(), z.y()}}, frame))
                    if (part.size() == 2) p_.drawLine(qpoint(part[0]), qpoint(part[1]));
                for (const QPointF& end : {a, z})
                    if (plot_.contains(end)) p_.drawLine(end - across, end + across);
            }
        }
    }

    // Every series cut to the frame: the data may reach beyond axes of a fixed range.
    void drawSeries() {
        const PlotBox frame = box();
        for (std::size_t i = 0; i < spec_.series.size(); ++i) {
            const PlotSeries& s = spec_.series[i];
            std::vector<std::vector<PlotPoint>> parts;
            for (const auto& run : shownRuns(s, spec_.logX, spec_.logY)) {
                std::vector<PlotPoint> pixels;
                pixels.reserve(run.size());
                for (const PlotPoint& pt : run)
                    pixels.push_back({atX(pt.x), atY(pt.y)});
                for (auto& part : clipToBox(pixels, frame))
                    parts.push_back(std::move(part));
            }
            if (s.line) {
                p_.setPen(seriesPen(s, scale_));
                p_.setBrush(Qt::NoBrush);
                for (const auto& part : parts) {
                    if (part.size() < 2) continue;
                    QPolygonF poly;
                    poly.reserve(static_cast<qsizetype>(part.size()));
                    for (const PlotPoint& pt : part)
                        poly << qpoint(pt);
                    p_.drawPolyline(poly);
                }
            }
            if (s.markers) drawMarkers(s, i, parts);
        }
    }

    // The markers of a series along its drawn parts; on a line with a marker spacing only
    // where the line has come that far from the last marker.
    void drawMarkers(const PlotSeries& s, std::size_t position,
                     const std::vector<std::vector<PlotPoint>>& parts) {
        p_.setPen(QPen(qcolour(s.colour), 1));
        p_.setBrush(qcolour(s.colour));
        const double spacing = s.line ? s.markerSpacing * scale_ : 0;
        const int shape = markerShape(s, position);
        for (const auto& part : parts) {
            double travelled = spacing;  // a part starts with a marker
            for (std::size_t k = 0; k < part.size(); ++k) {
                if (k > 0)
                    travelled += std::hypot(part[k].x - part[k - 1].x, part[k].y - part[k - 1].y);
                if (travelled < spacing) continue;
                drawMarker(p_, qpoint(part[k]), kMarkerSize * scale_, shape);
                travelled = 0;
            }
        }
    }

    // The texts placed at data points, where the point lies inside the frame.
    void drawPlacedTexts() {
        if (spec_.texts.empty()) return;
        const QFont textFont = font(kNotePx, scale_);
        p_.setFont(textFont);
        const QFontMetricsF plain = metrics(textFont);
        for (const PlotText& t : spec_.texts) {
            if (!showable(t.x, spec_.logX) || !showable(t.y, spec_.logY)) continue;
            const QPointF at(atX(t.x), atY(t.y));
            if (!plot_.contains(at)) continue;
            const QString text = qtext(t.text);
            const double w = plain.horizontalAdvance(text), h = plain.height();
            QRectF where(at.x() + sp() / 2, at.y() - h / 2, w, h);
            if (t.side == PlotText::Side::Left) where.moveRight(at.x() - sp() / 2);
            if (t.side == PlotText::Side::Above)
                where.moveCenter(QPointF(at.x(), at.y() - h / 2 - sp() / 2));
            if (t.side == PlotText::Side::AboveLeft) {
                where.moveRight(at.x() - sp() / 2);
                where.moveBottom(at.y() - sp() / 4);
            }
            p_.setPen(qcolour(t.colour));
            p_.drawText(where, Qt::AlignCenter, text);
        }
    }

    void drawFrameAndTicks() {
        p_.setPen(QPen(frameColour(), 1));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(plot_);
        const double tick = kTickLength * scale_;
        for (const AxisTick& t : xAxis_.ticks)
            p_.drawLine(QPointF(atX(t.value), plot_.bottom()),
                        QPointF(atX(t.value), plot_.bottom() + tick));
        for (const AxisTick& t : yAxis_.ticks)
            p_.drawLine(QPointF(plot_.left() - tick, atY(t.value)),
                        QPointF(plot_.left(), atY(t.value)));

        p_.setFont(tickFont_);
        const double h = tickMetrics_.height();
        const double labelTop = plot_.bottom() + tick + sp() / 2;
        for (const AxisTick& t : xAxis_.ticks) {
            const double w = tickMetrics_.horizontalAdvance(qtext(t.label));
            p_.drawText(QRectF(atX(t.value) - w / 2, labelTop, w, h), Qt::AlignCenter,
                        qtext(t.label));
        }
        const double labelRight = plot_.left() - tick - sp() / 2;
        for (const AxisTick& t : yAxis_.ticks) {
            const double w = tickMetrics_.horizontalAdvance(qtext(t.label));
            p_.drawText(QRectF(labelRight - w, atY(t.value) - h / 2, w, h),
                        Qt::AlignRight | Qt::AlignVCenter, qtext(t.label));
        }
    }

    void drawTexts() {
        p_.setPen(frameColour());
        const double margin = kMargin * scale_;
        if (!spec_.title.empty()) {
            p_.setFont(titleFont_);
            const QFontMetricsF m = metrics(titleFont_);
            p_.drawText(
                QRectF(area_.left() + margin, area_.top() + margin, area_.width() - 2 * margin,
                       m.height()),
                Qt::AlignCenter,
                m.elidedText(qtext(spec_.title), Qt::ElideRight, area_.width() - 2 * margin));
        }
        p_.setFont(axisFont_);
        const QFontMetricsF am = metrics(axisFont_);
        if (!spec_.xTitle.empty()) {
            const double y =
                plot_.bottom() + kTickLength * scale_ + sp() / 2 + tickMetrics_.height() + sp();
            p_.drawText(QRectF(plot_.left(), y, plot_.width(), am.height()), Qt::AlignCenter,
                        am.elidedText(qtext(spec_.xTitle), Qt::ElideRight, plot_.width()));
        }
        if (!spec_.yTitle.empty()) {
            p_.save();
            p_.translate(area_.left() + margin, plot_.center().y());
            p_.rotate(-90);
            p_.drawText(QRectF(-plot_.height() / 2, 0, plot_.height(), am.height()),
                        Qt::AlignCenter,
                        am.elidedText(qtext(spec_.yTitle), Qt::ElideRight, plot_.height()));
            p_.restore();
        }
        if (!spec_.note.empty()) {
            p_.setFont(noteFont_);
            p_.setPen(noteColour());
            p_.drawText(noteRect_, Qt::TextWordWrap, qtext(spec_.note));
        }
        if (empty_) {
            p_.setFont(tickFont_);
            p_.setPen(noteColour());
            p_.drawText(plot_, Qt::AlignCenter, QString::fromUtf8(kNothingShown));
        }
    }

    void drawLegend() {
        if (legend_.empty()) return;
        if (spec_.legendBelow) {
            legend_.drawBelow(p_, legendOrigin_);
        } else {
            legend_.drawBeside(p_, QPointF(plot_.right() + 2 * sp(), plot_.top()));
        }
    }

    QPainter& p_;
    QRectF area_;
    const PlotSpec& spec_;
    double scale_;
    QFont titleFont_, axisFont_, tickFont_, noteFont_;
    QFontMetricsF tickMetrics_;
    AxisScale xAxis_, yAxis_;
    QRectF plot_, noteRect_;
    PlotLegend legend_;
    QPointF legendOrigin_;  // legend below: the top left corner of its rows
    bool empty_ = false;
};

}  // namespace

PlotFrame paintPlot(QPainter& painter, const QRectF& area, const PlotSpec& spec) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const PlotFrame frame = PlotPainter(painter, area, spec).paint();
    painter.restore();
    return frame;
}

}  // namespace tesmo
