#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFile;

// What a save needs to survive a crash or a power cut: data and names on the disk before the
// program goes on. Each is false when the system says the disk did not take it.

// The data of an open file, through its own handle.
bool syncFileData(QFile& file);
// The names a folder holds, after files were renamed or removed in it.
bool syncFolder(const QString& path);
// Puts `from` in the place of `to` in one step, replacing whatever `to` was. On Windows a rename
// that a virus scanner or a backup tool holds up is tried again for about a second.
bool replaceFile(const QString& from, const QString& to);

// What stands at a path, a link taken as itself.
enum class PathKind { Missing, RegularFile, Other };
PathKind pathKind(const QString& path);

// The bytes of a regular file.
struct FileBytes {
    enum Status { Read, Missing, NotRegular, TooLarge, Failed } status;
    QByteArray bytes;
};

// The bytes of the file `name` in `folder`, opened in the folder it was looked up in and checked
// as opened: never a pipe, a device or a folder. A link is followed only where the folder and the
// link are the user's own and no other user can write the folder; it reads as the file the
// system resolves it to. Missing only when nothing stands at the name. Any other error is tried
// again for about a second, as a sync client or a virus scanner holds a file for a moment; Failed
// when it lasts.
enum class Links { FollowOwn, Refuse };
FileBytes readFolderFile(const QString& folder, const QString& name, qint64 maxSize,
                         Links links = Links::FollowOwn);

// Where the link `name` in `folder` leads, as the system resolves it, when the user alone could
// have made it (see readFolderFile) and it leads to a file that exists; else empty.
QString ownLinkTarget(const QString& folder, const QString& name);

// Who else could have put what a folder holds there. A folder of another user's, or one others
// can write without the sticky bit that keeps each user's names their own, may have a file
// swapped for a link at any moment.
enum class FolderOwner { Own, AnotherUser, OthersCanWrite };
FolderOwner folderOwner(const QString& folder);
// Whether what stands at `name` in `folder`, a link as itself, belongs to another user.
bool ownedByAnotherUser(const QString& folder, const QString& name);

// Tests make the disk refuse: while set, each open for reading, rename and folder sync asks the
// hook first and fails when it says so.
enum class DiskCall { Read, Rename, SyncFolder };
void setDiskFault(std::function<bool(DiskCall, const QString& path)> fails);
