#include "system/OpenFolder.h"

#include "system/DiskFault.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <io.h>
#include <windows.h>

#include <aclapi.h>

// Windows has no calls relative to a folder's handle. The folder is held open without sharing
// its deletion instead: while this object lives it cannot be renamed, removed or replaced by a
// junction, so its path keeps leading to the folder opened.

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

HANDLE handleOf(qintptr handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// A link or a junction is taken as itself.
HANDLE openAsItself(const QString& path, DWORD access) {
    return CreateFileW(
        extendedPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

FileBytes readRegularFile(const QString& path, qint64 maxSize) {
    HANDLE handle = openAsItself(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileBytes::Missing
                                                                               : FileBytes::Failed,
                {}};
    }
    // Checked as opened: a folder, a device or a reparse point is no settings file.
    BY_HANDLE_FILE_INFORMATION info{};
    FileBytes result{FileBytes::Read, {}};
    if (!GetFileInformationByHandle(handle, &info) || GetFileType(handle) != FILE_TYPE_DISK)
        result.status = FileBytes::Failed;
    else if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
        result.status = FileBytes::NotRegular;
    else if (info.nFileSizeHigh != 0 || qint64(info.nFileSizeLow) > maxSize)
        result.status = FileBytes::TooLarge;
    else {
        result.bytes.resize(static_cast<qsizetype>(maxSize) + 1);
        DWORD got = 0;
        if (!ReadFile(handle, result.bytes.data(), DWORD(result.bytes.size()), &got, nullptr))
            result.status = FileBytes::Failed;
        result.bytes.truncate(got);
        if (got > maxSize)
            result.status = FileBytes::TooLarge;
    }
    CloseHandle(handle);
    if (result.status != FileBytes::Read)
        result.bytes.clear();
    return result;
}

// Whether the user running the program, or the Administrators group they belong to, owns what
// the handle holds. A file system that keeps no owner (FAT, a share) counts as the user's.
bool isOwnersOwn(HANDLE handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return true;
    bool own = owner == nullptr;
    HANDLE token = nullptr;
    if (!own && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        alignas(TOKEN_USER) char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
        DWORD size = 0;
        own = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
              EqualSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, owner);
        CloseHandle(token);
    }
    if (!own) {
        alignas(SID) char administrators[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof administrators;
        BOOL member = FALSE;
        own = CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
              EqualSid(administrators, owner) &&
              CheckTokenMembership(nullptr, administrators, &member) && member;
    }
    LocalFree(descriptor);
    return own;
}

} // namespace

OpenFolder::OpenFolder(QString path) : m_path(std::move(path)) {
    HANDLE handle = CreateFileW(extendedPath(m_path).c_str(), FILE_LIST_DIRECTORY | READ_CONTROL,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const DWORD error = handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    m_missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (handle != INVALID_HANDLE_VALUE)
        m_handle = reinterpret_cast<qintptr>(handle);
}

OpenFolder::~OpenFolder() {
    if (isOpen())
        CloseHandle(handleOf(m_handle));
}

PathKind OpenFolder::kind(const QString& name) const {
    if (!isOpen())
        return m_missing ? PathKind::Missing : PathKind::Other;
    const DWORD attributes = GetFileAttributesW(extendedPath(filePath(name)).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::Missing
                                                                              : PathKind::Other;
    }
    return attributes &
                   (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)
               ? PathKind::Other
               : PathKind::RegularFile;
}

FileBytes OpenFolder::read(const QString& name, qint64 maxSize, Links links) const {
    if (diskRefuses(DiskCall::Read, filePath(name)))
        return {FileBytes::Failed, {}};
    if (!isOpen())
        return {m_missing ? FileBytes::Missing : FileBytes::Failed, {}};
    const QFileInfo info(filePath(name));
    if (info.isSymLink() || info.isJunction()) {
        const QString target = links == Links::FollowOwn ? ownLinkTarget(name) : QString();
        return target.isEmpty() ? FileBytes{FileBytes::NotRegular, {}}
                                : readRegularFile(target, maxSize);
    }
    return readRegularFile(info.filePath(), maxSize);
}

// A link is followed only when the user made it in a folder of their own, as on POSIX.
QString OpenFolder::ownLinkTarget(const QString& name) const {
    const QFileInfo info(filePath(name));
    if (!info.isSymLink() || owner() != FolderOwner::Own || ownedByAnotherUser(name))
        return {};
    return info.canonicalFilePath();
}

// NTFS keeps an owner for each file and folder, as POSIX does; who may write is in its access
// list, inherited from the folder above, and a user's own folders give no one else that right.
// The owner alone is asked: the user's, or the Administrators group's for what the user made
// with a raised program.
FolderOwner OpenFolder::owner() const {
    return isOpen() && !isOwnersOwn(handleOf(m_handle)) ? FolderOwner::AnotherUser
                                                        : FolderOwner::Own;
}

bool OpenFolder::ownedByAnotherUser(const QString& name) const {
    HANDLE handle = openAsItself(filePath(name), READ_CONTROL);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool another = !isOwnersOwn(handle);
    CloseHandle(handle);
    return another;
}

bool OpenFolder::create(const QString& name, const QByteArray& bytes) {
    if (!isOpen() || diskRefuses(DiskCall::Write, filePath(name)))
        return false;
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return false;
    const bool written = file.write(bytes) == bytes.size() && _commit(file.handle()) == 0;
    file.close();
    if (written && file.error() == QFileDevice::NoError)
        return true;
    file.remove();
    return false;
}

// Write-through: the call returns once the new name is on the disk.
bool OpenFolder::rename(const QString& from, const QString& to) {
    if (!isOpen() || diskRefuses(DiskCall::Rename, filePath(to)))
        return false;
    const std::wstring source = extendedPath(filePath(from));
    const std::wstring target = extendedPath(filePath(to));
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

bool OpenFolder::remove(const QString& name) {
    if (!isOpen() || kind(name) == PathKind::Missing)
        return isOpen();
    const QFileInfo info(filePath(name));
    if (info.isDir() && !info.isSymLink() && !info.isJunction())
        return false;
    return QFile::remove(info.filePath()) || kind(name) == PathKind::Missing;
}

// NTFS writes a rename through its journal; a folder has no handle of its own to flush.
bool OpenFolder::sync() {
    return isOpen() && !diskRefuses(DiskCall::SyncFolder, m_path);
}
