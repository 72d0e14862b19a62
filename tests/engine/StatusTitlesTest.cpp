#include "engine/StatusTitles.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase {
    std::int64_t days;
    std::int64_t years;
    const char* soldier;
    const char* cosmo;
};

class Titles : public testing::TestWithParam<TitleCase> {};

TEST_P(Titles, BothSeries) {
    const TitleCase& c = GetParam();
    EXPECT_EQ(statusTitle(soldierSeriesName(), c.days, c.years), QString::fromUtf8(c.soldier));
    EXPECT_EQ(statusTitle(cosmoSeriesName(), c.days, c.years), QString::fromUtf8(c.cosmo));
}

// The first and last day of every range.
INSTANTIATE_TEST_SUITE_P(
    DayRules, Titles,
    testing::Values(TitleCase{0, 0, "２等兵", "素粒子"}, TitleCase{1, 0, "１等兵", "陽子"},
                    TitleCase{2, 0, "上等兵", "原子"}, TitleCase{3, 0, "兵長", "分子"},
                    TitleCase{4, 0, "伍長", "ゴマ粒"}, TitleCase{5, 0, "軍曹", "小豆"},
                    TitleCase{6, 0, "曹長", "大豆"}, TitleCase{7, 0, "曹長", "大豆"},
                    TitleCase{8, 0, "准尉", "タマゴ"}, TitleCase{9, 0, "准尉", "タマゴ"},
                    TitleCase{10, 0, "少尉", "ヒヨコ"}, TitleCase{11, 0, "少尉", "ヒヨコ"},
                    TitleCase{12, 0, "中尉", "ニワトリ"}, TitleCase{13, 0, "中尉", "ニワトリ"},
                    TitleCase{14, 0, "大尉", "鶏小屋"}, TitleCase{15, 0, "大尉", "鶏小屋"},
                    TitleCase{16, 0, "少佐", "農家"}, TitleCase{17, 0, "少佐", "農家"},
                    TitleCase{18, 0, "中佐", "集落"}, TitleCase{19, 0, "中佐", "集落"},
                    TitleCase{20, 0, "大佐", "村"}, TitleCase{21, 0, "大佐", "村"},
                    TitleCase{22, 0, "少将", "市"}, TitleCase{25, 0, "少将", "市"},
                    TitleCase{26, 0, "中将", "県"}, TitleCase{29, 0, "中将", "県"},
                    TitleCase{30, 0, "大将", "日本列島"}, TitleCase{59, 0, "大将", "日本列島"},
                    TitleCase{60, 0, "元帥", "東アジア"}, TitleCase{89, 0, "元帥", "東アジア"},
                    TitleCase{90, 0, "大臣", "アジア"}, TitleCase{119, 0, "大臣", "アジア"},
                    TitleCase{120, 0, "首相", "北半球"}, TitleCase{149, 0, "首相", "北半球"},
                    TitleCase{150, 0, "大統領", "地球"}, TitleCase{179, 0, "大統領", "地球"},
                    TitleCase{180, 0, "王様", "月と地球"}, TitleCase{209, 0, "王様", "月と地球"},
                    TitleCase{210, 0, "大王様", "太陽系"}, TitleCase{239, 0, "大王様", "太陽系"},
                    TitleCase{240, 0, "神", "銀河"}, TitleCase{269, 0, "神", "銀河"},
                    TitleCase{270, 0, "カイオウ", "大銀河"},
                    TitleCase{299, 0, "カイオウ", "大銀河"}, TitleCase{300, 0, "ラオウ", "星雲"},
                    TitleCase{329, 0, "ラオウ", "星雲"}, TitleCase{330, 0, "トキ", "小宇宙"},
                    TitleCase{365, 0, "トキ", "小宇宙"}));

INSTANTIATE_TEST_SUITE_P(YearRules, Titles,
                         testing::Values(TitleCase{365, 1, "ケンシロウ", "コスモ"},
                                         TitleCase{730, 2, "チョッパー", "大宇宙"},
                                         TitleCase{1095, 3, "ゾロ", "宇宙王子"},
                                         TitleCase{1461, 4, "ロビン", "宇宙王"},
                                         TitleCase{1826, 5, "ルフィ", "宇宙大王"},
                                         TitleCase{3287, 9, "ルフィ", "宇宙大王"},
                                         TitleCase{3652, 10, "ユリア", "宇宙神"},
                                         TitleCase{36159, 99, "ユリア", "宇宙神"},
                                         TitleCase{36524, 100, "宇宙大神", "宇宙大神"},
                                         TitleCase{121262, 332, "宇宙大神", "宇宙大神"},
                                         TitleCase{121627, 333, "ルパン三世", "ルパン三世"},
                                         TitleCase{121993, 334, "宇宙大神", "宇宙大神"},
                                         TitleCase{364877, 999, "宇宙大神", "宇宙大神"},
                                         TitleCase{365242, 1000, "トトロ", "トトロ"},
                                         // The year rules are keyed on calendar years alone.
                                         TitleCase{10, 1, "ケンシロウ", "コスモ"}));

INSTANTIATE_TEST_SUITE_P(Negative, Titles,
                         testing::Values(TitleCase{-1, 0, "", ""}, TitleCase{-400, -1, "", ""},
                                         TitleCase{-1, 1, "", ""}));

TEST(Titles, OnlyTheExactSeriesNamesGiveATitle) {
    const char* const modes[] = {"", "ソルジャー ", " コスモ", "ｿﾙｼﾞｬｰ", "soldier", "コスモス"};
    for (const char* mode : modes) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(statusTitle(QString::fromUtf8(mode), 0, 0).isEmpty());
        EXPECT_TRUE(statusTitle(QString::fromUtf8(mode), 400, 1).isEmpty());
    }
}

} // namespace
