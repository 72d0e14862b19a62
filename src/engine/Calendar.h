#pragma once

#include "settings/AppState.h"

#include <array>
#include <cstdint>

// Month lengths, index 0 = December, 1..12 = January..December.
using MonthDays = std::array<std::int64_t, 13>;

inline constexpr MonthDays kCommonYearMonthDays{31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days of February: 29 in years divisible by 4, except century years not divisible by 400.
std::int64_t februaryDays(std::int64_t year);

struct DaysAndMinutes {
    std::int64_t days = 0;    // calendar days between the two dates
    std::int64_t minutes = 0; // minutes between the two times of day, possibly negative
};

// Days and minutes from the quit moment to now by the Gregorian calendar; the elapsed minutes
// are days × 1440 + minutes.
DaysAndMinutes daysAndMinutesBetween(const DateTimeParts& quitParts, const DateTimeParts& nowParts);

// Years, months, days, hours and minutes by the borrow chain: a borrowed month counts as the
// longer of the month before now and the quit month.
DateTimeParts elapsedPartsBetween(const DateTimeParts& quitParts, DateTimeParts nowParts);

struct ElapsedTime {
    std::int64_t minutes = 0;
    DateTimeParts parts{};
};

// The moment a number of minutes after the given one, by the Gregorian calendar.
DateTimeParts minutesAfter(const DateTimeParts& parts, std::int64_t minutes);

// Quit fields outside the calendar brought to its nearest edge, as a refresh reads them.
DateTimeParts onCalendar(DateTimeParts parts);

// The elapsed time for a refresh. A quit moment later than now (a clock set back) counts as
// now, so every figure shows the quit moment's own values instead of negative ones. Quit
// fields outside the calendar are brought to its nearest edge before any table is indexed.
ElapsedTime elapsedSince(DateTimeParts quitParts, const DateTimeParts& nowParts);
