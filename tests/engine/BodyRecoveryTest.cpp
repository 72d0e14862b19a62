#include "engine/BodyRecovery.h"
#include "engine/Calendar.h"
#include "engine/Clock.h"
#include "engine/MilestoneNotices.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::int64_t kDay = 1440;

DateTimeParts at(int y, int mo, int d, int h, int mi) {
    return {0, y, mo, d, h, mi};
}

std::string text(const char16_t* utf16) {
    return QString::fromUtf16(utf16).toStdString();
}

std::string dateTime(const DateTimeParts& p) {
    const auto two = [](std::int64_t v) { return QStringLiteral("%1").arg(v, 2, 10, QChar(u'0')); };
    return (QStringLiteral("%1").arg(p[1], 4, 10, QChar(u'0')) + u'-' + two(p[2]) + u'-' +
            two(p[3]) + u' ' + two(p[4]) + u':' + two(p[5]))
        .toStdString();
}

// Each row's words and source; a row moved, lost or reworded shows here first.
TEST(BodyRecovery, EachRowsTexts) {
    const std::array<const char*, 3> rows[] = {
        {"20分", "脈拍と血圧が、ふだんの値へ下がりはじめるころです", "WHO、e-ヘルスネット"},
        {"8時間", "血液中の一酸化炭素が減り、酸素がふえてくるころです", "e-ヘルスネット"},
        {"12時間", "血液中の一酸化炭素が、ふつうの値にもどるころです", "WHO"},
        {"24時間", "心臓発作のリスクが下がりはじめるころです", "e-ヘルスネット"},
        {"48時間", "においや味がもどってくるころです", "NHS、e-ヘルスネット"},
        {"72時間", "呼吸が楽になり、体に力がわいてくるころです", "NHS"},
        {"2週間", "血のめぐりと肺の働きがよくなっていくころです", "e-ヘルスネット、WHO"},
        {"1か月", "せきや息切れが減り、感染症にかかりにくくなるころです", "e-ヘルスネット、WHO"},
        {"1年", "冠動脈の病気の上乗せリスクが、喫煙者の半分ほどといわれています", "WHO"},
        {"2年", "心臓の血管の病気や脳梗塞のリスクが、3分の1ほど減るといわれています",
         "e-ヘルスネット"},
        {"5年", "脳卒中のリスクが、5〜15年で吸わない人と同じになるといわれています", "WHO"},
        {"10年", "肺がんの死亡リスクが半分ほどに、口やのどなどのがんも減るといわれています", "WHO"},
        {"15年", "冠動脈の病気のリスクが、吸わない人と同じになるといわれています", "WHO"}};
    ASSERT_EQ(std::size(rows), recoveryMilestones().size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const RecoveryMilestone& m = recoveryMilestones()[i];
        EXPECT_EQ(text(m.when), rows[i][0]) << i;
        EXPECT_EQ(text(m.meaning), rows[i][1]) << i;
        EXPECT_EQ(text(m.source), rows[i][2]) << i;
        // Plain and no promise: each line ends in "ころです" or "といわれています".
        const QString meaning = QString::fromUtf16(m.meaning);
        EXPECT_TRUE(meaning.endsWith(u"ころです") || meaning.endsWith(u"といわれています")) << i;
    }
}

// Every milestone's moment from a quit on a month's last day and on a leap day: minutes and hours
// as minutes, two weeks as 14 days, months and years where the anniversaries' borrow chain first
// counts them (a month with no such day: the next month's first minute).
TEST(BodyRecovery, MomentsAcrossMonthEnds) {
    const std::pair<DateTimeParts, std::array<const char*, kRecoveryMilestoneCount>> cases[] = {
        {at(2008, 1, 31, 10, 0),
         {"2008-01-31 10:20", "2008-01-31 18:00", "2008-01-31 22:00", "2008-02-01 10:00",
          "2008-02-02 10:00", "2008-02-03 10:00", "2008-02-14 10:00", "2008-03-01 00:00",
          "2009-01-31 10:00", "2010-01-31 10:00", "2013-01-31 10:00", "2018-01-31 10:00",
          "2023-01-31 10:00"}},
        {at(2008, 2, 29, 12, 0),
         {"2008-02-29 12:20", "2008-02-29 20:00", "2008-03-01 00:00", "2008-03-01 12:00",
          "2008-03-02 12:00", "2008-03-03 12:00", "2008-03-14 12:00", "2008-03-29 12:00",
          "2009-03-01 00:00", "2010-03-01 00:00", "2013-03-01 00:00", "2018-03-01 00:00",
          "2023-03-01 00:00"}},
        {at(2099, 12, 31, 23, 50),
         {"2100-01-01 00:10", "2100-01-01 07:50", "2100-01-01 11:50", "2100-01-01 23:50",
          "2100-01-02 23:50", "2100-01-03 23:50", "2100-01-14 23:50", "2100-01-31 23:50",
          "2100-12-31 23:50", "2101-12-31 23:50", "2104-12-31 23:50", "2109-12-31 23:50",
          "2114-12-31 23:50"}},
        {at(2008, 3, 31, 0, 0),
         {"2008-03-31 00:20", "2008-03-31 08:00", "2008-03-31 12:00", "2008-04-01 00:00",
          "2008-04-02 00:00", "2008-04-03 00:00", "2008-04-14 00:00", "2008-05-01 00:00",
          "2009-03-31 00:00", "2010-03-31 00:00", "2013-03-31 00:00", "2018-03-31 00:00",
          "2023-03-31 00:00"}}};
    for (const auto& [quit, moments] : cases) {
        for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
            const RecoveryMilestone& m = recoveryMilestones()[i];
            const DateTimeParts moment = recoveryMoment(m, quit);
            EXPECT_EQ(dateTime(moment), moments[i]) << dateTime(quit) << " row " << i;
            if (m.months == 0)
                continue;
            // The month count of the anniversaries turns at that very minute.
            const auto months = [&](std::int64_t minutesAfterMoment) {
                const DateTimeParts e =
                    elapsedSince(quit, minutesAfter(moment, minutesAfterMoment)).parts;
                return e[1] * 12 + e[2];
            };
            EXPECT_EQ(std::pair(months(-1), months(0)), std::pair(m.months - 1, m.months))
                << dateTime(quit) << " row " << i;
        }
    }
}

// The bars from the quit moment: 0 at the start, each milestone reached at its own minute and not
// the minute before, every bar full past the last; a clock set back counts as the start.
TEST(BodyRecovery, ProgressAtEachBoundary) {
    const DateTimeParts quit = at(2008, 1, 31, 10, 0);
    const RecoveryProgress start = recoveryProgress(quit, quit);
    for (const RecoveryProgress& p : {start, recoveryProgress(quit, at(2008, 1, 31, 9, 0)),
                                      recoveryProgress(quit, at(1999, 12, 31, 23, 59))}) {
        for (const RecoveryRow& row : p.rows)
            EXPECT_TRUE(row.percent == 0 && !row.reached);
        EXPECT_EQ(p.next, 0);
        EXPECT_EQ(p.minutesLeft, 20);
    }
    for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
        const DateTimeParts moment = start.rows[i].moment;
        const RecoveryProgress before = recoveryProgress(quit, minutesAfter(moment, -1));
        const RecoveryProgress on = recoveryProgress(quit, moment);
        EXPECT_TRUE(!before.rows[i].reached && before.rows[i].percent < 100) << i;
        EXPECT_EQ(std::pair(before.next, before.minutesLeft),
                  std::pair(std::optional(i), std::int64_t{1}))
            << i;
        EXPECT_TRUE(on.rows[i].reached && on.rows[i].percent == 100) << i;
        EXPECT_EQ(on.next, i + 1 < kRecoveryMilestoneCount ? std::optional(i + 1) : std::nullopt);
        if (i > 0) {
            EXPECT_TRUE(before.rows[i - 1].reached && before.rows[i - 1].percent == 100) << i;
        }
    }
    // Halfway to 20 minutes, 10 of 480, 10 of 720; the rest round down to 0.
    const RecoveryProgress tenMinutes = recoveryProgress(quit, at(2008, 1, 31, 10, 10));
    EXPECT_EQ(tenMinutes.rows[0].percent, 50);
    EXPECT_EQ(tenMinutes.rows[1].percent, 2);
    EXPECT_EQ(tenMinutes.rows[2].percent, 1);
    EXPECT_EQ(tenMinutes.rows[3].percent, 0);
    // A year on: the 15 years' bar at 1 in 15, the next the two years' with a year left.
    const RecoveryProgress year = recoveryProgress(quit, at(2009, 1, 31, 10, 0));
    EXPECT_EQ(year.rows[12].percent, 6);
    EXPECT_EQ(year.rows[9].percent, 50);
    EXPECT_EQ(std::pair(year.next, year.minutesLeft), std::pair(std::optional(9), 365 * kDay));
    const RecoveryProgress past = recoveryProgress(quit, at(2040, 6, 1, 0, 0));
    for (const RecoveryRow& row : past.rows)
        EXPECT_TRUE(row.percent == 100 && row.reached);
    EXPECT_EQ(past.next, std::nullopt);
}

// The milestone that came between two refreshes, the last of several; none where none came.
TEST(BodyRecovery, ReachedBetweenRefreshes) {
    const DateTimeParts quit = at(2008, 1, 31, 10, 0);
    const std::tuple<std::int64_t, std::int64_t, std::optional<int>> cases[] = {
        {19, 20, 0},
        {20, 21, std::nullopt},
        {0, 1000, 2},
        {479, 480, 1},
        {-5, 19, {}},
        {480, 480, {}},
        {14 * kDay - 1, 14 * kDay, 6},
        {29 * kDay + 839, 29 * kDay + 840, 7},
        {5000 * kDay, 6000 * kDay, 12}};
    for (const auto& [before, now, reached] : cases)
        EXPECT_EQ(recoveryReachedBetween(quit, before, now), reached) << before << " " << now;
}

TEST(BodyRecovery, TimeLeftDatesAndTheBestRun) {
    const std::pair<std::int64_t, const char*> left[] = {{1, "あと 1分"},
                                                         {59, "あと 59分"},
                                                         {60, "あと 1時間0分"},
                                                         {192, "あと 3時間12分"},
                                                         {kDay, "あと 1日0時間0分"},
                                                         {kDay + 192, "あと 1日3時間12分"},
                                                         {365 * kDay + 61, "あと 365日1時間1分"}};
    for (const auto& [minutes, expected] : left)
        EXPECT_EQ(recoveryTimeLeftText(minutes).toStdString(), expected);
    EXPECT_EQ(recoveryDateText(at(2008, 3, 1, 0, 0)).toStdString(), "2008年3月1日");

    const DateTimeParts start = at(2008, 1, 31, 10, 0);
    const std::pair<DateTimeParts, const char*> runs[] = {
        {at(2008, 1, 31, 10, 19), ""},
        {at(2008, 1, 31, 10, 20), "最長記録では『20分』まで"},
        {at(2008, 2, 29, 23, 59), "最長記録では『2週間』まで"},
        {at(2008, 3, 1, 0, 0), "最長記録では『1か月』まで"},
        {at(2009, 1, 31, 9, 59), "最長記録では『1か月』まで"},
        {at(2009, 1, 31, 10, 0), "最長記録では『1年』まで"},
        {at(2040, 1, 1, 0, 0), "最長記録では『15年』まで"},
        {at(2007, 1, 1, 0, 0), ""}}; // an end before its start reaches nothing
    for (const auto& [end, expected] : runs)
        EXPECT_EQ(bestRunRecoveryText(start, end).toStdString(), expected) << dateTime(end);
}

// Minutes forward and back over month, leap-day and century edges, and back again exactly.
TEST(Calendar, MinutesAfterAMoment) {
    const std::tuple<DateTimeParts, std::int64_t, const char*> cases[] = {
        {at(2100, 2, 28, 23, 59), 1, "2100-03-01 00:00"},
        {at(2000, 2, 28, 12, 0), kDay, "2000-02-29 12:00"},
        {at(2008, 3, 1, 0, 0), -1, "2008-02-29 23:59"},
        {at(2008, 12, 31, 23, 0), 61, "2009-01-01 00:01"},
        {at(1, 1, 1, 0, 0), 366 * kDay, "0002-01-02 00:00"}};
    for (const auto& [from, minutes, expected] : cases)
        EXPECT_EQ(dateTime(minutesAfter(from, minutes)), expected) << expected;
    const DateTimeParts from = at(1999, 12, 31, 17, 41);
    for (std::int64_t minutes = -400 * kDay; minutes <= 800 * kDay; minutes += 997) {
        const DaysAndMinutes between = daysAndMinutesBetween(from, minutesAfter(from, minutes));
        EXPECT_EQ(between.days * kDay + between.minutes, minutes);
    }
}

// With no title series to outrank it, the step told at its very minute, in the program's words.
TEST(BodyRecovery, TheTrayTellsAStep) {
    QuitSettings settings;
    settings.statusMode = QStringLiteral("なし");
    settings.quitMoment = at(2008, 8, 21, 10, 23);
    MilestoneNotices notices;
    const QDate day(2008, 8, 23);
    std::string told;
    for (const QTime time : {QTime(10, 22), QTime(10, 23)}) {
        const QDateTime now(day, time);
        const StatusSnapshot status = computeStatus(settings, minuteParts(now), 50);
        told += notices.noticeAt(settings, status, now, true).value_or(QString()).toStdString();
    }
    EXPECT_EQ(told, "禁煙から48時間。においや味がもどってくるころです");
}

} // namespace
