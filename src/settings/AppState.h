#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Years, months, days, hours, minutes; index 0 unused so that indexes match the calendar words.
using DateTimeParts = std::array<std::int64_t, 6>;

// Everything the program keeps between runs, the options, and the figures of the last refresh.
struct AppState {
    QString appDir;

    // initial.ini
    DateTimeParts quitMoment{0, 0, 0, 0, 0, 0};
    std::int32_t perDay = 20;
    std::int32_t packPrice = 300;
    std::int32_t cigLength = 85;

    // option.ini
    std::int32_t started;
    std::int32_t tobaccoTaxPer1000;
    std::int32_t consumptionTaxPercent;
    std::int32_t copyPlusMode;
    std::int32_t smokingYears;
    std::int32_t boxDisplay;
    std::int32_t mainLeft;
    std::int32_t mainTop;
    std::int32_t backColour; // 0x00BBGGRR
    std::int32_t textColour; // 0x00BBGGRR
    QString blogUrl;
    std::int32_t windowMode;
    std::int32_t miniLeft;
    std::int32_t miniTop;
    QString statusMode;

    // Figures of the last refresh; 64-bit so that a clock far ahead overflows nothing.
    std::int64_t elapsedMinutes = 0;
    DateTimeParts elapsedParts{0, 0, 0, 0, 0, 0};
    std::int64_t lifeGainedMinutes = 0;
    std::int32_t detailView = 0;

    AppState() { setOptionDefaults(); }

    void setQuitDefaults(const DateTimeParts& now);
    void setOptionDefaults();
};
