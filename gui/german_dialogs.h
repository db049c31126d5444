// Qt's own texts in German: the buttons of message boxes, the file dialogs ("Suchen in",
// "Dateiname"), the context menus of text fields. The program's own texts are German already;
// without this, every standard dialog would speak English beside them.
#pragma once

namespace tesmo::qt {

// Installs Qt's German translations (Debian: qt6-translations-l10n) into the running
// application, once. False when they are not installed: the dialogs then stay English.
bool installGermanQtTranslations();

}  // namespace tesmo::qt
