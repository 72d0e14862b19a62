#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "windows/GreetingWindow.h"
#include "windows/MainWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Runs an action inside the event loop and tells whether the program ended by itself.
bool programEndsAfter(const std::function<void()>& action) {
    QObject giveUp; // gone with this call, so its timer cannot cut a later loop short
    QTimer::singleShot(0, action);
    QTimer::singleShot(500, &giveUp, [] { QCoreApplication::exit(1); });
    return QApplication::exec() == 0;
}

// Both files as they stand; start-up writes them, nothing else may before the count starts.
QByteArray bothFiles(const WindowTestEnvironment& env) {
    return env.readFile(kInitialFile) + env.readFile(kOptionFile);
}

// A first run through to the main window: the entry, how each window is accepted, the greeting
// the day brings, and initial.ini as written.
struct Accepted {
    const char* name;
    QDateTime now;
    const char* entry;     // a day and a pack's price, '/' between
    int size;              // -1: the option buttons are left alone
    const char* keys;      // the key and the setup control it is pressed in; empty: clicks
    const char* greeting;  // its caption and texts, '|' between; empty: no greeting
    const char* ornaments; // which of its three pictures show
    const char* line;      // empty: a full disk, nothing can be written
};

} // namespace

Q_DECLARE_METATYPE(Accepted)

class FirstRunTest : public QObject {
    Q_OBJECT

private slots:
    void tabGoesDownAndArrowsChooseTheSize() {
        WindowTestEnvironment env;
        env.program->start();
        SetupWindow* setup = shown<SetupWindow>();
        QVERIFY(setup);
        setup->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(setup));
        // Within the size row the arrows choose, and Tab leaves from the chosen size.
        const std::pair<Qt::Key, const char*> steps[] = {
            {Qt::Key_Tab, "packPriceEdit"},    {Qt::Key_Tab, "sizeButton1"},
            {Qt::Key_Tab, "acceptButton"},     {Qt::Key_Tab, "perDayEdit"},
            {Qt::Key_Backtab, "acceptButton"}, {Qt::Key_Backtab, "sizeButton1"},
            {Qt::Key_Right, "sizeButton2"},    {Qt::Key_Tab, "acceptButton"},
            {Qt::Key_Backtab, "sizeButton2"}};
        QCOMPARE(QApplication::focusWidget()->objectName(), u"perDayEdit"_s);
        for (const auto& [key, next] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
        }
        QVERIFY(control<QRadioButton>(setup, u"sizeButton2"_s)->isChecked());
    }

    void acceptedFlow_data() {
        const char* eve = "クリスマスイブ - pmrsoft|クリスマスイブ限定スペシャルメッセージ||"
                          "聖なる日のケムリンが|成功しますように！";
        const char* christmas = "メリークリスマス - pmrsoft|クリスマス限定スペシャルメッセージ|"
                                "メリークリスマス|聖なる日のケムリンが|成功しますように！";
        const char* newYear = "謹賀新年 - pmrsoft|お正月限定スペシャルメッセージ|"
                              "あけましておめでとうございます||貴方のケムリンが成功しますように！";
        const Accepted rows[] = {
            {"upper limits, long, Return in the first box", at(2009, 3, 5, 7, 4, 0), "200/2000", 2,
             "Return perDayEdit", "", "", "2009,3,5,7,4,200,2000,100"},
            {"lower limits, short, 23:59:58", at(2010, 11, 30, 23, 59, 58), "1/1", 0, "", "", "",
             "2010,11,30,23,59,1,1,50"},
            {"lenient, 26 December, keypad Enter on the size", at(2008, 12, 26, 0, 0, 0), "1.9/20x",
             1, "Enter sizeButton1", "", "", "2008,12,26,0,0,1,20,85"},
            {"full-width, 4 January, four digits cut to three", at(2009, 1, 4, 12, 0, 59),
             "１２０４/４５０", -1, "", "", "", "2009,1,4,12,0,120,450,85"},
            {"24 December", at(2008, 12, 24, 23, 59, 58), "15/410", -1, "", eve, "010",
             "2008,12,24,23,59,15,410,85"},
            {"25 December", at(2008, 12, 25, 8, 0, 0), "15/410", -1, "", christmas, "101",
             "2008,12,25,8,0,15,410,85"},
            {"1 January, Return throughout", at(2009, 1, 1, 0, 0, 0), "15/410", -1,
             "Return packPriceEdit", newYear, "000", "2009,1,1,0,0,15,410,85"},
            {"3 January", at(2009, 1, 3, 23, 59, 0), "15/410", -1, "", newYear, "000",
             "2009,1,3,23,59,15,410,85"},
            {"a full disk: told once, the figures entered shown", at(2009, 3, 5, 7, 4, 0), "30/440",
             -1, "", "", "", ""}};
        QTest::addColumn<Accepted>("row");
        for (const Accepted& r : rows)
            QTest::newRow(r.name) << r;
    }
    void acceptedFlow() {
        QFETCH(Accepted, row);
        WindowTestEnvironment env;
        env.clock.set(row.now);
        env.program->start();
        const QByteArray atStart = bothFiles(env);
        SetupWindow* setup = shown<SetupWindow>();
        QVERIFY(setup);
        QCOMPARE(cutOff(setup), QString());
        auto* perDay = control<QLineEdit>(setup, u"perDayEdit"_s);
        auto* price = control<QLineEdit>(setup, u"packPriceEdit"_s);
        const auto enter = [&](const QString& entry) {
            perDay->clear();
            price->clear();
            typeInto(perDay, entry.section(u'/', 0, 0));
            typeInto(price, entry.section(u'/', 1));
        };
        // Each bound refused with one message, the entry kept and nothing written.
        for (const QString& entry :
             {u"0/300"_s, u"201/300"_s, u"20/"_s, u"20/2001"_s, u"0/2001"_s, u"9e9/1e99"_s}) {
            enter(entry);
            clickButton(setup, u"acceptButton"_s);
            QCOMPARE(env.messages, QStringList{u"有効範囲内にある半角数字を入れてください"_s});
            QCOMPARE(perDay->text() + u'/' + price->text(), entry);
            QVERIFY(setup->isVisible() && !alive<StartConfirmWindow>());
            env.messages.clear();
        }
        if (row.size >= 0)
            QTest::mouseClick(control<QRadioButton>(setup, u"sizeButton%1"_s.arg(row.size)),
                              Qt::LeftButton);
        const QString keys = QString::fromUtf8(row.keys);
        const Qt::Key key = keys.startsWith(u'E') ? Qt::Key_Enter : Qt::Key_Return;
        const auto accept = [&](QWidget* window, const QString& button, const QString& focus) {
            if (keys.isEmpty())
                return clickButton(window, button);
            // A held key's repeats are ignored: only a fresh press acts.
            QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(control<QWidget>(window, focus), &repeat);
            QTest::keyClick(control<QWidget>(window, focus), key);
        };
        const QPoint setupPos = setup->pos();
        QVERIFY(!programEndsAfter([&] {
            enter(QString::fromUtf8(row.entry));
            accept(setup, u"acceptButton"_s, keys.section(u' ', 1));
        }));
        QWidget* starting = shown<StartConfirmWindow>();
        QVERIFY(starting && env.messages.isEmpty());
        QCOMPARE(starting->pos(), setupPos);
        QCOMPARE(cutOff(starting), QString());
        QPoint mainPos = setupPos;
        if (*row.greeting) {
            accept(starting, u"startButton"_s, u"startButton"_s);
            starting = shown<GreetingWindow>();
            QVERIFY(starting);
            QCOMPARE(starting->pos(), setupPos);
            QCOMPARE(cutOff(starting), QString());
            QStringList texts{starting->windowTitle()};
            QString ornaments;
            for (const char* name : {"occasionLabel", "greetingLabel", "wishLabel0", "wishLabel1"})
                texts << control<QLabel>(starting, QLatin1String(name))->text();
            for (int i = 0; i < 3; ++i)
                ornaments +=
                    control<QLabel>(starting, u"ornament%1"_s.arg(i))->isVisibleTo(starting) ? u'1'
                                                                                             : u'0';
            QCOMPARE(texts.join(u'|'), QString::fromUtf8(row.greeting));
            QCOMPARE(ornaments, QLatin1String(row.ornaments));
            // However long the greeting stays open, the count runs from the confirmation.
            env.clock.set(row.now.addDays(1));
            mainPos += QPoint(40, 30);
            starting->move(mainPos);
        }
        QCOMPARE(bothFiles(env), atStart);

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit full{0, saved.rlim_max};
        QVERIFY(!programEndsAfter([&] {
            if (!*row.line)
                setrlimit(RLIMIT_FSIZE, &full);
            accept(starting, u"startButton"_s, u"startButton"_s);
            setrlimit(RLIMIT_FSIZE, &saved);
        }));
        QCOMPARE(alive<SetupWindow>() + alive<StartConfirmWindow>() + alive<GreetingWindow>(), 0);
        MainWindow* main = shown<MainWindow>();
        QVERIFY(main);
        QCOMPARE(main->pos(), mainPos);
        if (*row.line) {
            QVERIFY(env.messages.isEmpty());
            QCOMPARE(env.readFile(kInitialFile), QByteArray(row.line) + "\r\n");
            QCOMPARE(env.readFile(kOptionFile), optionLine(1, mainPos.x() * 15, mainPos.y() * 15));
            return;
        }
        QCOMPARE(env.messages.size(), 1);
        QVERIFY(env.messages[0].startsWith(u"設定を保存できませんでした。"_s));
        QCOMPARE(bothFiles(env), atStart);
        // Memory stays ahead of the disk: a day on, the count is of the figures entered.
        env.clock.set(row.now.addDays(1));
        env.program->refresh();
        QCOMPARE(control<QLabel>(main, u"moneyValue"_s)->text().section(u'円', 0, 0), u"660"_s);
    }

    // Declining, by a click or by Enter on a decline button, or closing any window of the flow
    // ends the program with nothing written.
    void leavingWritesNothing_data() {
        QTest::addColumn<QString>("how"); // the window, then a button, Enter on a button or close
        for (const char* how : {"confirm declineButton0", "confirm enter declineButton1",
                                "setup close", "confirm close", "greeting close"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void leavingWritesNothing() {
        QFETCH(QString, how);
        WindowTestEnvironment env;
        env.clock.set(at(2008, 12, 24, 12, 0, 0));
        env.program->start();
        const QByteArray atStart = bothFiles(env);
        QWidget* leaving = shown<SetupWindow>();
        if (!how.startsWith(u"setup"))
            leaving = acceptSetup(u"30"_s, u"440"_s);
        if (how.startsWith(u"greeting")) {
            clickButton(leaving, u"startButton"_s);
            leaving = shown<GreetingWindow>();
        }
        QVERIFY(leaving);
        QVERIFY(programEndsAfter([leaving, how] {
            if (how.endsWith(u"close"))
                leaving->close();
            else if (how.contains(u"enter"))
                QTest::keyClick(control<QWidget>(leaving, how.section(u' ', 2)), Qt::Key_Return);
            else
                clickButton(leaving, how.section(u' ', 1));
        }));
        QCOMPARE(alive<SetupWindow>() + alive<StartConfirmWindow>() + alive<GreetingWindow>() +
                     alive<MainWindow>(),
                 0);
        QCOMPARE(bothFiles(env), atStart);
        QVERIFY(env.messages.isEmpty());
    }
};

QTEST_MAIN(FirstRunTest)
#include "FirstRunTest.moc"
