#include "batch/batch_run.h"

#include <cstdio>

#include "batch/arguments.h"
#include "batch/csv.h"
#include "batch/interrupt.h"
#include "batch/report.h"
#include "ui/headless_window.h"
#include "ui/run_control.h"

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

    installInterruptHandler();
    RunState& st = programRunState();
    HeadlessWindow window(st);
    window.setInputTexts(options.texts);
    window.setStopRequest(&interruptFlag());
    if (options.progress) window.reportProgress(stderr, kProgressEveryPolls);

    RunControl control(window);
    control.cmd_Start_Click();
    printMessages(err, window);
    if (control.inputRefused()) return kExitRefused;

    printReport(out, window, options.human);
    const RunEnd end = st.Laufende;
    if (end == RunEnd::Stopped) err << "Der Lauf wurde abgebrochen.\n";
    WriteFailure failure;
    if (!options.csvPath.empty() && !writeHistoriesCsv(options.csvPath, st, &failure)) {
        err << "tesmo-gegen-batch: " << options.csvPath
            << " konnte nicht geschrieben werden: " << reasonText(failure) << '\n';
        return kExitWriteFailed;
    }
    return endedEarly(end) ? kExitEndedEarly : kExitFinished;
}

}  // namespace tesmo
