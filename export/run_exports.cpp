#include "export/run_exports.h"

#include <filesystem>
#include <system_error>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "display/run_control.h"
#include "display/run_record.h"
#include "display/window_base.h"
#include "export/chart_picture.h"
#include "export/report_pdf.h"
#include "files/atomic_file.h"
#include "files/history_csv.h"
#include "plot/plot_files.h"
#include "plot/run_charts.h"
#include "tesmo_version.h"

namespace tesmo::qt {

namespace {

constexpr Chart kCharts[] = {Chart::Ausgabe, Chart::Zeit};
constexpr int kPngScale = 2;         // PNG pixels per window pixel
constexpr double kWindowDpi = 96.0;  // window pixels per inch
constexpr double kInchesPerMetre = 1.0 / 0.0254;

ExportResult failed(std::string message) {
    return {false, std::move(message)};
}

// Why the window's state gives nothing to export, or "" when it does.
std::string refusal(const WindowBase& window, const RunControl& run, bool needsCharts) {
    if (run.running())
        return "Während eines Laufs wird nichts exportiert. Bitte das Ende des Laufs abwarten "
               "oder ihn mit Stop beenden.";
    if (!run.resultsShown())
        return "Es gibt keine Ergebnisse zum Exportieren. Bitte zuerst mit Start einen Lauf "
               "rechnen.";
    if (!needsCharts) return {};
    for (Chart chart : kCharts)
        if (std::string why = chartProblem(window, chart); !why.empty()) return why;
    return {};
}

ExportResult notWritten(const std::string& path, const WriteFailure& failure) {
    return failed("Die Datei " + path + " konnte nicht geschrieben werden: " + reasonText(failure) +
                  ".");
}

bool writeChartPng(QIODevice& device, Chart chart, const ChartView& view) {
    const QRect region = chartRegionPixels(chart);
    QImage image(region.size() * kPngScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(kPngScale * kWindowDpi * kInchesPerMetre + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kPngScale, kPngScale);
        paintChartRegion(p, chart, view);
    }
    return image.save(&device, "PNG");
}

bool writeChartSvg(QIODevice& device, Chart chart, const ChartView& view) {
    const QRect region = chartRegionPixels(chart);
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setResolution(static_cast<int>(kWindowDpi));
    svg.setSize(region.size());
    svg.setViewBox(QRect(QPoint(0, 0), region.size()));
    svg.setTitle(QString::fromUtf8(chartTitle(chart)));
    svg.setDescription(QStringLiteral("Tesmo-Gegen %1").arg(QLatin1String(kProgramVersion)));
    QPainter p;
    if (!p.begin(&svg)) return false;
    paintChartRegion(p, chart, view);
    return p.end();
}

// Both charts, each written by `write`, into folder/<stem><suffix>.
template <class Write>
ExportResult exportCharts(const WindowBase& window, const RunControl& run,
                          const std::string& folder, const char* suffix, Write write) {
    if (std::string why = refusal(window, run, true); !why.empty()) return failed(std::move(why));
    if (ExportResult made = makeFolder(folder); !made) return made;
    for (Chart chart : kCharts) {
        const ChartView view = chartView(window, chart);
        const std::string path = folder + "/" + chartFileStem(chart) + suffix;
        const ExportResult written =
            writeThrough(path, [&](QIODevice& device) { return write(device, chart, view); });
        if (!written) return written;
    }
    return {};
}

ExportResult exportHistories(const WindowBase& window, const RunControl& run,
                             const std::string& path, TableFormat format) {
    if (std::string why = refusal(window, run, false); !why.empty()) return failed(std::move(why));
    WriteFailure failure;
    if (writeHistoriesCsv(path, window.state(), run.startTexts(), format, &failure)) return {};
    return notWritten(path, failure);
}

}  // namespace

ExportResult writeThrough(const std::string& path, const std::function<bool(QIODevice&)>& render) {
    WriteFailure failure;
    const bool written = writeFileAtomically(
        path,
        [&render](std::FILE* out) {
            QFile device;
            if (!device.open(out, QIODevice::WriteOnly)) return false;
            const bool rendered = render(device);
            device.close();  // hands the buffered bytes on; the handle stays open
            return rendered && device.error() == QFileDevice::NoError;
        },
        &failure);
    if (written) return {};
    return notWritten(path, failure);
}

ExportResult makeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error) return {};
    return failed("Der Ordner " + folder + " konnte nicht angelegt werden: " +
                  reasonText(WriteFailure{error.value(), folder, "create"}) + ".");
}

const char* chartFileStem(Chart chart) {
    return chart == Chart::Ausgabe ? "profil" : "verlauf";
}

const char* chartTitle(Chart chart) {
    return chart == Chart::Ausgabe ? "Wasserbeladungsprofile" : "Zeitverläufe";
}

std::string chartProblem(const WindowBase& window, Chart chart) {
    const DisplayList* drawing = window.recording(chart);
    if (!drawing)
        return std::string("Das Diagramm „") + chartTitle(chart) +
               "“ wurde nicht aufgezeichnet und lässt sich nicht exportieren.";
    if (!drawing->complete())
        return std::string("Das Diagramm „") + chartTitle(chart) +
               "“ hat mehr Linien, als für den Export festgehalten werden können; es lässt sich "
               "nur im Fenster ansehen.";
    return {};
}

ExportResult exportChartsPng(const WindowBase& window, const RunControl& run,
                             const std::string& folder) {
    return exportCharts(window, run, folder, ".png", writeChartPng);
}

ExportResult exportChartsSvg(const WindowBase& window, const RunControl& run,
                             const std::string& folder) {
    return exportCharts(window, run, folder, ".svg", writeChartSvg);
}

ExportResult exportHistoriesCsv(const WindowBase& window, const RunControl& run,
                                const std::string& path) {
    return exportHistories(window, run, path, TableFormat::Csv);
}

ExportResult exportHistoriesCsvGerman(const WindowBase& window, const RunControl& run,
                                      const std::string& path) {
    return exportHistories(window, run, path, TableFormat::German);
}

ExportResult exportRunDiagrams(const WindowBase& window, const RunControl& run,
                               const std::string& folder) {
    if (std::string why = refusal(window, run, false); !why.empty()) return failed(std::move(why));
    if (ExportResult made = makeFolder(folder); !made) return made;
    const RunRecord record = recordOfRun(window.state(), window.capture(), run.startTexts());
    const std::vector<ChartRun> runs = {{&record, "Lauf", 0}};
    const QSize size(kDiagramFileWidth, kDiagramFileHeight);
    for (const RunChartInfo& info : runCharts()) {
        const PlotSpec spec = runChart(info.chart, runs);
        const std::string stem = folder + "/" + info.fileStem;
        std::string error;
        if (!writePlotSvg(stem + ".svg", spec, size, &error) ||
            !writePlotPng(stem + ".png", spec, size, &error, kPngScale))
            return failed(std::move(error));
    }
    return {};
}

ExportResult exportReportPdf(const WindowBase& window, const RunControl& run,
                             const std::string& path) {
    if (std::string why = refusal(window, run, false); !why.empty()) return failed(std::move(why));
    const QDateTime now = QDateTime::currentDateTime();
    return writeThrough(
        path, [&](QIODevice& device) { return writeReportPdf(device, window, run, now); });
}

}  // namespace tesmo::qt
