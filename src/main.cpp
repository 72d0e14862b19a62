#include "app/ApplicationLook.h"
#include "app/DataFolder.h"
#include "app/Program.h"
#include "desktop/CommandLine.h"
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

QStringList wordsAfterName(int argc, char* argv[]) {
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    return words;
}
} // namespace

int main(int argc, char* argv[]) {
    // Help and version need no display: answered before Qt looks for one.
    CommandLine options = readCommandLine(wordsAfterName(argc, argv), false);
    if (options.answer != CommandLine::Run)
        return answerCommandLine(options);
    preferX11OnWayland();
    QApplication app(argc, argv);
    // What Qt did not take as its own is ours or refused.
    options = readCommandLine(QCoreApplication::arguments().mid(1), true);
    if (options.answer != CommandLine::Run)
        return answerCommandLine(options);
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
    program.setSessionStart(sessionStart(*folder));
    program.setStartInTray(options.tray);
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
