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

// The six-line report joined by CR LF, no line break at the end; empty for a CopyPlusMode
// outside 0..2. Reads QuitParts, ElapsedParts, ElapsedMinutes, LifeGainedMinutes, PerDay,
// PackPrice, SmokingYears, CigLength, CopyPlusMode and DetailView.
QString BuildStatusReport(const AppState& state, const ShownTexts& shown);
