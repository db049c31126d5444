// The main window on screens smaller than itself: a laptop's 1366 × 768 and a 1920 × 1080 screen
// at 150 % (1280 × 720 logical pixels), each less the room of a desktop panel.
#include <gtest/gtest.h>

#include <memory>

#include <QAbstractButton>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

#include "gui/program_window.h"
#include "tests/gui/qt_support.h"

namespace tesmo::test {
namespace {

class ProgramScreen : public ::testing::Test {
  protected:
    ProgramScreen() { window = openProgramWindow(*st, messages); }

    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::ProgramWindow> window;
    std::vector<std::string> messages;
};

TEST_F(ProgramScreen, OnSmallScreensTheClientAreaScrollsAndTheWindowFits) {
    const QSize large = window->size();
    const QPoint clientPlace = window->client().pos();
    ASSERT_FALSE(window->scrolls());  // the test screen (1920 × 1200) holds the window
    QWidget* start = window->client().widget(Control::cmd_Start);
    for (const QRect available : {QRect(0, 0, 1366, 768 - 32), QRect(0, 0, 1280, 720 - 32)}) {
        window->fitToScreen(available);
        ASSERT_TRUE(window->scrolls()) << available.height();
        auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("rollbereich"));
        ASSERT_NE(scroll, nullptr);
        EXPECT_EQ(scroll->widget(), &window->client());
        QCoreApplication::processEvents();
        EXPECT_LE(window->frameGeometry().height(), available.height());
        EXPECT_LE(window->frameGeometry().width(), available.width());
        EXPECT_EQ(window->client().size(), QSize(1020, 739));
        // No horizontal scrolling where the width suffices; Start is reached by scrolling down.
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
        EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
        scroll->ensureWidgetVisible(start);
        const QRect seen(scroll->viewport()->mapFromGlobal(start->mapToGlobal(QPoint(0, 0))),
                         start->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(seen));
    }
    // A run in the scroll area is a run as any.
    InputTexts texts = fastInputs();
    for (int i = 0; i < kInputCount; ++i)
        window->client().setText(controlAt(i), texts[controlAt(i)]);
    static_cast<QAbstractButton*>(start)->click();
    EXPECT_EQ(st->Laufende, RunEnd::Midplane);

    // Back on a large screen everything is as before.
    window->fitToScreen(QRect(0, 0, 1920, 1200));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->scrolls());
    EXPECT_EQ(window->centralWidget(), &window->client());
    EXPECT_EQ(window->size(), large);
    EXPECT_EQ(window->client().pos(), clientPlace);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->client().isVisible());
}

}  // namespace
}  // namespace tesmo::test
