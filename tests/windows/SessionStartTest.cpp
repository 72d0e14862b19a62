// Starting with the session: the autostart entry the menu item writes, reads back and removes,
// what it leaves alone, and a start hidden behind the icon.
#include "WindowTestSupport.h"

#include "desktop/MessageBox.h"
#include "desktop/SessionAutostart.h"
#include "desktop/TrayIcon.h"
#include "windows/MiniWindow.h"

#include <QMenu>
#include <QMessageBox>
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

QByteArray bytes(const char* text) {
    return QByteArray(text);
}

} // namespace

Q_DECLARE_METATYPE(SessionStart)
Q_DECLARE_METATYPE(AutostartEntry)

class SessionStartTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCOMPARE(sessionAutostartPath(),
                 config.filePath(u"autostart/jp.example.kemurin.desktop"_s));
        TrayIcon::assumeAvailable(true);
        env = std::make_unique<WindowTestEnvironment>();
    }
    void cleanup() {
        env.reset();
        TrayIcon::assumeAvailable(std::nullopt);
        QDir(config.path() + u"/autostart"_s).removeRecursively();
        QFile::remove(config.path() + u"/autostart"_s);
    }

    // Written as the Desktop Entry Specification quotes it; read back as this program's only.
    void entryReadsBack_data() {
        QTest::addColumn<SessionStart>("start");
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("installed")
            << SessionStart{u"kemurin"_s, {}} << bytes("Exec=kemurin --tray\nTerminal=false\n");
        QTest::newRow("build folder")
            << SessionStart{u"/home/u/b/src/kemurin"_s, u"/home/u/b/src"_s}
            << bytes("Exec=/home/u/b/src/kemurin --tray\nTerminal=false\nPath=/home/u/b/src\n");
        QTest::newRow("spaces and Japanese")
            << SessionStart{u"/home/u/禁煙 日記/kemurin"_s, u"/home/u/禁煙 日記"_s}
            << QString(u"Exec=\"/home/u/禁煙 日記/kemurin\" --tray\nTerminal=false\n"
                       u"Path=/home/u/禁煙 日記\n"_s)
                   .toUtf8();
        QTest::newRow("shell's characters")
            << SessionStart{u"/t/a\"b`c$d\\e%f/kemurin"_s, u"/t/ a\\b"_s}
            // Backslashes doubled by the quoting, then again as the value is written.
            << bytes("Exec=\"/t/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f/kemurin\" --tray\n"
                     "Terminal=false\nPath=/t/ a\\\\b\n");
    }
    void entryReadsBack() {
        QFETCH(SessionStart, start);
        QFETCH(QByteArray, lines);
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

    // Entries written by hand, by another copy or by the desktop's settings.
    void entriesFound_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<AutostartEntry>("found");
        QTest::newRow("by hand, comments and groups")
            << bytes("# mine\n[Other]\nExec=/x --tray\n[Desktop Entry]\nName=k\n"
                     "Exec = /opt/k/kemurin --tray\nPath=/opt/k\n")
            << AutostartEntry::Ours;
        QTest::newRow("turned off") << bytes("[Desktop Entry]\nExec=/opt/k/kemurin\nPath=/opt/k\n"
                                             "Hidden=true\n")
                                    << AutostartEntry::None;
        QTest::newRow("another copy")
            << bytes("[Desktop Entry]\nExec=/opt/j/kemurin --tray\nPath=/opt/k\n")
            << AutostartEntry::Other;
        QTest::newRow("no start folder")
            << bytes("[Desktop Entry]\nExec=/opt/k/kemurin --tray\n") << AutostartEntry::Other;
        QTest::newRow("in another group only")
            << bytes("[Desktop Action x]\nExec=/opt/k/kemurin\nPath=/opt/k\n")
            << AutostartEntry::Other;
    }
    void entriesFound() {
        QFETCH(QByteArray, entry);
        QFETCH(AutostartEntry, found);
        QVERIFY(writeBytes(sessionAutostartPath(), entry));
        QCOMPARE(sessionAutostartEntry(kCopy), found);
        QVERIFY(removeSessionAutostart(kCopy));
        QCOMPARE(QFileInfo::exists(sessionAutostartPath()), found != AutostartEntry::Ours);
    }

    // Both windows' menus tell what the file says whenever they open; the item writes and
    // removes it.
    void menuItemFollowsTheEntry() {
        MainWindow* main = env->startCounting();
        QVERIFY(main);
        QVERIFY(!shownTicked(main));
        chooseItem(main);
        const SessionStart here{QCoreApplication::applicationFilePath(), env->appDir()};
        QCOMPARE(sessionAutostartEntry(here), AutostartEntry::Ours);
        QVERIFY(fileBytes(sessionAutostartPath()).contains(" --tray\n"));
        QVERIFY(shownTicked(main));
        // Removed behind the program's back, then put back: the menus read it anew.
        QVERIFY(QFile::remove(sessionAutostartPath()));
        QVERIFY(!shownTicked(main));
        QVERIFY(addSessionAutostart(here));
        trigger(main, "switchItem");
        auto* mini = shown<MiniWindow>();
        QVERIFY(mini && shownTicked(mini));
        chooseItem(mini);
        QVERIFY(!QFileInfo::exists(sessionAutostartPath()));
        QVERIFY(!shownTicked(mini));
        QVERIFY(env->messages.isEmpty());
    }

    // Another copy's entry is replaced only when the user says so, and never removed.
    void anotherCopysEntry() {
        MainWindow* main = env->startCounting();
        QVERIFY(main);
        const QByteArray other("[Desktop Entry]\nExec=/opt/j/kemurin --tray\n");
        QVERIFY(writeBytes(sessionAutostartPath(), other));
        QVERIFY(!shownTicked(main));
        chooseItem(main); // the question intercepted is answered いいえ
        QCOMPARE(env->messages.size(), 1);
        QVERIFY(env->messages[0].startsWith(u"ログイン時には、別の場所のケムリン式が"_s));
        QCOMPARE(fileBytes(sessionAutostartPath()), other);
        QVERIFY(!shownTicked(main));
        // Asked for real and answered はい, it points here.
        setMessageInterceptor({});
        QString asked;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box && QTest::qWaitForWindowExposed(box));
            asked = box->text();
            QCOMPARE(box->button(QMessageBox::No), box->defaultButton());
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        });
        chooseItem(main);
        QVERIFY(asked.endsWith(u"このケムリン式が起動するように変えますか？"_s));
        QVERIFY(shownTicked(main));
        // Another copy takes the entry while the menu still shows it ticked: unticking keeps it.
        QVERIFY(writeBytes(sessionAutostartPath(), other));
        control<QAction>(main, u"sessionItem"_s)->trigger();
        QCOMPARE(fileBytes(sessionAutostartPath()), other);
    }

    // A link where the entry goes is replaced by the entry; nothing is written where it points.
    void linkReplaced() {
        MainWindow* main = env->startCounting();
        QVERIFY(main);
        QVERIFY(QDir().mkpath(config.filePath(u"autostart"_s)));
        const QString target = config.filePath(u"elsewhere"_s);
        QVERIFY(QFile::link(target, sessionAutostartPath()));
        chooseItem(main);
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(!QFileInfo(sessionAutostartPath()).isSymLink() && shownTicked(main));
        QVERIFY(env->messages.isEmpty());
    }

    void cannotWrite() {
        MainWindow* main = env->startCounting();
        QVERIFY(main);
        QVERIFY(writeBytes(config.filePath(u"autostart"_s), "a file"));
        chooseItem(main);
        QCOMPARE(env->messages.size(), 1);
        QVERIFY(env->messages[0].startsWith(u"ログイン時に起動するようにできませんでした。\n"_s));
        QVERIFY(!shownTicked(main));
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
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(inUse) && !icon->isVisible());
    }

    // The switch chosen from the icon's menu brings out the other window; the icon goes.
    void switchFromTheIcon() {
        env->program->setStartInTray(true);
        env->writeSettings(kFiveDaysInitial, OptionLine{.windowMode = 0}.bytes());
        env->program->start();
        MainWindow* main = env->program->mainWindow();
        QVERIFY(main && main->isInTray());
        trigger(main, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(shown<MiniWindow>()));
        QVERIFY(!main->isInTray() && !main->isVisible());
        QVERIFY(!main->findChild<QSystemTrayIcon*>(u"trayIcon"_s)->isVisible());
    }

private:
    QTemporaryDir config;
    std::unique_ptr<WindowTestEnvironment> env;
};

QTEST_MAIN(SessionStartTest)
#include "SessionStartTest.moc"
