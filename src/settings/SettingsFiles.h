#pragma once

#include "settings/AppState.h"

// The data folder "kemurindata" under AppDir and its two one-line files. Every write replaces
// its file atomically: a failed write leaves the previous file whole.
QString dataDirPath(const QString& appDir);
QString initialFilePath(const QString& appDir);
QString optionFilePath(const QString& appDir);

bool ReadInitialFile(AppState& state);
bool ReadOptionFile(AppState& state);
bool WriteInitialFile(const AppState& state);
bool WriteOptionFile(const AppState& state);

// Creates the data folder and, when initial.ini cannot be read, a new one for the current minute.
void EnsureDataFiles(AppState& state);
// Reads option.ini, creating it with the defaults when missing; a file that does not read to
// the end gives the defaults in memory and stays as it is.
void LoadOptions(AppState& state);
