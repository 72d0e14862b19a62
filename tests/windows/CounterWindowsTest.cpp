#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "engine/DailyMessages.h"
#include "platform/TrayIcon.h"
#include "platform/WebAddress.h"
#include "windows/HelpWindow.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"

#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A point of the main window's own surface, clear of every control.
const QPoint kMainSurface(2, 2);

QLabel* value(QWidget* window, const char* name) {
    return control<QLabel>(window, QLatin1String(name));
}

void trigger(QWidget* window, const char* item) {
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

    // In the settings' colours, at the screen's centre when the saved place is off it, and a
    // refresh every thirty seconds.
    void theMainWindowShowsTheFigures() {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size() * 15;
        env->writeFile(kOptionFile,
                       OptionLine{1, screen.width() - 4999, -300, 0x00332211, 0x00665544}.bytes());
        MainWindow* main = env->startProgram();
        QCOMPARE(main->pos(), QPoint(screen.width() / 2, screen.height() / 2) / 15);
        QCOMPARE(main->windowTitle(), u" ケムリン式 - pimaru"_s);
        QCOMPARE(cutOff(main), QString());
        const std::pair<const char*, QString> shown[] = {
            {"elapsedValue", u"０年０ヶ月５日０時間０分"_s},
            {"lifeValue", u"０日と９時間１０分"_s},
            {"moneyValue", u"1500円（節税分945円）"_s},
            {"statusValue", u"軍曹"_s},
            {"cigarettesValue", u"5箱 8.5ｍ 金剛力士立像吽形"_s},
            {"messageValue", dailyMessage(5)}};
        for (const auto& [name, text] : shown) {
            const QPalette colours = value(main, name)->palette();
            QCOMPARE(value(main, name)->text(), text);
            QCOMPARE(colours.color(QPalette::Window), QColor(0x11, 0x22, 0x33));
            QCOMPARE(colours.color(QPalette::WindowText), QColor(0x44, 0x55, 0x66));
        }
        QVERIFY(QFontInfo(value(main, "elapsedValue")->font()).family().contains(u"IPA"));
        QVERIFY(!env->program->miniWindow()->isVisible());
        auto* timer = control<QTimer>(main, u"refreshTimer"_s);
        QCOMPARE(timer->interval(), 30000);
        env->clock.set(QDateTime(QDate(2008, 8, 27), QTime(11, 30, 5)));
        timer->start(10);
        QTRY_COMPARE(value(main, "elapsedValue")->text(), u"０年０ヶ月６日１時間７分"_s);
    }

    // A click on the elapsed time toggles the detail view until the next refresh.
    void theDetailView() {
        env->clock.set(QDateTime(QDate(2009, 9, 24), QTime(13, 32)));
        MainWindow* main = env->startProgram();
        QLabel* elapsed = value(main, "elapsedValue");
        const QString normal = u"１年１ヶ月３日３時間９分"_s;
        QTest::mouseClick(value(main, "lifeValue"), Qt::LeftButton);
        QCOMPARE(elapsed->text(), normal);
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), u"３９９日３時間９分"_s);
        clickButton(main, u"copyButton"_s);
        QVERIFY(QGuiApplication::clipboard()->text().contains(u"からの日数： 399日 3時間 9分"_s));
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
        QCOMPARE(elapsed->text(), u"３９９日３時間９分"_s);
        QVERIFY(main->isVisible());
        // The mini window's report still tells the detail view the refresh ends, once.
        env->program->refresh();
        QCOMPARE(elapsed->text(), normal);
        QVERIFY(env->program->miniWindow()->reportText().contains(u"399日"));
        env->program->refresh();
        QVERIFY(!env->program->miniWindow()->reportText().contains(u"399日"));
    }

    // A double click on the window's own surface hides it in the tray, counting on; a left click
    // on the icon brings it back. Without a notification area it is minimised instead.
    void theTray() {
        MainWindow* main = env->startProgram();
        QTest::mouseDClick(value(main, "moneyValue"), Qt::LeftButton);
        QVERIFY(main->isVisible());
        QTest::mouseDClick(main, Qt::LeftButton, {}, kMainSurface);
        QVERIFY(!main->isVisible());
        auto* icon = main->findChild<QSystemTrayIcon*>(u"trayIcon"_s);
        QVERIFY(icon && icon->isVisible());
        QCOMPARE(icon->toolTip(), u"ケムリン式"_s);
        QVERIFY(control<QTimer>(main, u"refreshTimer"_s)->isActive());
        for (auto other : {QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick})
            emit icon->activated(other);
        QVERIFY(!main->isVisible());
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(!icon->isVisible());

        TrayIcon::assumeAvailable(false);
        QTest::mouseDClick(main, Qt::LeftButton, {}, kMainSurface);
        QTRY_VERIFY(main->isMinimized());
        QVERIFY(!icon->isVisible());
    }

    // The menu opens on the window's own surface only; its items do what the buttons do, and say
    // what went wrong.
    void theMenu() {
        MainWindow* main = env->startProgram();
        QMenu* menu = control<QMenu>(main, u"popupMenu"_s);
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

        for (const char* what : {"Button", "Item"}) {
            QGuiApplication::clipboard()->clear();
            for (const char* command : {"copy", "blog", "help"}) {
                if (*what == 'B')
                    clickButton(main, QLatin1String(command) + QLatin1String(what));
                else
                    trigger(main, QByteArray(command).append(what));
            }
            QCOMPARE(QGuiApplication::clipboard()->text(),
                     env->program->miniWindow()->reportText());
        }
        QCOMPARE(opened, QStringList(2, u"http://kemurin.example.jp/"_s));
        QCOMPARE(alive<HelpWindow>(), 1);
        QVERIFY(env->messages.isEmpty());

        opensAddresses = false;
        trigger(main, "blogItem");
        opensAddresses = true;
        env->program->state().blogUrl.clear();
        trigger(main, "blogItem");
        trigger(main, "versionItem");
        const QString error = u"エラーです。フォルダオプションの関連付けなどを確認してください"_s;
        QCOMPARE(
            env->messages,
            QStringList({error, error, u"ケムリン式　Ver 1.0\n\nhttps://kemurin.example.jp/"_s}));
        QVERIFY(main->isVisible());
    }

    void whicheverWindowClosesFirstBothPlacesAreSaved_data() {
        QTest::addColumn<bool>("miniFirst");
        QTest::addColumn<bool>("minimised");
        QTest::newRow("main window closed") << false << false;
        QTest::newRow("mini window closed") << true << false;
        QTest::newRow("minimised mini window closed") << true << true;
    }
    // The mini window takes the main window's place the first time only, hides in the tray as
    // the main window does, and shares one help window with it, which outlives them both.
    void whicheverWindowClosesFirstBothPlacesAreSaved() {
        QFETCH(bool, miniFirst);
        QFETCH(bool, minimised);
        MainWindow* main = env->startProgram();
        main->move(200, 100);
        QTRY_COMPARE(main->pos(), QPoint(200, 100));
        clickButton(main, u"helpButton"_s);
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
        QTest::mouseDClick(control<QLabel>(mini, u"reportLabel"_s), Qt::LeftButton);
        QVERIFY(!mini->isVisible());
        emit mini->findChild<QSystemTrayIcon*>(u"trayIcon"_s)->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        trigger(mini, "helpItem");

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

        QCOMPARE(alive<HelpWindow>(), 1);
        HelpWindow* help = env->program->helpWindow();
        QVERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), u" ケムリン式 - help"_s);
        auto* text = control<QPlainTextEdit>(help, u"helpText"_s);
        QVERIFY(text->toPlainText().contains(u"★★★２０：作者連絡先★★★"_s));
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
