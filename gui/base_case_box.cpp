#include "gui/base_case_box.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "files/file_text.h"

namespace tesmo::qt {

BaseCaseBox::BaseCaseBox(const QString& listName, const QString& buttonName, QWidget* parent)
    : QGroupBox(QStringLiteral("Grundfall"), parent) {
    list_ = new QTableWidget(kInputCount, 2, this);
    list_->setObjectName(listName);
    list_->setAccessibleName(QStringLiteral("Grundfall"));
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->horizontalHeader()->hide();
    list_->verticalHeader()->hide();
    list_->setShowGrid(false);
    list_->setAlternatingRowColors(true);
    list_->setWordWrap(false);
    list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->verticalHeader()->setMinimumSectionSize(1);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 3);
    for (int i = 0; i < kInputCount; ++i) {
        auto* caption = new QTableWidgetItem(
            QString::fromStdString(std::string(trimBlanks(inputCaption(controlAt(i))))));
        caption->setToolTip(QString::fromLatin1(controlName(controlAt(i))));
        list_->setItem(i, 0, caption);
        list_->setItem(i, 1, new QTableWidgetItem);
    }
    // Tall enough for all seventeen rows, so that the list needs no scroll bar.
    list_->setFixedHeight(kInputCount * list_->verticalHeader()->defaultSectionSize() +
                          2 * list_->frameWidth());
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* take = new QPushButton(QStringLiteral("Aus Hauptfenster übernehmen"), this);
    take->setObjectName(buttonName);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(take, 0, Qt::AlignRight);
    connect(take, &QPushButton::clicked, this, &BaseCaseBox::baseRequested);
    setBase(defaultInputTexts());
}

void BaseCaseBox::setBase(const InputTexts& base) {
    base_ = base;
    for (int i = 0; i < kInputCount; ++i)
        list_->item(i, 1)->setText(QString::fromStdString(base[controlAt(i)]));
}

}  // namespace tesmo::qt
