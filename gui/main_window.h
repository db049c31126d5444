// frm_TesmoGegen: the program's one window, with every control of the layout, the two charts,
// and the run buttons wired to the run control.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "display/recording_canvas.h"
#include "display/run_control.h"
#include "display/window_base.h"
#include "model/controls.h"

class QLabel;

namespace tesmo::qt {

class ChartSurface;

class frm_TesmoGegen : public QWidget, public WindowBase {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 1020;  // 15300 twips
    static constexpr int kClientHeight = 739;  // 11085 twips

    explicit frm_TesmoGegen(RunState& state, QWidget* parent = nullptr);
    ~frm_TesmoGegen() override;

    // --- WindowPort / WindowBase ---------------------------------------------------------------
    void setVisible(Control control, bool visible) override;
    void repaint(Control control) override;
    void draw(ChartDrawing drawing) override;
    void setText(Control control, std::string_view text) override;
    std::string text(Control control) const override;
    bool isVisible(Control control) const override;
    void setColor(Control control, Rgb colour) override;
    Rgb colour(Control control) const override;
    void setFocus(Control control) override;
    ChartCanvas& canvas(Chart chart) override;
    const DisplayList* recording(Chart chart) const override;
    void processEvents() override;
    void waitForEvents() override;
    void showMessages(const std::vector<std::string>& messages) override;
    using QWidget::isVisible;
    using QWidget::repaint;
    using QWidget::setFocus;
    using QWidget::setVisible;
    using QWidget::show;
    using WindowBase::show;

    // --- access for the program, tests and screenshots ---------------------------------------
    QWidget* widget(Control control) const;
    ChartSurface& surface(Chart chart) const;
    RunControl& runControl() { return run_; }
    // The window that holds this client area is closing: a run or a pause ends at once.
    void endRunForClose();
    // Instead of a message box, hand the messages to this function (tests).
    void setMessageHook(std::function<void(const std::vector<std::string>&)> hook);
    // How what a run writes and draws reaches the screen. Batched (the default): the texts are
    // kept and handed to their controls together, and the charts' refreshes collected, at most
    // every kPresentInterval; all is painted at that event processing. Immediate: every write and
    // every refresh is painted there and then; many times slower (kept for comparison).
    enum class Painting { Batched, Immediate };
    void setPainting(Painting painting);
    Painting painting() const { return painting_; }
    static constexpr std::chrono::milliseconds kPresentInterval{5};

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildDecorations();
    void connectButtons();
    void afterHandler();
    void applyText(Control control, std::string_view text);
    // Hands the pending texts to their controls and lets the charts show what was drawn.
    void present();

    RunControl run_;
    std::array<QWidget*, kControlCount> controls_{};
    ChartSurface* ausgabe_ = nullptr;
    ChartSurface* zeit_ = nullptr;
    // Per chart (profile, time): the surface's drawing passes through these and is kept.
    std::array<std::unique_ptr<RecordingCanvas>, 2> recordings_;
    std::function<void(const std::vector<std::string>&)> messageHook_;
    Painting painting_ = Painting::Batched;
    // Texts written during a run and not yet handed to their controls.
    struct PendingText {
        std::string text;
        bool dirty = false;
    };
    std::array<PendingText, kControlCount> pending_;
    bool anyPending_ = false;
    std::chrono::steady_clock::time_point lastPresent_{};
};

}  // namespace tesmo::qt
