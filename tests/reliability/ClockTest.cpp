// The engine against clocks far from today, checked against Qt's own Gregorian day count.
#include "engine/Calendar.h"

#include <QDate>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::int64_t julianDay(const DateTimeParts& p) {
    return QDate(static_cast<int>(p[1]), static_cast<int>(p[2]), static_cast<int>(p[3]))
        .toJulianDay();
}

// Every pair of month ends and leap-day eves from 1900 to 2299, times varied so that midnight is
// crossed both ways; read on the last day of 9999 too, and with the clock set back.
TEST(Clocks, MonthEndsFrom1900AgreeWithAnotherDayCountTo9999AndSetBack) {
    const std::int64_t times[][2] = {{23, 59}, {0, 0}, {12, 30}, {0, 1}};
    std::vector<DateTimeParts> dates;
    std::vector<std::int64_t> minutes;
    for (std::int64_t year = 1900; year < 2300; ++year) {
        for (std::int64_t month = 1; month <= 12; ++month) {
            const std::int64_t end = month == 2 ? februaryDays(year) : kCommonYearMonthDays[month];
            for (std::int64_t day = month == 2 && end == 29 ? 28 : end; day <= end; ++day) {
                const auto [hour, minute] = times[dates.size() % 4];
                dates.push_back({0, year, month, day, hour, minute});
                minutes.push_back(julianDay(dates.back()) * 1440 + hour * 60 + minute);
            }
        }
    }
    const DateTimeParts last{0, 9999, 12, 31, 23, 59};
    const std::int64_t lastMinute = julianDay(last) * 1440 + 23 * 60 + 59;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        for (std::size_t j = i + 1; j < dates.size(); ++j) {
            const DaysAndMinutes counted = daysAndMinutesBetween(dates[i], dates[j]);
            if (counted.days * 1440 + counted.minutes != minutes[j] - minutes[i])
                FAIL() << dates[i][1] << '-' << dates[i][2] << '-' << dates[i][3] << " → "
                       << dates[j][1] << '-' << dates[j][2] << '-' << dates[j][3];
        }
        // The whole road, clock and all, for each quit day up to the calendar's end.
        ASSERT_EQ(elapsedSince(dates[i], last).minutes, lastMinute - minutes[i]);
        ASSERT_EQ(elapsedSince(last, dates[i]).minutes, 0);
    }
}

} // namespace
