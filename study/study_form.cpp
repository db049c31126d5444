#include "study/study_form.h"

#include "files/file_text.h"
#include "plot/number_text.h"
#include "study/case_list.h"

namespace tesmo {

namespace {

std::string trimmed(std::string_view s) {
    return std::string(trimBlanks(s));
}

VariationResult parseEntry(const VaryEntry& e) {
    return e.kind == EntryKind::Range ? parseVariationRange(e.field, e.from, e.to, e.step)
                                      : parseVariationSpec(e.field, e.values);
}

}  // namespace

std::string VaryEntry::spec() const {
    if (kind == EntryKind::List) return trimmed(values);
    return trimmed(from) + ":" + trimmed(to) + ":" + trimmed(step);
}

VaryEntry entryOf(Control field, const std::string& spec) {
    VaryEntry e;
    e.field = field;
    const std::size_t first = spec.find(':');
    const std::size_t second = first == std::string::npos ? first : spec.find(':', first + 1);
    const bool range = second != std::string::npos && spec.find(':', second + 1) == spec.npos &&
                       spec.find(';') == std::string::npos;
    if (!range) {
        e.kind = EntryKind::List;
        e.values = trimmed(spec);
        return e;
    }
    e.from = trimmed(spec.substr(0, first));
    e.to = trimmed(spec.substr(first + 1, second - first - 1));
    e.step = trimmed(spec.substr(second + 1));
    return e;
}

bool FormCheck::ok() const {
    for (const std::string& e : errors)
        if (!e.empty()) return false;
    return countError.empty() && !variations.empty();
}

FormCheck checkStudyForm(const StudyForm& form) {
    FormCheck check;
    bool allRead = true;
    for (std::size_t i = 0; i < kFormVariations; ++i) {
        const VaryEntry& e = form.vary[i];
        if (!e.used()) {
            if (i == 0) check.errors[i] = "bitte eine Eingabe zum Variieren wählen";
            continue;
        }
        bool twice = false;
        for (std::size_t j = 0; j < i; ++j)
            twice = twice || form.vary[j].field == e.field;
        VariationResult r = parseEntry(e);
        if (twice)
            check.errors[i] = "diese Eingabe wird schon oben variiert";
        else if (!r.ok)
            check.errors[i] = r.error;
        else
            check.variations.push_back(std::move(r.variation));
        allRead = allRead && check.errors[i].empty();
    }
    if (!allRead) {
        check.variations.clear();
        return check;
    }
    std::size_t count = 1;
    for (const Variation& v : check.variations)
        count *= v.texts.size();  // at most two factors of at most a million each
    check.caseCount = count;
    if (count > kCasesWithoutYes)
        check.countError = "mehr als " + decimalText(static_cast<double>(kCasesWithoutYes), 0) +
                           " Fälle rechnet nur tesmo-gegen-batch (mit --yes)";
    return check;
}

std::string caseCountText(std::size_t count) {
    return decimalText(static_cast<double>(count), 0) + (count == 1 ? " Fall" : " Fälle");
}

SavedStudy savedStudyOf(const StudyForm& form) {
    SavedStudy study;
    study.base = form.base;
    for (const VaryEntry& e : form.vary)
        if (e.used()) study.varied.push_back({e.field, e.spec(), 0});
    return study;
}

bool formOf(const SavedStudy& study, StudyForm& out, std::string& error) {
    if (study.varied.size() > kFormVariations) {
        error = "Die Studie variiert " + std::to_string(study.varied.size()) +
                " Eingaben; das Fenster variiert höchstens " + std::to_string(kFormVariations) +
                ". tesmo-gegen-batch --study rechnet sie.";
        return false;
    }
    StudyForm form;
    form.base = study.base;
    for (std::size_t i = 0; i < study.varied.size(); ++i)
        form.vary[i] = entryOf(study.varied[i].field, study.varied[i].range);
    out = std::move(form);
    return true;
}

}  // namespace tesmo
