// The window "Anpassung an Messungen" as a user drives it: a measured series of the examples
// with its case, one input to fit, Berechnen; Abbrechen; the fit file saved and opened again;
// the fitted values taken into the main window; the exports written.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

#include "files/case_file.h"
#include "files/decimal_number.h"
#include "fit/fit_texts.h"
#include "gui/fit_result_view.h"
#include "gui/fit_setup_panel.h"
#include "gui/fit_window.h"
#include "gui/program_window.h"
#include "tests/gui/qt_support.h"

namespace tesmo::test {

namespace {

const QString kExamples = QStringLiteral(TESMO_SOURCE_DIR "/examples/anpassung/");

class FitWindowTest : public ::testing::Test {
  protected:
    FitWindowTest() {
        program = openProgramWindow(*st, messages);
        program->action(QStringLiteral("anpassung"))->trigger();
        fit = program->fitWindow();
        fit->setMessageHook([this](const QString& m) { messages.push_back(m.toStdString()); });
        fit->setQuestionHook([](const QString&) { return true; });
        fit->setSaveQuestionHook([](const QString&) { return qt::SaveChoice::Discard; });
    }

    // One series of the examples with its case file, and only `field` fitted: some twenty model
    // runs on the example's grid.
    void quickForm(Control field, const char* start, const char* lower, const char* upper) {
        ASSERT_TRUE(fit->addSeries(kExamples + QStringLiteral("versuch3.csv")));
        ASSERT_TRUE(fit->setCaseFile(0, kExamples + QStringLiteral("versuch3.tgcase")));
        qt::FitSetupPanel& setup = fit->setup();
        while (!setup.form().parameters.empty())
            setup.removeParameter(0);
        setup.addParameter(field);
        setup.setParameterTexts(0, QString::fromLatin1(start), QString::fromLatin1(lower),
                                QString::fromLatin1(upper));
        setup.setStarts(1);
        ASSERT_TRUE(setup.check().ok()) << problemText(setup.check(), setup.form());
    }

    // Berechnen, then waits for the end; false if it did not start or end in time.
    bool computeAndWait(int milliseconds = 120000) {
        QSignalSpy ended(fit, &qt::FitWindow::fitEnded);
        QTest::mouseClick(button("berechnen"), Qt::LeftButton);
        if (!fit->running()) return false;
        return ended.wait(milliseconds);
    }
    // Waits for the runs of a result opened from a file.
    bool waitForRuns(int milliseconds = 60000) {
        return QTest::qWaitFor([&] { return !fit->running(); }, milliseconds);
    }

    QPushButton* button(const char* name) const {
        return fit->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    std::string progressText() const {
        return fit->findChild<QLabel*>(QStringLiteral("fortschritt"))->text().toStdString();
    }
    InputTexts mainTexts() const {
        InputTexts t;
        for (int i = 0; i < kInputCount; ++i)
            t[controlAt(i)] = program->client().text(controlAt(i));
        return t;
    }

    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::ProgramWindow> program;
    qt::FitWindow* fit = nullptr;
    std::vector<std::string> messages;
    QTemporaryDir folder;
};

std::string fileText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).toStdString();
}

// The text of a PDF file as pdftotext reads it (empty if it could not).
std::string pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput()).toStdString();
}

}  // namespace

TEST_F(FitWindowTest, AFitRunsToItsEndAndTheMainWindowTakesExactlyTheFittedField) {
    quickForm(Control::txt_mue, "20", "2", "200");
    const InputTexts before = mainTexts();
    ASSERT_TRUE(computeAndWait());
    const FitResult* result = fit->result();
    ASSERT_NE(result, nullptr) << progressText();
    EXPECT_TRUE(fit->resultIsCurrent());
    EXPECT_NE(result->end, FitEnd::Failed);
    ASSERT_EQ(result->parameters.size(), 1U);
    const ParameterEstimate& mue = result->parameters[0];
    EXPECT_EQ(mue.field, Control::txt_mue);
    EXPECT_GT(mue.value, 2.0);
    EXPECT_LT(mue.value, 200.0);
    EXPECT_GT(result->modelRuns, 1U);
    EXPECT_FALSE(result->comparison.empty());  // the residuals of the charts
    EXPECT_NE(progressText().find("Fertig"), std::string::npos) << progressText();
    EXPECT_TRUE(fit->hasUnsavedChanges());  // a new result not yet in a file
    // Nothing of the main window changed while the fit ran.
    for (int i = 0; i < kInputCount; ++i)
        EXPECT_EQ(mainTexts()[controlAt(i)], before[controlAt(i)]);

    ASSERT_TRUE(fit->applyToMain());
    const InputTexts after = mainTexts();
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        if (c == Control::txt_mue)
            EXPECT_EQ(after[c], exactDecimal(mue.value));
        else
            EXPECT_EQ(after[c], before[c]) << inputCaption(c);
    }
}

TEST_F(FitWindowTest, AbbrechenStopsAFitAndKeepsTheFormForTheNextStart) {
    // The example of three series and three inputs from two starting points: several hundred
    // model runs, so Abbrechen comes while it is going.
    ASSERT_TRUE(fit->openFit(kExamples + QStringLiteral("anpassung.tgfit")));
    ASSERT_TRUE(waitForRuns());
    const std::string key = formKey(fit->setup().form());
    QSignalSpy ended(fit, &qt::FitWindow::fitEnded);
    QTest::mouseClick(button("berechnen"), Qt::LeftButton);
    ASSERT_TRUE(fit->running());
    EXPECT_FALSE(button("berechnen")->isEnabled());
    EXPECT_TRUE(button("abbrechen")->isEnabled());
    // The window answers while the fit goes: it ends only after Abbrechen.
    QTest::qWait(100);
    EXPECT_TRUE(fit->running());
    QTest::mouseClick(button("abbrechen"), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(30000));
    EXPECT_FALSE(fit->running());
    EXPECT_NE(progressText().find("Abgebrochen"), std::string::npos) << progressText();
    EXPECT_EQ(formKey(fit->setup().form()), key);
    EXPECT_TRUE(button("berechnen")->isEnabled());
    EXPECT_FALSE(button("abbrechen")->isEnabled());
}

TEST_F(FitWindowTest, ASavedFitOpensWithItsSeriesInputsAndResult) {
    quickForm(Control::txt_mue, "20", "2", "200");
    ASSERT_TRUE(computeAndWait());
    ASSERT_NE(fit->result(), nullptr);
    const FitResult saved = *fit->result();
    const std::string key = formKey(fit->setup().form());
    const QString path = folder.filePath(QStringLiteral("versuch.tgfit"));
    ASSERT_TRUE(fit->saveFitAs(path));
    EXPECT_FALSE(fit->hasUnsavedChanges());

    // Something else in the form, then the file again.
    fit->setup().setParameterTexts(0, QStringLiteral("30"), QStringLiteral("2"),
                                   QStringLiteral("200"));
    EXPECT_FALSE(fit->resultIsCurrent());
    ASSERT_TRUE(fit->openFit(path));
    ASSERT_TRUE(waitForRuns());
    EXPECT_EQ(formKey(fit->setup().form()), key);
    EXPECT_FALSE(fit->hasUnsavedChanges());
    ASSERT_NE(fit->result(), nullptr);
    EXPECT_TRUE(fit->resultIsCurrent());
    ASSERT_EQ(fit->result()->parameters.size(), 1U);
    // The file keeps every bit of the value and of its standard error.
    EXPECT_EQ(fit->result()->parameters[0].value, saved.parameters[0].value);
    EXPECT_EQ(fit->result()->parameters[0].standardError, saved.parameters[0].standardError);
    // Its charts are computed again from the stored value.
    EXPECT_FALSE(fit->result()->comparison.empty());

    // A file that is not a fit is refused with a message; the form stays.
    const QString bad = folder.filePath(QStringLiteral("kaputt.tgfit"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("format = tesmo-gegen-fit 1\nfit txt_mue = zwanzig ; 2 : 200\n");
    f.close();
    messages.clear();
    EXPECT_FALSE(fit->openFit(bad));
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find("kaputt.tgfit"), std::string::npos) << messages.back();
    EXPECT_EQ(formKey(fit->setup().form()), key);
}

TEST_F(FitWindowTest, TheReportAndTheChartsAreWritten) {
    quickForm(Control::txt_mue, "20", "2", "200");
    ASSERT_TRUE(computeAndWait());
    ASSERT_NE(fit->result(), nullptr);

    const QString report = folder.filePath(QStringLiteral("bericht.pdf"));
    ASSERT_TRUE(fit->exportReport(report));
    const std::string text = pdfText(report);
    EXPECT_NE(text.find("Bericht über eine Anpassung an Messungen"), std::string::npos);
    EXPECT_NE(text.find("txt_mue"), std::string::npos) << text;
    EXPECT_NE(text.find("versuch3.csv"), std::string::npos);

    const QString png = folder.filePath(QStringLiteral("png"));
    const QString svg = folder.filePath(QStringLiteral("svg"));
    ASSERT_TRUE(QDir().mkpath(png) && QDir().mkpath(svg));
    ASSERT_TRUE(fit->exportChartsPng(png));
    ASSERT_TRUE(fit->exportChartsSvg(svg));
    // A measured and a residual chart per quantity (versuch3 measures the water load).
    const QStringList pngs = QDir(png).entryList({QStringLiteral("*.png")}, QDir::Files);
    const QStringList svgs = QDir(svg).entryList({QStringLiteral("*.svg")}, QDir::Files);
    EXPECT_GE(pngs.size(), 2) << pngs.join(' ').toStdString();
    EXPECT_EQ(svgs.size(), pngs.size());
    EXPECT_TRUE(pngs.join(' ').contains(QStringLiteral("wasserbeladung")));
}

TEST_F(FitWindowTest, AnInputTheMeasurementsDoNotDetermineIsMarkedInTheTableAndTheReport) {
    // One water-load curve hardly depends on the dry plate's heat conduction.
    quickForm(Control::txt_Feuchteleit, "40", "5", "200");
    fit->setup().addParameter(Control::txt_lambda);
    ASSERT_TRUE(fit->setup().check().ok());
    ASSERT_TRUE(computeAndWait());
    ASSERT_NE(fit->result(), nullptr);
    ASSERT_EQ(fit->result()->parameters.size(), 2U);
    const ParameterEstimate& lambda = fit->result()->parameters[1];
    ASSERT_EQ(lambda.field, Control::txt_lambda);
    EXPECT_FALSE(lambda.determined);
    EXPECT_TRUE(fit->result()->parameters[0].determined);

    auto* table = fit->findChild<QTableWidget*>(QStringLiteral("ergebnis"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 4)->text().toStdString(), "nicht bestimmt");
    EXPECT_EQ(table->item(0, 4)->text().toStdString(), "bestimmt");
    auto* notes = fit->findChild<QLabel*>(QStringLiteral("hinweise"));
    EXPECT_TRUE(notes->isVisibleTo(fit));
    EXPECT_NE(notes->text().toStdString().find(inputLabel(Control::txt_lambda)), std::string::npos)
        << notes->text().toStdString();

    const QString report = folder.filePath(QStringLiteral("bericht.pdf"));
    ASSERT_TRUE(fit->exportReport(report));
    const std::string text = pdfText(report);
    EXPECT_NE(text.find("nicht bestimmt"), std::string::npos) << text;
    EXPECT_NE(text.find("txt_lambda"), std::string::npos);
}

TEST_F(FitWindowTest, ACaseFromTheMainWindowIsKeptAndSavedBesideTheFit) {
    // The main window holds the case the series was measured under.
    InputTexts lab;
    FileProblem problem;
    ASSERT_TRUE(readCaseFile((kExamples + QStringLiteral("versuch3.tgcase")).toStdString(),
                             defaultInputTexts(), lab, problem));
    for (int i = 0; i < kInputCount; ++i)
        program->client().setText(controlAt(i), lab[controlAt(i)]);
    ASSERT_TRUE(fit->addSeries(kExamples + QStringLiteral("versuch3.csv")));
    ASSERT_EQ(fit->setup().form().series.size(), 1U);
    const SeriesForm& series = fit->setup().form().series[0];
    EXPECT_TRUE(series.casePath.empty());
    EXPECT_EQ(series.caseTexts[Control::txt_Lufttemp], lab[Control::txt_Lufttemp]);
    EXPECT_EQ(series.optionen.klima, Klima::Konstant);  // a climate chamber whatever the fields say

    // The series keeps its case when the fields change afterwards.
    const std::string key = formKey(fit->setup().form());
    program->client().setText(Control::txt_Lufttemp, "35");
    EXPECT_EQ(formKey(fit->setup().form()), key);

    // Saved, the case is written beside the fit file, and the fit file names it.
    const QString path = folder.filePath(QStringLiteral("labor.tgfit"));
    ASSERT_TRUE(fit->saveFitAs(path));
    const QString casePath = folder.filePath(QStringLiteral("versuch3.tgcase"));
    ASSERT_TRUE(QFile::exists(casePath));
    InputTexts saved;
    ASSERT_TRUE(readCaseFile(casePath.toStdString(), defaultInputTexts(), saved, problem));
    EXPECT_EQ(saved[Control::txt_Lufttemp], lab[Control::txt_Lufttemp]);
    EXPECT_NE(fileText(path).find("versuch3.tgcase"), std::string::npos);
    EXPECT_FALSE(fit->hasUnsavedChanges());

    // "Fall aus Hauptfenster" takes the fields as they are now.
    fit->takeCaseFromMain(0);
    EXPECT_EQ(fit->setup().form().series[0].caseTexts[Control::txt_Lufttemp], "35");
    EXPECT_TRUE(fit->hasUnsavedChanges());
}

TEST_F(FitWindowTest, AResultOfAnEarlierFormIsNotSavedAndAFitFileOpensFromTheMainWindow) {
    quickForm(Control::txt_mue, "20", "2", "200");
    ASSERT_TRUE(computeAndWait());
    fit->setup().setParameterTexts(0, QStringLiteral("25"), QStringLiteral("2"),
                                   QStringLiteral("200"));
    EXPECT_FALSE(fit->resultIsCurrent());
    const QString path = folder.filePath(QStringLiteral("ohne.tgfit"));
    ASSERT_TRUE(fit->saveFitAs(path));
    const std::string text = fileText(path);
    EXPECT_NE(text.find("fit txt_mue = 25"), std::string::npos) << text;
    EXPECT_EQ(text.find("\nergebnis "), std::string::npos) << text;

    // Opened from the main window (as a file named on the command line or dropped there), the
    // fit file goes to this window; unsaved changes are asked about first.
    fit->setup().setStarts(3);
    ASSERT_TRUE(fit->hasUnsavedChanges());
    int asked = 0;
    fit->setSaveQuestionHook([&asked](const QString&) {
        ++asked;
        return qt::SaveChoice::Cancel;
    });
    EXPECT_FALSE(program->openFile(path));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fit->setup().form().starts, 3);  // Abbrechen kept the form
    fit->setSaveQuestionHook([](const QString&) { return qt::SaveChoice::Discard; });
    EXPECT_TRUE(program->openFile(path));
    EXPECT_EQ(fit->setup().form().starts, 1);
    EXPECT_EQ(fit->fitFile(), path);
    EXPECT_EQ(fit->result(), nullptr);
}

TEST_F(FitWindowTest, ARefusedMeasurementFileIsNamedAndAddsNoSeries) {
    const QString path = folder.filePath(QStringLiteral("rueckwaerts.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("t_min;X\n0;0,25\n10;0,2\n5;0,18\n");
    f.close();
    EXPECT_FALSE(fit->addSeries(path));
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find("rueckwaerts.csv"), std::string::npos) << messages.back();
    EXPECT_TRUE(fit->setup().form().series.empty());
    EXPECT_FALSE(button("berechnen")->isEnabled());
}

}  // namespace tesmo::test
