// The window without a screen: every control keeps its last text, visibility and colour, the
// two charts count what is drawn on them, and the event processing has nothing to process.
#pragma once

#include <array>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "display/recording_canvas.h"
#include "display/window_base.h"
#include "model/inputs.h"

namespace tesmo {

// A drawing surface that only counts; nothing is kept, nothing allocated.
class CountingCanvas : public ChartCanvas {
  public:
    long lines = 0, boxes = 0, refreshes = 0;

    void setLineWidth(int) override {}
    void setLineStyle(LineStyle) override {}
    void line(float, float, float, float, Rgb) override { ++lines; }
    void fillBox(float, float, float, float, Rgb) override { ++boxes; }
    void refresh() override { ++refreshes; }
};

class HeadlessWindow : public WindowBase {
  public:
    // Every control as the window opens: default texts, start visibility and colours.
    explicit HeadlessWindow(RunState& st);
    // Back to the window as it opens, keeping the room its texts took: a runner of many cases
    // reuses one window without allocating. Drops what was recorded, asked for and shown.
    void reopen();

    void setInputTexts(const InputTexts& texts);
    // A flag that another thread or a signal handler raises to stop the run at its next poll,
    // as the Stop button would (nullptr: nothing can stop the run from outside).
    void setStopRequest(const std::atomic<bool>* request) { stopRequest_ = request; }
    // Report the simulated time and the share of the water removed on `out` every `polls`
    // polls (0: never).
    void reportProgress(std::FILE* out, long polls);
    // Keep a display list of both charts from now on, so that they can be exported after the
    // run; each list keeps at most `maxPoints` points. Recording allocates while the run draws;
    // without it a run allocates nothing.
    void recordCharts(std::size_t maxPoints = RecordingCanvas::kMaxPoints);

    // --- WindowPort and WindowBase ---------------------------------------------------------
    void setVisible(Control control, bool visible) override;
    void repaint(Control) override {}
    void setText(Control control, std::string_view text) override;
    std::string text(Control control) const override;
    bool isVisible(Control control) const override;
    void setColor(Control control, Rgb colour) override;
    Rgb colour(Control control) const override;
    void setFocus(Control) override {}
    ChartCanvas& canvas(Chart chart) override;
    const DisplayList* recording(Chart chart) const override;
    void processEvents() override;
    void waitForEvents() override;
    void showMessages(const std::vector<std::string>& messages) override;

    // --- what the window holds after a run ----------------------------------------------------
    // Whether a text has been written into the control since the window opened.
    bool written(Control control) const;
    const std::vector<std::string>& messages() const { return messages_; }
    long polls() const { return polls_; }

  private:
    struct ControlState {
        std::string text;
        bool visible = false;
        bool written = false;
        Rgb colour{};
    };
    ControlState& at(Control c) { return controls_[static_cast<std::size_t>(index(c))]; }
    const ControlState& at(Control c) const {
        return controls_[static_cast<std::size_t>(index(c))];
    }
    void printProgress();

    std::array<ControlState, kControlCount> controls_;
    static std::size_t slot(Chart chart) { return chart == Chart::Ausgabe ? 0 : 1; }

    std::array<CountingCanvas, 2> counters_;                      // per chart
    std::array<std::unique_ptr<RecordingCanvas>, 2> recordings_;  // per chart, when recording
    std::vector<std::string> messages_;
    long polls_ = 0;
    std::FILE* progressOut_ = nullptr;
    const std::atomic<bool>* stopRequest_ = nullptr;
    long progressEvery_ = 0;
};

}  // namespace tesmo
