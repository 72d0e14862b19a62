#include "system/FileLock.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>

#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

namespace {

void closeHandle(qintptr handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

} // namespace

FileLock::Outcome FileLock::take() {
    if (m_handle != -1)
        return Outcome::Held;
    // A link or a junction is not followed: the lock is the file at this path or nothing.
    const QFileInfo info(m_path);
    const bool exists = info.exists() || info.isSymLink();
    if (exists && (!info.isFile() || info.isSymLink() || info.isJunction()))
        return Outcome::CannotOpen;
    // Shared for reading and writing, so that Explorer or a sync client can copy the folder
    // while the program runs; the lock is a byte range that no one reads.
    const std::wstring name = QDir::toNativeSeparators(m_path).toStdWString();
    HANDLE handle = CreateFileW(
        name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (exists)
            return Outcome::CannotOpen;
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
            error == ERROR_PATH_NOT_FOUND || error == ERROR_DISK_FULL)
            return Outcome::CannotCreate;
        m_error = qt_error_string(static_cast<int>(error));
        return Outcome::Failed;
    }
    OVERLAPPED at{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        if (error == ERROR_LOCK_VIOLATION)
            return Outcome::Busy;
        m_error = qt_error_string(static_cast<int>(error));
        return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION
                   ? Outcome::NotSupported
                   : Outcome::Failed;
    }
    m_handle = reinterpret_cast<qintptr>(handle);
    return Outcome::Held;
}

// The file's identity on its volume, through the handle held and through the path.
bool FileLock::stillAtPath() const {
    if (m_handle == -1)
        return false;
    BY_HANDLE_FILE_INFORMATION held{};
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(m_handle), &held))
        return false;
    const std::wstring name = QDir::toNativeSeparators(m_path).toStdWString();
    HANDLE atPath =
        CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (atPath == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION found{};
    const bool read = GetFileInformationByHandle(atPath, &found);
    CloseHandle(atPath);
    return read && found.dwVolumeSerialNumber == held.dwVolumeSerialNumber &&
           found.nFileIndexHigh == held.nFileIndexHigh && found.nFileIndexLow == held.nFileIndexLow;
}

#else

namespace {

void closeHandle(qintptr handle) {
    ::close(static_cast<int>(handle));
}

} // namespace

FileLock::Outcome FileLock::take() {
    if (m_handle != -1)
        return Outcome::Held;
    const QByteArray name = QFile::encodeName(m_path);
    const auto failed = [this](int error) {
        m_error = qt_error_string(error);
        return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP ? Outcome::NotSupported
                                                                          : Outcome::Failed;
    };
    // Never through a link, never waiting on a pipe. A lock file the user may only read, or
    // another user's in a shared folder, still locks when opened for reading.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | kFlags, 0644);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(name.constData(), O_RDONLY | kFlags);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP || error == EISDIR || error == ENXIO)
            return Outcome::CannotOpen;
        // Only a folder that cannot be written runs without the lock: no copy can take it there.
        if (error == ENOENT || error == EACCES || error == EROFS || error == EPERM ||
            error == ENOSPC || error == EDQUOT)
            return Outcome::CannotCreate;
        return failed(error);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return Outcome::CannotOpen;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK)
            return failed(error);
        return info.st_uid == ::geteuid() ? Outcome::Busy : Outcome::BusyOwnedByAnotherUser;
    }
    m_handle = fd;
    return Outcome::Held;
}

bool FileLock::stillAtPath() const {
    struct stat held {};
    struct stat atPath {};
    return m_handle != -1 && ::fstat(static_cast<int>(m_handle), &held) == 0 &&
           ::lstat(QFile::encodeName(m_path).constData(), &atPath) == 0 &&
           held.st_dev == atPath.st_dev && held.st_ino == atPath.st_ino;
}

#endif

FileLock::~FileLock() {
    if (m_handle != -1)
        closeHandle(m_handle);
}

FileLock::Outcome holdLock(std::unique_ptr<FileLock>& held, const QString& path, QString* error) {
    if (held && held->path() == path)
        return FileLock::Outcome::Held;
    auto lock = std::make_unique<FileLock>(path);
    const FileLock::Outcome outcome = lock->take();
    if (outcome == FileLock::Outcome::Held)
        held = std::move(lock);
    else if (error)
        *error = lock->error();
    return outcome;
}
