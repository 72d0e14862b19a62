// Whole journeys of the real program, driven from outside as a person would: xdotool for the
// mouse and keys, xclip for the clipboard, faketime for the date (with a running clock, so that
// the program's timers run) and trayer for a notification area.
#include "SettingsLines.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

namespace {

const QString kMainTitle = QStringLiteral("ケムリン式 - pimaru");
const QString kMiniTitle = QStringLiteral("ケムリン式 mini mode");
// The popup menu's items, the same in both counter windows, and a point of each window's surface.
enum MenuItem { Copy, Blog, Help, Settings, Version, Switch, Exit };
const QPoint kMainSurface(2, 2);
const QPoint kMiniSurface(40, 40);

// Runs a command whose words hold no blank; gives what it printed.
QString run(const QString& commandLine) {
    QStringList words = commandLine.split(u' ', Qt::SkipEmptyParts);
    QProcess process;
    process.start(words.takeFirst(), words);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString xdotool(const QString& arguments) {
    return run("xdotool " + arguments);
}

QPoint position(const QString& window) {
    static const QRegularExpression xy(QStringLiteral("X=(-?\\d+)\\s+Y=(-?\\d+)"));
    const QRegularExpressionMatch at = xy.match(xdotool("getwindowgeometry --shell " + window));
    return {at.captured(1).toInt(), at.captured(2).toInt()};
}

void click(const QString& window, QPoint at, int times = 1, int button = 1) {
    const QPoint p = position(window) + at;
    xdotool(QString::asprintf("mousemove %d %d click --repeat %d --delay 60 %d", p.x(), p.y(),
                              times, button));
    QTest::qWait(200);
}

// Key names, or text to type, into a window.
void keys(const QString& window, const QString& names, const char* how = "key") {
    xdotool("windowfocus --sync " + window);
    xdotool(QLatin1String(how) + " --delay 80 " + names);
    QTest::qWait(100);
}

void menuItem(const QString& window, QPoint surface, MenuItem item) {
    click(window, surface, 1, 3);
    QTest::qWait(400);
    xdotool("key --delay 60 " + QStringLiteral("Down ").repeated(item + 1) + "Return");
    QTest::qWait(300);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program started in a folder, its clock set to `fakeStart` and running on from there.
std::unique_ptr<QProcess> start(const QString& folder, const QString& runtimeDir,
                                const char* fakeStart) {
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(KEMURIN_FAKETIME_LIBRARY));
    env.insert(QStringLiteral("FAKETIME"), QLatin1Char('@') + QLatin1String(fakeStart));
    // A sanitized build must accept faketime's library loaded ahead of its runtime.
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                   QStringLiteral(":verify_asan_link_order=0"));
    program->setProcessEnvironment(env);
    program->setWorkingDirectory(folder);
    program->start(QStringLiteral(KEMURIN_PROGRAM), {});
    program->waitForStarted(5000);
    return program;
}

bool ends(QProcess& program, int timeoutMs = 10000) {
    return program.state() == QProcess::NotRunning || program.waitForFinished(timeoutMs);
}

// The program's mapped window with this title, once it shows.
QString window(const QProcess& program, const QString& title, int timeoutMs = 20000) {
    QString found;
    const bool shows = QTest::qWaitFor(
        [&] {
            for (const QString& w :
                 xdotool("search --onlyvisible --pid " + QString::number(program.processId()))
                     .split(u'\n', Qt::SkipEmptyParts)) {
                if (xdotool("getwindowname " + w) == title)
                    found = w;
            }
            return !found.isEmpty();
        },
        timeoutMs);
    QTest::qWait(shows ? 300 : 0); // a window just mapped may not take keys yet
    return found;
}

bool gone(const QProcess& program, const QString& title) {
    return QTest::qWaitFor([&] { return window(program, title, 0).isEmpty(); }, 10000);
}

} // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    // One road from an empty folder: the first run, a copy, the tray and back, a settings change,
    // the mini window and back, and the close from it; then a restart where it was left, a second
    // start beside it, help outliving the windows, a kill and a start after it.
    void journey() {
        QTemporaryDir runtimeDir, folder;
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
        const auto launch = [&](const char* at) {
            return start(folder.path(), runtimeDir.path(), at);
        };
        const QString initialPath = folder.filePath(QStringLiteral("kemurindata/initial.ini"));
        const QString optionPath = folder.filePath(QStringLiteral("kemurindata/option.ini"));
        QProcess trayer;
        trayer.start(QStringLiteral("trayer"),
                     QStringLiteral("--edge top --align right --widthtype pixel --width 200 "
                                    "--height 24 --transparent false")
                         .split(u' '));
        QVERIFY(trayer.waitForStarted(5000));
        QTest::qWait(700);

        auto program = launch("2026-11-01 09:00:10");
        const QString setup = window(*program, QStringLiteral("ケムリン式初期設定 - pimaru"));
        QVERIFY(!setup.isEmpty());
        QCOMPARE(readAll(optionPath), defaultOptionLine());
        keys(setup, QStringLiteral("2 0 Tab 3 0 0 Return"));
        const QString confirm = window(*program, QStringLiteral("ようこそケムリン式へ - pimaru"));
        QVERIFY(!confirm.isEmpty());
        keys(confirm, QStringLiteral("Return"));
        QString main = window(*program, kMainTitle);
        QVERIFY(!main.isEmpty());
        QCOMPARE(readAll(initialPath), QByteArray("2026,11,1,9,0,20,300,85\r\n"));

        click(main, QPoint(32, 206)); // the copy button
        const QString copied = run(QStringLiteral("xclip -o -selection clipboard"));
        QVERIFY2(QRegularExpression(
                     QStringLiteral("^ステータス： ２等兵\r\nケムリン日： 2026年 11月 1日\r\n"
                                    "ケムリンからの日数： 0年 0ヶ月 0日 0時間 \\d分\r\n"
                                    "延びた寿命： 0日と0時間\\d+分\r\n節約できた金額： "
                                    "0円（節税分0円）\r\n節煙本数： 0本 0ｍ ガンバレ－$"))
                     .match(copied)
                     .hasMatch(),
                 qPrintable(copied));

        // To the notification area with a double click, back with a click on the icon at the
        // tray's right end.
        const QPoint at = position(main);
        click(main, kMainSurface, 2);
        QVERIFY(gone(*program, kMainTitle));
        const QString screenWidth =
            xdotool(QStringLiteral("getdisplaygeometry")).section(u' ', 0, 0);
        xdotool(QStringLiteral("mousemove %1 12 click 1").arg(screenWidth.toInt() - 12));
        QCOMPARE(window(*program, kMainTitle), main);
        QCOMPARE(position(main), at);

        // Settings changed and saved: 40 a day.
        menuItem(main, kMainSurface, Settings);
        const QString settingsTitle =
            QStringLiteral("設定ウィンドウ - 全て半角で記入してください - pimaru");
        const QString settings = window(*program, settingsTitle);
        QVERIFY(!settings.isEmpty());
        click(settings, QPoint(120, 159), 3);
        keys(settings, QStringLiteral("4 0 Return"));
        QVERIFY(gone(*program, settingsTitle));
        main = window(*program, kMainTitle);
        QVERIFY(!main.isEmpty());
        const QByteArray initialAt40("2026,11,1,9,0,40,300,85\r\n");
        QCOMPARE(readAll(initialPath), initialAt40);

        // The mini window takes the main window's place, and back; closing it saves both places.
        xdotool("windowmove " + main + " 240 150");
        QTRY_COMPARE(position(main), QPoint(240, 150));
        menuItem(main, kMainSurface, Switch);
        QString mini = window(*program, kMiniTitle);
        QVERIFY(!mini.isEmpty() && gone(*program, kMainTitle));
        menuItem(mini, kMiniSurface, Switch);
        QCOMPARE(window(*program, kMainTitle), main);
        QVERIFY(gone(*program, kMiniTitle));
        menuItem(main, kMainSurface, Switch);
        mini = window(*program, kMiniTitle);
        QVERIFY(!mini.isEmpty());
        menuItem(mini, kMiniSurface, Exit);
        QVERIFY(ends(*program));
        QCOMPARE(program->exitCode(), 0);
        const QByteArray both = OptionLine{1, 3600, 2250, 9241372, 16777215, 1, 3600, 2250}.bytes();
        QCOMPARE(readAll(optionPath), both);

        // The next start opens the window last in use, where it was.
        program = launch("2026-11-02 09:30:00");
        mini = window(*program, kMiniTitle);
        QVERIFY(!mini.isEmpty());
        QCOMPARE(position(mini), QPoint(240, 150));
        QVERIFY(window(*program, kMainTitle, 0).isEmpty());

        // A second start is refused by a box titled with the program's name. Answered as a person
        // would, the box focused and the key pressed: a key sent to the box alone leaves the
        // display dropping what is typed next.
        const auto second = launch("2026-11-02 09:31:00");
        const QString box = window(*second, QStringLiteral("ケムリン式"));
        QVERIFY(!box.isEmpty());
        QVERIFY(QTest::qWaitFor(
            [&] {
                keys(box, QStringLiteral("Return"));
                return ends(*second, 300);
            },
            10000));
        QCOMPARE(second->exitCode(), 0);

        // Help outlives the counter windows and keeps the program running.
        menuItem(mini, kMiniSurface, Help);
        QVERIFY(!window(*program, QStringLiteral("ケムリン式 - help")).isEmpty());
        menuItem(mini, kMiniSurface, Exit);
        QVERIFY(gone(*program, kMiniTitle));
        QVERIFY(!ends(*program, 500));

        // Killed outright, it takes its lock along: the next start runs, on the files as they were.
        program->kill();
        QVERIFY(ends(*program));
        program = launch("2026-11-02 09:40:00");
        QVERIFY(!window(*program, kMiniTitle).isEmpty());
        QCOMPARE(readAll(optionPath), both);
        QCOMPARE(readAll(initialPath), initialAt40);
    }
};

QTEST_GUILESS_MAIN(ProgramRunTest)
#include "ProgramRunTest.moc"
