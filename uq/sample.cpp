#include "uq/sample.h"

#include <memory>

#include "model/text_to_number.h"

namespace tesmo {

std::size_t pickFreezeBase(const UncertaintyPlan& plan) {
    return plan.samples / (inputGroups(plan).size() + 2);
}

IndexMethod chosenIndexMethod(const UncertaintyPlan& plan) {
    if (plan.indices != IndexMethod::Auto) return plan.indices;
    return pickFreezeBase(plan) >= kAutoPickFreezeBase ? IndexMethod::PickFreeze
                                                       : IndexMethod::Chaos;
}

std::size_t independentRows(const UncertaintySample& sample) {
    return sample.pickFreezeBase > 0 ? 2 * sample.pickFreezeBase : sample.rows;
}

std::string sampleText(double value) {
    return ZahlZuTextExakt(value);
}

CaseList sampleCases(const UncertaintyPlan& plan, const UncertaintySample& sample) {
    // The cases share the drawn values (not a copy per case) with the worker threads, which
    // only read them.
    const auto values = std::make_shared<const std::vector<double>>(sample.values);
    const std::vector<Control> fields = sample.fields;
    const InputTexts base = plan.base;
    return CaseList(base, sample.rows, fields, [values, fields, base](std::size_t i) {
        InputTexts texts = base;
        for (std::size_t j = 0; j < fields.size(); ++j)
            texts[fields[j]] = sampleText((*values)[i * fields.size() + j]);
        return texts;
    });
}

std::string sampleCaseTable(const UncertaintySample& sample) {
    std::string table;
    for (std::size_t j = 0; j < sample.columns(); ++j)
        table.append(j == 0 ? "" : ";").append(controlName(sample.fields[j]));
    table += '\n';
    for (std::size_t i = 0; i < sample.rows; ++i) {
        for (std::size_t j = 0; j < sample.columns(); ++j)
            table.append(j == 0 ? "" : ";").append(sampleText(sample.value(i, j)));
        table += '\n';
    }
    return table;
}

}  // namespace tesmo
