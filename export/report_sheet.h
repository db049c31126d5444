// The pages of the program's PDF reports: A4 portrait, measured in millimetres from the top
// left corner of the printable area, real text in Arial and charts as vectors. A sheet draws,
// or only measures what it would draw (to count the pages before the first one is drawn).
#pragma once

#include <vector>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QSizeF>
#include <QString>

#include "plot/plot_spec.h"

namespace tesmo::qt {

// The page margins of every report, in mm.
inline constexpr double kReportMarginMm = 15.0;
// The gap between two rows of a table, in mm.
inline constexpr double kReportRowGapMm = 0.7;

QFont reportFont(double points, bool bold);

struct ReportRow {
    QString label, value;
    QColor colour;
};

class Sheet {
  public:
    Sheet(QPainter& p, double dotsPerMm) : p_(p), dotsPerMm_(dotsPerMm) {}

    double mm(double v) const { return v * dotsPerMm_; }
    // Off: nothing is drawn, every function only returns the height it would take.
    void setDrawing(bool drawing) { drawing_ = drawing; }

    // Text wrapped to `width` at (x, y); returns its height.
    double text(double x, double y, double width, const QString& s, const QFont& font,
                const QColor& colour = Qt::black, int align = Qt::AlignLeft);

    // A heading over a rule, then one line a row: the label on the left, the value on the
    // right in a column `valueWidth` wide.
    double table(double x, double y, double width, const QString& heading,
                 const std::vector<ReportRow>& rows, double valueWidth = 21.0);

    // A table of columns: the header in bold over a rule, then the rows, each cell wrapped to
    // its column. Columns share the width by `weights`; the first `leftColumns` are aligned
    // left, the others (numbers) right.
    double grid(double x, double y, double width, const std::vector<QString>& header,
                const std::vector<std::vector<QString>>& rows, const std::vector<double>& weights,
                int leftColumns = 1);

    // A plot laid out for `layout` pixels, scaled to `width` mm at (x, y); returns its height.
    double plot(double x, double y, double width, const PlotSpec& spec, QSizeF layout);

    // "Tesmo-Gegen 1.2.3 – Seite 2 von 5" at the foot of the page.
    void footer(double width, double pageHeight, int page, int pages);

    QPainter& painter() { return p_; }

  private:
    QPainter& p_;
    double dotsPerMm_;
    bool drawing_ = true;
};

}  // namespace tesmo::qt
