#include "batch/batch_run.h"

#include <cstdio>

#include "batch/arguments.h"
#include "batch/exports.h"
#include "batch/interrupt.h"
#include "batch/report.h"
#include "files/history_csv.h"
#include "tesmo_version.h"
#include "ui/headless_window.h"
#include "ui/run_control.h"
#include "ui/run_end.h"

namespace tesmo {

namespace {

constexpr long kProgressEveryPolls = 2000;

bool endedEarly(RunEnd end) {
    return end != RunEnd::Target && end != RunEnd::Midplane;
}

void printMessages(std::ostream& err, const HeadlessWindow& window) {
    for (const std::string& message : window.messages())
        err << message << '\n';
}

}  // namespace

int runBatch(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseArguments(args);
    if (!parsed.error.empty()) {
        err << "tesmo-gegen-batch: " << parsed.error << '\n' << shortUsageText();
        return kExitUsage;
    }
    const BatchOptions& options = parsed.options;
    if (options.help) {
        out << usageText();
        return kExitFinished;
    }
    if (options.version) {
        out << versionText("tesmo-gegen-batch");
        return kExitFinished;
    }

    installInterruptHandler();
    RunState& st = programRunState();
    HeadlessWindow window(st);
    window.setInputTexts(options.texts);
    window.setStopRequest(&interruptFlag());
    if (wantsExports(options)) window.recordCharts();
    if (options.progress) window.reportProgress(stderr, kProgressEveryPolls);

    RunControl control(window);
    control.cmd_Start_Click();
    printMessages(err, window);
    if (control.inputRefused()) return kExitRefused;

    printReport(out, window, options.human);
    const RunEnd end = st.Laufende;
    if (end == RunEnd::Stopped) err << runEndText(end) << '\n';
    bool written = true;
    WriteFailure failure;
    if (!options.csvPath.empty() && !writeHistoriesCsv(options.csvPath, st, &failure)) {
        err << "tesmo-gegen-batch: " << options.csvPath
            << " konnte nicht geschrieben werden: " << reasonText(failure) << '\n';
        written = false;
    }
    written &= writeExports(options, window, control, err);
    if (!written) return kExitWriteFailed;
    return endedEarly(end) ? kExitEndedEarly : kExitFinished;
}

}  // namespace tesmo
