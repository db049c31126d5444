#include "uq/uncertainty_plan.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "files/fit_file.h"

#include "study/result_view.h"
#include "study/results.h"
#include "uq/sample.h"

namespace tesmo {

namespace {

std::string joined(const std::vector<Control>& fields, const char* between) {
    std::string text;
    for (Control f : fields)
        text += (text.empty() ? "" : between) + std::string(controlName(f));
    return text;
}

// An input given twice; when a fit holds it, the message says which.
std::string twiceUncertain(const UncertaintyPlan& plan, Control field) {
    const std::string name = controlName(field);
    for (const CorrelatedNormal& block : plan.correlated)
        if (!block.fitPath.empty() &&
            std::find(block.fields.begin(), block.fields.end(), field) != block.fields.end())
            return name + " ist angepasst in „" + block.source +
                   "“ und zugleich mit einer eigenen Verteilung unsicher angegeben";
    return name + " ist zweimal unsicher angegeben";
}

std::string checkBlock(const CorrelatedNormal& block) {
    const std::size_t n = block.fields.size();
    const std::string name = "die korrelierten Eingaben " + joined(block.fields, ", ");
    if (n == 0) return "ein korrelierter Block ohne Eingaben";
    if (block.mean.size() != n || block.covariance.size() != n * n ||
        (!block.scale.empty() && block.scale.size() != n))
        return name +
               ": Mittelwerte, Kovarianzmatrix und Skalen passen nicht zur Zahl der "
               "Eingaben";
    for (double v : block.mean)
        if (!std::isfinite(v)) return name + ": ein Mittelwert ist keine endliche Zahl";
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) {
            const double a = block.covariance[i * n + j], b = block.covariance[j * n + i];
            if (!std::isfinite(a) || a != b)
                return name + ": die Kovarianzmatrix ist nicht symmetrisch";
        }
    std::vector<double> lower;
    if (!choleskyLower(block.covariance, n, lower))
        return name + ": die Kovarianzmatrix ist nicht positiv definit";
    return {};
}

}  // namespace

bool choleskyLower(const std::vector<double>& a, std::size_t n, std::vector<double>& l) {
    l.assign(n * n, 0.0);
    for (std::size_t j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (std::size_t k = 0; k < j; ++k)
            d -= l[j * n + k] * l[j * n + k];
        if (!(d > 1e-12 * std::abs(a[j * n + j]))) return false;
        l[j * n + j] = std::sqrt(d);
        for (std::size_t i = j + 1; i < n; ++i) {
            double s = a[i * n + j];
            for (std::size_t k = 0; k < j; ++k)
                s -= l[i * n + k] * l[j * n + k];
            l[i * n + j] = s / l[j * n + j];
        }
    }
    return true;
}

std::vector<Control> sampledFields(const UncertaintyPlan& plan) {
    std::vector<Control> fields;
    for (const Marginal& m : plan.marginals)
        fields.push_back(m.field);
    for (const CorrelatedNormal& block : plan.correlated)
        fields.insert(fields.end(), block.fields.begin(), block.fields.end());
    return fields;
}

std::vector<InputGroup> inputGroups(const UncertaintyPlan& plan) {
    std::vector<InputGroup> groups;
    for (const Marginal& m : plan.marginals)
        groups.push_back({{m.field}, false, controlName(m.field)});
    for (const CorrelatedNormal& block : plan.correlated)
        groups.push_back({block.fields, true, joined(block.fields, " + ")});
    return groups;
}

std::vector<std::string> resultNames() {
    std::vector<std::string> names;
    for (const ResultColumn& c : resultColumns())
        names.emplace_back(c.name);
    return names;
}

bool fitBlock(const std::string& written, const std::string& path, CorrelatedNormal& out,
              FileProblem& problem) {
    FitFile fit;
    if (!readFitFile(path, fit, problem)) return false;
    problem = FileProblem{};
    if (!fit.outcome) return refuse(problem, ProblemKind::FitWithoutResult, written);
    const FitOutcome& r = *fit.outcome;
    if (!r.hasCovariance()) return refuse(problem, ProblemKind::FitWithoutCovariance, written);
    const std::size_t n = r.size();
    CorrelatedNormal block;
    block.fields = r.fields;
    block.source = written;
    block.fitPath = path;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isinf(r.cov(i, i))) {
            problem.context = written;
            return refuse(problem, ProblemKind::FitUndetermined, controlName(r.fields[i]));
        }
        const bool log = r.scales[i] == FitScale::Log;
        block.scale.push_back(log ? Scale::Log : Scale::Linear);
        // A log-fitted value is positive (the reader checks it): its logarithm is the mean.
        block.mean.push_back(log ? std::log(r.values[i]) : r.values[i]);
    }
    // The file keeps each number to the last bit, but a matrix written by hand may be
    // symmetric only within the reader's tolerance: the sampler takes its exact mean.
    block.covariance.resize(n * n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            block.covariance[i * n + j] = i == j ? r.cov(i, i) : 0.5 * (r.cov(i, j) + r.cov(j, i));
    out = std::move(block);
    return true;
}

std::string fitFileBeside(const std::string& studyPath, const std::string& written) {
    const std::filesystem::path p(written);
    if (p.is_absolute()) return written;
    return (std::filesystem::path(studyPath).parent_path() / p).lexically_normal().string();
}

std::string fitPathFrom(const std::string& studyPath, const std::string& fitFile) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::absolute(fs::path(studyPath), error).parent_path();
    const fs::path from = fs::absolute(fs::path(fitFile), error).lexically_normal();
    const fs::path relative = from.lexically_relative(folder);
    return relative.empty() ? from.string() : relative.string();
}

bool planOf(const UncertaintyFile& file, const std::string& displayName, UncertaintyPlan& out,
            FileProblem& problem) {
    problem = FileProblem{.path = displayName};
    UncertaintyPlan plan;
    plan.name = displayName;
    plan.base = file.base;
    for (const UncertainLine& u : file.uncertain)
        plan.marginals.push_back({u.field, u.distribution, {}, {}});
    if (!file.fitPath.empty()) {
        CorrelatedNormal block;
        FileProblem fitProblem;
        if (!fitBlock(file.fitPath, fitFileBeside(displayName, file.fitPath), block, fitProblem)) {
            // A problem inside the fit file names that file and its line; one with the fit as
            // a whole stands at the study's fit line.
            if (fitProblem.path.empty()) {
                fitProblem.path = displayName;
                fitProblem.line = file.fitLine;
            }
            problem = std::move(fitProblem);
            return false;
        }
        if (const std::string error = checkBlock(block); !error.empty()) {
            problem.line = file.fitLine;
            problem.expected = error;
            return refuse(problem, ProblemKind::UnusableStudy);
        }
        plan.correlated.push_back(std::move(block));
    }
    plan.samples = file.samples;
    plan.design = file.design;
    plan.seed = file.seed;
    plan.indices = file.indices;
    for (const std::string& r : file.results)
        plan.results.push_back(resultIndex(r.c_str()));
    for (const ResultLimit& l : file.limits)
        plan.limits.push_back({resultIndex(l.result.c_str()), l.side, l.value});
    const std::string error = checkPlan(plan);
    if (!error.empty()) {
        problem.expected = error;
        // A fitted input also given its own distribution: the fit line is the second mention.
        for (const Marginal& m : plan.marginals)
            for (const CorrelatedNormal& block : plan.correlated)
                if (std::find(block.fields.begin(), block.fields.end(), m.field) !=
                    block.fields.end())
                    problem.line = file.fitLine;
        return refuse(problem, ProblemKind::UnusableStudy);
    }
    out = std::move(plan);
    problem = FileProblem{};
    return true;
}

bool readUncertaintyPlan(const std::string& path, UncertaintyPlan& out, FileProblem& problem) {
    UncertaintyFileRules rules;
    rules.resultNames = resultNames();
    UncertaintyFile file;
    return readUncertaintyFile(path, std::move(rules), file, problem) &&
           planOf(file, path, out, problem);
}

bool uncertaintyFileOf(const UncertaintyPlan& plan, UncertaintyFile& out, FileProblem& problem,
                       const std::string& studyPath) {
    problem = FileProblem{};
    problem.saving = true;
    UncertaintyFile file;
    file.base = plan.base;
    for (const Marginal& m : plan.marginals) {
        if (!m.library.empty()) return refuse(problem, ProblemKind::UnsupportedLine, m.library);
        file.uncertain.push_back({m.field, m.spec, 0});
    }
    for (const CorrelatedNormal& block : plan.correlated) {
        if (block.fitPath.empty() || !file.fitPath.empty())
            return refuse(problem, ProblemKind::UnsupportedLine, "fit");
        file.fitPath = studyPath.empty() ? block.source : fitPathFrom(studyPath, block.fitPath);
    }
    file.samples = plan.samples;
    file.design = plan.design;
    file.seed = plan.seed;
    file.indices = plan.indices;
    file.results.clear();
    for (std::size_t c : plan.results)
        file.results.emplace_back(resultColumns()[c].name);
    for (const Limit& l : plan.limits)
        file.limits.push_back({resultColumns()[l.column].name, l.side, l.value, 0});
    out = std::move(file);
    problem = FileProblem{};
    return true;
}

std::string checkPlan(const UncertaintyPlan& plan) {
    const std::vector<Control> fields = sampledFields(plan);
    if (fields.empty()) return "die Studie hat keine unsichere Eingabe";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!isInput(fields[i])) return "eine unsichere Eingabe ist kein Eingabefeld";
        for (std::size_t j = 0; j < i; ++j)
            if (fields[j] == fields[i]) return twiceUncertain(plan, fields[i]);
    }
    for (const Marginal& m : plan.marginals) {
        if (!m.library.empty()) {
            const std::string error = libraryDistributionProblem(m);
            if (!error.empty()) return std::string(controlName(m.field)) + ": " + error;
            continue;
        }
        FileProblem p;
        if (!checkDistribution(m.spec, p))
            return std::string(controlName(m.field)) + ": " + describe(p);
    }
    for (const CorrelatedNormal& block : plan.correlated) {
        const std::string error = checkBlock(block);
        if (!error.empty()) return error;
    }
    if (plan.samples < kMinSamples || plan.samples > kMaxSamples)
        return "die Zahl der Proben muss von " + std::to_string(kMinSamples) + " bis " +
               std::to_string(kMaxSamples) + " reichen";
    if (plan.seed > kMaxSeed)
        return "der Startwert muss von 0 bis " + std::to_string(kMaxSeed) + " reichen";
    if (plan.results.empty()) return "die Studie wertet kein Ergebnis aus";
    for (std::size_t c : plan.results)
        if (c >= kResultCount) return "ein ausgewertetes Ergebnis ist keine Spalte der Tabelle";
    for (const Limit& l : plan.limits)
        if (l.column >= kResultCount || !std::isfinite(l.value))
            return "eine Grenze nennt keine Spalte der Tabelle oder keinen endlichen Wert";
    if (plan.indices == IndexMethod::PickFreeze && pickFreezeBase(plan) < kMinPickFreezeBase)
        return "für Indizes nach dem Pick-Freeze-Verfahren braucht die Studie mindestens " +
               std::to_string(kMinPickFreezeBase * (inputGroups(plan).size() + 2)) + " Proben";
    return {};
}

}  // namespace tesmo
