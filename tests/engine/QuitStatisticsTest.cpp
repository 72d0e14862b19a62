#include "engine/QuitStatistics.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kDay = 1440;

AppState habit(int perDay, int price, int size, int boxDisplay = 1) {
    AppState s;
    s.perDay = perDay;
    s.packPrice = price;
    s.cigLength = size;
    s.boxDisplay = boxDisplay;
    return s;
}

TEST(QuitFigures, FiveDaysAtTwentyADay) {
    const QuitFigures f = quitFigures(habit(20, 300, 85), 5 * kDay);
    EXPECT_EQ(f.moneySaved, 1500);
    EXPECT_EQ(f.tobaccoTaxSaved, 874);
    EXPECT_EQ(f.consumptionTaxSaved, 71);
    EXPECT_EQ(moneyText(f).toStdString(), "1500円（節税分945円）");
    EXPECT_EQ(f.lifeGainedMinutes, 550);
    EXPECT_EQ(lifeGainedText(f.lifeGainedMinutes).toStdString(), "０日と９時間１０分");
}

// Exact multiples must not come out one short, as floating point makes them.
TEST(QuitFigures, ExactBoundariesAreNeverOneShort) {
    const struct {
        int perDay, price;
        std::int64_t minutes;
        std::int64_t count, money, life;
    } cases[] = {
        {20, 300, 7 * kDay, 140, 2100, 770}, {3, 410, 49 * kDay, 147, 3013, 808},
        {7, 290, 10 * kDay, 70, 1015, 385},  {13, 1, 100 * kDay, 1300, 65, 7150},
        {20, 300, kDay - 1, 19, 299, 109},   {200, 2000, 1, 0, 13, 0},
    };
    for (const auto& c : cases) {
        const QuitFigures f = quitFigures(habit(c.perDay, c.price, 85), c.minutes);
        EXPECT_EQ(f.cigaretteCount, c.count) << c.perDay << "/" << c.minutes;
        EXPECT_EQ(f.moneySaved, c.money) << c.perDay << "/" << c.minutes;
        EXPECT_EQ(f.lifeGainedMinutes, c.life) << c.perDay << "/" << c.minutes;
    }
}

TEST(QuitFigures, TaxSharesOfZero) {
    AppState s = habit(20, 300, 85);
    s.tobaccoTaxPer1000 = 0;
    s.consumptionTaxPercent = 0;
    const QuitFigures f = quitFigures(s, 30 * kDay);
    EXPECT_EQ(f.tobaccoTaxSaved, 0);
    EXPECT_EQ(f.consumptionTaxSaved, 0);
    EXPECT_EQ(f.moneySaved, 9000);
}

// A hand-edited file may hold anything; no figure may overflow or divide by zero.
TEST(QuitFigures, SettingsBeyondTheirBoundsAreTakenAtTheBound) {
    AppState wild = habit(2147483647, 2147483647, 2147483647);
    wild.tobaccoTaxPer1000 = 2147483647;
    wild.consumptionTaxPercent = -100;
    AppState bound = habit(200, 2000, 1000);
    bound.tobaccoTaxPer1000 = 100000;
    bound.consumptionTaxPercent = 0;
    const std::int64_t eightThousandYears = 8000LL * 366 * kDay;
    const QuitFigures w = quitFigures(wild, eightThousandYears);
    const QuitFigures b = quitFigures(bound, eightThousandYears);
    EXPECT_EQ(w.moneySaved, b.moneySaved);
    EXPECT_EQ(w.tobaccoTaxSaved, b.tobaccoTaxSaved);
    EXPECT_EQ(w.consumptionTaxSaved, 0);
    EXPECT_EQ(w.scaledLengthMm, b.scaledLengthMm);
    EXPECT_GT(w.moneySaved, 0);
}

struct CigaretteCase {
    int perDay, size, boxDisplay;
    std::int64_t minutes;
    const char* text;
};

class CigaretteTextTest : public testing::TestWithParam<CigaretteCase> {};

TEST_P(CigaretteTextTest, CountBoxesAndCartons) {
    const CigaretteCase& c = GetParam();
    const AppState s = habit(c.perDay, 300, c.size, c.boxDisplay);
    EXPECT_EQ(cigaretteText(s, quitFigures(s, c.minutes)).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, CigaretteTextTest,
    testing::Values(CigaretteCase{20, 85, 1, 0, "0本 0ｍ ガンバレ－"},
                    CigaretteCase{20, 85, 1, kDay, "1箱 1.7ｍ シーラカンス"},
                    CigaretteCase{20, 85, 0, kDay, "20本 1.7ｍ シーラカンス"},
                    CigaretteCase{20, 85, 0, 7 * kDay, "140本 11.9ｍ 妖怪一反木綿"},
                    CigaretteCase{20, 85, 1, 2 * kDay, "2箱 3.4ｍ 軽自動車の全長"},
                    CigaretteCase{20, 85, 1, 10 * kDay, "1カートン 17ｍ シャア専用ザク"},
                    CigaretteCase{20, 85, 1, 10 * kDay + 72, "201本 17.08ｍ シャア専用ザク"},
                    CigaretteCase{20, 85, 1, 10 * kDay + 720, "210本 17.85ｍ 世界最大のサボテン"},
                    CigaretteCase{10, 50, 1, kDay, "1箱 0.5ｍ ノミのジャンプ"},
                    CigaretteCase{10, 50, 1, 20 * kDay, "1カートン 10ｍ 蒸気機関車Ｄ５１"},
                    CigaretteCase{10, 100, 1, 20 * kDay, "1カートン 20ｍ 道頓堀グリコのネオン"}));

TEST(ElapsedTexts, FullWidthDigitsWithoutBlanks) {
    EXPECT_EQ(elapsedText({0, 0, 0, 0, 0, 0}).toStdString(), "０年０ヶ月０日０時間０分");
    EXPECT_EQ(elapsedText({0, 0, 1, 1, 23, 0}).toStdString(), "０年１ヶ月１日２３時間０分");
    EXPECT_EQ(detailedElapsedText(400 * kDay + 189, {0, 1, 1, 4, 3, 9}).toStdString(),
              "４００日３時間９分");
    EXPECT_EQ(lifeGainedText(1505).toStdString(), "１日と１時間５分");
    EXPECT_EQ(lifeGainedText(59).toStdString(), "０日と０時間５９分");
}

} // namespace
