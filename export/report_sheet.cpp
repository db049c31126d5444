#include "export/report_sheet.h"

#include <algorithm>
#include <numeric>

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "plot/plot_painter.h"
#include "tesmo_version.h"

namespace tesmo::qt {

namespace {

constexpr double kCellGapMm = 1.5;
// Taller than any text a report wraps: only its width matters.
constexpr double kTallMm = 300;

QFont headerFont() {
    return reportFont(8.5, true);
}
QFont cellFont() {
    return reportFont(8.5, false);
}

}  // namespace

QFont reportFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setUpReport(QPdfWriter& pdf, const QString& title) {
    pdf.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(kReportMarginMm, kReportMarginMm, kReportMarginMm, kReportMarginMm),
                    QPageLayout::Millimeter));
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Tesmo-Gegen %1").arg(QLatin1String(kProgramVersion)));
}

double ReportSheet::text(double x, double y, double width, const QString& s, const QFont& font,
                         const QColor& colour, int align) {
    p_.setFont(font);
    p_.setPen(colour);
    const QRectF area(mm(x), mm(y), mm(width), mm(kTallMm));
    const int flags = align | Qt::TextWordWrap;
    QRectF used;
    if (drawing_)
        p_.drawText(area, flags, s, &used);
    else
        used = p_.boundingRect(area, flags, s);
    return used.height() / dotsPerMm_;
}

double ReportSheet::textHeight(double width, const QString& s, const QFont& font) const {
    p_.setFont(font);
    const QRectF used =
        p_.boundingRect(QRectF(0, 0, mm(width), mm(kTallMm)), Qt::AlignLeft | Qt::TextWordWrap, s);
    return used.height() / dotsPerMm_;
}

double ReportSheet::title(double y, double width, const QString& title, const QString& about) {
    const double top = y;
    y += text(0, y, width, title, reportFont(16, true));
    y += text(0, y, width, about, reportFont(10, false)) + 3.0;
    return y - top;
}

double ReportSheet::facts(double y, double width, double labelWidth,
                          const std::vector<ReportRow>& rows) {
    const double top = y;
    for (const ReportRow& row : rows) {
        text(0, y, labelWidth, row.label, reportFont(9, false));
        y += text(labelWidth, y, width - labelWidth, row.value, reportFont(9, true)) +
             kReportRowGapMm;
    }
    return y - top;
}

double ReportSheet::table(double x, double y, double width, const QString& heading,
                          const std::vector<ReportRow>& rows, double valueWidth) {
    const double top = y;
    y += text(x, y, width, heading, reportFont(10.5, true)) + 0.8;
    if (drawing_) {
        p_.setPen(QPen(Qt::black, mm(0.2)));
        p_.drawLine(QPointF(mm(x), mm(y)), QPointF(mm(x + width), mm(y)));
    }
    y += 1.2;
    const QFont labelFont = cellFont(), valueFont = reportFont(8.5, true);
    for (const ReportRow& row : rows) {
        const double labelHeight =
            text(x, y, width - valueWidth - 1.0, row.label, labelFont, row.colour);
        const double valueHeight = text(x + width - valueWidth, y, valueWidth, row.value, valueFont,
                                        row.colour, Qt::AlignRight);
        y += std::max(labelHeight, valueHeight) + kReportRowGapMm;
    }
    return y - top;
}

double ReportSheet::columns(double x, double y, const std::vector<ReportColumn>& cols,
                            const std::vector<std::vector<QString>>& rows,
                            const std::vector<QColor>& colours) {
    const double top = y;
    double width = 0, header = 0, left = x;
    for (const ReportColumn& c : cols) {
        header = std::max(
            header, text(left, y, c.width - kCellGapMm, c.title, headerFont(), Qt::black, c.align));
        left += c.width;
        width += c.width;
    }
    y += header + 0.8;
    if (drawing_) {
        p_.setPen(QPen(Qt::black, mm(0.2)));
        p_.drawLine(QPointF(mm(x), mm(y)), QPointF(mm(x + width), mm(y)));
    }
    y += 1.2;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QColor colour = r < colours.size() ? colours[r] : QColor(Qt::black);
        double height = 0;
        left = x;
        for (std::size_t c = 0; c < cols.size() && c < rows[r].size(); ++c) {
            height = std::max(height, text(left, y, cols[c].width - kCellGapMm, rows[r][c],
                                           cellFont(), colour, cols[c].align));
            left += cols[c].width;
        }
        y += height + kReportRowGapMm;
    }
    return y - top;
}

double ReportSheet::columnsHeight(const std::vector<ReportColumn>& cols,
                                  const std::vector<std::vector<QString>>& rows) {
    const bool drawing = drawing_;
    drawing_ = false;
    const double height = columns(0, 0, cols, rows);
    drawing_ = drawing;
    return height;
}

double ReportSheet::grid(double x, double y, double width, const std::vector<QString>& header,
                         const std::vector<std::vector<QString>>& rows,
                         const std::vector<double>& weights, int leftColumns) {
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<ReportColumn> cols;
    for (std::size_t c = 0; c < weights.size(); ++c)
        cols.push_back({c < header.size() ? header[c] : QString(), width * weights[c] / total,
                        static_cast<int>(c) < leftColumns ? Qt::AlignLeft : Qt::AlignRight});
    return columns(x, y, cols, rows);
}

double ReportSheet::plot(double x, double y, double width, const PlotSpec& spec, QSizeF layout) {
    if (drawing_) {
        const double scale = mm(width) / layout.width();
        p_.save();
        p_.translate(mm(x), mm(y));
        p_.scale(scale, scale);
        paintPlot(p_, QRectF(QPointF(0, 0), layout), spec);
        p_.restore();
    }
    return width * layout.height() / layout.width();
}

void ReportSheet::footer(double width, double pageHeight, int page, int pageCount) {
    const QString where = pageCount > 0 ? QStringLiteral("Seite %1 von %2").arg(page).arg(pageCount)
                                        : QStringLiteral("Seite %1").arg(page);
    text(0, pageHeight - 5.0, width,
         QStringLiteral("Tesmo-Gegen %1 – %2").arg(QLatin1String(kProgramVersion), where),
         reportFont(7.5, false), Qt::darkGray, Qt::AlignRight);
}

}  // namespace tesmo::qt
