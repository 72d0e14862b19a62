#include "engine/Clock.h"

namespace {
const Clock systemClock;
const Clock* installed = nullptr;
} // namespace

QDateTime Clock::localNow() const {
    return QDateTime::currentDateTime();
}

const Clock& Clock::current() {
    return installed ? *installed : systemClock;
}

void Clock::install(const Clock* clock) {
    installed = clock;
}

DateTimeParts minuteParts(const QDateTime& moment) {
    const QDate d = moment.date();
    const QTime t = moment.time();
    return {0, d.year(), d.month(), d.day(), t.hour(), t.minute()};
}

DateTimeParts currentMinuteParts() {
    return minuteParts(Clock::current().localNow());
}
