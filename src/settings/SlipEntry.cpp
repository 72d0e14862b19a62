#include "settings/SlipEntry.h"

#include "settings/AttemptHistory.h"
#include "settings/LenientNumber.h"
#include "settings/SettingsEntry.h"

CheckedSlip checkSlipEntry(const SlipEntry& entry, const DateTimeParts& currentStart,
                           const DateTimeParts& now) {
    CheckedSlip checked;
    checked.restart = now;
    if (entry.restart) {
        for (std::size_t i = 0; i < entry.restart->size(); ++i) {
            const std::optional<std::int32_t> part = readLenientNumber((*entry.restart)[i]);
            if (!part) {
                checked.problem = SlipProblem::OutOfRange;
                return checked;
            }
            checked.restart[i + 1] = *part;
        }
        if (!isAcceptableQuitMoment(checked.restart, now[1])) {
            checked.problem = SlipProblem::OutOfRange;
            return checked;
        }
    }
    if (comesAfter(checked.restart, now))
        checked.problem = SlipProblem::InTheFuture;
    else if (comesAfter(currentStart, checked.restart))
        checked.problem = SlipProblem::BeforeStart;
    else if (!isStorableNote(entry.note))
        checked.problem = SlipProblem::NoteNotStorable;
    return checked;
}
