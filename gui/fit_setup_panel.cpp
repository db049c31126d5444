#include "gui/fit_setup_panel.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "fit/fit_texts.h"
#include "model/text_to_number.h"

namespace tesmo::qt {

namespace {

enum SeriesColumn { kMessung, kWerte, kFall, kKlima, kTrockenmasse, kSeriesColumns };
enum ParameterColumn { kEingabe, kStart, kUnten, kOben, kParameterColumns };

QString str(const std::string& s) {
    return QString::fromStdString(s);
}

QString counted(std::size_t n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

QString valuesText(const Measurement& m) {
    QStringList parts;
    for (const MessgroesseSpec& q : kMessgroessen) {
        if (!m.misst(q.groesse)) continue;
        int count = 0;
        for (double v : m.werte[slot(q.groesse)])
            count += std::isnan(v) ? 0 : 1;
        parts << QStringLiteral("%1 (%2)")
                     .arg(QString::fromUtf8(q.spalte.data(), q.spalte.size()))
                     .arg(count);
    }
    return parts.join(QStringLiteral(", "));
}

QTableWidgetItem* fixedItem(const QString& text, const QString& tip = {}) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    if (!tip.isEmpty()) item->setToolTip(tip);
    return item;
}

QTableWidget* table(int columns, const QStringList& headers, const char* name,
                    const QString& accessible) {
    auto* t = new QTableWidget(0, columns);
    t->setObjectName(QString::fromLatin1(name));
    t->setAccessibleName(accessible);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                       QAbstractItemView::AnyKeyPressed);
    t->setWordWrap(false);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 10);
    t->horizontalHeader()->setHighlightSections(false);
    return t;
}

}  // namespace

FitSetupPanel::FitSetupPanel(QWidget* parent) : QWidget(parent) {
    starts_ = new QSpinBox;
    starts_->setObjectName(QStringLiteral("startpunkte"));
    starts_->setAccessibleName(QStringLiteral("Startpunkte"));
    starts_->setRange(1, kMaxStarts);
    starts_->setToolTip(
        QStringLiteral("Außer am Startwert beginnt die Anpassung an so vielen weiteren Punkten "
                       "minus eins, gleichmäßig in den Grenzen gestreut, und nimmt das beste "
                       "Ergebnis: Das schützt vor einem Nebenminimum."));
    auto* startsLabel = new QLabel(QStringLiteral("S&tartpunkte:"));
    startsLabel->setBuddy(starts_);
    auto* startsRow = new QHBoxLayout;
    startsRow->addWidget(startsLabel);
    startsRow->addWidget(starts_);
    startsRow->addStretch(1);

    checkText_ = new QLabel;
    checkText_->setObjectName(QStringLiteral("pruefung"));
    checkText_->setWordWrap(true);
    checkText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = checkText_->font();
    bold.setBold(true);
    checkText_->setFont(bold);
    checkText_->setMinimumHeight(3 * QFontMetrics(bold).lineSpacing());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildSeriesBox(), 3);
    layout->addWidget(buildParameterBox(), 2);
    layout->addLayout(startsRow);
    layout->addWidget(checkText_);

    connect(starts_, &QSpinBox::valueChanged, this, [this](int n) {
        if (filling_) return;
        form_.starts = n;
        recheck();
    });
    recheck();
}

QWidget* FitSetupPanel::buildSeriesBox() {
    auto* box = new QGroupBox(QStringLiteral("Messreihen"));
    series_ =
        table(kSeriesColumns,
              {QStringLiteral("Messdatei"), QStringLiteral("Messwerte"), QStringLiteral("Fall"),
               QStringLiteral("Klima"), QStringLiteral("Trockenmasse\nin g")},
              "messreihen", QStringLiteral("Messreihen"));
    // Every column as wide as its texts, the file names whole: where the panel is narrower, the
    // table scrolls sideways rather than cutting a name short.
    series_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    series_->horizontalHeader()->setStretchLastSection(true);
    series_->horizontalHeaderItem(kKlima)->setToolTip(
        QStringLiteral("konstant: die Probe trocknet im Klimaschrank, in Luft vom Zustand der "
                       "Abluft; gegenstrom: im Gegenstromtrockner"));
    series_->horizontalHeaderItem(kTrockenmasse)
        ->setToolTip(
            QStringLiteral("die Masse der trockenen Probe; nötig, wenn die Messdatei Massen (m_g) "
                           "enthält"));

    auto* add = new QPushButton(QStringLiteral("Messreihe &hinzufügen…"));
    add->setObjectName(QStringLiteral("messreiheHinzufuegen"));
    removeSeries_ = new QPushButton(QStringLiteral("&Entfernen"));
    removeSeries_->setObjectName(QStringLiteral("messreiheEntfernen"));
    removeSeries_->setAccessibleName(QStringLiteral("Messreihe entfernen"));
    caseFile_ = new QPushButton(QStringLiteral("Fall aus &Datei…"));
    caseFile_->setObjectName(QStringLiteral("fallAusDatei"));
    caseMain_ = new QPushButton(QStringLiteral("Fall aus Haupt&fenster"));
    caseMain_->setObjectName(QStringLiteral("fallAusHauptfenster"));
    caseMain_->setToolTip(
        QStringLiteral("Die siebzehn Eingaben des Hauptfensters werden der Fall dieser Reihe; "
                       "beim Speichern der Anpassung kommen sie in eine Falldatei neben ihr."));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(removeSeries_);
    buttons->addStretch(1);
    auto* caseButtons = new QHBoxLayout;
    caseButtons->addWidget(caseFile_);
    caseButtons->addWidget(caseMain_);
    caseButtons->addStretch(1);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(series_, 1);
    layout->addLayout(buttons);
    layout->addLayout(caseButtons);

    connect(add, &QPushButton::clicked, this, &FitSetupPanel::addSeriesRequested);
    connect(removeSeries_, &QPushButton::clicked, this, [this] { removeSeries(selectedSeries()); });
    connect(caseFile_, &QPushButton::clicked, this,
            [this] { emit caseFileRequested(selectedSeries()); });
    connect(caseMain_, &QPushButton::clicked, this,
            [this] { emit caseFromMainRequested(selectedSeries()); });
    connect(series_, &QTableWidget::cellChanged, this, &FitSetupPanel::takeSeriesEdit);
    connect(series_, &QTableWidget::itemSelectionChanged, this, &FitSetupPanel::updateButtons);
    return box;
}

QWidget* FitSetupPanel::buildParameterBox() {
    auto* box = new QGroupBox(QStringLiteral("Angepasste Eingaben"));
    parameters_ = table(kParameterColumns,
                        {QStringLiteral("Eingabe"), QStringLiteral("Startwert"),
                         QStringLiteral("Untergrenze"), QStringLiteral("Obergrenze")},
                        "parameter", QStringLiteral("Angepasste Eingaben"));
    parameters_->horizontalHeader()->setSectionResizeMode(kEingabe, QHeaderView::Stretch);
    for (int c : {kStart, kUnten, kOben})
        parameters_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);

    // The common material values first, then every other input.
    newParameter_ = new QComboBox;
    newParameter_->setObjectName(QStringLiteral("neueEingabe"));
    newParameter_->setAccessibleName(QStringLiteral("Eingabe zum Anpassen"));
    // Narrower than the longest caption, so the row fits the column; the open list shows all.
    newParameter_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    newParameter_->setMinimumContentsLength(24);
    for (Control c : typicalFitInputs())
        newParameter_->addItem(str(inputLabel(c)), static_cast<int>(c));
    newParameter_->insertSeparator(newParameter_->count());
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        const auto& typical = typicalFitInputs();
        if (std::find(typical.begin(), typical.end(), c) == typical.end())
            newParameter_->addItem(str(inputLabel(c)), static_cast<int>(c));
    }
    auto* add = new QPushButton(QStringLiteral("Eingabe hin&zufügen"));
    add->setObjectName(QStringLiteral("eingabeHinzufuegen"));
    removeParameter_ = new QPushButton(QStringLiteral("Entfe&rnen"));
    removeParameter_->setObjectName(QStringLiteral("eingabeEntfernen"));
    removeParameter_->setAccessibleName(QStringLiteral("Eingabe entfernen"));

    auto* row = new QHBoxLayout;
    row->addWidget(newParameter_, 1);
    row->addWidget(add);
    row->addWidget(removeParameter_);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(parameters_, 1);
    layout->addLayout(row);

    connect(add, &QPushButton::clicked, this,
            [this] { addParameter(static_cast<Control>(newParameter_->currentData().toInt())); });
    connect(removeParameter_, &QPushButton::clicked, this, [this] {
        const QList<QTableWidgetItem*> selected = parameters_->selectedItems();
        removeParameter(selected.isEmpty() ? -1 : selected.front()->row());
    });
    connect(parameters_, &QTableWidget::cellChanged, this, &FitSetupPanel::takeParameterEdit);
    connect(parameters_, &QTableWidget::itemSelectionChanged, this, &FitSetupPanel::updateButtons);
    return box;
}

void FitSetupPanel::setMainTexts(std::function<InputTexts()> mainTexts) {
    mainTexts_ = std::move(mainTexts);
}

void FitSetupPanel::setForm(const FitForm& form) {
    form_ = form;
    fillSeries();
    fillParameters();
    filling_ = true;
    starts_->setValue(form_.starts);
    filling_ = false;
    recheck();
}

void FitSetupPanel::fillSeries() {
    filling_ = true;
    series_->setRowCount(static_cast<int>(form_.series.size()));
    for (int r = 0; r < series_->rowCount(); ++r) {
        const SeriesForm& s = form_.series[static_cast<std::size_t>(r)];
        series_->setItem(r, kMessung, fixedItem(str(s.name), str(s.measurementPath)));
        series_->setItem(r, kWerte, fixedItem(valuesText(s.measurement)));
        const QString caseName = s.casePath.empty() ? QStringLiteral("Hauptfenster")
                                                    : QFileInfo(str(s.casePath)).fileName();
        series_->setItem(
            r, kFall,
            fixedItem(caseName, s.casePath.empty()
                                    ? QStringLiteral("die Eingaben des Hauptfensters, als die "
                                                     "Reihe sie übernahm")
                                    : str(s.casePath)));
        series_->setItem(r, kTrockenmasse, new QTableWidgetItem(str(s.trockenmasse)));
        series_->item(r, kTrockenmasse)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* klima = new QComboBox;
        klima->setObjectName(QStringLiteral("klima%1").arg(r + 1));
        klima->setAccessibleName(QStringLiteral("Klima der Messreihe %1").arg(r + 1));
        for (std::string_view word : runOptionSpec(RunOption::Klima).words)
            klima->addItem(QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size())));
        klima->setCurrentIndex(optionChoice(s.optionen, RunOption::Klima));
        connect(klima, &QComboBox::currentIndexChanged, this, [this, r](int index) {
            if (!filling_) setSeriesKlima(r, static_cast<Klima>(index));
        });
        series_->setCellWidget(r, kKlima, klima);
    }
    filling_ = false;
    updateButtons();
}

void FitSetupPanel::fillParameters() {
    filling_ = true;
    parameters_->setRowCount(static_cast<int>(form_.parameters.size()));
    for (int r = 0; r < parameters_->rowCount(); ++r) {
        const ParameterForm& p = form_.parameters[static_cast<std::size_t>(r)];
        parameters_->setItem(
            r, kEingabe,
            fixedItem(str(inputLabel(p.field)), QString::fromLatin1(controlName(p.field))));
        const std::string* texts[] = {&p.start, &p.lower, &p.upper};
        for (int c = kStart; c <= kOben; ++c) {
            auto* item = new QTableWidgetItem(str(*texts[c - kStart]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            parameters_->setItem(r, c, item);
        }
    }
    filling_ = false;
    updateButtons();
}

void FitSetupPanel::takeSeriesEdit(int row, int column) {
    if (filling_ || column != kTrockenmasse) return;
    form_.series[static_cast<std::size_t>(row)].trockenmasse =
        series_->item(row, column)->text().trimmed().toStdString();
    recheck();
}

void FitSetupPanel::takeParameterEdit(int row, int column) {
    if (filling_ || column == kEingabe) return;
    ParameterForm& p = form_.parameters[static_cast<std::size_t>(row)];
    std::string* texts[] = {&p.start, &p.lower, &p.upper};
    *texts[column - kStart] = parameters_->item(row, column)->text().trimmed().toStdString();
    recheck();
}

void FitSetupPanel::addSeries(SeriesForm series) {
    form_.series.push_back(std::move(series));
    fillSeries();
    series_->selectRow(series_->rowCount() - 1);
    recheck();
}

void FitSetupPanel::removeSeries(int row) {
    if (row < 0 || row >= static_cast<int>(form_.series.size())) return;
    form_.series.erase(form_.series.begin() + row);
    fillSeries();
    recheck();
}

void FitSetupPanel::setSeriesCase(int row, const InputTexts& texts, const std::string& casePath) {
    if (row < 0 || row >= static_cast<int>(form_.series.size())) return;
    SeriesForm& s = form_.series[static_cast<std::size_t>(row)];
    // The series keeps the climate it is set to; the other modes come with the case.
    const Klima klima = s.optionen.klima;
    s.caseTexts = texts;
    s.casePath = casePath;
    s.optionen = texts.optionen;
    s.optionen.klima = klima;
    fillSeries();
    series_->selectRow(row);
    recheck();
}

void FitSetupPanel::setSeriesKlima(int row, Klima klima) {
    if (row < 0 || row >= static_cast<int>(form_.series.size())) return;
    form_.series[static_cast<std::size_t>(row)].optionen.klima = klima;
    if (auto* box = static_cast<QComboBox*>(series_->cellWidget(row, kKlima))) {
        filling_ = true;
        box->setCurrentIndex(static_cast<int>(klima));
        filling_ = false;
    }
    recheck();
}

void FitSetupPanel::setDryMass(int row, const QString& text) {
    if (row < 0 || row >= series_->rowCount()) return;
    series_->item(row, kTrockenmasse)->setText(text);  // cellChanged takes it
}

int FitSetupPanel::selectedSeries() const {
    const QList<QTableWidgetItem*> selected = series_->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->row();
}

void FitSetupPanel::addParameter(Control field) {
    // The value the first series computes with now, else the main window's.
    InputTexts from = mainTexts_ ? mainTexts_() : defaultInputTexts();
    if (!form_.series.empty()) from = form_.series.front().caseTexts;
    form_.parameters.push_back(parameterFor(field, TextZuZahl(from[field])));
    fillParameters();
    parameters_->selectRow(parameters_->rowCount() - 1);
    recheck();
}

void FitSetupPanel::removeParameter(int row) {
    if (row < 0 || row >= static_cast<int>(form_.parameters.size())) return;
    form_.parameters.erase(form_.parameters.begin() + row);
    fillParameters();
    recheck();
}

void FitSetupPanel::setParameterTexts(int row, const QString& start, const QString& lower,
                                      const QString& upper) {
    if (row < 0 || row >= parameters_->rowCount()) return;
    ParameterForm& p = form_.parameters[static_cast<std::size_t>(row)];
    p.start = start.toStdString();
    p.lower = lower.toStdString();
    p.upper = upper.toStdString();
    fillParameters();
    recheck();
}

void FitSetupPanel::setStarts(int starts) {
    starts_->setValue(starts);  // valueChanged takes it
}

void FitSetupPanel::updateButtons() {
    const bool series = selectedSeries() >= 0;
    removeSeries_->setEnabled(series);
    caseFile_->setEnabled(series);
    caseMain_->setEnabled(series);
    removeParameter_->setEnabled(!parameters_->selectedItems().isEmpty());
}

void FitSetupPanel::recheck() {
    check_ = checkFitForm(form_);
    if (check_.ok()) {
        const std::size_t values = measuredPoints(setupOf(form_).series).size();
        checkText_->setText(QStringLiteral("Bereit: %1 mit %2 Messwerten, %3 anzupassen.")
                                .arg(counted(form_.series.size(), "Messreihe", "Messreihen"),
                                     QString::number(values),
                                     counted(form_.parameters.size(), "Eingabe", "Eingaben")));
        checkText_->setStyleSheet({});
    } else {
        checkText_->setText(str(problemText(check_, form_)));
        checkText_->setStyleSheet(QStringLiteral("color: #a00000"));
    }
    emit changed();
}

}  // namespace tesmo::qt
