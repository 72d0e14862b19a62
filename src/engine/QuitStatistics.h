#pragma once

#include "settings/AppState.h"

#include <QString>

#include <cstdint>

// Figures for the minutes since quitting, divided out exactly in integers.
struct QuitFigures {
    std::int64_t moneySaved = 0;
    std::int64_t tobaccoTaxSaved = 0;
    std::int64_t consumptionTaxSaved = 0;
    std::int64_t lifeGainedMinutes = 0;
    std::int64_t cigaretteCount = 0;
    std::int64_t scaledLengthMm = 0; // total length in mm × 1440
};

// Settings beyond what the settings windows accept (a hand-edited file) are taken at their
// nearest bound, so no figure can overflow or divide by zero.
QuitFigures quitFigures(const QuitSettings& settings, std::int64_t elapsedMinutes);

// "１年２ヶ月３日４時間５分"
QString elapsedText(const DateTimeParts& elapsedParts);
// "４００日３時間９分"
QString detailedElapsedText(std::int64_t elapsedMinutes, const DateTimeParts& elapsedParts);
// "０日と９時間１０分"
QString lifeGainedText(std::int64_t lifeGainedMinutes);
// "1500円（節税分945円）"
QString moneyText(const QuitFigures& figures);
// "140本", or "7箱" or "1カートン" when boxes are asked for and come out exact.
QString cigaretteCountText(const QuitSettings& settings, std::int64_t count);
// "140本 11.9ｍ ドラえもん", the count as above.
QString cigaretteText(const QuitSettings& settings, const QuitFigures& figures);
