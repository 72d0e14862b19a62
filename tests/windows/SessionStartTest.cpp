// Starting with the session: the autostart entry the menu item keeps, and a start behind the icon.
#include "WindowTestSupport.h"

#include "desktop/SessionAutostart.h"
#include "desktop/TrayIcon.h"
#include "windows/MiniWindow.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace {

const SessionStart kCopy{u"/opt/k/kemurin"_s, u"/opt/k"_s};

// The menu opened as the user opens it, and whether the item shows ticked.
bool shownTicked(CounterWindow* window) {
    QMenu* menu = window->popupMenu();
    menu->popup(QPoint(10, 10));
    const bool ticked = control<QAction>(window, u"sessionItem"_s)->isChecked();
    menu->close();
    return ticked;
}

// Opens the menu and chooses the item, which flips its tick.
void chooseItem(CounterWindow* window) {
    shownTicked(window);
    control<QAction>(window, u"sessionItem"_s)->trigger();
}

} // namespace

class SessionStartTest : public WindowTest {
    Q_OBJECT
    QTemporaryDir config;

private slots:
    void init() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCOMPARE(sessionAutostartPath(),
                 config.filePath(u"autostart/jp.example.kemurin.desktop"_s));
        WindowTest::init();
    }
    void cleanup() {
        WindowTest::cleanup();
        QDir(config.path() + u"/autostart"_s).removeRecursively();
        QFile::remove(config.path() + u"/autostart"_s);
    }

    // Written with the quoting desktop entries take; read back as this program's only.
    void entryReadsBack() {
        const std::pair<SessionStart, QString> rows[] = {
            {{u"kemurin"_s, {}}, u"Exec=kemurin --tray\nTerminal=false\n"_s},
            {{u"/home/u/b/src/kemurin"_s, u"/home/u/b/src"_s},
             u"Exec=/home/u/b/src/kemurin --tray\nTerminal=false\nPath=/home/u/b/src\n"_s},
            // Backslashes doubled by the quoting, then again as the value is written.
            {{u"/t/a\"b`c$d\\e%f/禁煙/kemurin"_s, u"/t/ a\\b"_s},
             u"Exec=\"/t/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f/禁煙/kemurin\" --tray\nTerminal=false\n"
             u"Path=/t/ a\\\\b\n"_s}};
        for (const auto& [start, written] : rows) {
            const QByteArray lines = written.toUtf8();
            QVERIFY(addSessionAutostart(start));
            QCOMPARE(fileBytes(sessionAutostartPath()),
                     "[Desktop Entry]\nType=Application\nName=ケムリン式\n" + lines);
            QCOMPARE(sessionAutostartEntry(start), AutostartEntry::Ours);
            const SessionStart elsewhere{start.program, start.folder + u"x"_s};
            const SessionStart another{start.program + u"x"_s, start.folder};
            for (const SessionStart& other : {elsewhere, another}) {
                QCOMPARE(sessionAutostartEntry(other), AutostartEntry::Other);
                QVERIFY(removeSessionAutostart(other));
                QCOMPARE(fileBytes(sessionAutostartPath()).right(lines.size()), lines);
            }
            QVERIFY(removeSessionAutostart(start));
            QVERIFY(!QFileInfo::exists(sessionAutostartPath()));
            QCOMPARE(sessionAutostartEntry(start), AutostartEntry::None);
        }
    }

    // Entries written by hand, by another copy or by the desktop; only this copy's own is removed.
    void entriesFound() {
        const std::pair<const char*, AutostartEntry> rows[] = {
            {"# mine\n[Other]\nExec=/x --tray\n[Desktop Entry]\nName=k\n"
             "Exec = /opt/k/kemurin --tray\nPath=/opt/k\n",
             AutostartEntry::Ours},
            {"[Desktop Entry]\nExec=/opt/k/kemurin\nPath=/opt/k\nHidden=true\n",
             AutostartEntry::None},
            {"[Desktop Entry]\nExec=/opt/k/kemurin --tray\n", AutostartEntry::Other},
            {"[Desktop Action x]\nExec=/opt/k/kemurin\nPath=/opt/k\n", AutostartEntry::Other}};
        for (const auto& [entry, found] : rows) {
            QVERIFY(writeBytes(sessionAutostartPath(), entry));
            QCOMPARE(sessionAutostartEntry(kCopy), found);
            QVERIFY(removeSessionAutostart(kCopy));
            QCOMPARE(QFileInfo::exists(sessionAutostartPath()), found != AutostartEntry::Ours);
        }
    }

    // Both windows' menus tell what the file says whenever they open; the item writes the entry,
    // in place of a link there rather than through it, and removes it. A file where its folder
    // goes is told.
    void menuItemFollowsTheEntry() {
        MainWindow* main = env->startCounting();
        const QString target = config.filePath(u"elsewhere"_s);
        QVERIFY(QDir().mkpath(config.filePath(u"autostart"_s)) &&
                QFile::link(target, sessionAutostartPath()));
        QVERIFY(!shownTicked(main));
        chooseItem(main);
        const SessionStart here{QCoreApplication::applicationFilePath(), env->appDir()};
        QCOMPARE(sessionAutostartEntry(here), AutostartEntry::Ours);
        QVERIFY(!QFileInfo::exists(target) && !QFileInfo(sessionAutostartPath()).isSymLink());
        QVERIFY(fileBytes(sessionAutostartPath()).contains(" --tray\n"));
        QVERIFY(shownTicked(main));
        // Removed behind the program's back, then put back: the menus read it anew.
        QVERIFY(QFile::remove(sessionAutostartPath()) && !shownTicked(main));
        QVERIFY(addSessionAutostart(here));
        trigger(main, "switchItem");
        auto* mini = shown<MiniWindow>();
        QVERIFY(mini && shownTicked(mini));
        chooseItem(mini);
        QVERIFY(!QFileInfo::exists(sessionAutostartPath()) && !shownTicked(mini));
        QVERIFY(env->messages.isEmpty());
        QVERIFY(QDir(config.filePath(u"autostart"_s)).removeRecursively() &&
                writeBytes(config.filePath(u"autostart"_s), "a file"));
        chooseItem(mini);
        QCOMPARE(env->messages, QStringList(u"ログイン時に起動するようにできませんでした。\n"_s +
                                            sessionAutostartPath() +
                                            u"\nフォルダに書き込めるかを確かめてください。"_s));
        QVERIFY(!shownTicked(mini));
    }

    // Another copy's entry is replaced only when the user says so, and never removed.
    void anotherCopysEntry() {
        MainWindow* main = env->startCounting();
        const QByteArray other("[Desktop Entry]\nExec=/opt/j/kemurin --tray\n");
        QVERIFY(writeBytes(sessionAutostartPath(), other) && !shownTicked(main));
        chooseItem(main); // the question intercepted is answered いいえ
        QCOMPARE(env->messages.size(), 1);
        QVERIFY(env->messages[0].startsWith(u"ログイン時には、別の場所のケムリン式が"_s));
        QCOMPARE(fileBytes(sessionAutostartPath()), other);
        QVERIFY(!shownTicked(main));
        // Asked for real and answered はい, it points here.
        QVERIFY(env->answerQuestion(true, [&] { chooseItem(main); })
                    .endsWith(u"このケムリン式が起動するように変えますか？"_s));
        QVERIFY(shownTicked(main));
    }

    // Started with --tray: the counter window waits behind its icon, whose right click opens
    // the same menu; a first run, and a desktop without a notification area, show their window.
    void startInTray_data() {
        QTest::addColumn<bool>("trayArea");
        QTest::addColumn<bool>("counting");
        QTest::addColumn<int>("mode");
        QTest::newRow("main window") << true << true << 0;
        QTest::newRow("mini window") << true << true << 1;
        QTest::newRow("no notification area") << false << true << 0;
        QTest::newRow("first run") << true << false << 0;
    }
    void startInTray() {
        QFETCH(bool, trayArea);
        QFETCH(bool, counting);
        QFETCH(int, mode);
        TrayIcon::assumeAvailable(trayArea);
        env->program->setStartInTray(true);
        if (!counting) {
            env->program->start();
            QVERIFY(QTest::qWaitForWindowExposed(shown<SetupWindow>()));
            QVERIFY(!shown<CounterWindow>());
            return;
        }
        env->writeSettings(kFiveDaysInitial, OptionLine{.windowMode = mode}.bytes());
        env->program->start();
        CounterWindow* inUse = mode == 1 ? static_cast<CounterWindow*>(env->program->miniWindow())
                                         : env->program->mainWindow();
        QVERIFY(inUse);
        if (!trayArea) {
            // Given the seconds a panel takes to come up at login, then shown.
            QVERIFY(!inUse->isVisible());
            QTRY_VERIFY_WITH_TIMEOUT(inUse->isVisible(), 15000);
            QVERIFY(QTest::qWaitForWindowExposed(inUse) && !inUse->isMinimized());
            return;
        }
        QVERIFY(!shown<CounterWindow>() && inUse->isInTray());
        auto* icon = inUse->findChild<QSystemTrayIcon*>(u"trayIcon"_s);
        QVERIFY(icon && icon->isVisible());
        QCOMPARE(icon->contextMenu(), inUse->popupMenu());
        QVERIFY(!shownTicked(inUse));
        // Its click brings the window back; the switch from its menu brings out the other one.
        if (mode == 0) {
            emit icon->activated(QSystemTrayIcon::Trigger);
            QVERIFY(QTest::qWaitForWindowExposed(inUse));
        } else {
            trigger(inUse, "switchItem");
            QVERIFY(QTest::qWaitForWindowExposed(env->program->mainWindow()));
            QVERIFY(!inUse->isVisible());
        }
        QVERIFY(!inUse->isInTray() && !icon->isVisible());
    }
};

QTEST_MAIN(SessionStartTest)
#include "SessionStartTest.moc"
