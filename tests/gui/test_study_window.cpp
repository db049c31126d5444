// The study window: entering a study, its table against the runner's, the chart, the files, and
// a case put back into the main window.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <new>
#include <system_error>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTableWidget>

#include "display/number_format.h"
#include "gui/plot_widget.h"
#include "study/result_view.h"
#include "tests/batch/batch_exe.h"
#include "tests/gui/study_fixture.h"
#include "tests/study/refusing_system.h"

namespace tesmo::test {
namespace {

// The study most tests compute: three exhaust-air temperatures at thicknesses 4 and 6 mm and
// one thickness without a number, whose three cases are refused.
constexpr const char* kRunnerStudy =
    "txt_Ortsschrittweite=0,2 txt_rund=50 --vary txt_Lufttemp=30:50:10 --vary 'txt_Dicke=4; 6;x'";

// A number of the table, read as the table writes it whatever the C library's locale (the
// window has set it from the environment, e.g. de_DE, where strtod expects a comma).
double number(const std::string& text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

class StudyWindowTest : public StudyFixture {
  protected:
    void enterTheStudy() {
        range(1, Control::txt_Lufttemp, "30", "50", "10");
        list(2, Control::txt_Dicke, "4; 6;x");
    }
};

TEST_F(StudyWindowTest, OpensWithTheMainWindowsTextsAndOnlyOnce) {
    EXPECT_EQ(study->windowTitle(), "Parameterstudie[*]");  // [*]: the mark of unsaved changes
    EXPECT_TRUE(study->isVisible());
    EXPECT_EQ(program->action("parameterstudie")->shortcut(), QKeySequence("Ctrl+T"));
    auto* base = study->findChild<QTableWidget*>(QStringLiteral("grundfall"));
    ASSERT_EQ(base->rowCount(), kInputCount);
    EXPECT_EQ(base->item(0, 0)->text(), "Anfangsdicke der Platte in mm");
    EXPECT_EQ(base->item(0, 1)->text(), "4");
    EXPECT_EQ(study->setup().form().base[Control::txt_rund], "50");

    // The main window changes; the base follows only on request.
    program->client().setText(Control::txt_Dicke, "7,5");
    program->action("parameterstudie")->trigger();
    EXPECT_EQ(program->studyWindow(), study);
    EXPECT_EQ(base->item(0, 1)->text(), "4");
    QTest::mouseClick(study->findChild<QPushButton*>(QStringLiteral("uebernehmen")),
                      Qt::LeftButton);
    EXPECT_EQ(base->item(0, 1)->text(), "7,5");
    // The air balance chosen in the main window's menu comes with the texts.
    EXPECT_EQ(study->setup().form().base.optionen.luftbilanz, Luftbilanz::Standard);
    program->action("korrigierteLuftbilanz")->trigger();
    study->takeBaseFromMain();
    EXPECT_EQ(study->setup().form().base.optionen.luftbilanz, Luftbilanz::Korrigiert);
    // The main window keeps its size.
    EXPECT_EQ(program->client().size(), QSize(1020, 739));
}

TEST_F(StudyWindowTest, TheCaseCountShowsBeforeAnythingRunsAndBadStudiesAreRefused) {
    range(1, Control::txt_Lufttemp, "30", "70", "10");
    EXPECT_EQ(countText(), "5 Fälle");
    EXPECT_TRUE(button("berechnen")->isEnabled());
    list(2, Control::txt_Dicke, "10,0; 20,0");
    EXPECT_EQ(countText(), "10 Fälle");
    range(1, Control::txt_Lufttemp, "30", "35", "2,5");  // decimal comma as in the main window
    EXPECT_EQ(countText(), "6 Fälle");
    EXPECT_EQ(shownError(1), "");
    EXPECT_EQ(study->table().rowCount(), 0);

    // The runner's rules and messages (tests/study has them all), next to the fields.
    range(1, Control::txt_Lufttemp, "30", "70", "0");
    EXPECT_EQ(shownError(1), parseVariationSpec(Control::txt_Lufttemp, "30:70:0").error);
    EXPECT_EQ(shownError(1), "der SCHRITT ist 0");
    EXPECT_FALSE(button("berechnen")->isEnabled());
    EXPECT_FALSE(study->startStudy());
    EXPECT_EQ(countText(), "keine gültige Studie");
    // A separator in a number is not taken for a list or a range.
    range(1, Control::txt_Lufttemp, "30;40", "70", "5");
    EXPECT_EQ(shownError(1), "VON „30;40“ ist keine Dezimalzahl (z. B. 2,5)");
    range(1, Control::txt_Lufttemp, "30", "70", "10");
    list(2, Control::txt_Dicke, "10;;20");
    EXPECT_EQ(shownError(2), "die Liste enthält einen leeren Wert");
    EXPECT_FALSE(button("berechnen")->isEnabled());

    // The same input twice.
    list(2, Control::txt_Lufttemp, "40;50");
    EXPECT_EQ(shownError(2), "diese Eingabe wird schon oben variiert");
    EXPECT_EQ(shownError(1), "");
    EXPECT_FALSE(button("berechnen")->isEnabled());
    EXPECT_FALSE(study->action("studieSpeichern")->isEnabled());

    // More cases than the window runs.
    range(1, Control::txt_Lufttemp, "0", "100", "0,001");
    list(2, Control::txt_Dicke, "10;20");
    EXPECT_NE(countText().find("200\u202F002 Fälle"), std::string::npos) << countText();
    EXPECT_NE(countText().find("tesmo-gegen-batch"), std::string::npos) << countText();
    EXPECT_FALSE(button("berechnen")->isEnabled());

    // No second input: one curve.
    choose(2, Control::Count);
    in<QComboBox>(2, "feld")->setCurrentIndex(0);
    range(1, Control::txt_Lufttemp, "30", "30", "1");
    EXPECT_EQ(countText(), "1 Fall");
    EXPECT_TRUE(button("berechnen")->isEnabled());
}

TEST_F(StudyWindowTest, TheTableHoldsTheRunnersCasesInCaseOrderInTheWindowsFormats) {
    enterTheStudy();
    EXPECT_EQ(countText(), "9 Fälle");
    ASSERT_TRUE(computeAndWait());
    const ExeResult runner = runBatchExe(std::string(kRunnerStudy) + " --jobs 2");
    EXPECT_EQ(runner.status, 3) << runner.err;
    const std::vector<std::string> rows = lines(runner.out);
    ASSERT_EQ(rows.size(), 10u);
    const std::vector<std::string> names = csvCells(rows[0]);
    const auto cell = [&](const std::vector<std::string>& cells, const std::string& name) {
        const auto at = std::find(names.begin(), names.end(), name);
        return at == names.end() ? std::string("?") : cells[std::size_t(at - names.begin())];
    };

    const qt::StudyTableModel& table = study->table();
    ASSERT_EQ(table.rowCount(), 9);
    ASSERT_EQ(table.columnCount(), 1 + 2 + 1 + int(kResultCount) + 1);
    const auto shown = [&](int row, int column) {
        return table.data(table.index(row, column), Qt::DisplayRole).toString().toStdString();
    };
    const auto head = [&](int column) {
        return table.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString();
    };
    EXPECT_EQ(head(0), "Fall");
    EXPECT_EQ(head(1), "Ablufttemperatur\nin °C");
    EXPECT_EQ(head(2), "Anfangsdicke der Platte\nin mm");
    EXPECT_EQ(head(3), "Ende");
    EXPECT_EQ(head(table.resultColumn(resultIndex("Laufzeit"))), "laufende Zeit\nin hh : mm : ss");
    EXPECT_EQ(head(table.resultColumn(resultIndex("HistIndex"))), "gespeicherte Zeitschritte");
    EXPECT_EQ(head(table.columnCount() - 1), "Meldung");

    const char* temperatures[] = {"30", "40", "50"};
    const char* thicknesses[] = {"4", "6", "x"};
    for (int r = 0; r < 9; ++r) {
        SCOPED_TRACE(r);
        const std::vector<std::string> cells = csvCells(rows[std::size_t(r) + 1]);
        EXPECT_EQ(shown(r, 0), cells[0]);
        EXPECT_EQ(shown(r, 1), temperatures[r / 3]);
        EXPECT_EQ(shown(r, 2), thicknesses[r % 3]);
        const std::string end = cell(cells, "end");
        EXPECT_EQ(shown(r, 3), end == "refused"    ? "abgelehnt"
                               : end == "midplane" ? "Mittelebene erreicht"
                                                   : "Ziel erreicht")
            << end;
        EXPECT_EQ(table.data(table.index(r, 3), Qt::ToolTipRole).toString().toStdString().find(end),
                  std::string("Ergebnistabelle: end = ").size());
        EXPECT_EQ(shown(r, table.columnCount() - 1), cell(cells, "message"));
        for (std::size_t c = 0; c < kResultCount; ++c) {
            const ResultColumn& rc = resultColumns()[c];
            const std::string value = cell(cells, rc.name);
            std::string expected;
            if (!value.empty() && rc.shown == Shown::Number)
                expected = formatNumber(number(value) * rc.scale, rc.pattern);
            else if (!value.empty() && rc.shown == Shown::Time)
                expected = Zeitformat(number(value));
            else if (!value.empty())
                expected = rc.shown == Shown::Count ? value : (value == "1" ? "ja" : "nein");
            EXPECT_EQ(shown(r, table.resultColumn(c)), expected) << rc.name;
        }
    }
    // A refused row carries its message as every cell's tooltip.
    EXPECT_NE(table.data(table.index(2, 5), Qt::ToolTipRole)
                  .toString()
                  .toStdString()
                  .find(cell(csvCells(rows[3]), "message")),
              std::string::npos);

    // Sorted by the drying time, longest first: numerically, the refused cases last.
    QTableView& view = study->tableView();
    const int laufzeit = table.resultColumn(resultIndex("Laufzeit"));
    view.sortByColumn(laufzeit, Qt::DescendingOrder);
    std::vector<double> times;
    for (int r = 0; r < 9; ++r) {
        const QVariant v = view.model()->index(r, laufzeit).data(qt::StudyTableModel::kSortRole);
        if (r < 6)
            times.push_back(v.toDouble());
        else
            EXPECT_FALSE(v.isValid()) << r;
    }
    EXPECT_TRUE(std::is_sorted(times.rbegin(), times.rend()));
    EXPECT_GT(times.front(), times.back());
    // Sorting by the first input keeps the case order among equal temperatures.
    view.sortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), "7");
    EXPECT_EQ(view.model()->index(2, 0).data().toString(), "9");
    EXPECT_EQ(view.model()->index(8, 0).data().toString(), "3");
}

TEST_F(StudyWindowTest, TheChartDrawsOneCurvePerSecondValueAndNamesWhatIsLeftOut) {
    enterTheStudy();
    ASSERT_TRUE(computeAndWait());
    const PlotSpec& spec = study->chart().spec();
    EXPECT_EQ(spec.xTitle, "Ablufttemperatur in °C");
    EXPECT_EQ(spec.yTitle, "laufende Zeit in h");
    ASSERT_EQ(spec.series.size(), 2u);  // thickness "x": every case refused, no curve
    EXPECT_EQ(spec.series[0].label, "Dicke = 4 mm");
    EXPECT_EQ(spec.series[1].label, "Dicke = 6 mm");
    EXPECT_EQ(spec.note, "3 Fälle nicht beendet, nicht gezeigt");
    const auto& rows = study->table().outcomes();
    const std::size_t laufzeit = resultIndex("Laufzeit");
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_TRUE(spec.series[k].markers);
        EXPECT_EQ(spec.series[k].x, (std::vector<double>{30, 40, 50}));
        ASSERT_EQ(spec.series[k].y.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(spec.series[k].y[i], rows[3 * i + k].results[laufzeit] / 3600);
    }
    // Thicker plates dry longer; hotter air dries faster.
    EXPECT_GT(spec.series[1].y[0], spec.series[0].y[0]);
    EXPECT_LT(spec.series[0].y[2], spec.series[0].y[0]);

    // Another result redraws at once.
    study->findChild<QComboBox*>(QStringLiteral("ergebnis"))
        ->setCurrentIndex(int(resultIndex("spezEnergie")));
    EXPECT_EQ(study->chart().spec().yTitle, "mittl. spez. Energiebedarf in kJ/kg H2O");
    EXPECT_EQ(study->chart().spec().series[0].y[0], rows[0].results[resultIndex("spezEnergie")]);
    const QImage drawn = study->chart().grab().toImage();
    EXPECT_GT(drawn.width(), 300);
}

TEST_F(StudyWindowTest, ExportsAreTheRunnersTableAndTheStudyFileRunsInTheRunner) {
    enterTheStudy();
    ASSERT_TRUE(computeAndWait());
    study->tableView().sortByColumn(5, Qt::DescendingOrder);  // the file keeps the case order
    const std::string csv = testFile("studie.csv");
    ASSERT_TRUE(study->exportTable(QString::fromStdString(csv)));
    const ExeResult runner = runBatchExe(std::string(kRunnerStudy) + " --jobs 1");
    EXPECT_EQ(slurp(csv), runner.out);
    // For a German spreadsheet: the runner's --table-format de, byte for byte.
    const std::string german = testFile("studie_de.csv");
    ASSERT_TRUE(study->exportTableGerman(QString::fromStdString(german)));
    EXPECT_EQ(slurp(german),
              runBatchExe(std::string(kRunnerStudy) + " --jobs 1 --table-format de").out);

    // The study file: the runner computes the same table from it.
    const std::string file = testFile("studie.tgstudy");
    ASSERT_TRUE(study->saveStudyAs(QString::fromStdString(file)));
    const std::string table = testFile("aus_datei.csv");
    const ExeResult fromFile = runBatchExe("--study '" + file + "' --table '" + table + "'");
    EXPECT_EQ(fromFile.status, 3) << fromFile.err;
    EXPECT_EQ(slurp(table), slurp(csv));

    // Opened again, after the form was changed: the same study.
    const StudyForm saved = study->setup().form();
    range(1, Control::txt_mue, "10", "20", "5");
    program->client().setText(Control::txt_rhos, "1700");
    study->takeBaseFromMain();
    ASSERT_TRUE(study->openStudy(QString::fromStdString(file)));
    const StudyForm opened = study->setup().form();
    EXPECT_EQ(opened.base.text, saved.base.text);
    for (std::size_t i = 0; i < kFormVariations; ++i)
        EXPECT_EQ(opened.vary[i].spec(), saved.vary[i].spec()) << i;
    EXPECT_EQ(in<QLineEdit>(1, "von")->text(), "30");
    EXPECT_EQ(in<QLineEdit>(2, "werte")->text(), "4; 6;x");
    EXPECT_EQ(countText(), "9 Fälle");

    // The chart as PNG and SVG.
    const std::string png = testFile("diagramm.png"), svg = testFile("diagramm.svg");
    ASSERT_TRUE(study->exportChartPng(QString::fromStdString(png)));
    ASSERT_TRUE(study->exportChartSvg(QString::fromStdString(svg)));
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(960, 600));
    EXPECT_NE(slurp(svg).find("Dicke = 6 mm"), std::string::npos);
    EXPECT_TRUE(messages.empty());

    // Failures are said in German and leave nothing behind.
    EXPECT_FALSE(study->exportTable(QStringLiteral("/nonexistent/folder/t.csv")));
    EXPECT_FALSE(study->saveStudyAs(QStringLiteral("/nonexistent/folder/s.tgstudy")));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("kann nicht gespeichert werden"), std::string::npos) << messages[0];
    spit(file,
         "format = tesmo-gegen-study 1\nvary txt_mue = 1;2\nvary txt_lambda = 1\n"
         "vary txt_Dicke = 3\n");
    EXPECT_FALSE(study->openStudy(QString::fromStdString(file)));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_NE(messages[2].find("höchstens 2"), std::string::npos) << messages[2];
    EXPECT_EQ(countText(), "9 Fälle");  // the form is as it was
}

TEST_F(StudyWindowTest, ADoubleClickedRowGoesIntoTheMainWindowsFields) {
    enterTheStudy();
    ASSERT_TRUE(computeAndWait());
    QTableView& view = study->tableView();
    view.sortByColumn(0, Qt::DescendingOrder);  // case 9 on top: the view's order is not the case's
    const QModelIndex second = view.model()->index(1, 3);  // case 8: 50 °C, 6 mm
    // A double click as the platform delivers it: press, release, then the double click.
    const QPoint at = view.visualRect(second).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
    InputTexts expected = fastInputs();
    expected[Control::txt_Lufttemp] = "50";
    expected[Control::txt_Dicke] = "6";
    EXPECT_EQ(mainTexts().text, expected.text);
    EXPECT_TRUE(questions.empty());
}

TEST_F(StudyWindowTest, AnUnsavedStudyIsOfferedForSavingBeforeItIsReplacedOrTheProgramEnds) {
    std::vector<std::string> asked;
    qt::SaveChoice choice = qt::SaveChoice::Cancel;
    program->setSaveQuestionHook([&](const QString& q) {
        asked.push_back(q.toStdString());
        return choice;
    });
    EXPECT_FALSE(study->hasUnsavedChanges());  // no study entered yet: nothing to keep
    enterTheStudy();
    EXPECT_TRUE(study->hasUnsavedChanges());
    EXPECT_TRUE(study->isWindowModified());
    const QString first = QString::fromStdString(testFile("erste.tgstudy"));
    ASSERT_TRUE(study->saveStudyAs(first));
    EXPECT_FALSE(study->hasUnsavedChanges());
    EXPECT_EQ(study->windowTitle(), "Parameterstudie – " + QFileInfo(first).fileName() + "[*]");
    range(1, Control::txt_Lufttemp, "30", "60", "10");
    EXPECT_TRUE(study->hasUnsavedChanges());

    // Another study opened from the main window: Abbrechen keeps the form, Verwerfen not.
    SavedStudy other;
    other.base = fastInputs();
    other.varied.push_back({Control::txt_mue, "10;20", 0});
    FileProblem problem;
    const QString second = QString::fromStdString(testFile("zweite.tgstudy"));
    ASSERT_TRUE(writeStudyFile(second.toStdString(), other, problem));
    EXPECT_FALSE(program->openFile(second));
    EXPECT_EQ(countText(), "12 Fälle");
    choice = qt::SaveChoice::Discard;
    EXPECT_TRUE(program->openFile(second));
    EXPECT_EQ(countText(), "2 Fälle");
    EXPECT_EQ(study->studyFile(), second);

    // The program's end asks for the study too; Abbrechen keeps both windows open.
    ASSERT_TRUE(program->saveCaseAs(QString::fromStdString(testFile("haupt.tgcase"))));
    list(1, Control::txt_mue, "10;20;30");
    choice = qt::SaveChoice::Cancel;
    EXPECT_FALSE(program->close());
    EXPECT_TRUE(program->isVisible());
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked.back(),
              "Änderungen an „" + QFileInfo(second).fileName().toStdString() + "“ speichern?");
    // Speichern writes the study to its file, and the program ends.
    choice = qt::SaveChoice::Save;
    EXPECT_TRUE(program->close());
    SavedStudy reread;
    ASSERT_TRUE(readStudyFile(second.toStdString(), defaultInputTexts(), reread, problem));
    ASSERT_EQ(reread.varied.size(), 1u);
    EXPECT_EQ(reread.varied[0].range, "10;20;30");
}

TEST_F(StudyWindowTest, TheFormStaysInPlaceWhileItsMessagesComeAndGo) {
    range(1, Control::txt_Lufttemp, "30", "50", "10");
    const auto place = [this](QWidget* w) { return w->mapTo(study, QPoint(0, 0)); };
    const QPoint second = place(editor(2)), start = place(button("berechnen"));
    ASSERT_TRUE(shownError(1).empty());
    for (const char* from : {"x", "60", "30"}) {  // not a number, the wrong way round, fine
        in<QLineEdit>(1, "von")->setText(QString::fromUtf8(from));
        QCoreApplication::processEvents();
        EXPECT_EQ(place(editor(2)), second) << from;
        EXPECT_EQ(place(button("berechnen")), start) << from;
    }
    EXPECT_EQ(study->action("studieOeffnen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(study->action("studieSpeichern")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_TRUE(study->action("schliessen")->shortcuts().contains(QKeySequence("Ctrl+W")));
}

TEST_F(StudyWindowTest, AResultThatDiffersOnlyInItsLastDigitsIsDrawnAndExported) {
    // Over the target water load the air demand per water is the same up to its last bits
    // (52.42488518026569 and 52.4248851802657); its chart once hung the window and the exports.
    list(1, Control::txt_XZiel, "0,04;0,05");
    ASSERT_TRUE(computeAndWait());
    study->findChild<QComboBox*>(QStringLiteral("ergebnis"))
        ->setCurrentIndex(int(resultIndex("LuftWasserVerh")));
    const PlotSpec& spec = study->chart().spec();
    ASSERT_EQ(spec.series.size(), 1u);
    const auto [lo, hi] = std::minmax_element(spec.series[0].y.begin(), spec.series[0].y.end());
    ASSERT_LT(*lo, *hi);                // not one value,
    ASSERT_LT(*hi - *lo, 1e-12 * *hi);  // but values no label can tell apart
    EXPECT_GT(study->chart().grab().toImage().width(), 300);
    const std::string png = testFile("gleich.png"), svg = testFile("gleich.svg");
    EXPECT_TRUE(study->exportChartPng(QString::fromStdString(png)));
    EXPECT_TRUE(study->exportChartSvg(QString::fromStdString(svg)));
    EXPECT_GT(slurp(png).size(), 1000u);
    EXPECT_NE(slurp(svg).find("</svg>"), std::string::npos);
}

TEST_F(StudyWindowTest, WhenTheSystemRefusesAStudyTheWindowSaysWhyAndKeepsItsRows) {
    enterTheStudy();
    ASSERT_TRUE(computeAndWait());
    ASSERT_EQ(study->table().rowCount(), 9);
    const auto status = [&] {
        return study->findChild<QLabel*>(QStringLiteral("status"))->text().toStdString();
    };
    {
        // No thread for the study: nothing starts, the last study's rows stay.
        RefusingSystem refusing(
            {[](unsigned) { throw std::system_error(EAGAIN, std::generic_category()); }, {}});
        QTest::mouseClick(button("berechnen"), Qt::LeftButton);
        EXPECT_FALSE(study->running());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind("Die Studie wurde abgebrochen: Das System hat keinen", 0), 0u)
            << messages[0];
        EXPECT_EQ(study->table().rowCount(), 9);
        EXPECT_TRUE(button("berechnen")->isEnabled());
    }
    messages.clear();
    {
        // No memory for the second worker: the study stops with the rows it has and says why.
        std::atomic<int> allocations{0};
        RefusingSystem refusing({{}, [&] {
                                     if (allocations.fetch_add(1) == 1) throw std::bad_alloc();
                                 }});
        ASSERT_TRUE(computeAndWait());
        if (defaultJobs() < 2) return;  // one worker: its one run state is there
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("Arbeitsspeicher reicht nicht"), std::string::npos);
        EXPECT_LT(study->table().rowCount(), 9);
        EXPECT_EQ(status().rfind("Abgebrochen: ", 0), 0u) << status();
        EXPECT_TRUE(button("berechnen")->isEnabled());
    }
}

}  // namespace
TEST_F(StudyWindowTest, CtrlCCopiesTheSelectedRowsAsShownWithHeadersAndUnits) {
    enterTheStudy();
    ASSERT_TRUE(computeAndWait());
    QTableView& view = study->tableView();
    EXPECT_TRUE(study->selectedRowsText().isEmpty());
    view.selectRow(0);
    view.selectionModel()->select(view.model()->index(2, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(&view, QKeySequence::Copy);
    const QStringList rows =
        QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);
    const QStringList header = rows[0].split(QLatin1Char('\t'));
    EXPECT_EQ(header.size(), view.model()->columnCount());
    EXPECT_EQ(header[0], "Fall");
    EXPECT_TRUE(header.contains(QStringLiteral("laufende Zeit in hh : mm : ss")));
    const QStringList first = rows[1].split(QLatin1Char('\t'));
    ASSERT_EQ(first.size(), header.size());
    for (int c = 0; c < header.size(); ++c)
        EXPECT_EQ(first[c], view.model()->index(0, c).data().toString().trimmed()) << c;
    EXPECT_EQ(rows[2].split(QLatin1Char('\t'))[0], view.model()->index(2, 0).data().toString());
}

}  // namespace tesmo::test
