#pragma once

#include <QString>

#include <functional>

// Tests make the disk refuse: while set, each open for reading, new file, rename and folder sync
// asks the hook first with the path it works on (a rename's target) and fails when it says so.
enum class DiskCall { Read, Write, Rename, SyncFolder };
void setDiskFault(std::function<bool(DiskCall, const QString& path)> fails);
bool diskRefuses(DiskCall call, const QString& path);
