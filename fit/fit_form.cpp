#include "fit/fit_form.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <utility>

#include "files/case_file.h"
#include "files/decimal_number.h"
#include "files/fit_series.h"

namespace tesmo {

namespace {

namespace fs = std::filesystem;

// The common material values with bounds that hold every clay a laboratory is likely to meet.
struct TypicalInput {
    Control field;
    double lower, upper;
};
constexpr TypicalInput kTypical[] = {
    {Control::txt_Feuchteleit, 5, 200},
    {Control::txt_KappaSteig, 1, 15},
    {Control::txt_mue, 2, 200},
    {Control::txt_Waermeuebergang, 5, 500},
};
// A new input without typical bounds may move this factor either way from its value.
constexpr double kSpanFactor = 5;

std::string caption(Control field) {
    std::string_view c = inputCaption(field);
    while (!c.empty() && c.back() == ' ')
        c.remove_suffix(1);
    return "„" + std::string(c) + "“";
}

// A number as typed, and as a key: the value's shortest text when it reads, the text else.
std::string numberKey(const std::string& text) {
    double v = 0;
    return readDecimal(text, v) ? exactDecimal(v) : "?" + text;
}

bool readDryMass(const std::string& text, double& value) {
    value = std::numeric_limits<double>::quiet_NaN();
    if (text.empty()) return true;
    return readDecimal(text, value) && value > 0 && std::isfinite(value);
}

MeasuredSeries measuredOf(const SeriesForm& s) {
    MeasuredSeries m;
    m.name = s.name;
    m.path = s.measurementPath;
    m.measurement = s.measurement;
    m.texts = s.caseTexts;
    m.texts.optionen = s.optionen;
    readDryMass(s.trockenmasse, m.trockenmasse_g);
    return m;
}

// The path as a fit file in `folder` writes it: relative where one leads there, else absolute.
std::string writtenPath(const std::string& path, const fs::path& folder) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error).lexically_normal();
    const fs::path relative = absolute.lexically_relative(folder);
    return relative.empty() ? absolute.string() : relative.string();
}

std::string fileContent(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes the case of a series taken from the main window beside the fit file: as
// MESSUNG.tgcase, or MESSUNG-2.tgcase and so on where another file has that name; a file
// with exactly this content is taken as it is.
bool writeSeriesCase(const SeriesForm& s, const fs::path& folder, std::string& casePath,
                     bool& wrote, FileProblem& problem) {
    std::string content;
    if (!caseFileText(s.caseTexts, content, problem)) return false;
    const std::string stem = fs::path(s.measurementPath).stem().string();
    for (int k = 1;; ++k) {
        std::string name = stem;
        if (k > 1) name.append("-").append(std::to_string(k));
        name.append(kCaseFileSuffix);
        const fs::path candidate = folder / name;
        std::error_code error;
        if (fs::exists(candidate, error)) {
            if (fs::is_regular_file(candidate, error) && fileContent(candidate) == content) {
                casePath = candidate.string();
                wrote = false;
                return true;
            }
            continue;
        }
        if (!writeCaseFile(candidate.string(), s.caseTexts, problem)) return false;
        casePath = candidate.string();
        wrote = true;
        return true;
    }
}

}  // namespace

FitFormCheck checkFitForm(const FitForm& form) {
    FitFormCheck c;
    const auto refuse = [&c](FormProblem p, int series, int parameter, std::string detail = {}) {
        c.problem = p;
        c.series = series;
        c.parameter = parameter;
        c.detail = std::move(detail);
        return c;
    };
    if (form.series.empty()) return refuse(FormProblem::NoSeries, -1, -1);
    for (std::size_t i = 0; i < form.series.size(); ++i) {
        const SeriesForm& s = form.series[i];
        const int row = static_cast<int>(i);
        double dryMass = 0;
        if (!readDryMass(s.trockenmasse, dryMass))
            return refuse(FormProblem::DryMass, row, -1, s.trockenmasse);
        if (s.measurement.misst(Messgroesse::Masse) && s.trockenmasse.empty())
            return refuse(FormProblem::DryMass, row, -1);
        FileProblem problem;
        if (!checkSeries(measuredOf(s), form.sigma, FileProblem{}, problem))
            return refuse(FormProblem::Series, row, -1, describe(problem));
    }
    if (form.parameters.empty()) return refuse(FormProblem::NoParameter, -1, -1);
    for (std::size_t j = 0; j < form.parameters.size(); ++j) {
        const ParameterForm& p = form.parameters[j];
        const int row = static_cast<int>(j);
        for (std::size_t k = 0; k < j; ++k)
            if (form.parameters[k].field == p.field)
                return refuse(FormProblem::ParameterTwice, -1, row);
        double start = 0, lower = 0, upper = 0;
        for (const auto& [text, value] : {std::pair{&p.start, &start}, std::pair{&p.lower, &lower},
                                          std::pair{&p.upper, &upper}})
            if (!readDecimal(*text, *value) || !std::isfinite(*value))
                return refuse(FormProblem::NotANumber, -1, row, *text);
        if (!(lower < upper)) return refuse(FormProblem::BoundsNotOrdered, -1, row);
        if (!(start >= lower && start <= upper))
            return refuse(FormProblem::StartOutsideBounds, -1, row);
    }
    return c;
}

std::string problemText(const FitFormCheck& c, const FitForm& form) {
    const auto seriesName = [&] {
        return c.series >= 0 && c.series < static_cast<int>(form.series.size())
                   ? form.series[static_cast<std::size_t>(c.series)].name
                   : std::string();
    };
    const auto input = [&] {
        return c.parameter >= 0 && c.parameter < static_cast<int>(form.parameters.size())
                   ? caption(form.parameters[static_cast<std::size_t>(c.parameter)].field)
                   : std::string();
    };
    switch (c.problem) {
        case FormProblem::None:
            return {};
        case FormProblem::NoSeries:
            return "Noch keine Messreihe: „Messreihe hinzufügen…“ nimmt eine Messdatei auf.";
        case FormProblem::NoParameter:
            return "Noch keine Eingabe zum Anpassen: „Eingabe hinzufügen“ nimmt eine auf.";
        case FormProblem::ParameterTwice:
            return input() + " steht zweimal unter den angepassten Eingaben.";
        case FormProblem::NotANumber:
            return "„" + c.detail + "“ bei " + input() + " ist keine Zahl.";
        case FormProblem::BoundsNotOrdered:
            return "Für " + input() + " muss die Untergrenze kleiner als die Obergrenze sein.";
        case FormProblem::StartOutsideBounds:
            return "Der Startwert für " + input() + " liegt nicht in seinen Grenzen.";
        case FormProblem::DryMass:
            if (c.detail.empty())
                return seriesName() +
                       " enthält Massen (m_g); dafür fehlt die Trockenmasse der Probe in g.";
            return "„" + c.detail + "“ ist als Trockenmasse von " + seriesName() +
                   " nicht möglich, erwartet wird eine Zahl größer als 0 (in g).";
        case FormProblem::Series:
            return seriesName() + " passt nicht zu seinem Fall: " + c.detail + ".";
    }
    return {};
}

FitSetup setupOf(const FitForm& form) {
    FitSetup setup;
    for (const SeriesForm& s : form.series)
        setup.series.push_back(measuredOf(s));
    for (const ParameterForm& p : form.parameters) {
        FitParameterEntry e;
        e.field = p.field;
        readDecimal(p.start, e.start);
        readDecimal(p.lower, e.lower);
        readDecimal(p.upper, e.upper);
        setup.parameters.push_back(e);
    }
    setup.starts = form.starts;
    setup.seed = form.seed;
    setup.iterations = form.iterations;
    setup.sigma = form.sigma;
    return setup;
}

bool seriesOfFile(const std::string& path, const InputTexts& caseTexts, const std::string& casePath,
                  SeriesForm& out, FileProblem& problem) {
    SeriesForm s;
    if (!readMeasurementFile(path, s.measurement, problem)) return false;
    s.name = fs::path(path).filename().string();
    s.measurementPath = path;
    s.casePath = casePath;
    s.caseTexts = caseTexts;
    s.optionen = caseTexts.optionen;
    s.optionen.klima = Klima::Konstant;
    out = std::move(s);
    return true;
}

const std::vector<Control>& typicalFitInputs() {
    static const std::vector<Control> inputs = [] {
        std::vector<Control> v;
        for (const TypicalInput& t : kTypical)
            v.push_back(t.field);
        return v;
    }();
    return inputs;
}

ParameterForm parameterFor(Control field, double value) {
    double lower = 0, upper = 0;
    bool typical = false;
    for (const TypicalInput& t : kTypical)
        if (t.field == field && value >= t.lower && value <= t.upper) {
            lower = t.lower;
            upper = t.upper;
            typical = true;
        }
    if (!typical && value > 0) {
        lower = value / kSpanFactor;
        upper = value * kSpanFactor;
    } else if (!typical && value < 0) {
        lower = value * kSpanFactor;
        upper = value / kSpanFactor;
    } else if (!typical) {
        lower = -1;
        upper = 1;
    }
    return {field, exactDecimal(value), exactDecimal(lower), exactDecimal(upper)};
}

bool openFitForm(const std::string& path, FitForm& form, std::optional<FitOutcome>& outcome,
                 FileProblem& problem) {
    FitFile file;
    if (!readFitFile(path, file, problem)) return false;
    std::error_code error;
    file.folder = fs::absolute(fs::path(path), error).parent_path().lexically_normal().string();
    FitForm f;
    for (const SeriesEntry& e : file.series) {
        const std::string casePath = resolvedPath(file, e.caseFile);
        InputTexts texts;
        if (!readCaseFile(casePath, defaultInputTexts(), texts, problem)) return false;
        SeriesForm s;
        if (!seriesOfFile(resolvedPath(file, e.measurement), texts, casePath, s, problem))
            return false;
        s.name = e.measurement;
        s.optionen = texts.optionen;
        for (const RunOptionSpec& spec : kRunOptions)
            if (e.optionSet[static_cast<std::size_t>(spec.option)])
                setOptionWord(s.optionen, spec.option, optionWord(e.optionen, spec.option));
        if (!std::isnan(e.trockenmasse_g)) s.trockenmasse = exactDecimal(e.trockenmasse_g);
        f.series.push_back(std::move(s));
    }
    for (const FitParameterEntry& e : file.parameters)
        f.parameters.push_back(
            {e.field, exactDecimal(e.start), exactDecimal(e.lower), exactDecimal(e.upper)});
    f.starts = file.starts;
    f.seed = file.seed;
    f.iterations = file.iterations;
    f.sigma = file.sigma;
    form = std::move(f);
    outcome = file.outcome;
    return true;
}

bool saveFitForm(const std::string& path, FitForm& form, const std::optional<FitOutcome>& outcome,
                 std::vector<std::string>& written, FileProblem& problem) {
    std::error_code error;
    const fs::path folder = fs::absolute(fs::path(path), error).parent_path().lexically_normal();
    FitForm saved = form;
    for (SeriesForm& s : saved.series) {
        if (!s.casePath.empty()) continue;
        bool wrote = false;
        if (!writeSeriesCase(s, folder, s.casePath, wrote, problem)) return false;
        if (wrote) written.push_back(s.casePath);
    }
    const FitSetup setup = setupOf(saved);
    FitFile file;
    file.folder = folder.string();
    for (std::size_t i = 0; i < saved.series.size(); ++i) {
        SeriesForm& s = saved.series[i];
        SeriesEntry e;
        e.measurement = writtenPath(s.measurementPath, folder);
        e.caseFile = writtenPath(s.casePath, folder);
        e.trockenmasse_g = setup.series[i].trockenmasse_g;
        e.optionen = s.optionen;
        for (const RunOptionSpec& spec : kRunOptions)
            e.optionSet[static_cast<std::size_t>(spec.option)] =
                optionWord(s.optionen, spec.option) !=
                optionWord(s.caseTexts.optionen, spec.option);
        file.series.push_back(e);
        s.name = e.measurement;
    }
    file.parameters = setup.parameters;
    file.starts = saved.starts;
    file.seed = saved.seed;
    file.iterations = saved.iterations;
    file.sigma = saved.sigma;
    file.outcome = outcome;
    if (!writeFitFile(path, file, problem)) return false;
    form = std::move(saved);
    return true;
}

std::string formKey(const FitForm& form) {
    std::string key;
    for (const SeriesForm& s : form.series) {
        key += "series\n" + s.measurementPath + '\n' + s.casePath + '\n';
        // A case from the main window is saved with its texts; one from a file with its path.
        if (s.casePath.empty())
            for (int i = 0; i < kInputCount; ++i)
                key += s.caseTexts[controlAt(i)] + '\n';
        for (const RunOptionSpec& spec : kRunOptions)
            key += std::string(optionWord(s.caseTexts.optionen, spec.option)) + '>' +
                   std::string(optionWord(s.optionen, spec.option)) + '\n';
        key += (s.trockenmasse.empty() ? "" : numberKey(s.trockenmasse)) + '\n';
    }
    for (const ParameterForm& p : form.parameters)
        key += std::string("fit ") + controlName(p.field) + ' ' + numberKey(p.start) + ' ' +
               numberKey(p.lower) + ' ' + numberKey(p.upper) + '\n';
    key += std::to_string(form.starts) + ' ' + std::to_string(form.seed) + ' ' +
           std::to_string(form.iterations) + '\n';
    for (double s : form.sigma)
        key += (std::isnan(s) ? std::string("-") : exactDecimal(s)) + ' ';
    return key;
}

}  // namespace tesmo
