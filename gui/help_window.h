// The manual in its own window, and the fields' help texts as tooltips.
//
// The manual (docs/handbuch.md) is compiled into the program as a Qt resource, so the window
// works without any installed file. Beside the text stands a tree of its headings, wide enough
// for every one; Ctrl+F searches the text; Esc or Ctrl+W closes the window.
#pragma once

#include <QString>
#include <QWidget>

#include "model/controls.h"

class QLabel;
class QLineEdit;
class QTextBlock;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace tesmo::qt {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }
    QTreeWidget* contents() const { return contents_; }
    QLineEdit* searchField() const { return search_; }
    QLabel* searchNote() const { return note_; }

    // Selects the next (or previous) occurrence of the search field's text after (before) the
    // current one, ignoring case and continuing at the other end; says "nicht gefunden" when
    // the text does not occur. False when nothing was found.
    bool findNext(bool backwards = false);
    // Scrolls the heading whose anchor (as the manual's own links write it) is `anchor` to the
    // top of the text. False when no heading has that anchor.
    bool showHeading(const QString& anchor);
    // Scrolls to where the manual explains an input or result field (the paragraph that names
    // it by caption and control name, else the table row that names it) and marks the
    // caption. False when the manual does not name the field.
    bool showField(Control field);

    // The anchor of a heading as Markdown renderers derive it: lower case, punctuation dropped,
    // blanks as hyphens ("3. Die Eingaben" becomes "3-die-eingaben").
    static QString anchorOf(const QString& heading);

  private:
    void loadManual();
    void buildContents();
    int contentsWidth() const;
    void scrollToBlock(const QTextBlock& block);
    void followLink(const QUrl& url);

    QTextBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLabel* note_ = nullptr;
};

// Opens the manual: one window for the whole program, raised when it is open already.
HelpWindow* showManual(QWidget* parent);

// The tooltip of a field, its label or a warning label: the help text as rich text, so that
// the tooltip wraps; empty for a control without a help text.
QString fieldToolTip(Control c);

}  // namespace tesmo::qt
