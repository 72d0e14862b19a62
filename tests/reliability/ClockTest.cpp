// The engine against clocks far from today: a quit in 1900 read in 2026 and at the calendar's
// end, a clock set back, and every month end and leap day of a 400-year cycle, each checked
// against a day count that is not the engine's own.
#include "engine/Calendar.h"
#include "engine/StatusEngine.h"

#include <QDate>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// The day count from Qt's own Gregorian calendar: written apart from the engine's day numbers,
// so that the two can only agree by both being right.
std::int64_t julianDay(std::int64_t y, std::int64_t m, std::int64_t d) {
    return QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)).toJulianDay();
}

std::int64_t minutesOf(const DateTimeParts& p) {
    return julianDay(p[1], p[2], p[3]) * 1440 + p[4] * 60 + p[5];
}

QuitSettings heavySmoker() {
    QuitSettings s;
    s.quitMoment = {0, 1900, 1, 1, 0, 0};
    s.perDay = 200;
    s.packPrice = 2000;
    s.statusMode = QStringLiteral("ソルジャー");
    return s;
}

// 200 a day at 2000 yen a pack of 20 is 20000 yen a day, 1748.8 yen of it tobacco tax
// (8744 yen per 1000) and 100000/105 yen consumption tax (5 % inside the price); each
// cigarette gives 5.5 minutes, 1100 a day.
TEST(Clocks, AQuitIn1900ReadIn2026AndAtTheCalendarsEnd) {
    const struct {
        DateTimeParts now;
        DateTimeParts parts;
    } cases[] = {{{0, 2026, 12, 6, 0, 0}, {0, 126, 11, 5, 0, 0}},
                 {{0, 9999, 12, 31, 0, 0}, {0, 8099, 11, 30, 0, 0}}};
    for (const auto& c : cases) {
        const std::int64_t days = julianDay(c.now[1], c.now[2], c.now[3]) - julianDay(1900, 1, 1);
        const StatusSnapshot s = computeStatus(heavySmoker(), c.now, 50);
        EXPECT_EQ(s.elapsed.minutes, days * 1440) << c.now[1];
        EXPECT_EQ(s.elapsed.parts, c.parts) << c.now[1];
        EXPECT_EQ(s.lifeGainedMinutes, days * 1100) << c.now[1];
        const std::int64_t tax = days * 17488 / 10 + days * 100000 / 105;
        EXPECT_EQ(s.texts.money.toStdString(),
                  QStringLiteral("%1円（節税分%2円）").arg(days * 20000).arg(tax).toStdString())
            << c.now[1];
    }
}

// A clock set back before the quit moment shows the quit moment's own figures, nothing
// negative, whether a day or a century back.
TEST(Clocks, AClockSetBackShowsTheQuitMomentsOwnFigures) {
    QuitSettings settings = heavySmoker();
    settings.quitMoment = {0, 2008, 8, 26, 10, 23};
    const StatusSnapshot atQuit = computeStatus(settings, settings.quitMoment, 50);
    EXPECT_EQ(atQuit.texts.money.toStdString(), "0円（節税分0円）");
    for (const DateTimeParts& now :
         {DateTimeParts{0, 2008, 8, 25, 10, 23}, DateTimeParts{0, 1908, 8, 26, 10, 23}}) {
        const StatusSnapshot back = computeStatus(settings, now, 50);
        EXPECT_EQ(back.elapsed.minutes, 0) << now[1];
        EXPECT_EQ(back.elapsed.parts, DateTimeParts{}) << now[1];
        EXPECT_EQ(back.lifeGainedMinutes, 0) << now[1];
        for (const auto& [shown, expected] :
             {std::pair{back.texts.elapsed, atQuit.texts.elapsed},
              std::pair{back.texts.money, atQuit.texts.money},
              std::pair{back.texts.title, atQuit.texts.title},
              std::pair{back.texts.cigarettes, atQuit.texts.cigarettes},
              std::pair{back.texts.message, atQuit.texts.message}})
            EXPECT_EQ(shown.toStdString(), expected.toStdString()) << now[1];
    }
}

// Every pair of month ends from 1900 to 2299, the eve of every leap day too (the century years
// 1900, 2100 and 2200 have none, 2000 has one): quit on the one, read on the other. The times
// of day vary so that midnight is crossed both ways.
TEST(Clocks, EveryMonthEndAndLeapDayPairOver400YearsAgreesWithAnotherDayCount) {
    const std::pair<std::int64_t, std::int64_t> times[] = {{23, 59}, {0, 0}, {12, 30}, {0, 1}};
    std::vector<DateTimeParts> dates;
    std::vector<std::int64_t> minutes;
    for (std::int64_t year = 1900; year < 2300; ++year) {
        for (std::int64_t month = 1; month <= 12; ++month) {
            const std::int64_t last = month == 2 ? februaryDays(year) : kCommonYearMonthDays[month];
            for (std::int64_t day = month == 2 && last == 29 ? 28 : last; day <= last; ++day) {
                const auto [hour, minute] = times[dates.size() % 4];
                dates.push_back({0, year, month, day, hour, minute});
                minutes.push_back(minutesOf(dates.back()));
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
