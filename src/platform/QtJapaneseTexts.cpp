#include "platform/QtJapaneseTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void installQtJapaneseTexts() {
    // Debian ships them in qt6-translations-l10n, windeployqt beside the program; without them
    // Qt's texts stay English.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
