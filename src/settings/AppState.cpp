#include "settings/AppState.h"

#include "settings/ProgramAddresses.h"

void AppState::setQuitDefaults(const DateTimeParts& now) {
    QuitParts = now;
    QuitParts[0] = 0;
    PerDay = 20;
    PackPrice = 300;
    CigLength = 85;
}

void AppState::setOptionDefaults() {
    Started = 0;
    TobaccoTaxPer1000 = 8744;
    ConsumptionTaxPercent = 5;
    CopyPlusMode = 0;
    SmokingYears = 5;
    BoxDisplay = 1;
    MainLeft = 0;
    MainTop = 0;
    BackColour = 9241372;
    TextColour = 16777215;
    BlogUrl = QString::fromLatin1(kDefaultBlogUrl);
    WindowMode = 2;
    MiniLeft = 0;
    MiniTop = 0;
    StatusMode = QStringLiteral("ソルジャー");
}
