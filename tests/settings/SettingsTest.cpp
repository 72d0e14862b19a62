#include "SettingsLines.h"
#include "settings/CodePage932Unit.h"
#include "settings/LenientNumber.h"
#include "settings/SettingsEntry.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsRecord.h"
#include "settings/TextCodec.h"
#include "windows/WindowPlacement.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bitset>

namespace {

using Number = std::optional<std::int32_t>;

// Numbers in every form, rounded down, exact; empty outside 32 bits. Blanks are skipped; the
// number ends at the first character that cannot continue it; no number gives 0.
TEST(LenientRead, NumbersWhereTheyEndAndTheirRange) {
    using Cases = std::initializer_list<std::pair<const char*, Number>>;
    const Cases forms = {
        {"+7", 7},       {"1.9", 1},    {"-.5", -1}, {"-0.0001", -1}, {"-2.0", -2}, {"-15e-1", -2},
        {"-1e-400", -1}, {"1e-400", 0}, {"＋４", 4}, {"20本", 20},    {"1.2.3", 1}, {"1e+", 1},
        {"2d3", 2},      {"&H10", 0},   {"", 0},     {"+-5", 0},      {"-.", 0},    {"1e10", {}}};
    const Cases wide = {
        {"1e99999999999999999999", {}}, {"- 1 2 . 9 e 1", -129}, {"-2147483648", INT32_MIN},
        {"2147483647.999", INT32_MAX},  {"2147483648", {}},      {"-2147483648.5", {}},
        {"\t\r\n\u30007\u3000", 7},     {"－１．５Ｅ１", -15},   {"0.002147483647e12", INT32_MAX},
        {"0.99999999999999999999", 0}};
    for (const Cases& cases : {forms, wide})
        for (const auto& [text, value] : cases)
            EXPECT_EQ(readLenientNumber(QString::fromUtf8(text)), value) << '"' << text << '"';
    // Thousands of fraction digits neither overflow nor round up into the next whole number.
    const QString nines = "199." + QString(5000, u'9');
    EXPECT_EQ(std::pair(readLenientNumber(nines), readLenientNumber(u'-' + nines)),
              std::pair(Number(199), Number(-200)));
    EXPECT_EQ(readLenientNumber("0." + QString(5000, u'0') + "1e5003"), 100);
}

constexpr DateTimeParts kNow{0, 2026, 12, 6, 15, 30};

// Valid values as loosely as they may be typed, quitting at "year/month/day/hour/minute".
SettingsEntry entry(const char* moment) {
    SettingsEntry e{{},  "２０", "２９０",         100,     " ８７４４.９ ", "8", 2,
                    "5", 0,      "  x.jp/ブログ ", "コスモ"};
    const QStringList parts = QString::fromUtf8(moment).split(u'/');
    std::copy(parts.begin(), parts.end(), e.quitMoment.begin());
    return e;
}

// The calendar's edges and each value's bounds, as loosely as they may be typed. One problem at
// most: a value out of range hides a moment in the future, which hides the taxes.
TEST(EntryCheck, ReportsOneProblemAtMost) {
    EXPECT_EQ(checkSettingsEntry(entry("２００８/ 8/26.9/10/23"), kNow).settings.quitMoment,
              (DateTimeParts{0, 2008, 8, 26, 10, 23}));
    constexpr auto kOk = EntryProblem::None;
    constexpr auto kRange = EntryProblem::OutOfRange;
    constexpr auto kFuture = EntryProblem::InTheFuture;
    const std::pair<const char*, EntryProblem> moments[] = {
        {"1900/2/29/0/0", kRange},  {"1900/2/28/0/0", kOk},    {"2000/2/29/0/0", kOk},
        {"2008/2/29/0/0", kOk},     {"2007/2/29/0/0", kRange}, {"1899/12/31/0/0", kRange},
        {"2025/4/31/0/0", kRange},  {"2025/6/31/0/0", kRange}, {"2025/9/31/0/0", kRange},
        {"2025/11/31/0/0", kRange}, {"2025/9/30/0/0", kOk},    {"2025/12/31/23/59", kOk},
        {"2025/13/1/0/0", kRange},  {"2025/1/0/0/0", kRange},  {"2025/1/1/24/0", kRange},
        {"2025/1/1/0/60", kRange},  {"2027/1/1/0/0", kRange},  {"2026/12/6/15/31", kFuture},
        {"2026/12/6/15/30", kOk}};
    for (const auto& [moment, problem] : moments)
        EXPECT_EQ(checkSettingsEntry(entry(moment), kNow).problem, problem) << moment;
    // One value changed, quitting in the past or, where `future` is set, after now.
    const auto n = &SettingsEntry::perDay, t = &SettingsEntry::tobaccoTaxPer1000,
               c = &SettingsEntry::consumptionTaxPercent, y = &SettingsEntry::smokingYears;
    const std::tuple<QString SettingsEntry::*, const char*, bool, EntryProblem> values[] = {
        {n, "201", true, kRange},     {t, "x", true, kFuture},   {t, "0", false, kOk},
        {c, "0", false, kOk},         {t, "100000", false, kOk}, {c, "100", false, kOk},
        {t, "100001", false, kRange}, {c, "101", false, kRange}, {t, "8744円", false, kRange},
        {y, "99", false, kOk},        {c, "5 5", false, kRange}};
    for (const auto& [field, value, future, problem] : values) {
        SettingsEntry e = entry(future ? "2026/12/7/0/0" : "2026/1/1/0/0");
        e.*field = QString::fromUtf8(value);
        EXPECT_EQ(checkSettingsEntry(e, kNow).problem, problem) << value;
    }
}

// Where ICU's table and Windows' code page 932 part: read and written as Windows does.
TEST(CodePage932, ReadsAndWritesAsWindowsDoes) {
    const std::tuple<QByteArray, std::u16string, QByteArray> rows[] = {
        {"\x81\x60\x81\x5F\x81\x7C", u"～＼－", "\x81\x60\x81\x5F\x81\x7C"},
        {"\x87\x40\x87\x82", u"①№", "\x87\x40\x87\x82"},
        {"\xED\x40\xFA\x5C\xEE\xF9\x87\x90", u"纊纊￢≒", "\xFA\x5C\xFA\x5C\x81\xCA\x81\xE0"}};
    for (const auto& [bytes, text, written] : rows) {
        EXPECT_EQ(decodeSettingsText(bytes).toStdU16String(), text);
        EXPECT_EQ(encodeSettingsText(QString::fromStdU16String(text)), written);
    }
    for (const char16_t* text : {u"\uF86F", u"\u301C", u"\u00A5", u"\u2212", u"\U0002000B"})
        EXPECT_EQ(encodeSettingsText(QString::fromStdU16String(text)), std::nullopt);
}

// Windows' rule over every one- and two-byte sequence: a lead byte takes a trail byte into one
// character (U+001A if none) and alone is unreadable; any other byte stands for itself.
TEST(CodePage932, LeadAndTrailBytesOverTheWholeByteRange) {
    const auto lead = [](int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
    const auto trail = [](int b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); };
    const auto single = [&](int b) {
        const int half = b == 0xA0 ? 0xF8F0 : b >= 0xFD ? 0xF8F1 + b - 0xFD : 0xFF61 + b - 0xA1;
        return lead(b) ? std::u16string() : std::u16string(1, char16_t(b <= 0x80 ? b : half));
    };
    std::bitset<256> trailsRead, leadsRead;
    for (int l = 0; l < 256; ++l) {
        const QByteArray byte(1, char(l));
        EXPECT_EQ(decodeSettingsText(byte).toStdU16String(), single(l)) << l;
        EXPECT_EQ(encodeSettingsText(QString::fromStdU16String(single(l))), lead(l) ? "" : byte);
        for (int t = 0; t < 256; ++t) {
            const QByteArray pair = byte + char(t);
            const std::optional<char16_t> read = readCodePage932Unit(pair);
            trailsRead[t] = trailsRead[t] || read;
            leadsRead[l] = leadsRead[l] || read;
            ASSERT_EQ(decodeSettingsText(pair).toStdU16String(),
                      lead(l) && trail(t) ? std::u16string(1, read.value_or(u'\x1A'))
                                          : (lead(l) ? u"\x1A" : single(l)) + single(t))
                << "read apart from Windows: " << pair.toHex().constData();
        }
    }
    for (int b = 0; b < 256; ++b)
        EXPECT_TRUE(trailsRead[b] == trail(b) && (lead(b) || !leadsRead[b])) << b;
}

// Fields a, a text, b, c and a 64-bit d as read; "refused" when the read fails.
std::string readRecord(const char* text) {
    std::int32_t a = -1, b = -1, c = -1;
    std::int64_t d = -1;
    QString str = QStringLiteral("unset");
    QByteArray bytes;
    const std::array<SettingsField, 5> fields{&a, TextField{&str, &bytes}, &b, &c, &d};
    const bool read = parseRecord(encodeSettingsText(QString::fromUtf8(text)).value(), fields);
    return (read ? "" : "refused ") + std::to_string(a) + '|' + str.toStdString() + '|' +
           std::to_string(b) + '|' + std::to_string(c) + '|' + std::to_string(d);
}

// Blanks and line ends between fields, a text without its closing quote, fields after the last.
TEST(SettingsRecord, ReadsHandMadeRecordsAndRefusesBrokenOnes) {
    for (const char* text :
         {" 1, \t\"x\",  2 ,3,\t4\r\n", "1,\r\n\r\n\"x\"\r\n2\n3\r4", "\"1\",x,2,3,4",
          "1,\"x\"y,2,3,4", "1,\"x\r\n2,3,4", "1,x,2,3,4,5,junk\r\nmore"})
        EXPECT_EQ(readRecord(text), "1|x|2|3|4") << text;
    const std::pair<const char*, const char*> cases[] = {
        {"1,\"a,b\",2,3,4", "1|a,b|2|3|4"},
        {"1,ソルジャー ,2,3,4", "1|ソルジャー|2|3|4"},
        {",\"\",,,5", "0||0|0|5"},
        {"-300,\"x\",-0,-2147483648,-5", "-300|x|0|-2147483648|-5"}};
    for (const auto& [text, fields] : cases)
        EXPECT_EQ(readRecord(text), fields) << text;
    for (const char* text :
         {"", "1,x,2,3\r\n", "1,x,2,3,", "1,x,abc,3,4", "1,x,12ab,3,4", "1,x,2147483648,3,4",
          "1,x,-2147483649,3,4", "1,x,99999999999999999999999,3,4", "１,x,2,3,4"})
        EXPECT_EQ(readRecord(text), "refused -1|unset|-1|-1|-1") << text;
}

// Without a byte-order mark a record is UTF-8 only where code page 932 is the unlikelier reading.
TEST(SettingsRecord, TakesUtf8WithoutAMarkOnlyWhereCodePage932IsUnlikelier) {
    const std::tuple<QByteArray, bool, std::u16string> rows[] = {
        // UTF-8 that is valid code page 932 too ("繧ｳ繧ｹ繝｢"); the second no rule can settle.
        {"\xE3\x82\xB3\xE3\x82\xB9\xE3\x83\xA2", true, u"コスモ"},
        {"\xE3\x82\xB3", true, u"コ"},
        // Code page 932 as written, ASCII, valid UTF-8 of a two-byte character ("б", alone or
        // before "コ") or of one code page 932 cannot write ("ऱ"), UTF-8 cut short.
        {"\x83\x52\x83\x58\x83\x82", false, u"コスモ"},
        {"x.jp/", false, u"x.jp/"},
        {"\xD0\xB1", false, u"ﾐｱ"},
        {"\xD0\xB1\xE3\x82\xB3", false, u"ﾐｱ繧ｳ"},
        {"\xE0\xA4\xB1", false, u"爨ｱ"},
        {"\xE3\x82", false, u"繧"}};
    for (const auto& [bytes, utf8, text] : rows) {
        QString read;
        QByteArray kept;
        const std::array<SettingsField, 1> field{TextField{&read, &kept}};
        EXPECT_EQ(isUtf8Record(bytes), utf8) << bytes.toHex().constData();
        ASSERT_TRUE(parseRecord('"' + bytes + '"', field));
        EXPECT_EQ(read.toStdU16String(), text) << bytes.toHex().constData();
    }
}

// initial.ini as a hand edit may leave it: the per-day count read, or none. A decimal rounds
// half to even; a quit moment off the calendar does not read, one in the future does. The start
// folder is deeper than Windows' old 260-character limit, which reads and saves must pass.
TEST(SettingsFiles, HandEditedFilesInADeepFolder) {
    QTemporaryDir dir;
    AppState state;
    state.appDir =
        dir.path() + QStringLiteral("/ケムリンのデータを置いておくための長いフォルダ").repeated(10);
    const QString initialPath = initialFilePath(state.appDir);
    const auto perDayRead = [&](const QByteArray& line) {
        EXPECT_TRUE(writeBytes(initialPath, line + ",300,85\r\n"));
        return readInitialFile(state) ? Number(state.perDay) : std::nullopt;
    };
    const std::pair<const char*, Number> perDays[] = {
        {"0.51", 1},         {"2.501", 3}, {"0.4999", 0}, {"0.5", 0},
        {"2.5", 2},          {"3.5", 4},   {"-3.5", -4},  {"2147483646.5", 2147483646},
        {"2147483647.5", {}}};
    for (const auto& [perDay, read] : perDays)
        EXPECT_EQ(perDayRead("2008,8,26,10,23," + QByteArray(perDay)), read) << perDay;
    for (const auto& [line, read] : {std::pair<const char*, Number>{"1899,12,31,23,59,20", {}},
                                     {"1900,1,1,0,0,20", 20},
                                     {"9999,12,31,23,59,20", 20},
                                     {"10000,1,1,0,0,20", {}}})
        EXPECT_EQ(perDayRead(line), read) << line;
    state.setQuitDefaults({0, 2008, 8, 26, 10, 23});
    for (const int perDay : {30, 40}) { // the second save over the first's files
        state.perDay = perDay;
        ASSERT_TRUE(writeSettingsFiles(state).done());
        EXPECT_EQ(fileBytes(initialPath), initialRecord(state));
    }
}

// Mini or main, the saved corner and where it goes on a 1024 × 768 screen, in twips; the main
// window needs 5000 × 3000, the mini window 3500 × 1500; 7680, 5760 is the centre.
TEST(WindowPlacement, ACornerTooNearTheEdgesGoesToTheCentre) {
    const std::array<int, 5> cases[] = {
        {0, 10360, 0, 10360, 0},     {0, 10361, 0, 7680, 5760},   {0, 0, 8520, 0, 8520},
        {0, 90, 8521, 7680, 5760},   {0, -300, 200, 0, 200},      {0, 300, -1, 300, 0},
        {1, 12000, 100, 7680, 5760}, {1, 100, 10100, 7680, 5760}, {1, 11860, 10020, 11860, 10020},
        {1, -300, 4000, 0, 4000}};
    for (const auto& [mini, x, y, placedX, placedY] : cases) {
        const QPoint p =
            placedOnScreen({x, y}, {15360, 11520}, mini ? QSize(3500, 1500) : QSize(5000, 3000));
        EXPECT_EQ(std::pair(p.x(), p.y()), std::pair(placedX, placedY)) << x << ',' << y;
    }
}

} // namespace
