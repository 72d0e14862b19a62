#include "engine/AttemptRecord.h"
#include "engine/Clock.h"
#include "engine/MilestoneNotices.h"
#include "engine/StatusEngine.h"
#include "engine/StatusTitles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kDay = 1440;

DateTimeParts at(int y, int mo, int d, int h, int mi) {
    return {0, y, mo, d, h, mi};
}

PastAttempt attempt(DateTimeParts start, DateTimeParts end, int perDay = 20, int price = 300,
                    int size = 85) {
    PastAttempt a;
    a.start = start;
    a.end = end;
    a.perDay = perDay;
    a.packPrice = price;
    a.cigLength = size;
    return a;
}

QuitSettings current(DateTimeParts quit) {
    QuitSettings s;
    s.quitMoment = quit;
    s.statusMode = soldierSeriesName();
    return s;
}

// An ended attempt counts as the counter counted at its end: across month ends, leap days and
// year ends; an end before its start (a clock set back) is nothing, never negative.
TEST(AttemptRecord, LengthAndFiguresOfAnEndedAttempt) {
    const std::tuple<DateTimeParts, DateTimeParts, int, std::int64_t, const char*, std::int64_t>
        cases[] = {
            {at(2026, 1, 31, 8, 0), at(2026, 3, 1, 8, 0), 20, 29 * kDay, "29日0時間", 8700},
            {at(2024, 2, 28, 22, 0), at(2024, 3, 1, 1, 30), 20, kDay + 210, "1日3時間", 343},
            {at(2025, 12, 31, 23, 59), at(2026, 1, 1, 0, 0), 20, 1, "0日0時間", 0},
            {at(2026, 5, 10, 12, 0), at(2026, 5, 1, 12, 0), 20, 0, "0日0時間", 0},
            {at(2026, 5, 10, 12, 0), at(2026, 5, 10, 12, 0), 40, 0, "0日0時間", 0},
            {at(2020, 1, 1, 0, 0), at(2026, 1, 1, 0, 0), 10, 2192 * kDay, "2192日0時間", 328800},
        };
    for (const auto& [start, end, perDay, minutes, length, money] : cases) {
        const AttemptRecord record =
            attemptRecord(current(end), {attempt(start, end, perDay)}, end);
        const AttemptFigures& a = record.past.front();
        // The counter's own count for the same span.
        QuitSettings counted = current(start);
        counted.perDay = perDay;
        EXPECT_EQ(std::tuple(a.elapsed.minutes, attemptLengthText(a.elapsed.minutes).toStdString(),
                             a.figures.moneySaved, a.figures.cigaretteCount),
                  std::tuple(minutes, std::string(length), money,
                             computeStatus(counted, end, 0).figures.cigaretteCount));
    }
}

// The longest past attempt holds the record, the earliest of equals; the current one takes it
// only when longer, and until then the time left is told, a part of an hour as a whole one.
TEST(AttemptRecord, BestRunTiesAndTheWayToIt) {
    const DateTimeParts now = at(2026, 12, 7, 12, 0);
    const std::vector<PastAttempt> past{
        attempt(at(2026, 1, 1, 0, 0), at(2026, 1, 11, 0, 0)), // 10 days
        attempt(at(2026, 2, 1, 0, 0), at(2026, 3, 1, 0, 0)),  // 28 days
        attempt(at(2026, 4, 1, 0, 0), at(2026, 4, 29, 0, 0)), // 28 days, a tie
        attempt(at(2026, 6, 1, 0, 0), at(2026, 5, 1, 0, 0))}; // set back: 0
    const std::tuple<DateTimeParts, std::optional<std::size_t>, std::string, std::string> cases[] =
        {{at(2026, 11, 20, 12, 0), 1, "17日0時間", "最長記録まで あと 11日 0時間"},
         {at(2026, 11, 9, 12, 1), 1, "27日23時間", "最長記録まで あと 0日 1時間"},
         {at(2026, 11, 9, 12, 0), 1, "28日0時間", ""},
         {at(2026, 11, 9, 11, 59), std::nullopt, "28日0時間", ""},
         {at(2026, 12, 8, 0, 0), 1, "0日0時間", "最長記録まで あと 28日 0時間"}};
    for (const auto& [quit, best, length, toBest] : cases) {
        const AttemptRecord record = attemptRecord(current(quit), past, now);
        EXPECT_EQ(record.bestPast, best) << length;
        EXPECT_EQ(attemptLengthText(record.current.elapsed.minutes).toStdString(), length);
        const auto left = record.minutesToBest();
        EXPECT_EQ(left && *left > 0 ? toBestText(*left).toStdString() : "", toBest) << length;
        EXPECT_EQ(record.attemptCount(), 5);
    }
    EXPECT_EQ(longestPastMinutes(past), 28 * kDay);
    EXPECT_EQ(longestPastMinutes({}), std::nullopt);
    const AttemptRecord alone = attemptRecord(current(at(2026, 12, 1, 12, 0)), {}, now);
    EXPECT_FALSE(alone.bestPast);
    EXPECT_EQ(alone.best().elapsed.minutes, 6 * kDay);
}

// Nothing of an earlier try is lost: the totals add every attempt, each with its own habit.
TEST(AttemptRecord, TotalsOverEveryAttempt) {
    const DateTimeParts now = at(2026, 12, 7, 12, 0);
    const std::vector<PastAttempt> past{
        attempt(at(2026, 1, 1, 0, 0), at(2026, 1, 11, 0, 0), 20, 300),
        attempt(at(2026, 2, 1, 0, 0), at(2026, 2, 3, 12, 0), 40, 600)};
    const AttemptRecord record = attemptRecord(current(at(2026, 12, 1, 12, 0)), past, now);
    const QStringList lines = attemptRecordReport(record, past, true).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.mid(1).join(u'|').toStdString(),
              "今回： 2026/12/01 12:00 から 6日0時間|"
              "最長： 10日0時間（2026/01/01 00:00 ～ 2026/01/11 00:00）|挑戦： 3回目|"
              "1. 2026/01/01 00:00 ～ 2026/01/11 00:00 10日0時間 1カートン 3000円|"
              "2. 2026/02/01 00:00 ～ 2026/02/03 12:00 2日12時間 5箱 3000円|"
              "（記録の一部を読み込めませんでした）|"
              "合計： 禁煙 18日12時間、吸わなかった煙草 420本、節約できた金額 7800円|"
              "最長記録まで あと 4日 0時間");
}

// The longest earlier attempt passed is told above a new title, once, not again after a set-back.
TEST(MilestoneNotices, BestRunBeatenRanksAboveATitle) {
    const QuitSettings settings = current(at(2008, 8, 21, 10, 23));
    MilestoneNotices notices;
    // The status at one minute of the 2008 August day, the clock at another.
    const auto told = [&](int day, int minute, int clockMinute) {
        const QDateTime now(QDate(2008, 8, day), QTime(10, 0).addSecs(clockMinute * 60));
        const auto notice = notices.noticeAt(
            settings, computeStatus(settings, at(2008, 8, day, 10, minute), 50), now, true);
        return notice.value_or(QString()).toStdString();
    };
    notices.setRecordToBeat(6 * kDay); // 27th at 10:23, when "曹長" comes too
    EXPECT_EQ(told(27, 22, 22), "");
    EXPECT_EQ(told(27, 24, 24), "これまでの最長記録を超えました（6日）");
    notices.setRecordToBeat(7 * kDay);
    EXPECT_EQ(told(28, 24, 24), "これまでの最長記録を超えました（7日）");
    // Set back, then forward past it again the same day: told once.
    EXPECT_EQ(told(28, 22, 120), "");
    EXPECT_EQ(told(28, 25, 121), "");
}

} // namespace
