#pragma once

#include <QByteArray>
#include <QString>

// What stands at a name, a link taken as itself.
enum class PathKind { Missing, RegularFile, Other };

// The bytes of a regular file.
struct FileBytes {
    enum Status { Read, Missing, NotRegular, TooLarge, Failed } status;
    QByteArray bytes;
};

// How a read treats a link in the folder (see readFolderFile).
enum class Links { FollowOwn, Refuse };

// Who else could have put what a folder holds there. A folder of another user's, or one others
// can write without the sticky bit that keeps each user's names their own, may have a file
// swapped for a link at any moment.
enum class FolderOwner { Own, AnotherUser, OthersCanWrite };

// A folder opened once. Every call looks its name up in the folder opened, never along the path
// again, and checks what it opened: a folder renamed or replaced by a link meanwhile is not
// written through, and a name swapped for a pipe does not hang a read. Names are plain names in
// the folder. On Windows the folder is held open so that it cannot be renamed or removed while
// the object lives, and names are joined to its path.
class OpenFolder {
public:
    explicit OpenFolder(QString path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    bool isOpen() const { return m_handle != -1; }
    // The path it was opened by, for messages and for the fault seam.
    const QString& path() const { return m_path; }
    QString filePath(const QString& name) const { return m_path + u'/' + name; }

    // What stands at `name`, a link taken as itself.
    PathKind kind(const QString& name) const;
    // `stem`, or "stem-2", "stem-3"… : the first at which nothing stands.
    QString unusedName(const QString& stem) const;
    // One try at the bytes of a regular file (readFolderFile tries again).
    FileBytes read(const QString& name, qint64 maxSize, Links links) const;
    // Where the link `name` leads, as the system resolves it, when the user alone could have made
    // it (see readFolderFile) and it leads to a file that exists; else empty.
    QString ownLinkTarget(const QString& name) const;
    // Who else could have put what the folder holds there.
    FolderOwner owner() const;
    // Whether what stands at `name`, a link as itself, belongs to another user.
    bool ownedByAnotherUser(const QString& name) const;

    // A new file written in full and on the disk; never through anything that stood at the name,
    // which must be missing. False when the disk refused it.
    bool create(const QString& name, const QByteArray& bytes);
    // Puts `from` in the place of `to` in one step. On Windows a rename that a virus scanner or a
    // backup tool holds up is tried again for about a second.
    bool rename(const QString& from, const QString& to);
    // Removes a file or a link, never a folder; true when nothing stands at the name after.
    bool remove(const QString& name);
    // The names the folder holds, on the disk after renames and removals.
    bool sync();

private:
    QString m_path;
    qintptr m_handle = -1;
    bool m_missing = false; // nothing stood at the path when it was opened
};

// The bytes of the file `name` in `folder`, opened in the folder it was looked up in and checked
// as opened: never a pipe, a device or a folder. A link is followed only where the folder and the
// link are the user's own and no other user can write the folder; it reads as the file the
// system resolves it to. Missing only when nothing stands at the name. Any other error is tried
// again for about a second, as a sync client or a virus scanner holds a file for a moment; Failed
// when it lasts.
FileBytes readFolderFile(const QString& folder, const QString& name, qint64 maxSize,
                         Links links = Links::FollowOwn);

// The same in a folder opened already.
FileBytes readFolderFile(const OpenFolder& folder, const QString& name, qint64 maxSize,
                         Links links);
