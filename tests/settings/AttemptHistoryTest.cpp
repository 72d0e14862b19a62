#include "settings/AttemptHistory.h"
#include "settings/SlipEntry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DateTimeParts kStart{0, 2026, 10, 1, 8, 30};
constexpr DateTimeParts kEnd{0, 2026, 11, 10, 21, 15};

PastAttempt ended(const QString& note) {
    PastAttempt a;
    a.start = kStart;
    a.end = kEnd;
    a.perDay = 25;
    a.packPrice = 580;
    a.cigLength = 100;
    a.note = note;
    return a;
}

// A line in the manner of the settings files: code page 932, the note quoted, CR LF; it reads
// back as it was, a comma in the note too. A note no file can hold gives no line.
TEST(AttemptHistory, LinesWrittenAndReadBack) {
    const std::tuple<QString, const char*> cases[] = {
        {QString(), "2026,10,1,8,30,2026,11,10,21,15,25,580,100,\"\"\r\n"},
        {QStringLiteral("飲み会で一本"),
         "2026,10,1,8,30,2026,11,10,21,15,25,580,100,\"\x88\xf9\x82\xdd\x89\xef\x82\xc5\x88\xea"
         "\x96\x7b\"\r\n"},
        {QStringLiteral("a,b"), "2026,10,1,8,30,2026,11,10,21,15,25,580,100,\"a,b\"\r\n"}};
    for (const auto& [note, line] : cases) {
        const std::optional<QByteArray> written = historyLine(ended(note));
        ASSERT_TRUE(written);
        EXPECT_EQ(written->toStdString(), line);
        const AttemptHistory read = readHistory(*written + *written);
        ASSERT_EQ(read.attempts.size(), 2u);
        EXPECT_TRUE(read.unreadLines.empty());
        const PastAttempt& a = read.attempts[1];
        EXPECT_EQ(std::tuple(a.start, a.end, a.perDay, a.packPrice, a.cigLength, a.note),
                  std::tuple(kStart, kEnd, 25, 580, 100, note));
    }
    for (const QString& note :
         {QStringLiteral("\"quoted\""), QStringLiteral("😀"), QStringLiteral("line\nbreak")}) {
        EXPECT_FALSE(historyLine(ended(note))) << note.toStdString();
        EXPECT_FALSE(isStorableNote(note));
    }
}

// Lines that do not read are left out and named, blank lines are neither; a new attempt goes
// after what the file held, unread lines and all, with a line end made good before it.
TEST(AttemptHistory, BadLinesSkippedNamedAndKept) {
    const QByteArray good = "2026,1,1,0,0,2026,1,11,0,0,20,300,85,\"\"\r\n";
    const std::tuple<QByteArray, int, std::vector<int>> cases[] = {
        {good + "\r\n" + good, 2, {}},
        {good + "2026,1,1,0,0,2026,1,11\r\n" + good, 2, {2}},      // cut short
        {"garbage\r\n" + good + "\x83\x8b\x83", 1, {1, 3}},        // odd bytes
        {"2026,2,30,0,0,2026,3,1,0,0,20,300,85,\"\"\r\n", 0, {1}}, // 30 February
        {"2026,1,1,0,0,2026,1,11,0,0,20,300,99999999999,\"\"\n", 0, {1}},
        {good.chopped(2) + ",extra", 1, {}},
        {QByteArray(), 0, {}}};
    for (const auto& [bytes, read, unread] : cases) {
        const AttemptHistory history = readHistory(bytes);
        EXPECT_EQ(history.attempts.size(), static_cast<std::size_t>(read)) << bytes.toStdString();
        EXPECT_EQ(history.unreadLines, unread) << bytes.toStdString();
        const QByteArray added = historyWithAttempt(history, ended(QString())).value();
        EXPECT_TRUE(added.startsWith(bytes));
        EXPECT_EQ(readHistory(added).attempts.size(), static_cast<std::size_t>(read) + 1)
            << bytes.toStdString();
    }
}

// The new start: now, or a typed moment neither before the current start nor to come.
TEST(SlipEntry, RestartMomentAndNote) {
    constexpr DateTimeParts now{0, 2026, 12, 7, 20, 0};
    using Moment = std::array<QString, 5>;
    const std::tuple<std::optional<Moment>, QString, SlipProblem, DateTimeParts> cases[] = {
        {std::nullopt, QString(), SlipProblem::None, now},
        {Moment{"2026", "12", "7", "20", "0"}, QString(), SlipProblem::None, now},
        {Moment{"2026", "10", "1", "8", "30"}, QString(), SlipProblem::None, kStart},
        {Moment{"2026", "10", "1", "8", "29"}, QString(), SlipProblem::BeforeStart, {}},
        {Moment{"2026", "12", "7", "20", "1"}, QString(), SlipProblem::InTheFuture, {}},
        {Moment{"2027", "1", "1", "0", "0"}, QString(), SlipProblem::OutOfRange, {}},
        {Moment{"2026", "11", "31", "0", "0"}, QString(), SlipProblem::OutOfRange, {}},
        {Moment{"2026", "x", "1", "0", "0"}, QString(), SlipProblem::OutOfRange, {}},
        {std::nullopt, QStringLiteral("\"x\""), SlipProblem::NoteNotStorable, {}},
        {std::nullopt, QStringLiteral("①"), SlipProblem::None, now}};
    for (const auto& [moment, note, problem, restart] : cases) {
        const CheckedSlip checked = checkSlipEntry({moment, note}, kStart, now);
        EXPECT_EQ(checked.problem, problem) << note.toStdString();
        if (problem == SlipProblem::None) {
            EXPECT_EQ(checked.restart, restart);
        }
    }
}

} // namespace
