#include "model/run_options.h"

namespace tesmo {

std::optional<RunOption> runOptionByName(std::string_view name) {
    for (const RunOptionSpec& spec : kRunOptions)
        if (spec.name == name) return spec.option;
    return std::nullopt;
}

const RunOptionSpec& runOptionSpec(RunOption option) {
    return kRunOptions[static_cast<std::size_t>(option)];
}

int optionChoice(const RunOptions& options, RunOption option) {
    switch (option) {
        case RunOption::Klima:
            return static_cast<int>(options.klima);
        case RunOption::Luftbilanz:
            return static_cast<int>(options.luftbilanz);
    }
    return 0;
}

std::string_view optionWord(const RunOptions& options, RunOption option) {
    return runOptionSpec(option).words[static_cast<std::size_t>(optionChoice(options, option))];
}

bool setOptionWord(RunOptions& options, RunOption option, std::string_view word) {
    const auto& words = runOptionSpec(option).words;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] != word) continue;
        switch (option) {
            case RunOption::Klima:
                options.klima = static_cast<Klima>(i);
                break;
            case RunOption::Luftbilanz:
                options.luftbilanz = static_cast<Luftbilanz>(i);
                break;
        }
        return true;
    }
    return false;
}

std::string optionWordList(RunOption option) {
    std::string list;
    for (const std::string_view word : runOptionSpec(option).words) {
        if (!list.empty()) list += " oder ";
        list += word;
    }
    return list;
}

std::string optionsText(const RunOptions& options, const RunOptions& reference) {
    std::string out;
    for (const RunOptionSpec& spec : kRunOptions) {
        if (optionChoice(options, spec.option) == optionChoice(reference, spec.option)) continue;
        if (!out.empty()) out += ", ";
        out += std::string(spec.caption) + " " + std::string(optionWord(options, spec.option));
    }
    return out;
}

}  // namespace tesmo
