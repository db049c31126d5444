// A WindowPort that records every call, for tests of the model's calls into the window.
#pragma once

#include <string>
#include <vector>

#include "model/window_port.h"

namespace tesmo::test {

struct PortCall {
    enum Kind { Poll, Group, Draw, Visible, Repaint } kind;
    int what = 0;  // the DisplayGroup, ChartDrawing or Control as an int
    bool visible = false;
    friend bool operator==(const PortCall&, const PortCall&) = default;
};

class RecordingPort : public WindowPort {
  public:
    std::vector<PortCall> calls;
    bool recordPolls = false;  // polls are many; record them only when a test asks
    long polls = 0;

    void poll() override {
        ++polls;
        if (recordPolls) calls.push_back({PortCall::Poll});
    }
    void writeGroup(DisplayGroup g) override { calls.push_back({PortCall::Group, int(g)}); }
    void draw(ChartDrawing d) override { calls.push_back({PortCall::Draw, int(d)}); }
    void setVisible(Control c, bool v) override { calls.push_back({PortCall::Visible, int(c), v}); }
    void repaint(Control c) override { calls.push_back({PortCall::Repaint, int(c)}); }

    long count(PortCall::Kind k, int what) const {
        long n = 0;
        for (const auto& c : calls)
            n += (c.kind == k && c.what == what);
        return n;
    }
};

}  // namespace tesmo::test
