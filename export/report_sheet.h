// The pages of the program's PDF reports (a run, an uncertainty study, a fit): A4 portrait,
// measured in millimetres from the top left corner of the printable area, real text in Arial,
// tables of rows and of columns, charts as vectors and a footer. A sheet draws, or only measures
// what it would draw (to count the pages before the first one is drawn).
#pragma once

#include <vector>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QSizeF>
#include <QString>

#include "plot/plot_spec.h"

class QPdfWriter;

namespace tesmo::qt {

// The page margins of every report, in mm.
inline constexpr double kReportMarginMm = 15.0;
// The gap between two rows of a table, in mm.
inline constexpr double kReportRowGapMm = 0.7;

// The report's typeface at a size in points.
QFont reportFont(double points, bool bold);

// Sets the writer up for a report: A4 portrait with the report's margins, its title and the
// program as its creator.
void setUpReport(QPdfWriter& pdf, const QString& title);

// One line of a table of rows: the label on the left, the value on the right.
struct ReportRow {
    QString label, value;
    QColor colour = Qt::black;
};

// One column of a table of columns.
struct ReportColumn {
    QString title;
    double width = 20;  // mm
    int align = Qt::AlignLeft;
};

class ReportSheet {
  public:
    ReportSheet(QPainter& p, double dotsPerMm) : p_(p), dotsPerMm_(dotsPerMm) {}

    double mm(double v) const { return v * dotsPerMm_; }
    // Off: nothing is drawn, every function only returns the height it would take.
    void setDrawing(bool drawing) { drawing_ = drawing; }

    // Text wrapped to `width` at (x, y); returns its height.
    double text(double x, double y, double width, const QString& s, const QFont& font,
                const QColor& colour = Qt::black, int align = Qt::AlignLeft);
    // The height `s` takes wrapped to `width`, without drawing it.
    double textHeight(double width, const QString& s, const QFont& font) const;

    // The report's title (16 pt, bold) and below it a line on what it is about, with the gap
    // before what follows; returns the height.
    double title(double y, double width, const QString& title, const QString& about);
    // One line a row: the label, and its value in bold from `labelWidth` on; returns the height.
    double facts(double y, double width, double labelWidth, const std::vector<ReportRow>& rows);

    // A heading over a rule, then one line a row: the label on the left, the value in a column
    // of `valueWidth` on the right. Returns the table's height.
    double table(double x, double y, double width, const QString& heading,
                 const std::vector<ReportRow>& rows, double valueWidth = 21.0);

    // A header row of the columns' titles (bold) over a rule, then one row a line, each cell
    // wrapped to its column. `colours` (may be shorter) colours whole rows. Returns the height.
    double columns(double x, double y, const std::vector<ReportColumn>& columns,
                   const std::vector<std::vector<QString>>& rows,
                   const std::vector<QColor>& colours = {});
    // The height columns() would take.
    double columnsHeight(const std::vector<ReportColumn>& columns,
                         const std::vector<std::vector<QString>>& rows);
    // columns() over `width`, shared by `weights`; the first `leftColumns` aligned left, the
    // others (numbers) right.
    double grid(double x, double y, double width, const std::vector<QString>& header,
                const std::vector<std::vector<QString>>& rows, const std::vector<double>& weights,
                int leftColumns = 1);

    // A plot laid out for `layout` pixels, scaled to `width` mm at (x, y); returns its height.
    double plot(double x, double y, double width, const PlotSpec& spec, QSizeF layout);

    // "Tesmo-Gegen 1.2 – Seite 2 von 3" at the bottom right; without `pageCount` (0) only
    // "Seite 2".
    void footer(double width, double pageHeight, int page, int pageCount = 0);

    QPainter& painter() { return p_; }

  private:
    QPainter& p_;
    double dotsPerMm_;
    bool drawing_ = true;
};

}  // namespace tesmo::qt
