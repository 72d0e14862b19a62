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
    std::array<bool, 3> ducks{};      // Image1(10), Image1(11), Image1(12)
    std::array<bool, 3> happyDucks{}; // Image3(0), Image3(1), Image3(2)
    bool ducksLowered = false;        // visible ducks stand at top 2850 twips
    bool hideProgressBar = false;     // once hidden the bar is never shown again
    int progress = 0;                 // 0..30 on a bar of 0..33
    friend bool operator==(const MilestoneView&, const MilestoneView&) = default;
};

MilestoneView milestoneView(std::int64_t dayCount);
