// Case files from Python: the same reader, writer and messages as the window and the runner.
#include <pybind11/stl.h>

#include "files/case_file.h"
#include "python/binding.h"

namespace tesmo {

namespace {

std::vector<std::string> readCase(const std::string& path) {
    InputTexts texts = defaultInputTexts();
    FileProblem problem;
    if (!readCaseFile(pathArgument(path, "path"), defaultInputTexts(), texts, problem))
        raiseFileProblem(problem);
    return textList(texts);
}

void writeCase(const std::string& path, const std::vector<std::string>& texts,
               const std::map<std::string, std::string>& options) {
    InputTexts t = inputTexts(texts);
    t.optionen = runOptionsOf(options);
    FileProblem problem;
    if (!writeCaseFile(pathArgument(path, "path"), t, problem)) raiseFileProblem(problem);
}

}  // namespace

void registerFiles(py::module_& m) {
    m.def("read_case", &readCase, py::arg("path"),
          "The seventeen texts of a case file (fields it does not name keep their defaults).");
    m.def("write_case", &writeCase, py::arg("path"), py::arg("texts"),
          py::arg("options") = std::map<std::string, std::string>{},
          "Saves the seventeen texts and the run modes (name -> word) as a case file, "
          "atomically.");
}

}  // namespace tesmo
