// The base case of a study: the seventeen texts the cases start from, read-only in a list of
// captions and texts tall enough for all of them, and a button that takes them from the main
// window again.
#pragma once

#include <QGroupBox>

#include "model/inputs.h"

class QPushButton;
class QTableWidget;

namespace tesmo::qt {

class BaseCaseBox : public QGroupBox {
    Q_OBJECT
  public:
    // `names`: the object names of the list and the button (a window with two kinds of study
    // keeps them apart).
    BaseCaseBox(const QString& listName, const QString& buttonName, QWidget* parent = nullptr);

    const InputTexts& base() const { return base_; }
    void setBase(const InputTexts& base);

  signals:
    // "Aus Hauptfenster übernehmen" was pressed.
    void baseRequested();

  private:
    InputTexts base_;
    QTableWidget* list_ = nullptr;
};

}  // namespace tesmo::qt
