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
    if (handle == INVALID_HANDLE_VALUE)
        return exists ? Outcome::CannotOpen : Outcome::CannotCreate;
    OVERLAPPED at{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return error == ERROR_LOCK_VIOLATION ? Outcome::Busy : Outcome::CannotOpen;
    }
    m_handle = reinterpret_cast<qintptr>(handle);
    return Outcome::Held;
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
    // Never through a link, never waiting on a pipe. A lock file the user may only read, or
    // another user's in a shared folder, still locks when opened for reading.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | kFlags, 0644);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(name.constData(), O_RDONLY | kFlags);
    if (fd < 0) {
        struct stat info {};
        return ::lstat(name.constData(), &info) == 0 ? Outcome::CannotOpen : Outcome::CannotCreate;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Outcome::CannotOpen;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Outcome::Busy : Outcome::CannotOpen;
    }
    m_handle = fd;
    return Outcome::Held;
}

#endif

FileLock::~FileLock() {
    if (m_handle != -1)
        closeHandle(m_handle);
}

FileLock::Outcome holdLock(std::unique_ptr<FileLock>& held, const QString& path) {
    if (held && held->path() == path)
        return FileLock::Outcome::Held;
    auto lock = std::make_unique<FileLock>(path);
    const FileLock::Outcome outcome = lock->take();
    if (outcome == FileLock::Outcome::Held)
        held = std::move(lock);
    return outcome;
}
