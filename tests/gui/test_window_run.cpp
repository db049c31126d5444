// Runs driven through the window's buttons: a whole run, Pause and Weiter, Stop, "Nochmal !",
// refused input and closing the window while a run goes on.
#include <gtest/gtest.h>

#include <algorithm>

#include <QLineEdit>

#include "display/headless_window.h"
#include "export/qt_look.h"
#include "gui/chart_surface.h"
#include "tests/gui/qt_support.h"

namespace tesmo::test {
namespace {

class WindowRun : public ::testing::Test, public WindowFixture {
  protected:
    // Runs the same texts through the headless window and returns it for comparison.
    static std::unique_ptr<HeadlessWindow> headless(RunState& state, const InputTexts& texts) {
        auto hw = std::make_unique<HeadlessWindow>(state);
        hw->setInputTexts(texts);
        RunControl control(*hw);
        control.cmd_Start_Click();
        return hw;
    }

    bool allWhite(Chart chart) const {
        const QImage img = w->surface(chart).drawing();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != qRgb(255, 255, 255)) return false;
        return true;
    }
};

TEST_F(WindowRun, FastRunEndsWithTheSameTextsAsTheHeadlessRunner) {
    type(fastInputs());
    click(Control::cmd_Start);
    EXPECT_FALSE(w->runControl().running());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(shown(Control::cmd_Neustart));
    EXPECT_FALSE(shown(Control::cmd_Start));
    // After a normal end Pause and Stop stay visible.
    EXPECT_TRUE(shown(Control::cmd_Pause));
    EXPECT_TRUE(shown(Control::cmd_Stop));
    EXPECT_EQ(st->Laufende, RunEnd::Midplane);

    auto st2 = std::make_unique<RunState>();
    const auto hw = headless(*st2, fastInputs());
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        EXPECT_EQ(shown(c), hw->isVisible(c)) << controlName(c);
        if (isOutputField(c)) {
            EXPECT_EQ(w->text(c), hw->text(c)) << controlName(c);
        }
    }
    EXPECT_EQ(w->widget(Control::txt_Wasserfehler)->palette().color(QPalette::Text),
              qt::toQColor(hw->colour(Control::txt_Wasserfehler)));
    EXPECT_EQ(w->text(Control::txt_xmom), "0,00");
    // Both charts carry a drawing.
    EXPECT_FALSE(allWhite(Chart::Ausgabe));
    EXPECT_FALSE(allWhite(Chart::Zeit));
    // The focus was parked during the run.
    EXPECT_FALSE(w->widget(Control::txt_Dicke)->hasFocus());
}

// Records the text that a line edit shows each time it is painted.
class PaintedTexts : public QObject {
  public:
    std::vector<QString> texts;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            texts.push_back(static_cast<QLineEdit*>(watched)->text());
        return false;
    }
};

TEST_F(WindowRun, FieldsArePaintedWhileTheRunGoesOn) {
    // The whole run executes inside the Start handler; the running time must nonetheless
    // reach the screen again and again while the run goes on, not just once at its end.
    PaintedTexts zeit;
    w->widget(Control::txt_Zeit)->installEventFilter(&zeit);
    std::size_t paintedBeforeStop = 0;
    WhenDuringRun stop([this] { return st->Laufzeit > 8000; },
                       [&] {
                           paintedBeforeStop = zeit.texts.size();
                           click(Control::cmd_Stop);
                       });
    click(Control::cmd_Start);
    ASSERT_TRUE(stop.done());
    EXPECT_GT(paintedBeforeStop, 0u);
    std::sort(zeit.texts.begin(), zeit.texts.end());
    const auto distinct = std::unique(zeit.texts.begin(), zeit.texts.end()) - zeit.texts.begin();
    EXPECT_GT(distinct, 10);
}

TEST_F(WindowRun, PauseAndWeiterLeaveTheRunUnchanged) {
    type(fastInputs());
    double atPause = -1, duringPause = -1;
    int histAtPause = -1, histDuringPause = -1;
    bool weiterShown = false, pauseHidden = false;
    // Weiter is clicked from inside the pause's own event processing.
    QTimer weiter;
    weiter.setSingleShot(true);
    weiter.setInterval(30);
    QObject::connect(&weiter, &QTimer::timeout, [&] {
        duringPause = st->Laufzeit;
        histDuringPause = st->HistIndex;
        weiterShown = shown(Control::cmd_Weiter);
        pauseHidden = !shown(Control::cmd_Pause) && !shown(Control::cmd_Stop);
        click(Control::cmd_Weiter);
    });
    WhenDuringRun pause([this] { return st->Laufzeit > 600; },
                        [&] {
                            atPause = st->Laufzeit;
                            histAtPause = st->HistIndex;
                            weiter.start();
                            click(Control::cmd_Pause);  // returns after Weiter
                        });
    click(Control::cmd_Start);
    ASSERT_TRUE(pause.done());
    EXPECT_GT(atPause, 600);
    EXPECT_EQ(duringPause, atPause);
    EXPECT_EQ(histDuringPause, histAtPause);
    EXPECT_TRUE(weiterShown);
    EXPECT_TRUE(pauseHidden);
    EXPECT_EQ(st->PauseFlag, 0);
    EXPECT_FALSE(shown(Control::cmd_Weiter));
    EXPECT_EQ(st->Laufende, RunEnd::Midplane);

    // The paused run ends exactly as one without a pause.
    auto st2 = std::make_unique<RunState>();
    const auto hw = headless(*st2, fastInputs());
    for (int i = 0; i < kOutputCount; ++i) {
        const Control c = controlAt(index(kFirstOutput) + i);
        EXPECT_EQ(w->text(c), hw->text(c)) << controlName(c);
    }
}

TEST_F(WindowRun, AfterWeiterNoInputFieldHoldsTheFocus) {
    // Weiter hides itself when clicked; the keyboard focus must not fall to the first input
    // field, whose text the next key would replace in the middle of the run.
    QWidget* focusAfterWeiter = nullptr;
    QWidget* focusInPause = nullptr;
    QTimer weiter;
    weiter.setSingleShot(true);
    weiter.setInterval(20);
    QObject::connect(&weiter, &QTimer::timeout, [&] {
        focusInPause = QApplication::focusWidget();
        click(Control::cmd_Weiter);
    });
    WhenDuringRun pause([this] { return st->Laufzeit > 600; },
                        [&] {
                            weiter.start();
                            click(Control::cmd_Pause);  // returns after Weiter
                        });
    WhenDuringRun check([&] { return pause.done() && st->Laufzeit > 1200; },
                        [&] {
                            focusAfterWeiter = QApplication::focusWidget();
                            click(Control::cmd_Stop);
                        });
    click(Control::cmd_Start);
    ASSERT_TRUE(check.done());
    for (int i = 0; i < kInputCount; ++i) {
        EXPECT_NE(focusInPause, w->widget(controlAt(i))) << controlName(controlAt(i));
        EXPECT_NE(focusAfterWeiter, w->widget(controlAt(i))) << controlName(controlAt(i));
    }
    EXPECT_EQ(focusAfterWeiter, w->widget(Control::txt_parkfocus));
    EXPECT_EQ(QApplication::focusWidget(), w->widget(Control::txt_parkfocus));
}

TEST_F(WindowRun, StopEndsTheRunWithoutEvaluation) {
    type(fastInputs());
    WhenDuringRun stop([this] { return st->Laufzeit > 300; }, [this] { click(Control::cmd_Stop); });
    click(Control::cmd_Start);
    ASSERT_TRUE(stop.done());
    EXPECT_EQ(st->Laufende, RunEnd::Stopped);
    EXPECT_TRUE(shown(Control::cmd_Neustart));
    for (Control c : {Control::cmd_Start, Control::cmd_Pause, Control::cmd_Stop,
                      Control::cmd_Weiter, Control::txt_spezEnergie, Control::lbl_spezEnergie,
                      Control::txt_relEnergie, Control::txt_Wasserfehler})
        EXPECT_FALSE(shown(c)) << controlName(c);
    EXPECT_TRUE(allWhite(Chart::Zeit));  // no time-history chart
    EXPECT_FALSE(allWhite(Chart::Ausgabe));
}

TEST_F(WindowRun, NochmalHidesTheResultsAndKeepsTheInputs) {
    InputTexts texts = fastInputs();
    texts[Control::txt_mue] = "25";
    type(texts);
    click(Control::cmd_Start);
    ASSERT_TRUE(shown(Control::txt_spezEnergie));
    click(Control::cmd_Neustart);
    EXPECT_TRUE(shown(Control::cmd_Start));
    EXPECT_FALSE(shown(Control::cmd_Neustart));
    EXPECT_TRUE(shown(Control::cmd_Pause));  // left as the finished run had them
    EXPECT_TRUE(shown(Control::cmd_Stop));
    for (int i = 0; i < kOutputCount; ++i) {
        const Control c = controlAt(index(kFirstOutput) + i);
        EXPECT_FALSE(shown(c)) << controlName(c);
        EXPECT_FALSE(shown(labelOf(c))) << controlName(labelOf(c));
    }
    for (int i = 0; i < kInputCount; ++i)
        EXPECT_EQ(w->text(controlAt(i)), texts[controlAt(i)]) << controlName(controlAt(i));
    EXPECT_TRUE(allWhite(Chart::Ausgabe));
    EXPECT_TRUE(allWhite(Chart::Zeit));

    // The next Start reads the texts afresh and runs again.
    click(Control::cmd_Start);
    EXPECT_TRUE(shown(Control::txt_spezEnergie));
    EXPECT_EQ(st->mue, 25);
}

TEST_F(WindowRun, RefusedInputShowsMessagesAndStartsNothing) {
    InputTexts texts = defaultInputTexts();
    texts[Control::txt_Ortsschrittweite] = "0";
    type(texts);
    click(Control::cmd_Start);
    EXPECT_FALSE(messages.empty());
    EXPECT_TRUE(shown(Control::cmd_Start));
    EXPECT_FALSE(shown(Control::cmd_Neustart));
    EXPECT_FALSE(shown(Control::cmd_Pause));
    EXPECT_FALSE(shown(Control::txt_Zeit));
    EXPECT_EQ(st->Laufende, RunEnd::None);
    EXPECT_EQ(w->text(Control::txt_Ortsschrittweite), "0");
}

TEST_F(WindowRun, ClosingDuringARunEndsItAtOnce) {
    // The default run takes far longer than the time allowed after the close.
    Clock::time_point closed{};
    WhenDuringRun close([this] { return st->Laufzeit > 60; },
                        [&] {
                            closed = Clock::now();
                            w->close();
                        });
    click(Control::cmd_Start);
    ASSERT_TRUE(close.done());
    EXPECT_LT(secondsSince(closed), 0.2);
    EXPECT_EQ(st->Laufende, RunEnd::Stopped);
    EXPECT_TRUE(w->runControl().quitRequested());
    EXPECT_FALSE(w->QWidget::isVisible());
}

TEST_F(WindowRun, ClosingDuringAPauseEndsTheRun) {
    Clock::time_point closed{};
    QTimer closer;
    closer.setSingleShot(true);
    closer.setInterval(30);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        closed = Clock::now();
        w->close();
    });
    WhenDuringRun pause([this] { return st->Laufzeit > 60; },
                        [&] {
                            closer.start();
                            click(Control::cmd_Pause);
                        });
    click(Control::cmd_Start);
    ASSERT_TRUE(pause.done());
    EXPECT_LT(secondsSince(closed), 0.2);
    EXPECT_EQ(st->Laufende, RunEnd::Stopped);
}

TEST_F(WindowRun, TheProgramEndsWhenTheWindowClosesDuringARun) {
    // As in the program: the event loop runs, Start is clicked, the window is closed while the
    // run goes on; the event loop must return within a second of the close.
    Clock::time_point closed{};
    WhenDuringRun close([this] { return st->Laufzeit > 60; },
                        [&] {
                            closed = Clock::now();
                            w->close();
                        });
    QTimer::singleShot(0, [this] { click(Control::cmd_Start); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    failsafe.start(20000);
    const int code = QApplication::exec();
    EXPECT_EQ(code, 0);
    EXPECT_LT(secondsSince(closed), 1.0);
    EXPECT_EQ(st->Laufende, RunEnd::Stopped);
}

TEST_F(WindowRun, TheProgramEndsWhenTheIdleWindowCloses) {
    QTimer::singleShot(0, [this] { w->close(); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    failsafe.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace tesmo::test
