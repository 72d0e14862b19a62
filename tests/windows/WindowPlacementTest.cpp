#include "windows/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

// On a screen of 1024 × 768 pixels in twips, the main window needs 5000 × 3000 twips of room and
// the mini window 3500 × 1500: saved corner and where it is placed.
TEST(WindowPlacement, ACornerTooNearTheEdgesGoesToTheCentre) {
    const std::tuple<QSize, QPoint, QPoint> cases[] = {
        {{5000, 3000}, {10360, 0}, {10360, 0}},         {{5000, 3000}, {10361, 0}, {7680, 5760}},
        {{5000, 3000}, {0, 8520}, {0, 8520}},           {{5000, 3000}, {90, 8521}, {7680, 5760}},
        {{5000, 3000}, {-300, 200}, {0, 200}},          {{5000, 3000}, {300, -1}, {300, 0}},
        {{3500, 1500}, {12000, 100}, {7680, 5760}},     {{3500, 1500}, {100, 10100}, {7680, 5760}},
        {{3500, 1500}, {11860, 10020}, {11860, 10020}}, {{3500, 1500}, {-300, 4000}, {0, 4000}}};
    for (const auto& [room, saved, placed] : cases) {
        const QPoint p = placedOnScreen(saved, QSize(15360, 11520), room);
        EXPECT_EQ(std::pair(p.x(), p.y()), std::pair(placed.x(), placed.y()))
            << saved.x() << ',' << saved.y();
    }
}

} // namespace
