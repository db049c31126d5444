// The manual's window (contents, links, search) and the fields' tooltips.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "display/control_table.h"
#include "display/field_help.h"
#include "gui/help_window.h"
#include "model/inputs.h"
#include "tests/gui/qt_support.h"

namespace tesmo::test {
namespace {

QString manualText() {
    QFile file(QStringLiteral(":/tesmo/handbuch.md"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The "## " headings of the manual outside code blocks, without Markdown emphasis.
QStringList sectionHeadings(const QString& markdown) {
    QStringList headings;
    bool code = false;
    for (const QString& line : markdown.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("```"))) code = !code;
        if (!code && line.startsWith(QLatin1String("## ")))
            headings << line.mid(3).remove(QLatin1Char('`')).remove(QLatin1Char('*')).trimmed();
    }
    return headings;
}

class ManualWindow : public ::testing::Test, public WindowFixture {
  protected:
    qt::HelpWindow* open() {
        qt::showManual(w.get());
        auto* help = w->findChild<qt::HelpWindow*>();
        if (help) (void)QTest::qWaitForWindowExposed(help);
        return help;
    }
    static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QTest::keyClick(target, key, mod);
    }
};

TEST_F(ManualWindow, OpensOnceWithTheManualAndItsSections) {
    qt::HelpWindow* help = open();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->windowTitle().contains(QStringLiteral("Handbuch")));
    qt::showManual(w.get());  // a second call raises the same window
    EXPECT_EQ(w->findChildren<qt::HelpWindow*>().size(), 1);

    const QString markdown = manualText();
    ASSERT_FALSE(markdown.isEmpty()) << "the manual is not among the program's resources";
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("Kühlgrenztemperatur")));
    const QStringList sections = sectionHeadings(markdown);
    ASSERT_GE(sections.size(), 5);
    QStringList tree;
    for (int i = 0; i < help->contents()->topLevelItemCount(); ++i)
        tree << help->contents()->topLevelItem(i)->text(0);
    EXPECT_EQ(tree, sections);
}

TEST_F(ManualWindow, ContentsAndLinksScrollToTheirHeading) {
    qt::HelpWindow* help = open();
    ASSERT_NE(help, nullptr);
    QTextBrowser* browser = help->browser();
    QTreeWidget* tree = help->contents();
    ASSERT_GE(tree->topLevelItemCount(), 3);
    // A section in the middle, so that the text can scroll it to the top.
    QTreeWidgetItem* item = tree->topLevelItem(tree->topLevelItemCount() / 2);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    const QTextBlock heading = browser->textCursor().block();
    EXPECT_EQ(heading.text(), item->text(0));
    const int top =
        static_cast<int>(browser->document()->documentLayout()->blockBoundingRect(heading).top());
    EXPECT_EQ(browser->verticalScrollBar()->value(), top);

    // Every link of the manual to one of its own headings leads somewhere.
    const QRegularExpression link(QStringLiteral("\\]\\(#([^)]+)\\)"));
    int links = 0;
    for (const QRegularExpressionMatch& m : link.globalMatch(manualText())) {
        EXPECT_TRUE(help->showHeading(m.captured(1))) << m.captured(1).toStdString();
        ++links;
    }
    EXPECT_GE(links, tree->topLevelItemCount());
    EXPECT_FALSE(help->showHeading(QStringLiteral("kein-solcher-abschnitt")));
    EXPECT_EQ(qt::HelpWindow::anchorOf(QStringLiteral("3. Die Eingaben – Überblick")),
              QStringLiteral("3-die-eingaben--überblick"));
}

TEST_F(ManualWindow, SearchFindsWrapsAndReportsMissingText) {
    qt::HelpWindow* help = open();
    ASSERT_NE(help, nullptr);
    help->activateWindow();
    (void)QTest::qWaitForWindowActive(help);
    QTextBrowser* browser = help->browser();

    press(help, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(help->searchField()->hasFocus());
    // Typing finds the first occurrence, whatever its case; Enter and F3 go on to the next.
    QTest::keyClicks(help->searchField(), QStringLiteral("KÜHLGRENZTEMPERATUR"));
    const int first = browser->textCursor().selectionStart();
    EXPECT_EQ(browser->textCursor().selectedText(), QStringLiteral("Kühlgrenztemperatur"));
    EXPECT_TRUE(help->searchNote()->text().isEmpty());
    press(help->searchField(), Qt::Key_Return);
    const int second = browser->textCursor().selectionStart();
    EXPECT_GT(second, first);
    press(help, Qt::Key_F3);
    EXPECT_GT(browser->textCursor().selectionStart(), second);
    press(help, Qt::Key_F3, Qt::ShiftModifier);
    press(help, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(browser->textCursor().selectionStart(), first);
    // Backwards from the first occurrence goes on from the end, and forwards again to it.
    press(help, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_GT(browser->textCursor().selectionStart(), second);
    EXPECT_EQ(help->searchNote()->text(), QStringLiteral("vom Ende an weitergesucht"));
    press(help, Qt::Key_F3);
    EXPECT_EQ(browser->textCursor().selectionStart(), first);
    EXPECT_EQ(help->searchNote()->text(), QStringLiteral("vom Anfang an weitergesucht"));

    help->searchField()->setText(QStringLiteral("Xylophonquartett"));
    EXPECT_FALSE(help->findNext());
    EXPECT_EQ(help->searchNote()->text(), QStringLiteral("nicht gefunden"));
    EXPECT_TRUE(help->searchNote()->isVisible());
}

TEST_F(ManualWindow, TheContentsShowEveryHeadingWholeAndEscOrCtrlWClose) {
    qt::HelpWindow* help = open();
    ASSERT_NE(help, nullptr);
    QTreeWidget* tree = help->contents();
    const QFontMetrics fm(tree->font());
    int entries = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QTreeWidgetItem* item = *it;
        ++entries;
        int depth = 0;
        for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
            ++depth;
        if (item->parent()) {
            EXPECT_TRUE(item->parent()->isExpanded());
        }
        // The text with its indentation fits the column, and the column the list.
        EXPECT_LE(fm.horizontalAdvance(item->text(0)) + depth * tree->indentation(),
                  tree->columnWidth(0))
            << item->text(0).toStdString();
    }
    EXPECT_GT(entries, tree->topLevelItemCount());  // the subsections are there too
    EXPECT_LE(tree->columnWidth(0), tree->viewport()->width());
    EXPECT_EQ(tree->horizontalScrollBar()->maximum(), 0);

    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence("Ctrl+W")}) {
        qt::showManual(w.get());
        help->activateWindow();
        (void)QTest::qWaitForWindowActive(help);
        ASSERT_TRUE(help->isVisible());
        QTest::keySequence(help->searchField(), keys);  // also from the search field
        EXPECT_FALSE(help->isVisible()) << keys.toString().toStdString();
    }
}

TEST_F(ManualWindow, EveryInputAndResultFieldHasItsPlaceInTheManual) {
    qt::HelpWindow* help = open();
    ASSERT_NE(help, nullptr);
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        if (!isInput(c) && !isOutputField(c)) continue;
        ASSERT_TRUE(help->showField(c)) << controlName(c);
        const QTextCursor shown = help->browser()->textCursor();
        EXPECT_EQ(shown.selectedText(), QString::fromUtf8(fieldCaption(c)).trimmed())
            << controlName(c);
        // An input has a paragraph of its own that names its control; a result its table row.
        if (isInput(c)) {
            EXPECT_EQ(shown.currentTable(), nullptr) << controlName(c);
            EXPECT_TRUE(shown.block().text().contains(QString::fromLatin1(controlName(c))))
                << controlName(c);
        } else {
            EXPECT_NE(shown.currentTable(), nullptr) << controlName(c);
        }
    }
    EXPECT_FALSE(help->showField(Control::cmd_Start));
}

TEST_F(ManualWindow, EveryFieldAndWarningCarriesItsHelpAndTheManualNamesEveryField) {
    const QString manual = manualText();
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        const QString expected = qt::fieldToolTip(c);
        EXPECT_EQ(w->widget(c)->toolTip(), expected) << controlName(c);
        if (!isInput(c) && !isOutputField(c)) continue;
        EXPECT_FALSE(expected.isEmpty()) << controlName(c);
        // The label beside the field explains it too.
        const QWidget* label = isInput(c)
                                   ? w->findChild<QLabel*>(QString::fromLatin1(inputLabelName(c)))
                                   : w->widget(labelOf(c));
        ASSERT_NE(label, nullptr) << controlName(c);
        EXPECT_EQ(label->toolTip(), expected) << controlName(c);
        const QString caption = QString::fromUtf8(fieldCaption(c)).trimmed();
        EXPECT_TRUE(manual.contains(caption)) << "the manual does not name " << controlName(c);
        if (!isInput(c)) continue;
        // The manual's table of inputs names the same typical values as the tooltip.
        const qsizetype row =
            manual.indexOf(QStringLiteral("\n| ") + caption + QStringLiteral(" |"));
        ASSERT_GE(row, 0) << controlName(c);
        const QString line = manual.mid(row + 1, manual.indexOf(QLatin1Char('\n'), row + 1) - row);
        const TypicalRange r = typicalRange(c);
        EXPECT_TRUE(line.contains(QStringLiteral("| %1 bis %2 |").arg(r.from, r.to)))
            << line.toStdString();
    }
    for (Control c : {Control::lbl_Achtung, Control::lbl_ungenau1, Control::lbl_ungenau2,
                      Control::lbl_ungenau3})
        EXPECT_FALSE(w->widget(c)->toolTip().isEmpty()) << controlName(c);
    EXPECT_TRUE(w->widget(Control::cmd_Start)->toolTip().isEmpty());
    // The tooltip says what the table says, wrapped as rich text.
    QTextDocument tip;
    tip.setHtml(w->widget(Control::txt_Dicke)->toolTip());
    EXPECT_EQ(tip.toPlainText().toStdString(), fieldHelp(Control::txt_Dicke));
}

}  // namespace
}  // namespace tesmo::test
