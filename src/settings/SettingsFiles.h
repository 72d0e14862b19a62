#pragma once

#include "settings/AppState.h"

#include <optional>

// The data folder "kemurindata" under appDir and its two one-line files. Every write replaces
// its file atomically: a failed write leaves the previous file whole.
QString dataDirPath(const QString& appDir);
QString initialFilePath(const QString& appDir);
QString optionFilePath(const QString& appDir);

bool readInitialFile(AppState& state);
bool readOptionFile(AppState& state);
bool writeInitialFile(const AppState& state);
bool writeOptionFile(const AppState& state);
// Writes both files, creating the data folder if it went missing. When option.ini fails after
// initial.ini was written, initial.ini is put back as it was, so the two always belong
// together. Gives the path of the file that could not be written, if any.
std::optional<QString> writeSettingsFiles(const AppState& state);

// Creates the data folder and, when initial.ini cannot be read, a new one quitting `now`.
void ensureDataFiles(AppState& state, const DateTimeParts& now);
// Reads option.ini, creating it with the defaults when missing; a file that does not read to
// the end gives the defaults in memory and stays as it is.
void loadOptions(AppState& state);
