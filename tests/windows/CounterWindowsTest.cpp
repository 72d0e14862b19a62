#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "platform/JapaneseFont.h"
#include "platform/TrayIcon.h"
#include "platform/WebAddress.h"
#include "windows/HelpWindow.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"

#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <QtTest>

namespace {

// A point of the main window's own surface, clear of every control.
const QPoint kMainSurface(2, 2);

QSystemTrayIcon* trayIconOf(QWidget* window) {
    return window->findChild<QSystemTrayIcon*>(QStringLiteral("trayIcon"));
}

QStringList captions(QMenu* menu) {
    QStringList list;
    for (const QAction* action : menu->actions())
        list << action->text();
    return list;
}

void trigger(CounterWindow* window, const char* item) {
    control<QAction>(window, QLatin1String(item))->trigger();
}

// Counts how often a window is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

} // namespace

class CounterWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installJapaneseFontSubstitutes(); }
    void init() {
        env = std::make_unique<WindowTestEnvironment>();
        env->writeSettings("2008,8,21,10,23,20,300,85\r\n", optionLine(1, 1500, 1500));
        setWebAddressOpener([this](const QUrl& url) {
            opened << url.toString();
            return opensAddresses;
        });
        TrayIcon::assumeAvailable(true);
    }
    void cleanup() {
        env.reset();
        setWebAddressOpener({});
        TrayIcon::assumeAvailable(std::nullopt);
        opened.clear();
        opensAddresses = true;
    }

    void aDoubleClickHidesInTheTrayAndALeftClickBringsItBack() {
        MainWindow* main = env->startProgram();
        const QPoint place = main->pos();
        QTest::mouseDClick(control<QLabel>(main, QStringLiteral("moneyValue")), Qt::LeftButton);
        QVERIFY(main->isVisible());
        QTest::mouseDClick(main, Qt::LeftButton, {}, kMainSurface);
        QVERIFY(!main->isVisible());
        QSystemTrayIcon* icon = trayIconOf(main);
        QVERIFY(icon->isVisible());
        QCOMPARE(icon->toolTip(), QStringLiteral("ケムリン式"));
        QVERIFY(control<QTimer>(main, QStringLiteral("refreshTimer"))->isActive());

        for (auto other : {QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick})
            emit icon->activated(other);
        QVERIFY(!main->isVisible());
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QCOMPARE(main->pos(), place);
        QVERIFY(!icon->isVisible());
    }

    void withoutANotificationAreaTheWindowIsMinimisedInstead() {
        TrayIcon::assumeAvailable(false);
        MainWindow* main = env->startProgram();
        QTest::mouseDClick(main, Qt::LeftButton, {}, kMainSurface);
        QTRY_VERIFY(main->isMinimized());
        QVERIFY(!trayIconOf(main) || !trayIconOf(main)->isVisible());
    }

    void theRightButtonOpensTheMenuOnTheWindowsOwnSurface() {
        MainWindow* main = env->startProgram();
        QMenu* menu = control<QMenu>(main, QStringLiteral("popupMenu"));
        QCOMPARE(captions(menu), QStringList({"コピーする", "ブログや掲示板を開く", "ヘルプを読む",
                                              "設定変更をする", "バージョン情報",
                                              "ミニサイズで運転する", "アプリケーションの終了"}));
        QTest::mousePress(main, Qt::LeftButton, {}, kMainSurface);
        QTest::mousePress(control<QLabel>(main, QStringLiteral("lifeValue")), Qt::RightButton);
        QVERIFY(!menu->isVisible());
        QTest::mousePress(main, Qt::RightButton, {}, kMainSurface);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void menuItemsDoWhatTheirButtonsDo_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("button");
        QTest::newRow("copy") << "copyItem"
                              << "copyButton";
        QTest::newRow("blog") << "blogItem"
                              << "blogButton";
        QTest::newRow("help") << "helpItem"
                              << "helpButton";
    }
    void menuItemsDoWhatTheirButtonsDo() {
        QFETCH(QString, item);
        QFETCH(QString, button);
        MainWindow* main = env->startProgram();
        for (int viaMenu = 0; viaMenu < 2; ++viaMenu) {
            QGuiApplication::clipboard()->clear();
            if (viaMenu)
                control<QAction>(main, item)->trigger();
            else
                clickButton(main, button);
            if (item == QStringLiteral("copyItem"))
                QCOMPARE(QGuiApplication::clipboard()->text(),
                         env->program->miniWindow()->reportText());
            if (item == QStringLiteral("blogItem")) {
                QCOMPARE(opened.size(), viaMenu + 1);
                QCOMPARE(opened.last(), QStringLiteral("http://kemurin.example.jp/"));
            }
            if (item == QStringLiteral("helpItem")) {
                QVERIFY(QTest::qWaitForWindowExposed(env->program->helpWindow()));
                QCOMPARE(alive<HelpWindow>(), 1);
            }
        }
        QVERIFY(env->messages.isEmpty());
    }

    void anAddressThatDoesNotOpenIsReported_data() {
        QTest::addColumn<QByteArray>("blogUrl");
        QTest::addColumn<bool>("browserOpens");
        QTest::newRow("no browser") << QByteArray("kemurin.example.jp/") << false;
        QTest::newRow("empty address") << QByteArray("") << true;
    }
    void anAddressThatDoesNotOpenIsReported() {
        QFETCH(QByteArray, blogUrl);
        QFETCH(bool, browserOpens);
        opensAddresses = browserOpens;
        env->writeFile(kOptionFile,
                       optionLine(1, 1500, 1500).replace("kemurin.example.jp/", blogUrl));
        MainWindow* main = env->startProgram();
        clickButton(main, QStringLiteral("blogButton"));
        QCOMPARE(env->messages,
                 QStringList(QStringLiteral(
                     "エラーです。フォルダオプションの関連付けなどを確認してください")));
        QVERIFY(main->isVisible());
    }

    void theVersionBoxEndsWithOurAddress() {
        MainWindow* main = env->startProgram();
        trigger(main, "versionItem");
        QCOMPARE(env->messages.size(), 1);
        QVERIFY(env->messages[0].startsWith(QStringLiteral("ケムリン式　Ver 1.0")));
        QVERIFY(env->messages[0].endsWith(QStringLiteral("\nhttps://kemurin.example.jp/")));
    }

    void theMiniWindowTakesTheMainWindowsPlaceOnlyTheFirstTime() {
        MainWindow* main = env->startProgram();
        main->move(300, 200);
        QTRY_COMPARE(main->pos(), QPoint(300, 200));
        trigger(main, "switchItem");
        MiniWindow* mini = env->program->miniWindow();
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        QVERIFY(!main->isVisible());
        QCOMPARE(mini->pos(), QPoint(300, 200));
        QCOMPARE(mini->windowTitle(), QStringLiteral(" ケムリン式 mini mode"));
        QCOMPARE(mini->reportText().split(QStringLiteral("\r\n")).size(), 6);
        QCOMPARE(env->program->state().windowMode, 1);

        mini->move(40, 30);
        QTRY_COMPARE(mini->pos(), QPoint(40, 30));
        trigger(mini, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(!mini->isVisible());
        QCOMPARE(env->program->state().windowMode, 0);
        trigger(main, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        QCOMPARE(mini->pos(), QPoint(40, 30));
    }

    void theMiniWindowsMenuAndDoubleClickWorkOnItsLabel() {
        env->writeFile(kOptionFile,
                       OptionLine{.windowMode = 1, .miniLeft = 600, .miniTop = 450}.bytes());
        env->startProgram();
        MiniWindow* mini = env->program->miniWindow();
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        QCOMPARE(mini->pos(), QPoint(40, 30));
        MainWindow* main = env->program->mainWindow();
        QVERIFY(main && !main->isVisible());
        QVERIFY(control<QTimer>(main, QStringLiteral("refreshTimer"))->isActive());
        QCOMPARE(captions(mini->popupMenu())[5], QStringLiteral("標準サイズで運転する"));

        QLabel* label = control<QLabel>(mini, QStringLiteral("reportLabel"));
        QTest::mousePress(label, Qt::RightButton);
        QTRY_VERIFY(mini->popupMenu()->isVisible());
        mini->popupMenu()->close();
        QTest::mouseDClick(label, Qt::LeftButton);
        QVERIFY(!mini->isVisible());
        emit trayIconOf(mini)->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(mini));
    }

    void whicheverWindowClosesFirstBothPlacesAreSaved_data() {
        QTest::addColumn<bool>("miniFirst");
        QTest::addColumn<bool>("minimised");
        QTest::newRow("main window closed") << false << false;
        QTest::newRow("mini window closed") << true << false;
        QTest::newRow("minimised mini window closed") << true << true;
    }
    void whicheverWindowClosesFirstBothPlacesAreSaved() {
        QFETCH(bool, miniFirst);
        QFETCH(bool, minimised);
        MainWindow* main = env->startProgram();
        main->move(200, 100);
        QTRY_COMPARE(main->pos(), QPoint(200, 100));
        trigger(main, "switchItem");
        MiniWindow* mini = env->program->miniWindow();
        mini->move(60, 40);
        QTRY_COMPARE(mini->pos(), QPoint(60, 40));
        ShowCounter counter;
        main->installEventFilter(&counter);
        if (minimised)
            mini->showMinimized(); // the restored place is saved
        if (miniFirst)
            trigger(mini, "exitItem");
        else
            main->close();
        QTRY_COMPARE(alive<MainWindow>() + alive<MiniWindow>(), 0);
        QCOMPARE(counter.shows, 0); // the hidden window is not flashed on screen
        const OptionLine both{
            .mainLeft = 3000, .mainTop = 1500, .windowMode = 1, .miniLeft = 900, .miniTop = 600};
        QCOMPARE(env->readFile(kOptionFile), both.bytes());
    }

    void aDoubleClickOnTheElapsedTimeTogglesItOnce() {
        MainWindow* main = env->startProgram();
        QLabel* elapsed = control<QLabel>(main, QStringLiteral("elapsedValue"));
        const QString normal = elapsed->text();
        // As the desktop delivers a double click: the second press comes as the double click.
        QTest::mouseClick(elapsed, Qt::LeftButton);
        const QPointF at = elapsed->rect().center();
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, elapsed->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(elapsed, &twice);
        QTest::mouseRelease(elapsed, Qt::LeftButton);
        QVERIFY(elapsed->text() != normal);
        QVERIFY(main->isVisible());
    }

    void oneHelpWindowFillsItsTextAndOutlivesTheOthers() {
        MainWindow* main = env->startProgram();
        clickButton(main, QStringLiteral("helpButton"));
        trigger(main, "switchItem");
        trigger(env->program->miniWindow(), "helpItem");
        QCOMPARE(alive<HelpWindow>(), 1);
        HelpWindow* help = env->program->helpWindow();
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QCOMPARE(help->windowTitle(), QStringLiteral(" ケムリン式 - help"));
        auto* text = control<QPlainTextEdit>(help, QStringLiteral("helpText"));
        QVERIFY(text->toPlainText().contains(QStringLiteral("★★★２０：作者連絡先★★★")));
        for (QSize size : {QSize(505, 540), QSize(700, 620), QSize(300, 200)}) {
            help->resize(size);
            QTRY_COMPARE(text->geometry(), help->rect());
        }
        const QRect before = text->geometry();
        help->showMinimized();
        QCOMPARE(text->geometry(), before);

        bool quit = false;
        connect(qApp, &QGuiApplication::lastWindowClosed, this, [&quit] { quit = true; });
        env->program->miniWindow()->close();
        QTRY_COMPARE(alive<MainWindow>() + alive<MiniWindow>(), 0);
        QCOMPARE(alive<HelpWindow>(), 1);
        QVERIFY(!quit);
    }

private:
    std::unique_ptr<WindowTestEnvironment> env;
    QStringList opened;
    bool opensAddresses = true;
};

QTEST_MAIN(CounterWindowsTest)
#include "CounterWindowsTest.moc"
