#include "settings/LenientNumber.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct ReadCase {
    const char* text; // UTF-8
    std::optional<std::int32_t> expected;
};

template <std::size_t N> void expectReadings(const ReadCase (&cases)[N]) {
    for (const ReadCase& c : cases)
        EXPECT_EQ(readLenientNumber(QString::fromUtf8(c.text)), c.expected) << '"' << c.text << '"';
}

// Whole and decimal numbers, exponents and full-width forms, rounded down.
const ReadCase kNumbers[] = {{"+7", 7},       {"-5", -5},     {"1.9", 1},      {"1.", 1},
                             {"-.5", -1},     {"-2.0", -2},   {"-0.0001", -1}, {"2E+3", 2000},
                             {"1.5e1", 15},   {"-15e-1", -2}, {"1e-400", 0},   {"-1e-400", -1},
                             {"0e999999", 0}, {"－３", -3},   {"＋４", 4},     {"１．９", 1},
                             {"２Ｅ２", 200}, {"1２", 12}};
TEST(LenientRead, Numbers) {
    expectReadings(kNumbers);
}

// Blanks are skipped anywhere; the number ends at the first character that cannot continue it;
// no number gives 0.
const ReadCase kWhereTheNumberEnds[] = {
    {"\t\r\n 7", 7},      {"1 2", 12},  {"- 5", -5},  {"1 . 9", 1}, {"2 e 2", 200},
    {"\u30003\u3000", 3}, {"20本", 20}, {"1.2.3", 1}, {"5-", 5},    {"12,5", 12},
    {"1e+", 1},           {"1E-x", 1},  {"2d3", 2},   {"&H10", 0},  {"", 0},
    {"x20", 0},           {"+-5", 0},   {"-.", 0},    {".e5", 0},   {" ", 0}};
TEST(LenientRead, WhereTheNumberEnds) {
    expectReadings(kWhereTheNumberEnds);
}

// Exact to the last digit, and empty outside 32 bits.
const ReadCase kPrecisionAndRange[] = {{"0.99999999999999999999", 0},
                                       {"0.002147483647e12", 2147483647},
                                       {"1e0000000000000000000003", 1000},
                                       {"0000000000099", 99},
                                       {"2147483647.999", 2147483647},
                                       {"-2147483648", -2147483647 - 1},
                                       {"2147483648", std::nullopt},
                                       {"-2147483648.5", std::nullopt},
                                       {"1e10", std::nullopt},
                                       {"-1e300", std::nullopt},
                                       {"1e99999999999999999999", std::nullopt}};
TEST(LenientRead, PrecisionAndRange) {
    expectReadings(kPrecisionAndRange);
}

TEST(LenientReadLongText, ManyDigitsStayExact) {
    // Thousands of fraction digits must neither overflow nor round up into the next whole number.
    const QString nines = QStringLiteral("199.") + QString(5000, QLatin1Char('9'));
    EXPECT_EQ(readLenientNumber(nines), 199);
    EXPECT_EQ(readLenientNumber(QLatin1Char('-') + nines), -200);
    EXPECT_EQ(readLenientNumber(QString(5000, QLatin1Char('1'))), std::nullopt);
    EXPECT_EQ(readLenientNumber(QStringLiteral("0.") + QString(5000, QLatin1Char('0')) +
                                QStringLiteral("1e5003")),
              100);
}

} // namespace
