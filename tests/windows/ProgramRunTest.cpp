// Whole journeys of the real program, driven from outside as a person would: xdotool for the
// mouse and keys, xclip for the clipboard, faketime for the date (with a running clock, so that
// the program's timers run) and trayer for a notification area.
#include "RunningProgram.h"
#include "SettingsLines.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Titles as the window manager reads them.
const QString kMainTitle = QStringLiteral("ケムリン式 - pimaru");
const QString kMiniTitle = QStringLiteral("ケムリン式 mini mode");
const QString kSetupTitle = QStringLiteral("ケムリン式初期設定 - pimaru");
const QString kConfirmTitle = QStringLiteral("ようこそケムリン式へ - pimaru");
const QString kSettingsTitle =
    QStringLiteral("設定ウィンドウ - 全て半角で記入してください - pimaru");
const QString kHelpTitle = QStringLiteral("ケムリン式 - help");

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

    void firstRunCopyMiniWindowAndRestartWhereItWas() {
        {
            RunningProgram program(folder.path(), runtimeDir.path(),
                                   QStringLiteral("2026-11-01 09:00:10"));
            const QString setup = program.window(kSetupTitle);
            QVERIFY(!setup.isEmpty());
            QCOMPARE(readAll(optionPath()), defaultOptionLine());
            RunningProgram::keys(setup, QStringLiteral("20"), "type");
            RunningProgram::keys(setup, QStringLiteral("Tab"));
            RunningProgram::keys(setup, QStringLiteral("300"), "type");
            RunningProgram::keys(setup, QStringLiteral("Return"));
            const QString confirm = program.window(kConfirmTitle);
            QVERIFY(!confirm.isEmpty());
            RunningProgram::keys(confirm, QStringLiteral("Return"));
            const QString main = program.window(kMainTitle);
            QVERIFY(!main.isEmpty());
            QCOMPARE(readAll(initialPath()), QByteArray("2026,11,1,9,0,20,300,85\r\n"));

            RunningProgram::click(main, kCopyButton);
            const QString copied = run(QStringLiteral("xclip -o -selection clipboard"));
            QVERIFY2(QRegularExpression(
                         QStringLiteral(
                             "^ステータス： ２等兵\r\nケムリン日： 2026年 11月 1日\r\n"
                             "ケムリンからの日数： 0年 0ヶ月 0日 0時間 \\d分\r\n延びた寿命： "
                             "0日と0時間\\d+分\r\n"
                             "節約できた金額： 0円（節税分0円）\r\n節煙本数： 0本 0ｍ ガンバレ－$"))
                         .match(copied)
                         .hasMatch(),
                     qPrintable(copied));

            // The mini window takes the main window's place; closing it saves both places.
            xdotool("windowmove " + main + " 240 150");
            QTRY_COMPARE(RunningProgram::position(main), QPoint(240, 150));
            RunningProgram::menuItem(main, kMainSurface, 5); // ミニサイズで運転する
            const QString mini = program.window(kMiniTitle);
            QVERIFY(!mini.isEmpty());
            QVERIFY(program.gone(kMainTitle));
            RunningProgram::menuItem(mini, kMiniSurface, 6); // アプリケーションの終了
            QVERIFY(program.ends());
            QCOMPARE(program.process().exitCode(), 0);
        }
        const OptionLine both{
            .mainLeft = 3600, .mainTop = 2250, .windowMode = 1, .miniLeft = 3600, .miniTop = 2250};
        QCOMPARE(readAll(optionPath()), both.bytes());
        // The next start opens the window last in use, where it was.
        RunningProgram again(folder.path(), runtimeDir.path(),
                             QStringLiteral("2026-11-02 09:30:00"));
        const QString mini = again.window(kMiniTitle);
        QVERIFY(!mini.isEmpty());
        QCOMPARE(RunningProgram::position(mini), QPoint(240, 150));
        QVERIFY(again.visibleWindow(kMainTitle).isEmpty());
    }

    void trayMiniWindowSettingsAndHelp() {
        QDir().mkpath(folder.filePath(QStringLiteral("kemurindata")));
        for (const auto& [path, bytes] :
             {std::pair{initialPath(), QByteArray("2026,11,1,9,0,20,300,85\r\n")},
              {optionPath(), optionLine(1, 1500, 1500)}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QProcess trayer;
        trayer.start(QStringLiteral("trayer"),
                     QStringLiteral("--edge top --align right --widthtype pixel --width 200 "
                                    "--height 24 --transparent false")
                         .split(u' '));
        QVERIFY(trayer.waitForStarted(5000));
        QTest::qWait(700);
        RunningProgram program(folder.path(), runtimeDir.path(),
                               QStringLiteral("2026-12-06 12:00:00"));
        const QString main = program.window(kMainTitle);
        QVERIFY(!main.isEmpty());
        QCOMPARE(RunningProgram::position(main), QPoint(100, 100));

        // To the notification area and back with a click on the icon, at the tray's right end.
        RunningProgram::click(main, kMainSurface, 1, 2);
        QVERIFY(program.gone(kMainTitle));
        const int screenWidth =
            xdotool(QStringLiteral("getdisplaygeometry")).section(u' ', 0, 0).toInt();
        xdotool(QStringLiteral("mousemove %1 12 click 1").arg(screenWidth - 12));
        QCOMPARE(program.window(kMainTitle), main);
        QCOMPARE(RunningProgram::position(main), QPoint(100, 100));

        // The mini window and back.
        RunningProgram::menuItem(main, kMainSurface, 5); // ミニサイズで運転する
        const QString mini = program.window(kMiniTitle);
        QVERIFY(!mini.isEmpty());
        QVERIFY(program.gone(kMainTitle));
        RunningProgram::menuItem(mini, kMiniSurface, 5); // 標準サイズで運転する
        QCOMPARE(program.window(kMainTitle), main);
        QVERIFY(program.gone(kMiniTitle));

        // Settings changed and saved: 40 a day.
        RunningProgram::menuItem(main, kMainSurface, 3); // 設定変更をする
        const QString settings = program.window(kSettingsTitle);
        QVERIFY(!settings.isEmpty());
        RunningProgram::click(settings, QPoint(120, 159), 1, 3);
        RunningProgram::keys(settings, QStringLiteral("40"), "type");
        RunningProgram::keys(settings, QStringLiteral("Return"));
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
