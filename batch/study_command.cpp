#include "batch/study_command.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

#include "batch/batch_run.h"
#include "batch/interrupt.h"
#include "batch/progress_line.h"
#include "files/case_file.h"
#include "files/file_problem.h"
#include "files/study_file.h"
#include "study/study_engine.h"

namespace tesmo {

namespace {

// What the command line and the files make of a study, or why it is malformed.
struct StudyPlan {
    std::optional<CaseList> cases;
    std::string error;   // German; the study is malformed when set
    bool usage = false;  // the error is one of the command line's (exit 64)
};

// A NAME=TEXT for an input the study varies would change no case: every case sets it anew.
bool overridesVaried(const BatchOptions& options, const std::vector<Variation>& variations,
                     std::string& error) {
    for (const TextOverride& o : options.overrides)
        for (const Variation& v : variations)
            if (v.field == o.field) {
                error = std::string(controlName(o.field)) + "=" + o.text +
                        " hätte keine Wirkung: " + controlName(o.field) + " wird variiert";
                return true;
            }
    return false;
}

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
    base = applyOverrides(base, options);
    for (const std::string& spec : options.varies)
        if (!addVariation(variations, parseVariation(spec), "--vary ", p.error)) return p;
    if (overridesVaried(options, variations, p.error)) {
        p.usage = true;
        return p;
    }
    if (!options.casesPath.empty()) {
        CaseTable table;
        if (!readCaseTable(options.casesPath, table, problem, nonInputColumns())) {
            p.error = describe(problem);
            return p;
        }
        p.cases.emplace(base, std::move(table));
    } else {
        p.cases.emplace(base, std::move(variations));
    }
    return p;
}

}  // namespace

int runStudyCommand(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    StudyPlan p = plan(options);
    if (!p.error.empty()) {
        err << "tesmo-gegen-batch: " << p.error << '\n';
        if (p.usage) err << shortUsageText();
        return p.usage ? kExitUsage : kExitRefused;
    }
    return runStudyCases(*p.cases, options, out, err, nullptr);
}

int runStudyCases(const CaseList& cases, const BatchOptions& options, std::ostream& out,
                  std::ostream& err, const std::function<void(const CaseOutcome&)>& keep) {
    std::string error;
    Shard shard;
    if (!options.shard.empty()) {
        const ShardResult s = parseShard(options.shard);
        if (!s.ok) error = s.error;
        shard = s.shard;
    }
    if (error.empty() && cases.tooLarge())
        error = "die Studie hätte mehr Fälle, als sich zählen lassen";
    if (error.empty() && cases.size() > kCasesWithoutYes && !options.yes)
        error = "die Studie hat " + std::to_string(cases.size()) +
                " Fälle; mehr als 100000 laufen nur mit --yes";
    if (!error.empty()) {
        err << "tesmo-gegen-batch: " << error << '\n';
        return kExitRefused;
    }
    const CaseSelection selection = selectShard(cases.size(), shard);
    // The table goes to its file (or the standard output) row by row, each row whole and
    // flushed, so that an interrupted study leaves a valid table up to its last row. Like the
    // standard output, the file may also be a pipe or a device that takes the rows as they come.
    const std::string tableName =
        options.tablePath.empty() ? std::string("die Ausgabe") : options.tablePath;
    std::FILE* file = nullptr;
    if (!options.tablePath.empty()) {
        file = std::fopen(options.tablePath.c_str(), "wb");
        if (!file) {
            err << "tesmo-gegen-batch: " << tableName
                << " konnte nicht geschrieben werden: " << systemReason(errno, true) << '\n';
            return kExitWriteFailed;
        }
    }
    int writeError = 0;  // errno of the first write that failed
    const auto write = [&](const std::string& text) {
        errno = 0;
        bool ok;
        if (file) {
            ok = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                 std::fflush(file) == 0;
        } else {
            out << text << std::flush;
            ok = static_cast<bool>(out);
        }
        if (!ok && writeError == 0) writeError = errno ? errno : EIO;
        return ok;
    };

    installInterruptHandler();
    std::atomic<bool>& cancel = interruptFlag();
    bool writeFailed = !write(tableHeader(options.tableFormat));
    bool allFinished = true;
    ProgressLine progress;
    StudyCallbacks callbacks;
    callbacks.sink = [&](const CaseOutcome& o) {
        if (!finished(o)) allFinished = false;
        if (keep) keep(o);
        writeFailed = writeFailed || !write(tableRow(o, options.tableFormat));
        return !writeFailed;
    };
    if (options.progress || ::isatty(STDERR_FILENO))
        callbacks.progress = [&](const StudyProgress& s) {
            progress.show(progressText(s), s.done == s.total);
        };
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
    if (file && std::fclose(file) != 0 && !writeFailed) {
        writeFailed = true;
        writeError = errno;
    }

    // The rows written so far stay a valid table; the system refused the rest.
    if (!failure.empty()) {
        err << "tesmo-gegen-batch: " << failure << '\n';
        return kExitWriteFailed;
    }

    if (writeFailed) {
        err << "tesmo-gegen-batch: " << tableName
            << " konnte nicht geschrieben werden: " << systemReason(writeError, true) << '\n';
        return kExitWriteFailed;
    }
    if (const int signal = interruptSignal()) {
        err << "Die Studie wurde abgebrochen.\n";
        return kExitSignalBase + signal;
    }
    return allFinished ? kExitFinished : kExitEndedEarly;
}

}  // namespace tesmo
