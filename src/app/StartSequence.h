#pragma once

class QWidget;

// Starts the count on behalf of the confirming window: writes both settings files with
// started = 1 and the window's position as the main window's, then opens the main window and
// closes the confirming one. A failed write does not stop it; the next start shows what stuck.
void runStartSequence(QWidget* confirmingWindow);
