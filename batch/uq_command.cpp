#include "batch/uq_command.h"

#include <type_traits>

#include "batch/batch_run.h"
#include "batch/modules.h"
#include "files/atomic_file.h"
#include "study/result_table.h"
#include "uq/analysis.h"
#include "uq/report.h"

namespace tesmo {

namespace {

constexpr const char* kProgram = "tesmo-gegen-batch: ";

// Writes the report to its file, or to `out` when no file is named.
int writeReport(const BatchOptions& options, const std::string& report, std::ostream& out,
                std::ostream& err) {
    if (options.uqReportPath.empty()) {
        out << report << std::flush;
        return out ? kExitFinished : kExitWriteFailed;
    }
    WriteFailure failure;
    if (writeFileAtomically(options.uqReportPath, report, &failure)) return kExitFinished;
    err << kProgram << options.uqReportPath
        << " konnte nicht geschrieben werden: " << reasonText(failure) << '\n';
    return kExitWriteFailed;
}

// The statistics of the tables named by --uq-summary.
int summarise(const UncertaintyPlan& plan, const BatchOptions& options, std::ostream& out,
              std::ostream& err) {
    std::vector<CaseOutcome> outcomes;
    FileProblem problem;
    for (const std::string& table : options.uqSummaryTables) {
        if (!readResultTable(table, outcomes, problem)) {
            err << describe(problem) << '\n';
            return kExitRefused;
        }
    }
    const UncertaintySample sample = drawSample(plan);
    if (const std::string problemText = outcomesProblem(sample, outcomes); !problemText.empty()) {
        err << kProgram << problemText << '\n';
        return kExitRefused;
    }
    const UncertaintyAnalysis analysis = analyseUncertainty(plan, sample, outcomes);
    const int written = writeReport(options, uncertaintyReport(plan, analysis), out, err);
    if (written != kExitFinished) return written;
    return analysis.unfinished.count == 0 ? kExitFinished : kExitEndedEarly;
}

}  // namespace

int runUncertaintyCommand(const BatchOptions& options, StudyCasesFunction runCases,
                          std::ostream& out, std::ostream& err) {
    UncertaintyPlan plan;
    FileProblem problem;
    if (!readUncertaintyPlan(options.uqPath, plan, problem)) {
        err << describe(problem) << '\n';
        return kExitRefused;
    }
    plan.base = applyOverrides(plan.base, options);
    if (!options.uqSummaryTables.empty()) return summarise(plan, options, out, err);

    const UncertaintySample sample = drawSample(plan);
    const bool report = !options.uqReportPath.empty();
    std::vector<CaseOutcome> outcomes;
    const int status =
        runCases(sampleCases(plan, sample), options, out, err,
                 report ? [&outcomes](const CaseOutcome& o) { outcomes.push_back(o); }
                        : std::function<void(const CaseOutcome&)>());
    if (!report || (status != kExitFinished && status != kExitEndedEarly)) return status;
    const UncertaintyAnalysis analysis = analyseUncertainty(plan, sample, outcomes);
    const int written = writeReport(options, uncertaintyReport(plan, analysis), out, err);
    return written != kExitFinished ? written : status;
}

}  // namespace tesmo

// The module's entry point (batch/modules.h).
extern "C" __attribute__((visibility("default"))) int tesmo_run_uncertainty(
    const tesmo::RunnerShares& runner, const tesmo::BatchOptions& options, std::ostream& out,
    std::ostream& err) {
    tesmo::adoptRunnerShares(runner);
    return tesmo::runUncertaintyCommand(options, runner.studyCases, out, err);
}
static_assert(std::is_same_v<decltype(&tesmo_run_uncertainty), tesmo::CommandEntry>);
