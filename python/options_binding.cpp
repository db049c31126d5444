// The run modes from Python: their names and words from the one table, checked here.
#include <pybind11/stl.h>

#include "files/case_file.h"
#include "python/binding.h"

namespace tesmo {

RunOptions runOptionsOf(const std::map<std::string, std::string>& words) {
    RunOptions options;
    for (const auto& [name, word] : words) {
        const auto option = runOptionByName(name);
        if (!option) throw py::type_error("'" + name + "' is no run mode");
        if (!setOptionWord(options, *option, word))
            throw py::value_error(name + " kennt „" + word + "“ nicht, möglich ist " +
                                  optionWordList(*option));
    }
    return options;
}

std::map<std::string, std::string> chosenOptions(const RunOptions& options) {
    std::map<std::string, std::string> chosen;
    for (const RunOptionSpec& spec : kRunOptions)
        if (optionChoice(options, spec.option) != 0)
            chosen.emplace(spec.name, optionWord(options, spec.option));
    return chosen;
}

void registerOptions(py::module_& m) {
    m.def(
        "run_options",
        [] {
            std::vector<std::pair<std::string, std::vector<std::string>>> table;
            for (const RunOptionSpec& spec : kRunOptions)
                table.emplace_back(spec.name,
                                   std::vector<std::string>(spec.words.begin(), spec.words.end()));
            return table;
        },
        "The run modes: (name, words) in the table's order; the first word is the default.");
    m.def(
        "read_case_options",
        [](const std::string& path) {
            InputTexts texts = defaultInputTexts();
            FileProblem problem;
            if (!readCaseFile(path, defaultInputTexts(), texts, problem)) raiseFileProblem(problem);
            return chosenOptions(texts.optionen);
        },
        py::arg("path"), "The run modes a case file chooses (those not at their default).");
}

}  // namespace tesmo
