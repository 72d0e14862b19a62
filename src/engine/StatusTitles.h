#pragma once

#include <QString>

#include <cstdint>

// The title series names that option.ini's statusMode may hold.
QString soldierSeriesName(); // "ソルジャー"
QString cosmoSeriesName();   // "コスモ"

// The status title for whole days and whole calendar years since quitting; empty for an
// unknown series or a negative day count.
QString statusTitle(const QString& statusMode, std::int64_t dayCount, std::int64_t wholeYears);
