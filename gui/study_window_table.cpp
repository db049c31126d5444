// The study window's table on the clipboard: the selected rows as a German spreadsheet pastes
// them (Ctrl+C in the table, "Bearbeiten → Zeilen kopieren").
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>

#include <algorithm>

#include "display/clipboard_text.h"
#include "gui/study_table_model.h"
#include "gui/study_window.h"
#include "gui/uncertainty_page.h"
#include "gui/uncertainty_results.h"

namespace tesmo::qt {

void StudyWindow::buildEditMenu() {
    QMenu* bearbeiten = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    QAction* copy = bearbeiten->addAction(QStringLiteral("Zeilen &kopieren"));
    copy->setObjectName(QStringLiteral("zeilenKopieren"));
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, &StudyWindow::copySelectedRows);
}

QTableView* StudyWindow::shownTable() const {
    return kind() == Kind::Uncertainty ? &uncertainty_->results().tableView() : view_;
}

QString StudyWindow::selectedRowsText() const {
    const QTableView* view = shownTable();
    const QAbstractItemModel* shown = view->model();
    std::vector<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty()) return {};
    std::sort(rows.begin(), rows.end());
    std::vector<std::vector<std::string>> table;
    std::vector<std::string> header;
    for (int c = 0; c < shown->columnCount(); ++c)
        header.push_back(shown->headerData(c, Qt::Horizontal).toString().toStdString());
    table.push_back(std::move(header));
    for (int r : rows) {
        std::vector<std::string> cells;
        for (int c = 0; c < shown->columnCount(); ++c)
            cells.push_back(shown->index(r, c).data().toString().toStdString());
        table.push_back(std::move(cells));
    }
    return QString::fromStdString(tabSeparated(table));
}

void StudyWindow::copySelectedRows() {
    const QString text = selectedRowsText();
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}

}  // namespace tesmo::qt
