#include "gui/vary_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "files/file_text.h"

namespace tesmo::qt {

namespace {

// The three fields of a range: object name and the caption in front.
struct Bound {
    const char* name;
    const char* caption;
};
constexpr std::array<Bound, 3> kBounds = {{{"von", "von"}, {"bis", "bis"}, {"schritt", "Schritt"}}};

QLineEdit* edit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
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
    values_ = edit("werte", this);
    values_->setPlaceholderText(QStringLiteral("z. B. 10,0; 20,0; 30,0"));
    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("meldung"));
    error_->setWordWrap(true);
    error_->setTextFormat(Qt::PlainText);
    // The message's place is kept, empty or not, so that nothing below it moves while typing.
    error_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    error_->setMinimumHeight(2 * error_->fontMetrics().lineSpacing());
    QPalette pal = error_->palette();
    pal.setColor(QPalette::WindowText, QColor(176, 0, 0));
    error_->setPalette(pal);

    // Field list; "Bereich" with von, bis, Schritt; "Liste" with the values; the message.
    auto* grid = new QGridLayout(this);
    grid->addWidget(field_, 0, 0, 1, 7);
    grid->addWidget(range_, 1, 0);
    for (std::size_t i = 0; i < kBounds.size(); ++i) {
        const int column = 1 + 2 * static_cast<int>(i);
        auto* caption = new QLabel(QString::fromUtf8(kBounds[i].caption), this);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        bounds_[i] = edit(kBounds[i].name, this);
        grid->addWidget(caption, 1, column);
        grid->addWidget(bounds_[i], 1, column + 1);
        grid->setColumnStretch(column + 1, 1);
    }
    grid->addWidget(list_, 2, 0);
    grid->addWidget(values_, 2, 1, 1, 6);
    grid->addWidget(error_, 3, 0, 1, 7);

    const auto notify = [this] {
        updateEnabled();
        emit changed();
    };
    connect(field_, &QComboBox::currentIndexChanged, this, notify);
    connect(range_, &QRadioButton::toggled, this, notify);
    for (QLineEdit* e : {bounds_[0], bounds_[1], bounds_[2], values_})
        connect(e, &QLineEdit::textChanged, this, notify);
    updateEnabled();
}

VaryEntry VaryEditor::entry() const {
    VaryEntry e;
    const int i = field_->currentData().toInt();
    e.field = i < 0 ? Control::Count : controlAt(i);
    e.kind = range_->isChecked() ? EntryKind::Range : EntryKind::List;
    e.from = bounds_[0]->text().toStdString();
    e.to = bounds_[1]->text().toStdString();
    e.step = bounds_[2]->text().toStdString();
    e.values = values_->text().toStdString();
    return e;
}

void VaryEditor::setEntry(const VaryEntry& e) {
    const QSignalBlocker block(this);  // one change signal for the whole entry
    field_->setCurrentIndex(field_->findData(e.used() ? index(e.field) : -1));
    (e.kind == EntryKind::Range ? range_ : list_)->setChecked(true);
    const std::string* bounds[] = {&e.from, &e.to, &e.step};
    for (std::size_t b = 0; b < bounds_.size(); ++b)
        bounds_[b]->setText(QString::fromStdString(*bounds[b]));
    values_->setText(QString::fromStdString(e.values));
    updateEnabled();
}

void VaryEditor::setError(const std::string& message) {
    error_->setText(QString::fromStdString(message));
}

void VaryEditor::updateEnabled() {
    const bool used = !optional_ || field_->currentData().toInt() >= 0;
    const bool range = range_->isChecked();
    range_->setEnabled(used);
    list_->setEnabled(used);
    for (QLineEdit* e : bounds_)
        e->setEnabled(used && range);
    values_->setEnabled(used && !range);
}

}  // namespace tesmo::qt
