// The left column of the study window: the base case (the seventeen texts, read-only, with a
// button that takes them from the main window again), the one or two varied inputs, and the
// number of cases or why the study cannot run. Every change is checked at once.
#pragma once

#include <array>

#include <QWidget>

#include "study/study_form.h"

class QLabel;

namespace tesmo::qt {

class BaseCaseBox;
class VaryEditor;

class StudySetupPanel : public QWidget {
    Q_OBJECT
  public:
    explicit StudySetupPanel(QWidget* parent = nullptr);

    StudyForm form() const;
    void setForm(const StudyForm& form);
    void setBase(const InputTexts& base);
    // The check of the form as it stands (also shown in the panel).
    const FormCheck& check() const { return check_; }

  signals:
    // The form changed; check() is up to date.
    void changed();
    // "Aus Hauptfenster übernehmen" was pressed.
    void baseRequested();

  private:
    void recheck();

    BaseCaseBox* baseBox_ = nullptr;
    std::array<VaryEditor*, kFormVariations> editors_{};
    QLabel* count_ = nullptr;
    FormCheck check_;
};

}  // namespace tesmo::qt
