#pragma once

#include "settings/AppState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// One attempt at quitting that a slip ended: from its quit moment to the moment counting started
// again, with the habit that held during it, so that its figures can be worked out again.
struct PastAttempt {
    DateTimeParts start{};
    DateTimeParts end{};
    std::int32_t perDay = 20;
    std::int32_t packPrice = 300;
    std::int32_t cigLength = 85;
    QString note;
    QByteArray noteBytes; // as the file held it, written back while the note is unchanged
};

// kemurindata/history.ini: one line per ended attempt, oldest first, in the manner of the two
// settings files (code page 932, CR LF, commas, the note in double quotes):
//   start year,month,day,hour,minute,end year,month,day,hour,minute,per day,pack price,size,"note"
// Programs that do not know it leave it alone; the settings files do not change for it.
struct AttemptHistory {
    std::vector<PastAttempt> attempts;
    // The file's bytes as read. A new attempt is added after them, so that a line this version
    // cannot read is kept as it was.
    QByteArray bytes;
    // Numbers (from 1) of the lines that did not read, left out of `attempts`.
    std::vector<int> unreadLines;
};

inline constexpr char kHistoryFileName[] = "history.ini";
// Some thousand attempts, as much as a commit takes; anything larger is not one of ours.
inline constexpr qint64 kMaxHistoryFileSize = 64 * 1024;

QString historyFilePath(const QString& appDir);

// Every line of the bytes that reads; an empty line is no attempt and no fault.
AttemptHistory readHistory(QByteArrayView bytes);
// The attempt's line, or nothing when its note holds a character code page 932 cannot write or
// a double quote, which no field can hold.
std::optional<QByteArray> historyLine(const PastAttempt& attempt);
// Whether a note typed by the user can be kept as it is.
bool isStorableNote(const QString& note);
// The history with the attempt added, as the file will hold it: what was read, a line end made
// good where the last line lacked one, then the new line.
std::optional<QByteArray> historyWithAttempt(const AttemptHistory& history,
                                             const PastAttempt& attempt);
