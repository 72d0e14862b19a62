// history.ini as any bytes: reading never fails badly, every line is either an attempt or named
// as unread, an attempt written back reads the same, and no figure worked out of it is negative.
#include "Check.h"

#include "engine/AttemptRecord.h"
#include "settings/AttemptHistory.h"

#include <cstdint>
#include <tuple>

namespace {
auto values(const PastAttempt& a) {
    return std::tuple(a.start, a.end, a.perDay, a.packPrice, a.cigLength, a.note);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const AttemptHistory history = readHistory(bytes);
    FUZZ_CHECK(history.attempts.size() + history.unreadLines.size() <=
               static_cast<std::size_t>(bytes.count('\n') + 1));
    for (const PastAttempt& attempt : history.attempts) {
        const std::optional<QByteArray> line = historyLine(attempt);
        if (!line)
            continue; // a note this file held that a new line could not: kept as its bytes
        const AttemptHistory again = readHistory(*line);
        FUZZ_CHECK(again.attempts.size() == 1 && again.unreadLines.empty());
        FUZZ_CHECK(values(again.attempts.front()) == values(attempt));
    }
    QuitSettings settings;
    settings.quitMoment = {0, 2026, 12, 7, 12, 0};
    const AttemptRecord record = attemptRecord(settings, history.attempts, {0, 2026, 12, 7, 13, 0});
    FUZZ_CHECK(record.totalMinutes >= 0 && record.totalCigarettes >= 0 && record.totalMoney >= 0);
    for (const AttemptFigures& a : record.past)
        FUZZ_CHECK(a.elapsed.minutes >= 0 && a.figures.moneySaved >= 0);
    (void)attemptRecordReport(record, history.attempts, !history.unreadLines.empty());
    return 0;
}
