#include "system/CurrentFolder.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
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
