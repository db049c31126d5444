// Parts of the windows that compute in the background (the studies and the fit): the form in a
// scrolling column beside the results, Berechnen and Abbrechen with the progress below, the table
// of a study's cases, and window-modal messages and questions.
#pragma once

#include <functional>

#include <QString>

class QAbstractItemModel;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QWidget;

namespace tesmo::qt {

// `form` in a column that scrolls vertically (at least `formWidth` wide) left of `results`,
// which takes the room the window gains.
QWidget* formBesideResults(QWidget* form, QWidget* results, int formWidth);

// Berechnen and Abbrechen in a row, below them a progress bar counting cases (hidden until a
// study starts) and a status line. Object names "berechnen", "abbrechen", "fortschritt" and
// "status", after `namePrefix` where there is one ("uq": "uqBerechnen", …).
struct RunBox {
    QWidget* box;
    QPushButton* start;
    QPushButton* cancel;
    QProgressBar* progress;
    QLabel* status;
};
RunBox makeRunBox(const QString& startText, const QString& cancelText,
                  const QString& namePrefix = {});

// The bold line under a study's form that counts its cases or says why it cannot run; two lines
// high at least, so that Berechnen below stays put as the text changes.
QLabel* caseCountLabel(QWidget* parent, const QString& objectName);

// A read-only table of a study's cases: whole rows selected, sortable, sorted by the first
// column, rows as high as one line of text.
QTableView* caseTableView(QAbstractItemModel* model, const QString& objectName);

// Message and question boxes of a window, window-modal and opened without an event loop of
// their own: a run of the main window, which processes the events, goes on while they are open.
// Tests replace the boxes by hooks.
class WindowDialogs {
  public:
    WindowDialogs(QWidget* parent, QString title) : parent_(parent), title_(std::move(title)) {}

    void setMessageHook(std::function<void(const QString&)> hook) { messageHook_ = std::move(hook); }
    void setQuestionHook(std::function<bool(const QString&)> hook) {
        questionHook_ = std::move(hook);
    }

    void message(const QString& text);
    // Asks `question`; `yes` runs if the answer is Ja. Returns whether `yes` has run already
    // (only with a hook: a box answers later).
    bool ask(const QString& question, const std::function<void()>& yes);

  private:
    QWidget* parent_;
    QString title_;
    std::function<void(const QString&)> messageHook_;
    std::function<bool(const QString&)> questionHook_;
};

}  // namespace tesmo::qt
