// The engine against clocks far from today, checked against Qt's own Gregorian day count: written
// apart from the engine's, the two can only agree by both being right.
#include "engine/Calendar.h"
#include "engine/StatusEngine.h"

#include <QDate>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

std::int64_t julianDay(const DateTimeParts& p) {
    return QDate(static_cast<int>(p[1]), static_cast<int>(p[2]), static_cast<int>(p[3]))
        .toJulianDay();
}

// Whole days from 1900 to today and to 9999, 1100 minutes of life a day at 200 a day; a clock set
// back a day or a century counts nothing.
TEST(Clocks, FarFromTheQuitMomentAndSetBack) {
    const struct {
        DateTimeParts quit, now, parts;
    } cases[] = {{{0, 1900, 1, 1, 0, 0}, {0, 2026, 12, 6, 0, 0}, {0, 126, 11, 5, 0, 0}},
                 {{0, 1900, 1, 1, 0, 0}, {0, 9999, 12, 31, 0, 0}, {0, 8099, 11, 30, 0, 0}},
                 {{0, 2008, 8, 26, 10, 23}, {0, 2008, 8, 25, 10, 23}, {}},
                 {{0, 2008, 8, 26, 10, 23}, {0, 1908, 8, 26, 10, 23}, {}}};
    for (const auto& c : cases) {
        const QuitSettings s{
            .quitMoment = c.quit, .perDay = 200, .packPrice = 2000, .statusMode = {}};
        const std::int64_t days = std::max<std::int64_t>(0, julianDay(c.now) - julianDay(c.quit));
        const StatusSnapshot got = computeStatus(s, c.now, 50);
        EXPECT_EQ(std::tuple(got.elapsed.minutes, got.elapsed.parts, got.lifeGainedMinutes),
                  std::tuple(days * 1440, c.parts, days * 1100))
            << c.now[1];
    }
}

// Every pair of month ends from 1900 to 2299, and the eve of every leap day (1900, 2100 and 2200
// have none, 2000 has one): quit on the one, read on the other, the times of day varied so that
// midnight is crossed both ways.
TEST(Clocks, EveryMonthEndAndLeapDayPairOver400YearsAgreesWithAnotherDayCount) {
    const std::int64_t times[][2] = {{23, 59}, {0, 0}, {12, 30}, {0, 1}};
    std::vector<DateTimeParts> dates;
    std::vector<std::int64_t> minutes;
    for (std::int64_t year = 1900; year < 2300; ++year) {
        for (std::int64_t month = 1; month <= 12; ++month) {
            const std::int64_t last = month == 2 ? februaryDays(year) : kCommonYearMonthDays[month];
            for (std::int64_t day = month == 2 && last == 29 ? 28 : last; day <= last; ++day) {
                const auto [hour, minute] = times[dates.size() % 4];
                dates.push_back({0, year, month, day, hour, minute});
                minutes.push_back(julianDay(dates.back()) * 1440 + hour * 60 + minute);
            }
        }
    }
    for (std::size_t i = 0; i < dates.size(); ++i) {
        for (std::size_t j = i + 1; j < dates.size(); ++j) {
            const DaysAndMinutes counted = daysAndMinutesBetween(dates[i], dates[j]);
            if (counted.days * 1440 + counted.minutes != minutes[j] - minutes[i])
                FAIL() << dates[i][1] << '-' << dates[i][2] << '-' << dates[i][3] << " → "
                       << dates[j][1] << '-' << dates[j][2] << '-' << dates[j][3];
        }
        // The whole road, clock and all, for each quit day up to the cycle's end.
        ASSERT_EQ(elapsedSince(dates[i], dates.back()).minutes, minutes.back() - minutes[i]);
    }
}

} // namespace
