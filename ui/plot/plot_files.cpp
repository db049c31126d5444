#include "ui/plot/plot_files.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <string_view>

#include "files/atomic_file.h"
#include "ui/plot/plot_painter.h"

namespace tesmo {

namespace {

constexpr int kSvgResolution = 96;  // dots per inch: the SVG's user units are CSS pixels

bool fail(std::string* error, const std::string& path, const std::string& reason) {
    if (error) *error = "Die Datei „" + path + "“ konnte nicht geschrieben werden: " + reason + ".";
    return false;
}

bool haveApplication(std::string* error, const std::string& path) {
    if (QGuiApplication::instance() != nullptr) return true;
    return fail(error, path, "ohne Qt-Anwendung lässt sich keine Schrift messen");
}

bool write(const std::string& path, const QByteArray& content, std::string* error) {
    WriteFailure failure;
    if (writeFileAtomically(path, std::string_view(content.constData(), content.size()), &failure))
        return true;
    return fail(error, path, reasonText(failure));
}

}  // namespace

QByteArray plotSvg(const PlotSpec& spec, QSize size) {
    if (QGuiApplication::instance() == nullptr) return {};
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(kSvgResolution);
    generator.setTitle(QString::fromStdString(spec.title));
    QPainter painter(&generator);
    paintPlot(painter, QRectF(QPointF(0, 0), QSizeF(size)), spec);
    painter.end();
    return content;
}

bool writePlotSvg(const std::string& path, const PlotSpec& spec, QSize size, std::string* error) {
    if (!haveApplication(error, path)) return false;
    return write(path, plotSvg(spec, size), error);
}

bool writePlotPng(const std::string& path, const PlotSpec& spec, QSize size, std::string* error) {
    if (!haveApplication(error, path)) return false;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintPlot(painter, QRectF(QPointF(0, 0), QSizeF(size)), spec);
    }
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return fail(error, path, "das Bild ließ sich nicht kodieren");
    return write(path, content, error);
}

}  // namespace tesmo
