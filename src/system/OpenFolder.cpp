#include "system/OpenFolder.h"

#include <QThread>

namespace {

// A read the system refuses, tried again for about a second.
template <typename Read> FileBytes retried(Read read) {
    FileBytes bytes = read();
    for (int attempt = 1; bytes.status == FileBytes::Failed && attempt < 6; ++attempt) {
        QThread::msleep(200);
        bytes = read();
    }
    return bytes;
}

} // namespace

FileBytes readFolderFile(const OpenFolder& folder, const QString& name, qint64 maxSize,
                         Links links) {
    return retried([&] { return folder.read(name, maxSize, links); });
}

// The folder is opened anew each time: its own open may be what failed.
FileBytes readFolderFile(const QString& folder, const QString& name, qint64 maxSize, Links links) {
    return retried([&] { return OpenFolder(folder).read(name, maxSize, links); });
}

QString OpenFolder::unusedName(const QString& stem) const {
    QString name = stem;
    for (int n = 2; kind(name) != PathKind::Missing; ++n)
        name = stem + u'-' + QString::number(n);
    return name;
}
