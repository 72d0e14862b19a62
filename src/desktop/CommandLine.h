#pragma once

#include <QStringList>

// The program's options, by the desktop's conventions: --tray, --help and --version everywhere,
// /tray and /? on Windows too. Qt takes options of its own (-session when the session restarts
// the program, -platform, -style), all with a single dash.
struct CommandLine {
    enum Answer { Run, Help, Version, Refused };
    Answer answer = Run;
    // Start with the window in use hidden behind its notification-area icon.
    bool tray = false;
    QString refused; // the first word not understood
};

// Reads the words after the program's name. Before Qt has taken its own (qtTookItsOwn false) a
// word with a single dash, or a word after one, is left for Qt: help and version are answered
// and a wrong long option refused before any display is needed.
CommandLine readCommandLine(const QStringList& words, bool qtTookItsOwn);

// Tells what a command line that does not run the program asked for: on standard output, or
// standard error for a refusal, and on Windows, where a window program has neither, in a message
// box. The process's exit status: 0, or 2 for a refusal.
int answerCommandLine(const CommandLine& line);
