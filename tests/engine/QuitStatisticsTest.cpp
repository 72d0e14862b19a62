#include "engine/QuitStatistics.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr std::int64_t kDay = 1440;
constexpr std::int32_t kBig = 2147483647;
constexpr std::int64_t kEons = 8000 * 366 * kDay;

constexpr std::int64_t mm(std::int64_t millimetres) {
    return millimetres * 1440;
}

QuitSettings habit(int perDay, int price, int size, int tobaccoTax = 8744, int consumption = 5,
                   int boxDisplay = 1) {
    return {{}, perDay, price, size, tobaccoTax, consumption, 0, 5, boxDisplay, {}};
}

std::array<std::int64_t, 6> all(const QuitFigures& f) {
    return {f.moneySaved,        f.tobaccoTaxSaved, f.consumptionTaxSaved,
            f.lifeGainedMinutes, f.cigaretteCount,  f.scaledLengthMm};
}

// 8000 years at the upper bounds; no figure overflows.
constexpr QuitFigures kEonsAtTheBounds{58560000000, 58560000000, 0,
                                       3220800000,  585600000,   mm(585600000000)};

// Figures worked out by hand. Exact multiples must not come out one short, as floating point
// makes them; a hand-edited file's values beyond what the settings window accepts are taken at
// the nearest bound (per day 0..200, price 0..2000, size 0..1000, tobacco tax 0..100000,
// consumption tax 0..100%), so nothing overflows or divides by zero.
TEST(QuitFigures, HandWorkedFigures) {
    const struct {
        int perDay, price, size, tobaccoTax, consumption;
        std::int64_t minutes;
        QuitFigures expected; // money, tobacco tax, consumption tax, life, count, length
    } cases[] = {
        {20, 300, 85, 8744, 5, 5 * kDay, {1500, 874, 71, 550, 100, mm(8500)}},
        {20, 300, 85, 8744, 5, 7 * kDay, {2100, 1224, 100, 770, 140, mm(11900)}},
        {3, 410, 85, 8744, 5, 49 * kDay, {3013, 1285, 143, 808, 147, mm(12495)}},
        {13, 1, 85, 8744, 5, 100 * kDay, {65, 11367, 3, 7150, 1300, mm(110500)}},
        {20, 300, 85, 8744, 5, kDay - 1, {299, 174, 14, 109, 19, 2446300}},
        {200, 2000, 85, 8744, 5, 1, {13, 1, 0, 0, 0, 17000}},
        {20, 300, 85, 0, 0, 30 * kDay, {9000, 0, 0, 3300, 600, mm(51000)}},
        {20, 300, 85, 8744, 5, -kDay, {}},
        // Beyond the upper bounds: 200 a day at 2000 a pack, 1000 mm, 100 yen tax a piece, 100%.
        {500, 99999, 5000, 200000, 300, kDay, {20000, 20000, 10000, 1100, 200, mm(200000)}},
        {kBig, kBig, kBig, kBig, -100, kEons, kEonsAtTheBounds},
        // Below the lower bounds.
        {-5, 300, 85, 8744, 5, kDay, {}},
        {20, -300, -85, -1, 5, kDay, {0, 0, 0, 110, 20, 0}}};
    for (const auto& c : cases) {
        const QuitSettings s = habit(c.perDay, c.price, c.size, c.tobaccoTax, c.consumption);
        EXPECT_EQ(all(quitFigures(s, c.minutes)), all(c.expected))
            << c.perDay << '/' << c.price << '/' << c.size << '/' << c.tobaccoTax << '/'
            << c.consumption << " for " << c.minutes << " min";
    }
}

TEST(QuitFigures, CigarettesInPiecesBoxesOrCartons) {
    const struct {
        int perDay, size, boxDisplay;
        std::int64_t minutes;
        const char* text;
    } cases[] = {{20, 85, 1, 0, "0本 0ｍ ガンバレ－"},
                 {20, 85, 1, 2 * kDay, "2箱 3.4ｍ 軽自動車の全長"},
                 {20, 85, 0, kDay, "20本 1.7ｍ シーラカンス"},
                 {20, 85, 1, 10 * kDay, "1カートン 17ｍ シャア専用ザク"},
                 // 10.5 boxes would round to a whole carton, but they are not whole boxes.
                 {20, 85, 1, 10 * kDay + 720, "210本 17.85ｍ 世界最大のサボテン"},
                 // The short size comes 10 to a box and 20 boxes to a carton.
                 {10, 50, 1, 10 * kDay, "10箱 5ｍ 日本一の鬼瓦"},
                 {10, 50, 1, 20 * kDay, "1カートン 10ｍ 蒸気機関車Ｄ５１"},
                 {10, 100, 1, 20 * kDay, "1カートン 20ｍ 道頓堀グリコのネオン"}};
    for (const auto& c : cases) {
        const QuitSettings s = habit(c.perDay, 300, c.size, 8744, 5, c.boxDisplay);
        EXPECT_EQ(cigaretteText(s, quitFigures(s, c.minutes)).toStdString(), c.text);
    }
}

TEST(QuitFigures, TextsUseFullWidthDigitsWithoutBlanks) {
    EXPECT_EQ(moneyText({1500, 874, 71}).toStdString(), "1500円（節税分945円）");
    EXPECT_EQ(elapsedText({0, 0, 1, 1, 23, 0}).toStdString(), "０年１ヶ月１日２３時間０分");
    EXPECT_EQ(detailedElapsedText(400 * kDay + 189, {0, 1, 1, 4, 3, 9}).toStdString(),
              "４００日３時間９分");
    EXPECT_EQ(lifeGainedText(1505).toStdString(), "１日と１時間５分");
    EXPECT_EQ(lifeGainedText(59).toStdString(), "０日と０時間５９分");
}

} // namespace
