#pragma once

#include "settings/FileCommit.h"

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
