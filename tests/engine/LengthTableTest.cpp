#include "engine/LengthTable.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

constexpr std::int64_t mm(std::int64_t millimetres) {
    return millimetres * 1440;
}

// Rows 26 and 126 are longer than the rows after them, so the scan passes over 26, 27 and 127.
// Past the ceiling of row 569 the last two rows never show. Lengths in mm, less one 1/1440 mm
// where `below` is set.
TEST(LengthTable, ScanPicksRowAndLabelAtEachBoundary) {
    const struct {
        std::int64_t mm;
        bool below;
        int row;
        const char* label;
    } cases[] = {{110, true, 1, "ガンバレ－"},
                 {110, false, 2, "ダチョウの卵"},
                 {2020, true, 25, "シングルベッドの長さ"},
                 {2020, false, 28, "アホウドリの翼長"},
                 {24410, true, 125, "立った鎌倉大仏（推定）"},
                 {24410, false, 127, "蒲生の大クス"},
                 {25000, false, 128, "グレートマジンガー"},
                 {800000000, true, 568, "国道１号線"},
                 {800000000, false, 569, "成層圏を脱しました！"}};
    for (const auto& c : cases) {
        const std::int64_t scaled = mm(c.mm) - (c.below ? 1 : 0);
        EXPECT_EQ(lengthRowFor(scaled), c.row) << scaled;
        EXPECT_EQ(lengthLabelFor(scaled).toStdString(), c.label) << scaled;
    }
    EXPECT_EQ(lengthRowFor(kMin), 1);
    EXPECT_EQ(lengthRowFor(kMax), 569);
}

// A slip while copying the lengths would most likely show up as a new descent; repeated labels
// and the two rows past the ceiling keep their places.
TEST(LengthTable, RowsKeepTheirOrderAndPlaces) {
    std::vector<int> descents;
    for (int i = 1; i < kLengthRowCount; ++i) {
        if (lengthRow(i).lengthMm > lengthRow(i + 1).lengthMm)
            descents.push_back(i);
    }
    EXPECT_EQ(descents, (std::vector<int>{26, 126}));
    const struct {
        int row;
        const char* label;
        std::int32_t length;
    } rows[] = {{1, "ガンバレ－", 0},
                {53, "ティラノサウルス", 4000},
                {96, "ティラノサウルス", 13300},
                {396, "Lupu daqiao", 550000},
                {570, "空", 999999998},
                {571, "くう空くう", 999999999}};
    for (const auto& r : rows) {
        EXPECT_STREQ(lengthRow(r.row).label, r.label) << r.row;
        EXPECT_EQ(lengthRow(r.row).lengthMm, r.length) << r.row;
    }
}

// In mm, plus `above` 1/1440 mm.
TEST(LengthTable, MetresRoundHalvesToEvenInShortestForm) {
    const struct {
        std::int64_t mm, above;
        const char* text;
    } cases[] = {{0, 0, "0"},         {3000, 0, "3"},     {12500, 0, "12.5"}, {850, 0, "0.85"},
                 {125, 0, "0.12"},    {125, 1, "0.13"},   {135, 0, "0.14"},   {995, 0, "1"},
                 {10050, 0, "10.05"}, {-125, 0, "-0.12"}, {-135, 0, "-0.14"}, {-5, 0, "0"}};
    for (const auto& c : cases)
        EXPECT_EQ(metreText(mm(c.mm) + c.above).toStdString(), c.text) << c.mm;
    EXPECT_EQ(metreText(mm(800000000)).toStdString(), "800000");
    EXPECT_EQ(metreText(kMax).toStdString(), "6405119470038.04");
    EXPECT_TRUE(metreText(kMin).startsWith(QLatin1Char('-')));
}

} // namespace
