// The left column of the fit window: the measured series (a measurement file, the case it was
// measured under, its climate and the sample's dry mass), the inputs to fit with start value and
// bounds, and the number of starting points. Every change is checked at once; the check's
// sentence stands below, and Berechnen follows it.
#pragma once

#include <functional>

#include <QWidget>

#include "fit/fit_form.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tesmo::qt {

class FitSetupPanel : public QWidget {
    Q_OBJECT
  public:
    explicit FitSetupPanel(QWidget* parent = nullptr);

    const FitForm& form() const { return form_; }
    void setForm(const FitForm& form);
    // The check of the form as it stands (also shown in the panel).
    const FitFormCheck& check() const { return check_; }

    // Where a new input's start value comes from when no series has a case yet: the main
    // window's fields.
    void setMainTexts(std::function<InputTexts()> mainTexts);

    void addSeries(SeriesForm series);
    void removeSeries(int row);
    // The case of series `row`: texts read from `casePath`, or the main window's (path empty).
    void setSeriesCase(int row, const InputTexts& texts, const std::string& casePath);
    void setSeriesKlima(int row, Klima klima);
    void setDryMass(int row, const QString& text);
    // The series row selected (the first when several are), -1 for none.
    int selectedSeries() const;

    // Fits `field` too, starting at its value in the first series' case (or the main window).
    void addParameter(Control field);
    void removeParameter(int row);
    // Start, lower and upper bound of parameter `row`, as typed.
    void setParameterTexts(int row, const QString& start, const QString& lower,
                           const QString& upper);
    void setStarts(int starts);

    QTableWidget& seriesTable() const { return *series_; }
    QTableWidget& parameterTable() const { return *parameters_; }

  signals:
    // The form changed; check() is up to date.
    void changed();
    // The buttons that need the window: a file dialog, or the main window's fields.
    void addSeriesRequested();
    void caseFileRequested(int row);
    void caseFromMainRequested(int row);

  private:
    QWidget* buildSeriesBox();
    QWidget* buildParameterBox();
    void fillSeries();
    void fillParameters();
    void takeSeriesEdit(int row, int column);
    void takeParameterEdit(int row, int column);
    void recheck();
    void updateButtons();

    FitForm form_;
    FitFormCheck check_;
    std::function<InputTexts()> mainTexts_;
    bool filling_ = false;  // the tables are being filled: their signals are not edits
    QTableWidget* series_ = nullptr;
    QTableWidget* parameters_ = nullptr;
    QPushButton* removeSeries_ = nullptr;
    QPushButton* caseFile_ = nullptr;
    QPushButton* caseMain_ = nullptr;
    QComboBox* newParameter_ = nullptr;
    QPushButton* removeParameter_ = nullptr;
    QSpinBox* starts_ = nullptr;
    QLabel* checkText_ = nullptr;
};

}  // namespace tesmo::qt
