// A window that does nothing: for running the model where nobody looks (benchmarks, tests).
#pragma once

#include "model/window_port.h"

namespace tesmo {

class NullWindowPort : public WindowPort {
  public:
    void poll() override {}
    void writeGroup(DisplayGroup) override {}
    void draw(ChartDrawing) override {}
    void setVisible(Control, bool) override {}
    void repaint(Control) override {}
};

}  // namespace tesmo
