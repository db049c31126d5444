#include "gui/program_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "export/run_exports.h"
#include "files/case_file.h"
#include "gui/decorations.h"
#include "gui/help_window.h"
#include "gui/run_diagrams.h"
#include "gui/study_window.h"

namespace tesmo::qt {

namespace {

const QString kRecentKey = QStringLiteral("zuletztGeoeffnet");
const QString kCaseFilter = QStringLiteral("Tesmo-Gegen-Fälle (*.tgcase);;Alle Dateien (*)");
const QString kCaseSuffix = QStringLiteral(".tgcase");

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString withSuffix(QString path, const QString& suffix) {
    if (!suffix.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += suffix;
    return path;
}

}  // namespace

QString caseFileAmong(const QList<QUrl>& urls) {
    for (const QUrl& url : urls)
        if (url.isLocalFile() && url.toLocalFile().endsWith(kCaseSuffix, Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

ProgramWindow::ProgramWindow(RunState& state, QWidget* parent) : QMainWindow(parent) {
    client_ = new frm_TesmoGegen(state, this);
    setCentralWidget(client_);
    setWindowTitle(client_->windowTitle());
    setWindowIcon(applicationIcon());
    setAcceptDrops(true);
    buildMenus();
    diagrams_ = new RunDiagrams(*this);
    // The client area keeps its fixed size; the window is exactly that plus the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    client_->runControl().setStateListener(
        [this] { runningChanged(client_->runControl().running()); });
    runningChanged(false);
}

ProgramWindow::~ProgramWindow() {
    client_->runControl().setStateListener({});
    study_.reset();  // stops a running study and waits for it while the client area is there
}

QAction* ProgramWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void ProgramWindow::setMessageHook(std::function<void(const QString&)> hook) {
    messageHook_ = std::move(hook);
}

void ProgramWindow::buildMenus() {
    const auto add = [this](QMenu* menu, const char* name, const QString& text,
                            const QKeySequence& keys, void (ProgramWindow::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) a->setShortcut(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    disabledWhileRunning_.push_back(
        add(datei, "neu", QStringLiteral("&Neu"), {}, &ProgramWindow::newCase));
    disabledWhileRunning_.push_back(add(datei, "oeffnen", QStringLiteral("&Öffnen…"),
                                        QKeySequence(Qt::CTRL | Qt::Key_O),
                                        &ProgramWindow::openWithDialog));
    recentMenu_ = datei->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    recentMenu_->menuAction()->setObjectName(QStringLiteral("zuletzt"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &ProgramWindow::fillRecentMenu);
    disabledWhileRunning_.push_back(recentMenu_->menuAction());
    datei->addSeparator();
    add(datei, "speichern", QStringLiteral("&Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S),
        &ProgramWindow::save);
    add(datei, "speichernUnter", QStringLiteral("Speichern &unter…"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &ProgramWindow::saveWithDialog);
    datei->addSeparator();
    exportMenu_ = datei->addMenu(QStringLiteral("&Exportieren"));
    exportMenu_->menuAction()->setObjectName(QStringLiteral("exportieren"));
    disabledWhileRunning_.push_back(exportMenu_->menuAction());
    addRunExports();
    datei->addSeparator();
    QAction* quit = datei->addAction(QStringLiteral("&Beenden"));
    quit->setObjectName(QStringLiteral("beenden"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* studie = menuBar()->addMenu(QStringLiteral("&Studie"));
    add(studie, "parameterstudie", QStringLiteral("&Parameterstudie…"),
        QKeySequence(Qt::CTRL | Qt::Key_T), &ProgramWindow::showStudy);

    QMenu* hilfe = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    add(hilfe, "handbuch", QStringLiteral("&Handbuch"), QKeySequence(Qt::Key_F1),
        &ProgramWindow::manual);
    add(hilfe, "ueber", QStringLiteral("Über &Tesmo-Luft"), {}, &ProgramWindow::about);
}

void ProgramWindow::runningChanged(bool running) {
    for (QAction* a : disabledWhileRunning_)
        a->setEnabled(!running);
    // Exports take what a run left on the screen: offered once a run has ended (finished,
    // stopped or cut short) and until "Nochmal !" clears it.
    exportMenu_->menuAction()->setEnabled(!running && client_->runControl().resultsShown() &&
                                          !exports_.empty());
    if (diagrams_) diagrams_->runStateChanged();
}

InputTexts ProgramWindow::fieldTexts() const {
    InputTexts texts;
    for (int i = 0; i < kInputCount; ++i)
        texts[controlAt(i)] = client_->text(controlAt(i));
    return texts;
}

void ProgramWindow::showMessage(const QString& text) {
    if (messageHook_) {
        messageHook_(text);
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Tesmo-Gegen"), text);
}

void ProgramWindow::newCase() {
    if (client_->runControl().running()) return;
    const InputTexts defaults = defaultInputTexts();
    for (int i = 0; i < kInputCount; ++i)
        client_->setText(controlAt(i), defaults[controlAt(i)]);
    currentFile_.clear();
}

bool ProgramWindow::openCase(const QString& path) {
    if (client_->runControl().running()) return false;
    InputTexts texts;
    FileProblem problem;
    if (!readCaseFile(local(path), defaultInputTexts(), texts, problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    for (int i = 0; i < kInputCount; ++i)
        client_->setText(controlAt(i), texts[controlAt(i)]);
    currentFile_ = path;
    rememberFile(path);
    return true;
}

bool ProgramWindow::saveCaseAs(const QString& path) {
    FileProblem problem;
    if (!writeCaseFile(local(path), fieldTexts(), problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    currentFile_ = path;
    rememberFile(path);
    return true;
}

void ProgramWindow::openWithDialog() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Fall öffnen"),
                                                      QFileInfo(currentFile_).path(), kCaseFilter);
    if (!path.isEmpty()) openCase(path);
}

void ProgramWindow::save() {
    if (currentFile_.isEmpty()) {
        saveWithDialog();
        return;
    }
    saveCaseAs(currentFile_);
}

void ProgramWindow::saveWithDialog() {
    const QString start = currentFile_.isEmpty() ? QDir::homePath() + "/fall.tgcase" : currentFile_;
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Fall speichern"), start, kCaseFilter);
    if (!path.isEmpty()) saveCaseAs(withSuffix(path, kCaseSuffix));
}

QStringList ProgramWindow::recentFiles() const {
    return QSettings().value(kRecentKey).toStringList();
}

void ProgramWindow::rememberFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kRecentCount)
        files.removeLast();
    QSettings().setValue(kRecentKey, files);
}

void ProgramWindow::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList files = recentFiles();
    if (files.isEmpty()) {
        recentMenu_->addAction(QStringLiteral("(keine)"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(path));
        connect(a, &QAction::triggered, this, [this, path] {
            if (!openCase(path) && !QFileInfo::exists(path)) {
                // A file that is gone leaves the list.
                QStringList left = recentFiles();
                left.removeAll(path);
                QSettings().setValue(kRecentKey, left);
            }
        });
    }
}

void ProgramWindow::addRunExports() {
    using Writer = ExportResult (*)(const WindowBase&, const RunControl&, const std::string&);
    const auto entry = [this](const char* name, const char* caption, const char* filter,
                              const char* suffix, Writer writer) {
        addExport({name, QString::fromUtf8(caption), QString::fromUtf8(filter),
                   QString::fromUtf8(suffix),
                   [this, writer](const QString& path, QString& message) {
                       const ExportResult r = writer(*client_, client_->runControl(), local(path));
                       message = QString::fromStdString(r.message);
                       return r.ok;
                   }});
    };
    // The charts go into a folder, one file each (profil.*, verlauf.*).
    entry("exportPng", "Diagramme als PNG…", "", "", exportChartsPng);
    entry("exportSvg", "Diagramme als SVG…", "", "", exportChartsSvg);
    entry("exportCsv", "Verläufe als CSV…", "CSV-Tabellen (*.csv)", ".csv", exportHistoriesCsv);
    entry("exportCsvDe", "Verläufe als CSV für Tabellenkalkulation (deutsch)…",
          "CSV-Tabellen (*.csv)", ".csv", exportHistoriesCsvGerman);
    entry("exportPdf", "Bericht als PDF…", "PDF-Dokumente (*.pdf)", ".pdf", exportReportPdf);
}

bool ProgramWindow::exportTo(const QString& actionName, const QString& path) {
    for (const Export& e : exports_) {
        if (actionName != QLatin1String(e.name)) continue;
        QString message;
        if (e.write(path, message)) return true;
        showMessage(message);
        return false;
    }
    return false;
}

void ProgramWindow::addExport(Export e) {
    QAction* a = exportMenu_->addAction(e.caption);
    a->setObjectName(QString::fromLatin1(e.name));
    exports_.push_back(std::move(e));
    const std::size_t index = exports_.size() - 1;
    connect(a, &QAction::triggered, this, [this, index] { runExport(exports_[index]); });
}

void ProgramWindow::runExport(const Export& e) {
    const QString start = QFileInfo(currentFile_).path();
    const QString path =
        e.fileFilter.isEmpty()
            ? QFileDialog::getExistingDirectory(this, e.caption, start)
            : withSuffix(QFileDialog::getSaveFileName(this, e.caption, start, e.fileFilter),
                         e.suffix);
    if (path.isEmpty()) return;
    QString message;
    if (!e.write(path, message)) showMessage(message);
}

void ProgramWindow::manual() {
    showManual(this);
}

void ProgramWindow::showStudy() {
    // A top-level window of its own, so that either window can be in front; the program still
    // ends with the main window (the study window does not keep it open).
    if (!study_) study_ = std::make_unique<StudyWindow>(*client_);
    study_->showAndRaise();
}

void ProgramWindow::about() {
    QMessageBox::about(
        this, QStringLiteral("Über Tesmo-Luft"),
        QStringLiteral("<h3>Tesmo-Luft %1</h3>"
                       "<p>Tesmo-Gegen: Kinetik und Energetik der Konvektionstrocknung "
                       "schwindender, kapillarporöser Rohlingsplatten im Gegenstromtrockner.</p>"
                       "<p>Lizenz: MIT (siehe die Datei LICENSE, die dem Programm beiliegt). "
                       "Das Programm nutzt Qt 6 unter der LGPL 3.</p>"
                       "<p>Die beiden Logos und das Programmsymbol sind eigene Zeichnungen der "
                       "Entwickler von Tesmo-Gegen.</p>")
            .arg(QApplication::applicationVersion()));
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    // As the client area alone: a run or a pause ends at once and the program with it.
    client_->endRunForClose();
    event->accept();
}

void ProgramWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!client_->runControl().running() && event->mimeData()->hasUrls() &&
        !caseFileAmong(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void ProgramWindow::dropEvent(QDropEvent* event) {
    const QString path = caseFileAmong(event->mimeData()->urls());
    if (path.isEmpty() || client_->runControl().running()) return;
    event->acceptProposedAction();
    openCase(path);
}

}  // namespace tesmo::qt
