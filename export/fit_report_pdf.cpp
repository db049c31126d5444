#include "export/fit_report_pdf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "export/report_sheet.h"
#include "files/decimal_number.h"
#include "fit/fit_charts.h"
#include "fit/fit_texts.h"
#include "plot/plot_painter.h"
#include "tesmo_version.h"

namespace tesmo::qt {

namespace {

// Room kept free above the footer.
constexpr double kFooterRoomMm = 9.0;
// The charts, laid out at this size in pixels and scaled to the page's width.
constexpr double kChartWidthPx = 720;
constexpr double kComparisonHeightPx = 310;
constexpr double kResidualHeightPx = 230;

QString str(const std::string& s) {
    return QString::fromStdString(s);
}

// The pages with a cursor: what does not fit on the rest of a page starts the next one.
class Pages {
  public:
    Pages(QPdfWriter& pdf, QPainter& p)
        : pdf_(pdf),
          sheet_(p, pdf.resolution() / 25.4),
          printable_(pdf.pageLayout().paintRect(QPageLayout::Millimeter)) {}

    ReportSheet& sheet() { return sheet_; }
    double width() const { return printable_.width(); }
    double y = 0;

    // Room for `height` mm: a new page when the rest of this one is shorter (and it is not
    // empty: what is taller than a page starts at its top).
    void need(double height) {
        if (y > 0 && y + height > printable_.height() - kFooterRoomMm) next();
    }
    void next() {
        footer();
        pdf_.newPage();
        ++page_;
        y = 0;
    }
    void footer() { sheet_.footer(width(), printable_.height(), page_); }

    double heading(const QString& text) {
        need(20);
        return y += sheet_.text(0, y, width(), text, reportFont(11.5, true)) + 1.5;
    }
    void paragraph(const QString& text, double after = 1.5) {
        need(sheet_.textHeight(width(), text, reportFont(9, false)));
        y += sheet_.text(0, y, width(), text, reportFont(9, false)) + after;
    }
    void columns(const std::vector<ReportColumn>& columns,
                 const std::vector<std::vector<QString>>& rows,
                 const std::vector<QColor>& colours = {}) {
        need(sheet_.columnsHeight(columns, rows));
        y += sheet_.columns(0, y, columns, rows, colours) + 4.0;
    }

  private:
    QPdfWriter& pdf_;
    ReportSheet sheet_;
    QRectF printable_;
    int page_ = 1;
};

QString airText(const InputTexts& t) {
    return QStringLiteral("%1 °C, %2 %")
        .arg(str(t[Control::txt_Lufttemp]).trimmed(), str(t[Control::txt_AbluftFeuchte]).trimmed());
}

QString quantitiesText(const Measurement& m) {
    QStringList names;
    for (const MessgroesseSpec& q : kMessgroessen)
        if (m.misst(q.groesse)) names << QString::fromUtf8(q.spalte.data(), q.spalte.size());
    return names.join(QStringLiteral(", "));
}

void overview(Pages& pages, const FitReportContent& c, const QDateTime& made) {
    ReportSheet& sheet = pages.sheet();
    const double w = pages.width();
    pages.y += sheet.title(pages.y, w, QStringLiteral("Bericht über eine Anpassung an Messungen"),
                           QStringLiteral("Tesmo-Gegen – Eingaben des Modells aus gemessenen "
                                          "Trocknungsverläufen"));
    const FitResult& r = c.result;
    std::vector<ReportRow> about = {
        {QStringLiteral("Erstellt am"), made.toString(QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'"))},
        {QStringLiteral("Programmversion"), QLatin1String(kProgramVersion)},
        {QStringLiteral("Anpassungsdatei"),
         c.fitFile.empty() ? QStringLiteral("nicht gespeichert") : str(c.fitFile)},
        {QStringLiteral("Ergebnis"),
         c.fromFile ? QStringLiteral("aus der Anpassungsdatei gelesen, nicht neu berechnet")
                    : str(endText(r))},
    };
    if (!c.fromFile) about.push_back({QStringLiteral("Aufwand"), str(effortText(r))});
    about.push_back({QStringLiteral("Verglichene Messwerte"), QString::number(r.points)});
    pages.y += sheet.facts(pages.y, w, 45, about);
    pages.y += 4.0;
}

void seriesTable(Pages& pages, const FitReportContent& c) {
    pages.heading(QStringLiteral("Versuchsreihen"));
    const std::vector<ReportColumn> columns = {
        {QStringLiteral("Nr."), 8},         {QStringLiteral("Messdatei"), 36},
        {QStringLiteral("Fall"), 30},       {QStringLiteral("Klima"), 18},
        {QStringLiteral("Abluft"), 22},     {QStringLiteral("Trockenmasse"), 26, Qt::AlignRight},
        {QStringLiteral("Messgrößen"), 26}, {QStringLiteral("Werte"), 14, Qt::AlignRight},
    };
    std::vector<std::size_t> points(c.setup.series.size(), 0);
    for (const MeasuredPoint& p : measuredPoints(c.setup.series).points)
        ++points[p.series];
    std::vector<std::vector<QString>> rows;
    for (std::size_t s = 0; s < c.setup.series.size(); ++s) {
        const MeasuredSeries& series = c.setup.series[s];
        const std::string_view klima = optionWord(series.texts.optionen, RunOption::Klima);
        rows.push_back({QString::number(s + 1), str(series.name),
                        s < c.caseNames.size() ? str(c.caseNames[s]) : QString(),
                        QString::fromUtf8(klima.data(), static_cast<qsizetype>(klima.size())),
                        airText(series.texts),
                        std::isnan(series.trockenmasse_g)
                            ? QStringLiteral("–")
                            : str(exactDecimal(series.trockenmasse_g)) + QStringLiteral(" g"),
                        quantitiesText(series.measurement), QString::number(points[s])});
    }
    pages.columns(columns, rows);
}

void parameterTable(Pages& pages, const FitReportContent& c) {
    pages.heading(QStringLiteral("Angepasste Eingaben"));
    const std::vector<ReportColumn> columns = {
        {QStringLiteral("Eingabe"), 64},
        {QStringLiteral("Wert"), 22, Qt::AlignRight},
        {QStringLiteral("Standardabw."), 24, Qt::AlignRight},
        {QStringLiteral("95-%-Intervall"), 40, Qt::AlignRight},
        {QStringLiteral("durch die Messungen"), 30, Qt::AlignRight},
    };
    std::vector<std::vector<QString>> rows;
    std::vector<QColor> colours;
    for (const ParameterEstimate& p : c.result.parameters) {
        rows.push_back({str(inputLabel(p.field)) + QStringLiteral(" (") +
                            QLatin1String(controlName(p.field)) + QLatin1Char(')'),
                        str(estimateText(p)), str(errorText(p)), str(intervalText(p)),
                        str(determinedText(p))});
        colours.push_back(p.determined ? QColor(Qt::black) : QColor(170, 0, 0));
    }
    pages.columns(columns, rows, colours);
    for (const ParameterEstimate& p : c.result.parameters)
        if (!p.note.empty()) pages.paragraph(str(p.note), 2.0);
    if (c.result.parameters.size() > 0) pages.y += 2.0;
}

void correlationTable(Pages& pages, const FitReportContent& c) {
    const std::size_t m = c.result.parameters.size();
    if (m < 2) return;
    pages.heading(QStringLiteral("Korrelationen"));
    const double first = 36;
    const double each = std::min(24.0, (pages.width() - first) / static_cast<double>(m));
    std::vector<ReportColumn> columns = {{QString(), first}};
    const auto shortName = [](Control f) {
        return QLatin1String(controlName(f)).mid(4);  // without "txt_"
    };
    for (const ParameterEstimate& p : c.result.parameters)
        columns.push_back({shortName(p.field), each, Qt::AlignRight});
    std::vector<std::vector<QString>> rows;
    for (std::size_t i = 0; i < m; ++i) {
        std::vector<QString> row = {shortName(c.result.parameters[i].field)};
        for (std::size_t j = 0; j < m; ++j)
            row.push_back(str(correlationText(c.result.correlationOf(i, j))));
        rows.push_back(std::move(row));
    }
    pages.columns(columns, rows);
}

void residualTable(Pages& pages, const FitReportContent& c) {
    const FitResult& r = c.result;
    pages.heading(QStringLiteral("Abweichungen"));
    if (r.residuals.empty()) {
        pages.paragraph(
            QStringLiteral("Die Abweichungen sind nicht berechnet: das Modell wurde "
                           "mit den angepassten Werten nicht gerechnet."));
        return;
    }
    pages.paragraph(
        QStringLiteral("Quadratisches Mittel der Abweichungen (gerechnet − gemessen) "
                       "je Versuchsreihe und Messgröße."));
    const std::vector<ReportColumn> columns = {
        {QStringLiteral("Versuchsreihe"), 60},
        {QStringLiteral("Messgröße"), 60},
        {QStringLiteral("Werte"), 20, Qt::AlignRight},
        {QStringLiteral("Mittlere Abweichung"), 40, Qt::AlignRight},
    };
    std::vector<std::vector<QString>> rows;
    std::array<bool, kMessgroessenCount> measured{};
    for (const ResidualSummary& s : r.residuals) {
        const MessgroesseSpec& q = messgroesseSpec(s.groesse);
        rows.push_back({str(c.setup.series[s.series].name),
                        QString::fromUtf8(q.bezeichnung.data(), q.bezeichnung.size()),
                        QString::number(s.count), str(rmsText(s.rms, s.groesse))});
        measured[slot(s.groesse)] = true;
    }
    pages.columns(columns, rows);
    if (!c.fromFile) {
        std::vector<std::vector<QString>> noise;
        for (const MessgroesseSpec& q : kMessgroessen)
            if (measured[slot(q.groesse)])
                noise.push_back({QString::fromUtf8(q.bezeichnung.data(), q.bezeichnung.size()),
                                 str(sigmaText(r, q.groesse))});
        pages.columns({{QStringLiteral("Messrauschen, mit dem gewichtet wurde"), 80},
                       {QString(), 60, Qt::AlignRight}},
                      noise);
    }
    if (!r.message.empty()) pages.paragraph(str(r.message));
}

void chartPages(Pages& pages, const FitReportContent& c) {
    const double scale = pages.sheet().mm(pages.width()) / kChartWidthPx;
    const double mmPerPx = pages.width() / kChartWidthPx;
    const double block = (kComparisonHeightPx + kResidualHeightPx) * mmPerPx + 16;
    bool first = true;
    for (Messgroesse g : chartQuantities(c.setup)) {
        if (first) pages.next();  // the charts begin on a page of their own
        first = false;
        pages.need(block);
        pages.heading(str(chartName(g)));
        QPainter& p = pages.sheet().painter();
        const std::pair<PlotSpec, double> charts[] = {
            {comparisonChart(c.setup, c.curves, g), kComparisonHeightPx},
            {residualChart(c.setup, c.result, g), kResidualHeightPx},
        };
        for (const auto& [spec, height] : charts) {
            p.save();
            p.translate(0, pages.sheet().mm(pages.y));
            p.scale(scale, scale);
            paintPlot(p, QRectF(0, 0, kChartWidthPx, height), spec);
            p.restore();
            pages.y += height * mmPerPx + 3.0;
        }
        pages.y += 4.0;
    }
}

}  // namespace

bool writeFitReportPdf(QIODevice& device, const FitReportContent& content, const QDateTime& made) {
    QPdfWriter pdf(&device);
    setUpReport(pdf, QStringLiteral("Bericht über eine Anpassung an Messungen"));
    QPainter p;
    if (!p.begin(&pdf)) return false;
    Pages pages(pdf, p);
    overview(pages, content, made);
    seriesTable(pages, content);
    parameterTable(pages, content);
    correlationTable(pages, content);
    residualTable(pages, content);
    chartPages(pages, content);
    pages.footer();
    return p.end();
}

}  // namespace tesmo::qt
