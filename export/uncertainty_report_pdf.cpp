#include "export/uncertainty_report_pdf.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "export/report_sheet.h"
#include "tesmo_version.h"
#include "uq/report.h"
#include "uq/result_texts.h"
#include "uq/uncertainty_charts.h"
#include "uq/uncertainty_form.h"

namespace tesmo::qt {

namespace {

// The charts of a result's page, laid out at this size in pixels and scaled to the page.
constexpr double kChartWidthPx = 720;
constexpr double kChartHeightPx = 430;
constexpr double kSectionGapMm = 4.0;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<QString> cells(const std::vector<std::string>& texts) {
    std::vector<QString> out;
    for (const std::string& t : texts)
        out.push_back(q(t));
    return out;
}

// Pages laid out from top to bottom: a block that does not fit below what stands on a page
// goes to the next one. Laid out once only measuring, to count the pages, then drawn.
class Pages {
  public:
    Pages(ReportSheet& sheet, QPdfWriter& pdf, double width, double height, int count)
        : sheet_(sheet), pdf_(pdf), width_(width), height_(height), count_(count) {}

    ReportSheet& sheet() { return sheet_; }
    double width() const { return width_; }
    double& y() { return y_; }
    int page() const { return page_; }

    // Room for `mm` more on this page, or a new one.
    void need(double mm) {
        if (y_ > 0 && y_ + mm > height_ - kFooterMm) next();
    }
    void next() {
        if (drawing()) {
            sheet_.footer(width_, height_, page_, count_);
            pdf_.newPage();
        }
        ++page_;
        y_ = 0;
    }
    void finish() {
        if (drawing()) sheet_.footer(width_, height_, page_, count_);
    }
    bool drawing() const { return count_ > 0; }

    // A heading and a table of columns kept together where they fit on a page.
    void table(const QString& heading, const TextTable& t, const std::vector<double>& weights,
               int leftColumns = 1) {
        const double height =
            measure([&](double y) { return block(y, heading, t, weights, leftColumns); });
        need(std::min(height, height_ - kFooterMm));
        y_ += block(y_, heading, t, weights, leftColumns) + kSectionGapMm;
    }

    template <class Draw>
    double measure(Draw draw) {
        sheet_.setDrawing(false);
        const double h = draw(y_);
        sheet_.setDrawing(drawing());
        return h;
    }

  private:
    static constexpr double kFooterMm = 9.0;

    double block(double y, const QString& heading, const TextTable& t,
                 const std::vector<double>& weights, int leftColumns) {
        double h = 0;
        if (!heading.isEmpty())
            h += sheet_.text(0, y, width_, heading, reportFont(10.5, true)) + 1.0;
        std::vector<std::vector<QString>> rows;
        for (const auto& r : t.rows)
            rows.push_back(cells(r));
        return h + sheet_.grid(0, y + h, width_, cells(t.header), rows, weights, leftColumns);
    }

    ReportSheet& sheet_;
    QPdfWriter& pdf_;
    double width_, height_;
    int count_;  // 0: measuring only
    int page_ = 1;
    double y_ = 0;
};

QString sampleText(const UncertaintyPlan& plan, const UncertaintyAnalysis& a) {
    QString text = QStringLiteral("%1 Fälle, %2, Startwert %3")
                       .arg(a.cases)
                       .arg(q(std::string(designCaption(plan.design))))
                       .arg(plan.seed);
    text += a.method == IndexMethod::PickFreeze
                ? QStringLiteral("; Indizes nach Pick-Freeze (%1 unabhängige Fälle)")
                      .arg(a.independentCases)
                : QStringLiteral("; Indizes aus einem Polynomchaos-Ersatzmodell");
    return text;
}

// The study, its inputs and what it found, as tables.
void tablesPages(Pages& pages, const UncertaintyPlan& plan, const UncertaintyAnalysis& a,
                 const QString& study, const QDateTime& made) {
    ReportSheet& s = pages.sheet();
    const double width = pages.width();
    double& y = pages.y();
    y += s.title(y, width, QStringLiteral("Bericht über eine Unsicherheitsstudie"),
                 QStringLiteral("Tesmo-Gegen – wie die Streuung der Eingaben die Ergebnisse "
                                "streuen lässt, und welche Eingabe wie viel dazu beiträgt"));
    const std::vector<ReportRow> about = {
        {QStringLiteral("Erstellt am"), made.toString(QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'")),
         Qt::black},
        {QStringLiteral("Programmversion"), QLatin1String(kProgramVersion), Qt::black},
        {QStringLiteral("Studie"), study.isEmpty() ? QStringLiteral("unbenannt") : study,
         Qt::black},
        {QStringLiteral("Stichprobe"), sampleText(plan, a), Qt::black},
        {QStringLiteral("Fälle"), q(casesNote(a)), Qt::black},
    };
    y += s.facts(y, width, 32, about);
    y += kSectionGapMm;

    // The base case in two columns of label and text.
    std::vector<ReportRow> left, right;
    for (int i = 0; i < kInputCount; ++i) {
        const Control f = controlAt(i);
        (i < (kInputCount + 1) / 2 ? left : right)
            .push_back({q(std::string(inputCaption(f))).trimmed(), q(plan.base[f]), Qt::black});
    }
    const double column = (width - 6.0) / 2;
    const double h = std::max(s.table(0, y, column, QStringLiteral("Grundfall"), left, 16.0),
                              s.table(column + 6.0, y, column, QStringLiteral(" "), right, 16.0));
    y += h + kSectionGapMm;

    pages.table(QStringLiteral("Unsichere Eingaben"), inputsTable(plan), {1.1, 1.6, 2.6}, 3);
    for (const CorrelatedNormal& b : plan.correlated) {
        std::vector<double> weights(b.fields.size() + 1, 1.0);
        pages.table(QStringLiteral("Korrelationen der gemeinsam streuenden Eingaben"),
                    correlationTable(b), weights);
    }
    if (a.unfinished.count > 0 && !a.unfinished.regions.empty())
        pages.table(QStringLiteral("Herkunft der nicht fertig gerechneten Fälle (Lage in der "
                                   "Verteilung: 0 % unten, 100 % oben)"),
                    regionsTable(a), {1.2, 1.5, 1.5});
    pages.table(QStringLiteral("Kennwerte der Ergebnisse (95-%-Vertrauensintervalle aus dem "
                               "Bootstrap)"),
                statisticsTable(a), {1.2, 0.6, 0.45, 1.5, 0.7, 1.5, 1.5, 1.5}, 2);
    if (!a.limits.empty())
        pages.table(QStringLiteral("Wahrscheinlichkeit jenseits einer Grenze (95-%-Intervall "
                                   "nach Wilson)"),
                    limitsTable(a), {1.5, 1, 1.6, 1.3});
    for (std::size_t r = 0; r < a.indices.size(); ++r) {
        const QString heading =
            QStringLiteral("Sobol'-Indizes: ") + q(tableCaption(a.indices[r].column));
        const TextTable t = indicesTable(a, r);
        const double noteHeight = pages.measure([&](double at) {
            return s.text(0, at, width, q(indicesNote(a, r)), reportFont(8.5, false));
        });
        pages.need(noteHeight + 12.0);
        y += s.text(0, y, width, heading, reportFont(10.5, true)) + 1.0;
        y += s.text(0, y, width, q(indicesNote(a, r)), reportFont(8.5, false)) + 1.0;
        if (!t.rows.empty()) pages.table({}, t, {2.4, 1.3, 1.3});
        y += 1.0;
    }
}

// A page per analysed result: its histogram and its indices.
void chartPages(Pages& pages, const UncertaintyAnalysis& a) {
    ReportSheet& s = pages.sheet();
    for (std::size_t r = 0; r < a.statistics.size(); ++r) {
        pages.next();
        double& y = pages.y();
        y += s.text(0, y, pages.width(), q(tableCaption(a.statistics[r].column)),
                    reportFont(13, true)) +
             3.0;
        y += s.plot(0, y, pages.width(), histogramChart(a, r),
                    QSizeF(kChartWidthPx, kChartHeightPx)) +
             6.0;
        s.plot(0, y, pages.width(), sobolChart(a, r), QSizeF(kChartWidthPx, kChartHeightPx));
    }
}

}  // namespace

bool writeUncertaintyReportPdf(QIODevice& device, const UncertaintyPlan& plan,
                               const UncertaintyAnalysis& analysis, const QString& study,
                               const QDateTime& made) {
    QPdfWriter pdf(&device);
    setUpReport(pdf, QStringLiteral("Bericht über eine Unsicherheitsstudie"));
    const QRectF printable = pdf.pageLayout().paintRect(QPageLayout::Millimeter);
    QPainter p;
    if (!p.begin(&pdf)) return false;
    ReportSheet sheet(p, pdf.resolution() / 25.4);
    // Once to count the pages, once to draw them.
    sheet.setDrawing(false);
    Pages count(sheet, pdf, printable.width(), printable.height(), 0);
    tablesPages(count, plan, analysis, study, made);
    chartPages(count, analysis);
    sheet.setDrawing(true);
    Pages pages(sheet, pdf, printable.width(), printable.height(), count.page());
    tablesPages(pages, plan, analysis, study, made);
    chartPages(pages, analysis);
    pages.finish();
    return p.end();
}

}  // namespace tesmo::qt
