#pragma once

#include "settings/AppState.h"

#include <QString>

#include <array>
#include <cstdint>

// The settings as the settings window holds them: texts as typed, choices as chosen.
struct SettingsEntry {
    std::array<QString, 5> quitMoment; // year, month, day, hour, minute
    QString perDay;
    QString packPrice;
    std::int32_t cigLength = 85;
    QString tobaccoTaxPer1000;
    QString consumptionTaxPercent;
    std::int32_t copyPlusMode = 0;
    QString smokingYears;
    std::int32_t boxDisplay = 1;
    QString blogUrl;
    QString statusMode;
};

enum class EntryProblem { None, OutOfRange, InTheFuture };

struct CheckedEntry {
    EntryProblem problem = EntryProblem::None;
    QuitSettings settings; // valid only without a problem
    QString blogUrl;
};

// The last year the calendar counts to; a quit moment read from a file may lie up to there.
inline constexpr std::int64_t kLastCalendarYear = 9999;

// A quit moment on the calendar between 1900 and the end of thisYear: months 1..12, days within
// their month, hours 0..23, minutes 0..59.
bool isAcceptableQuitMoment(const DateTimeParts& moment, std::int64_t thisYear);

// Checks every value before anything is kept: the quit moment on the calendar (1900 up to
// this year) and not after `now`, 1..200 a day, 1..2000 yen, taxes 0..100000 and 0..100, and
// 1..99 smoking years. A range problem hides a future moment: one problem at most.
CheckedEntry checkSettingsEntry(const SettingsEntry& entry, const DateTimeParts& now);

// The address as option.ini can keep it and a browser reads it the same: blanks around it
// dropped, no line breaks, a double quote and any character code page 932 cannot hold
// percent-encoded as UTF-8.
QString storableAddress(const QString& typed);
