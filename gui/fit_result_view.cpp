#include "gui/fit_result_view.h"

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "fit/fit_charts.h"
#include "fit/fit_texts.h"
#include "fit/uncertainty.h"
#include "gui/plot_widget.h"
#include "plot/plot_spec.h"

namespace tesmo::qt {

namespace {

const QColor kUndetermined(170, 0, 0);

QString str(const std::string& s) {
    return QString::fromStdString(s);
}

QString shortName(Control field) {
    return QLatin1String(controlName(field)).mid(4);  // without "txt_"
}

QTableWidget* resultTable(const char* name, const QString& accessible) {
    auto* t = new QTableWidget;
    t->setObjectName(QString::fromLatin1(name));
    t->setAccessibleName(accessible);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::ContiguousSelection);
    t->setWordWrap(false);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    t->horizontalHeader()->setHighlightSections(false);
    t->verticalHeader()->setHighlightSections(false);
    return t;
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}

// As tall as its header and rows, so that the table needs no scroll bar of its own.
void fitHeight(QTableWidget& t) {
    int height = 2 * t.frameWidth() + t.horizontalHeader()->sizeHint().height();
    for (int r = 0; r < t.rowCount(); ++r)
        height += t.rowHeight(r);
    t.setFixedHeight(height + 2);
}

PlotWidget* plot(const char* name, const QString& accessible) {
    auto* p = new PlotWidget;
    p->setObjectName(QString::fromLatin1(name));
    p->setAccessibleName(accessible);
    PlotWidget::Readout readout;
    readout.position = [p](double x, double y) { return axesPositionText(p->spec(), x, y); };
    readout.point = [p](int series, PlotPoint point) {
        const std::string text = axesPositionText(p->spec(), point.x, point.y);
        if (series < 0 || static_cast<std::size_t>(series) >= p->spec().series.size()) return text;
        return p->spec().series[static_cast<std::size_t>(series)].label + ": " + text;
    };
    p->setReadout(readout);
    return p;
}

}  // namespace

FitResultView::FitResultView(QWidget* parent) : QWidget(parent) {
    // The tables scroll up and down when the splitter leaves them less room than they need (a
    // small screen), instead of being squeezed over each other.
    auto* tables = new QScrollArea;
    tables->setWidget(buildTables());
    tables->setWidgetResizable(true);
    tables->setFrameShape(QFrame::NoFrame);
    tables->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(tables);
    split->addWidget(buildCharts());
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
    showMeasurements({}, {});
}

QWidget* FitResultView::buildTables() {
    auto* box = new QWidget;
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("zusammenfassung"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    parameters_ = resultTable("ergebnis", QStringLiteral("Angepasste Werte"));
    parameters_->setColumnCount(5);
    parameters_->setHorizontalHeaderLabels(
        {QStringLiteral("Eingabe"), QStringLiteral("Wert"), QStringLiteral("Standardabw."),
         QStringLiteral("95-%-Intervall"), QStringLiteral("durch die Messungen")});
    parameters_->verticalHeader()->hide();
    parameters_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 5; ++c)
        parameters_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);

    notes_ = new QLabel;
    notes_->setObjectName(QStringLiteral("hinweise"));
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = notes_->palette();
    palette.setColor(QPalette::WindowText, kUndetermined);
    notes_->setPalette(palette);

    apply_ = new QPushButton(QStringLiteral("In &Hauptfenster übernehmen"));
    apply_->setObjectName(QStringLiteral("inHauptfenster"));
    apply_->setToolTip(
        QStringLiteral("Die angepassten Werte kommen in die Eingabefelder des "
                       "Hauptfensters; die übrigen Felder bleiben, wie sie sind."));
    connect(apply_, &QPushButton::clicked, this, &FitResultView::applyRequested);

    correlation_ = resultTable("korrelation", QStringLiteral("Korrelationen"));
    correlation_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    residuals_ = resultTable("abweichungen", QStringLiteral("Abweichungen"));
    residuals_->setColumnCount(4);
    residuals_->setHorizontalHeaderLabels({QStringLiteral("Messreihe"), QStringLiteral("Messgröße"),
                                           QStringLiteral("Werte"),
                                           QStringLiteral("mittlere Abweichung")});
    residuals_->verticalHeader()->hide();
    residuals_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    residuals_->horizontalHeader()->setStretchLastSection(true);
    noise_ = new QLabel;
    noise_->setObjectName(QStringLiteral("messrauschen"));
    noise_->setWordWrap(true);

    auto* corrBox = new QGroupBox(QStringLiteral("Korrelationen"));
    auto* corrLayout = new QVBoxLayout(corrBox);
    corrLayout->addWidget(correlation_);
    corrLayout->addStretch(1);
    auto* resBox = new QGroupBox(
        QStringLiteral("Abweichungen (quadratisches Mittel von gerechnet − gemessen)"));
    auto* resLayout = new QVBoxLayout(resBox);
    resLayout->addWidget(residuals_);
    resLayout->addWidget(noise_);
    resLayout->addStretch(1);
    sideTables_ = new QBoxLayout(QBoxLayout::LeftToRight);
    sideTables_->addWidget(corrBox, 2);
    sideTables_->addWidget(resBox, 3);

    auto* applyRow = new QHBoxLayout;
    applyRow->addWidget(notes_, 1);
    applyRow->addWidget(apply_, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary_);
    layout->addWidget(parameters_);
    layout->addLayout(applyRow);
    layout->addLayout(sideTables_);
    return box;
}

QWidget* FitResultView::buildCharts() {
    auto* box = new QWidget;
    chart_ = new QComboBox;
    chart_->setObjectName(QStringLiteral("diagrammWahl"));
    auto* label = new QLabel(QStringLiteral("&Diagramm:"));
    label->setBuddy(chart_);
    auto* choice = new QHBoxLayout;
    choice->addWidget(label);
    choice->addWidget(chart_, 1);
    comparison_ = plot("vergleich", QStringLiteral("Gemessen und gerechnet"));
    residualPlot_ = plot("abweichungsdiagramm", QStringLiteral("Abweichungen über der Zeit"));
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(comparison_);
    split->addWidget(residualPlot_);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(split, 1);
    connect(chart_, &QComboBox::currentIndexChanged, this, &FitResultView::redraw);
    return box;
}

void FitResultView::showResult(const FitSetup& setup, const FitResult& result,
                               const std::vector<SeriesCurve>& curves, const QString& summary) {
    setup_ = setup;
    result_ = result;
    curves_ = curves.size() == setup.series.size() ? curves : std::vector<SeriesCurve>{};
    hasResult_ = true;
    summary_->setText(summary);
    fillTables();
    fillChartChoice();
}

void FitResultView::showMeasurements(const FitSetup& setup, const QString& summary) {
    setup_ = setup;
    result_ = FitResult{};
    curves_.clear();
    hasResult_ = false;
    summary_->setText(summary);
    fillTables();
    fillChartChoice();
}

void FitResultView::setSummary(const QString& summary) {
    summary_->setText(summary);
}

void FitResultView::setApplyEnabled(bool enabled) {
    apply_->setEnabled(enabled && hasResult_);
}

void FitResultView::fillTables() {
    const FitResult& r = result_;
    const auto m = static_cast<int>(r.parameters.size());
    parameters_->setRowCount(m);
    QStringList notes;
    for (int i = 0; i < m; ++i) {
        const ParameterEstimate& p = r.parameters[static_cast<std::size_t>(i)];
        const QString texts[] = {str(inputLabel(p.field)), str(estimateText(p)), str(errorText(p)),
                                 str(intervalText(p)), str(determinedText(p))};
        for (int c = 0; c < 5; ++c) {
            QTableWidgetItem* item = cell(texts[c], c == 0 ? Qt::AlignLeft : Qt::AlignRight);
            if (!p.determined) {
                item->setForeground(kUndetermined);
                item->setToolTip(str(p.note));
                if (c == 4) {
                    QFont bold = item->font();
                    bold.setBold(true);
                    item->setFont(bold);
                }
            } else if (c == 0) {
                item->setToolTip(QString::fromLatin1(controlName(p.field)));
            }
            parameters_->setItem(i, c, item);
        }
        if (!p.note.empty()) notes << str(p.note);
    }
    fitHeight(*parameters_);
    notes_->setText(notes.join(QStringLiteral("\n\n")));
    notes_->setVisible(!notes.isEmpty());
    apply_->setEnabled(hasResult_ && m > 0);

    correlation_->setRowCount(m);
    correlation_->setColumnCount(m);
    QStringList names;
    for (const ParameterEstimate& p : r.parameters)
        names << shortName(p.field);
    correlation_->setHorizontalHeaderLabels(names);
    correlation_->setVerticalHeaderLabels(names);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) {
            const double c =
                r.correlationOf(static_cast<std::size_t>(i), static_cast<std::size_t>(j));
            QTableWidgetItem* item = cell(str(correlationText(c)), Qt::AlignRight);
            if (i != j && std::fabs(c) > kMaxCorrelation) item->setForeground(kUndetermined);
            correlation_->setItem(i, j, item);
        }
    fitHeight(*correlation_);

    residuals_->setRowCount(static_cast<int>(r.residuals.size()));
    std::array<bool, kMessgroessenCount> measured{};
    for (int i = 0; i < residuals_->rowCount(); ++i) {
        const ResidualSummary& s = r.residuals[static_cast<std::size_t>(i)];
        const MessgroesseSpec& q = messgroesseSpec(s.groesse);
        residuals_->setItem(i, 0, cell(str(setup_.series[s.series].name)));
        residuals_->setItem(i, 1,
                            cell(QString::fromUtf8(q.bezeichnung.data(), q.bezeichnung.size())));
        residuals_->setItem(i, 2, cell(QString::number(s.count), Qt::AlignRight));
        residuals_->setItem(i, 3, cell(str(rmsText(s.rms, s.groesse)), Qt::AlignRight));
        measured[slot(s.groesse)] = true;
    }
    fitHeight(*residuals_);
    QStringList noise;
    for (const MessgroesseSpec& q : kMessgroessen)
        if (measured[slot(q.groesse)] && std::isfinite(r.sigma[slot(q.groesse)]))
            noise << QString::fromUtf8(q.bezeichnung.data(), q.bezeichnung.size()) +
                         QStringLiteral(" ") + str(sigmaText(r, q.groesse));
    noise_->setText(noise.isEmpty() ? QString()
                                    : QStringLiteral("Gewichtet mit dem Messrauschen: ") +
                                          noise.join(QStringLiteral("; ")));
    noise_->setVisible(!noise.isEmpty());
    arrangeSideTables();
}

void FitResultView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrangeSideTables();
}

// The correlations stand beside the residuals where both fit whole, else above them: a table
// squeezed narrower than its columns would hide numbers behind a scroll bar of its own.
void FitResultView::arrangeSideTables() {
    const auto contentWidth = [](const QTableWidget& t) {
        int w = 2 * t.frameWidth() +
                (t.verticalHeader()->isVisible() ? t.verticalHeader()->width() : 0);
        for (int c = 0; c < t.columnCount(); ++c)
            w += std::max(static_cast<const QAbstractItemView&>(t).sizeHintForColumn(c),
                          t.horizontalHeader()->sectionSizeHint(c));
        return w;
    };
    // The group boxes' frames and the layouts' spacing around the two tables.
    constexpr int kFrames = 60;
    const int correlations = contentWidth(*correlation_), residuals = contentWidth(*residuals_);
    const bool beside = width() >= correlations + residuals + kFrames;
    sideTables_->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    // Beside each other, the correlations whole and the residuals the rest.
    correlation_->setMinimumWidth(beside ? correlations : 0);
    sideTables_->setStretch(0, 0);
    sideTables_->setStretch(1, beside ? 1 : 0);
}

void FitResultView::fillChartChoice() {
    const int before = chart_->currentIndex();
    const Messgroesse shown = before >= 0 && before < static_cast<int>(quantities_.size())
                                  ? quantities_[static_cast<std::size_t>(before)]
                                  : Messgroesse::X;
    quantities_ = tesmo::chartQuantities(setup_);
    chart_->blockSignals(true);
    chart_->clear();
    int index = 0;
    for (std::size_t i = 0; i < quantities_.size(); ++i) {
        chart_->addItem(str(chartName(quantities_[i])));
        if (quantities_[i] == shown) index = static_cast<int>(i);
    }
    chart_->setCurrentIndex(quantities_.empty() ? -1 : index);
    chart_->blockSignals(false);
    redraw();
}

void FitResultView::setChart(Messgroesse g) {
    for (std::size_t i = 0; i < quantities_.size(); ++i)
        if (quantities_[i] == g) chart_->setCurrentIndex(static_cast<int>(i));
}

PlotSpec FitResultView::comparisonSpec(Messgroesse g) const {
    return tesmo::comparisonChart(setup_, curves_, g);
}

PlotSpec FitResultView::residualSpec(Messgroesse g) const {
    PlotSpec spec = tesmo::residualChart(setup_, result_, g);
    if (!hasResult_) spec.note = "Die Abweichungen folgen, sobald die Anpassung gerechnet hat.";
    return spec;
}

void FitResultView::redraw() {
    const int i = chart_->currentIndex();
    if (i < 0 || i >= static_cast<int>(quantities_.size())) {
        PlotSpec empty;
        empty.title = "Noch keine Messreihe";
        empty.xTitle = "Zeit in h";
        comparison_->setSpec(empty);
        residualPlot_->setSpec(PlotSpec{});
        return;
    }
    const Messgroesse g = quantities_[static_cast<std::size_t>(i)];
    comparison_->setSpec(comparisonSpec(g));
    residualPlot_->setSpec(residualSpec(g));
}

}  // namespace tesmo::qt
