// The run modes beside the seventeen inputs: how the air around the plate is modelled and which
// air balance the second drying period uses. Each mode is one row of kRunOptions: its name (as
// a case file, the runner's --NAME and Python's keyword write it), its German caption, and its
// words, the first of which is the default. The defaults compute the counter-current dryer
// exactly as a run without any option does.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesmo {

// The air the plate dries in.
enum class Klima : std::uint8_t {
    Gegenstrom,  // counter-current dryer: the air changes along the plate's way (the default)
    Konstant,    // climate chamber: the air stays at the exhaust-air state for the whole run
};

// The air balance of the second drying period.
enum class Luftbilanz : std::uint8_t {
    Standard,    // as the dryer has always been computed (the default)
    Korrigiert,  // the sensible heat of the plate per step, from the first period's end
};

struct RunOptions {
    Klima klima = Klima::Gegenstrom;
    Luftbilanz luftbilanz = Luftbilanz::Standard;
    bool operator==(const RunOptions&) const = default;
};

enum class RunOption : std::uint8_t { Klima, Luftbilanz };

struct RunOptionSpec {
    RunOption option;
    std::string_view name;                  // "klima"
    std::string_view caption;               // "Klima"
    std::array<std::string_view, 2> words;  // words[0] is the default
};

inline constexpr std::array<RunOptionSpec, 2> kRunOptions = {{
    {RunOption::Klima, "klima", "Klima", {"gegenstrom", "konstant"}},
    {RunOption::Luftbilanz, "luftbilanz", "Luftbilanz", {"standard", "korrigiert"}},
}};
inline constexpr int kRunOptionCount = static_cast<int>(kRunOptions.size());

// The option of that name, if any.
std::optional<RunOption> runOptionByName(std::string_view name);
const RunOptionSpec& runOptionSpec(RunOption option);

// The index of the option's word in its spec's words (0 is the default).
int optionChoice(const RunOptions& options, RunOption option);
std::string_view optionWord(const RunOptions& options, RunOption option);
// Sets the option to `word`; false (and nothing changed) for a word the option does not have.
bool setOptionWord(RunOptions& options, RunOption option, std::string_view word);

// "Klima konstant, Luftbilanz korrigiert": the modes in which `options` differ from
// `reference` (by default: from the defaults), by caption and word; "" when none differs.
std::string optionsText(const RunOptions& options, const RunOptions& reference = {});

// "gegenstrom oder konstant": the option's words for a message.
std::string optionWordList(RunOption option);

}  // namespace tesmo
