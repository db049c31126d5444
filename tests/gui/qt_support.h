// Shared helpers of the window tests: one application object for the whole test program, a
// window on its own run state, clicks, and actions that fire from inside a running drying
// run (they are taken at the model's poll, like a real click).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "gui/german_dialogs.h"
#include "gui/main_window.h"
#include "gui/program_window.h"
#include "model/inputs.h"
#include "model/run_state.h"

namespace tesmo::test {

// Created on first use, so that listing the tests needs no display; on the large offscreen
// screen of tests/gui/screen.json unless a platform is set, and with Qt's German texts, as the
// program runs.
inline QApplication& app() {
    static int argc = 1;
    static char name[] = "tesmo_qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", TESMO_TEST_PLATFORM);
        auto* a = new QApplication(argc, argv);
        qt::installGermanQtTranslations();
        return a;
    }();
    return *instance;
}

// Texts that make a whole run finish in a few hundredths of a second.
InputTexts fastInputs();

// A program window on `st`, shown, on settings of the running test's own (emptied: ctest runs
// the tests side by side); its messages and its client area's go into `messages`, not boxes.
// The question about unsaved changes is answered Verwerfen unless a test sets its own hook.
inline std::unique_ptr<qt::ProgramWindow> openProgramWindow(RunState& st,
                                                            std::vector<std::string>& messages) {
    app();
    QCoreApplication::setOrganizationName(QStringLiteral("Tesmo-Gegen-Tests"));
    QCoreApplication::setApplicationName(
        QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    QSettings().clear();
    auto window = std::make_unique<qt::ProgramWindow>(st);
    window->setMessageHook([&messages](const QString& m) { messages.push_back(m.toStdString()); });
    window->client().setMessageHook([&messages](const std::vector<std::string>& m) {
        messages.insert(messages.end(), m.begin(), m.end());
    });
    window->setSaveQuestionHook([](const QString&) { return qt::SaveChoice::Discard; });
    window->show();
    (void)QTest::qWaitForWindowExposed(window.get());
    return window;
}

struct WindowFixture {
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::frm_TesmoGegen> w;
    std::vector<std::string> messages;

    WindowFixture() {
        app();
        w = std::make_unique<qt::frm_TesmoGegen>(*st);
        w->setMessageHook([this](const std::vector<std::string>& m) {
            messages.insert(messages.end(), m.begin(), m.end());
        });
        w->show();
        (void)QTest::qWaitForWindowExposed(w.get());
    }

    QWidget* operator[](Control c) const { return w->widget(c); }
    bool shown(Control c) const { return w->isVisible(c); }
    void type(const InputTexts& texts) {
        for (int i = 0; i < kInputCount; ++i)
            w->setText(controlAt(i), texts[controlAt(i)]);
    }
    void click(Control button) {
        QTest::mouseClick(static_cast<QAbstractButton*>(w->widget(button)), Qt::LeftButton);
    }
};

// Calls `action` once, at the first event processing at which `when` holds; the timer keeps
// firing at every poll of a run until then.
class WhenDuringRun {
  public:
    WhenDuringRun(std::function<bool()> when, std::function<void()> action)
        : when_(std::move(when)), action_(std::move(action)) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (done_ || !when_()) return;
            done_ = true;
            timer_.stop();
            action_();
        });
        timer_.start();
    }
    bool done() const { return done_; }

  private:
    QTimer timer_;
    std::function<bool()> when_;
    std::function<void()> action_;
    bool done_ = false;
};

using Clock = std::chrono::steady_clock;
inline double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

}  // namespace tesmo::test
