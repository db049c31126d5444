// The runner's parameter study from Python: the cases as the runner forms them, computed on the
// study engine's threads, the table's cells as columns for a pandas DataFrame.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <variant>

#include "files/case_table.h"
#include "model/drying_run.h"
#include "python/binding.h"
#include "study/case_list.h"
#include "study/study_engine.h"

namespace tesmo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// An input varied by a range or list as --vary takes it ("30:70:5", "20;30"), or by its texts.
using VariedInput = std::pair<std::string, std::variant<std::string, std::vector<std::string>>>;
using TextRows = std::vector<std::vector<std::string>>;
using OptionWords = std::map<std::string, std::string>;

// The cases of a study: the rows of a case table, the texts given case by case, or the product
// of the variations (the last varying fastest). The run modes: `baseOptions` for every case,
// or, for cases given one by one, each row's own.
CaseList formedCases(const std::vector<std::string>& base, const std::vector<VariedInput>& vary,
                     const std::optional<TextRows>& rows, const std::optional<std::string>& table,
                     const OptionWords& baseOptions,
                     const std::optional<std::vector<OptionWords>>& rowOptions) {
    InputTexts baseTexts = inputTexts(base);
    baseTexts.optionen = runOptionsOf(baseOptions);
    if (table) {
        CaseTable t;
        FileProblem problem;
        if (!readCaseTable(pathArgument(*table, "cases"), t, problem, nonInputColumns()))
            raiseFileProblem(problem);
        return CaseList(baseTexts, std::move(t));
    }
    if (rows) {
        std::vector<InputTexts> cases;
        cases.reserve(rows->size());
        if (rowOptions && rowOptions->size() != rows->size())
            throw py::value_error("one set of run modes per case");
        for (std::size_t i = 0; i < rows->size(); ++i) {
            cases.push_back(inputTexts((*rows)[i]));
            cases.back().optionen =
                rowOptions ? runOptionsOf((*rowOptions)[i]) : baseTexts.optionen;
        }
        return CaseList(baseTexts, std::move(cases));
    }
    std::vector<Variation> variations;
    for (const auto& [name, spec] : vary) {
        VariationResult r;
        if (const auto* text = std::get_if<std::string>(&spec)) {
            r = parseVariation(name + "=" + *text);
        } else {
            r.ok = true;
            r.variation = {inputByName(name), std::get<std::vector<std::string>>(spec)};
            if (r.variation.field == Control::Count)
                throw py::type_error("'" + name + "' is not an input field");
        }
        if (!r.ok) throw py::value_error(r.error);
        variations.push_back(std::move(r.variation));
    }
    CaseList cases(baseTexts, std::move(variations));
    if (cases.tooLarge()) throw py::value_error("the study has more cases than can be counted");
    return cases;
}

// The cases of a study; a study of more than kCasesWithoutYes cases only with `yes`, as the
// runner asks for --yes.
CaseList caseList(const std::vector<std::string>& base, const std::vector<VariedInput>& vary,
                  const std::optional<TextRows>& rows, const std::optional<std::string>& table,
                  bool yes, const OptionWords& baseOptions = {},
                  const std::optional<std::vector<OptionWords>>& rowOptions = std::nullopt) {
    CaseList cases = formedCases(base, vary, rows, table, baseOptions, rowOptions);
    if (cases.size() > kCasesWithoutYes && !yes)
        throw py::value_error("the study has " + std::to_string(cases.size()) +
                              " cases; more than " + std::to_string(kCasesWithoutYes) +
                              " run only with yes=True");
    return cases;
}

// The table's cells, column by column; NaN where the table leaves a cell empty.
struct TableColumns {
    std::vector<std::int64_t> number;
    std::vector<double> inputs;  // row after row, kInputCount per row
    std::vector<std::string> ends, messages;
    std::vector<double> results;  // row after row, kResultCount per row

    void add(const CaseOutcome& o) {
        number.push_back(static_cast<std::int64_t>(o.number));
        for (std::size_t i = 0; i < kInputCount; ++i)
            inputs.push_back(o.inputRead[i] ? o.inputs[i] : kNaN);
        ends.emplace_back(caseEndName(o));
        messages.push_back(o.message);
        for (std::size_t c = 0; c < kResultCount; ++c)
            results.push_back(o.reached[c] ? o.results[c] : kNaN);
    }

    py::dict toPython() const {
        const auto rows = static_cast<py::ssize_t>(number.size());
        py::dict d;
        d["case"] = py::array_t<std::int64_t>(rows, number.data());
        d["inputs"] = py::array_t<double>({rows, py::ssize_t{kInputCount}}, inputs.data());
        d["end"] = ends;
        d["message"] = messages;
        d["results"] = py::array_t<double>({rows, py::ssize_t{kResultCount}}, results.data());
        return d;
    }
};

py::dict study(const std::vector<std::string>& base, const std::vector<VariedInput>& vary,
               const std::optional<TextRows>& rows, const std::optional<std::string>& table,
               bool yes, unsigned jobs, const py::object& progress, const OptionWords& baseOptions,
               const std::optional<std::vector<OptionWords>>& rowOptions) {
    const CaseList cases = caseList(base, vary, rows, table, yes, baseOptions, rowOptions);
    TableColumns columns;
    LatestProgress<StudyProgress> mailbox;
    StudyCallbacks callbacks;
    callbacks.sink = [&columns](const CaseOutcome& o) {
        columns.add(o);
        return true;
    };
    if (!progress.is_none())
        callbacks.progress = [&mailbox](const StudyProgress& p) { mailbox.post(p); };
    std::atomic<bool> cancel{false};
    const auto tick = [&] {
        if (!progress.is_none()) showStudyProgress(mailbox.take(), progress);
    };
    runWatched(
        [&] {
            runStudy(cases, {0, 1, cases.size()}, jobs, callbacks, cancel);
        },
        cancel, tick);
    tick();  // the last state, cases done of all
    return columns.toPython();
}

std::vector<std::vector<std::string>> caseTexts(const std::vector<std::string>& base,
                                                const std::vector<VariedInput>& vary,
                                                const std::optional<TextRows>& rows,
                                                const std::optional<std::string>& table, bool yes) {
    const CaseList cases = caseList(base, vary, rows, table, yes);
    std::vector<std::vector<std::string>> out;
    out.reserve(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        out.push_back(textList(cases.texts(i)));
    return out;
}

constexpr RunEnd kCaseEnds[] = {RunEnd::Target,      RunEnd::Midplane,  RunEnd::Stopped,
                                RunEnd::HistoryFull, RunEnd::NonFinite, RunEnd::Unstable};

// How a case can end, as the table's column "end" says it: refused, target, midplane, …
std::vector<std::string> endNames() {
    std::vector<std::string> names{caseEndName(CaseOutcome{})};
    for (RunEnd e : kCaseEnds)
        names.emplace_back(laufendeName(e));
    return names;
}

RunEnd runEndNamed(const std::string& name) {
    for (RunEnd e : kCaseEnds)
        if (name == laufendeName(e)) return e;
    throw py::value_error("'" + name + "' is not how a case ends");
}

using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;
using IntArray = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>;

// The table's text for the columns of a study frame: what the runner writes for the same cases.
std::string tableText(const IntArray& number, const DoubleArray& inputs,
                      const std::vector<std::string>& ends,
                      const std::vector<std::string>& messages, const DoubleArray& results,
                      TableFormat format) {
    const auto rows = static_cast<std::size_t>(number.size());
    if (inputs.ndim() != 2 || results.ndim() != 2 ||
        static_cast<std::size_t>(inputs.shape(0)) != rows || inputs.shape(1) != kInputCount ||
        static_cast<std::size_t>(results.shape(0)) != rows || results.shape(1) != kResultCount ||
        ends.size() != rows || messages.size() != rows)
        throw py::value_error("the columns do not form a study table");
    std::string text = tableHeader(format);
    for (std::size_t r = 0; r < rows; ++r) {
        CaseOutcome o;
        o.number = static_cast<std::size_t>(number.at(static_cast<py::ssize_t>(r)));
        o.refused = ends[r] == caseEndName(CaseOutcome{});
        if (!o.refused) o.end = runEndNamed(ends[r]);
        o.message = messages[r];
        const double* in = inputs.data(static_cast<py::ssize_t>(r), 0);
        for (std::size_t i = 0; i < kInputCount; ++i) {
            o.inputRead[i] = !std::isnan(in[i]);
            o.inputs[i] = in[i];
        }
        const double* res = results.data(static_cast<py::ssize_t>(r), 0);
        for (std::size_t c = 0; c < kResultCount; ++c) {
            o.reached[c] = !std::isnan(res[c]);
            o.results[c] = res[c];
        }
        text += tableRow(o, format);
    }
    return text;
}

void writeTable(const std::string& path, const IntArray& number, const DoubleArray& inputs,
                const std::vector<std::string>& ends, const std::vector<std::string>& messages,
                const DoubleArray& results, const std::string& formatName) {
    const std::string target = pathArgument(path, "path");
    TableFormat format{};
    if (!tableFormatNamed(formatName, format))
        throw py::value_error("table_format is 'csv' or 'de', not '" + formatName + "'");
    const std::string text = tableText(number, inputs, ends, messages, results, format);
    WriteFailure failure;
    bool written = false;
    withoutGil([&] { written = writeFileAtomically(target, text, &failure); });
    if (!written) raiseWriteFailure(failure);
}

std::string progressTextOf(std::size_t done, std::size_t total, double elapsed, double remaining) {
    const auto duration = [](double seconds) {
        return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(seconds));
    };
    return progressText({done, total, duration(elapsed), duration(remaining)});
}

}  // namespace

void registerStudy(py::module_& m) {
    // A study the system refused memory or a thread: Python's own exceptions for these, with
    // the program's German sentence.
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const StudyFailure& e) {
            PyErr_SetString(
                e.cause() == StudyFailure::Cause::Memory ? PyExc_MemoryError : PyExc_RuntimeError,
                e.what());
        }
    });
    m.def("study", &study, py::arg("base"), py::arg("vary"), py::arg("rows"), py::arg("table"),
          py::arg("yes"), py::arg("jobs"), py::arg("progress"),
          py::arg("base_options") = OptionWords{}, py::arg("row_options") = std::nullopt,
          "Runs the cases on `jobs` threads, in the run modes `base_options` (name -> word) or "
          "each row's `row_options`; returns the table's cells as columns.");
    m.def("case_texts", &caseTexts, py::arg("base"), py::arg("vary"), py::arg("rows"),
          py::arg("table"), py::arg("yes"),
          "The seventeen texts of every case of a study, in case order.");
    m.def(
        "cases_without_yes", [] { return kCasesWithoutYes; },
        "The most cases a study runs without yes=True.");
    m.def("end_names", &endNames, "How a case can end, as the table's column \"end\" says it.");
    m.def("table_columns", &tableColumnNames, "The columns of the study table, left to right.");
    m.def("write_table", &writeTable, py::arg("path"), py::arg("case"), py::arg("inputs"),
          py::arg("end"), py::arg("message"), py::arg("results"), py::arg("table_format"),
          "Writes the columns of a study frame as the runner's result table, atomically, in its "
          "plain ('csv') or German ('de') format.");
    m.def("progress_text", &progressTextOf, py::arg("done"), py::arg("total"), py::arg("elapsed"),
          py::arg("remaining"),
          "The runner's progress line: cases done of all, time elapsed and left (seconds).");
    m.def("default_jobs", &defaultJobs, "The number of threads a study uses: every core.");
}

}  // namespace tesmo
