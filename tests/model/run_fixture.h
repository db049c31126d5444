// Ports and prepared run states shared by the tests of the drying run.
#pragma once

#include <functional>
#include <memory>

#include "model/first_period.h"
#include "model/inputs.h"
#include "model/null_window_port.h"
#include "model/run_state.h"
#include "model/second_period.h"
#include "model/setup.h"
#include "tests/model/recording_port.h"

namespace tesmo::test {

using NullPort = tesmo::NullWindowPort;

// Records every call and lets a test look at the run state at the moment of a call.
class ProbePort : public RecordingPort {
  public:
    std::function<void()> onPoll;
    std::function<void(const PortCall&)> onCall;

    void poll() override {
        RecordingPort::poll();
        if (onPoll) onPoll();
    }
    void writeGroup(DisplayGroup g) override {
        RecordingPort::writeGroup(g);
        notify();
    }
    void draw(ChartDrawing d) override {
        RecordingPort::draw(d);
        notify();
    }
    void setVisible(Control c, bool v) override {
        RecordingPort::setVisible(c, v);
        notify();
    }
    void repaint(Control c) override {
        RecordingPort::repaint(c);
        notify();
    }

  private:
    void notify() {
        if (onCall) onCall(calls.back());
    }
};

inline PortCall group(DisplayGroup g) {
    return {PortCall::Group, int(g)};
}
inline PortCall drawing(ChartDrawing d) {
    return {PortCall::Draw, int(d)};
}
inline PortCall visible(Control c, bool v) {
    return {PortCall::Visible, int(c), v};
}
inline PortCall repainted(Control c) {
    return {PortCall::Repaint, int(c)};
}

inline InputTexts textsWith(Control field, const char* text) {
    InputTexts t = defaultInputTexts();
    t[field] = text;
    return t;
}

// Set up and prepared for the first step, as a run does it.
inline std::unique_ptr<RunState> preparedRun(const InputTexts& texts = defaultInputTexts()) {
    auto st = std::make_unique<RunState>();
    NullPort port;
    Einrichtung(*st, texts, port);
    ersterAbschnittVorbereiten(*st, port);
    return st;
}

inline std::unique_ptr<RunState> copyOf(const RunState& st) {
    return std::make_unique<RunState>(st);
}

// The default run one step before the end of its first period: step 15399 of 15400 (the
// surface water load turns negative in step 15400, at 7700 s).
inline constexpr int kDefaultFirstPeriodSteps = 15400;
inline const RunState& defaultBeforeFirstPeriodEnd() {
    static const std::unique_ptr<RunState> st = [] {
        auto s = preparedRun();
        NullPort port;
        for (int k = 1; k < kDefaultFirstPeriodSteps; ++k)
            ersterAbschnittSchritt(*s, port);
        return s;
    }();
    return *st;
}

// The default run right after the transition into the second period.
inline const RunState& defaultSecondPeriodStart() {
    static const std::unique_ptr<RunState> st = [] {
        auto s = copyOf(defaultBeforeFirstPeriodEnd());
        NullPort port;
        ersterTrocknungsabschnitt(*s, port);
        uebergang(*s, port);
        return s;
    }();
    return *st;
}

}  // namespace tesmo::test
