#include "gui/uncertainty_results.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/plot_widget.h"
#include "gui/study_table_model.h"
#include "gui/work_window_parts.h"
#include "uq/result_texts.h"
#include "uq/uncertainty_charts.h"

namespace tesmo::qt {

namespace {

QTableWidget* textTable(const char* name, QWidget* parent) {
    auto* t = new QTableWidget(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->setAlternatingRowColors(true);
    t->setWordWrap(false);
    t->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    return t;
}

// The table's texts; every column but the first holds numbers and is aligned to the right.
// The table is as tall as its rows, so that the tab shows them all without a scroll bar.
void fill(QTableWidget* t, const TextTable& text) {
    t->clear();
    t->setColumnCount(static_cast<int>(text.header.size()));
    t->setRowCount(static_cast<int>(text.rows.size()));
    QStringList header;
    for (const std::string& h : text.header)
        header << QString::fromStdString(h);
    t->setHorizontalHeaderLabels(header);
    for (std::size_t r = 0; r < text.rows.size(); ++r)
        for (std::size_t c = 0; c < text.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(text.rows[r][c]));
            item->setTextAlignment(Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight));
            t->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    t->resizeColumnsToContents();
    int height = t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth();
    for (int r = 0; r < t->rowCount(); ++r)
        height += t->rowHeight(r);
    const int bar = t->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    t->setFixedHeight(height + bar);
}

}  // namespace

UncertaintyResults::UncertaintyResults(QWidget* parent) : QWidget(parent) {
    model_ = new StudyTableModel(this);
    sorted_ = new StudySortModel(this);
    sorted_->setSourceModel(model_);
    view_ = caseTableView(sorted_, QStringLiteral("uqFaelleTabelle"));

    histogram_ = new PlotWidget;
    histogram_->setObjectName(QStringLiteral("histogramm"));
    histogram_->setAccessibleName(QStringLiteral("Histogramm"));

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("uqErgebnisse"));
    tabs_->addTab(view_, QStringLiteral("Fälle"));
    tabs_->addTab(buildStatistics(), QStringLiteral("Kennwerte"));
    tabs_->addTab(histogram_, QStringLiteral("Histogramm"));
    tabs_->addTab(buildIndices(), QStringLiteral("Sobol'-Indizes"));

    result_ = new QComboBox;
    result_->setObjectName(QStringLiteral("uqErgebnis"));
    auto* label = new QLabel(QStringLiteral("&Ergebnis der Diagramme:"));
    label->setBuddy(result_);
    auto* choice = new QHBoxLayout;
    choice->addWidget(label);
    choice->addWidget(result_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(tabs_, 1);
    connect(result_, &QComboBox::currentIndexChanged, this, &UncertaintyResults::redrawCharts);
    showNoAnalysis(QStringLiteral("Noch keine Auswertung: erst Berechnen."));
}

QWidget* UncertaintyResults::buildStatistics() {
    auto* page = new QWidget;
    casesNote_ = new QLabel(page);
    casesNote_->setObjectName(QStringLiteral("uqFertig"));
    casesNote_->setWordWrap(true);
    casesNote_->setTextFormat(Qt::PlainText);
    statistics_ = textTable("kennwerte", page);
    statistics_->setAccessibleName(QStringLiteral("Kennwerte der Ergebnisse"));
    limits_ = textTable("grenzwahrscheinlichkeiten", page);
    limits_->setAccessibleName(QStringLiteral("Wahrscheinlichkeit jenseits einer Grenze"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(casesNote_);
    layout->addWidget(new QLabel(
        QStringLiteral("Kennwerte in den Einheiten der Ergebnistabelle, in eckigen Klammern das "
                       "95-%-Vertrauensintervall (Bootstrap):")));
    layout->addWidget(statistics_);
    layout->addWidget(new QLabel(QStringLiteral(
        "Wahrscheinlichkeit jenseits einer Grenze, mit dem 95-%-Intervall nach Wilson:")));
    layout->addWidget(limits_);
    layout->addStretch(1);
    return page;
}

QWidget* UncertaintyResults::buildIndices() {
    indexChart_ = new PlotWidget;
    indexChart_->setObjectName(QStringLiteral("sobolIndizes"));
    indexChart_->setAccessibleName(QStringLiteral("Sobol'-Indizes"));
    indexTable_ = textTable("indextabelle", this);
    indexTable_->setAccessibleName(QStringLiteral("Sobol'-Indizes mit Intervallen"));
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(indexChart_, 1);
    layout->addWidget(indexTable_);
    return page;
}

void UncertaintyResults::reset(const CaseList& cases) {
    view_->sortByColumn(0, Qt::AscendingOrder);
    model_->reset(cases, true);
    showNoAnalysis(QStringLiteral("Die Auswertung folgt, wenn alle Fälle gerechnet sind."));
}

void UncertaintyResults::append(std::vector<CaseOutcome> outcomes) {
    const bool first = model_->rowCount() == 0 && !outcomes.empty();
    model_->append(std::move(outcomes));
    if (first) fitColumns();
}

void UncertaintyResults::fitColumns() {
    view_->resizeColumnsToContents();
    const int mark = view_->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, view_);
    for (int c = 0; c < model_->columnCount(); ++c)
        view_->setColumnWidth(c, view_->columnWidth(c) + mark);
}

void UncertaintyResults::showAnalysis(const UncertaintyPlan& plan,
                                      const UncertaintyAnalysis& analysis) {
    analysis_ = analysis;
    fitColumns();
    casesNote_->setText(QString::fromStdString(casesNote(analysis)));
    fill(statistics_, statisticsTable(analysis));
    fill(limits_, limitsTable(analysis));
    limits_->setVisible(!analysis.limits.empty());
    const QSignalBlocker block(result_);
    result_->clear();
    for (std::size_t c : plan.results)
        result_->addItem(QString::fromStdString(tableCaption(c)));
    result_->setEnabled(true);
    result_->setCurrentIndex(0);
    redrawCharts();
}

void UncertaintyResults::showNoAnalysis(const QString& why) {
    analysis_.reset();
    casesNote_->setText(why);
    fill(statistics_, {});
    fill(limits_, {});
    fill(indexTable_, {});
    const QSignalBlocker block(result_);
    result_->clear();
    result_->setEnabled(false);
    PlotSpec empty;
    empty.note = why.toStdString();
    histogram_->setSpec(empty);
    indexChart_->setSpec(empty);
}

void UncertaintyResults::setChartResult(std::size_t result) {
    result_->setCurrentIndex(static_cast<int>(result));
}

std::size_t UncertaintyResults::chartResult() const {
    return static_cast<std::size_t>(std::max(0, result_->currentIndex()));
}

void UncertaintyResults::redrawCharts() {
    if (!analysis_) return;
    histogram_->setSpec(histogramChart(*analysis_, chartResult()));
    indexChart_->setSpec(sobolChart(*analysis_, chartResult()));
    fill(indexTable_, indicesTable(*analysis_, chartResult()));
}

const PlotSpec& UncertaintyResults::shownChart() const {
    return tabs_->currentIndex() == static_cast<int>(Tab::Indices) ? indexChart_->spec()
                                                                   : histogram_->spec();
}

void UncertaintyResults::showTab(Tab tab) {
    tabs_->setCurrentIndex(static_cast<int>(tab));
}

}  // namespace tesmo::qt
