#include "desktop/QtJapaneseTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void installQtJapaneseTexts() {
    // Debian installs them with Qt (qt6-translations-l10n); the Windows edition carries them
    // inside the program. Without them Qt's texts stay English.
    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& folder :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations")}) {
        if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}
