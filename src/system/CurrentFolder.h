#pragma once

#include <QString>

#include <optional>

// The folder the program was started in, as a path that leads back to it: its full path when
// the name reads as text and turns back into the same bytes, else "." (a name in EUC-JP or
// Shift_JIS bytes, which text would change). Nothing when the folder cannot be named: removed
// since the program's start, or deeper than the system can spell.
std::optional<QString> currentFolder();
