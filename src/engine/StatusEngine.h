#pragma once

#include "engine/Calendar.h"
#include "engine/Milestones.h"
#include "engine/QuitStatistics.h"
#include "settings/AppState.h"

#include <QString>

// The six texts of the main window, as one refresh writes them.
struct StatusTexts {
    QString elapsed;    // "０年０ヶ月５日０時間０分"
    QString lifeGained; // "０日と９時間１０分"
    QString money;      // "1500円（節税分945円）"
    QString title;      // "軍曹"
    QString cigarettes; // "5箱 8.5ｍ 金剛力士立像吽形"
    QString message;    // the message of the day
};

// Everything one refresh shows, computed from the settings, the current minute and the draw r.
struct StatusSnapshot {
    ElapsedTime elapsed;
    QuitFigures figures;
    StatusTexts texts;
    LungColour lung{};
    MilestoneView milestones;
};

StatusSnapshot computeStatus(const QuitSettings& settings, const DateTimeParts& now, int r);
