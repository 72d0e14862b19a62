#include "engine/Calendar.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

DateTimeParts at(int y, int mo, int d, int h, int mi) {
    return {0, y, mo, d, h, mi};
}

TEST(FebruaryDays, FollowsTheGregorianRule) {
    const struct {
        int year;
        int days;
    } cases[] = {{1900, 28}, {2000, 29}, {2004, 29}, {2007, 28}, {2008, 29}, {2100, 28}, {2400, 29}};
    for (const auto& c : cases)
        EXPECT_EQ(februaryDays(c.year), c.days) << c.year;
}

struct ElapsedCase {
    const char* name;
    DateTimeParts quit;
    DateTimeParts now;
    std::int64_t minutes;
    DateTimeParts parts;
};

class ElapsedTest : public testing::TestWithParam<ElapsedCase> {};

TEST_P(ElapsedTest, MinutesAndBorrowChain) {
    const ElapsedCase& c = GetParam();
    const ElapsedTime e = elapsedSince(c.quit, c.now);
    EXPECT_EQ(e.minutes, c.minutes);
    EXPECT_EQ(e.parts, c.parts);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, ElapsedTest,
    testing::Values(
        ElapsedCase{"same_minute", at(2008, 8, 26, 10, 23), at(2008, 8, 26, 10, 23), 0, {}},
        ElapsedCase{"month_walk",
                    at(2008, 7, 7, 10, 30),
                    at(2008, 8, 8, 11, 0),
                    46110,
                    {0, 0, 1, 1, 0, 30}},
        ElapsedCase{"leap_february",
                    at(2008, 2, 28, 10, 0),
                    at(2008, 3, 1, 10, 0),
                    2880,
                    {0, 0, 0, 2, 0, 0}},
        ElapsedCase{"december_borrow_moves_year",
                    at(2007, 12, 20, 10, 0),
                    at(2008, 1, 10, 10, 0),
                    30240,
                    {0, 0, 0, 21, 0, 0}},
        ElapsedCase{"longer_month_is_borrowed",
                    at(2008, 1, 31, 0, 0),
                    at(2008, 3, 1, 0, 0),
                    30 * 1440,
                    {0, 0, 1, 1, 0, 0}},
        ElapsedCase{"hour_and_day_borrow",
                    at(2008, 1, 31, 12, 0),
                    at(2008, 3, 2, 11, 0),
                    31 * 1440 - 60,
                    {0, 0, 1, 1, 23, 0}},
        ElapsedCase{"turn_of_the_year",
                    at(2025, 12, 31, 23, 59),
                    at(2026, 1, 1, 0, 0),
                    1,
                    {0, 0, 0, 0, 0, 1}},
        ElapsedCase{"century_1900_has_no_leap_day",
                    at(1900, 2, 28, 0, 0),
                    at(1900, 3, 1, 0, 0),
                    1440,
                    {0, 0, 0, 1, 0, 0}},
        ElapsedCase{"year_2000_has_a_leap_day",
                    at(2000, 2, 28, 0, 0),
                    at(2000, 3, 1, 0, 0),
                    2880,
                    {0, 0, 0, 2, 0, 0}},
        ElapsedCase{"century_2100_has_no_leap_day",
                    at(2100, 2, 28, 0, 0),
                    at(2100, 3, 1, 0, 0),
                    1440,
                    {0, 0, 0, 1, 0, 0}},
        ElapsedCase{"leap_day_to_next_year",
                    at(2024, 2, 29, 12, 0),
                    at(2025, 3, 1, 12, 0),
                    366 * 1440,
                    {0, 1, 0, 1, 0, 0}},
        ElapsedCase{"one_whole_year",
                    at(2007, 8, 26, 10, 23),
                    at(2008, 8, 26, 10, 23),
                    366 * 1440,
                    {0, 1, 0, 0, 0, 0}},
        ElapsedCase{"clock_set_back_shows_the_quit_moment",
                    at(2008, 8, 26, 10, 23),
                    at(2008, 8, 25, 9, 0),
                    0,
                    {}},
        ElapsedCase{"month_outside_the_calendar_is_kept_in_range",
                    at(2008, 13, 40, 30, 99),
                    at(2009, 1, 1, 0, 0),
                    1,
                    {0, 0, 0, 0, 0, 1}}),
    [](const testing::TestParamInfo<ElapsedCase>& info) { return info.param.name; });

// The month walk must agree with the real calendar for any pair of moments.
TEST(DaysAndMinutesBetween, AgreesWithTheCalendarOverCenturies) {
    QRandomGenerator random(20081226);
    const QDateTime base(QDate(1890, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < 5000; ++i) {
        const QDateTime quit = base.addSecs(60 * random.bounded(120LL * 525600));
        const QDateTime now = quit.addSecs(60 * random.bounded(100LL * 525600));
        const DateTimeParts q = at(quit.date().year(), quit.date().month(), quit.date().day(),
                                   quit.time().hour(), quit.time().minute());
        const DateTimeParts n = at(now.date().year(), now.date().month(), now.date().day(),
                                   now.time().hour(), now.time().minute());
        const DaysAndMinutes counted = daysAndMinutesBetween(q, n);
        ASSERT_EQ(counted.days * 1440 + counted.minutes, quit.secsTo(now) / 60)
            << quit.toString(Qt::ISODate).toStdString() << " → "
            << now.toString(Qt::ISODate).toStdString();
    }
}

TEST(ElapsedSince, ThousandsOfYearsAheadOverflowNothing) {
    const ElapsedTime e = elapsedSince(at(2008, 8, 26, 10, 23), at(9999, 12, 31, 23, 59));
    const QDateTime quit(QDate(2008, 8, 26), QTime(10, 23), Qt::UTC);
    const QDateTime now(QDate(9999, 12, 31), QTime(23, 59), Qt::UTC);
    EXPECT_EQ(e.minutes, quit.secsTo(now) / 60);
    EXPECT_EQ(e.parts[1], 7991);
}

} // namespace
