// One varied input of the study window: the input field (by its label's caption), and its values
// as a range VON / BIS / SCHRITT or as a list "A;B;C", with the check's message below.
#pragma once

#include <array>

#include <QGroupBox>

#include "study/study_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tesmo::qt {

class VaryEditor : public QGroupBox {
    Q_OBJECT
  public:
    // `optional`: the field list begins with "(keine)", for an input that need not be varied.
    VaryEditor(const QString& title, bool optional, QWidget* parent = nullptr);

    VaryEntry entry() const;
    void setEntry(const VaryEntry& entry);
    // The check's German message for this entry; empty: none.
    void setError(const std::string& message);

  signals:
    void changed();

  private:
    void updateEnabled();

    bool optional_;
    QComboBox* field_ = nullptr;
    QRadioButton* range_ = nullptr;
    QRadioButton* list_ = nullptr;
    std::array<QLineEdit*, 3> bounds_{};  // von, bis, Schritt
    QLineEdit* values_ = nullptr;
    QLabel* error_ = nullptr;
};

}  // namespace tesmo::qt
