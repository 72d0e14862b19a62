#include "engine/Calendar.h"

#include "engine/WholeNumbers.h"

#include <algorithm>

namespace {

MonthDays monthDaysOf(std::int64_t year) {
    MonthDays monthDays = kCommonYearMonthDays;
    monthDays[2] = februaryDays(year);
    return monthDays;
}

// Days since 1 March of year 0 in the proleptic Gregorian calendar: whole 400-year eras, then
// the days of the era, counted from March so that a leap day ends its year.
std::int64_t dayNumber(const DateTimeParts& parts) {
    const std::int64_t year = parts[1] - (parts[2] <= 2 ? 1 : 0);
    const std::int64_t era = floorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t month = parts[2] > 2 ? parts[2] - 3 : parts[2] + 9;
    const std::int64_t dayOfYear = (153 * month + 2) / 5 + parts[3] - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

} // namespace

DateTimeParts onCalendar(DateTimeParts parts) {
    parts[1] = std::clamp<std::int64_t>(parts[1], 1, 9999);
    parts[2] = std::clamp<std::int64_t>(parts[2], 1, 12);
    parts[3] = std::clamp<std::int64_t>(parts[3], 1, monthDaysOf(parts[1])[parts[2]]);
    parts[4] = std::clamp<std::int64_t>(parts[4], 0, 23);
    parts[5] = std::clamp<std::int64_t>(parts[5], 0, 59);
    return parts;
}

DateTimeParts minutesAfter(const DateTimeParts& parts, std::int64_t minutes) {
    const std::int64_t total = parts[4] * 60 + parts[5] + minutes;
    const std::int64_t days = floorDiv(total, kMinutesPerDay);
    const std::int64_t minuteOfDay = total - days * kMinutesPerDay;
    // dayNumber run backwards: the era, the year of the era counted from March, then the day.
    const std::int64_t day = dayNumber(parts) + days;
    const std::int64_t era = floorDiv(day, 146097);
    const std::int64_t dayOfEra = day - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t month = (5 * dayOfYear + 2) / 153;
    DateTimeParts after{};
    after[2] = month < 10 ? month + 3 : month - 9;
    after[1] = era * 400 + yearOfEra + (after[2] <= 2 ? 1 : 0);
    after[3] = dayOfYear - (153 * month + 2) / 5 + 1;
    after[4] = minuteOfDay / 60;
    after[5] = minuteOfDay % 60;
    return after;
}

std::int64_t februaryDays(std::int64_t year) {
    if (year % 4 != 0 || (year % 100 == 0 && year % 400 != 0))
        return 28;
    return 29;
}

DaysAndMinutes daysAndMinutesBetween(const DateTimeParts& quitParts,
                                     const DateTimeParts& nowParts) {
    const std::int64_t days = dayNumber(nowParts) - dayNumber(quitParts);
    const std::int64_t minutes =
        nowParts[4] * 60 + nowParts[5] - (quitParts[4] * 60 + quitParts[5]);
    return {days, minutes};
}

DateTimeParts elapsedPartsBetween(const DateTimeParts& quitParts, DateTimeParts now) {
    const MonthDays nowMonths = monthDaysOf(now[1]);
    const MonthDays quitMonths = monthDaysOf(quitParts[1]);

    DateTimeParts elapsed{};
    if (now[5] >= quitParts[5]) {
        elapsed[5] = now[5] - quitParts[5];
    } else {
        elapsed[5] = now[5] + 60 - quitParts[5];
        --now[4];
    }
    if (now[4] >= quitParts[4]) {
        elapsed[4] = now[4] - quitParts[4];
    } else {
        elapsed[4] = now[4] + 24 - quitParts[4];
        --now[3];
    }
    if (now[3] >= quitParts[3]) {
        elapsed[3] = now[3] - quitParts[3];
    } else {
        const std::int64_t borrowed = std::max(nowMonths[now[2] - 1], quitMonths[quitParts[2]]);
        elapsed[3] = now[3] + borrowed - quitParts[3];
        --now[2];
    }
    if (now[2] >= quitParts[2]) {
        elapsed[2] = now[2] - quitParts[2];
    } else {
        elapsed[2] = now[2] + 12 - quitParts[2];
        --now[1];
    }
    elapsed[1] = now[1] - quitParts[1];
    return elapsed;
}

ElapsedTime elapsedSince(DateTimeParts quitParts, const DateTimeParts& nowParts) {
    quitParts = onCalendar(quitParts);
    const auto moment = [](const DateTimeParts& p) {
        return std::array{p[1], p[2], p[3], p[4], p[5]};
    };
    if (moment(quitParts) > moment(nowParts))
        quitParts = nowParts;

    ElapsedTime result;
    const DaysAndMinutes counted = daysAndMinutesBetween(quitParts, nowParts);
    result.minutes = counted.days * kMinutesPerDay + counted.minutes;
    result.parts = elapsedPartsBetween(quitParts, nowParts);
    return result;
}
