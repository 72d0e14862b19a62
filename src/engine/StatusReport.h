#pragma once

#include "settings/AppState.h"

#include <QString>

// The texts of the main window that the report copies as they are shown.
struct ShownTexts {
    QString status;     // Label2(3)
    QString money;      // Label2(2)
    QString cigarettes; // Label2(4)
};

// Size word of the report: 50 小, 85 中, 100 大, otherwise empty.
QString sizeWord(std::int32_t cigLength);

// The six-line report joined by CR LF, no line break at the end; empty for a copyPlusMode
// outside 0..2. Reads quitMoment, elapsedParts, elapsedMinutes, lifeGainedMinutes, perDay,
// packPrice, smokingYears, cigLength, copyPlusMode and detailView.
QString statusReport(const AppState& state, const ShownTexts& shown);
