#include "gui/german_dialogs.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tesmo::qt {

bool installGermanQtTranslations() {
    // The translator lives as long as the application; installing it twice would only add a
    // second lookup of the same texts.
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto* t = new QTranslator(QCoreApplication::instance());
    // qtbase holds the texts of the widgets, the standard dialogs and the buttons.
    if (!t->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

}  // namespace tesmo::qt
