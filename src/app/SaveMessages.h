#pragma once

#include "settings/FileCommit.h"
#include "settings/SettingsFiles.h"
#include "system/FileLock.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the user reads of a save or a read the disk did not take: which file, what the program
// does instead and what to do about it.

QString cannotSaveMessage(const QString& path);
// A save that did not end with its files in place.
QString saveMessage(const CommitOutcome& saved);
// Leftovers of a save that the program did not act on, by file name.
QString setAsideMessage(const QStringList& paths);
// Which file did not read, what the program does instead and what became of the file.
QString cannotReadMessage(const QString& path, const QString& consequence,
                          const std::optional<QString>& copy);
// A file that is there but the system would not read now: nothing is written this run.
QString cannotReadNowMessage(const QString& path, bool quitMomentLost);
// A save asked for in a run that writes nothing.
QString notSavedThisRunMessage(const QString& path);
// Something in the data folder another user could have made: nothing is written this run.
QString foreignMessage(const ForeignFinding& found);
// Why a start cannot run on the data folder, by what taking its lock met; empty when it can.
QString folderLockMessage(FileLock::Outcome outcome, const QString& path, const QString& error);
// The lock held is no longer the file at its path: another copy may own the record now.
QString lockLostMessage(const QString& path);
