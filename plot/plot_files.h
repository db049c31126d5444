// A plot as a file: SVG (lines stay polylines, text stays text), PDF (a vector page) or PNG.
// Each is drawn in memory first and then written atomically (files/atomic_file.h), so a failed
// write leaves an existing file as it was. A QGuiApplication must exist (for the fonts).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <string>

#include "plot/plot_spec.h"

namespace tesmo {

// The SVG document of the plot at `size` pixels (96 per inch). Empty when it cannot be drawn:
// no QGuiApplication, or a size without area.
QByteArray plotSvg(const PlotSpec& spec, QSize size);

// The plot laid out for `size` pixels and drawn `pixelRatio` times as fine: an image of
// size·pixelRatio pixels that shows exactly what a window of `size` shows, every line and text
// sharper (its device pixel ratio and resolution say so). Null when it cannot be drawn.
QImage plotImage(const PlotSpec& spec, QSize size, double pixelRatio = 1);

// Write the plot to `path`. On failure return false and, when given, set *error to a German
// sentence that names the file and the reason. The PDF is one landscape A4 page with the plot,
// laid out for `size`, filling the space within the margins.
bool writePlotSvg(const std::string& path, const PlotSpec& spec, QSize size, std::string* error);
bool writePlotPng(const std::string& path, const PlotSpec& spec, QSize size, std::string* error,
                  double pixelRatio = 1);
bool writePlotPdf(const std::string& path, const PlotSpec& spec, QSize size, std::string* error);

}  // namespace tesmo
