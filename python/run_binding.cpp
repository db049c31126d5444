// One run from Python: the texts in, everything the window and the runner would show out.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <optional>

#include "display/control_table.h"
#include "files/history_csv.h"
#include "model/drying_run.h"
#include "model/input_check.h"
#include "model/text_to_number.h"
#include "python/binding.h"
#include "study/case_runner.h"

namespace tesmo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The run state of one thread, allocated at its first run and reused by every later one, with
// the times of the history records beside it.
struct ThreadRunner {
    CaseRunner runner;
    RunCapture capture;
    bool busy = false;
};

// Gives the calling thread's runner, or a new one while that is busy (a signal handler that
// runs a case of its own while the thread waits for a run).
class RunnerLease {
  public:
    RunnerLease() {
        thread_local std::unique_ptr<ThreadRunner> mine;
        if (!mine) mine = std::make_unique<ThreadRunner>();
        if (mine->busy) {
            extra_ = std::make_unique<ThreadRunner>();
            runner_ = extra_.get();
        } else {
            runner_ = mine.get();
        }
        runner_->busy = true;
    }
    ~RunnerLease() { runner_->busy = false; }
    RunnerLease(const RunnerLease&) = delete;
    RunnerLease& operator=(const RunnerLease&) = delete;
    ThreadRunner& operator*() const { return *runner_; }
    ThreadRunner* operator->() const { return runner_; }

  private:
    std::unique_ptr<ThreadRunner> extra_;
    ThreadRunner* runner_ = nullptr;
};

py::array_t<double> arrayOf(const double* values, std::size_t count) {
    py::array_t<double> a(static_cast<py::ssize_t>(count));
    if (count > 0) std::memcpy(a.mutable_data(), values, count * sizeof(double));
    return a;
}

py::list refusalsOf(const InputTexts& texts) {
    py::list refusals;
    for (const Refusal& r : checkInputs(texts)) {
        py::list fields, suggestions;
        for (Control c : r.fields)
            fields.append(controlName(c));
        for (double s : r.suggestions)
            if (!std::isnan(s)) suggestions.append(s);
        py::dict d;
        d["field"] = r.field == Control::Count ? py::object(py::none())
                                               : py::object(py::str(controlName(r.field)));
        d["fields"] = fields;
        d["message"] = refusalMessage(r);
        d["value"] = r.numberFound ? py::object(py::float_(r.value)) : py::object(py::none());
        d["suggestions"] = suggestions;
        refusals.append(d);
    }
    return refusals;
}

// What the window shows after the run: the output fields it wrote, in the window's order, and
// the warning labels that are visible.
void addWindow(py::dict& out, const HeadlessWindow& window) {
    py::list texts, warnings;
    for (int i = index(kFirstOutput); i < index(kFirstOutput) + kOutputCount; ++i)
        if (window.written(controlAt(i)))
            texts.append(py::make_tuple(controlName(controlAt(i)), window.text(controlAt(i))));
    for (Control c : kWarningLabels)
        if (window.isVisible(c)) warnings.append(controlName(c));
    out["texts"] = texts;
    out["warnings"] = warnings;
}

// The histories as the runner's --csv writes them (the shrinkage capped at the plate's linear
// drying shrinkage).
void addHistories(py::dict& out, const RunState& st, const HistoryArray& times) {
    const auto count = static_cast<std::size_t>(std::clamp(st.HistIndex, -1, kMaxHistoryIndex) + 1);
    py::list histories;
    for (std::size_t c = 0; c < kHistoryColumns.size(); ++c) {
        py::array_t<double> a(static_cast<py::ssize_t>(count));
        double* values = a.mutable_data();
        for (std::size_t r = 0; r < count; ++r)
            values[r] = exportedHistoryValue(st, c, r);
        histories.append(a);
    }
    out["histories"] = histories;
    out["times"] = arrayOf(times.data(), count);
}

py::list valuesOf(const CaseOutcome& o) {
    py::list values;
    for (std::size_t c = 0; c < kResultCount; ++c)
        values.append(o.reached[c] ? o.results[c] : kNaN);
    return values;
}

py::dict run(const std::vector<std::string>& textList,
             const std::map<std::string, std::string>& options) {
    InputTexts texts = inputTexts(textList);
    texts.optionen = runOptionsOf(options);
    std::optional<RunnerLease> held;
    try {
        held.emplace();
    } catch (const std::bad_alloc&) {
        PyErr_SetString(PyExc_MemoryError,
                        "Die Rechnung kann nicht beginnen: Der Arbeitsspeicher reicht nicht.");
        throw py::error_already_set();
    }
    RunnerLease& lease = *held;
    CaseOutcome outcome;
    std::atomic<bool> cancel{false};
    runWatched([&] { outcome = lease->runner.run(1, texts, &cancel, &lease->capture); }, cancel,
               [] {});
    py::dict out;
    out["refused"] = outcome.refused;
    if (outcome.refused) {
        out["refusals"] = refusalsOf(texts);
        return out;
    }
    out["end"] = caseEndName(outcome);
    out["message"] = outcome.message;
    out["values"] = valuesOf(outcome);
    addWindow(out, lease->runner.window());
    addHistories(out, lease->runner.state(), lease->capture.recordTimes());
    return out;
}

// The numbers the model reads from the texts, NaN for a text that holds none (as the study
// table leaves the cell empty).
std::vector<double> inputNumbers(const std::vector<std::string>& textList) {
    const InputTexts texts = inputTexts(textList);
    std::vector<double> numbers;
    for (const std::string& t : texts.text) {
        bool found = false;
        const double v = TextZuZahl(t, &found);
        numbers.push_back(found ? v : kNaN);
    }
    return numbers;
}

}  // namespace

void registerRun(py::module_& m) {
    m.def("run", &run, py::arg("texts"), py::arg("options") = std::map<std::string, std::string>{},
          "Runs the seventeen texts in the run modes `options` (name -> word) as the window's "
          "Start button would, on a fresh program state; returns the raw parts of a "
          "tesmo.Result.");
    m.def("input_numbers", &inputNumbers, py::arg("texts"),
          "The numbers the model reads from the seventeen texts (NaN: no number).");
    m.def(
        "input_names",
        [] {
            std::vector<std::string> names;
            for (int i = 0; i < kInputCount; ++i)
                names.emplace_back(controlName(controlAt(i)));
            return names;
        },
        "The control names of the seventeen input fields, in the window's order.");
    m.def(
        "default_texts", [] { return textList(defaultInputTexts()); },
        "The window's default texts of the seventeen inputs, in the window's order.");
    m.def(
        "history_names",
        [] {
            std::vector<std::string> names;
            for (const HistoryColumn& h : kHistoryColumns)
                names.emplace_back(h.name);
            return names;
        },
        "The names of the ten time histories, in the order of the runner's --csv.");
    m.def(
        "result_names",
        [] {
            std::vector<std::string> names;
            for (const ResultColumn& c : resultColumns())
                names.emplace_back(c.name);
            return names;
        },
        "The results of a run by the study table's column names, in the table's order.");
}

}  // namespace tesmo
