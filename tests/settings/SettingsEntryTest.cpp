#include "settings/SettingsEntry.h"
#include "settings/LenientNumber.h"
#include "settings/TextCodec.h"

#include <gtest/gtest.h>

namespace {

// Now: 6 December 2026, 15:30.
constexpr DateTimeParts kNow{0, 2026, 12, 6, 15, 30};

SettingsEntry validEntry() {
    SettingsEntry e;
    e.quitMoment = {"2026", "11", "1", "9", "0"};
    e.perDay = "20";
    e.packPrice = "300";
    e.tobaccoTaxPer1000 = "8744";
    e.consumptionTaxPercent = "5";
    e.smokingYears = "5";
    e.statusMode = "ソルジャー";
    return e;
}

// One problem at most: a value out of range hides a moment in the future, which hides the taxes.
TEST(EntryCheck, OneProblemAtMost) {
    constexpr auto kOk = EntryProblem::None;
    constexpr auto kRange = EntryProblem::OutOfRange;
    constexpr auto kFuture = EntryProblem::InTheFuture;
    const struct {
        const char* name;
        std::array<const char*, 5> moment;
        const char *perDay, *tobaccoTax, *consumptionTax, *smokingYears;
        EntryProblem problem;
    } cases[] = {
        {"Feb29In1900", {"1900", "2", "29", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"Feb28In1900", {"1900", "2", "28", "0", "0"}, "20", "8744", "5", "5", kOk},
        {"Feb29In2000", {"2000", "2", "29", "0", "0"}, "20", "8744", "5", "5", kOk},
        {"Feb29In2008", {"2008", "2", "29", "0", "0"}, "20", "8744", "5", "5", kOk},
        {"Feb29In2007", {"2007", "2", "29", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"Year1899", {"1899", "12", "31", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"April31", {"2025", "4", "31", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"June31", {"2025", "6", "31", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"September31", {"2025", "9", "31", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"November31", {"2025", "11", "31", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"December31", {"2025", "12", "31", "23", "59"}, "20", "8744", "5", "5", kOk},
        {"Month13", {"2025", "13", "1", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"Day0", {"2025", "1", "0", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"Hour24", {"2025", "1", "1", "24", "0"}, "20", "8744", "5", "5", kRange},
        {"Minute60", {"2025", "1", "1", "0", "60"}, "20", "8744", "5", "5", kRange},
        {"NextYearIsRange", {"2027", "1", "1", "0", "0"}, "20", "8744", "5", "5", kRange},
        {"LaterToday", {"2026", "12", "6", "15", "31"}, "20", "8744", "5", "5", kFuture},
        {"TheCurrentMinute", {"2026", "12", "6", "15", "30"}, "20", "8744", "5", "5", kOk},
        {"RangeHidesFuture", {"2026", "12", "7", "0", "0"}, "201", "8744", "5", "5", kRange},
        {"FutureBeforeTaxes", {"2026", "12", "7", "0", "0"}, "20", "x", "5", "5", kFuture},
        {"NoneADay", {"2026", "1", "1", "0", "0"}, "0", "8744", "5", "5", kRange},
        {"TaxesAtZero", {"2026", "1", "1", "0", "0"}, "20", "0", "0", "5", kOk},
        {"TaxesAtTheirTop", {"2026", "1", "1", "0", "0"}, "20", "100000", "100", "5", kOk},
        {"TobaccoTaxOver", {"2026", "1", "1", "0", "0"}, "20", "100001", "5", "5", kRange},
        {"ConsumptionTaxOver", {"2026", "1", "1", "0", "0"}, "20", "8744", "101", "5", kRange},
        {"EmptyTax", {"2026", "1", "1", "0", "0"}, "20", "", "5", "5", kRange},
        {"TaxNotANumber", {"2026", "1", "1", "0", "0"}, "20", "8744円", "5", "5", kRange},
        {"TaxBeyond32Bits", {"2026", "1", "1", "0", "0"}, "20", "9e9", "5", "5", kRange},
        {"NoSmokingYears", {"2026", "1", "1", "0", "0"}, "20", "8744", "5", "0", kRange},
        {"SmokingYears99", {"2026", "1", "1", "0", "0"}, "20", "8744", "5", "99", kOk}};
    for (const auto& c : cases) {
        SettingsEntry e = validEntry();
        for (std::size_t i = 0; i < 5; ++i)
            e.quitMoment[i] = QString::fromUtf8(c.moment[i]);
        e.perDay = QString::fromUtf8(c.perDay);
        e.tobaccoTaxPer1000 = QString::fromUtf8(c.tobaccoTax);
        e.consumptionTaxPercent = QString::fromUtf8(c.consumptionTax);
        e.smokingYears = QString::fromUtf8(c.smokingYears);
        EXPECT_EQ(checkSettingsEntry(e, kNow).problem, c.problem) << c.name;
    }
}

TEST(EntryCheck, ReadsEveryValue) {
    SettingsEntry e = validEntry();
    e.quitMoment = {"２００８", " 8", "26.9", "10", "23"};
    e.packPrice = "２９０";
    e.tobaccoTaxPer1000 = " ８７４４.９ ";
    e.consumptionTaxPercent = "8";
    e.cigLength = 100;
    e.copyPlusMode = 2;
    e.boxDisplay = 0;
    e.statusMode = "コスモ";
    e.blogUrl = "  example.jp/ブログ  ";
    const CheckedEntry checked = checkSettingsEntry(e, kNow);
    ASSERT_EQ(checked.problem, EntryProblem::None);
    const QuitSettings& s = checked.settings;
    EXPECT_EQ(s.quitMoment, (DateTimeParts{0, 2008, 8, 26, 10, 23}));
    EXPECT_EQ(s.perDay, 20);
    EXPECT_EQ(s.packPrice, 290);
    EXPECT_EQ(s.tobaccoTaxPer1000, 8744);
    EXPECT_EQ(s.consumptionTaxPercent, 8);
    EXPECT_EQ(s.cigLength, 100);
    EXPECT_EQ(s.copyPlusMode, 2);
    EXPECT_EQ(s.smokingYears, 5);
    EXPECT_EQ(s.boxDisplay, 0);
    EXPECT_EQ(s.statusMode, QStringLiteral("コスモ"));
    EXPECT_EQ(checked.blogUrl, QStringLiteral("example.jp/ブログ"));
}

TEST(StrictNumber, TheWholeTextMustBeOneNumber) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {{"8744", 8744},
                 {" 5 ", 5},
                 {"5.9", 5},
                 {"-0.5", -1},
                 {"1e3", 1000},
                 {"１２", 12},
                 {"", std::nullopt},
                 {"5 5", std::nullopt},
                 {"5円", std::nullopt},
                 {".", std::nullopt},
                 {"2147483648", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(readStrictNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(StorableAddress, KeepsWhatTheFileCanHoldAndEncodesTheRest) {
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"  kemurin.example.jp/  ", "kemurin.example.jp/"},
        {"example.jp/?q=\"a\"", "example.jp/?q=%22a%22"},
        {"example.jp/\r\nnext", "example.jp/next"},
        {"example.jp/😀", "example.jp/%F0%9F%98%80"},
        {"example.jp/ブログ①", "example.jp/ブログ①"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(storableAddress(QString::fromUtf8(c.typed)), QString::fromUtf8(c.stored))
            << c.typed;
}

// A lone surrogate (a broken paste) and a private-use character that code page 932 writes as a
// look-alike would not read back as themselves: they are encoded too, so the address saves.
TEST(StorableAddress, EncodesWhatWouldNotReadBackAsItself) {
    const struct {
        std::u16string typed;
        const char* stored;
    } cases[] = {{u"x/\xD86A/", "x/%3F/"}, {u"x/\xF86F", "x/%EF%A1%AF"}};
    for (const auto& c : cases) {
        const QString stored = storableAddress(QString::fromStdU16String(c.typed));
        EXPECT_EQ(stored.toStdString(), c.stored);
        EXPECT_TRUE(encodeSettingsText(stored));
    }
}

} // namespace
