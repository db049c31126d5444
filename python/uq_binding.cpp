// Uncertainty studies from Python: a plan from a study file or from Python's arguments, its
// cases run on the study engine's threads, and everything the analysis found as plain Python
// data for pandas (see tesmo/_uncertainty.py).
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <tuple>

#include "files/uncertainty_file.h"
#include "python/binding.h"
#include "study/result_table.h"
#include "study/result_view.h"
#include "study/study_engine.h"
#include "uq/analysis.h"
#include "uq/report.h"

namespace tesmo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// name, kind word ("lognormal", …, or "library"), parameters, library class name
using MarginalArgs = std::tuple<std::string, std::string, std::vector<double>, std::string>;
// fields, mean, covariance (rows), scales ("linear" or "log"; may be empty), source
using BlockArgs = std::tuple<std::vector<std::string>, std::vector<double>,
                             std::vector<std::vector<double>>, std::vector<std::string>>;
// result, ">" or "<", value
using LimitArgs = std::tuple<std::string, std::string, double>;

Control fieldNamed(const std::string& name) {
    const Control field = inputByName(name);
    if (field == Control::Count) throw py::type_error("'" + name + "' is not an input field");
    return field;
}

std::size_t resultNamed(const std::string& name) {
    const std::size_t column = resultIndex(name.c_str());
    if (column >= kResultCount) throw py::value_error("'" + name + "' is not a result column");
    return column;
}

template <std::size_t N>
std::uint8_t wordIndex(const std::string& word, const std::array<std::string_view, N>& words,
                       const char* what) {
    for (std::size_t i = 0; i < N; ++i)
        if (words[i] == word) return static_cast<std::uint8_t>(i);
    throw py::value_error("'" + word + "' is not a " + what);
}

Marginal marginalOf(const MarginalArgs& args) {
    const auto& [name, kind, parameters, library] = args;
    Marginal m;
    m.field = fieldNamed(name);
    if (kind == "library") {
        m.library = library;
        m.parameters = parameters;
        return m;
    }
    for (const DistributionForm& form : kDistributionForms) {
        if (form.word != kind) continue;
        if (parameters.size() != static_cast<std::size_t>(form.count))
            throw py::value_error(name + ": " + kind + " takes " + std::to_string(form.count) +
                                  " numbers (" + std::string(form.form) + ")");
        m.spec.kind = form.kind;
        for (std::size_t i = 0; i < parameters.size(); ++i)
            m.spec.p[i] = parameters[i];
        return m;
    }
    throw py::value_error(name + ": '" + kind +
                          "' is not lognormal, uniform, normal, triangular or an OpenTURNS "
                          "distribution");
}

CorrelatedNormal blockOf(const BlockArgs& args) {
    const auto& [names, mean, rows, scales] = args;
    CorrelatedNormal b;
    for (const std::string& n : names)
        b.fields.push_back(fieldNamed(n));
    b.mean = mean;
    for (const std::vector<double>& row : rows)
        b.covariance.insert(b.covariance.end(), row.begin(), row.end());
    for (const std::string& s : scales) {
        if (s != "linear" && s != "log")
            throw py::value_error("a scale is 'linear' or 'log', not '" + s + "'");
        b.scale.push_back(s == "log" ? Scale::Log : Scale::Linear);
    }
    b.source = "Python";
    return b;
}

UncertaintyPlan planOfArguments(const std::vector<std::string>& base,
                                const std::vector<MarginalArgs>& marginals,
                                const std::vector<BlockArgs>& blocks, std::size_t samples,
                                const std::string& design, std::uint64_t seed,
                                const std::string& indices, const std::vector<std::string>& results,
                                const std::vector<LimitArgs>& limits) {
    UncertaintyPlan plan;
    plan.base = inputTexts(base);
    for (const MarginalArgs& m : marginals)
        plan.marginals.push_back(marginalOf(m));
    for (const BlockArgs& b : blocks)
        plan.correlated.push_back(blockOf(b));
    plan.samples = samples;
    plan.design = static_cast<SampleDesign>(wordIndex(design, kDesignWords, "design"));
    plan.seed = seed;
    plan.indices = static_cast<IndexMethod>(wordIndex(indices, kIndexWords, "index method"));
    for (const std::string& r : results)
        plan.results.push_back(resultNamed(r));
    for (const auto& [result, side, value] : limits) {
        if (side != ">" && side != "<")
            throw py::value_error("a limit is '>' or '<', not '" + side + "'");
        plan.limits.push_back(
            {resultNamed(result), side == ">" ? LimitSide::Above : LimitSide::Below, value});
    }
    if (const std::string error = checkPlan(plan); !error.empty()) throw py::value_error(error);
    return plan;
}

UncertaintyPlan planOfFile(const std::string& path) {
    UncertaintyPlan plan;
    FileProblem problem;
    if (!readUncertaintyPlan(path, plan, problem)) raiseFileProblem(problem);
    return plan;
}

std::tuple<std::string, std::vector<double>> parsedDistribution(const std::string& text) {
    DistributionSpec spec;
    FileProblem problem;
    if (!parseDistribution(text, spec, problem)) throw py::value_error(describe(problem));
    const DistributionForm& form = distributionForm(spec.kind);
    return {std::string(form.word),
            std::vector<double>(spec.p.begin(), spec.p.begin() + form.count)};
}

// The study table's cells as columns, as tesmo.study returns them.
py::dict tableColumns(const std::vector<CaseOutcome>& outcomes) {
    const auto rows = static_cast<py::ssize_t>(outcomes.size());
    py::array_t<std::int64_t> number(rows);
    py::array_t<double> inputs({rows, py::ssize_t{kInputCount}});
    py::array_t<double> results({rows, py::ssize_t{kResultCount}});
    std::vector<std::string> ends, messages;
    for (py::ssize_t r = 0; r < rows; ++r) {
        const CaseOutcome& o = outcomes[static_cast<std::size_t>(r)];
        number.mutable_at(r) = static_cast<std::int64_t>(o.number);
        for (std::size_t i = 0; i < kInputCount; ++i)
            inputs.mutable_at(r, static_cast<py::ssize_t>(i)) = o.inputRead[i] ? o.inputs[i] : kNaN;
        for (std::size_t c = 0; c < kResultCount; ++c)
            results.mutable_at(r, static_cast<py::ssize_t>(c)) = o.reached[c] ? o.results[c] : kNaN;
        ends.emplace_back(caseEndName(o));
        messages.push_back(o.message);
    }
    py::dict d;
    d["case"] = number;
    d["inputs"] = inputs;
    d["end"] = ends;
    d["message"] = messages;
    d["results"] = results;
    return d;
}

py::tuple estimate(const Estimate& e) {
    return py::make_tuple(e.value, e.low, e.high);
}

py::dict analysisData(const UncertaintyPlan& plan, const UncertaintyAnalysis& a) {
    const auto name = [](std::size_t column) { return std::string(resultColumns()[column].name); };
    py::list statistics, histograms, limits, indices, methods, ends, regions;
    for (const ResultStatistics& s : a.statistics) {
        statistics.append(py::make_tuple(name(s.column), s.count, estimate(s.mean), s.sd,
                                         estimate(s.q05), estimate(s.q50), estimate(s.q95)));
        histograms.append(py::make_tuple(name(s.column), s.histogram.edges, s.histogram.counts));
    }
    for (const LimitStatistics& l : a.limits)
        limits.append(py::make_tuple(
            name(l.limit.column), l.limit.side == LimitSide::Above ? ">" : "<", l.limit.value,
            l.count, l.beyond, estimate(l.probability), l.withoutValue, l.lowest, l.highest));
    for (const ResultIndices& r : a.indices) {
        methods.append(py::make_tuple(name(r.column),
                                      std::string(kIndexWords[static_cast<std::size_t>(r.method)]),
                                      r.reported, r.reason, r.used, r.degree, r.terms, r.q2));
        for (const SobolIndex& s : r.indices)
            indices.append(py::make_tuple(name(r.column), a.groups[s.group].name, estimate(s.first),
                                          estimate(s.total)));
    }
    for (const EndCount& e : a.unfinished.ends)
        ends.append(py::make_tuple(e.end, e.word, e.count));
    for (const InputRegion& r : a.unfinished.regions)
        regions.append(py::make_tuple(std::string(controlName(r.field)), r.lowest, r.highest,
                                      r.lowestLevel, r.highestLevel));
    py::dict d;
    d["statistics"] = statistics;
    d["histograms"] = histograms;
    d["limits"] = limits;
    d["indices"] = indices;
    d["methods"] = methods;
    d["ends"] = ends;
    d["regions"] = regions;
    d["cases"] = a.cases;
    d["finished"] = a.finishedCases;
    d["report"] = uncertaintyReport(plan, a);
    return d;
}

// Runs the plan's cases (or reads them from result tables) and analyses them: the table's
// columns and the analysis.
py::tuple uncertainty(const UncertaintyPlan& plan, const std::vector<std::string>& tables,
                      unsigned jobs, const py::object& progress) {
    const UncertaintySample sample = drawSample(plan);
    std::vector<CaseOutcome> outcomes;
    if (!tables.empty()) {
        FileProblem problem;
        for (const std::string& t : tables)
            if (!readResultTable(t, outcomes, problem)) raiseFileProblem(problem);
        if (const std::string error = outcomesProblem(sample, outcomes); !error.empty())
            throw py::value_error(error);
    } else {
        const CaseList cases = sampleCases(plan, sample);
        LatestProgress<StudyProgress> box;
        StudyCallbacks callbacks;
        callbacks.sink = [&outcomes](const CaseOutcome& o) {
            outcomes.push_back(o);
            return true;
        };
        if (!progress.is_none())
            callbacks.progress = [&box](const StudyProgress& p) { box.post(p); };
        std::atomic<bool> cancel{false};
        const auto tick = [&] {
            if (!progress.is_none()) showStudyProgress(box.take(), progress);
        };
        runWatched(
            [&] {
                runStudy(cases, {0, 1, cases.size()}, jobs, callbacks, cancel);
            },
            cancel, tick);
        tick();
    }
    // The analysis takes well under two seconds; OpenTURNS' generator, shared with a Python
    // session that uses OpenTURNS itself, is only touched with the interpreter held.
    const UncertaintyAnalysis analysis = analyseUncertainty(plan, sample, outcomes);
    return py::make_tuple(tableColumns(outcomes), analysisData(plan, analysis));
}

std::string caseTable(const UncertaintyPlan& plan) {
    return sampleCaseTable(drawSample(plan));
}

void writeStudy(const std::string& path, const UncertaintyPlan& plan) {
    UncertaintyFile file;
    FileProblem problem;
    if (!uncertaintyFileOf(plan, file, problem) || !writeUncertaintyFile(path, file, problem))
        raiseFileProblem(problem);
}

}  // namespace

void registerUncertainty(py::module_& m) {
    py::class_<UncertaintyPlan>(m, "UncertaintyPlan",
                                "An uncertainty study ready to run (see tesmo.uncertainty).")
        .def_readonly("samples", &UncertaintyPlan::samples)
        .def_readonly("seed", &UncertaintyPlan::seed)
        .def_property_readonly("base", [](const UncertaintyPlan& p) { return textList(p.base); })
        .def_property_readonly("fields", [](const UncertaintyPlan& p) {
            std::vector<std::string> names;
            for (Control f : sampledFields(p))
                names.emplace_back(controlName(f));
            return names;
        });
    m.def("uq_plan_file", &planOfFile, py::arg("path"), "The plan of a study file (.tguq).");
    m.def("uq_plan", &planOfArguments, py::arg("base"), py::arg("marginals"), py::arg("blocks"),
          py::arg("samples"), py::arg("design"), py::arg("seed"), py::arg("indices"),
          py::arg("results"), py::arg("limits"), "A plan from its parts; ValueError if unusable.");
    m.def("uq_parse_distribution", &parsedDistribution, py::arg("text"),
          "A distribution as a study file writes it: (kind, parameters).");
    m.def("uq_run", &uncertainty, py::arg("plan"), py::arg("tables"), py::arg("jobs"),
          py::arg("progress"),
          "Runs the plan's cases (or reads result tables) and analyses them: (columns, analysis).");
    m.def("uq_case_table", &caseTable, py::arg("plan"),
          "The drawn cases as a case table (';' between cells), as --cases reads it.");
    m.def("uq_write", &writeStudy, py::arg("path"), py::arg("plan"),
          "Writes the plan as a study file, atomically.");
}

}  // namespace tesmo
