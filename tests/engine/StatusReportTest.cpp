#include "engine/StatusReport.h"

#include <gtest/gtest.h>

namespace {

TEST(Report, OnlyTheThreeSizesHaveAWord) {
    const std::pair<std::int32_t, const char*> cases[] = {{50, "小"}, {85, "中"}, {100, "大"},
                                                          {0, ""},    {84, ""},   {101, ""}};
    for (const auto& [length, word] : cases)
        EXPECT_EQ(sizeWord(length).toStdString(), word) << length;
}

TEST(Report, SixLinesInEachForm) {
    constexpr DateTimeParts kYearAndMore{0, 1, 2, 3, 4, 5};
    constexpr DateTimeParts kThreeDays{0, 0, 0, 3, 5, 7};
    constexpr std::int64_t kThreeDaysMinutes = 3 * 1440 + 5 * 60 + 7;
    const struct {
        std::int32_t copyPlusMode;
        bool detailed;
        std::int32_t cigLength;
        DateTimeParts elapsedParts;
        std::int64_t elapsedMinutes, lifeGained;
        const char *habit, *elapsed, *life; // what follows each label
    } cases[] = {
        {0, false, 85, kYearAndMore, 610000, 1505, "", "1年 2ヶ月 3日 4時間 5分", "1日と1時間5分"},
        {1, true, 50, kThreeDays, kThreeDaysMinutes, 1440, "（20本-300円-小）", "3日 5時間 7分",
         "1日と0時間0分"},
        {1, false, 100, kThreeDays, kThreeDaysMinutes, 1439, "（20本-300円-大）",
         "0年 0ヶ月 3日 5時間 7分", "0日と23時間59分"},
        // A whole day exactly is day 1.
        {2, true, 85, kThreeDays, 1440, 1505, "（20本-5年）", "1日 5時間 7分", "1日と1時間5分"},
        // Negative figures: whole parts round down, the remainders keep the dividend's sign.
        {0, true, 85, {0, 0, 0, 0, 0, -1}, -1, -61, "", "-1日 0時間 -1分", "-1日と-1時間-1分"}};
    for (const auto& c : cases) {
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
        EXPECT_EQ(statusReport(settings, status, c.detailed).toStdString(),
                  std::string("ステータス： ケンシロウ\r\nケムリン日： 2008年 7月 1日") + c.habit +
                      "\r\nケムリンからの日数： " + c.elapsed + "\r\n延びた寿命： " + c.life +
                      "\r\n節約できた金額： 1500円（節税分945円）\r\n"
                      "節煙本数： 100本 8.5ｍ トリケラトプス")
            << "mode " << c.copyPlusMode << " detailed " << c.detailed;
    }
}

TEST(Report, UnknownModeGivesNothing) {
    QuitSettings settings;
    StatusSnapshot status;
    status.texts.title = QStringLiteral("a");
    for (std::int32_t mode : {-1, 3}) {
        settings.copyPlusMode = mode;
        for (bool detailed : {false, true})
            EXPECT_TRUE(statusReport(settings, status, detailed).isEmpty()) << mode << detailed;
    }
}

TEST(Report, EmptyLabelsLeaveTheirLinesEndingInTheSpace) {
    EXPECT_EQ(statusReport(QuitSettings{}, StatusSnapshot{}, false).toStdString(),
              "ステータス： \r\n"
              "ケムリン日： 0年 0月 0日\r\n"
              "ケムリンからの日数： 0年 0ヶ月 0日 0時間 0分\r\n"
              "延びた寿命： 0日と0時間0分\r\n"
              "節約できた金額： \r\n"
              "節煙本数： ");
}

} // namespace
