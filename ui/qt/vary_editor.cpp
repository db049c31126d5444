#include "ui/qt/vary_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "files/file_text.h"

namespace tesmo::qt {

namespace {

QLineEdit* edit(const char* name, const QString& placeholder, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setPlaceholderText(placeholder);
    return e;
}

QLabel* small(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

}  // namespace

VaryEditor::VaryEditor(const QString& title, bool optional, QWidget* parent)
    : QGroupBox(title, parent), optional_(optional) {
    field_ = new QComboBox(this);
    field_->setObjectName(QStringLiteral("feld"));
    if (optional) field_->addItem(QStringLiteral("(keine)"), -1);
    for (int i = 0; i < kInputCount; ++i)
        field_->addItem(QString::fromStdString(std::string(trimBlanks(inputCaption(controlAt(i))))),
                        i);
    range_ = new QRadioButton(QStringLiteral("Bereich"), this);
    range_->setObjectName(QStringLiteral("bereich"));
    list_ = new QRadioButton(QStringLiteral("Liste"), this);
    list_->setObjectName(QStringLiteral("liste"));
    range_->setChecked(true);
    from_ = edit("von", {}, this);
    to_ = edit("bis", {}, this);
    step_ = edit("schritt", {}, this);
    values_ = edit("werte", QStringLiteral("z. B. 10,0; 20,0; 30,0"), this);
    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("meldung"));
    error_->setWordWrap(true);
    error_->setTextFormat(Qt::PlainText);
    QPalette pal = error_->palette();
    pal.setColor(QPalette::WindowText, QColor(176, 0, 0));
    error_->setPalette(pal);

    auto* grid = new QGridLayout(this);
    grid->addWidget(field_, 0, 0, 1, 7);
    grid->addWidget(range_, 1, 0);
    grid->addWidget(small(QStringLiteral("von"), this), 1, 1);
    grid->addWidget(from_, 1, 2);
    grid->addWidget(small(QStringLiteral("bis"), this), 1, 3);
    grid->addWidget(to_, 1, 4);
    grid->addWidget(small(QStringLiteral("Schritt"), this), 1, 5);
    grid->addWidget(step_, 1, 6);
    grid->addWidget(list_, 2, 0);
    grid->addWidget(values_, 2, 1, 1, 6);
    grid->addWidget(error_, 3, 0, 1, 7);
    for (int column : {2, 4, 6})
        grid->setColumnStretch(column, 1);

    const auto notify = [this] {
        updateEnabled();
        emit changed();
    };
    connect(field_, &QComboBox::currentIndexChanged, this, notify);
    connect(range_, &QRadioButton::toggled, this, notify);
    for (QLineEdit* e : {from_, to_, step_, values_})
        connect(e, &QLineEdit::textChanged, this, notify);
    updateEnabled();
}

VaryEntry VaryEditor::entry() const {
    VaryEntry e;
    const int i = field_->currentData().toInt();
    e.field = i < 0 ? Control::Count : controlAt(i);
    e.kind = range_->isChecked() ? EntryKind::Range : EntryKind::List;
    e.from = from_->text().toStdString();
    e.to = to_->text().toStdString();
    e.step = step_->text().toStdString();
    e.values = values_->text().toStdString();
    return e;
}

void VaryEditor::setEntry(const VaryEntry& e) {
    const QSignalBlocker block(this);  // one change signal for the whole entry
    field_->setCurrentIndex(field_->findData(e.used() ? index(e.field) : -1));
    (e.kind == EntryKind::Range ? range_ : list_)->setChecked(true);
    from_->setText(QString::fromStdString(e.from));
    to_->setText(QString::fromStdString(e.to));
    step_->setText(QString::fromStdString(e.step));
    values_->setText(QString::fromStdString(e.values));
    updateEnabled();
}

void VaryEditor::setError(const std::string& message) {
    error_->setText(QString::fromStdString(message));
    error_->setVisible(!message.empty());
}

void VaryEditor::updateEnabled() {
    const bool used = !optional_ || field_->currentData().toInt() >= 0;
    const bool range = range_->isChecked();
    range_->setEnabled(used);
    list_->setEnabled(used);
    for (QLineEdit* e : {from_, to_, step_})
        e->setEnabled(used && range);
    values_->setEnabled(used && !range);
}

}  // namespace tesmo::qt
