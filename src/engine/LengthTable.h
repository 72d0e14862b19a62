#pragma once

#include <QString>

#include <cstdint>

// Well-known objects by length, rows 1..571 in their listed order (not sorted everywhere).
inline constexpr int kLengthRowCount = 571;

struct LengthRow {
    const char* label; // UTF-8
    std::int32_t lengthMm;
};

// Row 1..kLengthRowCount.
const LengthRow& lengthRow(int index);

// Lengths are passed as an exact fraction: scaledMm = total length in mm × 1440
// (elapsedMinutes × cigLength × perDay), so no rounding decides a boundary.

// The row whose label is shown for this total, the ceiling applied.
int lengthRowFor(std::int64_t scaledMm);
QString lengthLabelFor(std::int64_t scaledMm);
// The total in metres, rounded to two decimals (halves to even), shortest plain form: 12.5, 3,
// 0.85.
QString metreText(std::int64_t scaledMm);
