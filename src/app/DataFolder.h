#pragma once

#include "desktop/SessionAutostart.h"

#include <QString>

#include <optional>

// The folder that holds "kemurindata". The installed program keeps one per user however it is
// started ($XDG_DATA_HOME/kemurin, made when missing); the portable build and the program run
// from its build folder use the folder they are started in. Which one a binary is, its build
// decides by linking one of the two definitions. Nothing when the folder cannot be named.
std::optional<QString> dataFolder();

// Why the data must not be kept in `folder`, as the user is told; empty when it may.
QString dataFolderRefusal(const QString& folder);

// What a start with the session runs: the installed program by its name, which keeps its data
// per user; a program kept in its own folder by its full path, started in `folder`.
SessionStart sessionStart(const QString& folder);
