// Start-up cost of the program against a bare Qt widget program. Each run starts, shows its
// window, and stops at that window's first paint, printing its peak memory in KiB.
//
//   startup_bench bare          a QLabel alone
//   startup_bench texts         a QLabel with the main window's texts in its font
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
#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace {

long peakMemoryKib() {
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return long(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            std::printf("%ld\n", peakMemoryKib());
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
    const bool texts = argc > 1 && std::strcmp(argv[1], "texts") == 0;
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
    if (texts) {
        // What any Qt program pays to show the main window's words in its font: kanji,
        // hiragana, katakana, full-width and Latin digits.
        installJapaneseFontSubstitutes();
        QLabel label(QStringLiteral(
            "ケムリンからの日数 ０年０ヶ月０日０時間０分 延びた寿命 ０日と０時間０分 "
            "節約できた金額 0円（節税分0円） 吸わなかった煙草 0本 0m ガンバレー "
            "今日の一言 さあ今日からいよいよケムリンです！がんばりましょう！ "
            "ステータス ２等兵 肺の状態 コピー ブログ ヘルプ 設定"));
        label.setFont(msGothic(9));
        label.setWordWrap(true);
        label.show();
        return QApplication::exec();
    }
    // As main.cpp does, so that the figures are the program's own.
    prepareApplicationLook();
    Program program(QDir::currentPath());
    program.start();
    return QApplication::exec();
}
