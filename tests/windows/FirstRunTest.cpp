#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "platform/JapaneseFont.h"
#include "windows/GreetingWindow.h"
#include "windows/MainWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

const QString kRangeMessage = QStringLiteral("有効範囲内にある半角数字を入れてください");

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// ASCII comes as key presses; anything else as the input method commits it.
void typeInto(QLineEdit* edit, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(edit, &commit);
        }
    }
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

    // Fills the setup window and accepts it; returns the confirmation window it hands over to.
    StartConfirmWindow* setUp(const QString& perDay, const QString& price) {
        SetupWindow* setup = shown<SetupWindow>();
        if (!setup)
            return nullptr;
        typeInto(control<QLineEdit>(setup, QStringLiteral("perDayEdit")), perDay);
        typeInto(control<QLineEdit>(setup, QStringLiteral("packPriceEdit")), price);
        clickButton(setup, QStringLiteral("acceptButton"));
        return shown<StartConfirmWindow>();
    }

private:
    WindowTestEnvironment& m_env;
    QByteArray m_initial;
    QByteArray m_option;
};

} // namespace

class FirstRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyTextShowsWhole();
    void tabGoesDownAndArrowsChooseTheSize();
    void acceptedFlowWritesBothFiles_data();
    void acceptedFlowWritesBothFiles();
    void anUnwritableQuitFileKeepsTheEnteredFigures();
    void refusedEntry_data();
    void refusedEntry();
    void greeting_data();
    void greeting();
    void leavingWritesNothing_data();
    void leavingWritesNothing();
    void enterAccepts_data();
    void enterAccepts();
    void heldEnterRepeatsAreIgnored();
};

void FirstRunTest::initTestCase() {
    installJapaneseFontSubstitutes();
}

void FirstRunTest::everyTextShowsWhole() {
    WindowTestEnvironment env;
    FirstRunStart start(env);
    QCOMPARE(alive<MainWindow>(), 0);
    QWidget* setup = shown<SetupWindow>();
    QVERIFY(setup);
    QWidget* confirmation = start.setUp(QStringLiteral("20"), QStringLiteral("300"));
    QVERIFY(confirmation);
    for (QWidget* window : {setup, confirmation}) {
        QCOMPARE(window->size(), QSize(361, 242));
        for (QWidget* c : window->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(c) && !qobject_cast<QAbstractButton*>(c))
                continue;
            QVERIFY2(window->rect().contains(c->geometry()), qPrintable(c->objectName()));
            QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(c->objectName()));
        }
    }
}

void FirstRunTest::tabGoesDownAndArrowsChooseTheSize() {
    WindowTestEnvironment env;
    FirstRunStart start(env);
    SetupWindow* setup = shown<SetupWindow>();
    QVERIFY(setup);
    setup->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(setup));

    const auto focused = [] { return QApplication::focusWidget()->objectName(); };
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    QCOMPARE(focused(), QStringLiteral("perDayEdit"));
    for (const char* next : {"packPriceEdit", "sizeButton1", "acceptButton", "perDayEdit"}) {
        press(Qt::Key_Tab);
        QCOMPARE(focused(), QLatin1String(next));
    }
    // Within the size row the arrows choose; Tab leaves from the chosen size.
    press(Qt::Key_Backtab);
    press(Qt::Key_Backtab);
    QCOMPARE(focused(), QStringLiteral("sizeButton1"));
    press(Qt::Key_Right);
    QVERIFY(control<QRadioButton>(setup, QStringLiteral("sizeButton2"))->isChecked());
    press(Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("acceptButton"));
    press(Qt::Key_Backtab);
    QCOMPARE(focused(), QStringLiteral("sizeButton2"));
}

void FirstRunTest::acceptedFlowWritesBothFiles_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("perDay");
    QTest::addColumn<QString>("price");
    QTest::addColumn<int>("size"); // -1: the option buttons are left alone
    QTest::addColumn<QByteArray>("initialLine");
    QTest::newRow("standard size untouched")
        << at(2008, 8, 26, 10, 23, 41) << "20"
        << "300" << -1 << QByteArray("2008,8,26,10,23,20,300,85\r\n");
    QTest::newRow("upper limits, long")
        << at(2009, 3, 5, 7, 4, 0) << "200"
        << "2000" << 2 << QByteArray("2009,3,5,7,4,200,2000,100\r\n");
    QTest::newRow("lower limits, short, 23:59:58")
        << at(2010, 11, 30, 23, 59, 58) << "1"
        << "1" << 0 << QByteArray("2010,11,30,23,59,1,1,50\r\n");
    QTest::newRow("lenient, 26 December") << at(2008, 12, 26, 0, 0, 0) << "1.9"
                                          << "20x" << 1 << QByteArray("2008,12,26,0,0,1,20,85\r\n");
    QTest::newRow("full-width, 4 January, four digits cut to three")
        << at(2009, 1, 4, 12, 0, 59) << "１２０４"
        << "４５０" << -1 << QByteArray("2009,1,4,12,0,120,450,85\r\n");
}

void FirstRunTest::acceptedFlowWritesBothFiles() {
    QFETCH(QDateTime, now);
    QFETCH(QString, perDay);
    QFETCH(QString, price);
    QFETCH(int, size);
    QFETCH(QByteArray, initialLine);
    WindowTestEnvironment env;
    env.clock.set(now);
    FirstRunStart start(env);
    SetupWindow* setup = shown<SetupWindow>();
    QVERIFY(setup);
    if (size >= 0)
        QTest::mouseClick(control<QRadioButton>(setup, QStringLiteral("sizeButton%1").arg(size)),
                          Qt::LeftButton);
    const QPoint setupPos = setup->pos();
    StartConfirmWindow* confirm = nullptr;
    QVERIFY(!programEndsAfter([&] { confirm = start.setUp(perDay, price); }));
    QVERIFY(confirm);
    QVERIFY(env.messages.isEmpty());
    QCOMPARE(alive<SetupWindow>(), 0);
    QVERIFY2(start.filesAsAtStart(), "nothing written before the confirmation");
    QCOMPARE(confirm->pos(), setupPos);

    const QPoint confirmPos = confirm->pos();
    QVERIFY(!programEndsAfter([confirm] { clickButton(confirm, QStringLiteral("startButton")); }));
    QCOMPARE(alive<StartConfirmWindow>(), 0);
    QCOMPARE(alive<GreetingWindow>(), 0);
    QCOMPARE(env.readFile(kInitialFile), initialLine);
    QCOMPARE(env.readFile(kOptionFile), optionLine(1, confirmPos.x() * 15, confirmPos.y() * 15));
    MainWindow* main = shown<MainWindow>();
    QVERIFY(main);
    QCOMPARE(main->pos(), confirmPos);
}

void FirstRunTest::anUnwritableQuitFileKeepsTheEnteredFigures() {
    WindowTestEnvironment env;
    // A folder where the file should be: it neither reads nor writes, even for root.
    QVERIFY(QDir(env.appDir()).mkpath(kInitialFile));
    FirstRunStart start(env);
    StartConfirmWindow* confirm = start.setUp(QStringLiteral("30"), QStringLiteral("440"));
    QVERIFY(confirm);
    clickButton(confirm, QStringLiteral("startButton"));
    MainWindow* main = shown<MainWindow>();
    QVERIFY(main);
    env.clock.set(env.clock.localNow().addDays(1));
    env.program->refresh();
    QCOMPARE(control<QLabel>(main, QStringLiteral("cigarettesValue"))->text().section(u' ', 0, 0),
             QStringLiteral("30本"));
    QCOMPARE(control<QLabel>(main, QStringLiteral("moneyValue"))->text().section(u'円', 0, 0),
             QStringLiteral("660"));
}

void FirstRunTest::refusedEntry_data() {
    QTest::addColumn<QString>("perDay");
    QTest::addColumn<QString>("price");
    const char* rows[][3] = {
        {"zero a day", "0", "300"},
        {"201 a day", "201", "300"},
        {"minus five a day", "-5", "300"},
        {"letters a day", "abc", "300"},
        {"empty price", "20", ""},
        {"2001 yen", "20", "2001"},
        {"both wrong, one message", "0", "2001"},
        {"beyond 32 bits", "9e9", "1e99"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString::fromUtf8(r[1]) << QString::fromUtf8(r[2]);
}

void FirstRunTest::refusedEntry() {
    QFETCH(QString, perDay);
    QFETCH(QString, price);
    WindowTestEnvironment env;
    FirstRunStart start(env);
    SetupWindow* setup = shown<SetupWindow>();
    QVERIFY(setup);
    QCOMPARE(start.setUp(perDay, price), nullptr);

    QCOMPARE(env.messages, QStringList{kRangeMessage});
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
    QVERIFY(start.setUp(QStringLiteral("20"), QStringLiteral("300")));
    QCOMPARE(env.messages.size(), 1);
}

void FirstRunTest::greeting_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("texts"); // occasion, greeting, the two wishes
    QTest::addColumn<QList<bool>>("ornaments");
    const QStringList christmas{"クリスマス限定スペシャルメッセージ", "メリークリスマス",
                                "聖なる日のケムリンが", "成功しますように！"};
    const QStringList newYear{"お正月限定スペシャルメッセージ", "あけましておめでとうございます",
                              "", "貴方のケムリンが成功しますように！"};
    QTest::newRow("24 December") << QDate(2008, 12, 24) << "クリスマスイブ - pmrsoft"
                                 << QStringList{"クリスマスイブ限定スペシャルメッセージ", "",
                                                "聖なる日のケムリンが", "成功しますように！"}
                                 << QList<bool>{false, true, false};
    QTest::newRow("25 December") << QDate(2008, 12, 25) << "メリークリスマス - pmrsoft" << christmas
                                 << QList<bool>{true, false, true};
    for (int day : {1, 3})
        QTest::addRow("%d January", day) << QDate(2009, 1, day) << "謹賀新年 - pmrsoft" << newYear
                                         << QList<bool>{false, false, false};
}

void FirstRunTest::greeting() {
    QFETCH(QDate, date);
    QFETCH(QString, caption);
    QFETCH(QStringList, texts);
    QFETCH(QList<bool>, ornaments);
    WindowTestEnvironment env;
    env.clock.set(QDateTime(date, QTime(23, 59, 58)));
    FirstRunStart start(env);
    StartConfirmWindow* confirm = start.setUp(QStringLiteral("15"), QStringLiteral("410"));
    QVERIFY(confirm);
    const QPoint confirmPos = confirm->pos();
    clickButton(confirm, QStringLiteral("startButton"));

    GreetingWindow* greeting = shown<GreetingWindow>();
    QVERIFY(greeting);
    QCOMPARE(alive<StartConfirmWindow>(), 0);
    QCOMPARE(alive<MainWindow>(), 0);
    QVERIFY2(start.filesAsAtStart(), "the greeting writes nothing until its button");
    QCOMPARE(greeting->pos(), confirmPos);
    QCOMPARE(greeting->windowTitle(), caption);

    const QStringList names{"occasionLabel", "greetingLabel", "wishLabel0", "wishLabel1"};
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto* label = control<QLabel>(greeting, names[i]);
        QCOMPARE(label->text(), texts[i]);
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(names[i]));
        QVERIFY(greeting->rect().contains(label->geometry()));
    }
    for (int i = 0; i < 3; ++i) {
        auto* picture = control<QLabel>(greeting, QStringLiteral("ornament%1").arg(i));
        QCOMPARE(picture->isVisibleTo(greeting), ornaments[i]);
    }

    // However long the greeting stays open, the quit moment is the minute of the confirmation.
    env.clock.set(QDateTime(date.addDays(1), QTime(8, 30, 0)));
    const QPoint greetingPos = greeting->pos() + QPoint(40, 30);
    greeting->move(greetingPos);
    QVERIFY(
        !programEndsAfter([greeting] { clickButton(greeting, QStringLiteral("startButton")); }));
    QCOMPARE(alive<GreetingWindow>(), 0);
    QCOMPARE(env.readFile(kInitialFile),
             QByteArray::number(date.year()) + ',' + QByteArray::number(date.month()) + ',' +
                 QByteArray::number(date.day()) + ",23,59,15,410,85\r\n");
    QCOMPARE(env.readFile(kOptionFile), optionLine(1, greetingPos.x() * 15, greetingPos.y() * 15));
    MainWindow* main = shown<MainWindow>();
    QVERIFY(main);
    QCOMPARE(main->pos(), greetingPos);
}

void FirstRunTest::leavingWritesNothing_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how"); // a button's name, or "close"
    QTest::newRow("もう少し考える") << QDate(2008, 8, 26) << "confirm"
                                    << "declineButton0";
    QTest::newRow("また次の機会にする") << QDate(2008, 8, 26) << "confirm"
                                        << "declineButton1";
    QTest::newRow("setup closed") << QDate(2008, 8, 26) << "setup"
                                  << "close";
    QTest::newRow("confirmation closed") << QDate(2008, 8, 26) << "confirm"
                                         << "close";
    QTest::newRow("greeting closed") << QDate(2008, 12, 24) << "greeting"
                                     << "close";
}

void FirstRunTest::leavingWritesNothing() {
    QFETCH(QDate, date);
    QFETCH(QString, window);
    QFETCH(QString, how);
    WindowTestEnvironment env;
    env.clock.set(QDateTime(date, QTime(12, 0, 0)));
    FirstRunStart start(env);
    QWidget* leaving = shown<SetupWindow>();
    if (window != QStringLiteral("setup"))
        leaving = start.setUp(QStringLiteral("20"), QStringLiteral("300"));
    if (window == QStringLiteral("greeting")) {
        clickButton(leaving, QStringLiteral("startButton"));
        leaving = shown<GreetingWindow>();
    }
    QVERIFY(leaving);

    QVERIFY2(programEndsAfter([leaving, how] {
                 if (how == QStringLiteral("close"))
                     leaving->close();
                 else
                     clickButton(leaving, how);
             }),
             "leaving the flow ends the program");
    QCOMPARE(alive<SetupWindow>() + alive<StartConfirmWindow>() + alive<GreetingWindow>() +
                 alive<MainWindow>(),
             0);
    QVERIFY(start.filesAsAtStart());
    QCOMPARE(env.readFile(kOptionFile), defaultOptionLine());
    QVERIFY(env.messages.isEmpty());
}

void FirstRunTest::enterAccepts_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::newRow("setup, first box") << "setup"
                                      << "perDayEdit" << int(Qt::Key_Return);
    QTest::newRow("setup, keypad Enter") << "setup"
                                         << "packPriceEdit" << int(Qt::Key_Enter);
    QTest::newRow("setup, size") << "setup"
                                 << "sizeButton2" << int(Qt::Key_Return);
    QTest::newRow("setup, button") << "setup"
                                   << "acceptButton" << int(Qt::Key_Return);
    QTest::newRow("confirmation, start") << "confirm"
                                         << "startButton" << int(Qt::Key_Return);
    QTest::newRow("confirmation, decline") << "confirm"
                                           << "declineButton0" << int(Qt::Key_Enter);
    QTest::newRow("greeting") << "greeting"
                              << "startButton" << int(Qt::Key_Return);
}

void FirstRunTest::enterAccepts() {
    QFETCH(QString, window);
    QFETCH(QString, focus);
    QFETCH(int, key);
    WindowTestEnvironment env;
    env.clock.set(QDateTime(QDate(2009, 1, 2), QTime(6, 7, 8)));
    FirstRunStart start(env);
    SetupWindow* setup = shown<SetupWindow>();
    QVERIFY(setup);
    typeInto(control<QLineEdit>(setup, QStringLiteral("perDayEdit")), QStringLiteral("30"));
    typeInto(control<QLineEdit>(setup, QStringLiteral("packPriceEdit")), QStringLiteral("440"));
    QWidget* form = setup;
    if (window != QStringLiteral("setup")) {
        clickButton(setup, QStringLiteral("acceptButton"));
        form = shown<StartConfirmWindow>();
    }
    if (window == QStringLiteral("greeting")) {
        clickButton(form, QStringLiteral("startButton"));
        form = shown<GreetingWindow>();
    }
    QVERIFY(form);

    QWidget* target = focus.isEmpty() ? form->findChild<QLabel*>() : control<QWidget>(form, focus);
    target->setFocus();
    const bool declines = focus.startsWith(QLatin1String("decline"));
    if (declines) {
        QVERIFY(programEndsAfter([target, key] { QTest::keyClick(target, Qt::Key(key)); }));
        QCOMPARE(alive<StartConfirmWindow>() + alive<GreetingWindow>(), 0);
        QCOMPARE(env.readFile(kOptionFile), defaultOptionLine());
        return;
    }
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(alive<SetupWindow>(), 0);
    if (window == QStringLiteral("setup")) {
        QVERIFY(shown<StartConfirmWindow>());
        QCOMPARE(env.program->state().perDay, 30);
        QCOMPARE(env.program->state().packPrice, 440);
    } else if (window == QStringLiteral("confirm")) {
        // 2 January: confirming greets first.
        QVERIFY(shown<GreetingWindow>());
        QCOMPARE(alive<StartConfirmWindow>(), 0);
    } else {
        QVERIFY(shown<MainWindow>());
        QCOMPARE(env.readFile(kInitialFile), QByteArray("2009,1,2,6,7,30,440,85\r\n"));
    }
    QVERIFY(env.messages.isEmpty());
}

void FirstRunTest::heldEnterRepeatsAreIgnored() {
    WindowTestEnvironment env;
    FirstRunStart start(env);
    StartConfirmWindow* confirm = start.setUp(QStringLiteral("20"), QStringLiteral("300"));
    QVERIFY(confirm);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(control<QWidget>(confirm, QStringLiteral("startButton")), &repeat);
    QCOMPARE(shown<StartConfirmWindow>(), confirm);
    QVERIFY(start.filesAsAtStart());
}

QTEST_MAIN(FirstRunTest)
#include "FirstRunTest.moc"
