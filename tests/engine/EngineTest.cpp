#include "engine/Clock.h"
#include "engine/DailyMessages.h"
#include "engine/LengthTable.h"
#include "engine/MilestoneNotices.h"
#include "engine/QuitStatistics.h"
#include "engine/StatusReport.h"
#include "engine/StatusTitles.h"
#include "engine/WideDigits.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

constexpr std::int64_t kDay = 1440;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// A length in mm as the length table takes it: mm × 1440.
constexpr auto mm = [](std::int64_t millimetres) { return millimetres * 1440; };

DateTimeParts at(int y, int mo, int d, int h, int mi) {
    return {0, y, mo, d, h, mi};
}

QuitSettings habit(int perDay, int price, int size, int tax = 8744, int vat = 5, int boxes = 1) {
    return {{}, perDay, price, size, tax, vat, 0, 5, boxes, soldierSeriesName()};
}

// Borrowed days: the longer of the month before now and the quit month; off-calendar: the edge.
TEST(Calendar, ElapsedMinutesAndBorrowChain) {
    const std::tuple<DateTimeParts, DateTimeParts, std::int64_t, DateTimeParts> cases[] = {
        {at(2008, 2, 28, 10, 0), at(2008, 3, 1, 10, 0), 2 * kDay, {0, 0, 0, 2, 0, 0}},
        {at(2007, 12, 20, 10, 0), at(2008, 1, 10, 10, 0), 21 * kDay, {0, 0, 0, 21, 0, 0}},
        {at(2008, 1, 31, 12, 0), at(2008, 3, 2, 11, 0), 31 * kDay - 60, {0, 0, 1, 1, 23, 0}},
        {at(2025, 12, 31, 23, 59), at(2026, 1, 1, 0, 0), 1, {0, 0, 0, 0, 0, 1}},
        {at(2024, 2, 29, 12, 0), at(2025, 3, 1, 12, 0), 366 * kDay, {0, 1, 0, 1, 0, 0}},
        {at(2008, 13, 40, 30, 99), at(2009, 1, 1, 0, 0), 1, {0, 0, 0, 0, 0, 1}}};
    for (const auto& [quit, now, minutes, parts] : cases) {
        const ElapsedTime e = elapsedSince(quit, now);
        EXPECT_EQ(std::pair(e.minutes, e.parts), std::pair(minutes, parts));
    }
}

// Each title's first day or year in both series to 1200; none before the quit or for an unknown
// series; a leap year's 365th day keeps the first year's title.
TEST(Titles, EveryDayOfTheFirstYearAndEveryYearToTwelveHundred) {
    using Ranges = std::map<std::int64_t, std::pair<const char*, const char*>>;
    const Ranges days{
        {0, {"２等兵", "素粒子"}},     {1, {"１等兵", "陽子"}},     {2, {"上等兵", "原子"}},
        {3, {"兵長", "分子"}},         {4, {"伍長", "ゴマ粒"}},     {5, {"軍曹", "小豆"}},
        {6, {"曹長", "大豆"}},         {8, {"准尉", "タマゴ"}},     {10, {"少尉", "ヒヨコ"}},
        {12, {"中尉", "ニワトリ"}},    {14, {"大尉", "鶏小屋"}},    {16, {"少佐", "農家"}},
        {18, {"中佐", "集落"}},        {20, {"大佐", "村"}},        {22, {"少将", "市"}},
        {26, {"中将", "県"}},          {30, {"大将", "日本列島"}},  {60, {"元帥", "東アジア"}},
        {90, {"大臣", "アジア"}},      {120, {"首相", "北半球"}},   {150, {"大統領", "地球"}},
        {180, {"王様", "月と地球"}},   {210, {"大王様", "太陽系"}}, {240, {"神", "銀河"}},
        {270, {"カイオウ", "大銀河"}}, {300, {"ラオウ", "星雲"}},   {330, {"トキ", "小宇宙"}}};
    // 333 is a year of its own.
    const Ranges years{{1, {"ケンシロウ", "コスモ"}},   {2, {"チョッパー", "大宇宙"}},
                       {3, {"ゾロ", "宇宙王子"}},       {4, {"ロビン", "宇宙王"}},
                       {5, {"ルフィ", "宇宙大王"}},     {10, {"ユリア", "宇宙神"}},
                       {100, {"宇宙大神", "宇宙大神"}}, {333, {"ルパン三世", "ルパン三世"}},
                       {334, {"宇宙大神", "宇宙大神"}}, {1000, {"トトロ", "トトロ"}}};
    for (const bool byYears : {false, true}) {
        for (std::int64_t value = byYears; value <= (byYears ? 1200 : 366); ++value) {
            const auto& [soldier, cosmo] =
                std::prev((byYears ? years : days).upper_bound(value))->second;
            const std::int64_t dayCount = byYears ? 10 : value, wholeYears = byYears ? value : 0;
            const auto title = [&](const char* series) {
                return statusTitle(QString::fromUtf8(series), dayCount, wholeYears).toStdString();
            };
            EXPECT_EQ(title("ソルジャー"), soldier) << value;
            EXPECT_EQ(title("コスモ"), cosmo) << value;
            EXPECT_EQ(title("ソルジャー ") + title("ｿﾙｼﾞｬｰ") + title("コスモス"), "") << value;
        }
    }
    EXPECT_TRUE(statusTitle(soldierSeriesName(), -1, 0).isEmpty() &&
                statusTitle(soldierSeriesName(), -1, 1).isEmpty());
    QuitSettings settings = habit(20, 300, 85);
    settings.quitMoment = at(2008, 1, 1, 0, 0);
    const auto title = [&](DateTimeParts now) {
        return computeStatus(settings, now, 50).texts.title;
    };
    EXPECT_EQ((title(at(2008, 12, 31, 23, 59)) + title(at(2009, 1, 1, 0, 0))).toStdString(),
              "トキケンシロウ");
}

// Days, years, months, the draw r, the index: draws on days 1 to 3 and month anniversaries, day
// events first; a clock set back, or a day past the table without a month, greets as on day 0.
TEST(DailyMessages, IndexForTheDay) {
    const std::array<int, 5> cases[] = {
        {0, 0, 0, 75, 0},   {1, 0, 0, 71, 48},     {1, 0, 0, 70, 1},   {1, 0, 0, 19, 49},
        {1, 0, 0, 20, 1},   {1, 0, 0, 21, 50},     {1, 0, 0, 29, 50},  {1, 0, 0, 30, 1},
        {2, 0, 0, 75, 51},  {2, 0, 0, 10, 52},     {2, 0, 0, 25, 53},  {2, 0, 0, 50, 2},
        {3, 0, 0, 71, 54},  {3, 0, 0, 70, 3},      {3, 0, 0, 10, 3},   {4, 0, 0, 75, 4},
        {31, 0, 0, 1, 31},  {33, 0, 1, 1, 44},     {34, 0, 1, 2, 55},  {35, 0, 1, 3, 56},
        {44, 0, 1, 4, 57},  {55, 0, 1, 1, 58},     {66, 0, 2, 75, 59}, {36, 0, 1, 50, 32},
        {40, 0, 1, 0, 32},  {40, 0, 1, 1, 45},     {40, 0, 1, 2, 45},  {40, 0, 1, 3, 46},
        {40, 0, 1, 4, 47},  {40, 0, 1, 5, 32},     {70, 0, 2, 50, 33}, {340, 0, 11, 50, 42},
        {455, 1, 3, 1, 43}, {4000, 10, 11, 3, 43}, {-1, 0, 0, 75, 0},  {100, 0, 0, 50, 0}};
    for (const auto& [days, years, months, r, index] : cases)
        EXPECT_EQ(messageIndex(days, years, months, r), index)
            << "day " << days << " years " << years << " months " << months << " r " << r;
    EXPECT_TRUE(dailyMessage(-1).isEmpty() && dailyMessage(kDailyMessageCount).isEmpty());
}

// Rows 26 and 126 are longer than the rows after them (a slip copying the lengths would show as
// a new descent); the scan passes over them. Metres halve to even, in the shortest form.
TEST(LengthTable, RowAtEachBoundaryAndMetres) {
    std::vector<int> descents;
    for (int i = 1; i < kLengthRowCount; ++i)
        if (lengthRow(i).lengthMm > lengthRow(i + 1).lengthMm)
            descents.push_back(i);
    EXPECT_EQ(descents, (std::vector<int>{26, 126}));
    // Row lengths in mm, and the row shown at that length and just below it.
    const std::array<int, 3> rows[] = {
        {110, 2, 1}, {2020, 28, 25}, {24410, 127, 125}, {800000000, 569, 568}};
    for (const auto& [length, row, rowBelow] : rows)
        EXPECT_EQ(std::pair(lengthRowFor(mm(length)), lengthRowFor(mm(length) - 1)),
                  std::pair(row, rowBelow));
    EXPECT_EQ(std::pair(lengthRowFor(kMin), lengthRowFor(kMax)), std::pair(1, 569));
    // In mm, plus some 1/1440 mm.
    const std::tuple<std::int64_t, int, const char*> metres[] = {
        {0, 0, "0"},        {3000, 0, "3"},     {12500, 0, "12.5"}, {850, 0, "0.85"},
        {125, 0, "0.12"},   {125, 1, "0.13"},   {135, 0, "0.14"},   {995, 0, "1"},
        {-125, 0, "-0.12"}, {-135, 0, "-0.14"}, {-5, 0, "0"}};
    for (const auto& [length, above, text] : metres)
        EXPECT_EQ(metreText(mm(length) + above).toStdString(), text) << length;
    EXPECT_EQ(metreText(kMax).toStdString(), "6405119470038.04");
    EXPECT_TRUE(metreText(kMin).startsWith(QLatin1Char('-')));
}

// Figures worked out by hand, exact multiples not one short; values beyond the bounds clamped.
TEST(QuitFigures, HandWorkedFigures) {
    // Per day, price, size, taxes, minutes; money, taxes saved, life, cigarettes, their length.
    const std::tuple<std::array<int, 5>, std::int64_t, std::array<std::int64_t, 6>> cases[] = {
        {{20, 300, 85, 8744, 5}, 5 * kDay, {1500, 874, 71, 550, 100, mm(8500)}},
        {{13, 1, 85, 8744, 5}, 100 * kDay, {65, 11367, 3, 7150, 1300, mm(110500)}},
        {{20, 300, 85, 8744, 5}, kDay - 1, {299, 174, 14, 109, 19, 2446300}},
        {{200, 2000, 85, 8744, 5}, 1, {13, 1, 0, 0, 0, 17000}},
        {{20, 300, 85, 0, 0}, 30 * kDay, {9000, 0, 0, 3300, 600, mm(51000)}},
        {{20, 300, 85, 8744, 5}, -kDay, {}},
        // Beyond the upper bounds: 200 a day at 2000 a pack, 1000 mm, 100 yen tax a piece, 100%.
        {{500, 99999, 5000, 200000, 300}, kDay, {20000, 20000, 10000, 1100, 200, mm(200000)}},
        // Below the lower bounds.
        {{-5, 300, 85, 8744, 5}, kDay, {}},
        {{20, -300, -85, -1, 5}, kDay, {0, 0, 0, 110, 20, 0}}};
    for (const auto& [s, minutes, expected] : cases) {
        const QuitFigures f = quitFigures(habit(s[0], s[1], s[2], s[3], s[4]), minutes);
        EXPECT_EQ((std::array{f.moneySaved, f.tobaccoTaxSaved, f.consumptionTaxSaved,
                              f.lifeGainedMinutes, f.cigaretteCount, f.scaledLengthMm}),
                  expected)
            << s[0] << '/' << s[1] << " for " << minutes << " min";
    }
}

// Per day, size, box display, minutes, the text; 10.5 boxes are not a carton.
TEST(QuitFigures, TextsWithCigarettesInPiecesBoxesOrCartons) {
    const std::tuple<int, int, int, std::int64_t, const char*> cases[] = {
        {20, 85, 1, 0, "0本 0ｍ ガンバレ－"},
        {20, 85, 1, 2 * kDay, "2箱 3.4ｍ 軽自動車の全長"},
        {20, 85, 0, kDay, "20本 1.7ｍ シーラカンス"},
        {20, 85, 1, 10 * kDay, "1カートン 17ｍ シャア専用ザク"},
        {20, 85, 1, 10 * kDay + 720, "210本 17.85ｍ 世界最大のサボテン"},
        {10, 50, 1, 10 * kDay, "10箱 5ｍ 日本一の鬼瓦"},
        {10, 50, 1, 20 * kDay, "1カートン 10ｍ 蒸気機関車Ｄ５１"},
        {10, 100, 1, 20 * kDay, "1カートン 20ｍ 道頓堀グリコのネオン"}};
    for (const auto& [perDay, size, boxDisplay, minutes, text] : cases) {
        const QuitSettings s = habit(perDay, 300, size, 8744, 5, boxDisplay);
        EXPECT_EQ(cigaretteText(s, quitFigures(s, minutes)).toStdString(), text);
    }
    // Full-width digits, no blanks; the other texts are the main window's.
    EXPECT_EQ((lifeGainedText(1500) + lifeGainedText(1439) + wideNumber(-1205)).toStdString(),
              "１日と１時間０分０日と２３時間５９分－１２０５");
}

// Mode, size, detailed, elapsed minutes, life gained; what follows three labels, or no report for
// a mode outside 0..2. Negative whole parts round down; only the three sizes have a word.
TEST(Report, SixLinesInEachForm) {
    const std::tuple<int, int, bool, int, int, const char*, const char*, const char*> cases[] = {
        {1, 50, true, 1440, 1439, "（20本-300円-小）", "1日 4時間 5分", "0日と23時間59分"},
        {1, 100, false, 0, 0, "（20本-300円-大）", "1年 2ヶ月 3日 4時間 5分", "0日と0時間0分"},
        {1, 84, false, 0, 0, "（20本-300円-）", "1年 2ヶ月 3日 4時間 5分", "0日と0時間0分"},
        {2, 85, true, 2 * kDay - 1, 1440, "（20本-5年）", "1日 4時間 5分", "1日と0時間0分"},
        {0, 85, true, -1, -61, "", "-1日 4時間 5分", "-1日と-1時間-1分"},
        {-1, 85, false, 0, 0, nullptr, "", ""},
        {3, 85, true, 0, 0, nullptr, "", ""}};
    for (const auto& [mode, size, detailed, minutes, life, habit, elapsed, lifeText] : cases) {
        const QuitSettings settings{{0, 2008, 7, 1, 9, 30}, 20, 300, size, 8744, 5, mode, 5, 1, {}};
        const StatusSnapshot status{
            {minutes, {0, 1, 2, 3, 4, 5}}, {0, 0, 0, life}, {"", "", "M", "T", "C", ""}, {}, {}};
        const std::string expected =
            habit ? std::string("ステータス： T\r\nケムリン日： 2008年 7月 1日") + habit +
                        "\r\nケムリンからの日数： " + elapsed + "\r\n延びた寿命： " + lifeText +
                        "\r\n節約できた金額： M\r\n節煙本数： C"
                  : "";
        EXPECT_EQ(statusReport(settings, status, detailed).toStdString(), expected)
            << "mode " << mode << " detailed " << detailed;
    }
}

// Refreshes ("|"), the windows in the tray or in sight (~), and what each tells after "=": not
// the first, a moment passed in sight, or the night's before 7:00; one a day, the highest first:
// a title over a step of the body's recovery, that over an anniversary.
TEST(MilestoneNotices, WhatTheTrayTellsAndWhen) {
    const char* title = "=ステータスが「曹長」になりました";
    const std::tuple<const char*, int, std::string> cases[] = {
        {"08-21 10:23", 300, "08-27 10:22|08-27 10:23" + (title + "|08-27 10:24"s)},
        {"08-21 10:23", 300, "08-27 10:23|08-27 10:24"},
        {"08-21 10:23", 300, "~08-27 10:22|~08-27 10:23|08-27 10:24"},
        {"08-21 23:30", 300,
         "08-26 23:29|08-26 23:30|08-27 06:59|08-27 07:00=ステータスが「軍曹」になりました"},
        {"08-21 05:00", 1703,
         "08-27 01:55|08-27 01:56|08-27 05:00|08-27 07:00" + (title + "|08-28 07:00"s)},
        {"08-21 05:00", 1611,
         "08-27 04:59|08-27 05:00|08-27 07:00" + (title + "|08-27 09:58|08-27 09:59|08-28 07:00"s)},
        {"08-01 10:23", 300,
         "09-01 10:22|09-01 "
         "10:23=禁煙から1か月。せきや息切れが減り、感染症にかかりにくくなるころです"},
        {"1993-08-21 10:23", 300,
         "2008-08-21 10:22|2008-08-21 "
         "10:23=禁煙から15年。冠動脈の病気のリスクが、吸わない人と同じに"
         "なるといわれています"},
        {"08-21 10:23", 300,
         "08-21 10:42|08-21 10:43=禁煙から20分。脈拍と血圧が、ふだんの値へ下がりはじめるころです|"
         "08-21 18:22|08-21 18:23|08-22 07:00=禁煙から12時間。血液中の一酸化炭素が、ふつうの値に"
         "もどるころです"},
        {"08-21 10:23", 300,
         "09-04 10:22|09-04 10:23=ステータスが「大尉」になりました|09-05 10:00"}, // two weeks lost
        {"08-21 10:23", 300,
         "11-29 10:22|11-29 10:23=ケムリンして１００日目です。おめでとうございます"},
        {"08-21 10:23", 300, "10-10 10:22|10-10 10:23=吸わなかった煙草が5カートンになりました"},
        {"08-21 10:23", 300, "09-23 18:22|09-23 18:23=節約できた金額が10000円になりました"},
        {"2007-08-21 10:23", 300, "2008-09-21 10:22|2008-09-21 10:23"}}; // past a year: none
    const auto moment = [](const QString& at) {
        return QDateTime::fromString(at.size() > 11 ? at : "2008-" + at,
                                     QStringLiteral("yyyy-MM-dd hh:mm"));
    };
    for (const auto& [quit, price, refreshes] : cases) {
        QuitSettings settings = habit(20, price, 85);
        settings.quitMoment = minuteParts(moment(QString::fromUtf8(quit)));
        MilestoneNotices notices;
        for (const QString& r : QString::fromStdString(refreshes).split(u'|')) {
            const QDateTime now = moment(r.section(u'=', 0, 0).remove(u'~'));
            const StatusSnapshot status = computeStatus(settings, minuteParts(now), 50);
            const auto told = notices.noticeAt(settings, status, now, !r.startsWith(u'~'));
            EXPECT_EQ(told.value_or(QString()).toStdString(), r.section(u'=', 1).toStdString())
                << quit << " at " << r.toStdString();
        }
    }
}

} // namespace
