#pragma once

#include <QString>

#include <cstdint>

// The decimal text of a whole number in full-width characters: 120 → "１２０", -3 → "－３".
QString wideNumber(std::int64_t value);
