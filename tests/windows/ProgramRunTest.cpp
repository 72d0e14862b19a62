// The real program driven from outside: xdotool for the mouse and keys, faketime for the date
// (a running clock, so that timers run) and trayer for a notification area.
#include "SettingsLines.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kMainTitle = u"ケムリン式 - pimaru"_s;
const QString kMiniTitle = u"ケムリン式 mini mode"_s;
const QString kHelpTitle = u"ケムリン式 - help"_s;
// The popup menu's items, the same in both counter windows, and a point of each window's surface.
enum MenuItem {
    Copy,
    Blog,
    Help,
    Recovery,
    Settings,
    Slip,
    History,
    Version,
    Switch,
    StartWithSession,
    Exit
};
const QPoint kMainSurface(2, 2);
const QPoint kMainLungs(316, 80);
const QPoint kMiniSurface(40, 40);

// Runs a command, its words quoted as in a shell; gives what it printed.
QString run(const QString& command) {
    QProcess process;
    process.startCommand(command);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QPoint position(const QString& window) {
    const QStringList xy = run("xdotool getwindowgeometry --shell " + window).split(u'\n');
    return {xy.value(1).section(u'=', 1).toInt(), xy.value(2).section(u'=', 1).toInt()};
}

// The mouse moved to a point of a window, then xdotool's commands that follow.
void mouse(const QString& window, QPoint at, const QString& commands) {
    const QPoint p = position(window) + at;
    run(u"xdotool mousemove %1 %2 %3"_s.arg(p.x()).arg(p.y()).arg(commands));
    QTest::qWait(300);
}

void menuItem(const QString& window, QPoint surface, MenuItem item) {
    mouse(window, surface,
          "click 3 sleep 0.4 key --delay 60 " + u"Down "_s.repeated(item + 1) + "Return");
}

// The program's mapped window with this title once it shows; not `shows`: empty once it goes.
QString window(const QProcess& program, const QString& title, bool shows = true) {
    QString found;
    const QString search =
        "xdotool search --onlyvisible --pid " + QString::number(program.processId());
    const auto look = [&] {
        found.clear();
        for (const QString& w : run(search).split(u'\n', Qt::SkipEmptyParts))
            found = run("xdotool getwindowname " + w) == title ? w : found;
        return found.isEmpty() != shows;
    };
    if (QTest::qWaitFor(look, 20000) && shows)
        QTest::qWait(300); // a window just mapped may not take keys yet
    return found;
}

bool ends(const QProcess& program) {
    return QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 10000);
}

// Types into the window with this title once it shows; false if it does not.
bool answer(const QProcess& program, const QString& title, const QString& keyNames) {
    const QString w = window(program, title);
    run("xdotool windowfocus --sync " + w + " key --delay 80 " + keyNames);
    QTest::qWait(100);
    return !w.isEmpty();
}

// A notification area at the screen's top right.
void startTrayArea(QProcess& trayer) {
    trayer.startCommand(QStringLiteral("trayer --edge top --align right --widthtype pixel "
                                       "--width 200 --height 24 --transparent false"));
    trayer.waitForStarted(5000);
}

// The program started in a folder, with these arguments, its lock and socket in `runtime`.
std::unique_ptr<QProcess> launchIn(const QString& folder, const QString& runtime,
                                   const QStringList& arguments) {
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_RUNTIME_DIR"_s, runtime);
    env.insert(u"XDG_CONFIG_HOME"_s, runtime);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    program->setProcessEnvironment(env);
    program->setWorkingDirectory(folder);
    program->start(QStringLiteral(KEMURIN_PROGRAM), arguments);
    return program;
}

} // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    // One road from an empty folder: the first run, the mini window and the close from it; a
    // restart where it was left, a tray that goes away, the session's end.
    void journey() {
        QTemporaryDir runtimeDir, folder;
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
        // The program started in the folder, its clock at `at` (ASan allows faketime first).
        const auto launch = [&](const char* at, bool fullDisk = false) {
            auto program = std::make_unique<QProcess>();
            if (fullDisk)
                program->setChildProcessModifier([] {
                    const rlimit none{0, RLIM_INFINITY};
                    ::setrlimit(RLIMIT_FSIZE, &none);
                });
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const QString& set :
                 {"XDG_RUNTIME_DIR=" + runtimeDir.path(), u"QT_QPA_PLATFORM=xcb"_s,
                  "XDG_CONFIG_HOME=" + runtimeDir.path(),
                  QStringLiteral("LD_PRELOAD=" KEMURIN_FAKETIME_LIBRARY),
                  "FAKETIME=@" + QString(at),
                  "ASAN_OPTIONS=" + env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0"})
                env.insert(set.section(u'=', 0, 0), set.section(u'=', 1));
            // faketime's shared clock is a file of some size: the real clock on a full disk.
            if (fullDisk)
                env.remove(u"LD_PRELOAD"_s);
            program->setProcessEnvironment(env);
            program->setWorkingDirectory(folder.path());
            program->start(QStringLiteral(KEMURIN_PROGRAM), {});
            return program;
        };
        const auto saved = [&](const char* name) {
            return fileBytes(folder.filePath(u"kemurindata/"_s + name));
        };
        // A session's end while a start-up message is open ends the program too. The damaged
        // option.ini still says the count never started: the first run comes back.
        QVERIFY(writeBytes(folder.filePath(u"kemurindata/option.ini"_s), "0,\xff\r\n"));
        auto told = launch("2026-11-01 09:00:00");
        QVERIFY(!window(*told, u"ケムリン式"_s).isEmpty());
        told->terminate();
        QVERIFY2(ends(*told), "a session's end was lost behind a start-up message");

        QProcess trayer;
        trayer.startCommand(QStringLiteral("trayer --edge top --align right --widthtype pixel "
                                           "--width 200 --height 24 --transparent false"));
        QVERIFY(trayer.waitForStarted(5000));
        QTest::qWait(700);
        // The same message answered leads on to the first run, which replaces the broken file.
        auto program = launch("2026-11-01 09:00:10");
        QVERIFY(answer(*program, u"ケムリン式"_s, "Return"));
        QVERIFY(answer(*program, u"ケムリン式初期設定 - pimaru"_s, "2 0 Tab 3 0 0 Return"));
        QVERIFY(answer(*program, u"ようこそケムリン式へ - pimaru"_s, "Return"));
        const QString main = window(*program, kMainTitle);
        QVERIFY(!main.isEmpty());
        QCOMPARE(saved("initial.ini"), QByteArray("2026,11,1,9,0,20,300,85\r\n"));
        // The mini window takes the main window's place; the menu's end, help open, saves both.
        run("xdotool windowmove " + main + " 240 150");
        QTRY_COMPARE(position(main), QPoint(240, 150));
        // A click on the lungs opens the body's recovery; Escape closes it.
        mouse(main, kMainLungs, "click 1");
        QVERIFY(answer(*program, u"からだの回復"_s, "Escape"));
        QVERIFY(window(*program, u"からだの回復"_s, false).isEmpty());
        menuItem(main, kMainSurface, Switch);
        QString mini = window(*program, kMiniTitle);
        QVERIFY(!mini.isEmpty() && window(*program, kMainTitle, false).isEmpty());
        menuItem(mini, kMiniSurface, Help);
        QVERIFY(!window(*program, kHelpTitle).isEmpty());
        menuItem(mini, kMiniSurface, Exit);
        QVERIFY2(ends(*program), "the menu's end left the program running beside its help");
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(saved("option.ini"),
                 OptionLine({1, 3600, 2250, 9241372, 16777215, 1, 3600, 2250}).bytes());

        // The next start opens the window last in use, where it was, and takes the place of a
        // socket a crashed run left, so that the second starts below still reach it.
        sockaddr_un stale{AF_UNIX, {}};
        const QByteArray socket =
            QFile::encodeName(runtimeDir.filePath(u"kemurin-%1.socket"_s.arg(::getuid())));
        std::memcpy(stale.sun_path, socket.constData(), static_cast<size_t>(socket.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(fd, reinterpret_cast<sockaddr*>(&stale), sizeof stale) == 0 &&
                ::close(fd) == 0);
        program = launch("2026-11-02 09:30:00");
        QVERIFY(!(mini = window(*program, kMiniTitle)).isEmpty());
        QCOMPARE(position(mini), QPoint(240, 150));
        // A second start, told the program runs, brings back the hidden window, as a gone tray
        // does.
        for (const char* second : {"2026-11-02 09:31:00", ""}) {
            mouse(mini, kMiniSurface, "click --repeat 2 --delay 60 1");
            QVERIFY(window(*program, kMiniTitle, false).isEmpty());
            if (!*second)
                break;
            auto starting = launch(second);
            QVERIFY2(answer(*starting, u"ケムリン式"_s, "Return"), "a second start told nothing");
            QVERIFY2(ends(*starting), "a second start went on beside the running program");
            QVERIFY2(window(*program, kMiniTitle) == mini, "a second start left the window hidden");
        }
        trayer.kill();
        QVERIFY2(window(*program, kMiniTitle) == mini, "the window stayed in a gone tray");
        // The end of the session saves a move as the user's own end would.
        run("xdotool windowmove " + mini + " 300 200");
        QTRY_COMPARE(position(mini), QPoint(300, 200));
        program->terminate();
        QVERIFY(ends(*program));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(saved("option.ini"),
                 OptionLine({1, 3600, 2250, 9241372, 16777215, 1, 4500, 3000}).bytes());
        // On a full disk the end is not held by a message nobody may be there to answer.
        program = launch("", true);
        QVERIFY(!(mini = window(*program, kMiniTitle)).isEmpty());
        run("xdotool windowmove " + mini + " 100 100");
        QTRY_COMPARE(position(mini), QPoint(100, 100));
        program->terminate();
        QVERIFY2(ends(*program), "a failed save held the session's end");
        QVERIFY(program->readAllStandardError().contains("設定を保存できませんでした。"));
        QCOMPARE(saved("option.ini"),
                 OptionLine({1, 3600, 2250, 9241372, 16777215, 1, 4500, 3000}).bytes());
    }

    // Started with the session: the main window waits behind its icon, which brings it back,
    // opens the counter windows' menu on a right click, and docks again in a restarted area.
    void trayStart() {
        QTemporaryDir runtimeDir, folder;
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
        QVERIFY(writeBytes(folder.filePath(u"kemurindata/initial.ini"_s),
                           "2026,11,1,9,0,20,300,85\r\n"));
        QVERIFY(writeBytes(folder.filePath(u"kemurindata/option.ini"_s),
                           OptionLine({1, 3600, 2250, 9241372, 16777215, 0}).bytes()));
        // At login the panel may come up after the program: the icon waits for it. The program
        // listens for second starts once its start is done.
        auto program = launchIn(folder.path(), runtimeDir.path(), {u"--tray"_s});
        const QString socket = runtimeDir.filePath(u"kemurin-%1.socket"_s.arg(::getuid()));
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 10000));
        QProcess trayer;
        startTrayArea(trayer);
        // Qt's icon window carries the program's name, as none of its own windows do.
        QString icon = window(*program, u"kemurin"_s);
        QVERIFY2(!icon.isEmpty(), "no icon in the notification area");
        QVERIFY2(window(*program, kMainTitle, false).isEmpty(), "the window showed");
        // A second start with the session beside it ends quietly and leaves it hidden.
        auto second = launchIn(folder.path(), runtimeDir.path(), {u"--tray"_s});
        QVERIFY2(ends(*second), "a second start with --tray stayed");
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(window(*program, u"kemurin"_s), icon);
        QVERIFY(window(*program, kMainTitle, false).isEmpty());
        // The area restarts: the icon docks into the new one and still brings the window.
        trayer.kill();
        QVERIFY(trayer.waitForFinished(5000));
        QVERIFY2(window(*program, u"kemurin"_s, false).isEmpty(), "the icon outlived its area");
        startTrayArea(trayer);
        icon = window(*program, u"kemurin"_s);
        QVERIFY2(!icon.isEmpty(), "the icon did not come back with the area");
        QVERIFY2(window(*program, kMainTitle, false).isEmpty(), "the window came out meanwhile");
        mouse(icon, QPoint(8, 8), u"click 1"_s);
        const QString main = window(*program, kMainTitle);
        QVERIFY2(!main.isEmpty(), "a click on the icon left the window hidden");
        // Hidden again, the icon's right click opens the menu; its last item ends the program.
        mouse(main, kMainSurface, u"click --repeat 2 --delay 60 1"_s);
        QVERIFY(window(*program, kMainTitle, false).isEmpty());
        icon = window(*program, u"kemurin"_s);
        mouse(icon, QPoint(8, 8), u"click 3 sleep 0.4 key --delay 60 Up Return"_s);
        QVERIFY2(ends(*program), "the icon's menu did not end the program");
        QCOMPARE(program->exitCode(), 0);
        trayer.kill();
        trayer.waitForFinished(5000);
    }

    // A slip through the menu with a Japanese note: the count starts again from now, the attempt
    // that ended is in history.ini, and after a restart the history window still tells it.
    void slipJourney() {
        QTemporaryDir runtimeDir, folder;
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
        QVERIFY(writeBytes(folder.filePath(u"kemurindata/initial.ini"_s),
                           "2026,10,1,8,30,20,300,85\r\n"));
        QVERIFY(writeBytes(folder.filePath(u"kemurindata/option.ini"_s),
                           OptionLine({1, 3600, 2250, 9241372, 16777215, 0}).bytes()));
        auto program = launchIn(folder.path(), runtimeDir.path(), {});
        QString main = window(*program, kMainTitle);
        QVERIFY(!main.isEmpty());
        menuItem(main, kMainSurface, Slip);
        const QString slipTitle = u"吸ってしまった… - ケムリン式"_s;
        const QString slip = window(*program, slipTitle);
        QVERIFY2(!slip.isEmpty(), "no slip window");
        run("xdotool windowfocus --sync " + slip + " key shift+Tab sleep 0.3 type --delay 150 飲み会");
        run("xdotool key Return");
        QVERIFY2(window(*program, slipTitle, false).isEmpty(), "the slip window stayed");
        const QByteArray initial =
            fileBytes(folder.filePath(u"kemurindata/initial.ini"_s)).split(',').mid(0, 5).join(',');
        QCOMPARE(fileBytes(folder.filePath(u"kemurindata/history.ini"_s)),
                 "2026,10,1,8,30," + initial + ",20,300,85,\"\x88\xf9\x82\xdd\x89\xef\"\r\n");
        menuItem(main, kMainSurface, Exit);
        QVERIFY(ends(*program));
        program = launchIn(folder.path(), runtimeDir.path(), {});
        main = window(*program, kMainTitle);
        menuItem(main, kMainSurface, History);
        // Its copy button has the focus: what the window shows goes to the clipboard.
        QVERIFY(answer(*program, u"これまでの記録 - ケムリン式"_s, "space"));
        const QString copied = run(u"xclip -o -selection clipboard"_s);
        QVERIFY2(copied.contains(u"1. 2026/10/01 08:30 ～ "_s) &&
                     copied.contains(u"「飲み会」"_s) && copied.contains(u"挑戦： 2回目"_s),
                 qPrintable(copied));
        QVERIFY(answer(*program, u"これまでの記録 - ケムリン式"_s, "Escape"));
        menuItem(main, kMainSurface, Exit);
        QVERIFY(ends(*program));
    }

    // The command line answers without a display; what it does not know ends with status 2.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString version = u"kemurin " KEMURIN_VERSION "\nCopyright (C) 2026 pimaru\n"_s;
        QTest::newRow("help") << QStringList{u"--help"_s} << false << 0
                              << u"使い方: kemurin [オプション]\n"_s << QString();
        QTest::newRow("version") << QStringList{u"--version"_s} << false << 0 << version
                                 << QString();
        QTest::newRow("Qt's own let through")
            << QStringList{u"-style"_s, u"fusion"_s, u"--version"_s} << false << 0 << version
            << QString();
        QTest::newRow("unknown long option") << QStringList{u"--trays"_s} << false << 2 << QString()
                                             << u"kemurin: 不明な引数です: --trays\n"_s;
        QTest::newRow("Windows' form") << QStringList{u"/tray"_s} << true << 2 << QString()
                                       << u"kemurin: 不明な引数です: /tray\n"_s;
        QTest::newRow("a word") << QStringList{u"-reverse"_s, u"tray"_s} << true << 2 << QString()
                                << u"kemurin: 不明な引数です: tray\n"_s;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, display);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir runtimeDir, folder;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, runtimeDir.path());
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        if (!display)
            env.remove(u"DISPLAY"_s);
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(KEMURIN_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        const QString said = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(out.isEmpty() ? said.isEmpty() : said.startsWith(out), qPrintable(said));
        if (!err.isEmpty())
            QVERIFY(QString::fromUtf8(program.readAllStandardError()).startsWith(err));
        // Nothing is written for a command line that does not run the program.
        QVERIFY(!QFileInfo::exists(folder.filePath(u"kemurindata"_s)));
    }
};

QTEST_GUILESS_MAIN(ProgramRunTest)
#include "ProgramRunTest.moc"
