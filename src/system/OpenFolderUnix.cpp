#include "system/OpenFolder.h"

#include "system/DiskFault.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString& name) {
    return QFile::encodeName(name);
}

int fdOf(qintptr handle) {
    return static_cast<int>(handle);
}

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

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n > 0)
            written += n;
        else if (n < 0 && errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

OpenFolder::OpenFolder(QString path) : m_path(std::move(path)) {
    const int fd = ::open(encoded(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    m_missing = fd < 0 && errno == ENOENT;
    m_handle = fd;
}

OpenFolder::~OpenFolder() {
    if (isOpen())
        ::close(fdOf(m_handle));
}

PathKind OpenFolder::kind(const QString& name) const {
    struct stat info {};
    if (!isOpen())
        return m_missing ? PathKind::Missing : PathKind::Other;
    if (::fstatat(fdOf(m_handle), encoded(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? PathKind::Missing : PathKind::Other;
    return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

FileBytes OpenFolder::read(const QString& name, qint64 maxSize, Links links) const {
    if (diskRefuses(DiskCall::Read, filePath(name)))
        return {FileBytes::Failed, {}};
    if (!isOpen())
        return {m_missing ? FileBytes::Missing : FileBytes::Failed, {}};
    const int fd = ::openat(fdOf(m_handle), encoded(name).constData(),
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
    const QString target = links == Links::FollowOwn ? ownLinkTarget(name) : QString();
    if (target.isEmpty())
        return {FileBytes::NotRegular, {}};
    const QFileInfo resolved(target);
    return OpenFolder(resolved.path()).read(resolved.fileName(), maxSize, Links::Refuse);
}

QString OpenFolder::ownLinkTarget(const QString& name) const {
    struct stat link {};
    if (owner() != FolderOwner::Own ||
        ::fstatat(fdOf(m_handle), encoded(name).constData(), &link, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISLNK(link.st_mode) || link.st_uid != ::geteuid())
        return {};
    // Resolved from the folder opened, whatever its path leads to now.
    const QByteArray through =
        "/proc/self/fd/" + QByteArray::number(fdOf(m_handle)) + '/' + encoded(name);
    char resolved[PATH_MAX];
    if (!::realpath(through.constData(), resolved))
        return {};
    return QFile::decodeName(resolved);
}

FolderOwner OpenFolder::owner() const {
    struct stat info {};
    if (!isOpen() || ::fstat(fdOf(m_handle), &info) != 0 || isOwnFolder(info))
        return FolderOwner::Own;
    return info.st_uid == ::geteuid() ? FolderOwner::OthersCanWrite : FolderOwner::AnotherUser;
}

bool OpenFolder::ownedByAnotherUser(const QString& name) const {
    struct stat info {};
    return isOpen() &&
           ::fstatat(fdOf(m_handle), encoded(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           info.st_uid != ::geteuid();
}

bool OpenFolder::create(const QString& name, const QByteArray& bytes) {
    if (!isOpen() || diskRefuses(DiskCall::Write, filePath(name)))
        return false;
    const QByteArray file = encoded(name);
    const int fd = ::openat(fdOf(m_handle), file.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    if (::close(fd) == 0 && written)
        return true;
    ::unlinkat(fdOf(m_handle), file.constData(), 0);
    return false;
}

bool OpenFolder::rename(const QString& from, const QString& to) {
    return isOpen() && !diskRefuses(DiskCall::Rename, filePath(to)) &&
           ::renameat(fdOf(m_handle), encoded(from).constData(), fdOf(m_handle),
                      encoded(to).constData()) == 0;
}

bool OpenFolder::remove(const QString& name) {
    return isOpen() &&
           (::unlinkat(fdOf(m_handle), encoded(name).constData(), 0) == 0 || errno == ENOENT);
}

bool OpenFolder::sync() {
    return isOpen() && !diskRefuses(DiskCall::SyncFolder, m_path) && ::fsync(fdOf(m_handle)) == 0;
}
