#pragma once

#include "system/FileLock.h"

#include <QString>

// The lock file inside the data folder, held while a copy of the program runs on it.
inline constexpr char kFolderLockName[] = "kemurin.lock";

// Takes the data folder's lock, against a copy of the program started from another session or
// by another user, and holds it until the process ends or takes another folder's. The folder
// must exist. `error` gets the system's words for a failure.
FileLock::Outcome lockDataFolder(const QString& dataDir, QString* error = nullptr);

// Whether the lock taken is no longer the file at its path: removed or replaced, so that another
// copy may now hold the folder. False when no lock was taken.
bool dataFolderLockLost();
