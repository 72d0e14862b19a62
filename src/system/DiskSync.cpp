#include "system/DiskSync.h"

#include <QFile>
#include <QString>

#ifdef Q_OS_WIN
#include <QDir>

#include <io.h>
#include <windows.h>
#else
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

bool syncFileData(QFile& file) {
    return file.isOpen() && _commit(file.handle()) == 0;
}

// NTFS writes a rename through its journal; a folder has no handle of its own to flush.
bool syncFolder(const QString&) {
    return true;
}

// Write-through: the call returns once the new name is on the disk.
bool replaceFile(const QString& from, const QString& to) {
    const QString nativeFrom = QDir::toNativeSeparators(from);
    const QString nativeTo = QDir::toNativeSeparators(to);
    return MoveFileExW(reinterpret_cast<const wchar_t*>(nativeFrom.utf16()),
                       reinterpret_cast<const wchar_t*>(nativeTo.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

#else

bool syncFileData(QFile& file) {
    return file.isOpen() && ::fdatasync(file.handle()) == 0;
}

bool syncFolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool replaceFile(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

#endif
