#include "engine/BodyRecovery.h"
#include "engine/AttemptRecord.h"
#include "engine/Calendar.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::int64_t kDay = 1440;

DateTimeParts at(int y, int mo, int d, int h, int mi) {
    return {0, y, mo, d, h, mi};
}

// Each step's moment from a quit on a month's last day: hours as minutes, two weeks as 14 days,
// months and years where the anniversaries' count turns (so a month without that day comes on
// the next month's first minute). From a leap day too, the month count turns at the moment.
TEST(BodyRecovery, StepsAndTheirMoments) {
    const std::pair<const char*, const char*> rows[] = {
        {"20分", "2008/01/31 10:20"},   {"8時間", "2008/01/31 18:00"},
        {"12時間", "2008/01/31 22:00"}, {"24時間", "2008/02/01 10:00"},
        {"48時間", "2008/02/02 10:00"}, {"72時間", "2008/02/03 10:00"},
        {"2週間", "2008/02/14 10:00"},  {"1か月", "2008/03/01 00:00"},
        {"1年", "2009/01/31 10:00"},    {"2年", "2010/01/31 10:00"},
        {"5年", "2013/01/31 10:00"},    {"10年", "2018/01/31 10:00"},
        {"15年", "2023/01/31 10:00"}};
    ASSERT_EQ(std::size(rows), recoveryMilestones().size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const RecoveryMilestone& m = recoveryMilestones()[i];
        EXPECT_EQ(QString::fromUtf16(m.when).toStdString() + ' ' +
                      momentText(recoveryMoment(m, at(2008, 1, 31, 10, 0))).toStdString(),
                  rows[i].first + (' ' + std::string(rows[i].second)));
        const DateTimeParts leapDay = at(2008, 2, 29, 12, 0);
        const DateTimeParts moment = recoveryMoment(m, leapDay);
        const auto months = [&](std::int64_t after) {
            const DateTimeParts e = elapsedSince(leapDay, minutesAfter(moment, after)).parts;
            return e[1] * 12 + e[2];
        };
        if (m.months > 0) {
            EXPECT_EQ(std::pair(months(-1), months(0)), std::pair(m.months - 1, m.months)) << i;
        }
    }
}

// The bars: none at the start or set back, each step reached at its minute, all full past the last.
TEST(BodyRecovery, ProgressAtEachBoundary) {
    const DateTimeParts quit = at(2008, 1, 31, 10, 0);
    const RecoveryProgress start = recoveryProgress(quit, quit);
    for (const RecoveryProgress& p : {start, recoveryProgress(quit, at(2008, 1, 30, 9, 0))}) {
        for (const RecoveryRow& row : p.rows)
            EXPECT_TRUE(row.percent == 0 && !row.reached);
        EXPECT_EQ(std::pair(p.next, p.minutesLeft), std::pair(std::optional(0), std::int64_t{20}));
    }
    for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
        const RecoveryProgress before =
            recoveryProgress(quit, minutesAfter(start.rows[i].moment, -1));
        const RecoveryProgress on = recoveryProgress(quit, start.rows[i].moment);
        EXPECT_TRUE(!before.rows[i].reached && before.rows[i].percent < 100) << i;
        EXPECT_EQ(std::pair(before.next, before.minutesLeft),
                  std::pair(std::optional(i), std::int64_t{1}));
        EXPECT_TRUE(on.rows[i].reached && on.rows[i].percent == 100) << i;
        EXPECT_EQ(on.next, i + 1 < kRecoveryMilestoneCount ? std::optional(i + 1) : std::nullopt);
    }
    for (const RecoveryRow& row : recoveryProgress(quit, at(2040, 6, 1, 0, 0)).rows)
        EXPECT_TRUE(row.percent == 100 && row.reached);
}

} // namespace
