#include "batch/study_command.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "batch/batch_run.h"
#include "batch/interrupt.h"
#include "files/atomic_file.h"
#include "files/case_file.h"
#include "files/study_file.h"
#include "study/study_engine.h"

namespace tesmo {

namespace {

// What the command line and the files make of a study, or why it is malformed.
struct StudyPlan {
    std::optional<CaseList> cases;
    std::string error;  // German; the study is malformed when set
};

std::string lineOf(const std::string& path, int line) {
    return path + (line > 0 ? ", Zeile " + std::to_string(line) : "") + ": ";
}

bool addVariation(std::vector<Variation>& variations, VariationResult r, const std::string& where,
                  std::string& error) {
    if (!r.ok) {
        error = where + r.error;
        return false;
    }
    for (const Variation& v : variations) {
        if (v.field == r.variation.field) {
            error = where + controlName(v.field) + " wird zweimal variiert";
            return false;
        }
    }
    variations.push_back(std::move(r.variation));
    return true;
}

StudyPlan plan(const BatchOptions& options) {
    StudyPlan p;
    FileProblem problem;
    InputTexts base = defaultInputTexts();
    std::vector<Variation> variations;
    if (!options.studyPath.empty()) {
        SavedStudy study;
        if (!readStudyFile(options.studyPath, defaultInputTexts(), study, problem)) {
            p.error = describe(problem);
            return p;
        }
        base = study.base;
        for (const VariedInput& v : study.varied)
            if (!addVariation(variations, parseVariationSpec(v.field, v.range),
                              lineOf(options.studyPath, v.line) + controlName(v.field) + ": ",
                              p.error))
                return p;
    }
    if (!options.casePath.empty() &&
        !readCaseFile(options.casePath, defaultInputTexts(), base, problem)) {
        p.error = describe(problem);
        return p;
    }
    base = applyOverrides(base, options.overrides);
    for (const std::string& spec : options.varies)
        if (!addVariation(variations, parseVariation(spec), "--vary ", p.error)) return p;
    if (!options.casesPath.empty()) {
        CaseTable table;
        if (!readCaseTable(options.casesPath, table, problem)) {
            p.error = describe(problem);
            return p;
        }
        p.cases.emplace(base, std::move(table));
    } else {
        p.cases.emplace(base, std::move(variations));
    }
    return p;
}

// Cases done of all, time elapsed and left; on a terminal one line that is rewritten, at most
// ten times a second.
class ProgressLine {
  public:
    explicit ProgressLine(bool terminal) : terminal_(terminal) {}

    void update(const StudyProgress& p) {
        const auto now = std::chrono::steady_clock::now();
        if (p.done != p.total && now - last_ < std::chrono::milliseconds(100)) return;
        last_ = now;
        std::fprintf(stderr, "%s%s%s", terminal_ ? "\r" : "", progressText(p).c_str(),
                     terminal_ ? "   " : "\n");
        std::fflush(stderr);
        shown_ = true;
    }
    void finish() {
        if (terminal_ && shown_) std::fputc('\n', stderr);
    }

  private:
    bool terminal_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace

int runStudyCommand(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    StudyPlan p = plan(options);
    Shard shard;
    if (p.error.empty() && !options.shard.empty()) {
        const ShardResult s = parseShard(options.shard);
        if (!s.ok) p.error = s.error;
        shard = s.shard;
    }
    if (p.error.empty() && p.cases->tooLarge())
        p.error = "die Studie hätte mehr Fälle, als sich zählen lassen";
    if (p.error.empty() && p.cases->size() > kCasesWithoutYes && !options.yes)
        p.error = "die Studie hat " + std::to_string(p.cases->size()) +
                  " Fälle; mehr als 100000 laufen nur mit --yes";
    if (!p.error.empty()) {
        err << "tesmo-gegen-batch: " << p.error << '\n';
        return kExitRefused;
    }
    const CaseList& cases = *p.cases;
    const CaseSelection selection = selectShard(cases.size(), shard);

    // The table goes to its file (or the standard output) row by row, each row whole and
    // flushed, so that an interrupted study leaves a valid table up to its last row.
    std::FILE* file = nullptr;
    if (!options.tablePath.empty()) {
        file = std::fopen(options.tablePath.c_str(), "wb");
        if (!file) {
            err << "tesmo-gegen-batch: " << options.tablePath
                << " konnte nicht geschrieben werden: "
                << reasonText({errno, options.tablePath, "create"}) << '\n';
            return kExitWriteFailed;
        }
    }
    const auto write = [&](const std::string& text) {
        if (file)
            return std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                   std::fflush(file) == 0;
        out << text << std::flush;
        return static_cast<bool>(out);
    };

    installInterruptHandler();
    std::atomic<bool>& cancel = interruptFlag();
    bool writeFailed = !write(tableHeader());
    bool allFinished = true;
    ProgressLine progress(::isatty(STDERR_FILENO) != 0);
    StudyCallbacks callbacks;
    callbacks.sink = [&](const CaseOutcome& o) {
        if (!finished(o)) allFinished = false;
        writeFailed = writeFailed || !write(tableRow(o));
        return !writeFailed;
    };
    if (options.progress || ::isatty(STDERR_FILENO))
        callbacks.progress = [&](const StudyProgress& s) { progress.update(s); };
    const unsigned cores = defaultJobs();
    if (options.jobs > cores)
        err << "tesmo-gegen-batch: --jobs " << options.jobs << ": der Rechner hat " << cores
            << (cores == 1 ? " Kern, es läuft 1 Fall"
                           : " Kerne, es laufen " + std::to_string(cores) + " Fälle")
            << " gleichzeitig\n";
    std::string failure;
    if (!writeFailed) {
        try {
            runStudy(cases, selection, options.jobs ? options.jobs : cores, callbacks, cancel);
        } catch (const StudyFailure& e) {
            failure = e.what();
        }
    }
    progress.finish();
    if (file && std::fclose(file) != 0) writeFailed = true;

    // The rows written so far stay a valid table; the system refused the rest.
    if (!failure.empty()) {
        err << "tesmo-gegen-batch: " << failure << '\n';
        return kExitWriteFailed;
    }

    if (writeFailed) {
        err << "tesmo-gegen-batch: "
            << (options.tablePath.empty() ? std::string("die Ausgabe") : options.tablePath)
            << " konnte nicht geschrieben werden\n";
        return kExitWriteFailed;
    }
    if (const int signal = interruptSignal()) {
        err << "Die Studie wurde abgebrochen.\n";
        return kExitSignalBase + signal;
    }
    return allFinished ? kExitFinished : kExitEndedEarly;
}

}  // namespace tesmo
