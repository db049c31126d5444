// The diagram window: runs kept and laid over each other, history files opened, the read-out
// under the mouse, the exports; and what the main window offers beside it.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSettings>

#include "display/clipboard_text.h"
#include "gui/diagram_window.h"
#include "gui/plot_widget.h"
#include "gui/run_diagrams.h"
#include "tests/batch/batch_exe.h"
#include "tests/gui/qt_support.h"
#include "tests/test_files.h"

namespace tesmo::test {
namespace {

class DiagramWindowTest : public ::testing::Test {
  protected:
    DiagramWindowTest() {
        window = openProgramWindow(*st, messages);
        type(fastInputs());
    }

    void type(const InputTexts& texts) {
        for (int i = 0; i < kInputCount; ++i)
            window->client().setText(controlAt(i), texts[controlAt(i)]);
    }
    void runAndRestart() {
        click(Control::cmd_Start);
        click(Control::cmd_Neustart);
    }
    void click(Control button) {
        QTest::mouseClick(static_cast<QAbstractButton*>(window->client().widget(button)),
                          Qt::LeftButton);
    }
    qt::DiagramWindow& diagrams() {
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        qt::DiagramWindow* d = window->diagrams().diagramWindow();
        EXPECT_NE(d, nullptr);
        d->setMessageHook([this](const QString& m) { messages.push_back(m.toStdString()); });
        return *d;
    }
    std::vector<std::string> listed(const qt::DiagramWindow& d) const {
        std::vector<std::string> items;
        for (int i = 0; i < d.runList().count(); ++i)
            items.push_back(d.runList().item(i)->text().toStdString());
        return items;
    }

    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    std::unique_ptr<qt::ProgramWindow> window;
    std::vector<std::string> messages;
};

TEST_F(DiagramWindowTest, TheMenusStandInTheirOrderAndCopyTheResultsForASpreadsheet) {
    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        titles << a->text().remove(QLatin1Char('&'));
    EXPECT_EQ(titles.indexOf("Datei") + 1, titles.indexOf("Bearbeiten"));
    EXPECT_EQ(titles.indexOf("Bearbeiten") + 1, titles.indexOf("Ansicht"));
    EXPECT_LT(titles.indexOf("Ansicht"), titles.indexOf("Studie"));
    EXPECT_EQ(titles.last(), "Hilfe");
    EXPECT_EQ(window->action("diagramme")->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));

    QAction* copy = window->action("ergebnisseKopieren");
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->isEnabled());  // no results yet
    click(Control::cmd_Start);
    ASSERT_TRUE(copy->isEnabled());
    QGuiApplication::clipboard()->clear();
    copy->trigger();
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_EQ(text.toStdString(), resultFieldsText(window->client()));
    EXPECT_TRUE(text.contains(QStringLiteral("relativer Wasserfehler in %\t")) ||
                text.contains(QStringLiteral("relativer Wasserfehler in %\n")));
    click(Control::cmd_Neustart);
    EXPECT_FALSE(copy->isEnabled());

    // The histories for a German spreadsheet, beside the plain ones.
    click(Control::cmd_Start);
    const QString de = QString::fromStdString(testFile("verlauf_de.csv"));
    ASSERT_TRUE(window->exportTo("exportCsvDe", de));
    const std::string content = slurp(de.toStdString());
    EXPECT_EQ(content.rfind("\xEF\xBB\xBF# txt_Dicke = 4\n", 0), 0u);
    EXPECT_NE(content.find("VerlaufXmom;VerlaufXOb;"), std::string::npos);
    EXPECT_NE(content.find("\n0,25;0;0;0;35;"), std::string::npos);
}

TEST_F(DiagramWindowTest, RunsAreKeptLabelledLaidOverEachOtherAndRemoved) {
    runAndRestart();  // kept before the window was ever opened
    InputTexts warmer = fastInputs();
    warmer[Control::txt_Lufttemp] = "40";
    type(warmer);
    runAndRestart();
    qt::DiagramWindow& d = diagrams();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.isModal());
    EXPECT_EQ(listed(d), (std::vector<std::string>{"Lauf 1", "Lauf 2: Ablufttemperatur 40 °C"}));

    d.setChart(RunChart::Temperaturen);
    ASSERT_EQ(d.plot().spec().series.size(), 6u);  // three curves of each run
    EXPECT_EQ(d.plot().spec().series[3].label, "Lauf 2 – Luft");
    d.runList().item(0)->setCheckState(Qt::Unchecked);  // one run left: its own colours
    EXPECT_EQ(d.plot().spec().series.size(), 3u);
    EXPECT_EQ(d.plot().spec().series[0].label, "Luft");

    // A run that is stopped is kept as well.
    type(fastInputs());
    {
        WhenDuringRun stop([&] { return st->HistIndex > 50; }, [&] { click(Control::cmd_Stop); });
        click(Control::cmd_Start);
        ASSERT_TRUE(stop.done());
    }
    ASSERT_EQ(st->Laufende, RunEnd::Stopped);
    EXPECT_EQ(listed(d).size(), 3u);
    EXPECT_EQ(listed(d)[2], "Lauf 3: gleiche Eingaben");

    d.removeRun(1);
    EXPECT_EQ(listed(d)[0], "Lauf 2");  // the new first run is the reference
    EXPECT_EQ(listed(d)[1], "Lauf 3: Ablufttemperatur 35 °C");
    d.removeAllRuns();
    EXPECT_TRUE(listed(d).empty());
    EXPECT_NE(d.plot().spec().note.find("Noch kein Lauf"), std::string::npos);
    EXPECT_FALSE(d.action("diagrammPng")->isEnabled());
}

TEST_F(DiagramWindowTest, HistoryFilesOpenAsRunsWithOrWithoutTheirInputs) {
    const std::string csv = testFile("verlauf.csv");
    const ExeResult r = runBatchExe("txt_Dicke=4 txt_Lufttemp=45 --csv '" + csv + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::string old;  // the earlier format: the same table without its input lines
    for (const std::string& line : lines(slurp(csv)))
        if (line.rfind("#", 0) != 0) old += line + "\n";
    const std::string oldCsv = testFile("alt.csv");
    spit(oldCsv, old);

    runAndRestart();
    qt::DiagramWindow& d = diagrams();
    ASSERT_TRUE(d.openHistory(QString::fromStdString(csv)));
    ASSERT_TRUE(d.openHistory(QString::fromStdString(oldCsv)));
    const std::string name = QFileInfo(QString::fromStdString(csv)).fileName().toStdString();
    const std::string oldName = QFileInfo(QString::fromStdString(oldCsv)).fileName().toStdString();
    // Against the first run (fast inputs): the file's other exhaust air, space step and curves.
    EXPECT_EQ(listed(d), (std::vector<std::string>{
                             "Lauf 1",
                             "Lauf 2: " + name +
                                 ", Ablufttemperatur 45 °C, Ortsschritt 0,1 mm, Schritte pro "
                                 "Kurve 1200",
                             "Lauf 3: " + oldName + ", ohne Eingaben"}));
    d.setChart(RunChart::Wasserbeladung);
    EXPECT_EQ(d.plot().spec().series.size(), 6u);
    EXPECT_NE(d.plot().spec().note.find("Lauf 3 ohne Zeitachse"), std::string::npos);
    d.setChart(RunChart::Bigot);  // needs no times
    const auto& bigot = d.plot().spec().series;
    EXPECT_TRUE(std::any_of(bigot.begin(), bigot.end(), [](const PlotSeries& s) {
        return s.label == "Lauf 3 – Oberfläche" && !s.x.empty();
    }));
    d.setChart(RunChart::Mollier);
    EXPECT_NE(d.plot().spec().note.find("ohne Luftweg"), std::string::npos);

    const std::string bad = testFile("kaputt.csv");
    spit(bad, "case,txt_Dicke\n1,4\n");
    EXPECT_FALSE(d.openHistory(QString::fromStdString(bad)));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("keine Tabelle der Zeitverläufe"), std::string::npos);
    EXPECT_EQ(listed(d).size(), 3u);
}

TEST_F(DiagramWindowTest, TheMouseReadsValuesOffAndTheDiagramGoesToFilesAndTheClipboard) {
    runAndRestart();
    qt::DiagramWindow& d = diagrams();
    d.resize(1000, 650);
    QApplication::processEvents();
    qt::PlotWidget& plot = d.plot();
    (void)plot.grab();  // painted: the frame is known
    const PlotFrame& frame = plot.frame();
    ASSERT_TRUE(frame.drawn);
    const QString inside = plot.readoutAt(
        QPointF((frame.box.left + frame.box.right) / 2, (frame.box.top + frame.box.bottom) / 2));
    EXPECT_TRUE(inside.startsWith(QStringLiteral("Zeit "))) << inside.toStdString();
    EXPECT_TRUE(inside.contains(QStringLiteral(" h, Wasserbeladung ")));
    EXPECT_TRUE(inside.contains(QStringLiteral("kg/kg atro")));
    EXPECT_TRUE(plot.readoutAt(QPointF(2, 2)).isEmpty());  // outside the frame
    // On a curve: its name and the point's values on a second line.
    const PlotSeries& mean = plot.spec().series[0];
    const PlotPoint at = frame.pixelOf(mean.x[mean.x.size() / 2], mean.y[mean.y.size() / 2]);
    const QString onCurve = plot.readoutAt(QPointF(at.x, at.y));
    EXPECT_TRUE(onCurve.contains(QStringLiteral("\nmittlere: Zeit "))) << onCurve.toStdString();
    QMouseEvent move(QEvent::MouseMove, QPointF(at.x, at.y), plot.mapToGlobal(QPointF(at.x, at.y)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &move);
    EXPECT_TRUE(d.findChild<QLabel*>(QStringLiteral("ablesung"))->text().contains("mittlere"));

    const QString png = QString::fromStdString(testFile("d.png"));
    const QString svg = QString::fromStdString(testFile("d.svg"));
    const QString pdf = QString::fromStdString(testFile("d.pdf"));
    ASSERT_TRUE(d.exportPng(png));
    ASSERT_TRUE(d.exportSvg(svg));
    ASSERT_TRUE(d.exportPdf(pdf));
    EXPECT_EQ(QImage(png).size(), plot.size() * 2);
    EXPECT_NE(slurp(svg.toStdString()).find("Wasserbeladung der Platte"), std::string::npos);
    EXPECT_EQ(slurp(pdf.toStdString()).rfind("%PDF-", 0), 0u);
    QGuiApplication::clipboard()->clear();
    d.action("diagrammKopieren")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), plot.size() * 2);
    EXPECT_FALSE(d.exportPdf(QStringLiteral("/nonexistent-dir/d.pdf")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("/nonexistent-dir/d.pdf"), std::string::npos);
}

TEST_F(DiagramWindowTest, TheWindowComesBackWhereItWasLeft) {
    qt::DiagramWindow& d = diagrams();
    d.resize(900, 560);
    d.move(40, 30);
    QApplication::processEvents();
    const QSize size = d.size();
    d.close();
    EXPECT_FALSE(QSettings().value(QStringLiteral("diagrammfenster/geometrie")).isNull());
    qt::DiagramWindow again(window->diagrams().shelf());
    again.showAndRaise();
    EXPECT_EQ(again.size(), size);
    again.close();
}

}  // namespace
}  // namespace tesmo::test
