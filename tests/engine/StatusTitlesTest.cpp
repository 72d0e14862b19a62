#include "engine/StatusTitles.h"
#include "engine/StatusEngine.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// First day (or whole year) of each title: soldier and cosmo series.
using Ranges = std::map<std::int64_t, std::pair<const char*, const char*>>;

void expectRanges(const Ranges& ranges, std::int64_t from, std::int64_t to, bool byYears) {
    for (std::int64_t value = from; value <= to; ++value) {
        const auto& [soldier, cosmo] = std::prev(ranges.upper_bound(value))->second;
        // Years are checked on day 10: whole calendar years decide alone.
        const std::int64_t days = byYears ? 10 : value, years = byYears ? value : 0;
        EXPECT_EQ(statusTitle(soldierSeriesName(), days, years).toStdString(), soldier) << value;
        EXPECT_EQ(statusTitle(cosmoSeriesName(), days, years).toStdString(), cosmo) << value;
    }
}

TEST(Titles, EveryDayOfTheFirstYearIncludingALeapYearsLast) {
    const Ranges days{
        {0, {"２等兵", "素粒子"}},     {1, {"１等兵", "陽子"}},     {2, {"上等兵", "原子"}},
        {3, {"兵長", "分子"}},         {4, {"伍長", "ゴマ粒"}},     {5, {"軍曹", "小豆"}},
        {6, {"曹長", "大豆"}},         {8, {"准尉", "タマゴ"}},     {10, {"少尉", "ヒヨコ"}},
        {12, {"中尉", "ニワトリ"}},    {14, {"大尉", "鶏小屋"}},    {16, {"少佐", "農家"}},
        {18, {"中佐", "集落"}},        {20, {"大佐", "村"}},        {22, {"少将", "市"}},
        {26, {"中将", "県"}},          {30, {"大将", "日本列島"}},  {60, {"元帥", "東アジア"}},
        {90, {"大臣", "アジア"}},      {120, {"首相", "北半球"}},   {150, {"大統領", "地球"}},
        {180, {"王様", "月と地球"}},   {210, {"大王様", "太陽系"}}, {240, {"神", "銀河"}},
        {270, {"カイオウ", "大銀河"}}, {300, {"ラオウ", "星雲"}},   {330, {"トキ", "小宇宙"}}};
    expectRanges(days, 0, 366, false);
}

// 333 is a year of its own.
TEST(Titles, EveryYearToTwelveHundred) {
    const Ranges years{{1, {"ケンシロウ", "コスモ"}},   {2, {"チョッパー", "大宇宙"}},
                       {3, {"ゾロ", "宇宙王子"}},       {4, {"ロビン", "宇宙王"}},
                       {5, {"ルフィ", "宇宙大王"}},     {10, {"ユリア", "宇宙神"}},
                       {100, {"宇宙大神", "宇宙大神"}}, {333, {"ルパン三世", "ルパン三世"}},
                       {334, {"宇宙大神", "宇宙大神"}}, {1000, {"トトロ", "トトロ"}}};
    expectRanges(years, 1, 1200, true);
}

TEST(Titles, NoneBeforeTheQuitMomentOrForAnUnknownSeries) {
    for (const auto& [days, years] : {std::pair{-1, 0}, {-400, -1}, {-1, 1}})
        EXPECT_TRUE(statusTitle(soldierSeriesName(), days, years).isEmpty()) << days;
    for (const char* mode : {"", "ソルジャー ", " コスモ", "ｿﾙｼﾞｬｰ", "soldier", "コスモス"}) {
        EXPECT_TRUE(statusTitle(QString::fromUtf8(mode), 0, 0).isEmpty()) << mode;
        EXPECT_TRUE(statusTitle(QString::fromUtf8(mode), 400, 1).isEmpty()) << mode;
    }
}

// Through a whole refresh: the first anniversary comes by the calendar, so the 365th day of a
// leap year still has the first year's title.
TEST(Titles, FirstAnniversaryByTheCalendar) {
    const struct {
        DateTimeParts quit, now;
        const char *mode, *title;
    } cases[] = {{{0, 2008, 1, 1, 0, 0}, {0, 2008, 12, 31, 0, 0}, "ソルジャー", "トキ"},
                 {{0, 2008, 1, 1, 0, 0}, {0, 2008, 12, 31, 23, 59}, "コスモ", "小宇宙"},
                 {{0, 2008, 1, 1, 0, 0}, {0, 2009, 1, 1, 0, 0}, "ソルジャー", "ケンシロウ"},
                 {{0, 2009, 1, 1, 0, 0}, {0, 2009, 12, 31, 23, 59}, "ソルジャー", "トキ"},
                 {{0, 2009, 1, 1, 0, 0}, {0, 2010, 1, 1, 0, 0}, "ソルジャー", "ケンシロウ"},
                 {{0, 2008, 2, 29, 12, 0}, {0, 2009, 2, 28, 12, 0}, "ソルジャー", "トキ"},
                 {{0, 2008, 2, 29, 12, 0}, {0, 2009, 3, 1, 12, 0}, "コスモ", "コスモ"}};
    for (const auto& c : cases) {
        QuitSettings settings;
        settings.quitMoment = c.quit;
        settings.statusMode = QString::fromUtf8(c.mode);
        EXPECT_EQ(computeStatus(settings, c.now, 50).texts.title.toStdString(), c.title)
            << c.now[1] << '-' << c.now[2] << '-' << c.now[3] << ' ' << c.now[4] << ':' << c.now[5];
    }
}

} // namespace
