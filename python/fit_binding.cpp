// Fits and measurement files from Python: the runner's fit on its threads, the GIL released;
// the result's parts as plain Python values for the package's FitResult.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <mutex>
#include <optional>

#include "files/fit_file.h"
#include "files/fit_series.h"
#include "files/measurement_file.h"
#include "fit/fit.h"
#include "fit/fit_report.h"
#include "python/binding.h"

namespace tesmo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

py::array_t<double> arrayOf(const std::vector<double>& values) {
    return py::array_t<double>(static_cast<py::ssize_t>(values.size()), values.data());
}

py::dict measurementDict(const Measurement& m) {
    py::dict values;
    for (const MessgroesseSpec& q : kMessgroessen)
        if (m.misst(q.groesse))
            values[py::str(std::string(q.spalte))] = arrayOf(m.werte[slot(q.groesse)]);
    py::dict d;
    d["time"] = arrayOf(m.zeit);
    d["line"] = m.zeile;
    d["values"] = values;
    return d;
}

py::dict readMeasurement(const std::string& path) {
    Measurement m;
    FileProblem problem;
    if (!readMeasurementFile(path, m, problem)) raiseFileProblem(problem);
    return measurementDict(m);
}

Control inputNamed(const std::string& name) {
    const Control c = inputByName(name);
    if (c == Control::Count) throw py::type_error("'" + name + "' is not an input field");
    return c;
}

std::array<double, kMessgroessenCount> sigmaOf(const std::map<std::string, double>& given) {
    std::array<double, kMessgroessenCount> sigma = FitSetup::unsetSigma();
    for (const auto& [name, value] : given) {
        Messgroesse g{};
        if (!messgroesseByName(name, g))
            throw py::value_error("'" + name +
                                  "' is no measured quantity (X, m_g, thetaOb, schwind)");
        if (!(value > 0) || !std::isfinite(value))
            throw py::value_error("the noise of " + name + " must be a number above 0");
        sigma[slot(g)] = value;
    }
    return sigma;
}

// One series from Python: the measurement file, its name for tables, the case's seventeen
// texts and run modes, the dry mass (NaN: none).
using SeriesSpec = std::tuple<std::string, std::string, std::vector<std::string>,
                              std::map<std::string, std::string>, double>;
using ParameterSpec = std::tuple<std::string, double, double, double>;

FitSetup setupOf(const std::vector<SeriesSpec>& series,
                 const std::vector<ParameterSpec>& parameters, int starts, std::uint32_t seed,
                 int iterations, const std::map<std::string, double>& sigma) {
    if (series.empty()) throw py::value_error("a fit needs at least one series");
    if (parameters.empty()) throw py::value_error("a fit needs at least one parameter");
    if (starts < 1 || starts > kMaxStarts)
        throw py::value_error("starts is a whole number from 1 to " + std::to_string(kMaxStarts));
    if (iterations < 1 || iterations > kMaxIterations)
        throw py::value_error("iterations is a whole number from 1 to " +
                              std::to_string(kMaxIterations));
    FitSetup setup;
    setup.starts = starts;
    setup.seed = seed;
    setup.iterations = iterations;
    setup.sigma = sigmaOf(sigma);
    for (const auto& [name, start, lower, upper] : parameters) {
        const Control field = inputNamed(name);
        for (const FitParameterEntry& other : setup.parameters)
            if (other.field == field) throw py::value_error(name + " is fitted twice");
        if (!(lower < upper))
            throw py::value_error(name + ": the lower bound must be below the upper");
        if (!(start >= lower && start <= upper))
            throw py::value_error(name + ": the start must lie within the bounds");
        setup.parameters.push_back({field, start, lower, upper, 0});
    }
    for (const auto& [path, name, texts, options, dryMass] : series) {
        MeasuredSeries s;
        s.name = name;
        s.path = path;
        s.texts = inputTexts(texts);
        s.texts.optionen = runOptionsOf(options);
        s.trockenmasse_g = dryMass;
        FileProblem problem;
        if (!readMeasurementFile(path, s.measurement, problem) ||
            !checkSeries(s, setup.sigma, FileProblem{.path = path}, problem))
            raiseFileProblem(problem);
        setup.series.push_back(std::move(s));
    }
    return setup;
}

py::list parameterList(const FitResult& r) {
    py::list out;
    for (const ParameterEstimate& p : r.parameters) {
        py::dict d;
        d["name"] = controlName(p.field);
        d["scale"] = std::string(scaleWord(p.scale));
        d["value"] = p.value;
        d["stderr"] = p.standardError;
        d["low"] = p.low;
        d["high"] = p.high;
        d["relative_error"] = p.relativeError;
        d["determined"] = p.determined;
        d["note"] = p.note;
        out.append(d);
    }
    return out;
}

py::dict resultDict(const FitSetup& setup, const FitResult& r) {
    const auto m = static_cast<py::ssize_t>(r.parameters.size());
    py::dict d;
    d["end"] = fitEndName(r.end);
    d["message"] = r.message;
    d["parameters"] = parameterList(r);
    d["covariance"] =
        py::array_t<double>({m, m}, r.covariance.empty() ? nullptr : r.covariance.data());
    d["correlation"] =
        py::array_t<double>({m, m}, r.correlation.empty() ? nullptr : r.correlation.data());
    py::list residuals, sigma;
    for (const ResidualSummary& s : r.residuals)
        residuals.append(py::make_tuple(setup.series[s.series].name,
                                        std::string(messgroesseSpec(s.groesse).spalte), s.count,
                                        s.rms));
    for (const MessgroesseSpec& q : kMessgroessen)
        sigma.append(py::make_tuple(std::string(q.spalte), r.sigma[slot(q.groesse)],
                                    r.sigmaEstimated[slot(q.groesse)]));
    d["residuals"] = residuals;
    d["sigma"] = sigma;
    std::vector<std::string> series, quantity;
    std::vector<double> time, measured, simulated, residual;
    for (const ComparisonRow& c : r.comparison) {
        series.push_back(setup.series[c.series].name);
        quantity.emplace_back(messgroesseSpec(c.groesse).spalte);
        time.push_back(c.zeit);
        measured.push_back(c.gemessen);
        simulated.push_back(c.simuliert);
        residual.push_back(c.residual);
    }
    py::dict comparison;
    comparison["series"] = series;
    comparison["time"] = arrayOf(time);
    comparison["quantity"] = quantity;
    comparison["measured"] = arrayOf(measured);
    comparison["simulated"] = arrayOf(simulated);
    comparison["residual"] = arrayOf(residual);
    d["comparison"] = comparison;
    py::list starts;
    for (const StartSummary& s : r.starts)
        starts.append(py::make_tuple(s.start, s.values, s.cost, s.iterations, fitEndName(s.end)));
    d["starts"] = starts;
    d["best_start"] = r.bestStart;
    d["cost"] = r.cost;
    d["points"] = r.points;
    d["degrees_of_freedom"] = r.degreesOfFreedom;
    d["iterations"] = r.iterations;
    d["runs"] = r.modelRuns;
    d["seconds"] = r.seconds;
    d["fitted_case"] =
        r.parameters.empty() ? std::vector<std::string>{} : textList(fittedCase(setup, r));
    return d;
}

py::dict fit(const std::vector<SeriesSpec>& series, const std::vector<ParameterSpec>& parameters,
             int starts, std::uint32_t seed, int iterations,
             const std::map<std::string, double>& sigma, unsigned jobs,
             const py::object& progress) {
    const FitSetup setup = setupOf(series, parameters, starts, seed, iterations, sigma);
    LatestProgress<FitProgress> mailbox;
    std::atomic<bool> cancel{false};
    FitControl control;
    control.jobs = jobs;
    control.cancel = &cancel;
    if (!progress.is_none())
        control.progress = [&mailbox](const FitProgress& p) { mailbox.post(p); };
    FitResult result;
    const auto tick = [&] {
        if (!progress.is_none())
            if (const std::optional<FitProgress> p = mailbox.take())
                progress(p->start, p->starts, p->iteration, p->cost, p->bestCost, p->runs,
                         p->seconds);
    };
    runWatched([&] { result = runFit(setup, control); }, cancel, tick);
    tick();
    return resultDict(setup, result);
}

py::dict readFit(const std::string& path) {
    FitFile file;
    FileProblem problem;
    if (!readFitFile(path, file, problem)) raiseFileProblem(problem);
    py::list series;
    for (const SeriesEntry& s : file.series) {
        py::dict d;
        d["measurement"] = resolvedPath(file, s.measurement);
        d["case"] = resolvedPath(file, s.caseFile);
        d["name"] = s.measurement;
        if (!std::isnan(s.trockenmasse_g)) d["trockenmasse_g"] = s.trockenmasse_g;
        for (const RunOptionSpec& spec : kRunOptions)
            if (s.optionSet[static_cast<std::size_t>(spec.option)])
                d[py::str(std::string(spec.name))] =
                    std::string(optionWord(s.optionen, spec.option));
        series.append(d);
    }
    py::dict parameters;
    for (const FitParameterEntry& p : file.parameters)
        parameters[controlName(p.field)] = py::make_tuple(p.start, p.lower, p.upper);
    py::dict sigma;
    for (const MessgroesseSpec& q : kMessgroessen)
        if (!std::isnan(file.sigma[slot(q.groesse)]))
            sigma[py::str(std::string(q.spalte))] = file.sigma[slot(q.groesse)];
    py::dict d;
    d["series"] = series;
    d["parameters"] = parameters;
    d["starts"] = file.starts;
    d["seed"] = file.seed;
    d["iterations"] = file.iterations;
    d["sigma"] = sigma;
    if (file.outcome) {
        const FitOutcome& o = *file.outcome;
        std::vector<std::string> names, scales;
        for (std::size_t i = 0; i < o.size(); ++i) {
            names.emplace_back(controlName(o.fields[i]));
            scales.emplace_back(scaleWord(o.scales[i]));
        }
        py::dict r;
        r["names"] = names;
        r["values"] = o.values;
        r["scales"] = scales;
        const auto n = static_cast<py::ssize_t>(o.size());
        r["covariance"] = o.hasCovariance()
                              ? py::object(py::array_t<double>({n, n}, o.covariance.data()))
                              : py::object(py::none());
        d["result"] = r;
    }
    return d;
}

// A series line to be written: measurement and case paths as they should stand in the file,
// the dry mass (NaN: none) and the run modes the line sets.
using SeriesLine = std::tuple<std::string, std::string, double, std::map<std::string, std::string>>;
using ResultLines =
    std::tuple<std::vector<std::string>, std::vector<double>, std::vector<std::string>,
               std::optional<py::array_t<double, py::array::c_style | py::array::forcecast>>>;

void writeFit(const std::string& path, const std::vector<SeriesLine>& series,
              const std::vector<ParameterSpec>& parameters, int starts, std::uint32_t seed,
              int iterations, const std::map<std::string, double>& sigma,
              const std::optional<ResultLines>& result) {
    FitFile file;
    for (const auto& [measurement, caseFile, dryMass, options] : series) {
        SeriesEntry e;
        e.measurement = measurement;
        e.caseFile = caseFile;
        e.trockenmasse_g = dryMass;
        for (const auto& [name, word] : options) {
            const auto option = runOptionByName(name);
            if (!option || !setOptionWord(e.optionen, *option, word))
                throw py::value_error("'" + name + " = " + word + "' is no run mode");
            e.optionSet[static_cast<std::size_t>(*option)] = true;
        }
        file.series.push_back(e);
    }
    for (const auto& [name, start, lower, upper] : parameters)
        file.parameters.push_back({inputNamed(name), start, lower, upper, 0});
    file.starts = starts;
    file.seed = seed;
    file.iterations = iterations;
    file.sigma = sigmaOf(sigma);
    if (result) {
        const auto& [names, values, scales, covariance] = *result;
        FitOutcome o;
        for (std::size_t i = 0; i < names.size(); ++i) {
            o.fields.push_back(inputNamed(names[i]));
            o.values.push_back(values.at(i));
            o.scales.push_back(scales.at(i) == "log" ? FitScale::Log : FitScale::Linear);
        }
        if (covariance)
            o.covariance.assign(covariance->data(), covariance->data() + covariance->size());
        file.outcome = o;
    }
    FileProblem problem;
    if (!writeFitFile(path, file, problem)) raiseFileProblem(problem);
}

}  // namespace

void registerFit(py::module_& m) {
    m.def("read_measurement", &readMeasurement, py::arg("path"),
          "A measurement file: times in s, the file's line of each record, and the measured "
          "quantities' values (NaN for an empty cell).");
    m.def("fit", &fit, py::arg("series"), py::arg("parameters"), py::arg("starts"), py::arg("seed"),
          py::arg("iterations"), py::arg("sigma"), py::arg("jobs"), py::arg("progress"),
          "Runs a fit on the study engine's threads; returns the result's parts.");
    m.def("read_fit", &readFit, py::arg("path"),
          "A fit file: its series (paths resolved), parameters, settings and saved result.");
    m.def("write_fit", &writeFit, py::arg("path"), py::arg("series"), py::arg("parameters"),
          py::arg("starts"), py::arg("seed"), py::arg("iterations"), py::arg("sigma"),
          py::arg("result"), "Saves a fit file, atomically.");
    m.def(
        "fit_progress_text",
        [](std::size_t start, std::size_t starts, int iteration, double cost, double best,
           std::size_t runs, double seconds) {
            return fitProgressText({start, starts, iteration, cost, best, runs, seconds});
        },
        "The runner's progress line of a fit.");
}

}  // namespace tesmo
