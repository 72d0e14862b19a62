#include "engine/LengthTable.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr std::int64_t mm(std::int64_t millimetres) {
    return millimetres * 1440;
}

struct ScanCase {
    std::int64_t scaledMm;
    int row;
    const char* label;
};

class LengthScan : public testing::TestWithParam<ScanCase> {};

TEST_P(LengthScan, PicksRowAndLabel) {
    const ScanCase& c = GetParam();
    EXPECT_EQ(lengthRowFor(c.scaledMm), c.row);
    EXPECT_EQ(lengthLabelFor(c.scaledMm), QString::fromUtf8(c.label));
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, LengthScan,
    testing::Values(
        ScanCase{0, 1, "ガンバレ－"}, ScanCase{-mm(5000), 1, "ガンバレ－"},
        ScanCase{mm(110) - 1, 1, "ガンバレ－"}, ScanCase{158385, 1, "ガンバレ－"}, // 109.99 mm
        ScanCase{mm(110), 2, "ダチョウの卵"},
        // One day at 20 a day of size 85.
        ScanCase{mm(1700), 20, "シーラカンス"},
        // Rows 26 and 27 are passed over: 26 is longer than 27 and 28.
        ScanCase{mm(1930), 25, "シングルベッドの長さ"},
        ScanCase{mm(2020) - 1, 25, "シングルベッドの長さ"},
        ScanCase{mm(2020), 28, "アホウドリの翼長"}, ScanCase{mm(2090) - 1, 28, "アホウドリの翼長"},
        ScanCase{mm(2090), 29, "ヘラジカの肩高"},
        // Row 126 is longer than 127.
        ScanCase{mm(24000), 125, "立った鎌倉大仏（推定）"},
        ScanCase{mm(24410) - 1, 125, "立った鎌倉大仏（推定）"},
        ScanCase{mm(24410), 127, "蒲生の大クス"}, ScanCase{mm(25000) - 1, 127, "蒲生の大クス"},
        ScanCase{mm(25000), 128, "グレートマジンガー"},
        ScanCase{mm(800000000) - 1, 568, "国道１号線"},
        ScanCase{mm(800000000), 569, "成層圏を脱しました！"},
        // Past the ceiling the last two rows never show.
        ScanCase{mm(800000000) + 1, 569, "成層圏を脱しました！"},
        ScanCase{mm(999999998), 569, "成層圏を脱しました！"},
        ScanCase{mm(999999999), 569, "成層圏を脱しました！"},
        ScanCase{std::numeric_limits<std::int64_t>::max(), 569, "成層圏を脱しました！"}));

TEST(LengthTable, OnlyTheKnownRowsBreakTheAscendingOrder) {
    // A slip while copying the lengths would most likely show up as a new descent.
    std::vector<int> descents;
    for (int i = 1; i < kLengthRowCount; ++i) {
        if (lengthRow(i).lengthMm > lengthRow(i + 1).lengthMm) {
            descents.push_back(i);
        }
    }
    EXPECT_EQ(descents, (std::vector<int>{26, 126}));
}

TEST(LengthTable, RepeatedAndEdgeRowsKeepTheirPlaces) {
    const struct {
        int row;
        const char* label;
        std::int32_t length;
    } rows[] = {
        {1, "ガンバレ－", 0},
        {53, "ティラノサウルス", 4000},
        {87, "豊浜祭り 鯛の張り子", 10400},
        {96, "ティラノサウルス", 13300},
        {396, "Lupu daqiao", 550000},
        {570, "空", 999999998},
        {571, "くう空くう", 999999999},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        EXPECT_STREQ(lengthRow(r.row).label, r.label);
        EXPECT_EQ(lengthRow(r.row).lengthMm, r.length);
    }
}

struct MetreCase {
    std::int64_t scaledMm;
    const char* text;
};

class Metres : public testing::TestWithParam<MetreCase> {};

TEST_P(Metres, RoundsHalvesToEvenInShortestForm) {
    EXPECT_EQ(metreText(GetParam().scaledMm), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Rounding, Metres,
                         testing::Values(MetreCase{0, "0"}, MetreCase{mm(1700), "1.7"},
                                         MetreCase{mm(3000), "3"}, MetreCase{mm(12500), "12.5"},
                                         MetreCase{mm(850), "0.85"}, MetreCase{mm(125), "0.12"},
                                         MetreCase{mm(125) + 1, "0.13"}, MetreCase{mm(135), "0.14"},
                                         MetreCase{mm(135) - 1, "0.13"}, MetreCase{mm(105), "0.1"},
                                         MetreCase{mm(5), "0"}, MetreCase{mm(15), "0.02"},
                                         MetreCase{mm(995), "1"}, MetreCase{mm(10050), "10.05"},
                                         MetreCase{mm(800000000), "800000"},
                                         // 1 minute at 1 a day of size 50: 50/1440 mm.
                                         MetreCase{50, "0"}, MetreCase{-mm(500), "-0.5"},
                                         MetreCase{-mm(125), "-0.12"}, MetreCase{-mm(135), "-0.14"},
                                         MetreCase{-mm(5), "0"}));

TEST(Metres, ExtremesDoNotOverflow) {
    EXPECT_EQ(metreText(std::numeric_limits<std::int64_t>::max()),
              QString::fromLatin1("6405119470038.04"));
    EXPECT_TRUE(metreText(std::numeric_limits<std::int64_t>::min()).startsWith(QLatin1Char('-')));
    EXPECT_EQ(lengthRowFor(std::numeric_limits<std::int64_t>::min()), 1);
}

} // namespace
