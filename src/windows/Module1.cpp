#include "windows/Module1.h"

#include "engine/Clock.h"
#include "engine/RandomDraw.h"
#include "engine/StatusEngine.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "settings/Form3.h"
#include "settings/SettingsFiles.h"
#include "windows/Form1.h"
#include "windows/Form7.h"

#include <QDir>
#include <QPointer>

namespace {
QPointer<Form1> form1;
QPointer<Form7> form7;
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

void SubMain() {
    // Checked before the data folder is touched, so a second start changes no file anywhere.
    endIfAlreadyRunning();
    AppState& state = appState();
    state.AppDir = QDir::currentPath();
    EnsureDataFiles(state);
    LoadOptions(state);
    if (state.Started == 0) {
        showFirstRunWindow();
        return;
    }
    // Until the mini window can be used, the main window shows in every window mode.
    loadMainWindow()->show();
    miniWindow();
}

void UpdateStatus() {
    AppState& state = appState();
    const StatusSnapshot status =
        computeStatus(state, currentMinuteParts(), RandomDraw::current().percent());
    state.ElapsedMinutes = status.elapsed.minutes;
    state.ElapsedParts = status.elapsed.parts;
    state.LifeGainedMinutes = status.lifeGainedMinutes;

    ShownTexts shown{status.valueTexts[3], status.valueTexts[2], status.valueTexts[4]};
    if (form1) {
        form1->showStatus(status);
        shown = form1->shownTexts();
    }
    miniWindow()->setReportText(BuildStatusReport(state, shown));
    state.DetailView = 0;
}

Form1* mainWindowIfLoaded() {
    return form1;
}

Form1* loadMainWindow() {
    if (!form1) {
        form1 = new Form1;
        form1->load();
    }
    return form1;
}

Form7* miniWindow() {
    if (!form7)
        form7 = new Form7;
    return form7;
}

Form7* miniWindowIfLoaded() {
    return form7;
}
