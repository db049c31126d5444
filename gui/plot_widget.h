// A plot of the project's plot library on the screen: the widget paints its PlotSpec over its
// whole area and repaints whenever it is given a new one.
#pragma once

#include <QWidget>

#include "plot/plot_spec.h"

namespace tesmo::qt {

class PlotWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PlotWidget(QWidget* parent = nullptr);

    void setSpec(PlotSpec spec);
    const PlotSpec& spec() const { return spec_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    PlotSpec spec_;
};

}  // namespace tesmo::qt
