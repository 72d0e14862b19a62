// The real program driven by xdotool, its date set by faketime (a running clock), trayer's tray.
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
// Places of the popup menu's items in both counter windows, and points of the windows' surfaces.
enum MenuItem { Help = 2, Switch = 8, Exit = 10 };
const QPoint kMainSurface(2, 2);
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

// A folder to start in and one for the lock, socket and configuration; given initial.ini, counting.
struct Place {
    explicit Place(const QByteArray& initial = {}) {
        ::chmod(QFile::encodeName(runtime.path()).constData(), 0700);
        if (!initial.isEmpty())
            write("initial.ini", initial) &&
                write("option.ini", OptionLine({1, 3600, 2250, 9241372, 16777215, 0}).bytes());
    }
    QByteArray saved(const char* name) const {
        return fileBytes(folder.filePath(u"kemurindata/"_s + name));
    }
    bool write(const char* name, const QByteArray& bytes) const {
        return writeBytes(folder.filePath(u"kemurindata/"_s + name), bytes);
    }
    // Its clock at `at` if given (ASan allows faketime first); a full disk is a file-size limit.
    std::unique_ptr<QProcess> launch(const QStringList& arguments = {}, const char* at = nullptr,
                                     bool fullDisk = false, bool display = true) const {
        auto program = std::make_unique<QProcess>();
        if (fullDisk)
            program->setChildProcessModifier([] {
                const rlimit none{0, RLIM_INFINITY};
                ::setrlimit(RLIMIT_FSIZE, &none);
            });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& set :
             {"XDG_RUNTIME_DIR=" + runtime.path(), "XDG_CONFIG_HOME=" + runtime.path(),
              u"QT_QPA_PLATFORM=xcb"_s,
              "ASAN_OPTIONS=" + env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0"})
            env.insert(set.section(u'=', 0, 0), set.section(u'=', 1));
        if (at) {
            env.insert(u"LD_PRELOAD"_s, QStringLiteral(KEMURIN_FAKETIME_LIBRARY));
            env.insert(u"FAKETIME"_s, "@" + QString(at));
        }
        if (!display)
            env.remove(u"DISPLAY"_s);
        program->setProcessEnvironment(env);
        program->setWorkingDirectory(folder.path());
        program->start(QStringLiteral(KEMURIN_PROGRAM), arguments);
        return program;
    }

    QTemporaryDir runtime, folder;
};

} // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    // One road from an empty folder: the first run, the mini window and the close from it; a
    // restart where it was left, a tray that goes away, the session's end.
    void journey() {
        const Place place;
        // A session's end while a start-up message is open ends the program too. The damaged
        // option.ini still says the count never started: the first run comes back.
        QVERIFY(place.write("option.ini", "0,\xff\r\n"));
        auto told = place.launch({}, "2026-11-01 09:00:00");
        QVERIFY(!window(*told, u"ケムリン式"_s).isEmpty());
        told->terminate();
        QVERIFY2(ends(*told), "a session's end was lost behind a start-up message");

        QProcess trayer;
        startTrayArea(trayer);
        QTest::qWait(700);
        // The same message answered leads on to the first run, which replaces the broken file.
        auto program = place.launch({}, "2026-11-01 09:00:10");
        QVERIFY(answer(*program, u"ケムリン式"_s, "Return"));
        QVERIFY(answer(*program, u"ケムリン式初期設定 - pimaru"_s, "2 0 Tab 3 0 0 Return"));
        QVERIFY(answer(*program, u"ようこそケムリン式へ - pimaru"_s, "Return"));
        const QString main = window(*program, kMainTitle);
        QVERIFY(!main.isEmpty());
        QCOMPARE(place.saved("initial.ini"), QByteArray("2026,11,1,9,0,20,300,85\r\n"));
        // The mini window takes the main window's place; the menu's end, help open, saves both.
        run("xdotool windowmove " + main + " 240 150");
        QTRY_COMPARE(position(main), QPoint(240, 150));
        menuItem(main, kMainSurface, Switch);
        QString mini = window(*program, kMiniTitle);
        QVERIFY(!mini.isEmpty() && window(*program, kMainTitle, false).isEmpty());
        menuItem(mini, kMiniSurface, Help);
        QVERIFY(!window(*program, kHelpTitle).isEmpty());
        menuItem(mini, kMiniSurface, Exit);
        QVERIFY2(ends(*program), "the menu's end left the program running beside its help");
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(place.saved("option.ini"),
                 OptionLine({1, 3600, 2250, 9241372, 16777215, 1, 3600, 2250}).bytes());

        // The next start opens the window last in use, where it was, and takes the place of a
        // socket a crashed run left, so that the second starts below still reach it.
        sockaddr_un stale{AF_UNIX, {}};
        const QByteArray socket =
            QFile::encodeName(place.runtime.filePath(u"kemurin-%1.socket"_s.arg(::getuid())));
        std::memcpy(stale.sun_path, socket.constData(), static_cast<size_t>(socket.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(fd, reinterpret_cast<sockaddr*>(&stale), sizeof stale) == 0 &&
                ::close(fd) == 0);
        program = place.launch({}, "2026-11-02 09:30:00");
        QVERIFY(!(mini = window(*program, kMiniTitle)).isEmpty());
        QCOMPARE(position(mini), QPoint(240, 150));
        // A second start brings back the hidden window and ends, as a gone tray brings it.
        for (const char* second : {"2026-11-02 09:31:00", ""}) {
            mouse(mini, kMiniSurface, "click --repeat 2 --delay 60 1");
            QVERIFY(window(*program, kMiniTitle, false).isEmpty());
            if (!*second)
                break;
            auto starting = place.launch({}, second);
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
        QCOMPARE(place.saved("option.ini"),
                 OptionLine({1, 3600, 2250, 9241372, 16777215, 1, 4500, 3000}).bytes());
        // On a full disk the end is not held by a message nobody may be there to answer.
        program = place.launch({}, nullptr, true);
        QVERIFY(!(mini = window(*program, kMiniTitle)).isEmpty());
        run("xdotool windowmove " + mini + " 100 100");
        QTRY_COMPARE(position(mini), QPoint(100, 100));
        program->terminate();
        QVERIFY2(ends(*program), "a failed save held the session's end");
        QVERIFY(program->readAllStandardError().contains("設定を保存できませんでした。"));
        QCOMPARE(place.saved("option.ini"),
                 OptionLine({1, 3600, 2250, 9241372, 16777215, 1, 4500, 3000}).bytes());
    }

    // Started with the session: the main window waits behind its icon, which brings it back,
    // opens the counter windows' menu on a right click, and docks again in a restarted area.
    void trayStart() {
        const Place place("2026,11,1,9,0,20,300,85\r\n");
        // At login the panel may come up after the program: the icon waits for it. The program
        // listens for second starts once its start is done.
        auto program = place.launch({u"--tray"_s});
        const QString socket = place.runtime.filePath(u"kemurin-%1.socket"_s.arg(::getuid()));
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 10000));
        QProcess trayer;
        startTrayArea(trayer);
        // Qt's icon window carries the program's name, as none of its own windows do.
        QString icon = window(*program, u"kemurin"_s);
        QVERIFY2(!icon.isEmpty(), "no icon in the notification area");
        QVERIFY2(window(*program, kMainTitle, false).isEmpty(), "the window showed");
        // A second start with the session beside it ends quietly and leaves it hidden.
        auto second = place.launch({u"--tray"_s});
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
    }

    // The command line answers without a display; what it does not know ends with status 2. Nothing
    // is written for a command line that does not run the program.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        const QString version = u"kemurin " KEMURIN_VERSION "\nCopyright (C) 2026 pimaru\n"_s;
        const QString unknown = u"kemurin: 不明な引数です: "_s;
        QTest::newRow("help") << QStringList{u"--help"_s} << false << 0
                              << u"使い方: kemurin [オプション]\n"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << false << 0 << version;
        QTest::newRow("Qt's own let through")
            << QStringList{u"-style"_s, u"fusion"_s, u"--version"_s} << false << 0 << version;
        QTest::newRow("unknown long option")
            << QStringList{u"--trays"_s} << false << 2 << unknown + u"--trays\n"_s;
        QTest::newRow("Windows' form")
            << QStringList{u"-reverse"_s, u"/tray"_s} << true << 2 << unknown + u"/tray\n"_s;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, display);
        QFETCH(int, status);
        QFETCH(QString, said);
        const Place place;
        const auto program = place.launch(arguments, nullptr, false, display);
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), status);
        // A refusal is said on the error stream only.
        const QString out = QString::fromUtf8(program->readAllStandardOutput());
        const QString err = QString::fromUtf8(program->readAllStandardError());
        QVERIFY2((status ? err : out).startsWith(said) && (!status || out.isEmpty()),
                 qPrintable(out + err));
        QVERIFY(!QFileInfo::exists(place.folder.filePath(u"kemurindata"_s)));
    }
};

QTEST_GUILESS_MAIN(ProgramRunTest)
#include "ProgramRunTest.moc"
