#pragma once

#include <QString>

#include <optional>

// The folder the program was started in, as a path that leads back to it: its full path when
// the name reads as text and turns back into the same bytes, else "." (a name in EUC-JP or
// Shift_JIS bytes, which text would change). Nothing when the folder cannot be named: removed
// since the program's start, or deeper than the system can spell.
std::optional<QString> currentFolder();

// Where data must not be kept: Windows' temporary folder (Explorer runs a program inside a zip
// from a copy there, and deletes it later) or the Windows folder (a start with no working
// folder, by the registry's Run key or the Task Scheduler). Nothing such on other systems.
enum class FolderUse { Ordinary, Temporary, System };
FolderUse folderUse(const QString& folder);
