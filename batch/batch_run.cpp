#include "batch/batch_run.h"

#include <cstdio>
#include <memory>
#include <new>

#include "batch/arguments.h"
#include "batch/interrupt.h"
#include "batch/modules.h"
#include "batch/report.h"
#include "batch/study_command.h"
#include "display/headless_window.h"
#include "display/run_capture.h"
#include "display/run_control.h"
#include "display/run_end.h"
#include "files/case_file.h"
#include "files/history_csv.h"

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

// A problem found while saving that the system reported is a failed write; anything else
// (a text a case file cannot hold) is refused input.
int exitFor(const FileProblem& problem) {
    return problem.kind == ProblemKind::SystemError && problem.saving ? kExitWriteFailed
                                                                      : kExitRefused;
}

int singleRun(const BatchOptions& options, const InputTexts& texts, std::ostream& out,
              std::ostream& err) {
    RunState* state = nullptr;
    try {
        state = &programRunState();
    } catch (const std::bad_alloc&) {
        err << "tesmo-gegen-batch: Die Rechnung kann nicht beginnen: Der Arbeitsspeicher reicht "
               "nicht.\n";
        return kExitWriteFailed;
    }
    RunState& st = *state;
    installInterruptHandler();
    HeadlessWindow window(st);
    window.setInputTexts(texts);
    window.setStopRequest(&interruptFlag());
    if (options.wantsExports()) window.recordCharts();
    // The numeric diagrams (--plot, the report's third page) need the record times and the
    // drawn profiles.
    std::unique_ptr<RunCapture> capture;
    if (!options.plotFolder.empty() || !options.reportPath.empty()) {
        capture = std::make_unique<RunCapture>();
        window.setCapture(capture.get());
    }
    if (options.progress) window.reportProgress(stderr, kProgressEveryPolls);

    RunControl control(window);
    control.setRunOptions(texts.optionen);
    control.cmd_Start_Click();
    printMessages(err, window);
    if (control.inputRefused()) return kExitRefused;

    printReport(out, window, options.human);
    const RunEnd end = st.Laufende;
    if (end == RunEnd::Stopped) err << runEndText(end) << '\n';
    bool written = true;
    WriteFailure failure;
    if (!options.csvPath.empty() &&
        !writeHistoriesCsv(options.csvPath, st, texts, options.tableFormat, &failure)) {
        err << "tesmo-gegen-batch: " << options.csvPath
            << " konnte nicht geschrieben werden: " << reasonText(failure) << '\n';
        written = false;
    }
    written &= writeExportsInModule(options, window, control, err);
    if (!written) return kExitWriteFailed;
    return endedEarly(end) ? kExitEndedEarly : kExitFinished;
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
        out << versionText();
        return kExitFinished;
    }
    if (options.isUncertainty()) return runUncertaintyInModule(options, out, err);
    if (options.isStudy()) return runStudyCommand(options, out, err);
    if (options.isFit()) return runFitInModule(options, out, err);

    InputTexts base = defaultInputTexts();
    FileProblem problem;
    if (!options.casePath.empty() &&
        !readCaseFile(options.casePath, defaultInputTexts(), base, problem)) {
        err << describe(problem) << '\n';
        return kExitRefused;
    }
    const InputTexts texts = applyOverrides(base, options);
    if (!options.saveCasePath.empty()) {
        if (writeCaseFile(options.saveCasePath, texts, problem)) return kExitFinished;
        err << describe(problem) << '\n';
        return exitFor(problem);
    }
    return singleRun(options, texts, out, err);
}

}  // namespace tesmo
