#include "gui/save_question.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace tesmo::qt {

QString saveQuestionText(const QString& document) {
    return QStringLiteral("Änderungen an „%1“ speichern?").arg(document);
}

QString documentName(const QString& path) {
    return path.isEmpty() ? QStringLiteral("unbenannt") : QFileInfo(path).fileName();
}

SaveChoice askToSaveChanges(QWidget* parent, const QString& title, const QString& document,
                            const SaveQuestionHook& hook) {
    const QString question = saveQuestionText(document);
    if (hook) return hook(question);
    QMessageBox box(QMessageBox::Warning, title, question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Ohne Speichern gehen die Änderungen verloren."));
    // The words stand here, not only in Qt's translation, so that they are German even where
    // that translation is not installed.
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Speichern"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Verwerfen"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::WindowModal);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

bool maybeSaveChanges(QWidget* parent, const QString& title, const QString& path,
                      const SaveQuestionHook& hook, const std::function<bool()>& save) {
    switch (askToSaveChanges(parent, title, documentName(path), hook)) {
        case SaveChoice::Save:
            return save();
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

}  // namespace tesmo::qt
