// A plot as a file: SVG (lines stay polylines, text stays text) or PNG. Both are drawn in
// memory first and then written atomically (files/atomic_file.h), so a failed write leaves an
// existing file as it was. A QGuiApplication must exist (for the fonts).
#pragma once

#include <QByteArray>
#include <QSize>
#include <string>

#include "plot/plot_spec.h"

namespace tesmo {

// The SVG document of the plot at `size` pixels (96 per inch). Empty when it cannot be drawn:
// no QGuiApplication, or a size without area.
QByteArray plotSvg(const PlotSpec& spec, QSize size);

// Write the plot to `path`. On failure return false and, when given, set *error to a German
// sentence that names the file and the reason.
bool writePlotSvg(const std::string& path, const PlotSpec& spec, QSize size, std::string* error);
bool writePlotPng(const std::string& path, const PlotSpec& spec, QSize size, std::string* error);

}  // namespace tesmo
