#include "gui/program_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "display/run_phase.h"
#include "export/run_exports.h"
#include "files/file_kinds.h"
#include "gui/decorations.h"
#include "gui/fit_window.h"
#include "gui/help_window.h"
#include "gui/program_status.h"
#include "gui/run_diagrams.h"
#include "gui/standard_keys.h"
#include "gui/study_window.h"

namespace tesmo::qt {

namespace {

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString withSuffix(QString path, const QString& suffix) {
    if (!suffix.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += suffix;
    return path;
}

// The menus' titles, in the menu bar's order (ProgramWindow::Menu).
const char* const kMenuTitles[] = {"&Datei",      "&Bearbeiten", "&Ansicht",
                                   "Be&rechnung", "&Studie",     "&Hilfe"};
static_assert(std::size(kMenuTitles) == static_cast<std::size_t>(ProgramWindow::Menu::Count));

// The fields that have a section in the manual and a help text: inputs and results.
bool explainedField(Control c) {
    return isInput(c) || isOutputField(c);
}

}  // namespace

QString openableFileAmong(const QList<QUrl>& urls) {
    for (const QUrl& url : urls)
        if (url.isLocalFile() && fileKindOf(local(url.toLocalFile()))) return url.toLocalFile();
    return {};
}

ProgramWindow::ProgramWindow(RunState& state, QWidget* parent) : QMainWindow(parent) {
    client_ = new frm_TesmoGegen(state, this);
    setCentralWidget(client_);
    setWindowTitle(client_->windowTitle());
    setWindowIcon(applicationIcon());
    setAcceptDrops(true);
    status_ = new ProgramStatus(this);
    setStatusBar(status_);
    buildMenus();
    connectKeyboard();
    diagrams_ = new RunDiagrams(*this);
    // The client area keeps its fixed size; the window is exactly that plus the two bars (on a
    // screen that holds it: see fitToScreen).
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    client_->runControl().setStateListener([this] { runningChanged(); });
    takeAsSaved({}, fieldTexts());
    for (int i = 0; i < kInputCount; ++i)
        connect(static_cast<QLineEdit*>(client_->widget(controlAt(i))), &QLineEdit::textChanged,
                this, &ProgramWindow::showDocumentState);
    runningChanged();
}

ProgramWindow::~ProgramWindow() {
    client_->runControl().setStateListener({});
    study_.reset();  // stops a running study and waits for it while the client area is there
    fit_.reset();    // likewise a running fit
}

QAction* ProgramWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void ProgramWindow::setMessageHook(std::function<void(const QString&)> hook) {
    messageHook_ = std::move(hook);
}

void ProgramWindow::setSaveQuestionHook(SaveQuestionHook hook) {
    saveQuestionHook_ = hook;
    if (study_) study_->setSaveQuestionHook(hook);
    if (fit_) fit_->setSaveQuestionHook(std::move(hook));
}

// --- menus -----------------------------------------------------------------------------------

QMenu* ProgramWindow::menu(Menu which) {
    const auto at = static_cast<std::size_t>(which);
    if (menus_[at]) return menus_[at];
    auto* created = new QMenu(QString::fromUtf8(kMenuTitles[at]), this);
    // Before the first menu that comes later in the bar's order.
    QAction* before = nullptr;
    for (std::size_t later = at + 1; later < menus_.size() && !before; ++later)
        if (menus_[later]) before = menus_[later]->menuAction();
    menuBar()->insertMenu(before, created);
    menus_[at] = created;
    return created;
}

QAction* ProgramWindow::addEntry(QMenu* menu, const char* name, const QString& text,
                                 const std::function<void()>& what,
                                 const QList<QKeySequence>& keys) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    connect(a, &QAction::triggered, this, what);
    return a;
}

void ProgramWindow::buildMenus() {
    buildFileMenu();
    buildCalculationMenu();
    buildStudyMenu();
    buildHelpMenu();
}

void ProgramWindow::buildFileMenu() {
    QMenu* datei = menu(Menu::Datei);
    const auto keys = standardKeys;
    disabledWhileRunning_.push_back(addEntry(
        datei, "neu", QStringLiteral("&Neu"), [this] { newCase(); }, keys(QKeySequence::New)));
    disabledWhileRunning_.push_back(addEntry(
        datei, "oeffnen", QStringLiteral("&Öffnen…"), [this] { openWithDialog(); },
        keys(QKeySequence::Open)));
    recentMenu_ = datei->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    recentMenu_->menuAction()->setObjectName(QStringLiteral("zuletzt"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &ProgramWindow::fillRecentMenu);
    disabledWhileRunning_.push_back(recentMenu_->menuAction());
    datei->addSeparator();
    addEntry(
        datei, "speichern", QStringLiteral("&Speichern"), [this] { save(); },
        keys(QKeySequence::Save));
    addEntry(
        datei, "speichernUnter", QStringLiteral("Speichern &unter…"), [this] { saveWithDialog(); },
        keys(QKeySequence::SaveAs));
    datei->addSeparator();
    exportMenu_ = datei->addMenu(QStringLiteral("&Exportieren"));
    exportMenu_->menuAction()->setObjectName(QStringLiteral("exportieren"));
    disabledWhileRunning_.push_back(exportMenu_->menuAction());
    addRunExports();
    datei->addSeparator();
    // Closing asks about unsaved changes (closeEvent); a close that is cancelled ends nothing.
    addEntry(
        datei, "beenden", QStringLiteral("&Beenden"), [this] { close(); },
        keys(QKeySequence::Quit));
    fillRecentMenu();  // filled from the start; each opening brings it up to date
}

// "Berechnung": how the next Start computes. Korrigierte Luftbilanz charges the air of the
// second drying period with the plate's warming once per step, from the temperature the plate
// had at the end of the first period; unchecked, the dryer computes as it always has. A run
// that is going keeps the balance it started with.
void ProgramWindow::buildCalculationMenu() {
    luftbilanz_ = addEntry(menu(Menu::Berechnung), "korrigierteLuftbilanz",
                           QStringLiteral("&Korrigierte Luftbilanz"), [] {});
    luftbilanz_->setCheckable(true);
    calculationMode_ =
        status_->addIndicator(QStringLiteral("rechenart"), QStringLiteral("Berechnungsart"));
    connect(luftbilanz_, &QAction::toggled, this, [this](bool korrigiert) {
        RunOptions options = client_->runControl().runOptions();
        options.luftbilanz = korrigiert ? Luftbilanz::Korrigiert : Luftbilanz::Standard;
        client_->runControl().setRunOptions(options);
        showRunOptions();
        showDocumentState();
    });
}

void ProgramWindow::setRunOptions(const RunOptions& options) {
    client_->runControl().setRunOptions(options);
    luftbilanz_->setChecked(options.luftbilanz == Luftbilanz::Korrigiert);
    showRunOptions();
}

// The modes the next Start computes in, where they are not the dryer's own: the balance chosen
// in the menu, and the constant climate of a climate-chamber case opened from a file (which the
// main window has no control for).
void ProgramWindow::showRunOptions() {
    calculationMode_->setText(
        QString::fromStdString(optionsText(client_->runControl().runOptions())));
}

void ProgramWindow::buildStudyMenu() {
    addEntry(menu(Menu::Studie), "parameterstudie", QStringLiteral("&Parameterstudie…"),
             [this] { showStudy(); }, {QKeySequence(Qt::CTRL | Qt::Key_T)});
    addEntry(menu(Menu::Studie), "unsicherheitsstudie", QStringLiteral("&Unsicherheitsstudie…"),
             [this] { showUncertaintyStudy(); });
    addEntry(menu(Menu::Studie), "anpassung", QStringLiteral("&Anpassung an Messungen…"),
             [this] { showFit(); });
}

void ProgramWindow::buildHelpMenu() {
    QMenu* hilfe = menu(Menu::Hilfe);
    addEntry(
        hilfe, "handbuch", QStringLiteral("&Handbuch"), [this] { manual(); },
        standardKeys(QKeySequence::HelpContents));
    addEntry(hilfe, "ueber", QStringLiteral("Über &Tesmo-Luft"), [this] { about(); });
}

// --- state shown ------------------------------------------------------------------------------

void ProgramWindow::runningChanged() {
    const RunControl& run = client_->runControl();
    for (QAction* a : disabledWhileRunning_)
        a->setEnabled(!run.running());
    // Exports take what a run left on the screen: offered once a run has ended (finished,
    // stopped or cut short) and until "Nochmal !" clears it.
    exportMenu_->menuAction()->setEnabled(!run.running() && run.resultsShown() &&
                                          !exports_.empty());
    status_->showRunPhase(runPhase(run));
    if (diagrams_) diagrams_->runStateChanged();
}

void ProgramWindow::showDocumentState() {
    status_->showDocument(currentFile_, hasUnsavedChanges());
}

void ProgramWindow::showMessage(const QString& text) {
    if (messageHook_) {
        messageHook_(text);
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Tesmo-Gegen"), text);
}

// --- keyboard --------------------------------------------------------------------------------

void ProgramWindow::connectKeyboard() {
    for (int i = 0; i < kControlCount; ++i) {
        const Control c = controlAt(i);
        if (!explainedField(c)) continue;
        // F1 in a field is help on that field (see eventFilter).
        client_->widget(c)->installEventFilter(this);
        if (!isInput(c)) continue;
        // Return in an input field computes, as a press on Start would, while Start is there.
        connect(
            static_cast<QLineEdit*>(client_->widget(c)), &QLineEdit::returnPressed, this, [this] {
                auto* start = static_cast<QAbstractButton*>(client_->widget(Control::cmd_Start));
                if (!start->isHidden() && start->isEnabled()) start->click();
            });
    }
}

bool ProgramWindow::eventFilter(QObject* watched, QEvent* event) {
    // F1 in an input or result field opens the manual where that field is explained. The
    // field claims the key before the menu's F1 (which opens the manual where it was) can.
    const bool override = event->type() == QEvent::ShortcutOverride;
    if ((override || event->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::HelpContents)) {
        for (int i = 0; i < kControlCount; ++i) {
            const Control c = controlAt(i);
            if (client_->widget(c) != watched || !explainedField(c)) continue;
            event->accept();
            if (!override) manual(c);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ProgramWindow::manual(Control field) {
    HelpWindow* help = showManual(this);
    if (field != Control::Count) help->showField(field);
}

// --- exports ---------------------------------------------------------------------------------

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
    entry("exportPng", "Diagramme als &PNG…", "", "", exportChartsPng);
    entry("exportSvg", "Diagramme als S&VG…", "", "", exportChartsSvg);
    entry("exportCsv", "Verläufe als &CSV…", "CSV-Tabellen (*.csv)", ".csv", exportHistoriesCsv);
    entry("exportCsvDe", "Verläufe als CSV für Tabellenkalkulation (&deutsch)…",
          "CSV-Tabellen (*.csv)", ".csv", exportHistoriesCsvGerman);
    entry("exportPdf", "&Bericht als PDF…", "PDF-Dokumente (*.pdf)", ".pdf", exportReportPdf);
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
    QString title = e.caption;
    title.remove(QLatin1Char('&'));
    const QString path =
        e.fileFilter.isEmpty()
            ? QFileDialog::getExistingDirectory(this, title, start)
            : withSuffix(QFileDialog::getSaveFileName(this, title, start, e.fileFilter), e.suffix);
    if (path.isEmpty()) return;
    QString message;
    if (!e.write(path, message)) showMessage(message);
}

// --- other windows ---------------------------------------------------------------------------

void ProgramWindow::showStudy() {
    // A top-level window of its own, so that either window can be in front; the program still
    // ends with the main window (the study window does not keep it open).
    if (!study_) {
        study_ = std::make_unique<StudyWindow>(*client_);
        if (saveQuestionHook_) study_->setSaveQuestionHook(saveQuestionHook_);
    }
    study_->showKind(StudyWindow::Kind::Parameter);
    study_->showAndRaise();
}

void ProgramWindow::showUncertaintyStudy() {
    showStudy();
    study_->showKind(StudyWindow::Kind::Uncertainty);
}

void ProgramWindow::showFit() {
    if (!fit_) {
        fit_ = std::make_unique<FitWindow>(*client_);
        if (saveQuestionHook_) fit_->setSaveQuestionHook(saveQuestionHook_);
    }
    fit_->showAndRaise();
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

// --- window events ---------------------------------------------------------------------------

void ProgramWindow::closeEvent(QCloseEvent* event) {
    // Unsaved inputs, then an unsaved study and an unsaved fit, are offered for saving first;
    // Abbrechen keeps the window open and a run going (it waited while the question was open).
    if (!maybeSave() || (study_ && !study_->maybeSaveAll()) || (fit_ && !fit_->maybeSave())) {
        event->ignore();
        return;
    }
    // As the client area alone: a run or a pause ends at once and the program with it.
    client_->endRunForClose();
    event->accept();
}

void ProgramWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!client_->runControl().running() && event->mimeData()->hasUrls() &&
        !openableFileAmong(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void ProgramWindow::dropEvent(QDropEvent* event) {
    const QString path = openableFileAmong(event->mimeData()->urls());
    if (path.isEmpty() || client_->runControl().running()) return;
    event->acceptProposedAction();
    // Opened once the drop has ended: a question about unsaved changes must not hold the
    // program that the file came from.
    QMetaObject::invokeMethod(
        this, [this, path] { openFile(path); }, Qt::QueuedConnection);
}

}  // namespace tesmo::qt
