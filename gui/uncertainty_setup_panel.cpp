#include "gui/uncertainty_setup_panel.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "files/file_text.h"
#include "gui/base_case_box.h"
#include "gui/work_window_parts.h"
#include "study/case_list.h"
#include "study/result_view.h"
#include "study/study_form.h"
#include "uq/report.h"
#include "uq/result_texts.h"

namespace tesmo::qt {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString caption(Control field) {
    return qs(trimBlanks(inputCaption(field)));
}

QString shortName(Control field) {
    return qs(groupLabel({{field}, false, {}}));
}

// A label for messages: dark red, its room kept so that nothing below moves while typing.
QLabel* messageLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(176, 0, 0));
    label->setPalette(pal);
    return label;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QTableWidget* rowTable(const char* name, const QStringList& headers, QWidget* parent) {
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 14);
    return t;
}

// A combo box that does not widen its column for its longest entry (its list shows them whole).
QComboBox* narrowCombo(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

}  // namespace

UncertaintySetupPanel::UncertaintySetupPanel(QWidget* parent) : QWidget(parent) {
    baseBox_ =
        new BaseCaseBox(QStringLiteral("uqGrundfall"), QStringLiteral("uqUebernehmen"), this);
    count_ = caseCountLabel(this, QStringLiteral("uqFaelle"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(baseBox_);
    layout->addWidget(buildInputs());
    layout->addWidget(buildFit());
    layout->addWidget(buildSample());
    layout->addWidget(buildAnalysis());
    layout->addWidget(count_);
    connect(baseBox_, &BaseCaseBox::baseRequested, this, &UncertaintySetupPanel::baseRequested);
    setForm(defaultUncertaintyForm());
}

QWidget* UncertaintySetupPanel::buildInputs() {
    auto* box = new QGroupBox(QStringLiteral("Unsichere Eingaben"), this);
    inputs_ = rowTable(
        "unsichereEingaben",
        {QStringLiteral("Eingabe"), QStringLiteral("Verteilung"), QStringLiteral("Parameter")},
        box);
    inputs_->horizontalHeaderItem(2)->setToolTip(
        QStringLiteral("Die Parameter der Verteilung in der Einheit des Eingabefelds"));
    inputs_->setAccessibleName(QStringLiteral("Unsichere Eingaben"));
    inputs_->setMinimumHeight(5 * inputs_->verticalHeader()->defaultSectionSize());
    inputs_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    inputs_->setColumnWidth(0, 150);
    inputs_->setColumnWidth(1, 120);
    inputError_ = messageLabel("meldungEingaben", box);
    auto* add = button(QStringLiteral("Eingabe &hinzufügen"), "eingabeHinzufuegen", box);
    auto* remove = button(QStringLiteral("Eingabe en&tfernen"), "eingabeEntfernen", box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(inputs_);
    layout->addLayout(buttons);
    layout->addWidget(inputError_);
    connect(add, &QPushButton::clicked, this, &UncertaintySetupPanel::addInput);
    connect(remove, &QPushButton::clicked, this, [this] { removeSelected(inputs_); });
    return box;
}

QWidget* UncertaintySetupPanel::buildFit() {
    auto* box = new QGroupBox(QStringLiteral("Angepasste Eingaben"), this);
    box->setToolTip(
        QStringLiteral("Die Eingaben einer Anpassung an Messungen (*.tgfit mit gespeichertem "
                       "Ergebnis) streuen gemeinsam mit der Kovarianz der Anpassung."));
    fitName_ = new QLabel(box);
    fitName_->setObjectName(QStringLiteral("anpassung"));
    fitName_->setWordWrap(true);
    fitName_->setTextFormat(Qt::PlainText);
    auto* choose = button(QStringLiteral("Anpassung &wählen…"), "anpassungWaehlen", box);
    dropFit_ = button(QStringLiteral("&Ohne Anpassung"), "ohneAnpassung", box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(choose);
    buttons->addWidget(dropFit_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(fitName_);
    layout->addLayout(buttons);
    connect(choose, &QPushButton::clicked, this, &UncertaintySetupPanel::fitRequested);
    connect(dropFit_, &QPushButton::clicked, this, [this] { setFitFile({}); });
    return box;
}

QWidget* UncertaintySetupPanel::buildSample() {
    auto* box = new QGroupBox(QStringLiteral("Stichprobe"), this);
    samples_ = new QSpinBox(box);
    samples_->setObjectName(QStringLiteral("proben"));
    samples_->setRange(static_cast<int>(kMinSamples), static_cast<int>(kCasesWithoutYes));
    samples_->setSingleStep(100);
    samples_->setGroupSeparatorShown(true);
    design_ = new QComboBox(box);
    design_->setObjectName(QStringLiteral("plan"));
    for (std::size_t d = 0; d < kDesignWords.size(); ++d)
        design_->addItem(qs(designCaption(static_cast<SampleDesign>(d))));
    seed_ = new QLineEdit(box);
    seed_->setObjectName(QStringLiteral("startwert"));
    seed_->setToolTip(
        QStringLiteral("Derselbe Startwert zieht dieselben Fälle, auf jedem Rechner."));
    indices_ = new QComboBox(box);
    indices_->setObjectName(QStringLiteral("indizes"));
    for (std::size_t m = 0; m < kIndexWords.size(); ++m)
        indices_->addItem(qs(indexCaption(static_cast<IndexMethod>(m))));
    indices_->setToolTip(
        QStringLiteral("Wie die Sobol'-Indizes geschätzt werden: automatisch wählt Pick-Freeze, "
                       "wenn das Budget 1000 Punkte je Matrix erlaubt, sonst das Polynomchaos."));
    auto* form = new QFormLayout(box);
    const auto row = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, box);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(QStringLiteral("&Fälle:"), samples_);
    row(QStringLiteral("P&lan:"), design_);
    row(QStringLiteral("&Startwert:"), seed_);
    row(QStringLiteral("&Indizes:"), indices_);
    connect(samples_, &QSpinBox::valueChanged, this, &UncertaintySetupPanel::recheck);
    connect(design_, &QComboBox::currentIndexChanged, this, &UncertaintySetupPanel::recheck);
    connect(seed_, &QLineEdit::textChanged, this, &UncertaintySetupPanel::recheck);
    connect(indices_, &QComboBox::currentIndexChanged, this, &UncertaintySetupPanel::recheck);
    return box;
}

QWidget* UncertaintySetupPanel::buildAnalysis() {
    auto* box = new QGroupBox(QStringLiteral("Auswertung"), this);
    results_ = new QListWidget(box);
    results_->setObjectName(QStringLiteral("auswertung"));
    for (std::size_t c = 0; c < kResultCount; ++c) {
        auto* item = new QListWidgetItem(
            qs(captionParts(resultCaption(resultColumns()[c])).name) + QStringLiteral(" (") +
                QString::fromLatin1(resultColumns()[c].name) + QStringLiteral(")"),
            results_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    results_->setFixedHeight(6 * results_->sizeHintForRow(0) + 2 * results_->frameWidth());
    auto* resultsLabel = new QLabel(QStringLiteral("Er&gebnisse:"), box);
    resultsLabel->setBuddy(results_);

    limits_ = rowTable("grenzen",
                       {QStringLiteral("Ergebnis"), QStringLiteral("Seite"),
                        QStringLiteral("Grenze in der Einheit der Tabelle")},
                       box);
    limits_->setAccessibleName(QStringLiteral("Grenzen"));
    limits_->setMinimumHeight(3 * limits_->verticalHeader()->defaultSectionSize());
    limits_->setColumnWidth(0, 150);
    limits_->setColumnWidth(1, 60);
    auto* add = button(QStringLiteral("Grenze hin&zufügen"), "grenzeHinzufuegen", box);
    auto* remove = button(QStringLiteral("Grenze e&ntfernen"), "grenzeEntfernen", box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(resultsLabel);
    layout->addWidget(results_);
    layout->addWidget(new QLabel(QStringLiteral("Wahrscheinlichkeit jenseits einer Grenze:"), box));
    layout->addWidget(limits_);
    layout->addLayout(buttons);
    connect(results_, &QListWidget::itemChanged, this, &UncertaintySetupPanel::recheck);
    connect(add, &QPushButton::clicked, this, &UncertaintySetupPanel::addLimit);
    connect(remove, &QPushButton::clicked, this, [this] { removeSelected(limits_); });
    return box;
}

void UncertaintySetupPanel::addInput() {
    addInputRow({});
    recheck();
}

void UncertaintySetupPanel::addLimit() {
    addLimitRow({});
    recheck();
}

void UncertaintySetupPanel::addInputRow(const UncertainEntry& entry) {
    const int r = inputs_->rowCount();
    inputs_->insertRow(r);
    InputRow row;
    row.field = narrowCombo(inputs_);
    row.field->setObjectName(QStringLiteral("feld"));
    row.field->addItem(QStringLiteral("(Eingabe wählen)"), -1);
    for (int i = 0; i < kInputCount; ++i) {
        row.field->addItem(shortName(controlAt(i)), i);
        row.field->setItemData(row.field->count() - 1, caption(controlAt(i)), Qt::ToolTipRole);
    }
    row.field->setCurrentIndex(row.field->findData(isInput(entry.field) ? index(entry.field) : -1));
    row.kind = narrowCombo(inputs_);
    row.kind->setObjectName(QStringLiteral("verteilung"));
    for (const DistributionForm& f : kDistributionForms)
        row.kind->addItem(qs(distributionCaption(f.kind)));
    row.kind->setCurrentIndex(static_cast<int>(entry.kind));
    auto* cell = new QWidget(inputs_);
    auto* line = new QHBoxLayout(cell);
    line->setContentsMargins(2, 0, 2, 0);
    line->setSpacing(3);
    for (std::size_t k = 0; k < row.parameters.size(); ++k) {
        row.parameters[k] = new QLineEdit(QString::fromStdString(entry.parameters[k]), cell);
        row.parameters[k]->setObjectName(QStringLiteral("parameter%1").arg(k + 1));
        line->addWidget(row.parameters[k], 1);
        if (k < row.separators.size()) {
            row.separators[k] = new QLabel(cell);
            line->addWidget(row.separators[k]);
        }
    }
    inputs_->setCellWidget(r, 0, row.field);
    inputs_->setCellWidget(r, 1, row.kind);
    inputs_->setCellWidget(r, 2, cell);
    inputRows_.push_back(row);
    showKind(row);
    connect(row.field, &QComboBox::currentIndexChanged, this, [this, row] {
        showKind(row);
        recheck();
    });
    connect(row.kind, &QComboBox::currentIndexChanged, this, [this, row] {
        showKind(row);
        recheck();
    });
    for (QLineEdit* e : row.parameters)
        connect(e, &QLineEdit::textChanged, this, &UncertaintySetupPanel::recheck);
}

// The parameters a distribution takes, named in their placeholders, tooltips and accessible
// names ("Mittelwert von Feuchteleit"), with the separator a study file writes between them.
void UncertaintySetupPanel::showKind(const InputRow& row) {
    const auto kind = static_cast<DistributionKind>(std::max(0, row.kind->currentIndex()));
    const DistributionForm& f = distributionForm(kind);
    const std::vector<std::string> names = parameterNames(kind);
    const int field = row.field->currentData().toInt();
    const QString of =
        field < 0 ? QString() : QStringLiteral(" von ") + shortName(controlAt(field));
    for (std::size_t k = 0; k < row.parameters.size(); ++k) {
        const bool used = static_cast<int>(k) < f.count;
        QLineEdit* e = row.parameters[k];
        e->setVisible(used);
        if (!used) continue;
        const QString name = QString::fromStdString(names[k]);
        e->setPlaceholderText(name);
        e->setToolTip(name);
        e->setAccessibleName(name + of);
        if (k < row.separators.size()) {
            row.separators[k]->setText(QString(QLatin1Char(f.separator)));
            row.separators[k]->setVisible(static_cast<int>(k) + 1 < f.count);
        }
    }
    row.field->setAccessibleName(QStringLiteral("Unsichere Eingabe"));
    row.kind->setAccessibleName(QStringLiteral("Verteilung") + of);
}

void UncertaintySetupPanel::addLimitRow(const LimitEntry& entry) {
    const int r = limits_->rowCount();
    limits_->insertRow(r);
    LimitRow row;
    row.result = narrowCombo(limits_);
    row.result->setObjectName(QStringLiteral("ergebnis"));
    row.result->setAccessibleName(QStringLiteral("Ergebnis der Grenze"));
    row.result->addItem(QStringLiteral("(Ergebnis wählen)"), -1);
    for (std::size_t c = 0; c < kResultCount; ++c)
        row.result->addItem(QString::fromLatin1(resultColumns()[c].name), static_cast<int>(c));
    row.result->setCurrentIndex(
        row.result->findData(entry.column < kResultCount ? static_cast<int>(entry.column) : -1));
    row.side = new QComboBox(limits_);
    row.side->setObjectName(QStringLiteral("seite"));
    row.side->setAccessibleName(QStringLiteral("über oder unter der Grenze"));
    row.side->addItems({QStringLiteral(">"), QStringLiteral("<")});
    row.side->setCurrentIndex(entry.side == LimitSide::Above ? 0 : 1);
    row.value = new QLineEdit(QString::fromStdString(entry.value), limits_);
    row.value->setObjectName(QStringLiteral("wert"));
    row.value->setAccessibleName(QStringLiteral("Grenze in der Einheit der Tabelle"));
    limits_->setCellWidget(r, 0, row.result);
    limits_->setCellWidget(r, 1, row.side);
    limits_->setCellWidget(r, 2, row.value);
    limitRows_.push_back(row);
    const auto show = [this, row] {
        const int c = row.result->currentData().toInt();
        const QString unit = c < 0 ? QString() : qs(tableUnit(static_cast<std::size_t>(c)));
        // The unit stays in sight once a value is typed: in the tooltip.
        row.value->setPlaceholderText(unit.isEmpty() ? QString() : QStringLiteral("in ") + unit);
        row.value->setToolTip(unit.isEmpty() ? QStringLiteral("Grenze in der Einheit der Tabelle")
                                             : QStringLiteral("Grenze in ") + unit);
        recheck();
    };
    connect(row.result, &QComboBox::currentIndexChanged, this, show);
    connect(row.side, &QComboBox::currentIndexChanged, this, &UncertaintySetupPanel::recheck);
    connect(row.value, &QLineEdit::textChanged, this, &UncertaintySetupPanel::recheck);
    show();
}

void UncertaintySetupPanel::removeSelected(QTableWidget* table) {
    int r = table->currentRow();
    if (r < 0) r = table->rowCount() - 1;  // none chosen: the last one
    if (r < 0) return;
    table->removeRow(r);
    if (table == inputs_)
        inputRows_.erase(inputRows_.begin() + r);
    else
        limitRows_.erase(limitRows_.begin() + r);
    recheck();
}

void UncertaintySetupPanel::setFitFile(const QString& path) {
    if (path.isEmpty())
        fit_.reset();
    else
        fit_ = chooseFit(path.toStdString());
    showFit();
    recheck();
}

void UncertaintySetupPanel::showFit() {
    dropFit_->setEnabled(fit_.has_value());
    if (!fit_) {
        fitName_->setText(QStringLiteral("keine"));
        fitName_->setToolTip({});
        return;
    }
    QString text = QFileInfo(QString::fromStdString(fit_->path)).fileName();
    if (fit_->block) {
        QStringList names;
        for (Control f : fit_->block->fields)
            names << shortName(f);
        text += QStringLiteral(": ") + names.join(QStringLiteral(", "));
    }
    fitName_->setText(text);
    fitName_->setToolTip(QString::fromStdString(fit_->path));
}

}  // namespace tesmo::qt
