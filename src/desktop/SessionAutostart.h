#pragma once

#include <QString>

// Starting with the user's session, hidden behind the notification-area icon: an XDG autostart
// entry ($XDG_CONFIG_HOME/autostart/jp.example.kemurin.desktop) on Linux desktops, a shortcut
// in the user's Startup folder on Windows. Nothing of it is kept anywhere else: the entry on
// disk is the one truth, read again whenever it is asked about.

// What the session is to start.
struct SessionStart {
    // A full path, or the installed program's name, looked up on the session's PATH.
    QString program;
    // The folder it starts in, so that it finds the same data; empty for wherever the session
    // starts it (the installed program keeps one data folder per user).
    QString folder;
};

enum class AutostartEntry {
    None,  // the session starts no program of this name
    Ours,  // it starts this program in this folder
    Other, // it starts another copy, or this one in another folder: not ours to remove
};

// The entry's file.
QString sessionAutostartPath();
AutostartEntry sessionAutostartEntry(const SessionStart& start);
// Writes the entry whole or not at all, over whatever stood there. False when it could not.
bool addSessionAutostart(const SessionStart& start);
// Removes the entry if it is ours; another one stays. False when ours could not be removed.
bool removeSessionAutostart(const SessionStart& start);
