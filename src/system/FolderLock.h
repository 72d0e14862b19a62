#pragma once

#include "system/FileLock.h"

#include <QString>

// The lock file inside the data folder, held while a copy of the program runs on it.
inline constexpr char kFolderLockName[] = "kemurin.lock";

// Takes the data folder's lock, against a copy of the program started from another session or
// by another user, and holds it until the process ends or takes another folder's. The folder
// must exist.
FileLock::Outcome lockDataFolder(const QString& dataDir);
