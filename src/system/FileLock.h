#pragma once

#include <QString>

#include <memory>

// An exclusive lock on a file, held while this object lives. The system drops it when the
// process ends in any way, so a crashed program never blocks the next start. The file is never
// opened through a link, nor made anywhere but at its own path; an empty file that stays.
class FileLock {
public:
    enum class Outcome {
        Held,         // this object holds the lock
        Busy,         // another holder has it
        CannotCreate, // there is no lock file and the folder takes none (read-only, gone)
        CannotOpen,   // something stands at the path that does not open as a lock file
    };

    explicit FileLock(QString path) : m_path(std::move(path)) {}
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    Outcome take();
    const QString& path() const { return m_path; }

private:
    QString m_path;
    qintptr m_handle = -1;
};

// Keeps the lock on `path` in `held`, taking it unless `held` has it already; another lock that
// `held` had is let go once this one is taken.
FileLock::Outcome holdLock(std::unique_ptr<FileLock>& held, const QString& path);
