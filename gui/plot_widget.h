// A plot of the project's plot library on the screen: the widget paints its PlotSpec over its
// whole area and repaints whenever it is given a new one. With a read-out it follows the
// mouse: a crosshair over the frame, and beside it what the position means and, near a curve,
// the values of the curve's point there.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QPixmap>
#include <QWidget>

#include "plot/plot_frame.h"
#include "plot/plot_spec.h"

namespace tesmo::qt {

class PlotWidget : public QWidget {
    Q_OBJECT
  public:
    // What the read-out says of a position in data units, and of a curve's point.
    struct Readout {
        std::function<std::string(double x, double y)> position;
        std::function<std::string(int series, PlotPoint point)> point;
    };
    // A curve point counts as under the mouse within this many pixels.
    static constexpr double kNearPixels = 10;

    explicit PlotWidget(QWidget* parent = nullptr);

    void setSpec(PlotSpec spec);
    const PlotSpec& spec() const { return spec_; }
    // Follow the mouse with a crosshair and this read-out (empty functions: none).
    void setReadout(Readout readout);
    // Where the last painting put the data (in widget pixels).
    const PlotFrame& frame() const { return frame_; }
    // The read-out for the mouse at `pos`: empty outside the frame; else the position's text
    // and, on a second line, the nearest curve point's.
    QString readoutAt(QPointF pos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The read-out under the mouse changed (empty: the mouse left the frame).
    void readoutChanged(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void renderPlot();
    void paintReadout(QPainter& p);
    void moveCursor(std::optional<QPointF> cursor);

    PlotSpec spec_;
    PlotFrame frame_;
    Readout readout_;
    QPixmap plot_;  // the plot at the screen's resolution, drawn once per spec and size
    bool stale_ = true;
    std::optional<QPointF> cursor_;
};

}  // namespace tesmo::qt
