#pragma once

#include "engine/Calendar.h"
#include "engine/Milestones.h"
#include "settings/AppState.h"

#include <QString>

#include <array>

// Everything one refresh shows, computed from the settings, the current minute and the draw r.
struct StatusSnapshot {
    ElapsedTime elapsed;
    std::int64_t lifeGainedMinutes = 0;
    std::array<QString, 6> valueTexts; // Label2(0) .. Label2(5)
    LungColour lung{};
    MilestoneView milestones;
};

StatusSnapshot computeStatus(const AppState& settings, const DateTimeParts& now, int r);
