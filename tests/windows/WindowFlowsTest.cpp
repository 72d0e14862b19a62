#include "WindowTestSupport.h"

#include "desktop/ColourDialog.h"
#include "desktop/Manual.h"
#include "desktop/MessageBox.h"
#include "desktop/TrayIcon.h"
#include "system/DiskFault.h"
#include "system/ShowRequests.h"
#include "windows/GreetingWindow.h"
#include "windows/MiniWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSystemTrayIcon>

#include <csignal>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// A point of the main window's own surface, clear of every control.
const QPoint kMainSurface(2, 2);

// A first run to the main window: the entry, how windows are accepted, the day's greeting.
struct FirstRun {
    const char* name;
    QDateTime now;
    const char *perDay, *price;
    int size;             // the size button clicked; -1: left alone
    Qt::Key key;          // pressed on each window instead of a click; Key_unknown: clicks
    const char* keyIn;    // the setup control it is pressed in
    const char* greeting; // its caption; empty: no greeting that day
    const char* pictures; // which of its three pictures show, as 0/1 flags
    const char* written;  // initial.ini
};

// The main window on a day; ducks as 0/1 flags, the bar -1 when hidden.
struct MainView {
    int day;
    const char* title;
    int lung;
    const char *ducks, *happyDucks;
    int bar;
};

// A command from a menu item or button, the blog address (null: the default), what it opens.
struct Command {
    const char* name;
    bool mini;
    const char* command;
    bool opens;
    const char *blogUrl, *opened, *message;
};

// The report copied five days into the count started by env->startCounting().
const QString kReport =
    u"ステータス： 軍曹|ケムリン日： 2008年 8月 21日|"
    u"ケムリンからの日数： 0年 0ヶ月 5日 0時間 0分|延びた寿命： 0日と9時間10分|"
    u"節約できた金額： 1500円（節税分945円）|節煙本数： 5箱 8.5ｍ 金剛力士立像吽形"_s;
} // namespace

Q_DECLARE_METATYPE(FirstRun)
Q_DECLARE_METATYPE(Command)

const QString kRestartQuestion = u"禁煙を始めた日時が後になります。"_s;

class WindowFlowsTest : public WindowTest {
    Q_OBJECT

private slots:
    void init() {
        WindowTest::init();
        dialogStarts.clear();
        nextColours.clear();
        setColourChooser([this](const QColor& start) -> std::optional<QColor> {
            dialogStarts << start;
            return nextColours.isEmpty() ? std::nullopt : std::optional(nextColours.takeFirst());
        });
    }
    void cleanup() {
        WindowTest::cleanup();
        setColourChooser({});
    }

    void firstRun_data() {
        const char* eve = "クリスマスイブ - pmrsoft";
        const char* newYear = "謹賀新年 - pmrsoft";
        QTest::addColumn<FirstRun>("row");
        const Qt::Key click = Qt::Key_unknown, enter = Qt::Key_Enter, ret = Qt::Key_Return;
        const char* first = "perDayEdit";
        const FirstRun rows[] = {
            {"upper limits, long, Return in the first box", at(2009, 3, 5, 7, 4), "200", "2000", 2,
             ret, first, "", "000", "2009,3,5,7,4,200,2000,100"},
            {"lower limits, short, 23:59:58", at(2010, 11, 30, 23, 59, 58), "1", "1", 0, click,
             first, "", "000", "2010,11,30,23,59,1,1,50"},
            {"lenient, 26 December, keypad Enter on the size", at(2008, 12, 26, 0, 0), "1.9", "20x",
             1, enter, "sizeButton1", "", "000", "2008,12,26,0,0,1,20,85"},
            {"24 December", at(2008, 12, 24, 23, 59, 58), "15", "410", -1, click, first, eve, "010",
             "2008,12,24,23,59,15,410,85"},
            {"25 December", at(2008, 12, 25, 8, 0), "15", "410", -1, click, first,
             "メリークリスマス - pmrsoft", "101", "2008,12,25,8,0,15,410,85"},
            {"1 January, Return throughout", at(2009, 1, 1, 0, 0), "15", "410", -1, ret,
             "packPriceEdit", newYear, "000", "2009,1,1,0,0,15,410,85"},
            {"3 January", at(2009, 1, 3, 23, 59), "15", "410", -1, click, first, newYear, "000",
             "2009,1,3,23,59,15,410,85"}};
        for (const FirstRun& r : rows)
            QTest::newRow(r.name) << r;
    }
    void firstRun() {
        QFETCH(FirstRun, row);
        env->clock.set(row.now);
        env->program->start();
        const QByteArray atStart = env->bothFiles();
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
            clickButton(setup, u"sizeButton%1"_s.arg(row.size));
        const auto accept = [&](QWidget* window, const QString& button, const char* focus) {
            if (row.key == Qt::Key_unknown)
                return clickButton(window, button);
            QTest::keyClick(control<QWidget>(window, QLatin1String(focus)), row.key);
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
            QString pictures;
            for (const char* name : {"ornament0", "ornament1", "ornament2"})
                pictures += label(starting, name)->isVisibleTo(starting) ? u'1' : u'0';
            QCOMPARE(pictures, QString::fromLatin1(row.pictures));
            // However long the greeting stays open, the count runs from the confirmation.
            env->clock.set(row.now.addDays(1));
            mainPos += QPoint(40, 30);
            starting->move(mainPos);
        }
        QCOMPARE(env->bothFiles(), atStart);
        QVERIFY(!programEndsAfter([&] { accept(starting, u"startButton"_s, "startButton"); }));
        QCOMPARE((alive<SetupWindow, StartConfirmWindow, GreetingWindow>()), 0);
        MainWindow* main = shown<MainWindow>();
        QVERIFY(main);
        QCOMPARE(main->pos(), mainPos);
        QVERIFY(env->messages.isEmpty());
        QCOMPARE(env->readFile(kInitialFile), QByteArray(row.written) + "\r\n");
    }

    // The main window on each day that changes it (lungs red by day 25, pale to day 39; ducks on
    // 11, 22, 33, happy on 44, 55, 66), in the chosen colours, centred when off screen.
    void theMainWindowByDay() {
        const MainView rows[] = {
            {0, "２等兵", 0x050000, "000", "000", 0}, {10, "少尉", 0x690000, "000", "000", 30},
            {11, "少尉", 0x730000, "100", "000", 0},  {21, "大佐", 0xd70000, "100", "000", 30},
            {22, "少将", 0xe10000, "101", "000", 0},  {25, "少将", 0xff0000, "101", "000", 9},
            {26, "中将", 0xff0a0a, "101", "000", 12}, {32, "大将", 0xff4646, "101", "000", 30},
            {33, "大将", 0xff5050, "111", "000", -1}, {39, "大将", 0xff8c8c, "111", "000", -1},
            {43, "大将", 0xff8c8c, "111", "000", -1}, {44, "大将", 0xff8c8c, "011", "100", -1},
            {54, "大将", 0xff8c8c, "011", "100", -1}, {55, "大将", 0xff8c8c, "010", "101", -1},
            {65, "元帥", 0xff8c8c, "010", "101", -1}, {66, "元帥", 0xff8c8c, "000", "111", -1}};
        env->clock.set(at(2008, 8, 21, 10, 23));
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size() * 15;
        MainWindow* main =
            env->startCounting(OptionLine{1, screen.width() - 4999, -300, 0x00332211, 0x00665544});
        QCOMPARE(main->pos(), QPoint(screen.width() / 2, screen.height() / 2) / 15);
        for (const MainView& row : rows) {
            env->refreshAt(at(2008, 8, 21, 10, 23).addDays(row.day));
            QCOMPARE(cutOff(main), QString());
            for (const char* name : {"elapsedValue", "lifeValue", "moneyValue", "statusValue",
                                     "cigarettesValue", "messageValue"}) {
                const QPalette colours = label(main, name)->palette();
                QCOMPARE(colours.color(QPalette::Window), QColor(0x11, 0x22, 0x33));
                QCOMPARE(colours.color(QPalette::WindowText), QColor(0x44, 0x55, 0x66));
            }
            // Each picture shown (1) at its place (x: elsewhere), lower once all three ducks came.
            QString ducks, happy;
            for (int i = 0; i < 3; ++i) {
                const auto place = [&](const QString& name, QString& seen) {
                    const QLabel* picture = control<QLabel>(main, name.arg(i));
                    const QPoint at(136 + 36 * i, row.day >= 33 ? 190 : 180);
                    seen += !picture->isVisibleTo(main)           ? u'0'
                            : picture->geometry().topLeft() == at ? u'1'
                                                                  : u'x';
                };
                place(u"duck%1"_s, ducks);
                place(u"happyDuck%1"_s, happy);
            }
            const QPoint lung = control<QWidget>(main, u"lungLeft"_s)->geometry().center();
            const auto* bar = control<QProgressBar>(main, u"milestoneProgress"_s);
            const QString view = u"day %1: %2 %3 %4 %5 %6"_s.arg(row.day);
            QCOMPARE(view.arg(label(main, "statusValue")->text(),
                              main->grab().toImage().pixelColor(lung).name(), ducks, happy)
                         .arg(bar->isVisibleTo(main) ? bar->value() : -1),
                     view.arg(QString::fromUtf8(row.title), QColor(QRgb(row.lung)).name(),
                              QString::fromLatin1(row.ducks), QString::fromLatin1(row.happyDucks))
                         .arg(row.bar));
        }
        QVERIFY(env->messages.isEmpty());
    }

    // A click on the elapsed time toggles its detail view, a double click once, a refresh ends
    // it. A double click on the surface hides the window in the tray or, with none, minimises it.
    void theMainWindowClicks() {
        MainWindow* main = env->startCounting();
        auto* timer = control<QTimer>(main, u"refreshTimer"_s);
        QVERIFY(timer->isActive() && timer->interval() == 30000); // the figures move on each 30 s
        env->clock.set(at(2009, 9, 24, 14, 32)); // hours unlike days, so one cannot pass for other
        timer->start(10);
        QLabel* elapsed = label(main, "elapsedValue");
        const QString plain = u"１年１ヶ月３日４時間９分"_s, detailed = u"３９９日４時間９分"_s;
        QTRY_COMPARE(elapsed->text(), plain);
        timer->start(30000);
        // Another value clicked (o), the time clicked (l), right- (r) or double-clicked (d), a
        // refresh (R); then the view: Plain or Detailed.
        const QString steps = u"oPlDlPrPdDlPdDRPlD"_s;
        for (qsizetype i = 0; i < steps.size(); i += 2) {
            const QChar act = steps[i];
            if (act == u'o')
                QTest::mouseClick(label(main, "lifeValue"), Qt::LeftButton);
            if (act == u'l' || act == u'r' || act == u'd')
                QTest::mouseClick(elapsed, act == u'r' ? Qt::RightButton : Qt::LeftButton);
            if (act == u'd') {
                const QPointF at = elapsed->rect().center();
                QMouseEvent twice(QEvent::MouseButtonDblClick, at, elapsed->mapToGlobal(at),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(elapsed, &twice);
                QTest::mouseRelease(elapsed, Qt::LeftButton);
            }
            if (act == u'R')
                env->program->refresh();
            // The copy tells the elapsed time as the window shows it.
            const bool detail = steps[i + 1] == u'D';
            clickButton(main, u"copyButton"_s);
            QVERIFY2(elapsed->text() == (detail ? detailed : plain) &&
                         QGuiApplication::clipboard()->text().contains(
                             detail ? u"日数： 399日 4時間"_s : u"日数： 1年 1ヶ月 3日 4時間"_s),
                     qPrintable(steps.left(i + 2)));
        }
        // Seen in the mini window, in its colours: the detail view the refresh ended, the plain
        // one.
        for (const char* days : {"399日", "1年 1ヶ月 3日"}) {
            env->program->refresh();
            QVERIFY(elapsed->text() == plain && !shown<MiniWindow>());
            trigger(main, "switchItem");
            MiniWindow* mini = env->program->miniWindow();
            QVERIFY(QTest::qWaitForWindowExposed(mini));
            QCOMPARE(mini->pos(), main->pos()); // until the mini window has a place of its own
            QLabel* report = label(mini, "reportLabel");
            QVERIFY2(report->text().contains(QString::fromUtf8(days)), days);
            QCOMPARE(report->palette().color(QPalette::WindowText), QColor(Qt::white));
            trigger(mini, "switchItem");
            QVERIFY(QTest::qWaitForWindowExposed(main));
        }
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
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(QTest::qWaitForWindowExposed(main) && !icon->isVisible());
        TrayIcon::assumeAvailable(false);
        QTest::mouseDClick(main, Qt::LeftButton, {}, kMainSurface);
        QTRY_VERIFY(main->isMinimized());
        QVERIFY(!icon->isVisible());
        askRunningProgramToShow();
        QTRY_VERIFY(main->isVisible() && !main->isMinimized());
    }

    // Each command of the counter windows: what it opens, copies and tells.
    void commands_data() {
        const char* blog = "http://kemurin.example.jp/";
        const char* error = "エラーです。フォルダオプションの関連付けなどを確認してください";
        const char* version =
            "ケムリン式　Ver 1.0\nCopyright (C) 2026 pimaru\n\nhttps://kemurin.example.jp/";
        QTest::addColumn<Command>("row");
        for (const Command& r :
             {Command{"copy item", false, "copyItem", true, nullptr, "", ""},
              {"help button", false, "helpButton", true, nullptr, "", ""},
              {"blog button, https", false, "blogButton", true, "https://myblog.example.org/kinen",
               "https://myblog.example.org/kinen", ""},
              {"blog refused", true, "blogItem", false, nullptr, blog, error},
              {"no blog address", false, "blogItem", true, "", "", error},
              {"mini help", true, "helpItem", true, nullptr, "", ""},
              {"mini version", true, "versionItem", true, nullptr, "", version}})
            QTest::newRow(r.name) << r;
    }
    void commands() {
        QFETCH(Command, row);
        env->startCounting({1, 1500, 1500, 9241372, 16777215, row.mini ? 1 : 0});
        if (row.blogUrl)
            env->program->state().blogUrl = QString::fromUtf8(row.blogUrl);
        env->opens = row.opens;
        QGuiApplication::clipboard()->setText(u"before"_s);
        QWidget* window = shown<CounterWindow>();
        const auto give = [&] {
            if (QByteArray(row.command).endsWith("Button"))
                clickButton(window, QLatin1String(row.command));
            else
                trigger(window, row.command);
        };
        give();
        QCOMPARE(env->messages,
                 *row.message ? QStringList(QString::fromUtf8(row.message)) : QStringList());
        QCOMPARE(env->opened.join(u' '), QString::fromUtf8(row.opened));
        QCOMPARE(QGuiApplication::clipboard()->text().split(u"\r\n"_s).join(u'|'),
                 QByteArray(row.command).startsWith("copy") ? kReport : u"before"_s);
        HelpWindow* help = env->program->helpWindow();
        QCOMPARE(help && help->isVisible(), QByteArray(row.command).startsWith("help"));
        if (!help)
            return;
        // The manual as a user of this system reads it; asked for again, minimised, it comes back.
        const auto* helpText = control<QPlainTextEdit>(help, u"helpText"_s);
        QVERIFY(helpText->isReadOnly() && helpText->toPlainText() == manual());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        help->showMinimized();
        QTRY_VERIFY(help->isMinimized());
        give();
        QTRY_VERIFY(help->isVisible() && !help->isMinimized());
    }

    // Each system's manual tells its own commands and places, none of the other's, no markers.
    void manualForEachSystem() {
        const struct {
            ManualSystem system;
            QStringList needed, foreign;
        } rows[] = {{ManualSystem::Windows,
                     {u"kemurin.exe を\nダブルクリック"_s, u"「shell:startup」と入れて"_s},
                     {u"xdg-"_s, u"apt "_s, u"~/"_s, u"Debian"_s}},
                    {ManualSystem::Linux,
                     {u"xdg-settings get default-web-browser"_s, u"sudo apt remove kemurin"_s},
                     {u"shell:"_s, u"kemurin.exe"_s, u"作業フォルダー"_s, u"レジストリ"_s}}};
        for (const auto& row : rows) {
            const QString text = manual(row.system);
            QVERIFY(text.count(u"★★★"_s) == 40 &&
                    !text.contains(u"\n#"_s)); // all sections, no markers
            for (const QString& sentence : row.needed)
                QVERIFY2(text.contains(sentence), qPrintable(sentence));
            for (const QString& word : row.foreign)
                QVERIFY2(!text.contains(word), qPrintable(word));
        }
    }

    // A save refused or failing writes nothing; one that goes through writes both files.
    void settingsSaveBothFiles_data() {
        QTest::addColumn<bool>("mini");
        QTest::newRow("main window, address edited, initial.ini blocked") << false;
        QTest::newRow("mini window, odd bytes left alone, option.ini blocked") << true;
    }
    void settingsSaveBothFiles() {
        QFETCH(bool, mini);
        const QByteArray odd("x/\x85\x40\x80");
        const OptionLine option{1,    1500, 900,         9241372, 16777215, mini ? 1 : 2,
                                4500, 0,    mini ? 2 : 0};
        SettingsWindow* settings =
            openSettings(option.bytes().replace(kDefaultBlogUrl, mini ? odd : kDefaultBlogUrl));
        QVERIFY(settings);
        QCOMPARE((alive<MainWindow, MiniWindow>()), 0);
        QCOMPARE(settings->pos(), QPoint(100, 60));
        QCOMPARE(cutOff(settings), QString());
        // The smoking years box follows the saved copy choice, then each click at once.
        QLineEdit* years = box(settings, "smokingYearsEdit");
        QCOMPARE(years->isEnabled(), mini);
        clickButton(settings, u"copyPlus1"_s);
        QVERIFY(!years->isEnabled());
        clickButton(settings, u"copyPlus2"_s);
        QVERIFY(years->isEnabled());
        retype(box(settings, "dayEdit"), u"2"_s);
        retype(box(settings, "perDayEdit"), u"40"_s);
        retype(box(settings, "consumptionTaxEdit"), u"10"_s);
        if (!mini)
            box(settings, "blogUrlEdit")->setText(u" example.jp/?q=\"煙\"😀 "_s);
        // The sample shows the saved colours, then the chosen ones, as background and text.
        const QPalette& sample = label(settings, "colourSample")->palette();
        const auto sampleShows = [&](QColor back, QColor text) {
            return sample.color(QPalette::Window) == back &&
                   sample.color(QPalette::WindowText) == text;
        };
        QVERIFY(sampleShows(QColor(28, 3, 141), Qt::white));
        nextColours = {QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)};
        clickButton(settings, u"textColourButton"_s);
        clickButton(settings, u"backColourButton"_s);
        clickButton(settings, u"backColourButton"_s); // cancelled
        QCOMPARE(dialogStarts,
                 QList<QColor>({Qt::black, QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)}));
        QVERIFY(sampleShows(QColor(0x44, 0x55, 0x66), QColor(0x11, 0x22, 0x33)));
        clickButton(settings, u"size2"_s);
        control<QComboBox>(settings, u"statusModeBox"_s)->setCurrentIndex(1);
        settings->move(150, 120);
        QTRY_COMPARE(settings->pos(), QPoint(150, 120));
        const QString blocked = env->appDir() + u'/' + (mini ? kOptionFile : kInitialFile);
        for (const QString& message : {u"有効範囲内にある半角数字を入れてください"_s, blocked}) {
            retype(years, message == blocked ? u"5"_s : u"0"_s);
            if (message == blocked)
                QVERIFY(QFile::remove(blocked) && QDir().mkdir(blocked)); // a folder in its place
            const QByteArray before = env->bothFiles();
            clickButton(settings, u"saveButton"_s);
            // The start moved a day later: keeping the day that ended is asked, answered いいえ.
            if (message == blocked)
                QVERIFY(env->messages.takeFirst().startsWith(kRestartQuestion));
            QCOMPARE(env->messages.size(), 1);
            QVERIFY2(env->messages.takeFirst().contains(message.section(u'/', -1)),
                     qPrintable(message));
            QCOMPARE(env->bothFiles(), before);
            QVERIFY(settings->isVisible());
            QCOMPARE(env->program->state().perDay, 20);
        }
        QVERIFY(QDir().rmdir(blocked));
        QTest::keyClick(box(settings, "perDayEdit"), Qt::Key_Return);
        QCOMPARE(env->messages.size(), 1);
        QVERIFY(env->messages.takeFirst().startsWith(kRestartQuestion));
        QCOMPARE(env->readFile(kInitialFile), QByteArray("2026,11,2,9,0,40,300,100\r\n"));
        QCOMPARE(env->readFile(kOptionFile),
                 "1,8744,10,2,5,1,2250,1800,6706500,3351057,\"" +
                     (mini ? odd : QByteArray("example.jp/?q=%22\x89\x8c%22%F0%9F%98%80")) + "\"," +
                     (mini ? '1' : '2') + ",4500,0,\"\x83\x52\x83\x58\x83\x82\"\r\n");
        QTRY_COMPARE(alive<SettingsWindow>(), 0);
        MainWindow* main = env->program->mainWindow();
        QCOMPARE(main->isVisible(), !mini);
        QCOMPARE(env->program->miniWindow() && env->program->miniWindow()->isVisible(), mini);
        QCOMPARE(main->pos(), QPoint(150, 120));
        QCOMPARE(label(main, "statusValue")->text(), u"日本列島"_s);
        // A save committed that the disk will not yet put in place closes the settings, told.
        trigger(::shown<CounterWindow>(), "settingsItem");
        setDiskFault([](DiskCall call, const QString& path) {
            return call == DiskCall::Rename && path.endsWith(u"/option.ini"_s);
        });
        clickButton(::shown<SettingsWindow>(), u"saveButton"_s);
        setDiskFault({});
        QVERIFY(env->messages.value(0).startsWith(u"設定は保存しましたが"_s));
        QVERIFY(!::shown<SettingsWindow>() && env->messages.size() == 1);
    }

    // The promotion window brings back fresh settings; Cancel, Enter on it, the close box and a
    // session's end (SIGHUP) write nothing; only the last brings back no window.
    void settingsLeftWriteNothing() {
        SettingsWindow* settings = openSettings();
        const QByteArray before = env->bothFiles();
        retype(box(settings, "perDayEdit"), u"40"_s);
        clickButton(settings, u"promotionButton"_s);
        QTRY_COMPARE(alive<SettingsWindow>(), 0);
        PromotionWindow* promotion = shown<PromotionWindow>();
        QVERIFY(promotion);
        QCOMPARE(promotion->pos(), QPoint(100, 100));
        clickButton(promotion, u"closeButton"_s);
        QTRY_COMPARE(alive<PromotionWindow>(), 0);
        for (const QString& how : {u"click"_s, u"enter"_s, u"close"_s}) {
            settings = shown<SettingsWindow>();
            QVERIFY(settings && alive<MainWindow>() == 0);
            QCOMPARE(box(settings, "perDayEdit")->text(), u"20"_s);
            nextColours = {Qt::red};
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
            QCOMPARE(env->bothFiles(), before);
            MainWindow* main = shown<MainWindow>();
            QVERIFY2(main, qPrintable(how));
            QCOMPARE(label(main, "moneyValue")->palette().color(QPalette::Window),
                     QColor(28, 3, 141));
            // A quick double click on 設定 opens one settings window, not a stale second one.
            clickButton(main, u"settingsButton"_s);
            clickButton(main, u"settingsButton"_s);
            QCOMPARE(alive<SettingsWindow>(), 1);
        }
        settings = shown<SettingsWindow>();
        retype(box(settings, "perDayEdit"), u"40"_s);
        settings->move(150, 120);
        QVERIFY(programEndsAfter([] { std::raise(SIGHUP); }));
        QCOMPARE(env->bothFiles(), before);
        QCOMPARE((alive<SettingsWindow, MainWindow, MiniWindow>()), 0);
    }

private:
    // The settings, opened on 6 December 2026 from the counter window the option line puts up.
    SettingsWindow* openSettings(const QByteArray& option = OptionLine{1, 1500, 1500}.bytes()) {
        env->clock.set(at(2026, 12, 6, 15, 30, 20));
        env->writeSettings("2026,11,1,9,0,20,300,85\r\n", option);
        env->program->start();
        trigger(shown<CounterWindow>(), "settingsItem");
        SettingsWindow* settings = shown<SettingsWindow>();
        return settings && QTest::qWaitForWindowExposed(settings) ? settings : nullptr;
    }

    // The colours the program asked the desktop to choose from, and those chosen.
    QList<QColor> dialogStarts, nextColours;
};

QTEST_MAIN(WindowFlowsTest)
#include "WindowFlowsTest.moc"
