#pragma once

#include <QString>

#include <memory>

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
    const QString& path() const { return m_path; }

private:
    QString m_path;
    int m_fd = -1;
};

// Keeps the lock on `path` in `held`, taking it unless `held` has it already, and letting go of
// any other lock `held` had; false when another holder has the lock.
bool holdLock(std::unique_ptr<InstanceLock>& held, const QString& path);

// True when another instance of the program runs for this user, whatever its current folder.
// Otherwise this process takes the lock and holds it until it ends.
bool anotherInstanceRunning();

// Uses another lock file (tests, so that a running copy of the program does not disturb them).
void useInstanceLockFile(const QString& path);

// Ends the process at once: no window closes, nothing is saved.
[[noreturn]] void endProcessNow();
