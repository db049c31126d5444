#include "ui/export/run_exports.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "files/atomic_file.h"
#include "files/history_csv.h"
#include "tesmo_version.h"
#include "ui/export/chart_picture.h"
#include "ui/export/report_pdf.h"
#include "ui/run_control.h"
#include "ui/window_base.h"

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

ExportResult writeFile(const std::string& path, const QByteArray& bytes) {
    WriteFailure failure;
    const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (writeFileAtomically(path, content, &failure)) return {};
    return notWritten(path, failure);
}

ExportResult makeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error) return {};
    return failed("Der Ordner " + folder + " konnte nicht angelegt werden: " +
                  reasonText(WriteFailure{error.value(), folder, "create"}) + ".");
}

QByteArray chartPng(Chart chart, const ChartView& view) {
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
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray chartSvg(Chart chart, const ChartView& view) {
    const QRect region = chartRegionPixels(chart);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(static_cast<int>(kWindowDpi));
    svg.setSize(region.size());
    svg.setViewBox(QRect(QPoint(0, 0), region.size()));
    svg.setTitle(QString::fromUtf8(chartTitle(chart)));
    svg.setDescription(QStringLiteral("Tesmo-Gegen %1").arg(QLatin1String(kProgramVersion)));
    {
        QPainter p(&svg);
        paintChartRegion(p, chart, view);
    }
    return bytes;
}

// Both charts, drawn by `render`, into folder/<stem><suffix>. Both are drawn before either is
// written, so that a drawing problem writes nothing.
template <class Render>
ExportResult exportCharts(const WindowBase& window, const RunControl& run,
                          const std::string& folder, const char* suffix, Render render) {
    if (std::string why = refusal(window, run, true); !why.empty()) return failed(std::move(why));
    QByteArray files[2];
    for (std::size_t i = 0; i < 2; ++i)
        files[i] = render(kCharts[i], chartView(window, kCharts[i]));
    if (ExportResult made = makeFolder(folder); !made) return made;
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string path = folder + "/" + chartFileStem(kCharts[i]) + suffix;
        if (ExportResult written = writeFile(path, files[i]); !written) return written;
    }
    return {};
}

}  // namespace

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
    return exportCharts(window, run, folder, ".png", chartPng);
}

ExportResult exportChartsSvg(const WindowBase& window, const RunControl& run,
                             const std::string& folder) {
    return exportCharts(window, run, folder, ".svg", chartSvg);
}

ExportResult exportHistoriesCsv(const WindowBase& window, const RunControl& run,
                                const std::string& path) {
    if (std::string why = refusal(window, run, false); !why.empty()) return failed(std::move(why));
    WriteFailure failure;
    if (writeHistoriesCsv(path, window.state(), &failure)) return {};
    return notWritten(path, failure);
}

ExportResult exportReportPdf(const WindowBase& window, const RunControl& run,
                             const std::string& path) {
    if (std::string why = refusal(window, run, false); !why.empty()) return failed(std::move(why));
    return writeFile(path, reportPdf(window, run, QDateTime::currentDateTime()));
}

}  // namespace tesmo::qt
