#include "app/ApplicationLook.h"

#include "desktop/JapaneseFont.h"
#include "desktop/QtJapaneseTexts.h"

#include <QApplication>
#include <QIcon>

void prepareApplicationLook() {
    installJapaneseFontSubstitutes();
    installQtJapaneseTexts();
    // Given with their sizes, the pictures are read only when a window first shows its icon.
    QIcon icon;
    icon.addFile(QStringLiteral(":/kemurin16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/kemurin.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
}
