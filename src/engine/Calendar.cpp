#include "engine/Calendar.h"

#include "engine/WholeNumbers.h"

#include <algorithm>

namespace {

MonthDays monthDaysOf(std::int64_t year) {
    MonthDays monthDays = kCommonYearMonthDays;
    monthDays[2] = februaryDays(year);
    return monthDays;
}

std::int64_t nextMonth(std::int64_t yearMonth) {
    ++yearMonth;
    if (yearMonth % 100 > 12)
        yearMonth = yearMonth - yearMonth % 100 + 101;
    return yearMonth;
}

std::int64_t minutesToMidnight(std::int64_t hour, std::int64_t minute) {
    return (24 - (hour + 1)) * 60 + (60 - minute);
}

// Keeps a hand-edited quit moment inside the ranges the tables are indexed with.
DateTimeParts onCalendar(DateTimeParts parts) {
    parts[1] = std::clamp<std::int64_t>(parts[1], 1, 9999);
    parts[2] = std::clamp<std::int64_t>(parts[2], 1, 12);
    parts[3] = std::clamp<std::int64_t>(parts[3], 1, monthDaysOf(parts[1])[parts[2]]);
    parts[4] = std::clamp<std::int64_t>(parts[4], 0, 23);
    parts[5] = std::clamp<std::int64_t>(parts[5], 0, 59);
    return parts;
}

} // namespace

std::int64_t februaryDays(std::int64_t year) {
    if (year % 4 != 0 || (year % 100 == 0 && year % 400 != 0))
        return 28;
    return 29;
}

DaysAndMinutes daysAndMinutesBetween(const DateTimeParts& quitParts,
                                     const DateTimeParts& nowParts) {
    std::int64_t quitYearMonth = quitParts[1] * 100 + quitParts[2];
    const std::int64_t nowYearMonth = nowParts[1] * 100 + nowParts[2];

    const std::int64_t quitMonthLength = monthDaysOf(quitParts[1])[quitParts[2]];
    std::int64_t days = quitMonthLength - (quitParts[3] + 1);
    std::int64_t minutes = minutesToMidnight(quitParts[4], quitParts[5]);

    if (quitYearMonth == nowYearMonth) {
        days -= quitMonthLength - (nowParts[3] + 1);
        minutes -= minutesToMidnight(nowParts[4], nowParts[5]);
    } else {
        days += nowParts[3];
        minutes += nowParts[4] * 60 + nowParts[5];
    }

    quitYearMonth = nextMonth(quitYearMonth);
    while (quitYearMonth < nowYearMonth) {
        days += monthDaysOf(quitYearMonth / 100)[quitYearMonth % 100];
        quitYearMonth = nextMonth(quitYearMonth);
    }
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
