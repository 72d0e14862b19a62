#pragma once

#include "settings/AppState.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// How the body recovers after the last cigarette, as public health sources tell it: e-ヘルスネット
// of the Ministry of Health, Labour and Welfare, WHO and the NHS. Where they differ, the Japanese
// source's figure is taken.
struct RecoveryMilestone {
    std::int64_t minutes;    // after the start, for the ones counted in minutes; 0 for months
    std::int64_t months;     // calendar months after the start, as the anniversaries count them
    const char16_t* when;    // "48時間"
    const char16_t* meaning; // "においや味がもどってくるころです"
    const char16_t* source;  // "NHS、e-ヘルスネット"
};

inline constexpr int kRecoveryMilestoneCount = 13;
// The milestones in the order they come.
const std::array<RecoveryMilestone, kRecoveryMilestoneCount>& recoveryMilestones();

// The moment a milestone comes for a count started at start (a quit moment or an attempt's
// start, brought onto the calendar as a refresh reads it).
DateTimeParts recoveryMoment(const RecoveryMilestone& milestone, const DateTimeParts& start);

struct RecoveryRow {
    DateTimeParts moment{}; // when the milestone comes
    bool reached = false;
    int percent = 0; // 0..100 of the way from the start to the milestone
};

struct RecoveryProgress {
    std::array<RecoveryRow, kRecoveryMilestoneCount> rows{};
    std::optional<int> next;      // the first milestone not reached; none once all are
    std::int64_t minutesLeft = 0; // until the next one
};

// Where each milestone stands at now. A start later than now (a clock set back) counts as now.
RecoveryProgress recoveryProgress(const DateTimeParts& start, const DateTimeParts& now);

// The last milestone whose moment lies after beforeMinutes and at or before nowMinutes, both
// counted from start; none where no milestone came between.
std::optional<int> recoveryReachedBetween(const DateTimeParts& start, std::int64_t beforeMinutes,
                                          std::int64_t nowMinutes);

// "あと 3時間12分", "あと 2日3時間12分", "あと 5分"
QString recoveryTimeLeftText(std::int64_t minutes);
// "2008年8月21日"
QString recoveryDateText(const DateTimeParts& moment);
// How far an attempt from start to end got: "最長記録では『1年』まで"; empty where it reached
// no milestone.
QString bestRunRecoveryText(const DateTimeParts& start, const DateTimeParts& end);
