#pragma once

#include "engine/StatusEngine.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

// Which milestone the notification area tells, and when. A refresh finds a moment where the one
// before it had not reached it yet: the longest earlier attempt passed, a new status title, then
// a step of the body's recovery, then a month or year anniversary as the message of the day marks
// them, then a round figure (each 100th day, 1000 cigarettes, 10000 yen); of two at once the
// first. Told only while the counter windows are hidden behind their icon, one a day at most;
// what comes between 23:00 and 7:00 waits for the first refresh after 7:00. What is skipped is
// not told later, and what the first refresh of a run finds passed while the program was not
// running.
class MilestoneNotices {
public:
    // The notice to show now, if any. hiddenInTray: no counter window shows, and one's icon is
    // in the notification area.
    std::optional<QString> noticeAt(const QuitSettings& settings, const StatusSnapshot& status,
                                    const QDateTime& now, bool hiddenInTray);

    // The length in minutes of the longest attempt that a slip ended; nothing without one.
    void setRecordToBeat(std::optional<std::int64_t> minutes) { m_recordToBeat = minutes; }

    // Ranked from the least: a later kind wins over an earlier one.
    enum class Kind { Money, Cigarettes, Day, Anniversary, Recovery, Title, BestRun };
    struct Moment {
        Kind kind;
        QString text;
    };

private:
    std::optional<StatusSnapshot> m_previous;
    std::optional<std::int64_t> m_recordToBeat;
    std::optional<Moment> m_waiting; // came in the night
    QDate m_toldOn;
};
