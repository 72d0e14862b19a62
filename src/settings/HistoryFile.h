#pragma once

#include "settings/AttemptHistory.h"

#include <QDateTime>
#include <QString>

#include <optional>

// What start-up found of history.ini. It never stops the start and never changes the count.
struct HistoryLoad {
    enum Finding {
        Missing,     // no attempt has ended yet
        Read,        // every line read
        PartlyRead,  // some lines did not read: skipped, kept in the file as they are
        SetAside,    // too large to be ours: renamed aside, a new history starts
        NotReadable, // not a file, or a read that failed: left alone and not written over
    };
    Finding finding = Missing;
    AttemptHistory history;
    // The dated copy kept of a damaged file (made now or by an earlier start), or the name it was
    // set aside under.
    std::optional<QString> copy;
    // The copy was made by this start: the user has not been told of it yet.
    bool copyIsNew = false;

    // A new attempt may be added: the file was read whole, or is not there.
    bool canAdd() const { return finding != NotReadable; }
};

// mayWrite: a copy may be kept, or a file set aside, in the data folder.
HistoryLoad loadHistory(const QString& appDir, const QDateTime& now, bool mayWrite = true);
