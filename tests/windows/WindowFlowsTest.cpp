#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "platform/ColourDialog.h"
#include "platform/TrayIcon.h"
#include "platform/WebAddress.h"
#include "windows/GreetingWindow.h"
#include "windows/HelpWindow.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"
#include "windows/PromotionWindow.h"
#include "windows/SettingsWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QtTest>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Runs an action inside the event loop and tells whether the program ended by itself.
bool programEndsAfter(const std::function<void()>& action) {
    QObject giveUp; // gone with this call, so its timer cannot cut a later loop short
    QTimer::singleShot(0, action);
    QTimer::singleShot(500, &giveUp, [] { QCoreApplication::exit(1); });
    return QApplication::exec() == 0;
}

QLabel* label(QWidget* window, const char* name) {
    return control<QLabel>(window, QLatin1String(name));
}
QLineEdit* box(QWidget* window, const char* name) {
    return control<QLineEdit>(window, QLatin1String(name));
}
void trigger(QWidget* window, const char* item) {
    control<QAction>(window, QLatin1String(item))->trigger();
}
void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Counts how often a window is shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

// A point of the main window's own surface, clear of every control.
const QPoint kMainSurface(2, 2);

// The greeting's three pictures that show.
enum Pictures { None, Middle, BothSides };

// A first run from the setup window to the main window: the entry, how each window is accepted,
// the greeting the day brings and initial.ini as written.
struct FirstRun {
    const char* name;
    QDateTime now;
    const char* perDay;
    const char* price;
    int size;             // the size button clicked; -1: left alone
    Qt::Key key;          // pressed on each window instead of a click; Key_unknown: clicks
    const char* keyIn;    // the setup control it is pressed in
    const char* greeting; // its caption; empty: no greeting that day
    Pictures pictures;    // which of its three pictures show
    const char* written;  // initial.ini; empty: the disk is full
};

// A first-run window left, after accepting the windows before it: by a button, Enter on it, or
// the close box (no button).
struct Leaving {
    const char* name;
    int accepted;
    const char* button;
    bool enter;
};

} // namespace

Q_DECLARE_METATYPE(FirstRun)
Q_DECLARE_METATYPE(Leaving)

class WindowFlowsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env = std::make_unique<WindowTestEnvironment>();
        fakes = {};
        setWebAddressOpener([this](const QUrl& url) {
            fakes.opened << url.toString();
            return fakes.opensAddresses;
        });
        setColourChooser([this](const QColor& start) -> std::optional<QColor> {
            fakes.dialogStarts << start;
            return fakes.nextColours.isEmpty() ? std::nullopt
                                               : std::optional(fakes.nextColours.takeFirst());
        });
        TrayIcon::assumeAvailable(true);
    }
    void cleanup() {
        env.reset();
        setWebAddressOpener({});
        setColourChooser({});
        TrayIcon::assumeAvailable(std::nullopt);
    }

    void firstRun_data() {
        const char* eve = "クリスマスイブ - pmrsoft";
        const char* newYear = "謹賀新年 - pmrsoft";
        QTest::addColumn<FirstRun>("row");
        const QDateTime spring = at(2009, 3, 5, 7, 4);
        const Qt::Key click = Qt::Key_unknown, enter = Qt::Key_Enter, ret = Qt::Key_Return;
        const char* first = "perDayEdit";
        const FirstRun rows[] = {
            {"upper limits, long, Return in the first box", spring, "200", "2000", 2, ret, first,
             "", None, "2009,3,5,7,4,200,2000,100"},
            {"lower limits, short, 23:59:58", at(2010, 11, 30, 23, 59, 58), "1", "1", 0, click,
             first, "", None, "2010,11,30,23,59,1,1,50"},
            {"lenient, 26 December, keypad Enter on the size", at(2008, 12, 26, 0, 0), "1.9", "20x",
             1, enter, "sizeButton1", "", None, "2008,12,26,0,0,1,20,85"},
            {"24 December", at(2008, 12, 24, 23, 59, 58), "15", "410", -1, click, first, eve,
             Middle, "2008,12,24,23,59,15,410,85"},
            {"25 December", at(2008, 12, 25, 8, 0), "15", "410", -1, click, first,
             "メリークリスマス - pmrsoft", BothSides, "2008,12,25,8,0,15,410,85"},
            {"1 January, Return throughout", at(2009, 1, 1, 0, 0), "15", "410", -1, ret,
             "packPriceEdit", newYear, None, "2009,1,1,0,0,15,410,85"},
            {"3 January", at(2009, 1, 3, 23, 59), "15", "410", -1, click, first, newYear, None,
             "2009,1,3,23,59,15,410,85"},
            {"a full disk: told once, the figures entered shown", spring, "30", "440", -1, click,
             first, "", None, ""}};
        for (const FirstRun& r : rows)
            QTest::newRow(r.name) << r;
    }
    void firstRun() {
        QFETCH(FirstRun, row);
        env->clock.set(row.now);
        env->program->start();
        const QByteArray atStart = bothFiles();
        SetupWindow* setup = shown<SetupWindow>();
        QVERIFY(setup);
        QCOMPARE(cutOff(setup), QString());
        auto* perDay = box(setup, "perDayEdit");
        auto* price = box(setup, "packPriceEdit");
        const auto enter = [&](const QString& day, const QString& pack) {
            perDay->clear();
            price->clear();
            typeInto(perDay, day);
            typeInto(price, pack);
        };
        // Each bound refused with one message, the entry kept and nothing written.
        const QStringList refused[] = {{"0", "300"},   {"201", "300"}, {"20", ""},
                                       {"20", "2001"}, {"0", "2001"},  {"9e9", "1e99"}};
        for (const QStringList& entry : refused) {
            enter(entry[0], entry[1]);
            clickButton(setup, u"acceptButton"_s);
            QCOMPARE(env->messages, QStringList{u"有効範囲内にある半角数字を入れてください"_s});
            QCOMPARE(QStringList({perDay->text(), price->text()}), entry);
            QVERIFY(setup->isVisible() && !alive<StartConfirmWindow>());
            env->messages.clear();
        }
        if (row.size >= 0)
            QTest::mouseClick(control<QRadioButton>(setup, u"sizeButton%1"_s.arg(row.size)),
                              Qt::LeftButton);
        const auto accept = [&](QWidget* window, const QString& button, const char* focus) {
            if (row.key == Qt::Key_unknown)
                return clickButton(window, button);
            // A held key's repeats are ignored: only a fresh press acts.
            QWidget* focused = control<QWidget>(window, QLatin1String(focus));
            QKeyEvent repeat(QEvent::KeyPress, row.key, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(focused, &repeat);
            QTest::keyClick(focused, row.key);
        };
        const QPoint setupPos = setup->pos();
        QVERIFY(!programEndsAfter([&] {
            enter(QString::fromUtf8(row.perDay), QString::fromUtf8(row.price));
            accept(setup, u"acceptButton"_s, row.keyIn);
        }));
        QWidget* starting = shown<StartConfirmWindow>();
        QVERIFY(starting && env->messages.isEmpty());
        QCOMPARE(starting->pos(), setupPos);
        QCOMPARE(cutOff(starting), QString());
        QPoint mainPos = setupPos;
        if (*row.greeting) {
            accept(starting, u"startButton"_s, "startButton");
            starting = shown<GreetingWindow>();
            QVERIFY(starting);
            QCOMPARE(starting->pos(), setupPos);
            QCOMPARE(cutOff(starting), QString());
            QCOMPARE(starting->windowTitle(), QString::fromUtf8(row.greeting));
            const auto shows = [&](const char* name) {
                return label(starting, name)->isVisibleTo(starting);
            };
            const bool sides = shows("ornament0") && shows("ornament2");
            QCOMPARE(shows("ornament1") ? Middle : sides ? BothSides : None, row.pictures);
            // However long the greeting stays open, the count runs from the confirmation.
            env->clock.set(row.now.addDays(1));
            mainPos += QPoint(40, 30);
            starting->move(mainPos);
        }
        QCOMPARE(bothFiles(), atStart);

        const bool fullDisk = !*row.written;
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit full{0, saved.rlim_max};
        if (fullDisk)
            setrlimit(RLIMIT_FSIZE, &full);
        QVERIFY(!programEndsAfter([&] { accept(starting, u"startButton"_s, "startButton"); }));
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(alive<SetupWindow>() + alive<StartConfirmWindow>() + alive<GreetingWindow>(), 0);
        MainWindow* main = shown<MainWindow>();
        QVERIFY(main);
        QCOMPARE(main->pos(), mainPos);
        if (!fullDisk) {
            QVERIFY(env->messages.isEmpty());
            QCOMPARE(env->readFile(kInitialFile), QByteArray(row.written) + "\r\n");
            return;
        }
        QCOMPARE(env->messages.size(), 1);
        QVERIFY(env->messages[0].startsWith(u"設定を保存できませんでした。"_s));
        QCOMPARE(bothFiles(), atStart);
        // Memory stays ahead of the disk: a day on, the count is of the figures entered.
        env->clock.set(row.now.addDays(1));
        env->program->refresh();
        QCOMPARE(label(main, "moneyValue")->text().section(u'円', 0, 0), u"660"_s);
    }

    // Leaving any first-run window ends the program with nothing written: Enter on a button that
    // declines declines, and the close box leaves.
    void leavingTheFirstRun_data() {
        QTest::addColumn<Leaving>("row");
        for (const Leaving& r : {Leaving{"setup closed", 0, "", false},
                                 {"confirmation declined", 1, "declineButton0", false},
                                 {"Enter on the other decline button", 1, "declineButton1", true},
                                 {"confirmation closed", 1, "", false},
                                 {"greeting closed", 2, "", false}})
            QTest::newRow(r.name) << r;
    }
    void leavingTheFirstRun() {
        QFETCH(Leaving, row);
        env->clock.set(at(2008, 12, 24, 12, 0)); // a day with a greeting
        env->program->start();
        const QByteArray atStart = bothFiles();
        QWidget* window = shown<SetupWindow>();
        if (row.accepted > 0)
            window = acceptSetup(u"30"_s, u"440"_s);
        if (row.accepted > 1) {
            clickButton(window, u"startButton"_s);
            window = shown<GreetingWindow>();
        }
        QVERIFY(window);
        QVERIFY(programEndsAfter([&] {
            if (!*row.button)
                window->close();
            else if (row.enter)
                QTest::keyClick(control<QWidget>(window, QLatin1String(row.button)),
                                Qt::Key_Return);
            else
                clickButton(window, QLatin1String(row.button));
        }));
        QCOMPARE(alive<SetupWindow>() + alive<StartConfirmWindow>() + alive<GreetingWindow>() +
                     alive<MainWindow>(),
                 0);
        QCOMPARE(bothFiles(), atStart);
        QVERIFY(env->messages.isEmpty());
    }

    // The main window: in the settings' colours, at the screen's centre when the saved place is
    // off it, refreshed every thirty seconds. A click on the elapsed time toggles the detail view
    // until the next refresh; a double click on the window's own surface hides it in the tray,
    // and the right button opens the menu there; on a value neither acts.
    void theMainWindow() {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size() * 15;
        MainWindow* main =
            startCounting(OptionLine{1, screen.width() - 4999, -300, 0x00332211, 0x00665544});
        QCOMPARE(main->pos(), QPoint(screen.width() / 2, screen.height() / 2) / 15);
        QCOMPARE(cutOff(main), QString());
        for (const char* name : {"elapsedValue", "lifeValue", "moneyValue", "statusValue",
                                 "cigarettesValue", "messageValue"}) {
            const QPalette colours = label(main, name)->palette();
            QCOMPARE(colours.color(QPalette::Window), QColor(0x11, 0x22, 0x33));
            QCOMPARE(colours.color(QPalette::WindowText), QColor(0x44, 0x55, 0x66));
        }
        QVERIFY(!env->program->miniWindow()->isVisible());
        auto* timer = control<QTimer>(main, u"refreshTimer"_s);
        QCOMPARE(timer->interval(), 30000);
        env->clock.set(at(2009, 9, 24, 13, 32));
        timer->start(10);
        QLabel* elapsed = label(main, "elapsedValue");
        QTRY_COMPARE(elapsed->text(), u"１年１ヶ月３日３時間９分"_s);
        timer->start(30000);

        QTest::mouseClick(label(main, "lifeValue"), Qt::LeftButton);
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), u"３９９日３時間９分"_s);
        // As the desktop delivers a double click, the second press as the double click: one
        // toggle, and the window stays.
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QTest::mouseClick(elapsed, Qt::LeftButton);
        const QPointF at = elapsed->rect().center();
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, elapsed->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(elapsed, &twice);
        QTest::mouseRelease(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), u"３９９日３時間９分"_s);
        // The mini window's report still tells the detail view the refresh ends, once.
        env->program->refresh();
        QCOMPARE(elapsed->text(), u"１年１ヶ月３日３時間９分"_s);
        QVERIFY(env->program->miniWindow()->reportText().contains(u"399日"));
        env->program->refresh();
        QVERIFY(!env->program->miniWindow()->reportText().contains(u"399日"));

        QMenu* menu = control<QMenu>(main, u"popupMenu"_s);
        QTest::mousePress(label(main, "lifeValue"), Qt::RightButton);
        QTest::mouseDClick(label(main, "moneyValue"), Qt::LeftButton);
        QVERIFY(main->isVisible() && !menu->isVisible());
        QTest::mousePress(main, Qt::RightButton, {}, kMainSurface);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        QTest::mouseDClick(main, Qt::LeftButton, {}, kMainSurface);
        QVERIFY(!main->isVisible());
        auto* icon = main->findChild<QSystemTrayIcon*>(u"trayIcon"_s);
        QVERIFY(icon && icon->isVisible() && timer->isActive());
        for (auto other : {QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick})
            emit icon->activated(other);
        QVERIFY(!main->isVisible());
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(!icon->isVisible());
        // Without a notification area it is minimised instead.
        TrayIcon::assumeAvailable(false);
        QTest::mouseDClick(main, Qt::LeftButton, {}, kMainSurface);
        QTRY_VERIFY(main->isMinimized());
        QVERIFY(!icon->isVisible());
    }

    // The menu's items do what the buttons do, and say what went wrong. The mini window takes the
    // main window's place the first time only, hides in the tray as the main window does, and
    // shares one help window with it, which outlives them both.
    void theMenuAndTheMiniWindow() {
        MainWindow* main = startCounting();
        main->move(200, 100);
        QTRY_COMPARE(main->pos(), QPoint(200, 100));
        QGuiApplication::clipboard()->clear();
        for (const char* item : {"copyItem", "blogItem", "helpItem"})
            trigger(main, item);
        for (const char* button : {"blogButton", "helpButton"})
            clickButton(main, QLatin1String(button));
        QCOMPARE(QGuiApplication::clipboard()->text(), env->program->miniWindow()->reportText());
        QCOMPARE(fakes.opened, QStringList(2, u"http://kemurin.example.jp/"_s));
        QCOMPARE(alive<HelpWindow>(), 1);
        fakes.opensAddresses = false;
        trigger(main, "blogItem");
        fakes.opensAddresses = true;
        const QString blog = std::exchange(env->program->state().blogUrl, QString());
        trigger(main, "blogItem");
        env->program->state().blogUrl = blog;
        trigger(main, "versionItem");
        const QString error = u"エラーです。フォルダオプションの関連付けなどを確認してください"_s;
        QCOMPARE(
            env->messages,
            QStringList(
                {error, error,
                 u"ケムリン式　Ver 1.0\nCopyright (C) 2026 pimaru\n\nhttps://kemurin.example.jp/"_s}));
        MiniWindow* mini = env->program->miniWindow();
        trigger(main, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(mini) && !main->isVisible());
        QCOMPARE(mini->pos(), QPoint(200, 100));
        mini->move(60, 40);
        QTRY_COMPARE(mini->pos(), QPoint(60, 40));
        trigger(mini, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(main) && !mini->isVisible());
        QCOMPARE(env->program->state().windowMode, 0);
        trigger(main, "switchItem");
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        QCOMPARE(mini->pos(), QPoint(60, 40));
        QTest::mouseDClick(label(mini, "reportLabel"), Qt::LeftButton);
        QVERIFY(!mini->isVisible());
        emit mini->findChild<QSystemTrayIcon*>(u"trayIcon"_s)->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        trigger(mini, "helpItem");

        ShowCounter counter;
        main->installEventFilter(&counter);
        main->close(); // the journey of the real program closes from the mini window
        QTRY_COMPARE(alive<MainWindow>() + alive<MiniWindow>(), 0);
        QCOMPARE(counter.shows, 0); // the hidden window is not flashed on screen
        const OptionLine both{
            .mainLeft = 3000, .mainTop = 1500, .windowMode = 1, .miniLeft = 900, .miniTop = 600};
        QCOMPARE(env->readFile(kOptionFile), both.bytes());
        QCOMPARE(alive<HelpWindow>(), 1);
        QVERIFY(env->program->helpWindow()->isVisible());
    }

    // From the main window or the mini window, the settings open where the main window stood,
    // filled from the settings. A save refused, or failing on either file, writes nothing and
    // keeps the edits and the running figures; one that goes through writes both files and brings
    // back the window in use. An edited address is stored as the file can hold it; one left
    // alone keeps its bytes, even those code page 932 has no character for. The colour dialog
    // starts on the colour it gave last; cancelled, it changes nothing.
    void settingsSaveBothFiles_data() {
        QTest::addColumn<bool>("mini");
        QTest::newRow("main window, address edited, initial.ini blocked") << false;
        QTest::newRow("mini window, odd bytes left alone, option.ini blocked") << true;
    }
    void settingsSaveBothFiles() {
        QFETCH(bool, mini);
        const QByteArray odd("x/\x85\x40\x80");
        SettingsWindow* settings =
            openSettings(OptionLine{
                .mainLeft = 1500, .mainTop = 900, .windowMode = mini ? 1 : 2, .miniLeft = 4500}
                             .bytes()
                             .replace(kDefaultBlogUrl, mini ? odd : kDefaultBlogUrl));
        QVERIFY(settings);
        QCOMPARE(alive<MainWindow>() + alive<MiniWindow>(), 0);
        QCOMPARE(settings->pos(), QPoint(100, 60));
        QCOMPARE(cutOff(settings), QString());
        QStringList shown;
        for (const char* name : {"yearEdit", "monthEdit", "dayEdit", "hourEdit", "minuteEdit"})
            shown << box(settings, name)->text();
        QCOMPARE(shown.join(u' '), u"2026 11 1 9 0"_s);
        // The smoking years box follows the copy choice at once.
        QLineEdit* years = box(settings, "smokingYearsEdit");
        QVERIFY(!years->isEnabled());
        QTest::mouseClick(control<QRadioButton>(settings, u"copyPlus1"_s), Qt::LeftButton);
        QVERIFY(!years->isEnabled());
        QTest::mouseClick(control<QRadioButton>(settings, u"copyPlus2"_s), Qt::LeftButton);
        QVERIFY(years->isEnabled());
        retype(box(settings, "dayEdit"), u"2"_s);
        retype(box(settings, "perDayEdit"), u"40"_s);
        retype(box(settings, "consumptionTaxEdit"), u"10"_s);
        if (!mini)
            box(settings, "blogUrlEdit")->setText(u" example.jp/?q=\"煙\"😀 "_s);
        fakes.nextColours = {QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)};
        clickButton(settings, u"textColourButton"_s);
        clickButton(settings, u"backColourButton"_s);
        clickButton(settings, u"backColourButton"_s); // cancelled
        QCOMPARE(fakes.dialogStarts,
                 QList<QColor>({Qt::black, QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)}));
        QTest::mouseClick(control<QRadioButton>(settings, u"size2"_s), Qt::LeftButton);
        control<QComboBox>(settings, u"statusModeBox"_s)->setCurrentIndex(1);
        settings->move(150, 120);
        QTRY_COMPARE(settings->pos(), QPoint(150, 120));

        const QString blocked = env->appDir() + u'/' + (mini ? kOptionFile : kInitialFile);
        for (const QString& message : {u"有効範囲内にある半角数字を入れてください"_s, blocked}) {
            retype(years, message == blocked ? u"5"_s : u"0"_s);
            if (message == blocked)
                QVERIFY(QFile::remove(blocked) && QDir().mkdir(blocked)); // a folder in its place
            const QByteArray before = bothFiles();
            clickButton(settings, u"saveButton"_s);
            QCOMPARE(env->messages.size(), 1);
            QVERIFY2(env->messages.takeFirst().contains(message.section(u'/', -1)),
                     qPrintable(message));
            QCOMPARE(bothFiles(), before);
            QVERIFY(settings->isVisible());
            QCOMPARE(env->program->state().perDay, 20);
        }
        QVERIFY(QDir().rmdir(blocked));
        QTest::keyClick(box(settings, "perDayEdit"), Qt::Key_Return);

        QVERIFY(env->messages.isEmpty());
        QCOMPARE(env->readFile(kInitialFile), QByteArray("2026,11,2,9,0,40,300,100\r\n"));
        QCOMPARE(env->readFile(kOptionFile),
                 "1,8744,10,2,5,1,2250,1800,6706500,3351057,\"" +
                     (mini ? odd : QByteArray("example.jp/?q=%22\x89\x8c%22%F0%9F%98%80")) + "\"," +
                     (mini ? '1' : '2') + ",4500,0,\"\x83\x52\x83\x58\x83\x82\"\r\n");
        QTRY_COMPARE(alive<SettingsWindow>(), 0);
        MainWindow* main = env->program->mainWindow();
        QCOMPARE(main->isVisible(), !mini);
        QCOMPARE(env->program->miniWindow()->isVisible(), mini);
        QCOMPARE(main->pos(), QPoint(150, 120));
        QCOMPARE(label(main, "statusValue")->text(), u"日本列島"_s);
    }

    // The promotion window brings back fresh settings; Cancel, Enter on it and the close box
    // leave them alike: nothing written, the main window back in its old colours.
    void settingsLeftWriteNothing() {
        SettingsWindow* settings = openSettings();
        const QByteArray before = bothFiles();
        retype(box(settings, "perDayEdit"), u"40"_s);
        clickButton(settings, u"promotionButton"_s);
        QTRY_COMPARE(alive<SettingsWindow>(), 0);
        PromotionWindow* promotion = shown<PromotionWindow>();
        QVERIFY(promotion);
        QCOMPARE(promotion->pos(), QPoint(100, 100));
        const QString text = control<QPlainTextEdit>(promotion, u"promotionText"_s)->toPlainText();
        QVERIFY(text.contains(u"\nhttps://kemurin.example.jp/minkemu/\n↓下のボタン"_s));
        clickButton(promotion, u"pageButton"_s);
        QCOMPARE(fakes.opened, QStringList(u"https://kemurin.example.jp/minkemu/"_s));
        clickButton(promotion, u"closeButton"_s);
        QTRY_COMPARE(alive<PromotionWindow>(), 0);
        for (const QString& how : {u"click"_s, u"enter"_s, u"close"_s}) {
            settings = shown<SettingsWindow>();
            QVERIFY(settings && alive<MainWindow>() == 0);
            QCOMPARE(box(settings, "perDayEdit")->text(), u"20"_s);
            fakes.nextColours = {Qt::red};
            clickButton(settings, u"backColourButton"_s);
            retype(box(settings, "perDayEdit"), u"40"_s);
            auto* cancel = control<QPushButton>(settings, u"cancelButton"_s);
            if (how == u"click")
                QTest::mouseClick(cancel, Qt::LeftButton);
            else if (how == u"enter")
                QTest::keyClick(cancel, Qt::Key_Return);
            else
                settings->close();
            QTRY_COMPARE(alive<SettingsWindow>(), 0);
            QCOMPARE(bothFiles(), before);
            MainWindow* main = shown<MainWindow>();
            QVERIFY2(main, qPrintable(how));
            QCOMPARE(label(main, "moneyValue")->palette().color(QPalette::Window),
                     QColor(28, 3, 141));
            trigger(main, "settingsItem");
        }
    }

    // A quick double click on 設定 reaches the main window while it closes: one settings window,
    // so that saving in a stale second one cannot undo the first one's save.
    void settingsOpenOnce() {
        MainWindow* main = startCounting();
        clickButton(main, u"settingsButton"_s);
        clickButton(main, u"settingsButton"_s);
        QCOMPARE(alive<SettingsWindow>(), 1);
        QVERIFY(shown<SettingsWindow>());
    }

private:
    // Both files as they stand.
    QByteArray bothFiles() const {
        return env->readFile(kInitialFile) + env->readFile(kOptionFile);
    }

    // A count started on 21 August 2008, five days before the clock's default.
    MainWindow* startCounting(const OptionLine& option = {1, 1500, 1500}) {
        env->writeSettings("2008,8,21,10,23,20,300,85\r\n", option.bytes());
        env->program->start();
        MainWindow* main = env->program->mainWindow();
        return QTest::qWaitForWindowExposed(main) ? main : nullptr;
    }

    // The settings, opened on 6 December 2026 from the counter window the option line puts up.
    SettingsWindow* openSettings(const QByteArray& option = optionLine(1, 1500, 1500)) {
        env->clock.set(at(2026, 12, 6, 15, 30, 20));
        env->writeSettings("2026,11,1,9,0,20,300,85\r\n", option);
        env->program->start();
        trigger(shown<CounterWindow>(), "settingsItem");
        SettingsWindow* settings = shown<SettingsWindow>();
        return settings && QTest::qWaitForWindowExposed(settings) ? settings : nullptr;
    }

    std::unique_ptr<WindowTestEnvironment> env;
    // What the program asked of the desktop: addresses to open, colours to choose.
    struct Fakes {
        QStringList opened;
        bool opensAddresses = true;
        QList<QColor> dialogStarts, nextColours;
    } fakes;
};

QTEST_MAIN(WindowFlowsTest)
#include "WindowFlowsTest.moc"
