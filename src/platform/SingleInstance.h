#pragma once

#include <QString>

// An exclusive lock on a file, held while this object lives. The kernel drops it when the
// process ends in any way, so a crashed instance never blocks the next start.
class InstanceLock {
public:
    explicit InstanceLock(QString path) : m_path(std::move(path)) {}
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another holder has the lock.
    bool tryAcquire();

private:
    QString m_path;
    int m_fd = -1;
};

// True when another instance of the program runs for this user, whatever its current folder.
// The first call takes the lock that this process then holds until it ends; later calls in the
// same process return false.
bool anotherInstanceRunning();

// Uses another lock file (tests, so that a running copy of the program does not disturb them).
void useInstanceLockFile(const QString& path);

// Ends the process at once: no window closes, nothing is saved.
[[noreturn]] void endProcessNow();
