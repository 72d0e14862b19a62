#include "platform/JapaneseFont.h"
#include "app/Program.h"

#include <QApplication>
#include <QIcon>

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
    installJapaneseFontSubstitutes();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kemurin.png")));
    startProgram();
    return QApplication::exec();
}
