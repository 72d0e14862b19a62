#include "settings/LenientNumber.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct ReadCase {
    const char* text; // UTF-8
    std::optional<std::int32_t> expected;
};

// Control characters are spelt out so that every case has a printable name.
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << '"';
    for (const char* p = c.text; *p; ++p) {
        if (*p == '\t')
            *os << "\\t";
        else if (*p == '\n')
            *os << "\\n";
        else if (*p == '\r')
            *os << "\\r";
        else
            *os << *p;
    }
    *os << '"';
}

class LenientRead : public testing::TestWithParam<ReadCase> {};

TEST_P(LenientRead, GivesTheRoundedDownLeadingNumber) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(readLenientNumber(QString::fromUtf8(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(WholeAndDecimal, LenientRead,
                         testing::Values(ReadCase{"20", 20}, ReadCase{"+7", 7}, ReadCase{"-5", -5},
                                         ReadCase{"007", 7}, ReadCase{"1.9", 1}, ReadCase{"1.", 1},
                                         ReadCase{".5", 0}, ReadCase{"-.5", -1},
                                         ReadCase{"-1.5", -2}, ReadCase{"-2.0", -2},
                                         ReadCase{"-0", 0}, ReadCase{"-0.0001", -1},
                                         ReadCase{"0.99999999999999999999", 0},
                                         ReadCase{"199.999", 199}));

INSTANTIATE_TEST_SUITE_P(StopsWhereTheNumberEnds, LenientRead,
                         testing::Values(ReadCase{"20x", 20}, ReadCase{"20本", 20},
                                         ReadCase{"1.2.3", 1}, ReadCase{"5-", 5},
                                         ReadCase{"12,5", 12}, ReadCase{"3+4", 3},
                                         ReadCase{"1e", 1}, ReadCase{"1e+", 1}, ReadCase{"1E-x", 1},
                                         ReadCase{"2d3", 2}, ReadCase{"&H10", 0}));

INSTANTIATE_TEST_SUITE_P(NoNumberGivesZero, LenientRead,
                         testing::Values(ReadCase{"", 0}, ReadCase{"abc", 0}, ReadCase{"x20", 0},
                                         ReadCase{"-", 0}, ReadCase{"+-5", 0}, ReadCase{".", 0},
                                         ReadCase{"-.", 0}, ReadCase{".e5", 0}, ReadCase{"e5", 0},
                                         ReadCase{"   ", 0}));

INSTANTIATE_TEST_SUITE_P(BlanksSkippedAnywhere, LenientRead,
                         testing::Values(ReadCase{" -5", -5}, ReadCase{"\t\n 7", 7},
                                         ReadCase{"\r\n8", 8}, ReadCase{"1 2", 12},
                                         ReadCase{"- 5", -5}, ReadCase{"1 . 9", 1},
                                         ReadCase{"2 e 2", 200}, ReadCase{"\u30003\u3000", 3}));

INSTANTIATE_TEST_SUITE_P(Exponents, LenientRead,
                         testing::Values(ReadCase{"1e3", 1000}, ReadCase{"2e3", 2000},
                                         ReadCase{"2E+3", 2000}, ReadCase{"1.5e1", 15},
                                         ReadCase{"15e-1", 1}, ReadCase{"-15e-1", -2},
                                         ReadCase{"1e-400", 0}, ReadCase{"-1e-400", -1},
                                         ReadCase{"0e999999", 0},
                                         ReadCase{"0.002147483647e12", 2147483647},
                                         ReadCase{"1e0000000000000000000003", 1000}));

INSTANTIATE_TEST_SUITE_P(FullWidthAsAscii, LenientRead,
                         testing::Values(ReadCase{"１２０", 120}, ReadCase{"－３", -3},
                                         ReadCase{"＋４", 4}, ReadCase{"１．９", 1},
                                         ReadCase{"２ｅ２", 200}, ReadCase{"２Ｅ２", 200},
                                         ReadCase{"1２", 12}, ReadCase{"２０本", 20}));

INSTANTIATE_TEST_SUITE_P(
    ThirtyTwoBitRange, LenientRead,
    testing::Values(ReadCase{"2147483647", 2147483647}, ReadCase{"2147483647.999", 2147483647},
                    ReadCase{"-2147483648", -2147483647 - 1}, ReadCase{"2147483648", std::nullopt},
                    ReadCase{"-2147483648.5", std::nullopt}, ReadCase{"-2147483649", std::nullopt},
                    ReadCase{"99999999999", std::nullopt}, ReadCase{"0000000000099", 99},
                    ReadCase{"1e300", std::nullopt}, ReadCase{"-1e300", std::nullopt},
                    ReadCase{"1e99999999999999999999", std::nullopt}, ReadCase{"1e9", 1000000000},
                    ReadCase{"1e10", std::nullopt},
                    ReadCase{"９９９９９９９９９９９", std::nullopt}));

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
