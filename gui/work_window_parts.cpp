#include "gui/work_window_parts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace tesmo::qt {

QWidget* formBesideResults(QWidget* form, QWidget* results, int formWidth) {
    auto* scroll = new QScrollArea;
    scroll->setWidget(form);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(formWidth);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(scroll);
    split->addWidget(results);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    split->setSizes({formWidth, 1000});
    return split;
}

RunBox makeRunBox(const QString& startText, const QString& cancelText,
                  const QString& namePrefix) {
    const auto name = [&](const QString& word) {
        return namePrefix.isEmpty() ? word : namePrefix + word.left(1).toUpper() + word.mid(1);
    };
    RunBox r{};
    r.box = new QWidget;
    r.start = new QPushButton(startText, r.box);
    r.start->setObjectName(name(QStringLiteral("berechnen")));
    r.cancel = new QPushButton(cancelText, r.box);
    r.cancel->setObjectName(name(QStringLiteral("abbrechen")));
    r.progress = new QProgressBar(r.box);
    r.progress->setObjectName(name(QStringLiteral("fortschritt")));
    r.progress->setFormat(QStringLiteral("%v von %m Fällen"));
    r.progress->hide();  // until a study starts
    r.status = new QLabel(r.box);
    r.status->setObjectName(name(QStringLiteral("status")));
    r.status->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(r.start);
    buttons->addWidget(r.cancel);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(r.box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(r.progress);
    layout->addWidget(r.status);
    return r;
}

QLabel* caseCountLabel(QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumHeight(2 * QFontMetrics(bold).lineSpacing());
    return label;
}

QTableView* caseTableView(QAbstractItemModel* model, const QString& objectName) {
    auto* view = new QTableView;
    view->setObjectName(objectName);
    view->setModel(model);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    return view;
}

void WindowDialogs::message(const QString& text) {
    if (messageHook_) {
        messageHook_(text);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, title_, text, QMessageBox::Ok, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool WindowDialogs::ask(const QString& question, const std::function<void()>& yes) {
    if (questionHook_) {
        if (!questionHook_(question)) return false;
        yes();
        return true;
    }
    auto* box = new QMessageBox(QMessageBox::Question, title_, question,
                                QMessageBox::Yes | QMessageBox::No, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, parent_, [yes](int answer) {
        if (answer == QMessageBox::Yes) yes();
    });
    box->open();
    return false;
}

}  // namespace tesmo::qt
