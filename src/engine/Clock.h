#pragma once

#include "settings/AppState.h"

#include <QDateTime>

// The one source of "now". Tests install their own clock to stand on any date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const;

    static const Clock& current();
    // Installs a clock (nullptr restores the system clock); the caller keeps it alive.
    static void install(const Clock* clock);
};

// A clock that always tells the moment it was given.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime moment) : m_moment(std::move(moment)) {}
    QDateTime localNow() const override { return m_moment; }
    void set(QDateTime moment) { m_moment = std::move(moment); }

private:
    QDateTime m_moment;
};

// Year, month, day, hour and minute of the current local moment; seconds are dropped.
DateTimeParts currentMinuteParts();
DateTimeParts minuteParts(const QDateTime& moment);
