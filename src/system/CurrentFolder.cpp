#include "system/CurrentFolder.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

std::optional<QString> currentFolder() {
#ifdef Q_OS_WIN
    // Names are text there; the current folder of a process cannot be removed.
    return QDir::currentPath();
#else
    QByteArray bytes(PATH_MAX, '\0');
    if (!::getcwd(bytes.data(), static_cast<size_t>(bytes.size())) || bytes[0] != '/')
        return std::nullopt;
    bytes.truncate(static_cast<qsizetype>(qstrlen(bytes.constData())));
    const QString path = QFile::decodeName(bytes);
    return QFile::encodeName(path) == bytes ? path : QStringLiteral(".");
#endif
}

#ifdef Q_OS_WIN

namespace {

bool isWithin(const QString& folder, const QString& outer) {
    const QString inner = QDir::cleanPath(folder).toLower() + u'/';
    return !outer.isEmpty() && inner.startsWith(QDir::cleanPath(outer).toLower() + u'/');
}

} // namespace

FolderUse folderUse(const QString& folder) {
    const QString path = QDir(folder).canonicalPath();
    if (isWithin(path, QDir(QDir::tempPath()).canonicalPath()))
        return FolderUse::Temporary;
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH &&
        isWithin(path, QDir(QString::fromWCharArray(windows, int(length))).canonicalPath()))
        return FolderUse::System;
    return FolderUse::Ordinary;
}

#else

FolderUse folderUse(const QString&) {
    return FolderUse::Ordinary;
}

#endif
