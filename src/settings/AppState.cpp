#include "settings/AppState.h"

#include "settings/ProgramAddresses.h"

void AppState::setQuitDefaults(const DateTimeParts& now) {
    quitMoment = now;
    quitMoment[0] = 0;
    perDay = 20;
    packPrice = 300;
    cigLength = 85;
}

void AppState::setOptionDefaults() {
    started = 0;
    tobaccoTaxPer1000 = 8744;
    consumptionTaxPercent = 5;
    copyPlusMode = 0;
    smokingYears = 5;
    boxDisplay = 1;
    mainLeft = 0;
    mainTop = 0;
    backColour = 9241372;
    textColour = 16777215;
    blogUrl = QString::fromLatin1(kDefaultBlogUrl);
    windowMode = 2;
    miniLeft = 0;
    miniTop = 0;
    statusMode = QStringLiteral("ソルジャー");
    blogUrlBytes.clear();
    statusModeBytes.clear();
}
