#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The number at the start of a typed text, rounded down: blanks, tabs and line feeds are
// skipped, then an optional sign, digits, a decimal point and an exponent are taken up to the
// first character that cannot continue the number; no number gives 0. Full-width digits, signs
// and points count as their ASCII forms. Empty when the value does not fit 32 bits.
std::optional<std::int32_t> readLenientNumber(const QString& text);

// A tax box's reading: the whole text must be one number (blanks around it allowed, full-width
// forms folded), rounded down. Empty when it is no number or does not fit 32 bits.
std::optional<std::int32_t> readStrictNumber(const QString& text);
