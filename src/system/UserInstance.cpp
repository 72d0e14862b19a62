#include "system/UserInstance.h"

#include "system/FileLock.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

// The user's own temporary folder; the socket there is a named pipe, not a file.
QString privateRuntimeFolder() {
    return QDir::tempPath();
}

// A mutex named in the session's own namespace: nothing is left on the disk or in the registry.
bool anotherProgramOfThisUser() {
    static HANDLE mutex = nullptr;
    if (mutex)
        return false;
    HANDLE made = CreateMutexW(nullptr, FALSE, L"Local\\jp.example.kemurin");
    if (made && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(made);
        return true;
    }
    mutex = made;
    return false;
}

#else

QString privateRuntimeFolder() {
    // Qt checks that the session's runtime folder, or its own fallback, is the user's, 0700.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    // Another user may have made Qt's fallback first: then one of ours, never a shared one.
    const QString own = QDir::tempPath() + QStringLiteral("/kemurin-%1").arg(::getuid());
    const QByteArray name = QFile::encodeName(own);
    ::mkdir(name.constData(), 0700);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0)
        return {};
    return own;
}

bool anotherProgramOfThisUser() {
    static std::unique_ptr<FileLock> held;
    const QString folder = privateRuntimeFolder();
    if (folder.isEmpty())
        return false;
    const QString path = folder + QStringLiteral("/kemurin-%1.lock").arg(::getuid());
    return holdLock(held, path) == FileLock::Outcome::Busy;
}

#endif
