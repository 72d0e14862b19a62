#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "windows/GreetingWindow.h"
#include "windows/MainWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Runs an action inside the event loop and tells whether the program ended by itself.
bool programEndsAfter(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    QTimer giveUp; // stopped with the loop, so it cannot cut a later loop short
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(500);
    return QApplication::exec() == 0;
}

// A start from an empty folder: start-up creates both files and opens the setup window.
class FirstRunStart {
public:
    explicit FirstRunStart(WindowTestEnvironment& env) : m_env(env) {
        env.program->start();
        m_initial = env.readFile(kInitialFile);
        m_option = env.readFile(kOptionFile);
    }
    bool filesAsAtStart() const {
        return m_env.readFile(kInitialFile) == m_initial && m_env.readFile(kOptionFile) == m_option;
    }
    // The window of the flow named: "setup", "confirm" (setup accepted) or "greeting" (started).
    QWidget* reach(const QString& window) {
        if (window == QStringLiteral("setup"))
            return shown<SetupWindow>();
        StartConfirmWindow* confirm = acceptSetup(QStringLiteral("30"), QStringLiteral("440"));
        if (!confirm || window == QStringLiteral("confirm"))
            return confirm;
        clickButton(confirm, QStringLiteral("startButton"));
        return shown<GreetingWindow>();
    }

private:
    WindowTestEnvironment& m_env;
    QByteArray m_initial;
    QByteArray m_option;
};

// A first run accepted: the setup window's entry, and how it is accepted and confirmed.
struct Accepted {
    const char* name;
    QDateTime now;
    const char *perDay, *price;
    int size;         // -1: the option buttons are left alone
    const char* keys; // empty: the buttons are clicked
    const char* line; // initial.ini written
};

} // namespace

Q_DECLARE_METATYPE(Accepted)

class FirstRunTest : public QObject {
    Q_OBJECT

private slots:
    void tabGoesDownAndArrowsChooseTheSize() {
        WindowTestEnvironment env;
        FirstRunStart start(env);
        SetupWindow* setup = shown<SetupWindow>();
        QVERIFY(setup);
        setup->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(setup));

        // Tab goes down the window; within the size row the arrows choose, and Tab leaves from
        // the chosen size.
        const std::pair<Qt::Key, const char*> steps[] = {
            {Qt::Key_Tab, "packPriceEdit"},    {Qt::Key_Tab, "sizeButton1"},
            {Qt::Key_Tab, "acceptButton"},     {Qt::Key_Tab, "perDayEdit"},
            {Qt::Key_Backtab, "acceptButton"}, {Qt::Key_Backtab, "sizeButton1"},
            {Qt::Key_Right, "sizeButton2"},    {Qt::Key_Tab, "acceptButton"},
            {Qt::Key_Backtab, "sizeButton2"}};
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("perDayEdit"));
        for (const auto& [key, next] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
        }
        QVERIFY(control<QRadioButton>(setup, QStringLiteral("sizeButton2"))->isChecked());
    }

    // The setup window accepted and the start confirmed by a click, or by a key: Return or
    // keypad Enter in a control of the setup window, then the same key on the start button.
    void acceptedFlowWritesBothFiles_data() {
        const Accepted rows[] = {
            {"upper limits, long, Return in the first box", at(2009, 3, 5, 7, 4, 0), "200", "2000",
             2, "Return perDayEdit", "2009,3,5,7,4,200,2000,100"},
            {"lower limits, short, 23:59:58", at(2010, 11, 30, 23, 59, 58), "1", "1", 0, "",
             "2010,11,30,23,59,1,1,50"},
            {"lenient, 26 December, keypad Enter on the size", at(2008, 12, 26, 0, 0, 0), "1.9",
             "20x", 1, "Enter sizeButton1", "2008,12,26,0,0,1,20,85"},
            {"full-width, 4 January, four digits cut to three", at(2009, 1, 4, 12, 0, 59),
             "１２０４", "４５０", -1, "", "2009,1,4,12,0,120,450,85"}};
        QTest::addColumn<Accepted>("row");
        for (const Accepted& r : rows)
            QTest::newRow(r.name) << r;
    }
    void acceptedFlowWritesBothFiles() {
        QFETCH(Accepted, row);
        const QString keys = QString::fromUtf8(row.keys);
        WindowTestEnvironment env;
        env.clock.set(row.now);
        FirstRunStart start(env);
        SetupWindow* setup = shown<SetupWindow>();
        QVERIFY(setup);
        if (row.size >= 0)
            QTest::mouseClick(
                control<QRadioButton>(setup, QStringLiteral("sizeButton%1").arg(row.size)),
                Qt::LeftButton);
        const Qt::Key key = keys.startsWith(u'E') ? Qt::Key_Enter : Qt::Key_Return;
        const auto accept = [&](QWidget* window, const QString& control, const QString& button) {
            if (keys.isEmpty())
                return clickButton(window, button);
            // A held key's repeats are ignored: only a fresh press acts.
            QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(::control<QWidget>(window, control), &repeat);
            QTest::keyClick(::control<QWidget>(window, control), key);
        };
        const QPoint setupPos = setup->pos();
        QCOMPARE(setup->size(), QSize(361, 242));
        QCOMPARE(cutOff(setup), QString());
        QVERIFY(!programEndsAfter([&] {
            typeInto(control<QLineEdit>(setup, QStringLiteral("perDayEdit")),
                     QString::fromUtf8(row.perDay));
            typeInto(control<QLineEdit>(setup, QStringLiteral("packPriceEdit")),
                     QString::fromUtf8(row.price));
            accept(setup, keys.section(u' ', 1), QStringLiteral("acceptButton"));
        }));
        StartConfirmWindow* confirm = shown<StartConfirmWindow>();
        QVERIFY(confirm);
        QVERIFY(env.messages.isEmpty());
        QCOMPARE(alive<SetupWindow>(), 0);
        QVERIFY2(start.filesAsAtStart(), "nothing written before the confirmation");
        QCOMPARE(confirm->pos(), setupPos);
        QCOMPARE(confirm->size(), QSize(361, 242));
        QCOMPARE(cutOff(confirm), QString());

        QVERIFY(!programEndsAfter([&] {
            accept(confirm, QStringLiteral("startButton"), QStringLiteral("startButton"));
        }));
        QCOMPARE(alive<StartConfirmWindow>() + alive<GreetingWindow>(), 0);
        QCOMPARE(env.readFile(kInitialFile), QByteArray(row.line) + "\r\n");
        QCOMPARE(env.readFile(kOptionFile), optionLine(1, setupPos.x() * 15, setupPos.y() * 15));
        MainWindow* main = shown<MainWindow>();
        QVERIFY(main);
        QCOMPARE(main->pos(), setupPos);
    }

    void refusedEntry_data() {
        QTest::addColumn<QString>("perDay");
        QTest::addColumn<QString>("price");
        const char* rows[][3] = {{"zero a day", "0", "300"},
                                 {"201 a day", "201", "300"},
                                 {"empty price", "20", ""},
                                 {"2001 yen", "20", "2001"},
                                 {"both wrong, one message", "0", "2001"},
                                 {"beyond 32 bits", "9e9", "1e99"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString::fromUtf8(r[1]) << QString::fromUtf8(r[2]);
    }
    void refusedEntry() {
        QFETCH(QString, perDay);
        QFETCH(QString, price);
        WindowTestEnvironment env;
        FirstRunStart start(env);
        SetupWindow* setup = shown<SetupWindow>();
        QVERIFY(setup);
        QCOMPARE(acceptSetup(perDay, price), nullptr);

        QCOMPARE(env.messages,
                 QStringList{QStringLiteral("有効範囲内にある半角数字を入れてください")});
        QCOMPARE(shown<SetupWindow>(), setup);
        QCOMPARE(alive<StartConfirmWindow>(), 0);
        auto* perDayBox = control<QLineEdit>(setup, QStringLiteral("perDayEdit"));
        auto* priceBox = control<QLineEdit>(setup, QStringLiteral("packPriceEdit"));
        QCOMPARE(perDayBox->text(), perDay);
        QCOMPARE(priceBox->text(), price);
        QVERIFY(start.filesAsAtStart());

        // The window goes on working once the entry is put right.
        perDayBox->clear();
        priceBox->clear();
        QVERIFY(acceptSetup(QStringLiteral("20"), QStringLiteral("300")));
        QCOMPARE(env.messages.size(), 1);
    }

    void greeting_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("texts"); // occasion, greeting, the two wishes
        QTest::addColumn<QList<bool>>("ornaments");
        QTest::addColumn<bool>("byEnter"); // Return, not a click, starts the count
        const QStringList christmas{"クリスマス限定スペシャルメッセージ", "メリークリスマス",
                                    "聖なる日のケムリンが", "成功しますように！"};
        const QStringList newYear{"お正月限定スペシャルメッセージ",
                                  "あけましておめでとうございます", "",
                                  "貴方のケムリンが成功しますように！"};
        QTest::newRow("24 December") << QDate(2008, 12, 24) << "クリスマスイブ - pmrsoft"
                                     << QStringList{"クリスマスイブ限定スペシャルメッセージ", "",
                                                    "聖なる日のケムリンが", "成功しますように！"}
                                     << QList<bool>{false, true, false} << false;
        QTest::newRow("25 December") << QDate(2008, 12, 25) << "メリークリスマス - pmrsoft"
                                     << christmas << QList<bool>{true, false, true} << false;
        for (int day : {1, 3})
            QTest::addRow("%d January", day) << QDate(2009, 1, day) << "謹賀新年 - pmrsoft"
                                             << newYear << QList<bool>{false, false, false} << true;
    }
    void greeting() {
        QFETCH(QDate, date);
        QFETCH(QString, caption);
        QFETCH(QStringList, texts);
        QFETCH(QList<bool>, ornaments);
        QFETCH(bool, byEnter);
        WindowTestEnvironment env;
        env.clock.set(QDateTime(date, QTime(23, 59, 58)));
        FirstRunStart start(env);
        StartConfirmWindow* confirm = acceptSetup(QStringLiteral("15"), QStringLiteral("410"));
        QVERIFY(confirm);
        const QPoint confirmPos = confirm->pos();
        clickButton(confirm, QStringLiteral("startButton"));

        GreetingWindow* greeting = shown<GreetingWindow>();
        QVERIFY(greeting);
        QCOMPARE(alive<StartConfirmWindow>() + alive<MainWindow>(), 0);
        QVERIFY2(start.filesAsAtStart(), "the greeting writes nothing until its button");
        QCOMPARE(greeting->pos(), confirmPos);
        QCOMPARE(greeting->windowTitle(), caption);
        QCOMPARE(cutOff(greeting), QString());
        const QStringList names{"occasionLabel", "greetingLabel", "wishLabel0", "wishLabel1"};
        for (qsizetype i = 0; i < names.size(); ++i)
            QCOMPARE(control<QLabel>(greeting, names[i])->text(), texts[i]);
        for (int i = 0; i < 3; ++i) {
            auto* picture = control<QLabel>(greeting, QStringLiteral("ornament%1").arg(i));
            QCOMPARE(picture->isVisibleTo(greeting), ornaments[i]);
        }

        // However long the greeting stays open, the quit moment is the minute of the confirmation.
        env.clock.set(QDateTime(date.addDays(1), QTime(8, 30, 0)));
        const QPoint greetingPos = greeting->pos() + QPoint(40, 30);
        greeting->move(greetingPos);
        QVERIFY(!programEndsAfter([greeting, byEnter] {
            if (byEnter)
                QTest::keyClick(greeting, Qt::Key_Return);
            else
                clickButton(greeting, QStringLiteral("startButton"));
        }));
        QCOMPARE(alive<GreetingWindow>(), 0);
        QCOMPARE(env.readFile(kInitialFile),
                 date.toString(QStringLiteral("yyyy,M,d")).toLatin1() + ",23,59,15,410,85\r\n");
        QCOMPARE(env.readFile(kOptionFile),
                 optionLine(1, greetingPos.x() * 15, greetingPos.y() * 15));
        MainWindow* main = shown<MainWindow>();
        QVERIFY(main);
        QCOMPARE(main->pos(), greetingPos);
    }

    void leavingWritesNothing_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how"); // a button clicked, "enter " and a button, or "close"
        const char* rows[][3] = {{"もう少し考える", "confirm", "declineButton0"},
                                 {"また次の機会にする", "confirm", "declineButton1"},
                                 {"Enter on もう少し考える", "confirm", "enter declineButton0"},
                                 {"setup closed", "setup", "close"},
                                 {"confirmation closed", "confirm", "close"},
                                 {"greeting closed", "greeting", "close"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QDate(2008, 12, r[1] == QLatin1String("greeting") ? 24 : 26)
                                << QString::fromUtf8(r[1]) << QString::fromUtf8(r[2]);
    }
    void leavingWritesNothing() {
        QFETCH(QDate, date);
        QFETCH(QString, window);
        QFETCH(QString, how);
        WindowTestEnvironment env;
        env.clock.set(QDateTime(date, QTime(12, 0, 0)));
        FirstRunStart start(env);
        QWidget* leaving = start.reach(window);
        QVERIFY(leaving);

        QVERIFY2(programEndsAfter([leaving, how] {
                     if (how == QStringLiteral("close"))
                         leaving->close();
                     else if (how.startsWith(QLatin1String("enter ")))
                         QTest::keyClick(control<QWidget>(leaving, how.mid(6)), Qt::Key_Return);
                     else
                         clickButton(leaving, how);
                 }),
                 "leaving the flow ends the program");
        QCOMPARE(alive<SetupWindow>() + alive<StartConfirmWindow>() + alive<GreetingWindow>() +
                     alive<MainWindow>(),
                 0);
        QVERIFY(start.filesAsAtStart());
        QVERIFY(env.messages.isEmpty());
    }
};

QTEST_MAIN(FirstRunTest)
#include "FirstRunTest.moc"
