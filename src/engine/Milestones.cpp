#include "engine/Milestones.h"

#include <algorithm>

namespace {

constexpr int kGreenBlueCap = 140;

// Arrival days of the three ducks; the bar fills by 3 a day towards the next one.
constexpr std::int64_t kSecondArrival = 11;
constexpr std::int64_t kThirdArrival = 22;
constexpr std::int64_t kAllArrived = 33;
constexpr std::int64_t kFirstHappy = 44;
constexpr std::int64_t kSecondHappy = 55;
constexpr std::int64_t kAllHappy = 66;

} // namespace

LungColour lungColour(std::int64_t dayCount) {
    // Clamped before scaling: past day 39 the colour no longer changes, and a day count from a
    // clock set back before the quit moment shows the darkest colour rather than a negative one.
    const std::int64_t level = std::clamp<std::int64_t>(dayCount, -1, 100) * 10 + 5;
    if (level < 0) {
        return {0, 0, 0};
    }
    if (level < 256) {
        return {static_cast<int>(level), 0, 0};
    }
    const int pale = std::min(static_cast<int>(level - 255), kGreenBlueCap);
    return {255, pale, pale};
}

MilestoneView milestoneView(std::int64_t dayCount) {
    MilestoneView view;
    if (dayCount < 0) {
        return view;
    }
    if (dayCount >= kAllArrived) {
        // From here on every duck stands lower and the bar is gone for good.
        view.ducksLowered = true;
        view.hideProgressBar = true;
        if (dayCount >= kAllHappy) {
            view.happyDucks = {true, true, true};
        } else if (dayCount >= kSecondHappy) {
            view.happyDucks = {true, false, true};
            view.ducks[1] = true;
        } else if (dayCount >= kFirstHappy) {
            view.happyDucks[0] = true;
            view.ducks[1] = true;
            view.ducks[2] = true;
        } else {
            view.ducks = {true, true, true};
        }
    } else if (dayCount >= kThirdArrival) {
        view.ducks[0] = true;
        view.ducks[2] = true;
        view.progress = static_cast<int>((dayCount - kThirdArrival) * 3);
    } else if (dayCount >= kSecondArrival) {
        view.ducks[0] = true;
        view.progress = static_cast<int>((dayCount - kSecondArrival) * 3);
    } else {
        view.progress = static_cast<int>(dayCount * 3);
    }
    return view;
}
