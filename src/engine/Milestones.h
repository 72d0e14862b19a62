#pragma once

#include <array>
#include <cstdint>

struct LungColour {
    int red;
    int green;
    int blue;
    friend bool operator==(const LungColour&, const LungColour&) = default;
};

// Colour of the lung drawing on a given day; always a valid colour.
LungColour lungColour(std::int64_t dayCount);

// Which duck pictures show on a given day and where the progress bar stands.
struct MilestoneView {
    std::array<bool, 3> ducks{};      // left to right
    std::array<bool, 3> happyDucks{}; // left to right, above the ducks
    bool ducksLowered = false;        // visible ducks stand at top 2850 twips
    bool hideProgressBar = false;     // once hidden the bar is never shown again
    int progress = 0;                 // 0..30 on a bar of 0..33
    friend bool operator==(const MilestoneView&, const MilestoneView&) = default;
};

MilestoneView milestoneView(std::int64_t dayCount);
