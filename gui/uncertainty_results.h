// The right side of the study window's kind "Unsicherheit": the drawn cases as they arrive
// (the study table, as in a parameter study), and once they are analysed the statistics and
// the probabilities beyond the limits as tables, a result's histogram with its quantiles, and
// its Sobol' indices as bars with their intervals. One choice of result serves both charts.
#pragma once

#include <optional>

#include <QWidget>

#include "plot/plot_spec.h"
#include "uq/analysis.h"

class QComboBox;
class QLabel;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace tesmo::qt {

class PlotWidget;
class StudySortModel;
class StudyTableModel;

class UncertaintyResults : public QWidget {
    Q_OBJECT
  public:
    enum class Tab { Cases, Statistics, Histogram, Indices };

    explicit UncertaintyResults(QWidget* parent = nullptr);

    // A new study: its cases' table empty, no analysis.
    void reset(const CaseList& cases);
    void append(std::vector<CaseOutcome> outcomes);
    // The analysis of the whole study, shown in the tables and charts; a study without one
    // (cancelled, or the analysis failed) shows `why` in their place.
    void showAnalysis(const UncertaintyPlan& plan, const UncertaintyAnalysis& analysis);
    void showNoAnalysis(const QString& why);

    StudyTableModel& table() const { return *model_; }
    QTableView& tableView() const { return *view_; }
    const std::optional<UncertaintyAnalysis>& analysis() const { return analysis_; }
    // The analysed result the charts show (index into the analysis' results).
    void setChartResult(std::size_t result);
    std::size_t chartResult() const;
    PlotWidget& histogram() const { return *histogram_; }
    PlotWidget& indices() const { return *indexChart_; }
    // The chart of the tab shown (the histogram unless the indices are shown).
    const PlotSpec& shownChart() const;
    void showTab(Tab tab);

  private:
    QWidget* buildStatistics();
    QWidget* buildIndices();
    void redrawCharts();
    void fitColumns();

    QTabWidget* tabs_ = nullptr;
    StudyTableModel* model_ = nullptr;
    StudySortModel* sorted_ = nullptr;
    QTableView* view_ = nullptr;
    QLabel* casesNote_ = nullptr;
    QTableWidget* statistics_ = nullptr;
    QTableWidget* limits_ = nullptr;
    QComboBox* result_ = nullptr;
    PlotWidget* histogram_ = nullptr;
    PlotWidget* indexChart_ = nullptr;
    QTableWidget* indexTable_ = nullptr;
    std::optional<UncertaintyAnalysis> analysis_;
};

}  // namespace tesmo::qt
