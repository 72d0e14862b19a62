#include "app/ApplicationLook.h"

#include "desktop/JapaneseFont.h"
#include "desktop/ProgramIcon.h"
#include "desktop/QtJapaneseTexts.h"

#include <QApplication>

void prepareApplicationLook() {
    installJapaneseFontSubstitutes();
    installQtJapaneseTexts();
    QApplication::setWindowIcon(programIcon());
}
