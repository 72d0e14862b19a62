#include "system/DiskSync.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QThread>

#ifdef Q_OS_WIN
#include <QDir>

#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
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

FileBytes readFolderFileOnce(const QString& folder, const QString& name, qint64 maxSize,
                             Links links);

} // namespace

FileBytes readFolderFile(const QString& folder, const QString& name, qint64 maxSize, Links links) {
    FileBytes read = readFolderFileOnce(folder, name, maxSize, links);
    for (int attempt = 1; read.status == FileBytes::Failed && attempt < 6; ++attempt) {
        QThread::msleep(200);
        read = readFolderFileOnce(folder, name, maxSize, links);
    }
    return read;
}

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

namespace {

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

// A link the user made is followed as before; a file that the cloud has not brought down, or that
// a scanner holds, fails its open and is tried again.
FileBytes readFolderFileOnce(const QString& folder, const QString& name, qint64 maxSize,
                             Links links) {
    const QString path = folder + u'/' + name;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {FileBytes::Missing, {}};
    if (!info.isFile() || (info.isSymLink() && links == Links::Refuse))
        return {FileBytes::NotRegular, {}};
    return readRegularFile(info.isSymLink() ? info.canonicalFilePath() : path, maxSize);
}

} // namespace

// Windows has no owner check here: a link on a user's own disk is followed as before.
QString ownLinkTarget(const QString& folder, const QString& name) {
    const QFileInfo info(folder + u'/' + name);
    return info.isSymLink() ? info.canonicalFilePath() : QString();
}

// The owner of the folder and of a reparse point would tell the same on NTFS; not asked here.
FolderOwner folderOwner(const QString&) {
    return FolderOwner::Own;
}

bool ownedByAnotherUser(const QString&, const QString&) {
    return false;
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

namespace {

// Only a folder no other user can write, without the sticky bit that keeps each user's names
// their own, and the user's own: another could swap a name in it for a link at any moment.
bool isOwnFolder(const struct stat& folder) {
    return folder.st_uid == ::geteuid() &&
           (!(folder.st_mode & S_IWOTH) || (folder.st_mode & S_ISVTX));
}

FileBytes readOpened(int fd, qint64 maxSize) {
    FileBytes result{FileBytes::Read, {}};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {FileBytes::Failed, {}};
    if (!S_ISREG(info.st_mode))
        return {FileBytes::NotRegular, {}};
    if (info.st_size > maxSize)
        return {FileBytes::TooLarge, {}};
    result.bytes.resize(static_cast<qsizetype>(maxSize) + 1);
    qsizetype got = 0;
    while (got < result.bytes.size()) {
        const ssize_t n =
            ::read(fd, result.bytes.data() + got, static_cast<size_t>(result.bytes.size() - got));
        if (n > 0)
            got += n;
        else if (n == 0)
            break;
        else if (errno != EINTR)
            return {FileBytes::Failed, {}};
    }
    result.bytes.truncate(got);
    if (got > maxSize)
        result.status = FileBytes::TooLarge;
    return result;
}

// A link in the folder that the user alone could have made.
bool isOwnLink(int folderFd, const QByteArray& name) {
    struct stat dir {};
    struct stat link {};
    return ::fstat(folderFd, &dir) == 0 && isOwnFolder(dir) &&
           ::fstatat(folderFd, name.constData(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(link.st_mode) && link.st_uid == ::geteuid();
}

FileBytes readAt(int folderFd, const QString& folder, const QString& name, qint64 maxSize,
                 bool followLink) {
    const QByteArray encoded = QFile::encodeName(name);
    const int fd = ::openat(folderFd, encoded.constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0) {
        FileBytes read = readOpened(fd, maxSize);
        ::close(fd);
        return read;
    }
    if (errno == ENOENT)
        return {FileBytes::Missing, {}};
    if (errno != ELOOP)
        return {errno == ENXIO || errno == ENODEV ? FileBytes::NotRegular : FileBytes::Failed, {}};
    // A link: read where the system resolves it, when the user alone could have made it.
    if (!followLink || !isOwnLink(folderFd, encoded))
        return {FileBytes::NotRegular, {}};
    char resolved[PATH_MAX];
    if (!::realpath(QFile::encodeName(folder + u'/' + name).constData(), resolved))
        return {errno == ENOENT || errno == ELOOP ? FileBytes::NotRegular : FileBytes::Failed, {}};
    const QFileInfo target(QFile::decodeName(resolved));
    const int targetFolder =
        ::open(QFile::encodeName(target.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (targetFolder < 0)
        return {FileBytes::Failed, {}};
    FileBytes read = readAt(targetFolder, target.path(), target.fileName(), maxSize, false);
    ::close(targetFolder);
    return read;
}

FileBytes readFolderFileOnce(const QString& folder, const QString& name, qint64 maxSize,
                             Links links) {
    if (refused(DiskCall::Read, folder + u'/' + name))
        return {FileBytes::Failed, {}};
    const int folderFd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return {errno == ENOENT ? FileBytes::Missing : FileBytes::Failed, {}};
    FileBytes read = readAt(folderFd, folder, name, maxSize, links == Links::FollowOwn);
    ::close(folderFd);
    return read;
}

} // namespace

QString ownLinkTarget(const QString& folder, const QString& name) {
    const int folderFd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return {};
    char resolved[PATH_MAX];
    const bool own = isOwnLink(folderFd, QFile::encodeName(name)) &&
                     ::realpath(QFile::encodeName(folder + u'/' + name).constData(), resolved);
    ::close(folderFd);
    return own ? QFile::decodeName(resolved) : QString();
}

FolderOwner folderOwner(const QString& folder) {
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || isOwnFolder(info))
        return FolderOwner::Own;
    return info.st_uid == ::geteuid() ? FolderOwner::OthersCanWrite : FolderOwner::AnotherUser;
}

bool ownedByAnotherUser(const QString& folder, const QString& name) {
    struct stat info {};
    return ::lstat(QFile::encodeName(folder + u'/' + name).constData(), &info) == 0 &&
           info.st_uid != ::geteuid();
}

#endif
