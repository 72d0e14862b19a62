#include "engine/DailyMessages.h"

#include <gtest/gtest.h>

namespace {

struct IndexCase {
    std::int64_t days;
    std::int64_t years;
    std::int64_t months;
    int r;
    int index;
};

class MessageIndex : public testing::TestWithParam<IndexCase> {};

TEST_P(MessageIndex, Chooses) {
    const IndexCase& c = GetParam();
    EXPECT_EQ(messageIndex(c.days, c.years, c.months, c.r), c.index);
}

INSTANTIATE_TEST_SUITE_P(
    FirstDays, MessageIndex,
    testing::Values(
        IndexCase{0, 0, 0, 75, 0}, IndexCase{0, 0, 0, 1, 0},
        // Day 1: >70, <20 and 21..29 have their own messages; 20 and 30..70 do not.
        IndexCase{1, 0, 0, 75, 48}, IndexCase{1, 0, 0, 71, 48}, IndexCase{1, 0, 0, 70, 1},
        IndexCase{1, 0, 0, 99, 48}, IndexCase{1, 0, 0, 0, 49}, IndexCase{1, 0, 0, 10, 49},
        IndexCase{1, 0, 0, 19, 49}, IndexCase{1, 0, 0, 20, 1}, IndexCase{1, 0, 0, 21, 50},
        IndexCase{1, 0, 0, 25, 50}, IndexCase{1, 0, 0, 29, 50}, IndexCase{1, 0, 0, 30, 1},
        IndexCase{1, 0, 0, 50, 1}, IndexCase{2, 0, 0, 75, 51}, IndexCase{2, 0, 0, 10, 52},
        IndexCase{2, 0, 0, 25, 53}, IndexCase{2, 0, 0, 20, 2}, IndexCase{2, 0, 0, 50, 2},
        IndexCase{3, 0, 0, 71, 54}, IndexCase{3, 0, 0, 70, 3}, IndexCase{3, 0, 0, 10, 3},
        IndexCase{4, 0, 0, 75, 4}, IndexCase{11, 0, 0, 75, 11}, IndexCase{22, 0, 0, 10, 22},
        IndexCase{31, 0, 0, 1, 31}));

INSTANTIATE_TEST_SUITE_P(DayEvents, MessageIndex,
                         // These days fall in the second or third month, and win over the
                         // anniversary message without any alternative being drawn.
                         testing::Values(IndexCase{33, 0, 1, 1, 44}, IndexCase{34, 0, 1, 2, 55},
                                         IndexCase{35, 0, 1, 3, 56}, IndexCase{44, 0, 1, 4, 57},
                                         IndexCase{55, 0, 1, 1, 58}, IndexCase{66, 0, 2, 75, 59},
                                         IndexCase{32, 0, 1, 50, 32}, IndexCase{36, 0, 1, 50, 32}));

INSTANTIATE_TEST_SUITE_P(
    Anniversaries, MessageIndex,
    testing::Values(IndexCase{40, 0, 1, 0, 32}, IndexCase{40, 0, 1, 1, 45},
                    IndexCase{40, 0, 1, 2, 45}, IndexCase{40, 0, 1, 3, 46},
                    IndexCase{40, 0, 1, 4, 47}, IndexCase{40, 0, 1, 5, 32},
                    IndexCase{40, 0, 1, 75, 32}, IndexCase{70, 0, 2, 50, 33},
                    IndexCase{340, 0, 11, 50, 42}, IndexCase{340, 0, 11, 4, 47},
                    // A year or more, whatever the months, with no alternative drawn.
                    IndexCase{365, 1, 0, 75, 43}, IndexCase{455, 1, 3, 1, 43},
                    IndexCase{4000, 10, 11, 3, 43}));

INSTANTIATE_TEST_SUITE_P(OutOfRangeInputs, MessageIndex,
                         testing::Values(IndexCase{-1, 0, 0, 75, 0}, IndexCase{-1, 0, 0, 10, 0},
                                         IndexCase{-40, -1, -1, 3, 0},
                                         IndexCase{100, 0, 0, 50, 0}));

TEST(MessageIndex, AlwaysValid) {
    for (std::int64_t days : {-100000LL, -1LL, 0LL, 1LL, 31LL, 32LL, 59LL, 60LL, 1000000LL}) {
        for (std::int64_t years : {-1LL, 0LL, 1LL}) {
            for (std::int64_t months : {-1LL, 0LL, 1LL, 11LL, 12LL}) {
                for (int r : {-1, 0, 1, 3, 4, 25, 75, 99, 100}) {
                    const int index = messageIndex(days, years, months, r);
                    ASSERT_GE(index, 0) << days << ' ' << years << ' ' << months << ' ' << r;
                    ASSERT_LT(index, kDailyMessageCount);
                }
            }
        }
    }
}

TEST(DailyMessages, TextsKeepTheirPlacesAndBlanks) {
    const struct {
        int index;
        const char* text;
    } rows[] = {
        {0, "さあ今日からいよいよケムリンです！がんばりましょう！"},
        {12, "リラックス、リラックス。 ひとやすみ、ひとやすみ。"},
        {43, "～ ごケムリンおめでとうございます ～"},
        {55, "けむりん いっかげつ おめでとぉー\u3000がぁーがぁーがぁー"},
        {59, "ケムリンして６６日目です。アヒルの王様が喜んでいます"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(dailyMessage(row.index), QString::fromUtf8(row.text)) << row.index;
    }
    EXPECT_TRUE(dailyMessage(-1).isEmpty());
    EXPECT_TRUE(dailyMessage(kDailyMessageCount).isEmpty());
}

} // namespace
