#pragma once

#include "engine/Calendar.h"
#include "engine/QuitStatistics.h"
#include "settings/AppState.h"
#include "settings/AttemptHistory.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// One attempt as the counter would have shown it at its end: its length and its figures, by the
// counter's own rules. An end before the start (a clock set back, a hand-edited file) is a
// length of nothing, never a negative one.
struct AttemptFigures {
    DateTimeParts start{};
    DateTimeParts end{};
    ElapsedTime elapsed;
    QuitFigures figures;
    QString cigarettes; // "810本", or boxes as the counter tells them
};

// Every attempt, the one running now included, and what they add up to.
struct AttemptRecord {
    std::vector<AttemptFigures> past; // oldest first
    AttemptFigures current;
    // The longest past attempt, the earliest of equals; the current one is the best only once it
    // is longer than that.
    std::optional<std::size_t> bestPast;
    std::int64_t totalMinutes = 0;
    std::int64_t totalCigarettes = 0;
    std::int64_t totalMoney = 0;

    const AttemptFigures& best() const { return bestPast ? past[*bestPast] : current; }
    // Minutes the current attempt still lacks to be the longest; nothing when it is.
    std::optional<std::int64_t> minutesToBest() const;
    int attemptCount() const { return static_cast<int>(past.size()) + 1; }
};

// The options (taxes, boxes) are today's; each past attempt brings its own habit.
AttemptRecord attemptRecord(const QuitSettings& settings, const std::vector<PastAttempt>& past,
                            const DateTimeParts& now);

// The longest past attempt's length in minutes; nothing without one.
std::optional<std::int64_t> longestPastMinutes(const std::vector<PastAttempt>& past);

// "2026/10/01 08:30"
QString momentText(const DateTimeParts& moment);
// "40日12時間"
QString attemptLengthText(std::int64_t minutes);
// "最長記録まで あと 13日 2時間", a part of an hour counted as a whole one.
QString toBestText(std::int64_t minutes);
// The record as text for the clipboard, CR LF between lines: the current attempt, the best, the
// count, each past attempt with its note, the totals and the way to the best.
QString attemptRecordReport(const AttemptRecord& record, const std::vector<PastAttempt>& past,
                            bool partlyUnread);
// One past attempt's row: start, end, length, cigarettes, money.
QStringList attemptRowTexts(const AttemptFigures& attempt);
