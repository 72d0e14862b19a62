#include "windows/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

// On a screen of 1024 × 768 pixels in twips, the main window needs 5000 × 3000 twips of room and
// the mini window 3500 × 1500. Mini or main, the saved corner, where it is placed (7680, 5760 is
// the centre).
TEST(WindowPlacement, ACornerTooNearTheEdgesGoesToTheCentre) {
    const std::array<int, 5> cases[] = {
        {0, 10360, 0, 10360, 0},     {0, 10361, 0, 7680, 5760},   {0, 0, 8520, 0, 8520},
        {0, 90, 8521, 7680, 5760},   {0, -300, 200, 0, 200},      {0, 300, -1, 300, 0},
        {1, 12000, 100, 7680, 5760}, {1, 100, 10100, 7680, 5760}, {1, 11860, 10020, 11860, 10020},
        {1, -300, 4000, 0, 4000}};
    for (const auto& [mini, x, y, placedX, placedY] : cases) {
        const QPoint p =
            placedOnScreen({x, y}, {15360, 11520}, mini ? QSize(3500, 1500) : QSize(5000, 3000));
        EXPECT_EQ(std::pair(p.x(), p.y()), std::pair(placedX, placedY)) << x << ',' << y;
    }
}

} // namespace
