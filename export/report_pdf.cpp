#include "export/report_pdf.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "display/control_table.h"
#include "display/display_groups.h"
#include "display/number_format.h"
#include "display/run_control.h"
#include "display/run_end.h"
#include "display/run_record.h"
#include "display/window_base.h"
#include "export/chart_picture.h"
#include "export/qt_look.h"
#include "export/report_sheet.h"
#include "export/run_exports.h"
#include "model/inputs.h"
#include "plot/plot_painter.h"
#include "plot/run_charts.h"
#include "tesmo_version.h"

namespace tesmo::qt {

namespace {

using C = Control;

constexpr double kColumnGapMm = 6.0;
constexpr int kPageCount = 3;
// The numeric diagrams of the third page, laid out at this size in pixels and scaled to the
// page's width.
constexpr double kDiagramWidthPx = 720;
constexpr double kDiagramHeightPx = 290;
constexpr RunChart kReportDiagrams[] = {RunChart::Wasserbeladung, RunChart::Temperaturen,
                                        RunChart::Schwindung};

QString str(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString fieldText(const WindowBase& window, Control field) {
    return str(window.text(field)).trimmed();
}

std::vector<ReportRow> inputRows(const RunControl& run) {
    std::vector<ReportRow> rows;
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        rows.push_back({str(inputCaption(c)).trimmed(), str(run.startTexts()[c]), Qt::black});
    }
    return rows;
}

// What the set-up showed: the four values that stay in their fields, and the wet-bulb
// temperature of the exhaust air that surface and core take at the start.
std::vector<ReportRow> setupRows(const WindowBase& window) {
    std::vector<ReportRow> rows;
    for (Control c :
         {C::txt_XSchwEnde, C::txt_offPoren, C::txt_LuftRohlingVerh, C::txt_LuftWasserVerh})
        rows.push_back({str(fieldCaption(c)).trimmed(), fieldText(window, c), Qt::black});
    const QString wetBulb = str(formatNumber(window.state().thetaKG0, Pattern::F1));
    rows.push_back({QStringLiteral("Oberflächentemperatur beim Start in °C"), wetBulb, Qt::black});
    rows.push_back({QStringLiteral("Kerntemperatur beim Start in °C"), wetBulb, Qt::black});
    return rows;
}

// Every result field the window shows, top to bottom, in its colour.
std::vector<ReportRow> resultRows(const WindowBase& window) {
    std::vector<ReportRow> rows;
    for (int i = 0; i < kOutputCount; ++i) {
        const Control field = controlAt(index(kFirstOutput) + i);
        if (!window.isVisible(field)) continue;
        rows.push_back({str(fieldCaption(field)).trimmed(), fieldText(window, field),
                        toQColor(window.colour(field))});
    }
    return rows;
}

QString waterBalance(const WindowBase& window) {
    if (!window.isVisible(C::txt_Wasserfehler))
        return QStringLiteral(
            "Wasserbilanz: nicht ermittelt, der Lauf endete vor seiner Auswertung.");
    const QString limit = QString::number(kWasserfehlerRot);
    const QString error = fieldText(window, C::txt_Wasserfehler);
    if (window.colour(C::txt_Wasserfehler) == kRed)
        return QStringLiteral(
                   "Wasserbilanz: relativer Wasserfehler %1 %, im Fenster rot – die Bilanz "
                   "des Wassers weicht um mehr als %2 % ab, die Ergebnisse sind ungenau.")
            .arg(error, limit);
    return QStringLiteral(
               "Wasserbilanz: relativer Wasserfehler %1 %, im Fenster blau – die Bilanz des "
               "Wassers ist auf %2 % genau geschlossen.")
        .arg(error, limit);
}

// The warnings the window shows, each as a sentence; none: one sentence that says so.
QStringList warnings(const WindowBase& window) {
    QStringList shown;
    std::vector<Control> labels = {C::lbl_ungenau1, C::lbl_ungenau2, C::lbl_ungenau3};
    std::sort(labels.begin(), labels.end(), [](Control a, Control b) {
        return controlSpec(a).geometry.top < controlSpec(b).geometry.top;
    });
    QStringList advice;
    for (Control c : labels)
        if (window.isVisible(c)) advice << str(controlSpec(c).text);
    if (!advice.isEmpty())
        shown << QStringLiteral("Warnung im Fenster (Wasserfehler über %1 %): „%2“")
                     .arg(QString::number(kWasserfehlerUngenau), advice.join(QLatin1Char(' ')));
    if (window.isVisible(C::lbl_Achtung))
        shown << QStringLiteral(
            "„!“ im Diagramm der Zeitverläufe: Die Temperatur am Trocknungsspiegel war nur mit "
            "sehr vielen Halbierungen zu finden; die Verdunstungsrate ist dort unsicher.");
    if (shown.isEmpty()) shown << QStringLiteral("Das Fenster zeigt keine Warnungen.");
    return shown;
}

bool inputsEditedSinceStart(const WindowBase& window, const RunControl& run) {
    for (int i = 0; i < kInputCount; ++i)
        if (window.text(controlAt(i)) != run.startTexts()[controlAt(i)]) return true;
    return false;
}

void tablesPage(ReportSheet& sheet, const WindowBase& window, const RunControl& run,
                const QDateTime& made, double width) {
    double y = 0;
    y += sheet.title(y, width, QStringLiteral("Bericht über einen Trocknungslauf"),
                     QStringLiteral("Tesmo-Gegen – Konvektionstrocknung einer schwindenden "
                                    "Tonplatte im Gegenstromtrockner"));
    const std::vector<ReportRow> about = {
        {QStringLiteral("Erstellt am"), made.toString(QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'"))},
        {QStringLiteral("Programmversion"), QLatin1String(kProgramVersion)},
        {QStringLiteral("Ende des Laufs"), str(runEndText(window.state().Laufende))},
    };
    y += sheet.facts(y, width, 40, about);
    if (inputsEditedSinceStart(window, run))
        y += sheet.text(40, y, width - 40,
                        QStringLiteral("Die Eingabefelder wurden nach dem Start geändert; der "
                                       "Bericht zeigt die Eingaben, mit denen gerechnet wurde."),
                        reportFont(9, false)) +
             kReportRowGapMm;
    y += 4.0;

    const double column = (width - kColumnGapMm) / 2.0;
    double left =
        y + sheet.table(0, y, column, QStringLiteral("Eingaben beim Start"), inputRows(run));
    left += 4.0;
    left +=
        sheet.table(0, left, column, QStringLiteral("Werte der Einrichtung"), setupRows(window));
    const double right = y + sheet.table(column + kColumnGapMm, y, column,
                                         QStringLiteral("Ergebnisse"), resultRows(window));
    y = std::max(left, right) + 4.0;

    y += sheet.text(0, y, width, QStringLiteral("Wasserbilanz und Warnungen"),
                    reportFont(10.5, true)) +
         1.5;
    y += sheet.text(0, y, width, waterBalance(window), reportFont(9, false)) + 1.0;
    for (const QString& warning : warnings(window))
        y += sheet.text(0, y, width, warning, reportFont(9, false)) + 1.0;
}

void chartsPage(ReportSheet& sheet, const WindowBase& window, double width) {
    double y = 0;
    y += sheet.text(0, y, width, QStringLiteral("Diagramme"), reportFont(13, true)) + 3.0;
    for (Chart chart : {Chart::Ausgabe, Chart::Zeit}) {
        y += sheet.text(0, y, width, str(chartTitle(chart)), reportFont(10.5, true)) + 1.5;
        if (const std::string problem = chartProblem(window, chart); !problem.empty()) {
            y += sheet.text(0, y, width, str(problem), reportFont(9, false)) + 6.0;
            continue;
        }
        const QRect region = chartRegionPixels(chart);
        const double scale = sheet.mm(width) / region.width();
        QPainter& p = sheet.painter();
        p.save();
        p.translate(0, sheet.mm(y));
        p.scale(scale, scale);
        paintChartRegion(p, chart, chartView(window, chart));
        p.restore();
        y += width * region.height() / region.width() + 8.0;
    }
}

// The numeric diagrams of water load, temperatures and shrinkage, with scales and units.
void diagramsPage(ReportSheet& sheet, const WindowBase& window, const RunControl& run,
                  double width) {
    double y = 0;
    y +=
        sheet.text(0, y, width, QStringLiteral("Verläufe mit Maßstab"), reportFont(13, true)) + 1.5;
    y += sheet.text(0, y, width,
                    QStringLiteral("Die Verläufe der zweiten Seite mit Achsen und Einheiten; die "
                                   "Zeit in Stunden. Die Schwindung ist die der Platte: Sie endet "
                                   "bei der linearen Trockenschwindung, sobald die "
                                   "Wasserbeladung unter die des Schwindungsendes fällt."),
                    reportFont(9, false)) +
         3.0;
    const RunRecord record = recordOfRun(window.state(), window.capture(), run.startTexts());
    const std::vector<ChartRun> runs = {{&record, "Lauf", 0}};
    for (RunChart chart : kReportDiagrams)
        y += sheet.plot(0, y, width, runChart(chart, runs),
                        QSizeF(kDiagramWidthPx, kDiagramHeightPx)) +
             5.0;
}

}  // namespace

bool writeReportPdf(QIODevice& device, const WindowBase& window, const RunControl& run,
                    const QDateTime& made) {
    QPdfWriter pdf(&device);
    setUpReport(pdf, QStringLiteral("Bericht über einen Trocknungslauf"));

    const QRectF printable = pdf.pageLayout().paintRect(QPageLayout::Millimeter);
    QPainter p;
    if (!p.begin(&pdf)) return false;
    ReportSheet sheet(p, pdf.resolution() / 25.4);
    tablesPage(sheet, window, run, made, printable.width());
    sheet.footer(printable.width(), printable.height(), 1, kPageCount);
    pdf.newPage();
    chartsPage(sheet, window, printable.width());
    sheet.footer(printable.width(), printable.height(), 2, kPageCount);
    pdf.newPage();
    diagramsPage(sheet, window, run, printable.width());
    sheet.footer(printable.width(), printable.height(), 3, kPageCount);
    return p.end();
}

}  // namespace tesmo::qt
