#include "settings/FileCommit.h"

#include "system/DiskSync.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

constexpr qint64 kMaxCommittedFileSize = 64 * 1024;
constexpr qsizetype kDigestLength = 64;

QString markerPath(const CommitFolder& folder) {
    return folder.path + QStringLiteral("/save.commit");
}

QString newPath(const QString& path) {
    return path + QStringLiteral(".new");
}

// Where a file's new content goes: the file itself, or the one a link of the user's own in its
// place leads to, as the system resolves it. Any other link is replaced, never written through.
QString finalPath(const CommitFolder& folder, const QString& name) {
    const QString target = ownLinkTarget(folder.path, name);
    return target.isEmpty() ? folder.path + u'/' + name : target;
}

// A file of the commit as it stands, never through a link.
FileBytes readCommitted(const QString& path) {
    const QFileInfo info(path);
    return readFolderFile(info.path(), info.fileName(), kMaxCommittedFileSize, Links::Refuse);
}

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
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

// Renames a leftover the program will not act on to a dated name beside it; its new path, or
// nothing when it cannot be moved.
std::optional<QString> setAside(const QString& path) {
    const QString stem = path + QStringLiteral(".broken-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = stem;
    for (int n = 2; pathKind(aside) != PathKind::Missing; ++n)
        aside = stem + u'-' + QString::number(n);
    if (!replaceFile(path, aside))
        return std::nullopt;
    return aside;
}

struct Entry {
    QString name;
    QByteArray digest;
    QString path; // where the new file goes, resolved once
};

QByteArray markerText(const std::vector<Entry>& entries) {
    QByteArray text;
    for (const Entry& e : entries)
        text += e.digest + ' ' + e.name.toUtf8() + '\n';
    return text;
}

bool isDigest(const QByteArray& text) {
    return text.size() == kDigestLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// The marker's entries, when it names only the folder's own files, each once, by plain name.
std::optional<std::vector<Entry>> parseMarker(const QByteArray& text, const CommitFolder& folder) {
    const QStringList& names = folder.names;
    std::vector<Entry> entries;
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        const QByteArray hex = line.left(line.indexOf(' '));
        const QString name = QString::fromUtf8(line.mid(hex.size() + 1));
        const bool named = std::any_of(entries.begin(), entries.end(),
                                       [&](const Entry& e) { return e.name == name; });
        if (!isDigest(hex) || !names.contains(name) || named)
            return std::nullopt;
        entries.push_back({name, hex, finalPath(folder, name)});
    }
    if (entries.empty())
        return std::nullopt;
    return entries;
}

// A leftover that is not acted on goes aside, or blocks the folder when it cannot be moved.
CommitOutcome notActedOn(const QString& path) {
    if (const std::optional<QString> aside = setAside(path))
        return {CommitOutcome::Done, {}, {*aside}};
    return {CommitOutcome::Blocked, path, {}};
}

CommitOutcome drop(const CommitFolder& folder, const std::vector<Entry>& entries);

// Puts each new file in place, then lets the marker go.
CommitOutcome finish(const CommitFolder& folder, const std::vector<Entry>& entries) {
    // A link swapped in since the new files were written would mix the pair: the commit is
    // dropped whole instead.
    for (const Entry& e : entries) {
        if (finalPath(folder, e.name) == e.path)
            continue;
        CommitOutcome dropped = drop(folder, entries);
        if (dropped.status == CommitOutcome::Done)
            dropped = {CommitOutcome::NotSaved, folder.path + u'/' + e.name, dropped.setAside};
        return dropped;
    }
    QSet<QString> folders{folder.path};
    for (const Entry& e : entries) {
        const QString& path = e.path;
        folders.insert(QFileInfo(path).absolutePath());
        if (pathKind(newPath(path)) != PathKind::Missing && !replaceFile(newPath(path), path))
            return {CommitOutcome::Pending, path, {}};
    }
    for (const QString& f : folders) {
        if (!syncFolder(f))
            return {CommitOutcome::Pending, f, {}};
    }
    if (!QFile::remove(markerPath(folder)))
        return {CommitOutcome::Pending, markerPath(folder), {}};
    // Lost in a crash, the marker's removal only makes the next start find the work done.
    syncFolder(folder.path);
    return {};
}

// A commit that is not whole: the old files stand, the new ones go.
CommitOutcome drop(const CommitFolder& folder, const std::vector<Entry>& entries) {
    CommitOutcome outcome;
    for (const Entry& e : entries) {
        const QString fresh = newPath(e.path);
        // A regular one that stays is removed by the next save before it writes.
        if (pathKind(fresh) == PathKind::RegularFile) {
            QFile::remove(fresh);
            continue;
        }
        if (pathKind(fresh) == PathKind::Missing)
            continue;
        const CommitOutcome aside = notActedOn(fresh);
        if (aside.status == CommitOutcome::Blocked)
            return aside;
        outcome.setAside << aside.setAside;
    }
    if (!QFile::remove(markerPath(folder)))
        return {CommitOutcome::Pending, markerPath(folder), outcome.setAside};
    return outcome;
}

} // namespace

CommitOutcome settleCommit(const CommitFolder& folder) {
    const QString marker = markerPath(folder);
    const FileBytes read = readFolderFile(folder.path, QStringLiteral("save.commit"),
                                          kMaxCommittedFileSize, Links::Refuse);
    if (read.status == FileBytes::Missing)
        return {};
    // A marker that stays unreadable would hold every save for ever: it goes aside as one the
    // program cannot act on, and the old files stand.
    const std::optional<std::vector<Entry>> entries =
        read.status == FileBytes::Read ? parseMarker(read.bytes, folder) : std::nullopt;
    if (!entries)
        return notActedOn(marker);
    // Whole: each new file as committed, or already renamed into place.
    bool whole = true;
    for (const Entry& e : *entries) {
        const QString& path = e.path;
        FileBytes content = readCommitted(newPath(path));
        if (content.status == FileBytes::Missing)
            content = readCommitted(path);
        if (content.status == FileBytes::Failed)
            return {CommitOutcome::Pending, path, {}};
        whole = whole && content.status == FileBytes::Read && digest(content.bytes) == e.digest;
    }
    return whole ? finish(folder, *entries) : drop(folder, *entries);
}

CommitOutcome replaceTogether(const CommitFolder& folder, const std::vector<Replacement>& files) {
    const QString failedAt = files.empty() ? folder.path : folder.path + u'/' + files.front().name;
    // A commit left pending would later overwrite what this one writes.
    CommitOutcome earlier = settleCommit(folder);
    if (earlier.status == CommitOutcome::Pending)
        earlier.status = CommitOutcome::NotSaved;
    if (earlier.status != CommitOutcome::Done)
        return earlier;
    std::vector<Entry> written;
    const auto dropWritten = [&] {
        for (const Entry& e : written)
            QFile::remove(newPath(e.path));
    };
    // A folder in the way of a new file or the marker's is no reason never to save again.
    const auto clear = [&](const QString& fresh) {
        if (pathKind(fresh) != PathKind::Other || QFile::remove(fresh))
            return true;
        const CommitOutcome aside = notActedOn(fresh);
        earlier.setAside << aside.setAside;
        if (aside.status == CommitOutcome::Blocked)
            earlier = {CommitOutcome::Blocked, aside.path, earlier.setAside};
        return aside.status != CommitOutcome::Blocked;
    };
    for (const Replacement& r : files) {
        const QString path = finalPath(folder, r.name);
        const QString fresh = newPath(path);
        if (!clear(fresh)) {
            dropWritten();
            return earlier;
        }
        if (!writeSynced(fresh, r.bytes)) {
            dropWritten();
            return {CommitOutcome::NotSaved, folder.path + u'/' + r.name, earlier.setAside};
        }
        written.push_back({r.name, digest(r.bytes), path});
    }
    // The commit: the marker takes its place in one rename, and is on the disk before any file
    // is replaced.
    const QString marker = markerPath(folder);
    if (!clear(newPath(marker))) {
        dropWritten();
        return earlier;
    }
    if (!writeSynced(newPath(marker), markerText(written)) ||
        !replaceFile(newPath(marker), marker)) {
        QFile::remove(newPath(marker));
        dropWritten();
        return {CommitOutcome::NotSaved, failedAt, earlier.setAside};
    }
    if (!syncFolder(folder.path) && QFile::remove(marker)) {
        dropWritten();
        return {CommitOutcome::NotSaved, failedAt, earlier.setAside};
    }
    CommitOutcome outcome = finish(folder, written);
    outcome.setAside = earlier.setAside;
    return outcome;
}

void removeUnfinishedWrites(const CommitFolder& folder) {
    // A pending commit names its new files: they stay until it is settled.
    if (pathKind(markerPath(folder)) != PathKind::Missing)
        return;
    for (const QString& name : folder.names + QStringList{QStringLiteral("save.commit")}) {
        const QString fresh = newPath(folder.path + u'/' + name);
        if (pathKind(fresh) != PathKind::Other || QFileInfo(fresh).isSymLink())
            QFile::remove(fresh);
    }
}
