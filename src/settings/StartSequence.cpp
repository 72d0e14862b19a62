#include "settings/StartSequence.h"

#include "platform/Twips.h"
#include "settings/SettingsFiles.h"
#include "windows/Form1.h"
#include "windows/Module1.h"

#include <QWidget>

void runStartSequence(QWidget* confirmingWindow) {
    AppState& state = appState();
    WriteInitialFile(state);
    state.Started = 1;
    // The main window opens where the confirming window stood.
    const QPoint at = confirmingWindow->pos();
    state.MainLeft = at.x() * kTwipsPerPixel;
    state.MainTop = at.y() * kTwipsPerPixel;
    WriteOptionFile(state);
    loadMainWindow()->show();
    confirmingWindow->hide();
    confirmingWindow->close();
}
