#pragma once

#include <QString>

#include <cstdint>

inline constexpr int kDailyMessageCount = 60;

// Message 0..59.
QString dailyMessage(int index);

// The message shown for the day: day count, whole years and months since quitting, and the draw
// r (0..99). Always a valid index, whatever the inputs.
int messageIndex(std::int64_t dayCount, std::int64_t years, std::int64_t months, int r);
