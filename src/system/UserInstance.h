#pragma once

#include <QString>

// The one program of this user, whatever folder it was started from.

// The folder that only this user may use for the program's per-user lock and socket: the
// session's runtime folder, else one the program makes for the user (mode 0700, owner checked).
// Empty when there is none; the data folder's lock then still keeps two programs off one record.
QString privateRuntimeFolder();

// True when another program of this user runs. Otherwise this process takes the user's lock and
// holds it until it ends; a lock that cannot be had at all does not stop the start.
bool anotherProgramOfThisUser();
