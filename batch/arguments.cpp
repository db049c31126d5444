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
    {"--fit", &BatchOptions::fitPath},
    {"--fit-table", &BatchOptions::fitTablePath},
    {"--fit-case", &BatchOptions::fitCasePath},
    {"--fit-save", &BatchOptions::fitSavePath},
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

// One argument; `next` is the argument after it (for --opt VALUE), advanced when consumed.
std::string parseOne(const std::vector<std::string_view>& args, std::size_t& next,
                     BatchOptions& options) {
    const std::string_view arg = args[next++];
    bool handled = false;
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

// Options that do not belong together.
std::string checkCombination(const BatchOptions& o) {
    if (!o.casesPath.empty() && (!o.varies.empty() || !o.studyPath.empty()))
        return "--cases cannot be combined with --vary or --study";
    if (!o.casePath.empty() && !o.studyPath.empty())
        return "--case and --study both give the base case; use one";
    if (o.isFit()) {
        if (o.isStudy()) return "--fit cannot be combined with --vary, --cases or --study";
        if (!o.casePath.empty() || !o.saveCasePath.empty())
            return "--case and --save-case belong to a single run; a fit's series name their cases";
        if (!o.csvPath.empty() || o.human || o.wantsExports())
            return "--csv, --human, --report, --svg and --png belong to a single run";
        if (!o.tablePath.empty() || !o.shard.empty() || o.yes)
            return "--table, --shard and --yes belong to a study; a fit writes --fit-table";
        return {};
    }
    if (!o.fitTablePath.empty() || !o.fitCasePath.empty() || !o.fitSavePath.empty())
        return "--fit-table, --fit-case and --fit-save need a fit (--fit FILE)";
    if (o.isStudy()) {
        if (!o.csvPath.empty() || o.human) return "--csv and --human belong to a single run";
        if (o.wantsExports()) return "--report, --svg and --png belong to a single run";
        if (!o.saveCasePath.empty()) return "--save-case saves a single case, not a study";
    } else if (!o.tablePath.empty() || !o.shard.empty() || o.jobs != 0 || o.yes) {
        return "--table, --shard, --jobs and --yes need a study (--vary, --cases or --study) or, "
               "--jobs, a fit";
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
