#pragma once

#include <QString>

// The lock file inside the data folder, held while a copy of the program runs on it.
inline constexpr char kFolderLockName[] = "kemurin.lock";

// True when another copy of the program runs on this data folder, whoever started it and from
// whatever session. Otherwise this process takes the folder's lock and holds it until it ends
// or takes another folder's. The folder must exist.
bool dataFolderTaken(const QString& dataDir);
