#include "batch/arguments.h"

#include <charconv>
#include <filesystem>
#include <iterator>
#include <utility>

namespace tesmo {

namespace {

// The options that take a value, and where the value goes. Each may be given once, --vary as
// often as there are inputs to vary: a second --case (or --csv, …) would silently replace the
// first.
struct ValueOption {
    std::string_view name;
    std::string BatchOptions::*target;  // null: handled by its own rule below
};

constexpr ValueOption kValueOptions[] = {
    {"--csv", &BatchOptions::csvPath},
    {"--case", &BatchOptions::casePath},
    {"--save-case", &BatchOptions::saveCasePath},
    {"--cases", &BatchOptions::casesPath},
    {"--study", &BatchOptions::studyPath},
    {"--table", &BatchOptions::tablePath},
    {"--shard", &BatchOptions::shard},
    {"--report", &BatchOptions::reportPath},
    {"--svg", &BatchOptions::svgFolder},
    {"--png", &BatchOptions::pngFolder},
    {"--uq", &BatchOptions::uqPath},
    {"--uq-report", &BatchOptions::uqReportPath},
    {"--fit", &BatchOptions::fitPath},
    {"--fit-table", &BatchOptions::fitTablePath},
    {"--fit-case", &BatchOptions::fitCasePath},
    {"--fit-save", &BatchOptions::fitSavePath},
    {"--vary", nullptr},
    {"--jobs", nullptr},
    {"--plot", &BatchOptions::plotFolder},
    {"--table-format", nullptr},
};
constexpr std::string_view kRepeatable = "--vary";

// The files the runner reads and writes, by the option that names them: an output may not be
// another output's file (one would silently replace the other) nor an input's of another kind
// (it would be overwritten with something else). A case file saved over the one read is an
// edit of it.
enum class FileKind {
    CaseFile,
    CaseTable,
    StudyFile,
    UncertaintyStudy,
    Histories,
    Report,
    ResultTable,
    UncertaintyReport,
    FitFile,
    FitTable,
};

struct FileOption {
    std::string_view name;
    std::string BatchOptions::*path;
    FileKind kind;
    bool output;
};

constexpr FileOption kFileOptions[] = {
    {"--case", &BatchOptions::casePath, FileKind::CaseFile, false},
    {"--cases", &BatchOptions::casesPath, FileKind::CaseTable, false},
    {"--study", &BatchOptions::studyPath, FileKind::StudyFile, false},
    {"--save-case", &BatchOptions::saveCasePath, FileKind::CaseFile, true},
    {"--csv", &BatchOptions::csvPath, FileKind::Histories, true},
    {"--report", &BatchOptions::reportPath, FileKind::Report, true},
    {"--table", &BatchOptions::tablePath, FileKind::ResultTable, true},
    {"--uq", &BatchOptions::uqPath, FileKind::UncertaintyStudy, false},
    {"--uq-report", &BatchOptions::uqReportPath, FileKind::UncertaintyReport, true},
    {"--fit", &BatchOptions::fitPath, FileKind::FitFile, false},
    {"--fit-table", &BatchOptions::fitTablePath, FileKind::FitTable, true},
    {"--fit-case", &BatchOptions::fitCasePath, FileKind::CaseFile, true},
    {"--fit-save", &BatchOptions::fitSavePath, FileKind::FitFile, true},
};

// The options that only a run uses, and what makes each of them given.
constexpr std::pair<std::string_view, bool (*)(const BatchOptions&)> kOptionsNeedingARun[] = {
    {"--csv", [](const BatchOptions& o) { return !o.csvPath.empty(); }},
    {"--report", [](const BatchOptions& o) { return !o.reportPath.empty(); }},
    {"--svg", [](const BatchOptions& o) { return !o.svgFolder.empty(); }},
    {"--png", [](const BatchOptions& o) { return !o.pngFolder.empty(); }},
    {"--plot", [](const BatchOptions& o) { return !o.plotFolder.empty(); }},
    {"--human", [](const BatchOptions& o) { return o.human; }},
    {"--progress", [](const BatchOptions& o) { return o.progress; }},
};

constexpr std::pair<std::string_view, bool BatchOptions::*> kFlags[] = {
    {"--human", &BatchOptions::human}, {"--progress", &BatchOptions::progress},
    {"--yes", &BatchOptions::yes},     {"--help", &BatchOptions::help},
    {"-h", &BatchOptions::help},       {"--version", &BatchOptions::version},
};

// --table-format: how --table and --csv write their tables.
std::string setTableFormat(const std::string& value, BatchOptions& options) {
    if (!tableFormatNamed(value, options.tableFormat))
        return "--table-format kennt „" + value + "“ nicht, möglich ist csv oder de";
    options.tableFormatGiven = true;
    return {};
}

std::string setValue(std::string_view name, std::string value, BatchOptions& options) {
    if (value.empty()) return std::string(name) + " braucht einen Wert";
    if (name == "--vary") {
        options.varies.push_back(std::move(value));
        return {};
    }
    if (name == "--jobs") {
        unsigned jobs = 0;
        const auto r = std::from_chars(value.data(), value.data() + value.size(), jobs);
        if (r.ptr != value.data() + value.size() || jobs < 1 || jobs > 4096)
            return "--jobs erwartet eine ganze Zahl von 1 bis 4096, nicht „" + value + "“";
        options.jobs = jobs;
        return {};
    }
    if (name == "--table-format") return setTableFormat(value, options);
    for (const ValueOption& o : kValueOptions)
        if (o.name == name && o.target) options.*o.target = std::move(value);
    return {};
}

// --klima WORD, --luftbilanz WORD: `arg` is "--NAME", "--NAME=WORD" or anything else (then
// `handled` stays false).
std::string parseRunOption(const std::vector<std::string_view>& args, std::size_t& next,
                           std::string_view arg, BatchOptions& options, bool& handled) {
    for (const RunOptionSpec& spec : kRunOptions) {
        const std::string flag = "--" + std::string(spec.name);
        std::string_view word;
        if (arg == flag) {
            if (next >= args.size())
                return flag + " braucht einen Wert: " + optionWordList(spec.option);
            word = args[next++];
        } else if (arg.size() > flag.size() && arg.substr(0, flag.size()) == flag &&
                   arg[flag.size()] == '=') {
            word = arg.substr(flag.size() + 1);
        } else {
            continue;
        }
        handled = true;
        RunOptions check;
        if (!setOptionWord(check, spec.option, word))
            return flag + " kennt „" + std::string(word) + "“ nicht, möglich ist " +
                   optionWordList(spec.option);
        for (const OptionOverride& o : options.optionOverrides)
            if (o.option == spec.option) return flag + " darf nur einmal angegeben werden";
        options.optionOverrides.push_back({spec.option, std::string(word)});
        return {};
    }
    return {};
}

std::string valueOnce(std::string_view name, std::string value, BatchOptions& options,
                      std::vector<std::string_view>& given) {
    if (name != kRepeatable) {
        for (std::string_view g : given)
            if (g == name) return std::string(name) + " darf nur einmal angegeben werden";
        given.push_back(name);
    }
    return setValue(name, std::move(value), options);
}

// --uq-summary TABLE... takes every following argument up to the next option (so that a shell
// pattern such as teil-*.csv names them all); --uq-summary=TABLE takes one.
bool parseSummaryTables(const std::vector<std::string_view>& args, std::size_t& next,
                        std::string_view arg, BatchOptions& options, std::string& error) {
    constexpr std::string_view kSummary = "--uq-summary";
    if (arg == kSummary) {
        const std::size_t first = next;
        while (next < args.size() && !args[next].empty() && args[next].front() != '-')
            options.uqSummaryTables.emplace_back(args[next++]);
        if (next == first) error = "--uq-summary braucht mindestens eine Ergebnistabelle";
        return true;
    }
    if (arg.size() > kSummary.size() && arg.substr(0, kSummary.size() + 1) == "--uq-summary=") {
        if (arg.size() == kSummary.size() + 1)
            error = "--uq-summary braucht mindestens eine Ergebnistabelle";
        else
            options.uqSummaryTables.emplace_back(arg.substr(kSummary.size() + 1));
        return true;
    }
    return false;
}

// One argument; `next` is the argument after it (for --opt VALUE), advanced when consumed;
// `given` holds the value options seen so far.
std::string parseOne(const std::vector<std::string_view>& args, std::size_t& next,
                     BatchOptions& options, std::vector<std::string_view>& given) {
    const std::string_view arg = args[next++];
    bool handled = false;
    std::string summaryError;
    if (parseSummaryTables(args, next, arg, options, summaryError)) return summaryError;
    std::string error = parseRunOption(args, next, arg, options, handled);
    if (handled) return error;
    for (const auto& [name, flag] : kFlags) {
        if (arg == name) {
            options.*flag = true;
            return {};
        }
    }
    for (const ValueOption& o : kValueOptions) {
        if (arg == o.name) {
            if (next >= args.size()) return std::string(o.name) + " braucht einen Wert";
            return valueOnce(o.name, std::string(args[next++]), options, given);
        }
        if (arg.size() > o.name.size() && arg.substr(0, o.name.size()) == o.name &&
            arg[o.name.size()] == '=')
            return valueOnce(o.name, std::string(arg.substr(o.name.size() + 1)), options, given);
    }
    if (arg.rfind("-", 0) == 0) return "unbekannte Option " + std::string(arg);
    const std::size_t eq = arg.find('=');
    if (eq == std::string_view::npos)
        return "erwartet wird NAME=TEXT, nicht „" + std::string(arg) + "“";
    const Control field = inputByName(arg.substr(0, eq));
    if (field == Control::Count) return "unbekanntes Eingabefeld " + std::string(arg.substr(0, eq));
    options.overrides.push_back({field, std::string(arg.substr(eq + 1))});
    return {};
}

// Two options naming the same file, compared as written (a/./b.csv is a/b.csv).
std::string checkFiles(const BatchOptions& o) {
    const auto same = [](const std::string& a, const std::string& b) {
        return std::filesystem::path(a).lexically_normal() ==
               std::filesystem::path(b).lexically_normal();
    };
    for (std::size_t i = 0; i < std::size(kFileOptions); ++i) {
        const FileOption& a = kFileOptions[i];
        for (std::size_t j = i + 1; j < std::size(kFileOptions); ++j) {
            const FileOption& b = kFileOptions[j];
            const bool clash = (a.output && b.output) || (a.output != b.output && a.kind != b.kind);
            if (!clash || (o.*a.path).empty() || !same(o.*a.path, o.*b.path)) continue;
            if (a.output && b.output)
                return std::string(a.name) + " und " + std::string(b.name) +
                       " schreiben beide in " + o.*a.path;
            const FileOption& in = a.output ? b : a;
            const FileOption& out = a.output ? a : b;
            return std::string(out.name) + " würde die Datei von " + std::string(in.name) +
                   " überschreiben: " + o.*in.path;
        }
    }
    return {};
}

// Options of an uncertainty study that do not belong together.
std::string checkUncertainty(const BatchOptions& o) {
    if (!o.isUncertainty()) {
        if (!o.uqReportPath.empty() || !o.uqSummaryTables.empty())
            return "--uq-report und --uq-summary brauchen die Studie: --uq DATEI.tguq";
        return {};
    }
    if (!o.varies.empty() || !o.casesPath.empty() || !o.studyPath.empty())
        return "--uq lässt sich nicht mit --vary, --cases oder --study verbinden";
    if (!o.casePath.empty())
        return "--case und --uq geben beide den Grundfall an; die Studie nennt ihn mit "
               "„case = DATEI“";
    if (!o.uqSummaryTables.empty() &&
        (!o.tablePath.empty() || !o.shard.empty() || o.jobs != 0 || o.yes))
        return "--uq-summary wertet fertige Tabellen aus und rechnet nichts: --table, --shard, "
               "--jobs und --yes passen nicht dazu";
    if (!o.uqReportPath.empty() && !o.shard.empty())
        return "--uq-report braucht alle Fälle der Studie: die Tabellen der Teile (--shard) "
               "zusammen mit --uq-summary auswerten";
    return {};
}

// Options of a fit that do not belong together.
std::string checkFit(const BatchOptions& o) {
    if (!o.isFit()) {
        if (!o.fitTablePath.empty() || !o.fitCasePath.empty() || !o.fitSavePath.empty())
            return "--fit-table, --fit-case und --fit-save brauchen eine Anpassung (--fit DATEI)";
        return {};
    }
    if (o.isStudy())
        return "--fit lässt sich nicht mit --vary, --cases, --study oder --uq verbinden";
    if (!o.casePath.empty() || !o.saveCasePath.empty())
        return "--case und --save-case gehören zu einem einzelnen Lauf; die Messreihen einer "
               "Anpassung nennen ihre Fälle selbst";
    if (!o.csvPath.empty() || o.human || o.wantsExports())
        return "--csv, --human, --report, --svg, --png und --plot gehören zu einem einzelnen Lauf";
    if (!o.tablePath.empty() || !o.shard.empty() || o.yes || o.tableFormatGiven)
        return "--table, --table-format, --shard und --yes gehören zu einer Studie; eine "
               "Anpassung schreibt --fit-table";
    return {};
}

// Options that do not belong together, or one that would have no effect with another.
std::string checkCombination(const BatchOptions& o) {
    if (std::string error = checkUncertainty(o); !error.empty()) return error;
    if (std::string error = checkFit(o); !error.empty()) return error;
    if (o.isFit()) return checkFiles(o);
    if (!o.casesPath.empty() && (!o.varies.empty() || !o.studyPath.empty()))
        return "--cases lässt sich nicht mit --vary oder --study verbinden";
    if (!o.casePath.empty() && !o.studyPath.empty())
        return "--case und --study geben beide den Grundfall; bitte nur eines davon";
    if (o.isStudy()) {
        if (!o.csvPath.empty() || o.human)
            return "--csv und --human gehören zu einem einzelnen Lauf, nicht zu einer Studie";
        if (o.wantsExports())
            return "--report, --svg, --png und --plot gehören zu einem einzelnen Lauf, nicht zu "
                   "einer Studie";
        if (!o.saveCasePath.empty())
            return "--save-case speichert einen einzelnen Fall, keine Studie";
    } else if (!o.tablePath.empty() || !o.shard.empty() || o.jobs != 0 || o.yes) {
        return "--table, --shard, --jobs und --yes brauchen eine Studie (--vary, --cases, --study "
               "oder --uq), --jobs auch eine Anpassung (--fit)";
    } else if (o.tableFormatGiven && o.csvPath.empty()) {
        return "--table-format braucht eine Tabelle zum Schreiben: --csv oder eine Studie";
    }
    if (!o.saveCasePath.empty())
        for (const auto& [name, given] : kOptionsNeedingARun)
            if (given(o))
                return "--save-case rechnet nichts; " + std::string(name) + " braucht einen Lauf";
    return checkFiles(o);
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string_view>& args) {
    ParsedArguments parsed;
    std::vector<std::string_view> given;
    for (std::size_t next = 0; next < args.size() && parsed.error.empty();)
        parsed.error = parseOne(args, next, parsed.options, given);
    if (parsed.error.empty() && !parsed.options.help && !parsed.options.version)
        parsed.error = checkCombination(parsed.options);
    return parsed;
}

InputTexts applyOverrides(InputTexts base, const BatchOptions& options) {
    for (const TextOverride& o : options.overrides)
        base[o.field] = o.text;
    for (const OptionOverride& o : options.optionOverrides)
        setOptionWord(base.optionen, o.option, o.word);
    return base;
}

}  // namespace tesmo
