#include "app/ApplicationLook.h"
#include "app/DataFolder.h"
#include "app/Program.h"
#include "desktop/LostKeyReleases.h"
#include "desktop/MessageBox.h"

#include <QApplication>
#include <QTimer>

namespace {
// A Wayland session does not let a window place itself; under XWayland the main window
// reopens where the user left it.
void preferX11OnWayland() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}
} // namespace

int main(int argc, char* argv[]) {
    preferX11OnWayland();
    QApplication app(argc, argv);
    prepareApplicationLook();
    repairLostKeyReleases();
    // A start folder that cannot be named would put the data at the top of the file system.
    const std::optional<QString> folder = dataFolder();
    if (!folder) {
        showOkMessage(nullptr, QStringLiteral("起動したフォルダの場所が分からないため、"
                                              "設定を読み書きできません。\n"
                                              "ほかのフォルダから起動してください。"));
        return 1;
    }
    // Nothing is written where Windows would delete it or keeps its own files.
    if (const QString refusal = dataFolderRefusal(*folder); !refusal.isEmpty()) {
        showOkMessage(nullptr, refusal);
        return 1;
    }
    Program program(*folder);
    // Started inside the event loop: quit() does nothing before it runs, so a session's end that
    // came while a start-up message is open would be lost.
    QTimer::singleShot(0, &program, &Program::start);
    // A session's end is asked first (Windows' WM_QUERYENDSESSION, X11's save-yourself) and may
    // be cancelled: the places are saved and the program runs on. The real end, or a signal to
    // end, ends it as the user's own end would: places saved, unsaved settings dropped.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &program, &Program::savePlaces);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &program, &Program::endUnattended);
    return QApplication::exec();
}
