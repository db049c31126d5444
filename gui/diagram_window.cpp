#include "gui/diagram_window.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QVBoxLayout>

#include "export/run_exports.h"
#include "files/history_csv.h"
#include "gui/decorations.h"
#include "gui/plot_widget.h"
#include "plot/plot_files.h"

namespace tesmo::qt {

namespace {

const QString kGeometryKey = QStringLiteral("diagrammfenster/geometrie");
const QString kFolderKey = QStringLiteral("diagrammfenster/ordner");
const QString kHistoryFilter = QStringLiteral("Verläufe (*.csv);;Alle Dateien (*)");
constexpr int kNumberRole = Qt::UserRole;
constexpr double kFileScale = 2;  // PNG and clipboard: twice the pixels of the screen

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QColor qcolour(Rgb c) {
    return {c.r, c.g, c.b};
}

// A small square of the run's colour for its line in the list.
QIcon colourIcon(Rgb colour) {
    QPixmap square(12, 12);
    square.fill(qcolour(colour));
    return QIcon(square);
}

}  // namespace

DiagramWindow::DiagramWindow(RunShelf& shelf, QWidget* parent)
    : QMainWindow(parent), shelf_(shelf) {
    setObjectName(QStringLiteral("diagrammfenster"));
    setWindowTitle(QStringLiteral("Diagramme – Tesmo-Gegen"));
    setWindowIcon(applicationIcon());
    folder_ = QSettings().value(kFolderKey).toString();

    plot_ = new PlotWidget;
    plot_->setObjectName(QStringLiteral("diagramm"));
    plot_->setReadout(
        {[this](double x, double y) { return positionText(chart_, plot_->spec(), x, y); },
         [this](int series, PlotPoint p) { return pointText(chart_, plot_->spec(), series, p); }});
    readout_ = new QLabel;
    readout_->setObjectName(QStringLiteral("ablesung"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    readout_->setMinimumHeight(2 * readout_->fontMetrics().height() + 4);
    readout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const auto showReadout = [this](const QString& text) {
        readout_->setText(text.isEmpty() ? QStringLiteral("Die Maus über dem Diagramm zeigt die "
                                                          "Werte an ihrer Stelle.")
                                         : text);
    };
    connect(plot_, &PlotWidget::readoutChanged, this, showReadout);
    showReadout({});

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(plot_, 1);
    rightLayout->addWidget(readout_);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(buildSide());
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    split->setSizes({300, 800});
    auto* central = new QWidget;
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->addWidget(split);
    setCentralWidget(central);
    buildMenus();
    resize(1120, 700);
    runsChanged();
}

DiagramWindow::~DiagramWindow() = default;

QWidget* DiagramWindow::buildSide() {
    charts_ = new QListWidget;
    charts_->setObjectName(QStringLiteral("diagrammliste"));
    for (const RunChartInfo& info : runCharts())
        charts_->addItem(QString::fromUtf8(info.name));
    charts_->setCurrentRow(static_cast<int>(chart_));
    charts_->setMaximumHeight(charts_->sizeHintForRow(0) * (charts_->count() + 1));
    connect(charts_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        const RunChart chosen = runCharts()[static_cast<std::size_t>(row)].chart;
        if (chosen != chart_) setChart(chosen);
    });

    runs_ = new QListWidget;
    runs_->setObjectName(QStringLiteral("laeufe"));
    runs_->setWordWrap(true);
    runs_->setToolTip(QStringLiteral(
        "Die Läufe dieser Sitzung (höchstens 8, der älteste weicht). Ein Haken legt den Lauf "
        "ins Diagramm; mehrere Läufe haben je ihre Farbe, die Kurven unterscheidet die Linie."));
    connect(runs_, &QListWidget::itemChanged, this, &DiagramWindow::runItemChanged);
    connect(runs_, &QListWidget::currentRowChanged, this,
            [this](int row) { remove_->setEnabled(row >= 0); });

    auto* open = new QPushButton(QStringLiteral("Verlauf ö&ffnen…"));
    open->setObjectName(QStringLiteral("verlaufOeffnenKnopf"));
    remove_ = new QPushButton(QStringLiteral("&Entfernen"));
    remove_->setObjectName(QStringLiteral("entfernen"));
    removeAll_ = new QPushButton(QStringLiteral("&alle entfernen"));
    removeAll_->setObjectName(QStringLiteral("alleEntfernen"));
    connect(open, &QPushButton::clicked, this, &DiagramWindow::openWithDialog);
    connect(remove_, &QPushButton::clicked, this, &DiagramWindow::removeSelectedRun);
    connect(removeAll_, &QPushButton::clicked, this, &DiagramWindow::removeAllRuns);

    auto* chartLabel = new QLabel(QStringLiteral("&Diagramm:"));
    chartLabel->setBuddy(charts_);
    auto* runLabel = new QLabel(QStringLiteral("&Läufe:"));
    runLabel->setBuddy(runs_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remove_);
    buttons->addWidget(removeAll_);

    auto* side = new QWidget;
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chartLabel);
    layout->addWidget(charts_);
    layout->addWidget(runLabel);
    layout->addWidget(runs_, 1);
    layout->addWidget(open);
    layout->addLayout(buttons);
    return side;
}

void DiagramWindow::buildMenus() {
    const auto add = [this](QMenu* menu, const char* name, const QString& text,
                            const QKeySequence& keys, const std::function<void()>& what) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) a->setShortcut(keys);
        connect(a, &QAction::triggered, this, what);
        return a;
    };
    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    add(datei, "verlaufOeffnen", QStringLiteral("Verlauf ö&ffnen…"),
        QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openWithDialog(); });
    datei->addSeparator();
    add(datei, "diagrammPng", QStringLiteral("Diagramm als &PNG…"), {}, [this] {
        exportWithDialog(QStringLiteral("Diagramm als PNG"), QStringLiteral("PNG-Bilder (*.png)"),
                         QStringLiteral("png"), &DiagramWindow::exportPng);
    });
    add(datei, "diagrammSvg", QStringLiteral("Diagramm als &SVG…"), {}, [this] {
        exportWithDialog(QStringLiteral("Diagramm als SVG"), QStringLiteral("SVG-Grafiken (*.svg)"),
                         QStringLiteral("svg"), &DiagramWindow::exportSvg);
    });
    add(datei, "diagrammPdf", QStringLiteral("Diagramm als P&DF…"), {}, [this] {
        exportWithDialog(QStringLiteral("Diagramm als PDF"),
                         QStringLiteral("PDF-Dokumente (*.pdf)"), QStringLiteral("pdf"),
                         &DiagramWindow::exportPdf);
    });
    datei->addSeparator();
    add(datei, "schliessen", QStringLiteral("S&chließen"), QKeySequence(Qt::CTRL | Qt::Key_W),
        [this] { close(); });
    QMenu* bearbeiten = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    add(bearbeiten, "diagrammKopieren", QStringLiteral("Diagramm &kopieren"),
        QKeySequence(QKeySequence::Copy), [this] { copyChart(); });
}

QAction* DiagramWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void DiagramWindow::setMessageHook(std::function<void(const QString&)> hook) {
    messageHook_ = std::move(hook);
}

void DiagramWindow::showMessage(const QString& text) {
    if (messageHook_) {
        messageHook_(text);
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Diagramme – Tesmo-Gegen"), text);
}

void DiagramWindow::showAndRaise() {
    if (!placed_) {
        placed_ = true;
        const QByteArray geometry = QSettings().value(kGeometryKey).toByteArray();
        if (!geometry.isEmpty()) restoreGeometry(geometry);
    }
    show();
    raise();
    activateWindow();
}

void DiagramWindow::rememberGeometry() {
    if (placed_) QSettings().setValue(kGeometryKey, saveGeometry());
}

void DiagramWindow::closeEvent(QCloseEvent* event) {
    rememberGeometry();
    QMainWindow::closeEvent(event);
}

void DiagramWindow::hideEvent(QHideEvent* event) {
    rememberGeometry();
    QMainWindow::hideEvent(event);
}

void DiagramWindow::runsChanged() {
    fillRunList();
    redraw();
}

void DiagramWindow::fillRunList() {
    filling_ = true;
    const int current = runs_->currentItem() ? runs_->currentItem()->data(kNumberRole).toInt() : 0;
    runs_->clear();
    for (const RunShelf::Entry& e : shelf_.entries()) {
        auto* item = new QListWidgetItem(QString::fromStdString(shelf_.label(e)), runs_);
        item->setData(kNumberRole, e.number);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(e.shown ? Qt::Checked : Qt::Unchecked);
        item->setIcon(colourIcon(seriesColour(e.number - 1)));
        if (e.number == current) runs_->setCurrentItem(item);
    }
    filling_ = false;
    remove_->setEnabled(runs_->currentItem() != nullptr);
    removeAll_->setEnabled(runs_->count() > 0);
}

std::vector<ChartRun> DiagramWindow::shownRuns() const {
    std::vector<ChartRun> runs;
    for (const RunShelf::Entry* e : shelf_.shownEntries())
        runs.push_back({e->record.get(), "Lauf " + std::to_string(e->number), e->number - 1});
    return runs;
}

PlotSpec DiagramWindow::currentSpec() const {
    PlotSpec spec = runChart(chart_, shownRuns());
    if (shelf_.entries().empty())
        spec.note = "Noch kein Lauf: Im Hauptfenster mit Start rechnen oder einen Verlauf öffnen.";
    else if (shelf_.shownEntries().empty())
        spec.note = "Kein Lauf ausgewählt: In der Liste der Läufe einen Haken setzen.";
    return spec;
}

void DiagramWindow::redraw() {
    plot_->setSpec(currentSpec());
    const bool any = !shelf_.shownEntries().empty();
    for (const char* name : {"diagrammPng", "diagrammSvg", "diagrammPdf", "diagrammKopieren"})
        if (QAction* a = action(QString::fromLatin1(name))) a->setEnabled(any);
}

void DiagramWindow::setChart(RunChart chart) {
    chart_ = chart;
    if (charts_->currentRow() != static_cast<int>(chart))
        charts_->setCurrentRow(static_cast<int>(chart));
    redraw();
}

void DiagramWindow::runItemChanged(QListWidgetItem* item) {
    if (filling_) return;
    shelf_.setShown(item->data(kNumberRole).toInt(), item->checkState() == Qt::Checked);
    redraw();
}

void DiagramWindow::setRunShown(int number, bool shown) {
    shelf_.setShown(number, shown);
    runsChanged();
}

void DiagramWindow::removeRun(int number) {
    shelf_.remove(number);
    runsChanged();
}

void DiagramWindow::removeSelectedRun() {
    if (QListWidgetItem* item = runs_->currentItem()) removeRun(item->data(kNumberRole).toInt());
}

void DiagramWindow::removeAllRuns() {
    shelf_.clear();
    runsChanged();
}

bool DiagramWindow::openHistory(const QString& path) {
    HistoryTable table;
    FileProblem problem;
    if (!readHistoryTable(local(path), table, problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    shelf_.add(recordOfTable(table, QFileInfo(path).fileName().toStdString()));
    runsChanged();
    return true;
}

void DiagramWindow::openWithDialog() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Verlauf öffnen"),
                                                      folder_, kHistoryFilter);
    if (path.isEmpty()) return;
    folder_ = QFileInfo(path).path();
    QSettings().setValue(kFolderKey, folder_);
    openHistory(path);
}

QSize DiagramWindow::fileSize() const {
    // As large as on the screen, so that the file shows what the window shows; a window not
    // shown yet gives the size the runner's diagrams have.
    const QSize shown = plot_->size();
    if (plot_->isVisible() && shown.width() >= plot_->minimumSizeHint().width() &&
        shown.height() >= plot_->minimumSizeHint().height())
        return shown;
    return {kDiagramFileWidth, kDiagramFileHeight};
}

bool DiagramWindow::exportPng(const QString& path) {
    std::string error;
    if (writePlotPng(local(path), currentSpec(), fileSize(), &error, kFileScale)) return true;
    showMessage(QString::fromStdString(error));
    return false;
}

bool DiagramWindow::exportSvg(const QString& path) {
    std::string error;
    if (writePlotSvg(local(path), currentSpec(), fileSize(), &error)) return true;
    showMessage(QString::fromStdString(error));
    return false;
}

bool DiagramWindow::exportPdf(const QString& path) {
    std::string error;
    if (writePlotPdf(local(path), currentSpec(), fileSize(), &error)) return true;
    showMessage(QString::fromStdString(error));
    return false;
}

void DiagramWindow::copyChart() {
    const QImage image = plotImage(currentSpec(), fileSize(), kFileScale);
    if (image.isNull()) {
        showMessage(QStringLiteral("Das Diagramm ließ sich nicht als Bild zeichnen."));
        return;
    }
    QGuiApplication::clipboard()->setImage(image);
}

void DiagramWindow::exportWithDialog(const QString& caption, const QString& filter,
                                     const QString& suffix,
                                     bool (DiagramWindow::*write)(const QString&)) {
    const QString stem = QString::fromUtf8(runChartInfo(chart_).fileStem);
    QFileDialog dialog(this, caption, QDir(folder_).filePath(stem + "." + suffix), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    if ((this->*write)(path)) {
        folder_ = QFileInfo(path).path();
        QSettings().setValue(kFolderKey, folder_);
    }
}

}  // namespace tesmo::qt
