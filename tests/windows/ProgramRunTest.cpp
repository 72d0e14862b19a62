// Whole journeys of the real program, driven from outside as a person would: xdotool for the
// mouse and keys, xclip for the clipboard, faketime for the date (with a running clock, so that
// the program's timers run) and trayer for a notification area.
#include "SettingsLines.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {

const QString kMainTitle = QStringLiteral(" ケムリン式 - pimaru");
const QString kMiniTitle = QStringLiteral(" ケムリン式 mini mode");
const QString kSetupTitle = QStringLiteral(" ケムリン式初期設定 - pimaru");
const QString kConfirmTitle = QStringLiteral(" ようこそケムリン式へ - pimaru");
const QString kSettingsTitle =
    QStringLiteral(" 設定ウィンドウ - 全て半角で記入してください - pimaru");
const QString kHelpTitle = QStringLiteral(" ケムリン式 - help");

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList& arguments) {
    return run(QStringLiteral("xdotool"), arguments);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// One start of the program in a folder, and the hands that use it.
class RunningProgram {
public:
    RunningProgram(const QString& folder, const QString& runtimeDir, const QString& fakeStart) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // A sanitized build must accept faketime's library loaded ahead of its runtime.
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                       QStringLiteral(":verify_asan_link_order=0"));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder);
        // "@" lets the fake clock run on from the given moment.
        m_process.start(
            QStringLiteral("faketime"),
            {QStringLiteral("-f"), QLatin1Char('@') + fakeStart, QStringLiteral(KEMURIN_PROGRAM)});
        m_process.waitForStarted(5000);
    }
    ~RunningProgram() {
        // The program first: faketime ends once it has reaped it, so the next start cannot find
        // this one's lock still held.
        const int child = programPid().toInt();
        if (child > 0 && child != m_process.processId())
            ::kill(child, SIGKILL);
        if (!ends(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }

    QProcess& process() { return m_process; }
    bool ends(int timeoutMs = 10000) {
        return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
    }

    // The program's mapped window with this title, once it shows.
    QString window(const QString& title) {
        QString found;
        const bool shows = QTest::qWaitFor(
            [&] {
                found = visibleWindow(title);
                return !found.isEmpty();
            },
            20000);
        // A window just mapped may not take keys yet.
        QTest::qWait(shows ? 300 : 0);
        return shows ? found : QString();
    }
    QStringList windows() const {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--pid"), programPid()})
            .split(u'\n', Qt::SkipEmptyParts);
    }
    QString visibleWindow(const QString& title) const {
        for (const QString& w : windows()) {
            if (xdotool({QStringLiteral("getwindowname"), w}) == title.trimmed() ||
                xdotool({QStringLiteral("getwindowname"), w}) == title)
                return w;
        }
        return {};
    }
    bool gone(const QString& title) {
        return QTest::qWaitFor([&] { return visibleWindow(title).isEmpty(); }, 10000);
    }

    static QPoint position(const QString& window) {
        const QStringList shell =
            xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
                .split(u'\n');
        QPoint p;
        for (const QString& line : shell) {
            if (line.startsWith(QLatin1String("X=")))
                p.setX(line.mid(2).toInt());
            if (line.startsWith(QLatin1String("Y=")))
                p.setY(line.mid(2).toInt());
        }
        return p;
    }
    static void click(const QString& window, QPoint at, int button = 1, int times = 1) {
        const QPoint p = position(window) + at;
        xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                 QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(times),
                 QStringLiteral("--delay"), QStringLiteral("60"), QString::number(button)});
        QTest::qWait(200);
    }
    static void keys(const QString& window, const QStringList& names) {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        for (const QString& name : names) {
            xdotool({QStringLiteral("key"), name});
            QTest::qWait(60);
        }
    }
    static void type(const QString& window, const QString& text) {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("80"), text});
    }
    // Opens a window's popup menu and takes its item at `index` (0 for the first).
    static void menuItem(const QString& window, QPoint surface, int index) {
        click(window, surface, 3);
        QTest::qWait(400);
        QStringList presses;
        for (int i = 0; i <= index; ++i)
            presses << QStringLiteral("Down");
        presses << QStringLiteral("Return");
        for (const QString& key : presses) {
            xdotool({QStringLiteral("key"), key});
            QTest::qWait(60);
        }
        QTest::qWait(300);
    }

private:
    // faketime runs the program as its child.
    QString programPid() const {
        const QString pid = QString::number(m_process.processId());
        const QByteArray children =
            readAll(QStringLiteral("/proc/%1/task/%1/children").arg(pid)).trimmed();
        return children.isEmpty() ? pid : QString::fromLatin1(children.split(' ').first());
    }

    QProcess m_process;
};

// A point of the main window's own surface, and of the mini window.
const QPoint kMainSurface(2, 2);
const QPoint kMiniSurface(40, 40);
// Centres of the main window's buttons.
const QPoint kCopyButton(32, 206);
const QPoint kHelpButton(288, 206);

} // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(runtimeDir.isValid() && folder.isValid());
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
    }
    void cleanup() {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void firstRunCopyCloseAndRestartAtTheSavedPlace() {
        {
            RunningProgram program(folder.path(), runtimeDir.path(),
                                   QStringLiteral("2026-11-01 09:00:10"));
            const QString setup = program.window(kSetupTitle);
            QVERIFY(!setup.isEmpty());
            QCOMPARE(readAll(optionPath()), defaultOptionLine());
            RunningProgram::type(setup, QStringLiteral("20"));
            RunningProgram::keys(setup, {QStringLiteral("Tab")});
            RunningProgram::type(setup, QStringLiteral("300"));
            RunningProgram::keys(setup, {QStringLiteral("Return")});
            const QString confirm = program.window(kConfirmTitle);
            QVERIFY(!confirm.isEmpty());
            RunningProgram::keys(confirm, {QStringLiteral("Return")});
            const QString main = program.window(kMainTitle);
            QVERIFY(!main.isEmpty());
            QCOMPARE(readAll(initialPath()), QByteArray("2026,11,1,9,0,20,300,85\r\n"));

            RunningProgram::click(main, kCopyButton);
            const QStringList lines =
                run(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                              QStringLiteral("clipboard")})
                    .split(QStringLiteral("\r\n"));
            QCOMPARE(lines.size(), 6);
            QCOMPARE(lines[0], QStringLiteral("ステータス： ２等兵"));
            QCOMPARE(lines[1], QStringLiteral("ケムリン日： 2026年 11月 1日"));
            QVERIFY2(
                lines[2].startsWith(QStringLiteral("ケムリンからの日数： 0年 0ヶ月 0日 0時間 ")),
                qPrintable(lines[2]));
            QVERIFY(lines[3].startsWith(QStringLiteral("延びた寿命： 0日と0時間")));
            QCOMPARE(lines[4], QStringLiteral("節約できた金額： 0円（節税分0円）"));
            QVERIFY(lines[5].startsWith(QStringLiteral("節煙本数： 0本 0ｍ ")));

            xdotool(
                {QStringLiteral("windowmove"), main, QStringLiteral("240"), QStringLiteral("150")});
            QTRY_COMPARE(RunningProgram::position(main), QPoint(240, 150));
            RunningProgram::menuItem(main, kMainSurface, 6); // アプリケーションの終了
            QVERIFY(program.ends());
            QCOMPARE(program.process().exitCode(), 0);
        }
        QVERIFY(readAll(optionPath()).startsWith("1,8744,5,0,5,1,3600,2250,"));
        RunningProgram again(folder.path(), runtimeDir.path(),
                             QStringLiteral("2026-11-02 09:30:00"));
        const QString main = again.window(kMainTitle);
        QVERIFY(!main.isEmpty());
        QCOMPARE(RunningProgram::position(main), QPoint(240, 150));
    }

    void trayMiniWindowSettingsAndHelp() {
        write(initialPath(), "2026,11,1,9,0,20,300,85\r\n");
        write(optionPath(), optionLine(1, 1500, 1500));
        QProcess trayer;
        trayer.start(QStringLiteral("trayer"),
                     {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                      QStringLiteral("right"), QStringLiteral("--widthtype"),
                      QStringLiteral("pixel"), QStringLiteral("--width"), QStringLiteral("200"),
                      QStringLiteral("--height"), QStringLiteral("24"),
                      QStringLiteral("--transparent"), QStringLiteral("false")});
        QVERIFY(trayer.waitForStarted(5000));
        QTest::qWait(700);
        RunningProgram program(folder.path(), runtimeDir.path(),
                               QStringLiteral("2026-12-06 12:00:00"));
        const QString main = program.window(kMainTitle);
        QVERIFY(!main.isEmpty());
        const QPoint place = RunningProgram::position(main);

        // To the notification area and back with a click on the icon, at the tray's right end.
        RunningProgram::click(main, kMainSurface, 1, 2);
        QVERIFY(program.gone(kMainTitle));
        const QString screenWidth =
            xdotool({QStringLiteral("getdisplaygeometry")}).section(u' ', 0, 0);
        xdotool({QStringLiteral("mousemove"), QString::number(screenWidth.toInt() - 12),
                 QStringLiteral("12"), QStringLiteral("click"), QStringLiteral("1")});
        QCOMPARE(program.window(kMainTitle), main);
        QCOMPARE(RunningProgram::position(main), place);

        // The mini window and back.
        RunningProgram::menuItem(main, kMainSurface, 5); // ミニサイズで運転する
        const QString mini = program.window(kMiniTitle);
        QVERIFY(!mini.isEmpty());
        QVERIFY(program.gone(kMainTitle));
        QCOMPARE(RunningProgram::position(mini), place);
        RunningProgram::menuItem(mini, kMiniSurface, 5); // 標準サイズで運転する
        QCOMPARE(program.window(kMainTitle), main);
        QVERIFY(program.gone(kMiniTitle));

        // Settings changed and saved: 40 a day.
        RunningProgram::menuItem(main, kMainSurface, 3); // 設定変更をする
        const QString settings = program.window(kSettingsTitle);
        QVERIFY(!settings.isEmpty());
        RunningProgram::click(settings, QPoint(120, 159), 1, 3);
        RunningProgram::type(settings, QStringLiteral("40"));
        RunningProgram::keys(settings, {QStringLiteral("Return")});
        QVERIFY(program.gone(kSettingsTitle));
        const QString reopened = program.window(kMainTitle);
        QVERIFY(!reopened.isEmpty());
        QCOMPARE(readAll(initialPath()), QByteArray("2026,11,1,9,0,40,300,85\r\n"));

        // Help outlives the main window and keeps the program running.
        RunningProgram::click(reopened, kHelpButton);
        QVERIFY(!program.window(kHelpTitle).isEmpty());
        RunningProgram::menuItem(reopened, kMainSurface, 6); // アプリケーションの終了
        QVERIFY(program.gone(kMainTitle));
        QVERIFY(!program.ends(500));
        QVERIFY(!program.visibleWindow(kHelpTitle).isEmpty());
        trayer.kill();
        trayer.waitForFinished(5000);
    }

    void theMiniWindowOpensWhenItWasInUse() {
        write(initialPath(), "2026,11,1,9,0,20,300,85\r\n");
        write(optionPath(), OptionLine{.windowMode = 1, .miniLeft = 1500, .miniTop = 1500}.bytes());
        RunningProgram program(folder.path(), runtimeDir.path(),
                               QStringLiteral("2026-12-06 12:00:00"));
        const QString mini = program.window(kMiniTitle);
        QVERIFY(!mini.isEmpty());
        QCOMPARE(RunningProgram::position(mini), QPoint(100, 100));
        QVERIFY(program.visibleWindow(kMainTitle).isEmpty());
    }

    void aSecondStartSaysSoAndTouchesNoFile() {
        write(initialPath(), "2026,1,5,8,30,20,300,85\r\n");
        write(optionPath(), optionLine(1, 0, 0));
        RunningProgram first(folder.path(), runtimeDir.path(),
                             QStringLiteral("2026-12-06 12:00:00"));
        QVERIFY(!first.window(kMainTitle).isEmpty());

        QTemporaryDir second;
        RunningProgram again(second.path(), runtimeDir.path(),
                             QStringLiteral("2026-12-06 12:00:00"));
        QVERIFY(!again.window(QStringLiteral("ケムリン式")).isEmpty());
        // The box may still be settling on screen: answer it until the process has ended.
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QString& w : again.windows())
                    xdotool({QStringLiteral("key"), QStringLiteral("--window"), w,
                             QStringLiteral("Return")});
                return again.ends(500);
            }(),
            10000);
        QCOMPARE(again.process().exitCode(), 0);
        QVERIFY(QDir(second.path()).isEmpty());
        QCOMPARE(first.process().state(), QProcess::Running);
    }

private:
    QString initialPath() const {
        return folder.filePath(QStringLiteral("kemurindata/initial.ini"));
    }
    QString optionPath() const { return folder.filePath(QStringLiteral("kemurindata/option.ini")); }

    QTemporaryDir runtimeDir;
    QTemporaryDir folder;
};

QTEST_GUILESS_MAIN(ProgramRunTest)
#include "ProgramRunTest.moc"
