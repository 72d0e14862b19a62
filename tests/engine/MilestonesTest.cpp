#include "engine/Milestones.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

void PrintTo(const LungColour& c, std::ostream* os) {
    *os << '(' << c.red << ", " << c.green << ", " << c.blue << ')';
}

void PrintTo(const MilestoneView& v, std::ostream* os) {
    *os << "ducks " << v.ducks[0] << v.ducks[1] << v.ducks[2] << " happy " << v.happyDucks[0]
        << v.happyDucks[1] << v.happyDucks[2] << " lowered " << v.ducksLowered << " hideBar "
        << v.hideProgressBar << " progress " << v.progress;
}

namespace {

struct LungCase {
    std::int64_t days;
    LungColour colour;
};

class Lungs : public testing::TestWithParam<LungCase> {};

TEST_P(Lungs, Colour) {
    EXPECT_EQ(lungColour(GetParam().days), GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(
    Days, Lungs,
    testing::Values(LungCase{0, {5, 0, 0}}, LungCase{10, {105, 0, 0}}, LungCase{24, {245, 0, 0}},
                    LungCase{25, {255, 0, 0}}, LungCase{26, {255, 10, 10}},
                    LungCase{38, {255, 130, 130}}, LungCase{39, {255, 140, 140}},
                    LungCase{100, {255, 140, 140}},
                    LungCase{std::numeric_limits<std::int64_t>::max(), {255, 140, 140}},
                    // Clock set back before the quit moment.
                    LungCase{-1, {0, 0, 0}},
                    LungCase{std::numeric_limits<std::int64_t>::min(), {0, 0, 0}}));

struct ViewCase {
    std::int64_t days;
    MilestoneView view;
};

class Pictures : public testing::TestWithParam<ViewCase> {};

TEST_P(Pictures, DucksAndBar) {
    EXPECT_EQ(milestoneView(GetParam().days), GetParam().view);
}

constexpr std::array<bool, 3> none{false, false, false};
constexpr std::array<bool, 3> all{true, true, true};

// Ranges 0–10, 11–21, 22–32, 33–43, 44–54, 55–65, 66 and more, each at both ends.
INSTANTIATE_TEST_SUITE_P(
    Ranges, Pictures,
    testing::Values(
        ViewCase{-1, {none, none, false, false, 0}}, ViewCase{0, {none, none, false, false, 0}},
        ViewCase{10, {none, none, false, false, 30}},
        ViewCase{11, {{true, false, false}, none, false, false, 0}},
        ViewCase{21, {{true, false, false}, none, false, false, 30}},
        ViewCase{22, {{true, false, true}, none, false, false, 0}},
        ViewCase{32, {{true, false, true}, none, false, false, 30}},
        ViewCase{33, {all, none, true, true, 0}}, ViewCase{43, {all, none, true, true, 0}},
        ViewCase{44, {{false, true, true}, {true, false, false}, true, true, 0}},
        ViewCase{54, {{false, true, true}, {true, false, false}, true, true, 0}},
        ViewCase{55, {{false, true, false}, {true, false, true}, true, true, 0}},
        ViewCase{65, {{false, true, false}, {true, false, true}, true, true, 0}},
        ViewCase{66, {none, all, true, true, 0}}, ViewCase{100000, {none, all, true, true, 0}}));

} // namespace
