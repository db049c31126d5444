// The main window's files: case files opened and saved, the list of recent files, files of
// other kinds handed to their window, and the question before unsaved texts are replaced.
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "files/case_file.h"
#include "files/file_kinds.h"
#include "gui/fit_window.h"
#include "gui/program_status.h"
#include "gui/program_window.h"
#include "gui/study_window.h"

namespace tesmo::qt {

namespace {

const QString kRecentKey = QStringLiteral("zuletztGeoeffnet");

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Every kind the program opens together first, then each kind, then every file.
QString openFilter() {
    QString all, each;
    for (const FileKindSpec& k : fileKinds()) {
        all += (all.isEmpty() ? "*" : " *") + QString::fromUtf8(k.suffix);
        each += QStringLiteral(";;") + QString::fromStdString(dialogFilter(k));
    }
    return QStringLiteral("Alle Tesmo-Gegen-Dateien (%1)").arg(all) + each +
           QStringLiteral(";;Alle Dateien (*)");
}

QString caseFilter() {
    return QString::fromStdString(dialogFilter(fileKindSpec(FileKind::Case))) +
           QStringLiteral(";;Alle Dateien (*)");
}

void storeRecent(const QStringList& files) {
    QSettings().setValue(kRecentKey, files);
}

}  // namespace

InputTexts ProgramWindow::fieldTexts() const {
    InputTexts texts;
    for (int i = 0; i < kInputCount; ++i)
        texts[controlAt(i)] = client_->text(controlAt(i));
    texts.optionen = client_->runControl().runOptions();
    return texts;
}

void ProgramWindow::takeAsSaved(const QString& path, const InputTexts& texts) {
    currentFile_ = path;
    savedTexts_ = texts;
    showDocumentState();
}

bool ProgramWindow::hasUnsavedChanges() const {
    const InputTexts now = fieldTexts();
    return now.text != savedTexts_.text || now.optionen != savedTexts_.optionen;
}

bool ProgramWindow::maybeSave() {
    return !hasUnsavedChanges() ||
           maybeSaveChanges(this, QStringLiteral("Tesmo-Gegen"), currentFile_, saveQuestionHook_,
                            [this] { return save(); });
}

void ProgramWindow::newCase() {
    if (client_->runControl().running() || !maybeSave()) return;
    const InputTexts defaults = defaultInputTexts();
    for (int i = 0; i < kInputCount; ++i)
        client_->setText(controlAt(i), defaults[controlAt(i)]);
    setRunOptions(defaults.optionen);
    takeAsSaved({}, defaults);
}

bool ProgramWindow::openFile(const QString& path) {
    const FileKindSpec* kind = fileKindOf(local(path));
    if (kind && kind->kind == FileKind::Study) {
        showStudy();
        if (study_->running()) {
            showMessage(QStringLiteral("Die Parameterstudie rechnet noch; %1 kann erst nach ihrem "
                                       "Ende geöffnet werden.")
                            .arg(QFileInfo(path).fileName()));
            return false;
        }
        return study_->maybeSave() && study_->openStudy(path);
    }
    if (kind && kind->kind == FileKind::Uncertainty) {
        showStudy();
        return study_->openUncertaintyFile(path);
    }
    if (kind && kind->kind == FileKind::Fit) {
        showFit();
        if (fit_->running()) {
            showMessage(QStringLiteral("Die Anpassung rechnet noch; %1 kann erst nach ihrem "
                                       "Ende geöffnet werden.")
                            .arg(QFileInfo(path).fileName()));
            return false;
        }
        return fit_->maybeSave() && fit_->openFit(path);
    }
    // A case file, or a file of no known suffix, which the case reader checks.
    if (client_->runControl().running() || !maybeSave()) return false;
    return openCase(path);
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
    setRunOptions(texts.optionen);
    takeAsSaved(path, texts);
    rememberFile(path);
    return true;
}

bool ProgramWindow::saveCaseAs(const QString& path) {
    const InputTexts texts = fieldTexts();
    FileProblem problem;
    if (!writeCaseFile(local(path), texts, problem)) {
        showMessage(QString::fromStdString(describe(problem)));
        return false;
    }
    takeAsSaved(path, texts);
    rememberFile(path);
    return true;
}

void ProgramWindow::openWithDialog() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Öffnen"),
                                                      QFileInfo(currentFile_).path(), openFilter());
    if (!path.isEmpty()) openFile(path);
}

bool ProgramWindow::save() {
    return currentFile_.isEmpty() ? saveWithDialog() : saveCaseAs(currentFile_);
}

bool ProgramWindow::saveWithDialog() {
    const QString start = currentFile_.isEmpty() ? QDir::homePath() + "/fall.tgcase" : currentFile_;
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Fall speichern"), start, caseFilter());
    if (path.isEmpty()) return false;
    QString target = path;
    if (QFileInfo(path).suffix().isEmpty()) target += QString::fromUtf8(kCaseFileSuffix);
    return saveCaseAs(target);
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
    storeRecent(files);
}

void ProgramWindow::fillRecentMenu() {
    // Files that are gone since they were opened leave the list for good.
    QStringList files = recentFiles();
    const qsizetype before = files.size();
    files.removeIf([](const QString& path) { return !QFileInfo::exists(path); });
    if (files.size() != before) storeRecent(files);

    recentMenu_->clear();
    if (files.isEmpty()) recentMenu_->addAction(QStringLiteral("(keine)"))->setEnabled(false);
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        // The number is the mnemonic; '&' in a folder's name is shown as it is.
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(shown));
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] {
            if (!openFile(path) && !QFileInfo::exists(path)) {
                QStringList left = recentFiles();
                left.removeAll(path);
                storeRecent(left);
            }
        });
    }
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction(QStringLiteral("&Liste leeren"));
    clear->setObjectName(QStringLiteral("listeLeeren"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [] { storeRecent({}); });
}

}  // namespace tesmo::qt
