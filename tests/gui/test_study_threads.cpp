// The study window's threads: the study runs beside a run of the main window and beside the
// window's own events, stops when cancelled or closed, and never holds the program open.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

#include "study/case_runner.h"
#include "tests/gui/study_fixture.h"

namespace tesmo::test {
namespace {

class StudyThreads : public StudyFixture {
  protected:
    // Many cases of the default plate (tenths of a second each): a study that is still running
    // when the test acts.
    void enterALongStudy() {
        typeIntoMain(defaultInputTexts());
        study->takeBaseFromMain();
        range(1, Control::txt_Lufttemp, "30", "69", "1");
    }
    std::vector<std::string> rowsNow() const {
        std::vector<std::string> rows;
        for (const CaseOutcome& o : study->table().outcomes())
            rows.push_back(tableRow(o));
        return rows;
    }
};

TEST_F(StudyThreads, CancelStopsTheStudyAndKeepsTheFinishedRows) {
    enterALongStudy();
    EXPECT_EQ(countText(), "40 Fälle");
    QSignalSpy ended(study, &qt::StudyWindow::studyEnded);
    QTest::mouseClick(button("berechnen"), Qt::LeftButton);
    ASSERT_TRUE(study->running());
    EXPECT_FALSE(button("berechnen")->isEnabled());
    EXPECT_TRUE(button("abbrechen")->isEnabled());
    EXPECT_FALSE(study->setup().isEnabled());
    ASSERT_TRUE(waitForRows(2));
    auto* progress = study->findChild<QProgressBar*>(QStringLiteral("fortschritt"));
    EXPECT_EQ(progress->maximum(), 40);
    EXPECT_GE(progress->value(), 1);

    const std::vector<std::string> before = rowsNow();
    const auto t0 = Clock::now();
    QTest::mouseClick(button("abbrechen"), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(1000));
    EXPECT_LT(secondsSince(t0), 1.0);
    const std::vector<std::string> after = rowsNow();
    ASSERT_GE(after.size(), before.size());
    EXPECT_LT(after.size(), 40u);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(study->table().outcomes()[i].number, i + 1);  // no gaps: case order
    QTest::qWait(100);
    EXPECT_EQ(study->table().rowCount(), int(after.size()));  // nothing more arrives
    EXPECT_FALSE(study->running());
    EXPECT_TRUE(button("berechnen")->isEnabled());
    EXPECT_FALSE(button("abbrechen")->isEnabled());
    EXPECT_TRUE(study->action("tabelleCsv")->isEnabled());
    EXPECT_EQ(study->findChild<QLabel*>(QStringLiteral("status"))->text().left(12), "Abgebrochen:");
}

TEST_F(StudyThreads, ClosingTheWindowStopsTheStudyWithinASecondAndKeepsTheShownRows) {
    enterALongStudy();
    QSignalSpy ended(study, &qt::StudyWindow::studyEnded);
    QTest::mouseClick(button("berechnen"), Qt::LeftButton);
    ASSERT_TRUE(waitForRows(1));
    const std::vector<std::string> shown = rowsNow();
    const auto t0 = Clock::now();
    study->close();
    EXPECT_FALSE(study->isVisible());
    ASSERT_TRUE(ended.wait(1000));
    EXPECT_LT(secondsSince(t0), 1.0);
    EXPECT_FALSE(study->running());
    // Opened again: the same window with every row it had shown.
    program->action(QStringLiteral("parameterstudie"))->trigger();
    EXPECT_EQ(program->studyWindow(), study);
    EXPECT_TRUE(study->isVisible());
    const std::vector<std::string> kept = rowsNow();
    ASSERT_GE(kept.size(), shown.size());
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), kept.begin()));
}

TEST_F(StudyThreads, ClosingTheMainWindowEndsTheProgramWithinASecond) {
    enterALongStudy();
    QTest::mouseClick(button("berechnen"), Qt::LeftButton);
    ASSERT_TRUE(waitForRows(1));
    ASSERT_TRUE(study->isVisible());
    // The program's own event loop: it must end although the study window is open and busy.
    QTimer::singleShot(0, program.get(), [this] { program->close(); });
    QTimer safety;  // ends the loop if the program would stay open; gone with the test
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safety.start(5000);
    const auto t0 = Clock::now();
    const int status = QApplication::exec();
    program.reset();  // main() returns: the windows go, the study's threads are joined
    EXPECT_EQ(status, 0);
    EXPECT_LT(secondsSince(t0), 1.0);
}

TEST_F(StudyThreads, TheMainWindowRunsBesideTheStudyUndisturbedAndAsksBeforeTakingACase) {
    range(1, Control::txt_Lufttemp, "30", "50", "10");
    ASSERT_TRUE(computeAndWait());
    ASSERT_EQ(study->table().rowCount(), 3);

    // A study of sixteen thin plates runs while the main window runs its own, thicker case;
    // during that run rows are double-clicked: declined, accepted, and once with the real
    // question box, which the run goes on behind until it is answered.
    range(1, Control::txt_Lufttemp, "30", "45", "1");
    InputTexts mainCase = defaultInputTexts();
    mainCase[Control::txt_Dicke] = std::string("30");  // long enough for rows to arrive meanwhile
    typeIntoMain(mainCase);
    QTest::mouseClick(button("berechnen"), Qt::LeftButton);
    ASSERT_TRUE(study->running());
    int rowsDuringRun = -1;
    InputTexts declined, accepted, answeredInBox;
    QPointer<QMessageBox> box;
    double asked = 0;
    WhenDuringRun during([this] { return st->Laufzeit > 100 && study->table().rowCount() > 2; },
                         [&] {
                             rowsDuringRun = study->table().rowCount();
                             answer = false;
                             EXPECT_FALSE(study->applyCase(0));
                             declined = mainTexts();
                             answer = true;
                             EXPECT_TRUE(study->applyCase(1));
                             accepted = mainTexts();
                             study->setQuestionHook({});
                             EXPECT_FALSE(study->applyCase(2));  // the box is open, nothing put yet
                             box = study->findChild<QMessageBox*>();
                             asked = st->Laufzeit;
                         });
    WhenDuringRun answerBox([&] { return box && st->Laufzeit > asked + 100; },
                            [&] {
                                EXPECT_EQ(mainTexts().text, accepted.text);
                                box->button(QMessageBox::Yes)->click();
                                answeredInBox = mainTexts();
                            });
    // Returns when the main window's run has ended.
    QTest::mouseClick(static_cast<QAbstractButton*>(program->client().widget(Control::cmd_Start)),
                      Qt::LeftButton);
    ASSERT_TRUE(during.done());
    ASSERT_TRUE(answerBox.done());
    EXPECT_GT(rowsDuringRun, 2);  // rows arrived while the main window was running
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_NE(questions[0].find("Fall 1"), std::string::npos) << questions[0];
    EXPECT_EQ(declined.text, mainCase.text);
    EXPECT_EQ(accepted[Control::txt_Lufttemp], "31");
    EXPECT_EQ(accepted[Control::txt_Dicke], "4");
    EXPECT_EQ(answeredInBox[Control::txt_Lufttemp], "32");

    // The main window's run went on with what it had read at Start, as a lone run does.
    EXPECT_EQ(program->client().runControl().startTexts().text, mainCase.text);
    CaseRunner alone;
    const CaseOutcome reference = alone.run(1, mainCase);
    EXPECT_EQ(st->Laufende, reference.end);
    EXPECT_EQ(st->Laufzeit, alone.state().Laufzeit);
    EXPECT_EQ(st->Wasserfehler, alone.state().Wasserfehler);
    EXPECT_EQ(st->HistIndex, alone.state().HistIndex);

    QSignalSpy ended(study, &qt::StudyWindow::studyEnded);
    if (study->running()) {
        ASSERT_TRUE(ended.wait(60000));
    }
    EXPECT_EQ(study->table().rowCount(), 16);
}

}  // namespace
}  // namespace tesmo::test
