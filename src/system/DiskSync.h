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

// The bytes of a regular file, read without following a link.
struct FileBytes {
    enum Status { Read, Missing, NotRegular, TooLarge, Failed } status;
    QByteArray bytes;
};
FileBytes readRegularFile(const QString& path, qint64 maxSize);

// Tests make the disk refuse: while set, each open for reading, rename and folder sync asks the
// hook first and fails when it says so.
enum class DiskCall { Read, Rename, SyncFolder };
void setDiskFault(std::function<bool(DiskCall, const QString& path)> fails);
