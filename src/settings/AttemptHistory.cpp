#include "settings/AttemptHistory.h"

#include "settings/SettingsEntry.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsRecord.h"
#include "settings/TextCodec.h"

#include <array>

namespace {

constexpr int kFieldCount = 14;

std::array<SettingsField, kFieldCount> attemptFields(PastAttempt& a) {
    return {&a.start[1],  &a.start[2],
            &a.start[3],  &a.start[4],
            &a.start[5],  &a.end[1],
            &a.end[2],    &a.end[3],
            &a.end[4],    &a.end[5],
            &a.perDay,    &a.packPrice,
            &a.cigLength, TextField{&a.note, &a.noteBytes}};
}

// One record per line: a line that stops short must not take its fields from the next.
std::optional<PastAttempt> readLine(QByteArrayView line) {
    PastAttempt attempt;
    auto fields = attemptFields(attempt);
    if (!parseRecord(line, fields))
        return std::nullopt;
    // Moments any calendar holds; whether they make sense together is the figures' business.
    if (!isAcceptableQuitMoment(attempt.start, kLastCalendarYear) ||
        !isAcceptableQuitMoment(attempt.end, kLastCalendarYear))
        return std::nullopt;
    return attempt;
}

bool isBlankLine(QByteArrayView line) {
    for (const char c : line)
        if (c != ' ' && c != '\t' && c != '\r')
            return false;
    return true;
}

} // namespace

QString historyFilePath(const QString& appDir) {
    return dataDirPath(appDir) + u'/' + QLatin1String(kHistoryFileName);
}

AttemptHistory readHistory(QByteArrayView bytes) {
    AttemptHistory history;
    history.bytes = bytes.toByteArray();
    int number = 0;
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype to = bytes.indexOf('\n', from);
        if (to < 0)
            to = bytes.size();
        const QByteArrayView line = bytes.sliced(from, to - from);
        ++number;
        from = to + 1;
        if (isBlankLine(line))
            continue;
        if (std::optional<PastAttempt> attempt = readLine(line))
            history.attempts.push_back(std::move(*attempt));
        else
            history.unreadLines.push_back(number);
    }
    return history;
}

bool isStorableNote(const QString& note) {
    return !note.contains(u'"') && !note.contains(u'\r') && !note.contains(u'\n') &&
           encodeSettingsText(note);
}

std::optional<QByteArray> historyLine(const PastAttempt& attempt) {
    if (!isStorableNote(attempt.note))
        return std::nullopt;
    PastAttempt a = attempt;
    return formatRecord(attemptFields(a));
}

std::optional<QByteArray> historyWithAttempt(const AttemptHistory& history,
                                             const PastAttempt& attempt) {
    const std::optional<QByteArray> line = historyLine(attempt);
    if (!line)
        return std::nullopt;
    QByteArray bytes = history.bytes;
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += "\r\n";
    return bytes + *line;
}
