#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Years, months, days, hours, minutes; index 0 unused so that indexes match the calendar words.
using DateTimeParts = std::array<std::int64_t, 6>;

// Everything the program keeps between runs, the options, and the figures of the last refresh.
struct AppState {
    QString AppDir;

    // initial.ini
    DateTimeParts QuitParts{0, 0, 0, 0, 0, 0};
    std::int32_t PerDay = 20;
    std::int32_t PackPrice = 300;
    std::int32_t CigLength = 85;

    // option.ini
    std::int32_t Started;
    std::int32_t TobaccoTaxPer1000;
    std::int32_t ConsumptionTaxPercent;
    std::int32_t CopyPlusMode;
    std::int32_t SmokingYears;
    std::int32_t BoxDisplay;
    std::int32_t MainLeft;
    std::int32_t MainTop;
    std::int32_t BackColour; // 0x00BBGGRR
    std::int32_t TextColour; // 0x00BBGGRR
    QString BlogUrl;
    std::int32_t WindowMode;
    std::int32_t MiniLeft;
    std::int32_t MiniTop;
    QString StatusMode;

    // Figures of the last refresh; 64-bit so that a clock far ahead overflows nothing.
    std::int64_t ElapsedMinutes = 0;
    DateTimeParts ElapsedParts{0, 0, 0, 0, 0, 0};
    std::int64_t LifeGainedMinutes = 0;
    std::int32_t DetailView = 0;

    AppState() { setOptionDefaults(); }

    void setQuitDefaults(const DateTimeParts& now);
    void setOptionDefaults();
};
