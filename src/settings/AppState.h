#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// Years, months, days, hours, minutes; index 0 unused so that indexes match the calendar words.
using DateTimeParts = std::array<std::int64_t, 6>;

// Whether moment a comes after moment b, to the minute.
inline bool comesAfter(const DateTimeParts& a, const DateTimeParts& b) {
    return std::array{a[1], a[2], a[3], a[4], a[5]} > std::array{b[1], b[2], b[3], b[4], b[5]};
}

// What every figure of a refresh rests on: the quit moment, the old habit, the taxes and how
// the figures are told.
struct QuitSettings {
    DateTimeParts quitMoment{0, 0, 0, 0, 0, 0};
    std::int32_t perDay = 20;
    std::int32_t packPrice = 300;
    std::int32_t cigLength = 85;
    std::int32_t tobaccoTaxPer1000 = 8744;
    std::int32_t consumptionTaxPercent = 5;
    std::int32_t copyPlusMode = 0;
    std::int32_t smokingYears = 5;
    std::int32_t boxDisplay = 1;
    QString statusMode;
};

// Everything the program keeps between runs: initial.ini holds the quit moment and the habit,
// option.ini the rest.
struct AppState : QuitSettings {
    QString appDir;

    std::int32_t started;
    std::int32_t mainLeft; // twips
    std::int32_t mainTop;
    std::int32_t backColour; // 0x00BBGGRR
    std::int32_t textColour; // 0x00BBGGRR
    QString blogUrl;         // without a scheme
    std::int32_t windowMode; // 1 mini window; 2 main window, mini never used; 0 main window
    std::int32_t miniLeft;
    std::int32_t miniTop;
    // The bytes option.ini held for the two texts, written back while the texts are unchanged.
    QByteArray blogUrlBytes;
    QByteArray statusModeBytes;

    AppState() { setOptionDefaults(); }

    void setQuitDefaults(const DateTimeParts& now);
    void setOptionDefaults();
};
