#include "engine/Milestones.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(Milestones, LungDarkensToRedThenPales) {
    const std::pair<std::int64_t, LungColour> cases[] = {
        {0, {5, 0, 0}},          {24, {245, 0, 0}},     {25, {255, 0, 0}},
        {26, {255, 10, 10}},     {38, {255, 130, 130}}, {39, {255, 140, 140}},
        {kMax, {255, 140, 140}}, {-1, {0, 0, 0}},       {kMin, {0, 0, 0}}};
    for (const auto& [days, colour] : cases) {
        const LungColour c = lungColour(days);
        EXPECT_TRUE(c == colour) << days << ": " << c.red << ' ' << c.green << ' ' << c.blue;
    }
}

// Ducks and happy ducks as 0/1 flags, "low" when they stand lower, then the bar and its progress.
std::string describe(const MilestoneView& v) {
    std::string s;
    for (bool b : v.ducks)
        s += b ? '1' : '0';
    s += ' ';
    for (bool b : v.happyDucks)
        s += b ? '1' : '0';
    s += v.ducksLowered ? " low" : "";
    s += v.hideProgressBar ? " hidden " : " bar ";
    return s + std::to_string(v.progress);
}

// Ranges 0–10, 11–21, 22–32, 33–43, 44–54, 55–65, 66 and more, each at both ends.
TEST(Milestones, DucksAndBarAtBothEndsOfEachRange) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {-1, "000 000 bar 0"},        {0, "000 000 bar 0"},         {10, "000 000 bar 30"},
        {11, "100 000 bar 0"},        {21, "100 000 bar 30"},       {22, "101 000 bar 0"},
        {32, "101 000 bar 30"},       {33, "111 000 low hidden 0"}, {43, "111 000 low hidden 0"},
        {44, "011 100 low hidden 0"}, {54, "011 100 low hidden 0"}, {55, "010 101 low hidden 0"},
        {65, "010 101 low hidden 0"}, {66, "000 111 low hidden 0"}, {kMax, "000 111 low hidden 0"}};
    for (const auto& [days, view] : cases)
        EXPECT_EQ(describe(milestoneView(days)), view) << days;
}

} // namespace
