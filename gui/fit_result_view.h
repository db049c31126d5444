// The right side of the fit window: the fitted inputs with value, standard error, 95 % interval
// and the mark of those the measurements do not determine (the sentence why as text below the
// table and as the row's tooltip), the correlations, the residuals per series and quantity, and
// for the chosen quantity the measured points against the computed curves with the residuals
// over time below. Before a fit it shows the measured points alone.
#pragma once

#include <vector>

#include <QWidget>

#include "fit/fit.h"
#include "fit/fitted_runs.h"
#include "plot/plot_spec.h"

class QBoxLayout;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tesmo::qt {

class PlotWidget;

class FitResultView : public QWidget {
    Q_OBJECT
  public:
    explicit FitResultView(QWidget* parent = nullptr);

    // Shows `result` of `setup`; its curves when `curves` has one per series (else the measured
    // points alone). `summary` stands above the tables.
    void showResult(const FitSetup& setup, const FitResult& result,
                    const std::vector<SeriesCurve>& curves, const QString& summary);
    // No result: empty tables, the measured points of `setup`.
    void showMeasurements(const FitSetup& setup, const QString& summary);
    void setSummary(const QString& summary);
    bool hasResult() const { return hasResult_; }
    // "In Hauptfenster übernehmen" is offered.
    void setApplyEnabled(bool enabled);

    // The quantities the charts can show, and the one shown.
    const std::vector<Messgroesse>& chartQuantities() const { return quantities_; }
    void setChart(Messgroesse g);
    // The two charts of a quantity as the window shows them.
    PlotSpec comparisonSpec(Messgroesse g) const;
    PlotSpec residualSpec(Messgroesse g) const;

    QTableWidget& parameterTable() const { return *parameters_; }
    QTableWidget& correlationTable() const { return *correlation_; }
    QTableWidget& residualTable() const { return *residuals_; }
    QLabel& notes() const { return *notes_; }
    PlotWidget& comparisonChart() const { return *comparison_; }
    PlotWidget& residualChart() const { return *residualPlot_; }

  signals:
    void applyRequested();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* buildTables();
    void arrangeSideTables();
    QWidget* buildCharts();
    void fillTables();
    void fillChartChoice();
    void redraw();

    FitSetup setup_;
    FitResult result_;
    std::vector<SeriesCurve> curves_;
    bool hasResult_ = false;
    std::vector<Messgroesse> quantities_;
    QLabel* summary_ = nullptr;
    QTableWidget* parameters_ = nullptr;
    QLabel* notes_ = nullptr;
    QPushButton* apply_ = nullptr;
    QTableWidget* correlation_ = nullptr;
    QTableWidget* residuals_ = nullptr;
    QLabel* noise_ = nullptr;
    QBoxLayout* sideTables_ = nullptr;  // the correlations beside or above the residuals
    QComboBox* chart_ = nullptr;
    PlotWidget* comparison_ = nullptr;
    PlotWidget* residualPlot_ = nullptr;
};

}  // namespace tesmo::qt
