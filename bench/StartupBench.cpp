// Start-up cost of the program against a bare Qt widget program. Each run starts, shows its
// window, and stops at that window's first paint, printing its peak memory in KiB.
//
//   startup_bench bare          a QLabel alone
//   startup_bench program       the program, started as main.cpp starts it, in the current
//                               folder (run_startup.sh writes the settings there)
//   startup_bench bare stay     the QLabel, left running: the idle baseline of run_idle.sh
//
// run_startup.sh times many such runs of both in one go.
#include "app/ApplicationLook.h"
#include "app/Program.h"
#include "desktop/JapaneseFont.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("%ld\n", usage.ru_maxrss);
            std::fflush(stdout);
            // Skips the teardown, which the bare program would not share alike.
            std::_Exit(0);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const bool stay = argc > 2 && std::strcmp(argv[2], "stay") == 0;
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    if (!stay)
        app.installEventFilter(&firstPaint);

    if (bare) {
        QLabel label(QStringLiteral("ケムリン"));
        label.show();
        return QApplication::exec();
    }
    // As main.cpp does, so that the figures are the program's own.
    prepareApplicationLook();
    Program program(QDir::currentPath());
    program.start();
    return QApplication::exec();
}
