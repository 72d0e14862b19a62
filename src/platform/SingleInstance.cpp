#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString& lockPathOverride() {
    static QString path;
    return path;
}

QString lockFilePath() {
    if (!lockPathOverride().isEmpty())
        return lockPathOverride();
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/kemurin-%1.lock").arg(getuid());
}

} // namespace

InstanceLock::~InstanceLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InstanceLock::tryAcquire() {
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file we cannot tell; starting beats refusing to start.
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool anotherInstanceRunning() {
    static std::unique_ptr<InstanceLock> held;
    if (held)
        return false;
    auto lock = std::make_unique<InstanceLock>(lockFilePath());
    if (!lock->tryAcquire())
        return true;
    held = std::move(lock);
    return false;
}

void useInstanceLockFile(const QString& path) {
    lockPathOverride() = path;
}

void endProcessNow() {
    std::_Exit(0);
}
