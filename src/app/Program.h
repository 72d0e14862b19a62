#pragma once

#include "settings/AppState.h"

class MainWindow;
class MiniWindow;

// The state that every window and the status engine share.
AppState& appState();

// When another instance runs: says so and ends the process at once, nothing written.
void endIfAlreadyRunning();

// Start-up: settles the data folder and the settings, then opens the first window.
void startProgram();

// Recomputes every figure from the settings and the clock and writes it to the windows.
void refreshStatus();

// The main window if it exists.
MainWindow* mainWindowIfLoaded();
// Creates the main window (running its load step) unless it exists; its visibility is the
// caller's to set.
MainWindow* loadMainWindow();
// The mini window, created hidden on first use.
MiniWindow* miniWindow();
MiniWindow* miniWindowIfLoaded();
