#pragma once

#include <QString>

#include <memory>

// An exclusive lock on a file, held while this object lives. The system drops it when the
// process ends in any way, so a crashed program never blocks the next start. The file is never
// opened through a link, nor made anywhere but at its own path; an empty file that stays.
class FileLock {
public:
    enum class Outcome {
        Held,                   // this object holds the lock
        Busy,                   // another holder has it
        BusyOwnedByAnotherUser, // another holder has it, and the file is another user's
        CannotCreate, // there is no lock file and the folder takes none (read-only, full, gone)
        CannotOpen,   // something stands at the path that does not open as a lock file
        NotSupported, // the file system locks no file (some network shares)
        Failed,       // the system refused for another reason: see error()
    };

    explicit FileLock(QString path) : m_path(std::move(path)) {}
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    Outcome take();
    const QString& path() const { return m_path; }
    // The system's words for why the last take failed.
    const QString& error() const { return m_error; }
    // Whether the file held is still the one at the path: a user tidying the folder, or a sync
    // client, may have removed or replaced it, and then another copy can take the path's lock.
    bool stillAtPath() const;

private:
    QString m_path;
    QString m_error;
    qintptr m_handle = -1;
};

// Keeps the lock on `path` in `held`, taking it unless `held` has it already; another lock that
// `held` had is let go once this one is taken. `error` gets the system's words for a failure.
FileLock::Outcome holdLock(std::unique_ptr<FileLock>& held, const QString& path,
                           QString* error = nullptr);
