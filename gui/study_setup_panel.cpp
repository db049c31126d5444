#include "gui/study_setup_panel.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "files/file_text.h"
#include "gui/vary_editor.h"

namespace tesmo::qt {

StudySetupPanel::StudySetupPanel(QWidget* parent) : QWidget(parent) {
    auto* baseBox = new QGroupBox(QStringLiteral("Grundfall"), this);
    baseList_ = new QTableWidget(kInputCount, 2, baseBox);
    baseList_->setObjectName(QStringLiteral("grundfall"));
    baseList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    baseList_->setSelectionMode(QAbstractItemView::NoSelection);
    baseList_->setFocusPolicy(Qt::NoFocus);
    baseList_->horizontalHeader()->hide();
    baseList_->verticalHeader()->hide();
    baseList_->setShowGrid(false);
    baseList_->setAlternatingRowColors(true);
    baseList_->setWordWrap(false);
    baseList_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    baseList_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    baseList_->verticalHeader()->setMinimumSectionSize(1);
    baseList_->verticalHeader()->setDefaultSectionSize(baseList_->fontMetrics().height() + 3);
    for (int i = 0; i < kInputCount; ++i) {
        auto* caption = new QTableWidgetItem(
            QString::fromStdString(std::string(trimBlanks(inputCaption(controlAt(i))))));
        caption->setToolTip(QString::fromLatin1(controlName(controlAt(i))));
        baseList_->setItem(i, 0, caption);
        baseList_->setItem(i, 1, new QTableWidgetItem);
    }
    // Tall enough for all seventeen rows, so that the list needs no scroll bar.
    baseList_->setFixedHeight(kInputCount * baseList_->verticalHeader()->defaultSectionSize() +
                              2 * baseList_->frameWidth());
    baseList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    takeBase_ = new QPushButton(QStringLiteral("Aus Hauptfenster übernehmen"), baseBox);
    takeBase_->setObjectName(QStringLiteral("uebernehmen"));
    auto* baseLayout = new QVBoxLayout(baseBox);
    baseLayout->addWidget(baseList_);
    baseLayout->addWidget(takeBase_, 0, Qt::AlignRight);

    // The first input is always varied; the second, when chosen, gives a curve per value.
    const QString titles[] = {QStringLiteral("Variierte Eingabe"),
                              QStringLiteral("Zweite variierte Eingabe (Kurvenschar)")};
    for (std::size_t i = 0; i < kFormVariations; ++i) {
        editors_[i] = new VaryEditor(titles[i], i > 0, this);
        editors_[i]->setObjectName(QStringLiteral("variation%1").arg(i + 1));
        connect(editors_[i], &VaryEditor::changed, this, &StudySetupPanel::recheck);
    }
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("faelle"));
    count_->setWordWrap(true);
    QFont bold = count_->font();
    bold.setBold(true);
    count_->setFont(bold);
    // Two lines kept for the count or the reason against the study: Berechnen below stays put.
    count_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    count_->setMinimumHeight(2 * QFontMetrics(bold).lineSpacing());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(baseBox);
    for (VaryEditor* e : editors_)
        layout->addWidget(e);
    layout->addWidget(count_);

    connect(takeBase_, &QPushButton::clicked, this, &StudySetupPanel::baseRequested);
    setBase(defaultInputTexts());
}

StudyForm StudySetupPanel::form() const {
    StudyForm f;
    f.base = base_;
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
    base_ = base;
    for (int i = 0; i < kInputCount; ++i)
        baseList_->item(i, 1)->setText(QString::fromStdString(base[controlAt(i)]));
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
