// The question a desktop program asks before it discards unsaved changes:
// "Änderungen an „fall.tgcase“ speichern?" with Speichern, Verwerfen and Abbrechen.
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace tesmo::qt {

enum class SaveChoice { Save, Discard, Cancel };

// Answers the question instead of a dialog (tests); receives the question's text.
using SaveQuestionHook = std::function<SaveChoice(const QString& question)>;

// "Änderungen an „name“ speichern?"; `document` is the file's name or "unbenannt".
QString saveQuestionText(const QString& document);

// Asks in a window-modal box of `parent` (or the hook, when set). Escape and closing the box
// answer Abbrechen: nothing is lost by a question dismissed.
SaveChoice askToSaveChanges(QWidget* parent, const QString& title, const QString& document,
                            const SaveQuestionHook& hook);

// Before unsaved changes of the document at `path` would be lost: asks, and saves by `save`
// when the answer is Speichern. True when the changes may go (saved, or discarded); false for
// Abbrechen or a save that failed or whose dialog was cancelled, which keeps everything.
bool maybeSaveChanges(QWidget* parent, const QString& title, const QString& path,
                      const SaveQuestionHook& hook, const std::function<bool()>& save);

// What a window shows as the name of its document: the file's name without its folder, or
// "unbenannt" for one never saved.
QString documentName(const QString& path);

}  // namespace tesmo::qt
