#include "gui/plot_widget.h"

#include <QPainter>

#include "plot/plot_painter.h"

namespace tesmo::qt {

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintPlot fills the whole area
}

void PlotWidget::setSpec(PlotSpec spec) {
    spec_ = std::move(spec);
    update();
}

QSize PlotWidget::sizeHint() const {
    return {640, 400};
}

QSize PlotWidget::minimumSizeHint() const {
    return {320, 200};
}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPlot(painter, QRectF(rect()), spec_);
}

}  // namespace tesmo::qt
