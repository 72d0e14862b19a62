#include "engine/StatusReport.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

TEST(SizeWord, OnlyTheThreeSizesHaveAWord) {
    const struct {
        std::int32_t length;
        const char* word;
    } cases[] = {{50, "小"}, {85, "中"}, {100, "大"}, {0, ""}, {84, ""}, {-50, ""}, {101, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(sizeWord(c.length), QString::fromUtf8(c.word)) << c.length;
    }
}

struct ReportCase {
    std::int32_t copyPlusMode;
    bool detailed;
    std::int32_t cigLength;
    DateTimeParts elapsedParts;
    std::int64_t elapsedMinutes;
    std::int64_t lifeGained;
    const char* line2;
    const char* line3;
    const char* line4;
};

class Report : public testing::TestWithParam<ReportCase> {};

TEST_P(Report, SixLines) {
    const ReportCase& c = GetParam();
    QuitSettings settings;
    settings.quitMoment = {0, 2008, 7, 1, 9, 30};
    settings.cigLength = c.cigLength;
    settings.copyPlusMode = c.copyPlusMode;
    StatusSnapshot status;
    status.elapsed = {c.elapsedMinutes, c.elapsedParts};
    status.lifeGainedMinutes = c.lifeGained;
    status.texts.title = QStringLiteral("ケンシロウ");
    status.texts.money = QStringLiteral("1500円（節税分945円）");
    status.texts.cigarettes = QStringLiteral("100本 8.5ｍ トリケラトプス");

    const QString expected = QStringLiteral("ステータス： ケンシロウ\r\n") +
                             QString::fromUtf8(c.line2) + QStringLiteral("\r\n") +
                             QString::fromUtf8(c.line3) + QStringLiteral("\r\n") +
                             QString::fromUtf8(c.line4) +
                             QStringLiteral("\r\n節約できた金額： 1500円（節税分945円）\r\n"
                                            "節煙本数： 100本 8.5ｍ トリケラトプス");
    EXPECT_EQ(statusReport(settings, status, c.detailed), expected);
}

constexpr DateTimeParts kYearAndMore{0, 1, 2, 3, 4, 5};
constexpr DateTimeParts kThreeDays{0, 0, 0, 3, 5, 7};
constexpr std::int64_t kThreeDaysMinutes = 3 * 1440 + 5 * 60 + 7;

INSTANTIATE_TEST_SUITE_P(
    Forms, Report,
    testing::Values(
        ReportCase{0, 0, 85, kYearAndMore, 610000, 1505, "ケムリン日： 2008年 7月 1日",
                   "ケムリンからの日数： 1年 2ヶ月 3日 4時間 5分", "延びた寿命： 1日と1時間5分"},
        ReportCase{0, 1, 85, kThreeDays, kThreeDaysMinutes, 59, "ケムリン日： 2008年 7月 1日",
                   "ケムリンからの日数： 3日 5時間 7分", "延びた寿命： 0日と0時間59分"},
        ReportCase{1, 0, 85, kYearAndMore, 610000, 1505,
                   "ケムリン日： 2008年 7月 1日（20本-300円-中）",
                   "ケムリンからの日数： 1年 2ヶ月 3日 4時間 5分", "延びた寿命： 1日と1時間5分"},
        ReportCase{1, 1, 50, kThreeDays, kThreeDaysMinutes, 1440,
                   "ケムリン日： 2008年 7月 1日（20本-300円-小）",
                   "ケムリンからの日数： 3日 5時間 7分", "延びた寿命： 1日と0時間0分"},
        ReportCase{1, 0, 100, kThreeDays, kThreeDaysMinutes, 1439,
                   "ケムリン日： 2008年 7月 1日（20本-300円-大）",
                   "ケムリンからの日数： 0年 0ヶ月 3日 5時間 7分", "延びた寿命： 0日と23時間59分"},
        ReportCase{1, 0, 60, kThreeDays, kThreeDaysMinutes, 0,
                   "ケムリン日： 2008年 7月 1日（20本-300円-）",
                   "ケムリンからの日数： 0年 0ヶ月 3日 5時間 7分", "延びた寿命： 0日と0時間0分"},
        ReportCase{2, 0, 85, kYearAndMore, 610000, 1505, "ケムリン日： 2008年 7月 1日（20本-5年）",
                   "ケムリンからの日数： 1年 2ヶ月 3日 4時間 5分", "延びた寿命： 1日と1時間5分"},
        // A whole day exactly is day 1.
        ReportCase{2, 1, 85, kThreeDays, 1440, 1505, "ケムリン日： 2008年 7月 1日（20本-5年）",
                   "ケムリンからの日数： 1日 5時間 7分", "延びた寿命： 1日と1時間5分"},
        // Clock set back: whole parts round down, the remainders keep the dividend's sign.
        ReportCase{0,
                   1,
                   85,
                   {0, 0, 0, 0, 0, -1},
                   -1,
                   -61,
                   "ケムリン日： 2008年 7月 1日",
                   "ケムリンからの日数： -1日 0時間 -1分",
                   "延びた寿命： -1日と-1時間-1分"},
        ReportCase{0,
                   1,
                   85,
                   {0, 0, 0, 0, 0, 0},
                   -1440,
                   -1440,
                   "ケムリン日： 2008年 7月 1日",
                   "ケムリンからの日数： -1日 0時間 0分",
                   "延びた寿命： -1日と0時間0分"}));

TEST(Report, UnknownModeGivesNothing) {
    QuitSettings settings;
    StatusSnapshot status;
    status.texts.title = QStringLiteral("a");
    for (std::int32_t mode : {-1, 3, 100}) {
        settings.copyPlusMode = mode;
        for (bool detailed : {false, true})
            EXPECT_TRUE(statusReport(settings, status, detailed).isEmpty()) << mode << ' ' << detailed;
    }
}

TEST(Report, EmptyLabelsLeaveTheirLinesEndingInTheSpace) {
    const QStringList lines =
        statusReport(QuitSettings{}, StatusSnapshot{}, false).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("ステータス： "));
    EXPECT_EQ(lines[4], QStringLiteral("節約できた金額： "));
    EXPECT_EQ(lines[5], QStringLiteral("節煙本数： "));
}

} // namespace
