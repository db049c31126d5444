#include "uq/uncertainty_form.h"

#include <algorithm>
#include <charconv>

#include "files/decimal_number.h"
#include "files/file_text.h"
#include "study/case_list.h"
#include "study/result_view.h"
#include "study/study_form.h"
#include "uq/sample.h"

namespace tesmo {

namespace {

// One row per distribution, in kDistributionForms' order.
constexpr std::array<std::string_view, 4> kDistributionCaptions = {"lognormal", "gleichverteilt",
                                                                   "normal", "dreieckig"};
constexpr std::array<std::string_view, 3> kDesignCaptions = {"Latin Hypercube", "Sobol'-Folge",
                                                             "Monte Carlo"};
constexpr std::array<std::string_view, 3> kIndexCaptions = {"automatisch", "Pick-Freeze",
                                                            "Polynomchaos"};

std::string parameterError(const std::string& name, const std::string& text) {
    const std::string_view typed = trimBlanks(text);
    if (typed.empty()) return name + " fehlt";
    return name + ": „" + std::string(typed) + "“ ist keine Zahl";
}

std::string entryError(const UncertaintyForm& form, std::size_t i, Marginal& out) {
    const UncertainEntry& e = form.inputs[i];
    if (!isInput(e.field)) return "keine Eingabe gewählt";
    for (std::size_t j = 0; j < i; ++j)
        if (form.inputs[j].field == e.field) return "diese Eingabe ist schon oben unsicher";
    if (form.fit && form.fit->block) {
        const std::vector<Control>& fitted = form.fit->block->fields;
        if (std::find(fitted.begin(), fitted.end(), e.field) != fitted.end())
            return "diese Eingabe kommt schon aus der Anpassung";
    }
    const DistributionForm& shape = distributionForm(e.kind);
    const std::vector<std::string> names = parameterNames(e.kind);
    DistributionSpec spec{e.kind, {}};
    for (std::size_t k = 0; k < static_cast<std::size_t>(shape.count); ++k)
        if (!readDecimal(e.parameters[k], spec.p[k]))
            return parameterError(names[k], e.parameters[k]);
    FileProblem problem;
    if (!checkDistribution(spec, problem)) return describe(problem);
    out = {e.field, spec, {}, {}};
    return {};
}

bool readSeed(std::string_view text, std::uint64_t& seed) {
    text = trimBlanks(text);
    const auto r = std::from_chars(text.data(), text.data() + text.size(), seed);
    return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size() &&
           seed <= kMaxSeed;
}

// The cases a checked plan draws: all of its budget, or the rows of its pick-freeze design.
std::size_t casesOf(const UncertaintyPlan& plan) {
    if (chosenIndexMethod(plan) != IndexMethod::PickFreeze) return plan.samples;
    return pickFreezeBase(plan) * (inputGroups(plan).size() + 2);
}

std::string capitalised(std::string name) {
    if (!name.empty() && name.front() >= 'A' && name.front() <= 'Z') {
        for (std::size_t i = 1; i < name.size(); ++i)
            if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
    }
    return name;
}

}  // namespace

FitChoice chooseFit(const std::string& path) {
    FitChoice choice;
    choice.path = path;
    CorrelatedNormal block;
    FileProblem problem;
    if (fitBlock(path, path, block, problem))
        choice.block = std::move(block);
    else
        choice.problem = describe(problem);
    return choice;
}

UncertaintyForm defaultUncertaintyForm() {
    UncertaintyForm form;
    form.results = {resultIndex("Laufzeit")};
    return form;
}

bool UncertaintyFormCheck::ok() const {
    return firstError().empty();
}

std::string UncertaintyFormCheck::firstError() const {
    for (std::size_t i = 0; i < inputErrors.size(); ++i)
        if (!inputErrors[i].empty())
            return "unsichere Eingabe " + std::to_string(i + 1) + ": " + inputErrors[i];
    if (!fitError.empty()) return "Anpassung: " + fitError;
    if (!seedError.empty()) return "Startwert: " + seedError;
    for (std::size_t i = 0; i < limitErrors.size(); ++i)
        if (!limitErrors[i].empty())
            return "Grenze " + std::to_string(i + 1) + ": " + limitErrors[i];
    return studyError;
}

UncertaintyFormCheck checkUncertaintyForm(const UncertaintyForm& form) {
    UncertaintyFormCheck c;
    UncertaintyPlan plan;
    plan.base = form.base;
    c.inputErrors.resize(form.inputs.size());
    for (std::size_t i = 0; i < form.inputs.size(); ++i) {
        Marginal m;
        c.inputErrors[i] = entryError(form, i, m);
        if (c.inputErrors[i].empty()) plan.marginals.push_back(m);
    }
    if (form.fit) {
        if (form.fit->block)
            plan.correlated.push_back(*form.fit->block);
        else
            c.fitError = form.fit->problem;
    }
    plan.samples = form.samples;
    plan.design = form.design;
    plan.indices = form.indices;
    if (!readSeed(form.seed, plan.seed))
        c.seedError = "eine ganze Zahl von 0 bis " + std::to_string(kMaxSeed);
    plan.results = form.results;
    c.limitErrors.resize(form.limits.size());
    for (std::size_t i = 0; i < form.limits.size(); ++i) {
        const LimitEntry& l = form.limits[i];
        Limit limit{l.column, l.side, 0};
        if (l.column >= kResultCount)
            c.limitErrors[i] = "kein Ergebnis gewählt";
        else if (!readDecimal(l.value, limit.value))
            c.limitErrors[i] = parameterError("der Wert", l.value);
        else
            plan.limits.push_back(limit);
    }
    if (!c.firstError().empty()) return c;
    if (plan.results.empty()) {
        c.studyError = "kein Ergebnis zum Auswerten gewählt";
        return c;
    }
    c.studyError = checkPlan(plan);
    if (!c.studyError.empty()) return c;
    c.caseCount = casesOf(plan);
    if (c.caseCount > kCasesWithoutYes) {
        c.studyError = caseCountText(c.caseCount) + " sind mehr, als das Fenster rechnet (" +
                       caseCountText(kCasesWithoutYes) + "); tesmo-gegen-batch rechnet sie";
        return c;
    }
    c.plan = std::move(plan);
    return c;
}

std::vector<std::string> parameterNames(DistributionKind kind) {
    // The words of the form a message shows, "lognormal MITTELWERT ; STANDARDABWEICHUNG",
    // after the distribution's word.
    const DistributionForm& f = distributionForm(kind);
    std::vector<std::string> names;
    std::string word;
    for (char c : f.form.substr(f.word.size())) {
        if (c == ' ' || c == f.separator) {
            if (!word.empty()) names.push_back(capitalised(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) names.push_back(capitalised(word));
    return names;
}

std::string_view distributionCaption(DistributionKind kind) {
    return kDistributionCaptions[static_cast<std::size_t>(kind)];
}

std::string_view designCaption(SampleDesign design) {
    return kDesignCaptions[static_cast<std::size_t>(design)];
}

std::string_view indexCaption(IndexMethod method) {
    return kIndexCaptions[static_cast<std::size_t>(method)];
}

bool uncertaintyFileOfForm(const UncertaintyFormCheck& check, const std::string& studyPath,
                           UncertaintyFile& out, FileProblem& problem) {
    return uncertaintyFileOf(check.plan, out, problem, studyPath);
}

UncertaintyForm formOfUncertaintyFile(const UncertaintyFile& file, const std::string& studyPath) {
    UncertaintyForm form;
    form.base = file.base;
    for (const UncertainLine& u : file.uncertain) {
        UncertainEntry e{u.field, u.distribution.kind, {}};
        for (int k = 0; k < distributionForm(u.distribution.kind).count; ++k)
            e.parameters[static_cast<std::size_t>(k)] =
                exactDecimal(u.distribution.p[static_cast<std::size_t>(k)]);
        form.inputs.push_back(std::move(e));
    }
    if (!file.fitPath.empty()) form.fit = chooseFit(fitFileBeside(studyPath, file.fitPath));
    form.samples = file.samples;
    form.design = file.design;
    form.seed = std::to_string(file.seed);
    form.indices = file.indices;
    for (const std::string& r : file.results)
        form.results.push_back(resultIndex(r.c_str()));
    for (const ResultLimit& l : file.limits)
        form.limits.push_back({resultIndex(l.result.c_str()), l.side, exactDecimal(l.value)});
    return form;
}

}  // namespace tesmo
