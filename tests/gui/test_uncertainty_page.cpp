// The study window's kind "Unsicherheit" as a user drives it: a small study on thin plates and
// the coarse grid (each case a few milliseconds) run from the window to its end gives the
// statistics the uncertainty library gives for the same file; Abbrechen stops it and keeps the
// cases done; the study saved and opened again is the same study; the exports are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "gui/program_window.h"
#include "gui/save_question.h"
#include "gui/study_table_model.h"
#include "gui/study_window.h"
#include "gui/uncertainty_page.h"
#include "gui/uncertainty_results.h"
#include "gui/uncertainty_setup_panel.h"
#include "study/study_engine.h"
#include "tests/gui/qt_support.h"
#include "uq/analysis.h"
#include "uq/statistics_csv.h"

namespace tesmo::test {

namespace {

// Two uncertain inputs of a thin plate on the coarse grid; `samples` cases.
std::string studyText(int samples, const char* thickness = "4") {
    std::ostringstream s;
    s << "format = tesmo-gegen-uq 1\n"
      << "txt_Dicke = " << thickness << "\n"
      << "txt_Ortsschrittweite = 0,25\n"
      << "txt_deltaT = 2,0\n"
      << "uncertain txt_Feuchteleit = lognormal 40 ; 8\n"
      << "uncertain txt_AbluftFeuchte = normal 70 ; 3\n"
      << "samples = " << samples << "\n"
      << "design = lhs\n"
      << "seed = 12\n"
      << "results = Laufzeit, SchwindGradMax\n"
      << "limit SchwindGradMax > 0,8\n";
    return s.str();
}

QString writeStudy(const QTemporaryDir& dir, const char* name, const std::string& text) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    std::ofstream(QFile::encodeName(path).toStdString()) << text;
    return path;
}

std::string fileText(const QString& path) {
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The same study through the uncertainty library alone: the drawn cases on the engine, then
// the analysis.
UncertaintyAnalysis libraryAnalysis(const QString& path) {
    UncertaintyPlan plan;
    FileProblem problem;
    EXPECT_TRUE(readUncertaintyPlan(QFile::encodeName(path).toStdString(), plan, problem))
        << describe(problem);
    const UncertaintySample sample = drawSample(plan);
    const CaseList cases = sampleCases(plan, sample);
    std::vector<CaseOutcome> outcomes;
    StudyCallbacks callbacks;
    callbacks.sink = [&](const CaseOutcome& o) {
        outcomes.push_back(o);
        return true;
    };
    std::atomic<bool> cancel{false};
    runStudy(cases, {0, 1, cases.size()}, 2, callbacks, cancel);
    return analyseUncertainty(plan, sample, outcomes);
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    return QString::fromUtf8(p.readAllStandardOutput());
}

class UncertaintyPageTest : public ::testing::Test {
  protected:
    UncertaintyPageTest() {
        program = openProgramWindow(*st, messages);
        program->action(QStringLiteral("unsicherheitsstudie"))->trigger();
        window = program->studyWindow();
        window->setMessageHook([this](const QString& m) { messages.push_back(m.toStdString()); });
    }
    qt::UncertaintyPage& page() const { return window->uncertainty(); }

    // Berechnen, then waits until the analysis is shown (or why there is none).
    bool computeAndWait(int milliseconds = 120000) {
        QSignalSpy ended(&page(), &qt::UncertaintyPage::analysisEnded);
        QTest::mouseClick(page().findChild<QPushButton*>(QStringLiteral("uqBerechnen")),
                          Qt::LeftButton);
        if (!page().running()) return false;
        return ended.wait(milliseconds);
    }

    QTemporaryDir dir;
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::ProgramWindow> program;
    qt::StudyWindow* window = nullptr;
    std::vector<std::string> messages;
};

}  // namespace

TEST_F(UncertaintyPageTest, AStudyRunFromTheWindowGivesTheLibrarysStatisticsAndItsExports) {
    const QString path = writeStudy(dir, "duenn.tguq", studyText(24));
    ASSERT_TRUE(program->openFile(path));
    EXPECT_EQ(window->kind(), qt::StudyWindow::Kind::Uncertainty);
    ASSERT_TRUE(computeAndWait());
    EXPECT_FALSE(page().running());
    ASSERT_TRUE(page().hasAnalysis()) << (messages.empty() ? "" : messages.back());
    EXPECT_EQ(page().results().table().rowCount(), 24);

    // Every estimate, its intervals and the indices, to the last digit the CSV writes.
    const UncertaintyAnalysis& shown = *page().results().analysis();
    EXPECT_EQ(statisticsCsv(shown), statisticsCsv(libraryAnalysis(path)));

    // The exports: each file written, the statistics as the library writes them, the report
    // naming the results and the limit's result.
    const QString table = dir.filePath(QStringLiteral("faelle.csv"));
    const QString stats = dir.filePath(QStringLiteral("kennwerte.csv"));
    const QString pdf = dir.filePath(QStringLiteral("bericht.pdf"));
    const QString png = dir.filePath(QStringLiteral("histogramm.png"));
    const QString svg = dir.filePath(QStringLiteral("indizes.svg"));
    EXPECT_TRUE(page().exportTable(table, TableFormat::Csv));
    EXPECT_TRUE(page().exportStatistics(stats, TableFormat::Csv));
    EXPECT_TRUE(page().exportReportPdf(pdf));
    page().results().showTab(qt::UncertaintyResults::Tab::Histogram);
    EXPECT_TRUE(page().exportChartPng(png));
    page().results().showTab(qt::UncertaintyResults::Tab::Indices);
    EXPECT_TRUE(page().exportChartSvg(svg));
    EXPECT_EQ(fileText(stats), statisticsCsv(shown));
    const std::string rows = fileText(table);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 25) << "header and 24 cases";
    EXPECT_TRUE(QImage(png).width() > 0);
    EXPECT_NE(fileText(svg).find("<svg"), std::string::npos);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Laufzeit"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("SchwindGradMax"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("duenn.tguq"))) << text.toStdString();
}

TEST_F(UncertaintyPageTest, AbbrechenStopsTheStudyAndKeepsTheCasesDone) {
    // Plates of normal thickness on the coarse grid: long enough to cancel in the middle.
    ASSERT_TRUE(program->openFile(writeStudy(dir, "lang.tguq", studyText(2000, "20"))));
    QSignalSpy ended(&page(), &qt::UncertaintyPage::analysisEnded);
    ASSERT_TRUE(page().startStudy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return page().results().table().rowCount() >= 2; }, 60000));
    QTest::mouseClick(page().findChild<QPushButton*>(QStringLiteral("uqAbbrechen")),
                      Qt::LeftButton);
    ASSERT_TRUE(ended.wait(60000));
    EXPECT_FALSE(page().running());
    const int done = page().results().table().rowCount();
    EXPECT_GE(done, 2);
    EXPECT_LT(done, 2000);
    // A part of the sample is not analysed, but what ran stays and can be exported.
    EXPECT_FALSE(page().hasAnalysis());
    EXPECT_FALSE(window->action(QStringLiteral("berichtPdf"))->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("tabelleCsv"))->isEnabled());
    const QString table = dir.filePath(QStringLiteral("teil.csv"));
    EXPECT_TRUE(page().exportTable(table, TableFormat::Csv));
    const std::string rows = fileText(table);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), done + 1);
    // The form is free again for the next study.
    EXPECT_TRUE(page().findChild<QPushButton*>(QStringLiteral("uqBerechnen"))->isEnabled());
}

TEST_F(UncertaintyPageTest, AStudySavedAndOpenedAgainIsTheSameStudy) {
    const QString first = writeStudy(dir, "erste.tguq", studyText(24));
    ASSERT_TRUE(page().openStudy(first));
    EXPECT_FALSE(page().hasUnsavedChanges());

    // A change is unsaved until saved; the saved file opens to the same form and saves again
    // byte for byte.
    UncertaintyForm form = page().setup().form();
    form.samples = 30;
    page().setup().setForm(form);
    EXPECT_TRUE(page().hasUnsavedChanges());
    // Opening another study first asks; Abbrechen keeps the changed form.
    std::vector<std::string> asked;
    window->setSaveQuestionHook([&asked](const QString& q) {
        asked.push_back(q.toStdString());
        return qt::SaveChoice::Cancel;
    });
    EXPECT_FALSE(window->openUncertaintyFile(first));
    EXPECT_EQ(asked.size(), 1U);
    EXPECT_EQ(page().setup().form().samples, 30U);
    const QString saved = dir.filePath(QStringLiteral("zweite.tguq"));
    ASSERT_TRUE(page().saveStudyAs(saved));
    EXPECT_FALSE(page().hasUnsavedChanges());
    EXPECT_EQ(page().studyFile(), saved);

    qt::UncertaintyPage other;
    ASSERT_TRUE(other.openStudy(saved));
    EXPECT_EQ(other.setup().form().samples, 30U);
    EXPECT_EQ(other.setup().form().inputs.size(), 2U);
    EXPECT_EQ(other.setup().form().limits.size(), 1U);
    const QString again = dir.filePath(QStringLiteral("dritte.tguq"));
    ASSERT_TRUE(other.saveStudyAs(again));
    EXPECT_EQ(fileText(again), fileText(saved));

    // The plan read from the saved file is the plan of the form: the same cases.
    UncertaintyPlan fromFile;
    FileProblem problem;
    ASSERT_TRUE(readUncertaintyPlan(QFile::encodeName(saved).toStdString(), fromFile, problem));
    const CaseList a = sampleCases(fromFile, drawSample(fromFile));
    const UncertaintyPlan& fromForm = other.setup().check().plan;
    const CaseList b = sampleCases(fromForm, drawSample(fromForm));
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int f = 0; f < kInputCount; ++f)
            EXPECT_EQ(a.texts(i)[controlAt(f)], b.texts(i)[controlAt(f)]) << "case " << i + 1;
}

TEST_F(UncertaintyPageTest, AFileThatCannotBeReadLeavesTheFormAndSaysWhy) {
    ASSERT_TRUE(page().openStudy(writeStudy(dir, "gut.tguq", studyText(24))));
    const UncertaintyForm before = page().setup().form();
    EXPECT_FALSE(page().openStudy(
        writeStudy(dir, "kaputt.tguq", "format = tesmo-gegen-uq 1\nsamples = viele\n")));
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find("kaputt.tguq"), std::string::npos) << messages.back();
    EXPECT_EQ(page().setup().form().samples, before.samples);
    EXPECT_EQ(page().studyFile(), dir.filePath(QStringLiteral("gut.tguq")));
}

}  // namespace tesmo::test
