#include "gui/study_setup_panel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/base_case_box.h"
#include "gui/vary_editor.h"
#include "gui/work_window_parts.h"

namespace tesmo::qt {

StudySetupPanel::StudySetupPanel(QWidget* parent) : QWidget(parent) {
    baseBox_ = new BaseCaseBox(QStringLiteral("grundfall"), QStringLiteral("uebernehmen"), this);

    // The first input is always varied; the second, when chosen, gives a curve per value.
    const QString titles[] = {QStringLiteral("Variierte Eingabe"),
                              QStringLiteral("Zweite variierte Eingabe (Kurvenschar)")};
    for (std::size_t i = 0; i < kFormVariations; ++i) {
        editors_[i] = new VaryEditor(titles[i], i > 0, this);
        editors_[i]->setObjectName(QStringLiteral("variation%1").arg(i + 1));
        connect(editors_[i], &VaryEditor::changed, this, &StudySetupPanel::recheck);
    }
    count_ = caseCountLabel(this, QStringLiteral("faelle"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(baseBox_);
    for (VaryEditor* e : editors_)
        layout->addWidget(e);
    layout->addWidget(count_);

    connect(baseBox_, &BaseCaseBox::baseRequested, this, &StudySetupPanel::baseRequested);
    setBase(defaultInputTexts());
}

StudyForm StudySetupPanel::form() const {
    StudyForm f;
    f.base = baseBox_->base();
    for (std::size_t i = 0; i < kFormVariations; ++i)
        f.vary[i] = editors_[i]->entry();
    return f;
}

void StudySetupPanel::setForm(const StudyForm& form) {
    for (std::size_t i = 0; i < kFormVariations; ++i)
        editors_[i]->setEntry(form.vary[i]);
    setBase(form.base);
}

void StudySetupPanel::setBase(const InputTexts& base) {
    baseBox_->setBase(base);
    recheck();
}

void StudySetupPanel::recheck() {
    check_ = checkStudyForm(form());
    for (std::size_t i = 0; i < kFormVariations; ++i)
        editors_[i]->setError(check_.errors[i]);
    if (check_.ok())
        count_->setText(QString::fromStdString(caseCountText(check_.caseCount)));
    else if (!check_.countError.empty())
        count_->setText(
            QString::fromStdString(caseCountText(check_.caseCount) + ": " + check_.countError));
    else
        count_->setText(QStringLiteral("keine gültige Studie"));
    emit changed();
}

}  // namespace tesmo::qt
