#include "batch/fit_command.h"

#include <unistd.h>

#include <type_traits>

#include "batch/batch_run.h"
#include "batch/interrupt.h"
#include "batch/modules.h"
#include "batch/progress_line.h"
#include "files/atomic_file.h"
#include "files/case_file.h"
#include "files/fit_file.h"
#include "files/fit_series.h"
#include "fit/fit.h"
#include "fit/fit_report.h"

namespace tesmo {

namespace {

bool write(const std::string& path, const std::string& text, std::ostream& err) {
    WriteFailure failure;
    if (writeFileAtomically(path, text, &failure)) return true;
    err << "tesmo-gegen-batch: " << path
        << " konnte nicht geschrieben werden: " << reasonText(failure) << '\n';
    return false;
}

bool save(bool ok, const FileProblem& problem, std::ostream& err) {
    if (!ok) err << describe(problem) << '\n';
    return ok;
}

}  // namespace

int runFitCommand(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    FitFile file;
    std::vector<MeasuredSeries> series;
    FileProblem problem;
    if (!readFitFile(options.fitPath, file, problem) ||
        !loadAllSeries(file, options.fitPath, series, problem)) {
        err << describe(problem) << '\n';
        return kExitRefused;
    }
    // NAME=TEXT and the run-mode options apply to every series' case (a coarser grid for all).
    for (MeasuredSeries& s : series)
        s.texts = applyOverrides(s.texts, options);
    const FitSetup setup = fitSetupOf(file, std::move(series));

    installInterruptHandler();
    ProgressLine progress;
    FitControl control;
    control.jobs = options.jobs;
    control.cancel = &interruptFlag();
    if (options.progress || ::isatty(STDERR_FILENO))
        control.progress = [&progress](const FitProgress& p) {
            progress.show(fitProgressText(p), !progress.terminal());  // every iteration in a log
        };
    const FitResult result = runFit(setup, control);
    progress.finish();

    if (const int signal = interruptSignal()) {
        err << "Die Anpassung wurde abgebrochen.\n";
        return kExitSignalBase + signal;
    }
    out << fitReportText(setup, result) << std::flush;
    if (!result.message.empty()) err << result.message << '\n';
    bool written = true;
    if (result.end != FitEnd::Failed) {
        if (!options.fitTablePath.empty())
            written &= write(options.fitTablePath, fitTableText(setup, result), err);
        if (!options.fitCasePath.empty())
            written &= save(writeCaseFile(options.fitCasePath, fittedCase(setup, result), problem),
                            problem, err);
        if (!options.fitSavePath.empty()) {
            FitFile saved = relocated(file, options.fitSavePath);
            saved.outcome = result.outcome();
            written &= save(writeFitFile(options.fitSavePath, saved, problem), problem, err);
        }
    }
    if (!written) return kExitWriteFailed;
    return result.end == FitEnd::Converged ? kExitFinished : kExitEndedEarly;
}

}  // namespace tesmo

// The module's entry point (batch/modules.h).
extern "C" __attribute__((visibility("default"))) int tesmo_run_fit(
    const tesmo::RunnerShares& runner, const tesmo::BatchOptions& options, std::ostream& out,
    std::ostream& err) {
    tesmo::adoptRunnerShares(runner);
    return tesmo::runFitCommand(options, out, err);
}
static_assert(std::is_same_v<decltype(&tesmo_run_fit), tesmo::CommandEntry>);
