#include "export/report_sheet.h"

#include <algorithm>

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "tesmo_version.h"

namespace tesmo::qt {

namespace {

constexpr double kCellGapMm = 1.5;
// Wide enough for any text a report wraps: only its width matters.
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
    QRectF used;
    p_.drawText(QRectF(mm(x), mm(y), mm(width), mm(kTallMm)), align | Qt::TextWordWrap, s, &used);
    return used.height() / dotsPerMm_;
}

double ReportSheet::textHeight(double width, const QString& s, const QFont& font) const {
    p_.setFont(font);
    const QRectF used =
        p_.boundingRect(QRectF(0, 0, mm(width), mm(kTallMm)), Qt::AlignLeft | Qt::TextWordWrap, s);
    return used.height() / dotsPerMm_;
}

double ReportSheet::table(double x, double y, double width, const QString& heading,
                          const std::vector<ReportRow>& rows, double valueWidth) {
    const double top = y;
    y += text(x, y, width, heading, reportFont(10.5, true)) + 0.8;
    p_.setPen(QPen(Qt::black, mm(0.2)));
    p_.drawLine(QPointF(mm(x), mm(y)), QPointF(mm(x + width), mm(y)));
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
    p_.setPen(QPen(Qt::black, mm(0.2)));
    p_.drawLine(QPointF(mm(x), mm(y)), QPointF(mm(x + width), mm(y)));
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
                                  const std::vector<std::vector<QString>>& rows) const {
    double header = 0;
    for (const ReportColumn& c : cols)
        header = std::max(header, textHeight(c.width - kCellGapMm, c.title, headerFont()));
    double y = header + 2.0;
    for (const std::vector<QString>& row : rows) {
        double height = 0;
        for (std::size_t c = 0; c < cols.size() && c < row.size(); ++c)
            height = std::max(height, textHeight(cols[c].width - kCellGapMm, row[c], cellFont()));
        y += height + kReportRowGapMm;
    }
    return y;
}

void ReportSheet::footer(double width, double pageHeight, int page, int pageCount) {
    const QString where = pageCount > 0 ? QStringLiteral("Seite %1 von %2").arg(page).arg(pageCount)
                                        : QStringLiteral("Seite %1").arg(page);
    text(0, pageHeight - 5.0, width,
         QStringLiteral("Tesmo-Gegen %1 – %2").arg(QLatin1String(kProgramVersion), where),
         reportFont(7.5, false), Qt::darkGray, Qt::AlignRight);
}

}  // namespace tesmo::qt
