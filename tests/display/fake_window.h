// A WindowBase without a toolkit that keeps what a real window would show and records every
// call in order, for tests of the display groups and the run control.
//
// Every call becomes one line of `trace`: "text txt_Zeit= 0:01:00", "repaint txt_Zeit",
// "show lbl_X1TA", "hide cmd_Pause", "colour txt_Wasserfehler=0,0,192", "focus txt_parkfocus",
// "messages 2", "events", "wait". Set-visible calls that change nothing are recorded as well.
// Tests can act inside the event processing (a click during the model's poll or during a
// pause) through onProcessEvents and onWaitForEvents.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "display/window_base.h"
#include "model/inputs.h"
#include "tests/display/tracing_canvas.h"

namespace tesmo::test {

class FakeWindow : public WindowBase {
  public:
    explicit FakeWindow(RunState& st) : WindowBase(st) {}

    std::vector<std::string> trace;
    std::vector<std::string> messages;
    std::array<std::string, kControlCount> texts{};
    std::array<bool, kControlCount> visible{};
    std::array<Rgb, kControlCount> colours{};
    Control focus = Control::Count;
    TracingCanvas ausgabe, zeit;
    long processed = 0, waited = 0;
    std::function<void()> onProcessEvents, onWaitForEvents;

    // --- WindowPort and WindowBase ---------------------------------------------------------
    void setVisible(Control c, bool v) override {
        visible[at(c)] = v;
        trace.push_back((v ? "show " : "hide ") + name(c));
    }
    void repaint(Control c) override { trace.push_back("repaint " + name(c)); }
    void setText(Control c, std::string_view t) override {
        texts[at(c)] = std::string(t);
        trace.push_back("text " + name(c) + "=" + std::string(t));
    }
    std::string text(Control c) const override { return texts[at(c)]; }
    bool isVisible(Control c) const override { return visible[at(c)]; }
    void setColor(Control c, Rgb rgb) override {
        colours[at(c)] = rgb;
        trace.push_back("colour " + name(c) + "=" + std::to_string(rgb.r) + "," +
                        std::to_string(rgb.g) + "," + std::to_string(rgb.b));
    }
    Rgb colour(Control c) const override { return colours[at(c)]; }
    void setFocus(Control c) override {
        focus = c;
        trace.push_back("focus " + name(c));
    }
    ChartCanvas& canvas(Chart chart) override { return chart == Chart::Ausgabe ? ausgabe : zeit; }
    void processEvents() override {
        ++processed;
        if (recordEvents) trace.push_back("events");
        if (onProcessEvents) onProcessEvents();
    }
    void waitForEvents() override {
        ++waited;
        trace.push_back("wait");
        if (onWaitForEvents) onWaitForEvents();
    }
    void showMessages(const std::vector<std::string>& m) override {
        messages.insert(messages.end(), m.begin(), m.end());
        trace.push_back("messages " + std::to_string(m.size()));
    }

    // Polls are many; record them in the trace only when a test asks.
    bool recordEvents = false;

    // --- helpers -------------------------------------------------------------------------------
    // The window as the program opens it: input fields with the given texts and Start shown.
    void openWith(const InputTexts& inputTexts) {
        for (int i = 0; i < kInputCount; ++i) {
            texts[static_cast<std::size_t>(i)] = inputTexts[controlAt(i)];
            visible[static_cast<std::size_t>(i)] = true;
        }
        visible[at(Control::cmd_Start)] = true;
        visible[at(Control::Image7)] = true;
    }
    const std::string& textOf(Control c) const { return texts[at(c)]; }
    bool shown(Control c) const { return visible[at(c)]; }
    Rgb colourOf(Control c) const { return colours[at(c)]; }
    // The trace entries that begin with `prefix` ("text ", "show ", ...), in order.
    std::vector<std::string> traceOf(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& t : trace)
            if (t.rfind(prefix, 0) == 0) out.push_back(t);
        return out;
    }

    // The trace (or the entries beginning with `prefix`) as one text, entries joined by "; ".
    std::string joined(const std::string& prefix = "") const {
        std::string out;
        for (const auto& t : traceOf(prefix))
            out += (out.empty() ? "" : "; ") + t;
        return out;
    }

    static std::string name(Control c) { return controlName(c); }
    static std::size_t at(Control c) { return static_cast<std::size_t>(index(c)); }
};

}  // namespace tesmo::test
