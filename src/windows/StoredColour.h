#pragma once

#include <QColor>

#include <cstdint>

// Colours are kept in the settings as 0x00BBGGRR, red in the low byte.
inline QColor colourFromStored(std::int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline std::int32_t storedFromColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}
