#pragma once

#include <QString>

// True when another instance of the program runs for this user. The first call takes a lock
// that this process then holds until it ends; the kernel drops it if the process dies, so a
// crashed instance never blocks the next start. Later calls in the same process return false.
bool anotherInstanceRunning();

// Uses another lock file (tests, so that a running copy of the program does not disturb them).
void useInstanceLockFile(const QString& path);

// Ends the process at once: no window closes, nothing is saved.
[[noreturn]] void endProcessNow();
