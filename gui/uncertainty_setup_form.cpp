// The uncertainty form's widgets read into a form and filled from one, and the check of the
// form after every change: the first wrong uncertain input (or the fit) below the inputs' table,
// the number of cases or the first problem of the whole study below the form.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>

#include "gui/base_case_box.h"
#include "gui/uncertainty_setup_panel.h"
#include "study/case_list.h"
#include "study/study_form.h"

namespace tesmo::qt {

UncertaintyForm UncertaintySetupPanel::form() const {
    UncertaintyForm f;
    f.base = baseBox_->base();
    for (const InputRow& row : inputRows_) {
        UncertainEntry e;
        const int field = row.field->currentData().toInt();
        e.field = field < 0 ? Control::Count : controlAt(field);
        e.kind = static_cast<DistributionKind>(std::max(0, row.kind->currentIndex()));
        for (std::size_t k = 0; k < row.parameters.size(); ++k)
            e.parameters[k] = row.parameters[k]->text().toStdString();
        f.inputs.push_back(std::move(e));
    }
    f.fit = fit_;
    f.samples = static_cast<std::size_t>(samples_->value());
    f.design = static_cast<SampleDesign>(std::max(0, design_->currentIndex()));
    f.seed = seed_->text().toStdString();
    f.indices = static_cast<IndexMethod>(std::max(0, indices_->currentIndex()));
    for (int c = 0; c < results_->count(); ++c)
        if (results_->item(c)->checkState() == Qt::Checked)
            f.results.push_back(static_cast<std::size_t>(c));
    for (const LimitRow& row : limitRows_) {
        const int c = row.result->currentData().toInt();
        f.limits.push_back({c < 0 ? kResultCount : static_cast<std::size_t>(c),
                            row.side->currentIndex() == 1 ? LimitSide::Below : LimitSide::Above,
                            row.value->text().toStdString()});
    }
    return f;
}

void UncertaintySetupPanel::setForm(const UncertaintyForm& form) {
    filling_ = true;
    baseBox_->setBase(form.base);
    inputs_->setRowCount(0);
    inputRows_.clear();
    for (const UncertainEntry& e : form.inputs)
        addInputRow(e);
    fit_ = form.fit;
    showFit();
    // A study file may ask for more cases than the window runs: the number stays as it is, and
    // the check says so.
    samples_->setMaximum(
        std::max(static_cast<int>(kCasesWithoutYes),
                 static_cast<int>(std::min<std::size_t>(form.samples, kMaxSamples))));
    samples_->setValue(static_cast<int>(form.samples));
    design_->setCurrentIndex(static_cast<int>(form.design));
    seed_->setText(QString::fromStdString(form.seed));
    indices_->setCurrentIndex(static_cast<int>(form.indices));
    for (int c = 0; c < results_->count(); ++c)
        results_->item(c)->setCheckState(
            std::find(form.results.begin(), form.results.end(), static_cast<std::size_t>(c)) !=
                    form.results.end()
                ? Qt::Checked
                : Qt::Unchecked);
    limits_->setRowCount(0);
    limitRows_.clear();
    for (const LimitEntry& l : form.limits)
        addLimitRow(l);
    filling_ = false;
    recheck();
}

void UncertaintySetupPanel::setBase(const InputTexts& base) {
    baseBox_->setBase(base);
    recheck();
}

void UncertaintySetupPanel::recheck() {
    if (filling_) return;
    check_ = checkUncertaintyForm(form());
    QString inputs;
    for (std::size_t i = 0; i < check_.inputErrors.size(); ++i)
        if (!check_.inputErrors[i].empty() && inputs.isEmpty())
            inputs = QStringLiteral("Zeile %1: %2")
                         .arg(i + 1)
                         .arg(QString::fromStdString(check_.inputErrors[i]));
    if (inputs.isEmpty() && !check_.fitError.empty())
        inputs = QString::fromStdString(check_.fitError);
    inputError_->setText(inputs);
    inputError_->setVisible(!inputs.isEmpty());
    count_->setText(check_.ok() ? QString::fromStdString(caseCountText(check_.caseCount))
                                : QString::fromStdString(check_.firstError()));
    emit changed();
}

}  // namespace tesmo::qt
