#include "settings/FileCommit.h"

#include "system/OpenFolder.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr qint64 kMaxCommittedFileSize = 64 * 1024;
constexpr qsizetype kDigestLength = 64;

QString markerName() {
    return QStringLiteral("save.commit");
}

QString newName(const QString& name) {
    return name + QStringLiteral(".new");
}

using Folder = std::shared_ptr<OpenFolder>;

// Where one file's new content goes: the name in the data folder, or the file a link of the
// user's own in its place leads to, in the folder the system resolves it to. Any other link is
// replaced, never written through.
struct Place {
    Folder folder;
    QString name;

    QString path() const { return folder->filePath(name); }
};

Place placeOf(const Folder& folder, const QString& name) {
    const QString target = folder->ownLinkTarget(name);
    if (target.isEmpty())
        return {folder, name};
    const QFileInfo resolved(target);
    return {std::make_shared<OpenFolder>(resolved.path()), resolved.fileName()};
}

// A file of the commit as it stands, never through a link.
FileBytes readCommitted(const Place& place, const QString& name) {
    return readFolderFile(*place.folder, name, kMaxCommittedFileSize, Links::Refuse);
}

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Renames a leftover the program will not act on to a dated name beside it; its new path, or
// nothing when it cannot be moved.
std::optional<QString> setAside(OpenFolder& folder, const QString& name) {
    const QString stem = name + QStringLiteral(".broken-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString aside = folder.unusedName(stem);
    if (!folder.rename(name, aside))
        return std::nullopt;
    return folder.filePath(aside);
}

struct Entry {
    QString name;
    QByteArray digest;
    Place place;             // resolved once
    bool writtenNow = false; // by this save, not found after a crash
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
std::optional<std::vector<Entry>> parseMarker(const QByteArray& text, const Folder& folder,
                                              const QStringList& names) {
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
        entries.push_back({name, hex, placeOf(folder, name), false});
    }
    if (entries.empty())
        return std::nullopt;
    return entries;
}

// A leftover that is not acted on goes aside, or blocks the folder when it cannot be moved.
CommitOutcome notActedOn(OpenFolder& folder, const QString& name) {
    if (const std::optional<QString> aside = setAside(folder, name))
        return {CommitOutcome::Done, {}, {*aside}};
    return {CommitOutcome::Blocked, folder.filePath(name), {}};
}

// A commit that is not whole: the old files stand, the new ones go.
CommitOutcome drop(OpenFolder& folder, const std::vector<Entry>& entries) {
    CommitOutcome outcome;
    for (const Entry& e : entries) {
        OpenFolder& at = *e.place.folder;
        const QString fresh = newName(e.place.name);
        // A regular one that stays is removed by the next save before it writes.
        if (at.kind(fresh) == PathKind::RegularFile) {
            at.remove(fresh);
            continue;
        }
        if (at.kind(fresh) == PathKind::Missing)
            continue;
        const CommitOutcome aside = notActedOn(at, fresh);
        if (aside.status == CommitOutcome::Blocked)
            return aside;
        outcome.setAside << aside.setAside;
    }
    if (!folder.remove(markerName()))
        return {CommitOutcome::Pending, folder.filePath(markerName()), outcome.setAside};
    return outcome;
}

// A file this save wrote that no longer holds what it wrote: swapped or changed under it.
bool changedUnder(const Entry& e, const QString& name) {
    if (!e.writtenNow)
        return false;
    const FileBytes now = readCommitted(e.place, name);
    return now.status != FileBytes::Read || digest(now.bytes) != e.digest;
}

// Puts each new file in place, then lets the marker go.
CommitOutcome finish(const Folder& folder, const std::vector<Entry>& entries) {
    // A link swapped in since the new files were written would mix the set, and so would a new
    // file swapped for another: the commit is dropped whole instead.
    for (const Entry& e : entries) {
        if (placeOf(folder, e.name).path() == e.place.path() &&
            !changedUnder(e, newName(e.place.name)))
            continue;
        CommitOutcome dropped = drop(*folder, entries);
        if (dropped.status == CommitOutcome::Done)
            dropped = {CommitOutcome::NotSaved, folder->filePath(e.name), dropped.setAside};
        return dropped;
    }
    std::vector<Folder> folders{folder};
    for (const Entry& e : entries) {
        OpenFolder& at = *e.place.folder;
        if (std::find(folders.begin(), folders.end(), e.place.folder) == folders.end())
            folders.push_back(e.place.folder);
        const QString fresh = newName(e.place.name);
        if (at.kind(fresh) != PathKind::Missing && !at.rename(fresh, e.place.name))
            return {CommitOutcome::Pending, e.place.path(), {}};
        if (changedUnder(e, e.place.name))
            return {CommitOutcome::NotSaved, e.place.path(), {}};
    }
    for (const Folder& f : folders) {
        if (!f->sync())
            return {CommitOutcome::Pending, f->path(), {}};
    }
    if (!folder->remove(markerName()))
        return {CommitOutcome::Pending, folder->filePath(markerName()), {}};
    // Lost in a crash, the marker's removal only makes the next start find the work done.
    folder->sync();
    return {};
}

CommitOutcome settle(const Folder& folder, const QStringList& names) {
    const FileBytes read =
        readFolderFile(*folder, markerName(), kMaxCommittedFileSize, Links::Refuse);
    if (read.status == FileBytes::Missing)
        return {};
    // A marker that stays unreadable would hold every save for ever: it goes aside as one the
    // program cannot act on, and the old files stand.
    const std::optional<std::vector<Entry>> entries =
        read.status == FileBytes::Read ? parseMarker(read.bytes, folder, names) : std::nullopt;
    if (!entries)
        return notActedOn(*folder, markerName());
    // Whole: each new file as committed, or already renamed into place.
    bool whole = true;
    for (const Entry& e : *entries) {
        FileBytes content = readCommitted(e.place, newName(e.place.name));
        if (content.status == FileBytes::Missing)
            content = readCommitted(e.place, e.place.name);
        if (content.status == FileBytes::Failed)
            return {CommitOutcome::Pending, e.place.path(), {}};
        whole = whole && content.status == FileBytes::Read && digest(content.bytes) == e.digest;
    }
    return whole ? finish(folder, *entries) : drop(*folder, *entries);
}

} // namespace

CommitOutcome settleCommit(const CommitFolder& folder) {
    return settle(std::make_shared<OpenFolder>(folder.path), folder.names);
}

CommitOutcome replaceTogether(const CommitFolder& folder, const std::vector<Replacement>& files) {
    const QString failedAt = files.empty() ? folder.path : folder.path + u'/' + files.front().name;
    const Folder opened = std::make_shared<OpenFolder>(folder.path);
    if (!opened->isOpen())
        return {CommitOutcome::NotSaved, failedAt, {}};
    // A commit left pending would later overwrite what this one writes.
    CommitOutcome earlier = settle(opened, folder.names);
    if (earlier.status == CommitOutcome::Pending)
        earlier.status = CommitOutcome::NotSaved;
    if (earlier.status != CommitOutcome::Done)
        return earlier;
    std::vector<Entry> written;
    const auto dropWritten = [&] {
        for (const Entry& e : written)
            e.place.folder->remove(newName(e.place.name));
    };
    // What stands at a new file's name goes first: nothing is written through it, and a folder
    // in the way is no reason never to save again.
    const auto clear = [&](OpenFolder& at, const QString& fresh) {
        if (at.remove(fresh))
            return true;
        const CommitOutcome aside = notActedOn(at, fresh);
        earlier.setAside << aside.setAside;
        if (aside.status == CommitOutcome::Blocked)
            earlier = {CommitOutcome::Blocked, aside.path, earlier.setAside};
        return aside.status != CommitOutcome::Blocked;
    };
    for (const Replacement& r : files) {
        const Place place = placeOf(opened, r.name);
        const QString fresh = newName(place.name);
        if (!clear(*place.folder, fresh)) {
            dropWritten();
            return earlier;
        }
        if (!place.folder->create(fresh, r.bytes)) {
            dropWritten();
            return {CommitOutcome::NotSaved, folder.path + u'/' + r.name, earlier.setAside};
        }
        written.push_back({r.name, digest(r.bytes), place, true});
    }
    // The commit: the marker takes its place in one rename, and is on the disk before any file
    // is replaced.
    const QString marker = markerName();
    if (!clear(*opened, newName(marker))) {
        dropWritten();
        return earlier;
    }
    if (!opened->create(newName(marker), markerText(written)) ||
        !opened->rename(newName(marker), marker)) {
        opened->remove(newName(marker));
        dropWritten();
        return {CommitOutcome::NotSaved, failedAt, earlier.setAside};
    }
    if (!opened->sync() && opened->remove(marker)) {
        dropWritten();
        return {CommitOutcome::NotSaved, failedAt, earlier.setAside};
    }
    CommitOutcome outcome = finish(opened, written);
    outcome.setAside = earlier.setAside;
    return outcome;
}

void removeUnfinishedWrites(const CommitFolder& folder) {
    OpenFolder opened(folder.path);
    // A pending commit names its new files: they stay until it is settled.
    if (opened.kind(markerName()) != PathKind::Missing)
        return;
    // A file or a link goes; a folder stays, for a save to set aside.
    for (const QString& name : folder.names + QStringList{markerName()})
        opened.remove(newName(name));
}
