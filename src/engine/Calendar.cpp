#include "engine/Calendar.h"

#include "engine/WholeNumbers.h"

#include <algorithm>

namespace {

void applyFebruaryRule(std::int64_t year, MonthDays& monthDays) {
    monthDays[2] = 28;
    if (year % 4 == 0)
        SetFebruaryDays(year, monthDays[2]);
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
    MonthDays monthDays = kCommonYearMonthDays;
    applyFebruaryRule(parts[1], monthDays);
    parts[3] = std::clamp<std::int64_t>(parts[3], 1, monthDays[parts[2]]);
    parts[4] = std::clamp<std::int64_t>(parts[4], 0, 23);
    parts[5] = std::clamp<std::int64_t>(parts[5], 0, 59);
    return parts;
}

} // namespace

void SetFebruaryDays(std::int64_t year, std::int64_t& february) {
    february = 29;
    if (year % 100 == 0) {
        february = 28;
        if (year % 400 == 0)
            february = 29;
    }
}

void CountDaysAndMinutes(const DateTimeParts& quitParts, const DateTimeParts& nowParts,
                         MonthDays& monthDays, std::int64_t& days, std::int64_t& minutes) {
    std::int64_t quitYearMonth = quitParts[1] * 100 + quitParts[2];
    const std::int64_t nowYearMonth = nowParts[1] * 100 + nowParts[2];

    if (quitYearMonth % 100 == 2)
        applyFebruaryRule(quitYearMonth / 100, monthDays);
    const std::int64_t quitMonthLength = monthDays[quitYearMonth % 100];
    days = quitMonthLength - (quitParts[3] + 1);
    minutes = minutesToMidnight(quitParts[4], quitParts[5]);

    if (quitYearMonth == nowYearMonth) {
        days -= quitMonthLength - (nowParts[3] + 1);
        minutes -= minutesToMidnight(nowParts[4], nowParts[5]);
    } else {
        days += nowParts[3];
        minutes += nowParts[4] * 60 + nowParts[5];
    }

    quitYearMonth = nextMonth(quitYearMonth);
    while (quitYearMonth < nowYearMonth) {
        if (quitYearMonth % 100 == 2)
            applyFebruaryRule(quitYearMonth / 100, monthDays);
        days += monthDays[quitYearMonth % 100];
        quitYearMonth = nextMonth(quitYearMonth);
    }
}

DateTimeParts elapsedPartsBetween(const DateTimeParts& quitParts, DateTimeParts now) {
    MonthDays nowMonths = kCommonYearMonthDays;
    MonthDays quitMonths = kCommonYearMonthDays;
    if (now[1] % 4 == 0)
        SetFebruaryDays(now[1], nowMonths[2]);
    if (quitParts[1] % 4 == 0)
        SetFebruaryDays(quitParts[1], quitMonths[2]);

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
    MonthDays monthDays = kCommonYearMonthDays;
    std::int64_t days = 0;
    std::int64_t minutes = 0;
    CountDaysAndMinutes(quitParts, nowParts, monthDays, days, minutes);
    result.minutes = days * kMinutesPerDay + minutes;
    result.parts = elapsedPartsBetween(quitParts, nowParts);
    return result;
}
