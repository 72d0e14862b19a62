#pragma once

#include "settings/AppState.h"

#include <QString>

#include <array>
#include <optional>

// A slip as its window holds it: when counting starts again (now, or a moment typed like the
// settings window's quit moment) and the note.
struct SlipEntry {
    std::optional<std::array<QString, 5>> restart; // year … minute as typed; nothing for now
    QString note;
};

enum class SlipProblem { None, OutOfRange, BeforeStart, InTheFuture, NoteNotStorable };

struct CheckedSlip {
    SlipProblem problem = SlipProblem::None;
    DateTimeParts restart{}; // valid only without a problem
};

// The new start lies on the calendar, neither before the current attempt's start nor after
// `now`; the note is one that history.ini can keep.
CheckedSlip checkSlipEntry(const SlipEntry& entry, const DateTimeParts& currentStart,
                           const DateTimeParts& now);
