#include "system/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>

#ifdef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

QString& lockPathOverride() {
    static QString path;
    return path;
}

QString lockFilePath() {
    if (!lockPathOverride().isEmpty())
        return lockPathOverride();
#ifdef Q_OS_WIN
    // The temporary folder is the user's own.
    return QDir::tempPath() + QStringLiteral("/kemurin.lock");
#else
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/kemurin-%1.lock").arg(getuid());
#endif
}

constexpr int kHeldElsewhere = -2;

// A descriptor that holds the lock, kHeldElsewhere, or -1 when the file cannot be opened.
int openLocked(const QString& path) {
#ifdef Q_OS_WIN
    // Opened without sharing, the file itself is the lock.
    const int fd = _wsopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                           _O_RDWR | _O_CREAT | _O_NOINHERIT, _SH_DENYRW, _S_IREAD | _S_IWRITE);
    return fd < 0 && errno == EACCES ? kHeldElsewhere : fd;
#else
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return kHeldElsewhere;
    }
    return fd;
#endif
}

void closeLocked(int fd) {
#ifdef Q_OS_WIN
    _close(fd);
#else
    ::close(fd);
#endif
}

} // namespace

InstanceLock::~InstanceLock() {
    if (m_fd >= 0)
        closeLocked(m_fd);
}

bool InstanceLock::tryAcquire() {
    if (m_fd >= 0)
        return true;
    const int fd = openLocked(m_path);
    if (fd == kHeldElsewhere)
        return false;
    // Without a lock file we cannot tell; starting beats refusing to start.
    m_fd = fd;
    return true;
}

bool holdLock(std::unique_ptr<InstanceLock>& held, const QString& path) {
    if (held && held->path() == path)
        return true;
    auto lock = std::make_unique<InstanceLock>(path);
    if (!lock->tryAcquire())
        return false;
    held = std::move(lock);
    return true;
}

bool anotherInstanceRunning() {
    static std::unique_ptr<InstanceLock> held;
    return !holdLock(held, lockFilePath());
}

void useInstanceLockFile(const QString& path) {
    lockPathOverride() = path;
}

void endProcessNow() {
    std::_Exit(0);
}
