// The exports of a run from the window: the files themselves, what they hold, and when they
// are refused.
#include <gtest/gtest.h>

#include <sstream>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "batch/batch_run.h"
#include "display/control_table.h"
#include "display/decoration_table.h"
#include "display/headless_window.h"
#include "export/chart_picture.h"
#include "export/qt_look.h"
#include "export/run_exports.h"
#include "tests/gui/qt_support.h"
#include "tests/test_files.h"

namespace tesmo::test {
namespace {

constexpr Chart kCharts[] = {Chart::Ausgabe, Chart::Zeit};

// The text of a PDF as pdftotext lays it out.
QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A label followed, on the same line, by its value.
bool showsRow(const QString& text, const std::string& label, const std::string& value) {
    const QRegularExpression row(
        QRegularExpression::escape(QString::fromUtf8(label).trimmed()) + QStringLiteral(" +") +
            QRegularExpression::escape(QString::fromUtf8(value).trimmed()) +
            QStringLiteral("( |$)"),
        QRegularExpression::MultilineOption);
    return row.match(text).hasMatch();
}

struct SvgContent {
    bool wellFormed = false;
    QString viewBox;
    QString texts;  // every text element, one a line
    long polylines = 0;
    // Of every point of the chart's own polylines (those drawn in the region's coordinates,
    // not the pictures' arrows), in the drawing's coordinates.
    QRectF chartPoints;
};

SvgContent readSvg(const QString& path, QPoint regionTopLeft) {
    QFile file(path);
    SvgContent svg;
    if (!file.open(QIODevice::ReadOnly)) return svg;
    const QString regionShift =
        QStringLiteral("matrix(1,0,0,1,%1,%2)").arg(-regionTopLeft.x()).arg(-regionTopLeft.y());
    QXmlStreamReader xml(&file);
    bool inChart = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        const auto attribute = [&](const char* name) {
            return xml.attributes().value(QLatin1String(name)).toString();
        };
        if (xml.name() == QLatin1String("svg")) {
            svg.viewBox = attribute("viewBox");
        } else if (xml.name() == QLatin1String("g")) {
            inChart = attribute("transform") == regionShift;
        } else if (xml.name() == QLatin1String("text")) {
            svg.texts += xml.readElementText() + QLatin1Char('\n');
        } else if (xml.name() == QLatin1String("polyline")) {
            ++svg.polylines;
            if (!inChart) continue;
            for (const QString& pair :
                 attribute("points").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QStringList xy = pair.split(QLatin1Char(','));
                const QPointF p = QPointF(xy[0].toDouble(), xy[1].toDouble()) - regionTopLeft;
                svg.chartPoints |= QRectF(p, QSizeF(1e-9, 1e-9));
            }
        }
    }
    svg.wellFormed = !xml.hasError();
    return svg;
}

class Exports : public ::testing::Test, public WindowFixture {
  protected:
    QTemporaryDir dir;

    std::string path(const char* name) const {
        return dir.filePath(QString::fromLatin1(name)).toStdString();
    }
    QString file(const QString& name) const { return dir.filePath(name); }

    // A whole run with the fast texts, txt_mue set to a value found nowhere else.
    void runToTheEnd() {
        InputTexts texts = fastInputs();
        texts[Control::txt_mue] = "23";
        type(texts);
        click(Control::cmd_Start);
        ASSERT_EQ(st->Laufende, RunEnd::Midplane);
    }
};

TEST_F(Exports, EachChartIsAPngOfTwiceItsRegionShowingTheDrawing) {
    runToTheEnd();
    const qt::ExportResult result = qt::exportChartsPng(*w, w->runControl(), path("png"));
    ASSERT_TRUE(result) << result.message;
    for (Chart chart : kCharts) {
        const QImage image(
            dir.filePath(QStringLiteral("png/%1.png").arg(qt::chartFileStem(chart))));
        ASSERT_FALSE(image.isNull()) << qt::chartFileStem(chart);
        EXPECT_EQ(image.size(), qt::chartRegionPixels(chart).size() * 2);
        // The profile chart's thick red curve, the time chart's green rate curve.
        const QColor wanted = chart == Chart::Ausgabe ? QColor(255, 0, 0) : QColor(0, 255, 0);
        long found = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                found += QColor(image.pixel(x, y)) == wanted;
        EXPECT_GT(found, 500) << qt::chartFileStem(chart);
    }
}

TEST_F(Exports, SvgDrawsPolylinesInsideTheChartAndItsLegendAsText) {
    runToTheEnd();
    const qt::ExportResult result = qt::exportChartsSvg(*w, w->runControl(), path("svg"));
    ASSERT_TRUE(result) << result.message;
    for (Chart chart : kCharts) {
        const QRect region = qt::chartRegionPixels(chart);
        const SvgContent svg =
            readSvg(dir.filePath(QStringLiteral("svg/%1.svg").arg(qt::chartFileStem(chart))),
                    region.topLeft());
        ASSERT_TRUE(svg.wellFormed) << qt::chartFileStem(chart);
        EXPECT_EQ(svg.viewBox,
                  QStringLiteral("0 0 %1 %2").arg(region.width()).arg(region.height()));
        EXPECT_GT(svg.polylines, 10);
        // The curves are cut to the chart: nothing beyond its frame but half a thick line.
        const Control pic = chart == Chart::Ausgabe ? Control::pic_Ausgabe : Control::pic_Zeit;
        const QRectF frame = QRectF(qt::pxRect(controlSpec(pic).geometry))
                                 .translated(-region.topLeft())
                                 .adjusted(-1, -1, 1, 1);
        EXPECT_TRUE(frame.contains(svg.chartPoints)) << qt::chartFileStem(chart);
        EXPECT_GT(svg.chartPoints.width(), frame.width() * 0.9) << qt::chartFileStem(chart);
        for (const FixedText& t : fixedTexts()) {
            if (inChartRegion(chart, t.geometry)) {
                EXPECT_TRUE(svg.texts.contains(QString::fromUtf8(t.text))) << t.name;
            }
        }
        for (const FixedPicture& p : fixedPictures()) {
            if (inChartRegion(chart, p.geometry)) {
                EXPECT_TRUE(svg.texts.contains(QString::fromUtf8(p.text))) << p.name;
            }
        }
        // The shrinkage arrow Image7 stands beside the profile chart.
        EXPECT_EQ(svg.texts.contains(QStringLiteral("Schwindung\n")), chart == Chart::Ausgabe);
    }
}

TEST_F(Exports, TheReportShowsTheInputsOfTheStartNotOfTheFieldsAndEveryResult) {
    runToTheEnd();
    w->setText(Control::txt_mue, "77");  // edited after the run: not what was computed
    const std::string pdf = path("bericht.pdf");
    const qt::ExportResult result = qt::exportReportPdf(*w, w->runControl(), pdf);
    ASSERT_TRUE(result) << result.message;
    ASSERT_EQ(slurp(pdf).rfind("%PDF-", 0), 0u);
    const QString text = pdfText(QString::fromStdString(pdf));
    const InputTexts& started = w->runControl().startTexts();
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        EXPECT_TRUE(showsRow(text, inputCaption(c), started[c])) << controlName(c);
    }
    EXPECT_TRUE(showsRow(text, inputCaption(Control::txt_mue), "23"));
    EXPECT_FALSE(showsRow(text, inputCaption(Control::txt_mue), "77"));
    EXPECT_TRUE(text.contains(QStringLiteral("nach dem Start geändert")));
    int results = 0;
    for (int i = 0; i < kOutputCount; ++i) {
        const Control field = controlAt(index(kFirstOutput) + i);
        if (!w->isVisible(field)) continue;
        ++results;
        EXPECT_TRUE(showsRow(text, fieldCaption(field), w->text(field))) << controlName(field);
    }
    EXPECT_EQ(results, kOutputCount);
    for (const char* words :
         {"Plattenmitte erreicht", "Wasserbilanz: relativer Wasserfehler",
          "Orts- und zeitabhängige Wasserbeladung", "Trocknungsspiegel", "Seite 2 von 3",
          // the third page: the numeric diagrams with their axes and units
          "Seite 3 von 3", "Verläufe mit Maßstab", "Wasserbeladung der Platte",
          "Wasserbeladung in kg/kg atro", "Temperatur in °C", "lineare Schwindung in %",
          "Zeit in h"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words;
    EXPECT_EQ(text.count(QLatin1Char('\f')), 3);  // three pages
}

TEST_F(Exports, TheReportAndTheTimeChartShowTheWarningsOfTheWindow) {
    InputTexts texts = defaultInputTexts();
    texts[Control::txt_Ortsschrittweite] = "1";  // a coarse grid: water balance off by 10 %
    type(texts);
    click(Control::cmd_Start);
    ASSERT_TRUE(shown(Control::lbl_ungenau1));
    w->setVisible(Control::lbl_Achtung, true);  // no quick run needs that many halvings
    ASSERT_TRUE(qt::exportReportPdf(*w, w->runControl(), path("bericht.pdf")));
    const QString text = pdfText(file(QStringLiteral("bericht.pdf")));
    for (const char* words :
         {"im Fenster rot", "evtl. sehr ungenau !", "Ortsschrittweite vergrößern!",
          "Zeitschrittweite verkleinern od.", "„!“ im Diagramm der Zeitverläufe"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words;
    ASSERT_TRUE(qt::exportChartsSvg(*w, w->runControl(), path("svg")));
    const QRect region = qt::chartRegionPixels(Chart::Zeit);
    EXPECT_TRUE(readSvg(file(QStringLiteral("svg/verlauf.svg")), region.topLeft())
                    .texts.contains(QStringLiteral("!\n")));
}

TEST_F(Exports, HistoriesAreTheRunnersCsv) {
    runToTheEnd();
    const std::string csv = path("fenster.csv");
    ASSERT_TRUE(qt::exportHistoriesCsv(*w, w->runControl(), csv));
    std::vector<std::string> args;
    const InputTexts& started = w->runControl().startTexts();
    for (int i = 0; i < kInputCount; ++i)
        args.push_back(std::string(controlName(controlAt(i))) + "=" + started[controlAt(i)]);
    args.insert(args.end(), {"--csv", path("runner.csv")});
    std::ostringstream out, err;
    ASSERT_EQ(runBatch({args.begin(), args.end()}, out, err), 0) << err.str();
    const std::string window = slurp(csv);
    EXPECT_GT(window.size(), 1000u);
    EXPECT_EQ(window, slurp(path("runner.csv")));
}

TEST_F(Exports, WindowAndHeadlessRunDrawTheSameCharts) {
    runToTheEnd();
    ASSERT_TRUE(qt::exportChartsSvg(*w, w->runControl(), path("window")));
    auto state = std::make_unique<RunState>();
    HeadlessWindow headless(*state);
    headless.setInputTexts(w->runControl().startTexts());
    headless.recordCharts();
    RunControl control(headless);
    control.cmd_Start_Click();
    ASSERT_TRUE(qt::exportChartsSvg(headless, control, path("headless")));
    for (Chart chart : kCharts) {
        const QString name = QString::fromLatin1(qt::chartFileStem(chart)) + ".svg";
        EXPECT_EQ(slurp(file("window/" + name).toStdString()),
                  slurp(file("headless/" + name).toStdString()))
            << qt::chartFileStem(chart);
    }
}

TEST_F(Exports, AChartBeyondTheRecordingsBoundIsRefusedAndTheReportSaysSo) {
    auto state = std::make_unique<RunState>();
    HeadlessWindow headless(*state);
    headless.setInputTexts(fastInputs());
    headless.recordCharts(1000);  // fewer points than the profile curves need
    RunControl control(headless);
    control.cmd_Start_Click();
    ASSERT_FALSE(headless.recording(Chart::Ausgabe)->complete());
    for (const qt::ExportResult& refused : {qt::exportChartsSvg(headless, control, path("svg")),
                                            qt::exportChartsPng(headless, control, path("png"))}) {
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.message.find("„Wasserbeladungsprofile“ hat mehr Linien"),
                  std::string::npos)
            << refused.message;
    }
    EXPECT_FALSE(QDir(file(QStringLiteral("svg"))).exists());
    ASSERT_TRUE(qt::exportReportPdf(headless, control, path("bericht.pdf")));
    EXPECT_TRUE(pdfText(file(QStringLiteral("bericht.pdf")))
                    .contains(QStringLiteral("„Wasserbeladungsprofile“ hat mehr Linien")));
}

TEST_F(Exports, AFileThatCannotBeWrittenIsNamedWithTheReasonAndNothingIsLeft) {
    runToTheEnd();
    const std::string plainFile = path("datei");
    spit(plainFile, "x");
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    struct Case {
        qt::ExportResult result;
        std::string target, reason;
    };
    const Case cases[] = {
        {qt::exportReportPdf(*w, w->runControl(), dir.path().toStdString()),
         dir.path().toStdString(), "der Pfad ist ein Ordner"},
        {qt::exportHistoriesCsv(*w, w->runControl(), path("fehlt/h.csv")), path("fehlt/h.csv"),
         "der Ordner existiert nicht"},
        {qt::exportChartsSvg(*w, w->runControl(), plainFile + "/svg"), plainFile + "/svg",
         "ein Teil des Pfades ist kein Ordner"},
        {qt::exportChartsPng(*w, w->runControl(), plainFile + "/png"), plainFile + "/png",
         "ein Teil des Pfades ist kein Ordner"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.result.ok) << c.target;
        EXPECT_NE(c.result.message.find(c.target), std::string::npos) << c.result.message;
        EXPECT_NE(c.result.message.find(c.reason), std::string::npos) << c.result.message;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    EXPECT_EQ(slurp(plainFile), "x");
}

TEST_F(Exports, AreForAFinishedOrStoppedRunOnly) {
    const std::string pdf = path("bericht.pdf");
    const qt::ExportResult fresh = qt::exportReportPdf(*w, w->runControl(), pdf);
    EXPECT_FALSE(fresh.ok);
    EXPECT_NE(fresh.message.find("keine Ergebnisse"), std::string::npos) << fresh.message;

    type(fastInputs());
    qt::ExportResult during;
    WhenDuringRun stop([this] { return st->Laufzeit > 300; },
                       [&] {
                           during = qt::exportChartsSvg(*w, w->runControl(), path("svg"));
                           click(Control::cmd_Stop);
                       });
    click(Control::cmd_Start);
    ASSERT_TRUE(stop.done());
    EXPECT_FALSE(during.ok);
    EXPECT_NE(during.message.find("Während eines Laufs"), std::string::npos) << during.message;
    EXPECT_FALSE(QDir(file("svg")).exists());

    const qt::ExportResult stopped = qt::exportReportPdf(*w, w->runControl(), pdf);
    ASSERT_TRUE(stopped) << stopped.message;
    const QString text = pdfText(QString::fromStdString(pdf));
    EXPECT_TRUE(text.contains(QStringLiteral("Der Lauf wurde abgebrochen.")));
    EXPECT_TRUE(text.contains(QStringLiteral("nicht ermittelt")));  // no water balance

    click(Control::cmd_Neustart);
    EXPECT_FALSE(qt::exportHistoriesCsv(*w, w->runControl(), path("h.csv")).ok);
}

}  // namespace
}  // namespace tesmo::test
