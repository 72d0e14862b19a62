// The engine against clocks far from today: a quit in 1900 read in 2026 and at the calendar's
// end, a clock set back, and every month end and leap day of a 400-year cycle, each checked
// against a day count from the civil-date formula rather than the engine's own month walk.
#include "engine/Calendar.h"
#include "engine/StatusEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// Days from 1970-01-01 to a date of the Gregorian calendar (the era formula: 400 years are
// 146097 days, and a year counted from March puts the leap day last).
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t minutesOf(const DateTimeParts& p) {
    return daysFromCivil(p[1], p[2], p[3]) * 1440 + p[4] * 60 + p[5];
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
        const std::int64_t days =
            daysFromCivil(c.now[1], c.now[2], c.now[3]) - daysFromCivil(1900, 1, 1);
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

// Quit on every month end from 1900 to 2299, the eve of every leap day too (the century years
// 1900, 2100 and 2200 have none, 2000 has one), read on every month end and leap day of the
// following year and on the same day 400 years on; the times cross midnight both ways.
TEST(Clocks, EveryMonthEndAndLeapDayOver400YearsAgreesWithTheCivilDayCount) {
    std::vector<DateTimeParts> dates;
    for (std::int64_t year = 1900; year < 2300; ++year) {
        for (std::int64_t month = 1; month <= 12; ++month) {
            const std::int64_t last = month == 2 ? februaryDays(year) : kCommonYearMonthDays[month];
            if (month == 2 && last == 29)
                dates.push_back({0, year, 2, 28, 0, 0});
            dates.push_back({0, year, month, last, 0, 0});
        }
    }
    const std::pair<std::int64_t, std::int64_t> times[] = {{23, 59}, {0, 0}, {12, 30}, {0, 1}};
    std::size_t checked = 0;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        DateTimeParts quit = dates[i];
        std::tie(quit[4], quit[5]) = times[i % 4];
        std::vector<DateTimeParts> reads(
            dates.begin() + static_cast<std::ptrdiff_t>(i),
            dates.begin() + static_cast<std::ptrdiff_t>(std::min(i + 15, dates.size())));
        reads.push_back({0, quit[1] + 400, quit[2], quit[3], 0, 0});
        for (std::size_t j = 0; j < reads.size(); ++j) {
            DateTimeParts now = reads[j];
            std::tie(now[4], now[5]) = times[(i + j + 1) % 4];
            if (minutesOf(now) < minutesOf(quit))
                continue;
            ASSERT_EQ(elapsedSince(quit, now).minutes, minutesOf(now) - minutesOf(quit))
                << quit[1] << '-' << quit[2] << '-' << quit[3] << ' ' << quit[4] << ':' << quit[5]
                << " → " << now[1] << '-' << now[2] << '-' << now[3] << ' ' << now[4] << ':'
                << now[5];
            ++checked;
        }
    }
    EXPECT_GT(checked, 70000u);
}

} // namespace
