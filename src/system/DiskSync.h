#pragma once

class QFile;
class QString;

// What a save needs to survive a crash or a power cut: data and names on the disk before the
// program goes on. Each is false when the system says the disk did not take it.

// The data of an open file, through its own handle.
bool syncFileData(QFile& file);
// The names a folder holds, after files were renamed or removed in it.
bool syncFolder(const QString& path);
// Puts `from` in the place of `to` in one step, replacing whatever `to` was.
bool replaceFile(const QString& from, const QString& to);
