#include "batch/exports.h"

#include <QGuiApplication>
#include <QtGlobal>
#include <type_traits>

#include "batch/modules.h"
#include "export/run_exports.h"

namespace tesmo {

namespace {

// Qt's own notes (a missing runtime folder, font fallbacks) are no business of the runner's
// user, whose stderr carries the runner's messages; real errors still get through.
void quietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    qt_message_output(type, context, message);
}

// A QGuiApplication for the painting, on the offscreen platform unless the user chose one.
class PaintingApplication {
  public:
    PaintingApplication() : previous_(qInstallMessageHandler(quietQtMessages)) {
        if (QGuiApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    ~PaintingApplication() {
        app_.reset();
        qInstallMessageHandler(previous_);
    }
    PaintingApplication(const PaintingApplication&) = delete;
    PaintingApplication& operator=(const PaintingApplication&) = delete;

  private:
    QtMessageHandler previous_;
    int argc_ = 1;
    char name_[18] = "tesmo-gegen-batch";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

bool writeExports(const BatchOptions& options, const HeadlessWindow& window,
                  const RunControl& control, std::ostream& err) {
    if (!options.wantsExports()) return true;
    PaintingApplication application;
    bool ok = true;
    const auto report = [&](const qt::ExportResult& result) {
        if (result) return;
        err << "tesmo-gegen-batch: " << result.message << '\n';
        ok = false;
    };
    if (!options.reportPath.empty())
        report(qt::exportReportPdf(window, control, options.reportPath));
    if (!options.svgFolder.empty()) report(qt::exportChartsSvg(window, control, options.svgFolder));
    if (!options.pngFolder.empty()) report(qt::exportChartsPng(window, control, options.pngFolder));
    if (!options.plotFolder.empty())
        report(qt::exportRunDiagrams(window, control, options.plotFolder));
    return ok;
}

}  // namespace tesmo

// The module's entry point (batch/modules.h).
extern "C" __attribute__((visibility("default"))) bool tesmo_write_exports(
    const tesmo::RunnerShares& runner, const tesmo::BatchOptions& options,
    const tesmo::HeadlessWindow& window, const tesmo::RunControl& control, std::ostream& err) {
    tesmo::adoptRunnerShares(runner);
    return tesmo::writeExports(options, window, control, err);
}
static_assert(std::is_same_v<decltype(&tesmo_write_exports), tesmo::ExportsEntry>);
