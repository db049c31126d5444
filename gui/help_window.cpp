#include "gui/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "display/control_table.h"
#include "display/field_help.h"
#include "gui/screen_room.h"
#include "gui/standard_keys.h"

// The manual's resource lives in a static library: it is registered by name, outside any
// namespace, as the resource compiler's function requires; once is enough.
static void registerManual() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(manual);
        return true;
    }();
    (void)registered;
}

namespace tesmo::qt {

namespace {

// Where the build puts the manual among the program's resources (ui/qt/CMakeLists.txt).
const char* const kManualResource = ":/tesmo/handbuch.md";
const char* const kNotFound = "nicht gefunden";

// The tree shows the sections (##) and their subsections (###); the title (#) stands above.
constexpr int kSectionLevel = 2;
constexpr int kSubsectionLevel = 3;
constexpr int kBlockPosition = Qt::UserRole;

// Tables of the manual: thin grey rules, some room in the cells, a shaded header row; code
// blocks (formulas, command lines) on a light grey ground.
void styleDocument(QTextDocument* document) {
    const auto code = [](const QTextBlock& b) {
        return b.isValid() && b.blockFormat().hasProperty(QTextFormat::BlockCodeFence);
    };
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (!code(block)) continue;
        QTextBlockFormat format = block.blockFormat();
        format.setBackground(QColor(244, 245, 247));
        if (!code(block.previous())) format.setTopMargin(4);
        if (!code(block.next())) format.setBottomMargin(8);
        QTextCursor(block).setBlockFormat(format);
    }
    for (QTextFrame* frame : document->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        QTextTableFormat format = table->format();
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(190, 190, 190));
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(4);
        format.setTopMargin(4);
        format.setBottomMargin(8);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat header = cell.format();
            header.setBackground(QColor(236, 238, 242));
            cell.setFormat(header);
        }
    }
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Tesmo-Gegen – Handbuch"));
    resize(1000, 720);

    contents_ = new QTreeWidget;
    contents_->setObjectName(QStringLiteral("contents"));
    contents_->setHeaderHidden(true);
    contents_->setColumnCount(1);
    // The column is as wide as the longest heading; the list is made that wide below.
    contents_->header()->setStretchLastSection(false);
    contents_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("manual"));
    browser_->setOpenLinks(false);  // links within the manual go to their heading
    // The found text stays marked while the keyboard focus is in the search field.
    QPalette pal = browser_->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, QColor(255, 214, 0));
        pal.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    browser_->setPalette(pal);

    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(QStringLiteral("Suchen (Strg+F, weiter mit F3)"));
    search_->setClearButtonEnabled(true);
    auto* previous = new QPushButton(QStringLiteral("Vorheriges"));
    auto* next = new QPushButton(QStringLiteral("Nächstes"));
    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("searchNote"));
    QPalette notePalette = note_->palette();
    notePalette.setColor(QPalette::WindowText, QColor(192, 0, 0));
    note_->setPalette(notePalette);
    note_->setMinimumWidth(
        note_->fontMetrics().horizontalAdvance(QStringLiteral("vom Anfang an "
                                                              "weitergesucht")));

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Suchen:")));
    bar->addWidget(search_, 1);
    bar->addWidget(previous);
    bar->addWidget(next);
    bar->addWidget(note_);

    auto* splitter = new QSplitter;
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    connect(search_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    // Typing refines the search from where the current match begins.
    connect(search_, &QLineEdit::textEdited, this, [this] {
        QTextCursor cursor = browser_->textCursor();
        cursor.setPosition(cursor.selectionStart());
        browser_->setTextCursor(cursor);
        findNext();
    });
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { findNext(); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
            [this] { findNext(true); });
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        scrollToBlock(browser_->document()->findBlock(item->data(0, kBlockPosition).toInt()));
    });
    connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        scrollToBlock(browser_->document()->findBlock(item->data(0, kBlockPosition).toInt()));
    });

    // Esc and the desktop's Close (Ctrl+W) close the manual, as they close a viewer.
    QList<QKeySequence> closing = standardKeys(QKeySequence::Close);
    closing << QKeySequence(Qt::Key_Escape);
    for (const QKeySequence& keys : closing)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

    loadManual();
    buildContents();
    const int list = contentsWidth();
    contents_->setMinimumWidth(list);
    splitter->setSizes({list, 730});
    resize(list + 730 + layout->contentsMargins().left() + layout->contentsMargins().right() +
               splitter->handleWidth(),
           720);
}

int HelpWindow::contentsWidth() const {
    // Every heading whole, with its indentation, and room for a vertical scroll bar.
    const QAbstractItemView* view = contents_;  // sizeHintForColumn is public there
    return view->sizeHintForColumn(0) + 2 * contents_->frameWidth() +
           contents_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, contents_) + 4;
}

void HelpWindow::loadManual() {
    registerManual();
    QFile file(QString::fromLatin1(kManualResource));
    if (!file.open(QIODevice::ReadOnly)) {
        browser_->setPlainText(QStringLiteral("Das Handbuch ist nicht im Programm enthalten."));
        return;
    }
    browser_->setMarkdown(QString::fromUtf8(file.readAll()));
    styleDocument(browser_->document());
}

void HelpWindow::buildContents() {
    contents_->clear();
    QTreeWidgetItem* section = nullptr;
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level != kSectionLevel && !(level == kSubsectionLevel && section)) continue;
        auto* item =
            level == kSectionLevel ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(section);
        item->setText(0, block.text());
        item->setToolTip(0, block.text());
        item->setData(0, kBlockPosition, block.position());
        if (level == kSectionLevel) section = item;
    }
    contents_->expandAll();  // every entry to be seen at once
}

void HelpWindow::scrollToBlock(const QTextBlock& block) {
    if (!block.isValid()) return;
    browser_->setTextCursor(QTextCursor(block));  // a search goes on from here
    const QRectF place = browser_->document()->documentLayout()->blockBoundingRect(block);
    browser_->verticalScrollBar()->setValue(static_cast<int>(place.top()));
}

bool HelpWindow::showHeading(const QString& anchor) {
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && anchorOf(block.text()) == anchor) {
            scrollToBlock(block);
            return true;
        }
    }
    return false;
}

bool HelpWindow::showField(Control field) {
    const QString caption = QString::fromUtf8(fieldCaption(field)).trimmed();
    if (caption.isEmpty()) return false;
    // An input is explained where the text names it by caption and control name,
    // "Ablufttemperatur in °C (txt_Lufttemp)"; a result in the row of the results' table.
    const QString named =
        caption + QStringLiteral(" (") + QString::fromLatin1(controlName(field)) + ')';
    QTextBlock place, row;
    qsizetype at = -1;
    for (QTextBlock block = browser_->document()->begin(); block.isValid() && at < 0;
         block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) continue;
        if (QTextCursor(block).currentTable()) {
            if (!row.isValid() && block.text() == caption) row = block;
        } else if ((at = block.text().indexOf(named)) >= 0) {
            place = block;
        }
    }
    if (at < 0) {
        place = row;
        at = 0;
    }
    if (!place.isValid()) return false;
    scrollToBlock(place);
    QTextCursor mark(place);
    mark.setPosition(place.position() + static_cast<int>(at));
    mark.setPosition(place.position() + static_cast<int>(at + caption.size()),
                     QTextCursor::KeepAnchor);
    browser_->setTextCursor(mark);
    return true;
}

void HelpWindow::followLink(const QUrl& url) {
    if (url.scheme().isEmpty() && url.hasFragment()) {
        showHeading(url.fragment(QUrl::FullyDecoded));
    } else if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
        QDesktopServices::openUrl(url);
    }
}

QString HelpWindow::anchorOf(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor += c;
        else if (c == QLatin1Char(' '))
            anchor += QLatin1Char('-');
    }
    return anchor;
}

bool HelpWindow::findNext(bool backwards) {
    const QString text = search_->text();
    if (text.isEmpty()) {
        note_->clear();
        return false;
    }
    QTextDocument* document = browser_->document();
    const QTextDocument::FindFlags flags =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = document->find(text, browser_->textCursor(), flags);
    bool wrapped = false;
    if (found.isNull()) {
        QTextCursor end(document);
        if (backwards) end.movePosition(QTextCursor::End);
        found = document->find(text, end, flags);
        wrapped = !found.isNull();
    }
    if (found.isNull()) {
        QTextCursor here = browser_->textCursor();
        here.clearSelection();
        browser_->setTextCursor(here);
        note_->setText(QString::fromUtf8(kNotFound));
        return false;
    }
    browser_->setTextCursor(found);  // selects it and scrolls it just into view
    // A match at the edge of the text is hard to spot: bring it to the middle.
    const int height = browser_->viewport()->height();
    const QRect place = browser_->cursorRect();
    if (place.top() < height / 4 || place.bottom() > height * 3 / 4) {
        QScrollBar* bar = browser_->verticalScrollBar();
        bar->setValue(bar->value() + place.center().y() - height / 2);
    }
    note_->setText(!wrapped    ? QString()
                   : backwards ? QStringLiteral("vom Ende an weitergesucht")
                               : QStringLiteral("vom Anfang an weitergesucht"));
    return true;
}

HelpWindow* showManual(QWidget* parent) {
    static QPointer<HelpWindow> window;
    if (!window) {
        window = new HelpWindow(parent);
        shrinkToScreen(*window);
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QString fieldToolTip(Control c) {
    QString html;
    for (const QString& paragraph :
         QString::fromUtf8(fieldHelp(c)).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        html += QStringLiteral("<p style=\"margin-top:0; margin-bottom:4px\">") +
                paragraph.toHtmlEscaped() + QStringLiteral("</p>");
    return html;
}

}  // namespace tesmo::qt
