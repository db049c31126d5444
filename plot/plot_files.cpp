#include "plot/plot_files.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "files/atomic_file.h"
#include "plot/plot_painter.h"

namespace tesmo {

namespace {

constexpr int kSvgResolution = 96;  // dots per inch: the SVG's user units are CSS pixels
constexpr double kInchesPerMetre = 1.0 / 0.0254;
constexpr double kPdfMarginMm = 15.0;

bool fail(std::string* error, const std::string& path, const std::string& reason) {
    if (error) *error = "Die Datei „" + path + "“ konnte nicht geschrieben werden: " + reason + ".";
    return false;
}

// What keeps a plot from being drawn at all; empty when it can be.
std::string cannotDraw(QSize size) {
    if (QGuiApplication::instance() == nullptr)
        return "ohne Qt-Anwendung lässt sich keine Schrift messen";
    if (size.isEmpty()) return "ein Bild ohne Fläche lässt sich nicht zeichnen";
    return {};
}

bool write(const std::string& path, const QByteArray& content, std::string* error) {
    WriteFailure failure;
    if (writeFileAtomically(path, std::string_view(content.constData(), content.size()), &failure))
        return true;
    return fail(error, path, reasonText(failure));
}

}  // namespace

QByteArray plotSvg(const PlotSpec& spec, QSize size) {
    if (!cannotDraw(size).empty()) return {};
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(kSvgResolution);
    generator.setTitle(QString::fromStdString(spec.title));
    QPainter painter;
    if (!painter.begin(&generator)) return {};
    paintPlot(painter, QRectF(QPointF(0, 0), QSizeF(size)), spec);
    if (!painter.end()) return {};
    return content;
}

bool writePlotSvg(const std::string& path, const PlotSpec& spec, QSize size, std::string* error) {
    if (const std::string why = cannotDraw(size); !why.empty()) return fail(error, path, why);
    const QByteArray content = plotSvg(spec, size);
    if (content.isEmpty()) return fail(error, path, "das Bild ließ sich nicht zeichnen");
    return write(path, content, error);
}

QImage plotImage(const PlotSpec& spec, QSize size, double pixelRatio) {
    if (!cannotDraw(size).empty() || !(pixelRatio > 0)) return {};
    const QSize pixels(static_cast<int>(std::ceil(size.width() * pixelRatio)),
                       static_cast<int>(std::ceil(size.height() * pixelRatio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(pixelRatio * kSvgResolution * kInchesPerMetre + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter painter;
        if (!painter.begin(&image)) return {};
        painter.scale(pixelRatio, pixelRatio);
        paintPlot(painter, QRectF(QPointF(0, 0), QSizeF(size)), spec);
    }
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

bool writePlotPng(const std::string& path, const PlotSpec& spec, QSize size, std::string* error,
                  double pixelRatio) {
    if (const std::string why = cannotDraw(size); !why.empty()) return fail(error, path, why);
    const QImage image = plotImage(spec, size, pixelRatio);
    if (image.isNull()) return fail(error, path, "für das Bild reicht der Speicher nicht");
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return fail(error, path, "das Bild ließ sich nicht kodieren");
    return write(path, content, error);
}

bool writePlotPdf(const std::string& path, const PlotSpec& spec, QSize size, std::string* error) {
    if (const std::string why = cannotDraw(size); !why.empty()) return fail(error, path, why);
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                        QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                        QPageLayout::Millimeter));
        pdf.setTitle(QString::fromStdString(spec.title));
        pdf.setCreator(QStringLiteral("Tesmo-Gegen"));
        const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        QPainter painter;
        if (!painter.begin(&pdf)) return fail(error, path, "das Bild ließ sich nicht zeichnen");
        // Laid out for `size`, then scaled as a whole onto the page: the plot keeps its
        // proportions of lines to texts.
        const double scale = std::min(page.width() / size.width(), page.height() / size.height());
        painter.scale(scale, scale);
        paintPlot(painter, QRectF(QPointF(0, 0), QSizeF(size)), spec);
        if (!painter.end()) return fail(error, path, "das Bild ließ sich nicht zeichnen");
    }
    return write(path, content, error);
}

}  // namespace tesmo
