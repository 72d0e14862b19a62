#pragma once

#include <cstdint>

inline constexpr std::int64_t kMinutesPerDay = 1440;

// Whole part of a quotient, rounded toward minus infinity (C++ division truncates toward zero).
constexpr std::int64_t floorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}
