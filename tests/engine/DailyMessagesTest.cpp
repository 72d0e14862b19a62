#include "engine/DailyMessages.h"

#include <gtest/gtest.h>

namespace {

// Days 1 and 2 draw an alternative for r > 70, r < 20 and 21..29 (20 and 30..70 draw none);
// day 3 only for r > 70. Day events (33, 34, 35, 44, 55, 66) win over the month anniversary
// and draw no alternative; month anniversaries draw one for r 1..4; a year or more has none.
// A clock set back, or a day past the table without a month, greets as on day 0.
TEST(DailyMessages, IndexForTheDay) {
    const struct {
        std::int64_t days, years, months;
        int r;
        int index;
    } cases[] = {
        {0, 0, 0, 75, 0},   {1, 0, 0, 71, 48},     {1, 0, 0, 70, 1},   {1, 0, 0, 19, 49},
        {1, 0, 0, 20, 1},   {1, 0, 0, 21, 50},     {1, 0, 0, 29, 50},  {1, 0, 0, 30, 1},
        {2, 0, 0, 75, 51},  {2, 0, 0, 10, 52},     {2, 0, 0, 25, 53},  {2, 0, 0, 50, 2},
        {3, 0, 0, 71, 54},  {3, 0, 0, 70, 3},      {3, 0, 0, 10, 3},   {4, 0, 0, 75, 4},
        {31, 0, 0, 1, 31},  {33, 0, 1, 1, 44},     {34, 0, 1, 2, 55},  {35, 0, 1, 3, 56},
        {44, 0, 1, 4, 57},  {55, 0, 1, 1, 58},     {66, 0, 2, 75, 59}, {36, 0, 1, 50, 32},
        {40, 0, 1, 0, 32},  {40, 0, 1, 1, 45},     {40, 0, 1, 2, 45},  {40, 0, 1, 3, 46},
        {40, 0, 1, 4, 47},  {40, 0, 1, 5, 32},     {70, 0, 2, 50, 33}, {340, 0, 11, 50, 42},
        {455, 1, 3, 1, 43}, {4000, 10, 11, 3, 43}, {-1, 0, 0, 75, 0},  {100, 0, 0, 50, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(messageIndex(c.days, c.years, c.months, c.r), c.index)
            << "day " << c.days << " years " << c.years << " months " << c.months << " r " << c.r;
}

TEST(DailyMessages, TextsKeepTheirPlacesAndBlanks) {
    const std::pair<int, const char*> rows[] = {
        {0, "さあ今日からいよいよケムリンです！がんばりましょう！"},
        {12, "リラックス、リラックス。 ひとやすみ、ひとやすみ。"},
        {43, "～ ごケムリンおめでとうございます ～"},
        {55, "けむりん いっかげつ おめでとぉー\u3000がぁーがぁーがぁー"},
        {59, "ケムリンして６６日目です。アヒルの王様が喜んでいます"},
        {-1, ""},
        {kDailyMessageCount, ""}};
    for (const auto& [index, text] : rows)
        EXPECT_EQ(dailyMessage(index).toStdString(), text) << index;
}

} // namespace
