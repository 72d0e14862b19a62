#include "settings/FileCommit.h"

#include "system/DiskSync.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

constexpr qint64 kMaxCommittedFileSize = 64 * 1024;

QString markerPath(const QString& folder) {
    return folder + QStringLiteral("/save.commit");
}

QString newPath(const QString& path) {
    return path + QStringLiteral(".new");
}

bool isMissing(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

// A link to the file is kept: the new content goes to the file it leads to.
QString finalPath(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The digest of a small regular file; empty for anything else.
QByteArray digestOf(const QString& path) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() > kMaxCommittedFileSize || !file.open(QIODevice::ReadOnly))
        return {};
    return digest(file.readAll());
}

// A new file written out in full and synced. An older one of that name, even a link, goes
// first: nothing is written through it.
bool writeSynced(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return false;
    const bool written = file.write(bytes) == bytes.size() && syncFileData(file);
    file.close();
    if (written && file.error() == QFileDevice::NoError)
        return true;
    QFile::remove(path);
    return false;
}

struct Committed {
    QString path;
    QByteArray digest;
};

// The marker's lines, "<digest> <path>", the path relative to the folder when it lies there.
QByteArray markerText(const QString& folder, const std::vector<Committed>& files) {
    QByteArray text;
    for (const Committed& f : files) {
        const QString name =
            QFileInfo(f.path).path() == folder ? QFileInfo(f.path).fileName() : f.path;
        text += f.digest + ' ' + QFile::encodeName(name) + '\n';
    }
    return text;
}

std::optional<std::vector<Committed>> readMarker(const QString& folder) {
    const QString path = markerPath(folder);
    QFile file(path);
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() > kMaxCommittedFileSize ||
        !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::vector<Committed> files;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype space = line.indexOf(' ');
        if (line.isEmpty())
            continue;
        if (space <= 0)
            return std::nullopt;
        const QString name = QFile::decodeName(line.mid(space + 1));
        files.push_back(
            {QDir::isAbsolutePath(name) ? name : folder + u'/' + name, line.left(space)});
    }
    if (files.empty())
        return std::nullopt;
    return files;
}

} // namespace

std::optional<QString> replaceTogether(const QString& folder,
                                       const std::vector<Replacement>& files) {
    const QString failedAt = files.empty() ? folder : files.front().path;
    // A commit left pending would later overwrite what this one writes.
    if (!settleCommit(folder))
        return failedAt;
    std::vector<Committed> written;
    const auto dropWritten = [&] {
        for (const Committed& f : written)
            QFile::remove(newPath(f.path));
    };
    for (const Replacement& r : files) {
        const QString path = finalPath(r.path);
        if (!writeSynced(newPath(path), r.bytes)) {
            dropWritten();
            return r.path;
        }
        written.push_back({path, digest(r.bytes)});
    }
    // The commit: the marker takes its place in one rename, and is on the disk before any file
    // is replaced.
    const QString marker = markerPath(folder);
    if (!writeSynced(newPath(marker), markerText(folder, written)) ||
        !replaceFile(newPath(marker), marker)) {
        QFile::remove(newPath(marker));
        dropWritten();
        return failedAt;
    }
    if (!syncFolder(folder) && QFile::remove(marker)) {
        dropWritten();
        return failedAt;
    }
    settleCommit(folder);
    return std::nullopt;
}

bool settleCommit(const QString& folder) {
    const QString marker = markerPath(folder);
    if (isMissing(marker))
        return true;
    const std::optional<std::vector<Committed>> files = readMarker(folder);
    // Whole: the new file as committed, or already renamed into place.
    bool whole = files.has_value();
    for (const Committed& f : files.value_or(std::vector<Committed>{}))
        whole = whole && (digestOf(newPath(f.path)) == f.digest ||
                          (isMissing(newPath(f.path)) && digestOf(f.path) == f.digest));
    bool settled = true;
    QSet<QString> folders{folder};
    for (const Committed& f : files.value_or(std::vector<Committed>{})) {
        if (isMissing(newPath(f.path)))
            continue;
        settled = (whole ? replaceFile(newPath(f.path), f.path) : QFile::remove(newPath(f.path))) &&
                  settled;
        folders.insert(QFileInfo(f.path).path());
    }
    for (const QString& f : folders)
        settled = syncFolder(f) && settled;
    if (!settled || !QFile::remove(marker))
        return false;
    // Lost in a crash, the marker's removal only makes the next start find the work done.
    syncFolder(folder);
    return true;
}
