#include "windows/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

// A screen of 1024 × 768 pixels, in twips.
constexpr QSize kScreen(15360, 11520);
constexpr QSize kMainRoom(5000, 3000);
constexpr QSize kMiniRoom(3500, 1500);

TEST(WindowPlacement, ACornerTooNearTheEdgesGoesToTheCentre) {
    const struct {
        const char* name;
        QSize room;
        QPoint saved;
        QPoint placed;
    } cases[] = {
        {"main left at the limit", kMainRoom, {10360, 0}, {10360, 0}},
        {"main left past the limit", kMainRoom, {10361, 0}, {7680, 5760}},
        {"main top at the limit", kMainRoom, {0, 8520}, {0, 8520}},
        {"main top past the limit", kMainRoom, {90, 8521}, {7680, 5760}},
        {"main negative left", kMainRoom, {-300, 200}, {0, 200}},
        {"main negative top", kMainRoom, {300, -1}, {300, 0}},
        {"mini left past the limit", kMiniRoom, {12000, 100}, {7680, 5760}},
        {"mini top past the limit", kMiniRoom, {100, 10100}, {7680, 5760}},
        {"mini at both limits", kMiniRoom, {11860, 10020}, {11860, 10020}},
        {"mini negative left", kMiniRoom, {-300, 4000}, {0, 4000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placedOnScreen(c.saved, kScreen, c.room), c.placed) << c.name;
}

} // namespace
