#include "app/StartSequence.h"

#include "platform/Twips.h"
#include "settings/SettingsFiles.h"
#include "windows/MainWindow.h"
#include "app/Program.h"

#include <QWidget>

void runStartSequence(QWidget* confirmingWindow) {
    AppState& state = appState();
    writeInitialFile(state);
    state.started = 1;
    // The main window opens where the confirming window stood.
    const QPoint at = confirmingWindow->pos();
    state.mainLeft = at.x() * kTwipsPerPixel;
    state.mainTop = at.y() * kTwipsPerPixel;
    writeOptionFile(state);
    loadMainWindow()->show();
    confirmingWindow->hide();
    confirmingWindow->close();
}
