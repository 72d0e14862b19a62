#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>

#include <cstdlib>

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

int heldLock = -1;
} // namespace

bool anotherInstanceRunning() {
    if (heldLock >= 0)
        return false;
    const QByteArray path = QFile::encodeName(lockFilePath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false; // without a lock file we cannot tell; starting beats refusing to start
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return true;
    }
    heldLock = fd;
    return false;
}

void useInstanceLockFile(const QString& path) {
    lockPathOverride() = path;
}

void endProcessNow() {
    std::_Exit(0);
}
