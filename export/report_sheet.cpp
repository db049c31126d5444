#include "export/report_sheet.h"

#include <algorithm>
#include <numeric>

#include "plot/plot_painter.h"
#include "tesmo_version.h"

namespace tesmo::qt {

QFont reportFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double Sheet::text(double x, double y, double width, const QString& s, const QFont& font,
                   const QColor& colour, int align) {
    p_.setFont(font);
    p_.setPen(colour);
    const QRectF area(mm(x), mm(y), mm(width), mm(300));
    const int flags = align | Qt::TextWordWrap;
    QRectF used;
    if (drawing_)
        p_.drawText(area, flags, s, &used);
    else
        used = p_.boundingRect(area, flags, s);
    return used.height() / dotsPerMm_;
}

double Sheet::table(double x, double y, double width, const QString& heading,
                    const std::vector<ReportRow>& rows, double valueWidth) {
    const double top = y;
    y += text(x, y, width, heading, reportFont(10.5, true)) + 0.8;
    if (drawing_) {
        p_.setPen(QPen(Qt::black, mm(0.2)));
        p_.drawLine(QPointF(mm(x), mm(y)), QPointF(mm(x + width), mm(y)));
    }
    y += 1.2;
    const QFont labelFont = reportFont(8.5, false), valueFont = reportFont(8.5, true);
    for (const ReportRow& row : rows) {
        const double labelHeight =
            text(x, y, width - valueWidth - 1.0, row.label, labelFont, row.colour);
        const double valueHeight = text(x + width - valueWidth, y, valueWidth, row.value, valueFont,
                                        row.colour, Qt::AlignRight);
        y += std::max(labelHeight, valueHeight) + kReportRowGapMm;
    }
    return y - top;
}

double Sheet::grid(double x, double y, double width, const std::vector<QString>& header,
                   const std::vector<std::vector<QString>>& rows,
                   const std::vector<double>& weights, int leftColumns) {
    constexpr double kCellGapMm = 1.5;
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<double> left, span;
    double at = x;
    for (double w : weights) {
        left.push_back(at);
        span.push_back(width * w / total - kCellGapMm);
        at += width * w / total;
    }
    const double top = y;
    const auto line = [&](const std::vector<QString>& cells, const QFont& font) {
        double height = 0;
        for (std::size_t c = 0; c < cells.size() && c < left.size(); ++c)
            height = std::max(
                height, text(left[c], y, span[c], cells[c], font, Qt::black,
                             static_cast<int>(c) < leftColumns ? Qt::AlignLeft : Qt::AlignRight));
        y += height + kReportRowGapMm;
    };
    line(header, reportFont(8, true));
    if (drawing_) {
        p_.setPen(QPen(Qt::black, mm(0.2)));
        p_.drawLine(QPointF(mm(x), mm(y - 0.3)), QPointF(mm(x + width), mm(y - 0.3)));
    }
    y += 0.5;
    for (const std::vector<QString>& row : rows)
        line(row, reportFont(8, false));
    return y - top;
}

double Sheet::plot(double x, double y, double width, const PlotSpec& spec, QSizeF layout) {
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

void Sheet::footer(double width, double pageHeight, int page, int pages) {
    text(0, pageHeight - 5.0, width,
         QStringLiteral("Tesmo-Gegen %1 – Seite %2 von %3")
             .arg(QLatin1String(kProgramVersion))
             .arg(page)
             .arg(pages),
         reportFont(7.5, false), Qt::darkGray, Qt::AlignRight);
}

}  // namespace tesmo::qt
