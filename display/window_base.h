// The window as the model and the run control see it, independent of any toolkit.
//
// WindowBase implements the model's WindowPort on top of a handful of primitive control
// operations. The display groups and the chart drawings are written once, here in ui/, so the
// Qt window and the headless runner show the same texts and draw the same lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "display/chart_canvas.h"
#include "display/rgb.h"
#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

class DisplayList;
class RunCapture;

class WindowBase : public WindowPort {
  public:
    explicit WindowBase(RunState& state) : state_(state) {}

    // --- WindowPort ------------------------------------------------------------------------
    void poll() override;
    void writeGroup(DisplayGroup group) override;
    void draw(ChartDrawing drawing) override;
    // setVisible and repaint stay for the toolkit to provide.

    // --- primitives a toolkit provides ------------------------------------------------------
    virtual void setText(Control control, std::string_view text) = 0;
    virtual std::string text(Control control) const = 0;
    virtual bool isVisible(Control control) const = 0;
    virtual void setColor(Control control, Rgb colour) = 0;
    virtual Rgb colour(Control control) const = 0;
    virtual void setFocus(Control control) = 0;
    virtual ChartCanvas& canvas(Chart chart) = 0;
    // What has been drawn on a chart since it was last cleared, where the window keeps it
    // (see RecordingCanvas); nullptr where it does not.
    virtual const DisplayList* recording(Chart) const { return nullptr; }
    // Process all pending events once and return.
    virtual void processEvents() = 0;
    // Block until at least one event has arrived, then process what is pending (the pause).
    virtual void waitForEvents() = 0;
    // Show refusal or end-of-run messages to the user (German, one per problem).
    virtual void showMessages(const std::vector<std::string>& messages) = 0;

    // Write a text and paint it at once: the usual way an output box is written.
    void show(Control control, std::string_view text) {
        setText(control, text);
        repaint(control);
    }

    RunState& state() { return state_; }
    const RunState& state() const { return state_; }

    // Keep, from the next run on, the record times and drawn profiles that the numeric
    // diagrams need (nullptr: keep nothing, the default).
    void setCapture(RunCapture* capture) { capture_ = capture; }
    RunCapture* capture() const { return capture_; }

  private:
    RunState& state_;
    RunCapture* capture_ = nullptr;
};

}  // namespace tesmo
