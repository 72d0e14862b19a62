#include "app/Program.h"

#include "engine/Clock.h"
#include "engine/RandomDraw.h"
#include "engine/StatusEngine.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "windows/SetupWindow.h"
#include "settings/SettingsFiles.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"

#include <QDir>
#include <QPointer>

namespace {
QPointer<MainWindow> form1;
QPointer<MiniWindow> form7;
} // namespace

AppState& appState() {
    static AppState state;
    return state;
}

void endIfAlreadyRunning() {
    if (!anotherInstanceRunning())
        return;
    showOkMessage(nullptr, QStringLiteral("プログラムは既に起動されています。"));
    endProcessNow();
}

void startProgram() {
    // Checked before the data folder is touched, so a second start changes no file anywhere.
    endIfAlreadyRunning();
    AppState& state = appState();
    state.appDir = QDir::currentPath();
    ensureDataFiles(state);
    loadOptions(state);
    if (state.started == 0) {
        showFirstRunWindow();
        return;
    }
    // Until the mini window can be used, the main window shows in every window mode.
    loadMainWindow()->show();
    miniWindow();
}

void refreshStatus() {
    AppState& state = appState();
    const StatusSnapshot status =
        computeStatus(state, currentMinuteParts(), RandomDraw::current().percent());
    state.elapsedMinutes = status.elapsed.minutes;
    state.elapsedParts = status.elapsed.parts;
    state.lifeGainedMinutes = status.lifeGainedMinutes;

    ShownTexts shown{status.valueTexts[3], status.valueTexts[2], status.valueTexts[4]};
    if (form1) {
        form1->showStatus(status);
        shown = form1->shownTexts();
    }
    miniWindow()->setReportText(statusReport(state, shown));
    state.detailView = 0;
}

MainWindow* mainWindowIfLoaded() {
    return form1;
}

MainWindow* loadMainWindow() {
    if (!form1) {
        form1 = new MainWindow;
        form1->load();
    }
    return form1;
}

MiniWindow* miniWindow() {
    if (!form7)
        form7 = new MiniWindow;
    return form7;
}

MiniWindow* miniWindowIfLoaded() {
    return form7;
}
