#include "system/DiskSync.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#ifdef Q_OS_WIN
#include <QDir>

#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::function<bool(DiskCall, const QString&)>& diskFault() {
    static std::function<bool(DiskCall, const QString&)> fails;
    return fails;
}

bool refused(DiskCall call, const QString& path) {
    return diskFault() && diskFault()(call, path);
}

} // namespace

void setDiskFault(std::function<bool(DiskCall, const QString&)> fails) {
    diskFault() = std::move(fails);
}

#ifdef Q_OS_WIN

namespace {

// The path with "\\?\" before it, so that a folder deeper than 260 characters works as any.
std::wstring extendedPath(const QString& path) {
    QString native = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (native.startsWith(QLatin1String("\\\\?\\")))
        return native.toStdWString();
    if (native.startsWith(QLatin1String("\\\\")))
        native = QLatin1String("\\\\?\\UNC\\") + native.mid(2);
    else
        native = QLatin1String("\\\\?\\") + native;
    return native.toStdWString();
}

} // namespace

bool syncFileData(QFile& file) {
    return file.isOpen() && _commit(file.handle()) == 0;
}

// NTFS writes a rename through its journal; a folder has no handle of its own to flush.
bool syncFolder(const QString& path) {
    return !refused(DiskCall::SyncFolder, path);
}

// Write-through: the call returns once the new name is on the disk.
bool replaceFile(const QString& from, const QString& to) {
    if (refused(DiskCall::Rename, to))
        return false;
    const std::wstring source = extendedPath(from);
    const std::wstring target = extendedPath(to);
    // A scanner, an indexer or a sync client that has the file open holds it for a moment.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        const bool heldUp = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                            error == ERROR_LOCK_VIOLATION;
        if (!heldUp || attempt == 10)
            return false;
        Sleep(100);
    }
}

PathKind pathKind(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return PathKind::Missing;
    return info.isFile() && !info.isSymLink() && !info.isJunction() ? PathKind::RegularFile
                                                                    : PathKind::Other;
}

FileBytes readRegularFile(const QString& path, qint64 maxSize) {
    switch (pathKind(path)) {
    case PathKind::Missing:
        return {FileBytes::Missing, {}};
    case PathKind::Other:
        return {FileBytes::NotRegular, {}};
    case PathKind::RegularFile:
        break;
    }
    QFile file(path);
    if (refused(DiskCall::Read, path) || !file.open(QIODevice::ReadOnly))
        return {FileBytes::Failed, {}};
    if (file.size() > maxSize)
        return {FileBytes::TooLarge, {}};
    QByteArray bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        return {FileBytes::Failed, {}};
    return {bytes.size() > maxSize ? FileBytes::TooLarge : FileBytes::Read, bytes};
}

#else

bool syncFileData(QFile& file) {
    return file.isOpen() && ::fdatasync(file.handle()) == 0;
}

bool syncFolder(const QString& path) {
    if (refused(DiskCall::SyncFolder, path))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool replaceFile(const QString& from, const QString& to) {
    return !refused(DiskCall::Rename, to) &&
           std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

PathKind pathKind(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Other;
    return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

FileBytes readRegularFile(const QString& path, qint64 maxSize) {
    if (refused(DiskCall::Read, path))
        return {FileBytes::Failed, {}};
    // Not through a link, and never waiting on a pipe.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {FileBytes::Missing, {}};
        return {errno == ELOOP || errno == ENXIO ? FileBytes::NotRegular : FileBytes::Failed, {}};
    }
    FileBytes result{FileBytes::Read, {}};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.status = FileBytes::Failed;
    } else if (!S_ISREG(info.st_mode)) {
        result.status = FileBytes::NotRegular;
    } else if (info.st_size > maxSize) {
        result.status = FileBytes::TooLarge;
    } else {
        result.bytes.resize(static_cast<qsizetype>(maxSize) + 1);
        qsizetype got = 0;
        while (got < result.bytes.size()) {
            const ssize_t n = ::read(fd, result.bytes.data() + got,
                                     static_cast<size_t>(result.bytes.size() - got));
            if (n > 0) {
                got += n;
            } else if (n == 0) {
                break;
            } else if (errno != EINTR) {
                result.status = FileBytes::Failed;
                break;
            }
        }
        result.bytes.truncate(got);
        if (result.status == FileBytes::Read && got > maxSize)
            result.status = FileBytes::TooLarge;
    }
    ::close(fd);
    return result;
}

#endif
