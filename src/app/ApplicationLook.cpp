#include "app/ApplicationLook.h"

#include "desktop/JapaneseFont.h"
#include "desktop/QtJapaneseTexts.h"

void prepareApplicationLook() {
    installJapaneseFontSubstitutes();
    installQtJapaneseTexts();
}
