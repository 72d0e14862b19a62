#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "engine/DailyMessages.h"
#include "platform/TrayIcon.h"
#include "platform/WebAddress.h"
#include "settings/ProgramAddresses.h"
#include "windows/HelpWindow.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"

#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <QtTest>

namespace {

// A point of the main window's own surface, clear of every control.
const QPoint kMainSurface(2, 2);

QLabel* value(QWidget* window, const char* name) {
    return control<QLabel>(window, QLatin1String(name));
}

QSystemTrayIcon* trayIconOf(QWidget* window) {
    return window->findChild<QSystemTrayIcon*>(QStringLiteral("trayIcon"));
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

    void theMainWindowShowsTheFiguresWholeInTheSettingsColours() {
        env->writeFile(kOptionFile, OptionLine{1, 1500, 1500, 0x00332211, 0x00665544}.bytes());
        MainWindow* main = env->startProgram();
        QCOMPARE(main->windowTitle(), QStringLiteral(" ケムリン式 - pimaru"));
        QCOMPARE(main->size(), QSize(375, 222));
        QCOMPARE(cutOff(main), QString());
        const std::pair<const char*, QString> shown[] = {
            {"elapsedValue", QStringLiteral("０年０ヶ月５日０時間０分")},
            {"lifeValue", QStringLiteral("０日と９時間１０分")},
            {"moneyValue", QStringLiteral("1500円（節税分945円）")},
            {"statusValue", QStringLiteral("軍曹")},
            {"cigarettesValue", QStringLiteral("5箱 8.5ｍ 金剛力士立像吽形")},
            {"messageValue", dailyMessage(5)}};
        for (const auto& [name, text] : shown) {
            QCOMPARE(value(main, name)->text(), text);
            QCOMPARE(value(main, name)->palette().color(QPalette::Window),
                     QColor(0x11, 0x22, 0x33));
            QCOMPARE(value(main, name)->palette().color(QPalette::WindowText),
                     QColor(0x44, 0x55, 0x66));
        }
        QVERIFY(QFontInfo(value(main, "elapsedValue")->font()).family().contains(u"IPA"));
        QVERIFY(!env->program->miniWindow()->isVisible());
    }

    void aSavedPlaceOffTheScreenGoesToItsCentre() {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size() * 15;
        env->writeFile(kOptionFile, optionLine(1, screen.width() - 4999, -300));
        MainWindow* main = env->startProgram();
        QCOMPARE(main->pos(), QPoint(screen.width() / 2, screen.height() / 2) / 15);
        QCOMPARE(env->program->state().mainLeft, screen.width() / 2);
    }

    void theTimerRefreshesEveryThirtySeconds() {
        MainWindow* main = env->startProgram();
        auto* timer = control<QTimer>(main, QStringLiteral("refreshTimer"));
        QCOMPARE(timer->interval(), 30000);
        QVERIFY(timer->isActive());
        env->clock.set(QDateTime(QDate(2008, 8, 27), QTime(11, 30, 5)));
        timer->start(10);
        QTRY_COMPARE(value(main, "elapsedValue")->text(),
                     QStringLiteral("０年０ヶ月６日１時間７分"));
    }

    void aClickOnTheElapsedTimeTogglesTheDetailedViewUntilTheNextRefresh() {
        env->clock.set(QDateTime(QDate(2009, 9, 24), QTime(13, 32)));
        MainWindow* main = env->startProgram();
        QLabel* elapsed = value(main, "elapsedValue");
        const QString normal = QStringLiteral("１年１ヶ月３日３時間９分");
        const QString detailed = QStringLiteral("３９９日３時間９分");
        QTest::mouseClick(value(main, "lifeValue"), Qt::LeftButton);
        QCOMPARE(elapsed->text(), normal);
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), detailed);
        clickButton(main, QStringLiteral("copyButton"));
        QVERIFY(QGuiApplication::clipboard()->text().contains(
            QStringLiteral("ケムリンからの日数： 399日 3時間 9分")));
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), normal);

        // As the desktop delivers a double click, the second press as the double click: one
        // toggle, and the window stays.
        QTest::mouseClick(elapsed, Qt::LeftButton);
        const QPointF at = elapsed->rect().center();
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, elapsed->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(elapsed, &twice);
        QTest::mouseRelease(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), detailed);
        QVERIFY(main->isVisible());

        // A refresh ends the detail view; the mini window's report still tells it once.
        env->program->refresh();
        QCOMPARE(elapsed->text(), normal);
        QVERIFY(env->program->miniWindow()->reportText().contains(u"399日"));
        env->program->refresh();
        QVERIFY(!env->program->miniWindow()->reportText().contains(u"399日"));
    }

    // The real tray, and the place kept, are in the journeys of the real program.
    void aDoubleClickHidesInTheTrayAndALeftClickBringsItBack() {
        MainWindow* main = env->startProgram();
        QTest::mouseDClick(value(main, "moneyValue"), Qt::LeftButton);
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
        QStringList captions;
        for (const QAction* action : menu->actions())
            captions << action->text();
        QCOMPARE(captions, QStringList({"コピーする", "ブログや掲示板を開く", "ヘルプを読む",
                                        "設定変更をする", "バージョン情報", "ミニサイズで運転する",
                                        "アプリケーションの終了"}));
        QTest::mousePress(main, Qt::LeftButton, {}, kMainSurface);
        QTest::mousePress(value(main, "lifeValue"), Qt::RightButton);
        QVERIFY(!menu->isVisible());
        QTest::mousePress(main, Qt::RightButton, {}, kMainSurface);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void menuItemsDoWhatTheirButtonsDo_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("button");
        for (const char* what : {"copy", "blog", "help"})
            QTest::newRow(what) << QLatin1String(what) + QLatin1String("Item")
                                << QLatin1String(what) + QLatin1String("Button");
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
            if (item == QStringLiteral("blogItem"))
                QCOMPARE(opened,
                         QStringList(viaMenu + 1, QStringLiteral("http://kemurin.example.jp/")));
            if (item == QStringLiteral("helpItem")) {
                QVERIFY(QTest::qWaitForWindowExposed(env->program->helpWindow()));
                QCOMPARE(alive<HelpWindow>(), 1);
            }
        }
        QVERIFY(env->messages.isEmpty());
    }

    void whatTheCommandsTell_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("blogUrl");
        QTest::addColumn<bool>("browserOpens");
        QTest::addColumn<QString>("message");
        const QString error =
            QStringLiteral("エラーです。フォルダオプションの関連付けなどを確認してください");
        QTest::newRow("blog, no browser")
            << "blogItem" << QByteArray(kDefaultBlogUrl) << false << error;
        QTest::newRow("blog, empty address") << "blogItem" << QByteArray() << true << error;
        QTest::newRow("version") << "versionItem" << QByteArray(kDefaultBlogUrl) << true
                                 << QStringLiteral(
                                        "ケムリン式　Ver 1.0\n\nhttps://kemurin.example.jp/");
    }
    void whatTheCommandsTell() {
        QFETCH(QString, item);
        QFETCH(QByteArray, blogUrl);
        QFETCH(bool, browserOpens);
        QFETCH(QString, message);
        opensAddresses = browserOpens;
        env->writeFile(kOptionFile, optionLine(1, 1500, 1500).replace(kDefaultBlogUrl, blogUrl));
        MainWindow* main = env->startProgram();
        control<QAction>(main, item)->trigger();
        QCOMPARE(env->messages, QStringList(message));
        QVERIFY(main->isVisible());
    }

    // Its menu on the report is one of the journeys of the real program.
    void aDoubleClickOnTheMiniWindowsReportHidesItInTheTray() {
        env->writeFile(kOptionFile, OptionLine{.windowMode = 1}.bytes());
        env->startProgram();
        MiniWindow* mini = env->program->miniWindow();
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        MainWindow* main = env->program->mainWindow();
        QVERIFY(main && !main->isVisible());
        QVERIFY(control<QTimer>(main, QStringLiteral("refreshTimer"))->isActive());

        QTest::mouseDClick(control<QLabel>(mini, QStringLiteral("reportLabel")), Qt::LeftButton);
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
    // The mini window takes the main window's place the first time only; whichever of the two
    // closes first, both places are saved.
    void whicheverWindowClosesFirstBothPlacesAreSaved() {
        QFETCH(bool, miniFirst);
        QFETCH(bool, minimised);
        MainWindow* main = env->startProgram();
        main->move(200, 100);
        QTRY_COMPARE(main->pos(), QPoint(200, 100));
        trigger(main, "switchItem");
        MiniWindow* mini = env->program->miniWindow();
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        QVERIFY(!main->isVisible());
        QCOMPARE(mini->pos(), QPoint(200, 100));
        mini->move(60, 40);
        QTRY_COMPARE(mini->pos(), QPoint(60, 40));
        trigger(mini, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(!mini->isVisible());
        QCOMPARE(env->program->state().windowMode, 0);
        trigger(main, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        QCOMPARE(mini->pos(), QPoint(60, 40));
        QCOMPARE(env->program->state().windowMode, 1);

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

    // Help outliving the other windows is one of the journeys of the real program.
    void oneHelpWindowFillsItsText() {
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
        help->resize(300, 200);
        QTRY_COMPARE(text->geometry(), help->rect());
    }

private:
    std::unique_ptr<WindowTestEnvironment> env;
    QStringList opened;
    bool opensAddresses = true;
};

QTEST_MAIN(CounterWindowsTest)
#include "CounterWindowsTest.moc"
