// The left column of the study window's kind "Unsicherheit": the base case, the uncertain
// inputs with their distributions and parameters, the fit whose inputs scatter with its
// covariance, the sample (number of cases, design, seed, how the indices are estimated), the
// results analysed and their limits, and below it the number of cases or why the study cannot
// run. Every change is checked at once by the rules of a study file.
#pragma once

#include <array>
#include <vector>

#include <QWidget>

#include "uq/uncertainty_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tesmo::qt {

class BaseCaseBox;

class UncertaintySetupPanel : public QWidget {
    Q_OBJECT
  public:
    explicit UncertaintySetupPanel(QWidget* parent = nullptr);

    UncertaintyForm form() const;
    void setForm(const UncertaintyForm& form);
    void setBase(const InputTexts& base);
    // Reads the fit file and shows its inputs, or why it cannot serve; an empty path: none.
    void setFitFile(const QString& path);
    // The check of the form as it stands (also shown in the panel).
    const UncertaintyFormCheck& check() const { return check_; }

    // Rows of the uncertain inputs and of the limits (tests fill them as a user does).
    void addInput();
    void addLimit();
    QTableWidget& inputTable() const { return *inputs_; }
    QTableWidget& limitTable() const { return *limits_; }

  signals:
    // The form changed; check() is up to date.
    void changed();
    // "Aus Hauptfenster übernehmen" was pressed.
    void baseRequested();
    // "Anpassung wählen…" was pressed: the window asks for a file (setFitFile).
    void fitRequested();

  private:
    struct InputRow {
        QComboBox* field = nullptr;
        QComboBox* kind = nullptr;
        std::array<QLineEdit*, 3> parameters{};
        std::array<QLabel*, 2> separators{};
    };
    struct LimitRow {
        QComboBox* result = nullptr;
        QComboBox* side = nullptr;
        QLineEdit* value = nullptr;
    };
    QWidget* buildInputs();
    QWidget* buildFit();
    QWidget* buildSample();
    QWidget* buildAnalysis();
    void addInputRow(const UncertainEntry& entry);
    void addLimitRow(const LimitEntry& entry);
    void removeSelected(QTableWidget* table);
    void showKind(const InputRow& row);
    void showFit();
    void recheck();

    BaseCaseBox* baseBox_ = nullptr;
    QTableWidget* inputs_ = nullptr;
    std::vector<InputRow> inputRows_;
    QLabel* inputError_ = nullptr;
    QLabel* fitName_ = nullptr;
    QPushButton* dropFit_ = nullptr;
    std::optional<FitChoice> fit_;
    QSpinBox* samples_ = nullptr;
    QComboBox* design_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QComboBox* indices_ = nullptr;
    QListWidget* results_ = nullptr;
    QTableWidget* limits_ = nullptr;
    std::vector<LimitRow> limitRows_;
    QLabel* count_ = nullptr;
    bool filling_ = false;  // while setForm fills the widgets: one check at its end
    UncertaintyFormCheck check_;
};

}  // namespace tesmo::qt
