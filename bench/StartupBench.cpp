// Start-up cost of the program against a bare Qt widget program: each run starts, shows its
// window, and stops at the window's first paint, printing its peak memory. run_startup.sh
// times many such runs of both in one go.
#include "app/Program.h"
#include "platform/JapaneseFont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

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
            std::_Exit(0);
        }
        return false;
    }
};

void writeStartedSettings(const QString& dir) {
    QDir(dir).mkdir(QStringLiteral("kemurindata"));
    QFile initial(dir + QStringLiteral("/kemurindata/initial.ini"));
    if (initial.open(QIODevice::WriteOnly))
        initial.write("2026,1,5,8,30,20,300,85\r\n");
    QFile option(dir + QStringLiteral("/kemurindata/option.ini"));
    if (option.open(QIODevice::WriteOnly))
        option.write("1,8744,5,0,5,1,1500,1500,9241372,16777215,\"kemurin.example.jp/\",2,0,0,"
                     "\"\x83\x5c\x83\x8b\x83\x57\x83\x83\x81\x5b\"\r\n");
}

} // namespace

int main(int argc, char* argv[]) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);

    if (bare) {
        QLabel label(QStringLiteral("ケムリン"));
        label.show();
        return QApplication::exec();
    }
    QTemporaryDir dir;
    writeStartedSettings(dir.path());
    installJapaneseFontSubstitutes();
    Program program(dir.path());
    program.start();
    return QApplication::exec();
}
