#include "batch/arguments.h"

#include <charconv>

namespace tesmo {

namespace {

// The options that take a value, and where the value goes.
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
    {"--vary", nullptr},
    {"--jobs", nullptr},
};

constexpr std::pair<std::string_view, bool BatchOptions::*> kFlags[] = {
    {"--human", &BatchOptions::human}, {"--progress", &BatchOptions::progress},
    {"--yes", &BatchOptions::yes},     {"--help", &BatchOptions::help},
    {"-h", &BatchOptions::help},       {"--version", &BatchOptions::version},
};

std::string setValue(std::string_view name, std::string value, BatchOptions& options) {
    if (value.empty()) return std::string(name) + " needs a value";
    if (name == "--vary") {
        options.varies.push_back(std::move(value));
        return {};
    }
    if (name == "--jobs") {
        unsigned jobs = 0;
        const auto r = std::from_chars(value.data(), value.data() + value.size(), jobs);
        if (r.ptr != value.data() + value.size() || jobs < 1 || jobs > 4096)
            return "--jobs needs a whole number from 1 to 4096, not " + value;
        options.jobs = jobs;
        return {};
    }
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
            if (o.option == spec.option) return flag + " ist mehrfach angegeben";
        options.optionOverrides.push_back({spec.option, std::string(word)});
        return {};
    }
    return {};
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

// One argument; `next` is the argument after it (for --opt VALUE), advanced when consumed.
std::string parseOne(const std::vector<std::string_view>& args, std::size_t& next,
                     BatchOptions& options) {
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
            if (next >= args.size()) return std::string(o.name) + " needs a value";
            return setValue(o.name, std::string(args[next++]), options);
        }
        if (arg.size() > o.name.size() && arg.substr(0, o.name.size()) == o.name &&
            arg[o.name.size()] == '=')
            return setValue(o.name, std::string(arg.substr(o.name.size() + 1)), options);
    }
    if (arg.rfind("-", 0) == 0) return "unknown option " + std::string(arg);
    const std::size_t eq = arg.find('=');
    if (eq == std::string_view::npos) return "expected NAME=TEXT, got " + std::string(arg);
    const Control field = inputByName(arg.substr(0, eq));
    if (field == Control::Count) return "unknown input field " + std::string(arg.substr(0, eq));
    options.overrides.push_back({field, std::string(arg.substr(eq + 1))});
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

// Options that do not belong together.
std::string checkCombination(const BatchOptions& o) {
    if (std::string error = checkUncertainty(o); !error.empty()) return error;
    if (!o.casesPath.empty() && (!o.varies.empty() || !o.studyPath.empty()))
        return "--cases cannot be combined with --vary or --study";
    if (!o.casePath.empty() && !o.studyPath.empty())
        return "--case and --study both give the base case; use one";
    if (o.isStudy()) {
        if (!o.csvPath.empty() || o.human) return "--csv and --human belong to a single run";
        if (o.wantsExports()) return "--report, --svg and --png belong to a single run";
        if (!o.saveCasePath.empty()) return "--save-case saves a single case, not a study";
    } else if (!o.tablePath.empty() || !o.shard.empty() || o.jobs != 0 || o.yes) {
        return "--table, --shard, --jobs and --yes need a study (--vary, --cases, --study or --uq)";
    }
    return {};
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string_view>& args) {
    ParsedArguments parsed;
    for (std::size_t next = 0; next < args.size() && parsed.error.empty();)
        parsed.error = parseOne(args, next, parsed.options);
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
