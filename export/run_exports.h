// The exports of a run: both charts as PNG or as SVG, the ten time histories as CSV, a report
// as PDF, and the numeric diagrams as SVG and PNG. The window's menu "Datei → Exportieren" and
// the headless runner call these.
//
// Exports are for a run that has finished or was stopped: during a run, in a pause, before the
// first run and after "Nochmal !" they are refused. Every file is written whole or not at all
// (a temporary file beside the target, then renamed over it), so that a failed export leaves no
// half-written file and an existing file as it was. Painting needs a QGuiApplication.
#pragma once

#include <functional>
#include <string>

#include "display/chart_canvas.h"
#include "files/table_format.h"

class QIODevice;

namespace tesmo {
class RunControl;
class WindowBase;
}  // namespace tesmo

namespace tesmo::qt {

// Success, or a German message for the user that says what was not written and why, naming
// the file or folder.
struct ExportResult {
    bool ok = true;
    std::string message;
    explicit operator bool() const { return ok; }
};

// Writes what `render` puts on a device into `path`, atomically: straight into the temporary
// file beside the target, so that a large drawing is not held in memory once more. A message
// naming the file when it cannot be written (or `render` fails).
ExportResult writeThrough(const std::string& path, const std::function<bool(QIODevice&)>& render);
// Creates the folder (and those above it) where it does not exist.
ExportResult makeFolder(const std::string& folder);

// The names of a chart's files in an export folder: "profil" (the water-load profiles) and
// "verlauf" (the time histories), with ".png" or ".svg".
const char* chartFileStem(Chart chart);
// The chart's title for headings and messages, e.g. "Wasserbeladungsprofile".
const char* chartTitle(Chart chart);
// Why the window's drawing of a chart cannot be exported (not recorded, or more than its
// recording could keep), in German; empty when it can.
std::string chartProblem(const WindowBase& window, Chart chart);

// Both charts with their axis texts, pictures and legends, each as its own PNG of twice the
// window's pixel size: folder/profil.png and folder/verlauf.png. The folder is created where
// it does not exist.
ExportResult exportChartsPng(const WindowBase& window, const RunControl& run,
                             const std::string& folder);
// The same as vector drawings, folder/profil.svg and folder/verlauf.svg: lines are polylines,
// texts are text.
ExportResult exportChartsSvg(const WindowBase& window, const RunControl& run,
                             const std::string& folder);
// The ten time histories with the texts the run started from, as the runner's --csv writes
// them: for programs, or (exportHistoriesCsvGerman) for a German spreadsheet.
ExportResult exportHistoriesCsv(const WindowBase& window, const RunControl& run,
                                const std::string& path);
ExportResult exportHistoriesCsvGerman(const WindowBase& window, const RunControl& run,
                                      const std::string& path);
// A German report on A4: the run's inputs as read at Start, the set-up values, every result
// the window shows, its warnings and the water-balance error on the first page; both charts
// as vectors with their legends on the second; the numeric diagrams of water load,
// temperatures and shrinkage on the third.
ExportResult exportReportPdf(const WindowBase& window, const RunControl& run,
                             const std::string& path);
// Every numeric diagram of the run (plot/run_charts.h) as SVG and as PNG at twice its size:
// folder/wasserbeladung.svg, folder/wasserbeladung.png, … The folder is created where it does
// not exist. Profiles and the exact record times need the window to have kept them
// (WindowBase::setCapture).
ExportResult exportRunDiagrams(const WindowBase& window, const RunControl& run,
                               const std::string& folder);
// The size the numeric diagrams are laid out for in files, in pixels.
inline constexpr int kDiagramFileWidth = 960;
inline constexpr int kDiagramFileHeight = 600;

}  // namespace tesmo::qt
