#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "windows/GreetingWindow.h"
#include "platform/JapaneseFont.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/Twips.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"
#include "windows/MainWindow.h"
#include "app/Program.h"

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char kSecondInstanceDir[] = "FIRSTRUN_SECOND_INSTANCE_DIR";
const QString kRangeMessage = QStringLiteral("有効範囲内にある半角数字を入れてください");
const QString kAlreadyRunning = QStringLiteral("プログラムは既に起動されています。");
const QString kInitialFile = QStringLiteral("kemurindata/initial.ini");
const QString kOptionFile = QStringLiteral("kemurindata/option.ini");

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

template <class T> T* shown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    }
    return nullptr;
}

template <class T> int alive() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<T*>(w) ? 1 : 0;
    return n;
}

int visibleWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}

template <class C> C* control(QWidget* window, const QString& name) {
    C* c = window ? window->findChild<C*>(name) : nullptr;
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
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

void click(QWidget* window, const QString& button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
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
    explicit FirstRunStart(WindowTestEnvironment& env) : m_env(env), m_cwd(QDir::currentPath()) {
        QDir::setCurrent(env.appDir());
        startProgram();
        m_initial = env.readFile(kInitialFile);
        m_option = env.readFile(kOptionFile);
    }
    ~FirstRunStart() { QDir::setCurrent(m_cwd); }

    bool filesAsAtStart() const {
        return m_env.readFile(kInitialFile) == m_initial && m_env.readFile(kOptionFile) == m_option;
    }
    QByteArray optionAtStart() const { return m_option; }

    // Fills the setup window and accepts it; returns the confirmation window it hands over to.
    StartConfirmWindow* setUp(const QString& perDay, const QString& price) {
        SetupWindow* form3 = shown<SetupWindow>();
        if (!form3)
            return nullptr;
        typeInto(control<QLineEdit>(form3, QStringLiteral("Text1_0")), perDay);
        typeInto(control<QLineEdit>(form3, QStringLiteral("Text1_1")), price);
        click(form3, QStringLiteral("Command1"));
        return shown<StartConfirmWindow>();
    }

private:
    WindowTestEnvironment& m_env;
    QString m_cwd;
    QByteArray m_initial;
    QByteArray m_option;
};

} // namespace

class FirstRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void secondInstanceEndsAtOnce();
    void everyTextShowsWhole();
    void focusStartsInFirstBoxAndTabGoesDown();
    void boxesTakeThreeAndFourCharacters();
    void acceptedFlowWritesBothFiles_data();
    void acceptedFlowWritesBothFiles();
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
    // As the second instance of secondInstanceEndsAtOnce: start while the parent holds the lock.
    if (qEnvironmentVariableIsSet(kSecondInstanceDir)) {
        const QString dir = qEnvironmentVariable(kSecondInstanceDir);
        useInstanceLockFile(dir + QStringLiteral("/instance.lock"));
        setMessageInterceptor([](const QString& text) {
            std::fputs(text.toUtf8().append('\n').constData(), stdout);
            std::fflush(stdout);
        });
        appState().appDir = dir;
        showFirstRunWindow();
        std::fputs("went on\n", stdout);
        std::fflush(stdout);
        std::_Exit(3);
    }
    installJapaneseFontSubstitutes();
}

void FirstRunTest::secondInstanceEndsAtOnce() {
    WindowTestEnvironment env;
    const QByteArray lockPath = QFile::encodeName(env.appDir() + QStringLiteral("/instance.lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kSecondInstanceDir), env.appDir());
    second.setProcessEnvironment(environment);
    // The child's own test log goes nowhere: its output is what it shows the user.
    second.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("-o"), QStringLiteral("/dev/null,txt")});
    const bool finished = second.waitForFinished(30000);
    ::close(fd);
    QVERIFY(finished);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(second.readAllStandardOutput()), kAlreadyRunning + u'\n');
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(!QDir(env.appDir()).exists(QStringLiteral("kemurindata")));
}

void FirstRunTest::everyTextShowsWhole() {
    WindowTestEnvironment env;
    FirstRunStart start(env);
    QCOMPARE(alive<MainWindow>(), 0);
    QWidget* setup = shown<SetupWindow>();
    QVERIFY(setup);
    QVERIFY(control<QRadioButton>(setup, QStringLiteral("Option1_1"))->isChecked());
    QWidget* confirmation = start.setUp(QStringLiteral("20"), QStringLiteral("300"));
    QVERIFY(confirmation);
    for (QWidget* form : {setup, confirmation}) {
        QCOMPARE(form->size(), QSize(5415 / 15, 3630 / 15));
        for (QWidget* c : form->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(c) && !qobject_cast<QAbstractButton*>(c))
                continue;
            QVERIFY2(form->rect().contains(c->geometry()), qPrintable(c->objectName()));
            QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(c->objectName()));
        }
    }
}

void FirstRunTest::focusStartsInFirstBoxAndTabGoesDown() {
    WindowTestEnvironment env;
    FirstRunStart start(env);
    SetupWindow* form3 = shown<SetupWindow>();
    QVERIFY(form3);
    form3->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form3));

    const QStringList order{QStringLiteral("Text1_0"), QStringLiteral("Text1_1"),
                            QStringLiteral("Option1_1"), QStringLiteral("Command1"),
                            QStringLiteral("Text1_0")};
    QCOMPARE(QApplication::focusWidget()->objectName(), order.first());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
    // Within the size row the arrows choose; Tab then leaves from the chosen size, and Shift+Tab
    // comes back to it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option1_1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option1_2"));
    QVERIFY(control<QRadioButton>(form3, QStringLiteral("Option1_2"))->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option1_2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Text1_1"));
    // Each control lies below the one before it, as Tab goes.
    int lastTop = -1;
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        const int top = control<QWidget>(form3, order[i])->y();
        QVERIFY(top > lastTop);
        lastTop = top;
    }
}

void FirstRunTest::boxesTakeThreeAndFourCharacters() {
    WindowTestEnvironment env;
    FirstRunStart start(env);
    SetupWindow* form3 = shown<SetupWindow>();
    QVERIFY(form3);
    auto* perDay = control<QLineEdit>(form3, QStringLiteral("Text1_0"));
    auto* price = control<QLineEdit>(form3, QStringLiteral("Text1_1"));
    QVERIFY(perDay->text().isEmpty() && price->text().isEmpty());
    typeInto(perDay, QStringLiteral("12345"));
    typeInto(price, QStringLiteral("１２３４５"));
    QCOMPARE(perDay->text(), QStringLiteral("123"));
    QCOMPARE(price->text(), QStringLiteral("１２３４"));
}

void FirstRunTest::acceptedFlowWritesBothFiles_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("perDay");
    QTest::addColumn<QString>("price");
    QTest::addColumn<int>("size"); // -1: the option buttons are left alone
    QTest::addColumn<QByteArray>("initialLine");
    QTest::newRow("ordinary day, standard size untouched")
        << at(2008, 8, 26, 10, 23, 41) << "20"
        << "300" << -1 << QByteArray("2008,8,26,10,23,20,300,85\r\n");
    QTest::newRow("upper limits, long")
        << at(2009, 3, 5, 7, 4, 0) << "200"
        << "2000" << 2 << QByteArray("2009,3,5,7,4,200,2000,100\r\n");
    QTest::newRow("lower limits, short, 23:59:58")
        << at(2010, 11, 30, 23, 59, 58) << "1"
        << "1" << 0 << QByteArray("2010,11,30,23,59,1,1,50\r\n");
    QTest::newRow("read leniently, 26 December")
        << at(2008, 12, 26, 0, 0, 0) << "1.9"
        << "20x" << 1 << QByteArray("2008,12,26,0,0,1,20,85\r\n");
    QTest::newRow("full-width digits, 4 January")
        << at(2009, 1, 4, 12, 0, 59) << "１２０"
        << "４５０" << -1 << QByteArray("2009,1,4,12,0,120,450,85\r\n");
    QTest::newRow("blanks around, 23 December")
        << at(2008, 12, 23, 9, 5, 0) << " 7 "
        << "2 50" << 2 << QByteArray("2008,12,23,9,5,7,250,100\r\n");
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
    SetupWindow* form3 = shown<SetupWindow>();
    QVERIFY(form3);
    if (size >= 0)
        QTest::mouseClick(control<QRadioButton>(form3, QStringLiteral("Option1_%1").arg(size)),
                          Qt::LeftButton);
    const QPoint form3Pos = form3->pos();
    StartConfirmWindow* form4 = nullptr;
    QVERIFY(!programEndsAfter([&] { form4 = start.setUp(perDay, price); }));
    QVERIFY(form4);
    QVERIFY(env.messages.isEmpty());
    QCOMPARE(alive<SetupWindow>(), 0);
    QVERIFY2(start.filesAsAtStart(), "nothing written before the confirmation");
    QCOMPARE(form4->pos(), form3Pos);

    const QPoint form4Pos = form4->pos();
    QVERIFY(!programEndsAfter([form4] { click(form4, QStringLiteral("Command1")); }));

    QCOMPARE(alive<StartConfirmWindow>(), 0);
    QCOMPARE(alive<GreetingWindow>(), 0);
    QCOMPARE(env.readFile(kInitialFile), initialLine);
    QCOMPARE(env.readFile(kOptionFile),
             optionLine(1, form4Pos.x() * kTwipsPerPixel, form4Pos.y() * kTwipsPerPixel));
    QCOMPARE(appState().started, 1);
    MainWindow* main = shown<MainWindow>();
    QVERIFY(main);
    QCOMPARE(main->pos(), form4Pos);
}

void FirstRunTest::refusedEntry_data() {
    QTest::addColumn<QString>("perDay");
    QTest::addColumn<QString>("price");
    QTest::newRow("zero a day") << "0"
                                << "300";
    QTest::newRow("201 a day") << "201"
                               << "300";
    QTest::newRow("minus five a day") << "-5"
                                      << "300";
    QTest::newRow("empty a day") << ""
                                 << "300";
    QTest::newRow("letters a day") << "abc"
                                   << "300";
    QTest::newRow("zero yen") << "20"
                              << "0";
    QTest::newRow("2001 yen") << "20"
                              << "2001";
    QTest::newRow("empty price") << "20"
                                 << "";
    QTest::newRow("both wrong") << "0"
                                << "2001";
    QTest::newRow("both letters") << "x"
                                  << "yen";
    QTest::newRow("both too large") << "999"
                                    << "9999";
    QTest::newRow("beyond 32 bits") << "9e9"
                                    << "1e99";
}

void FirstRunTest::refusedEntry() {
    QFETCH(QString, perDay);
    QFETCH(QString, price);
    WindowTestEnvironment env;
    FirstRunStart start(env);
    SetupWindow* form3 = shown<SetupWindow>();
    QVERIFY(form3);
    QCOMPARE(start.setUp(perDay, price), nullptr);

    QCOMPARE(env.messages, QStringList{kRangeMessage});
    QCOMPARE(shown<SetupWindow>(), form3);
    QCOMPARE(alive<StartConfirmWindow>(), 0);
    auto* perDayBox = control<QLineEdit>(form3, QStringLiteral("Text1_0"));
    auto* priceBox = control<QLineEdit>(form3, QStringLiteral("Text1_1"));
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
    QTest::addColumn<QStringList>("texts"); // Label1, Label2, Label3(0), Label3(1)
    QTest::addColumn<QList<bool>>("pictures");
    QTest::addColumn<int>("label2Top");
    QTest::addColumn<int>("label3_1Top");
    const QStringList eve{"クリスマスイブ限定スペシャルメッセージ", "", "聖なる日のケムリンが",
                          "成功しますように！"};
    const QStringList christmas{"クリスマス限定スペシャルメッセージ", "メリークリスマス",
                                "聖なる日のケムリンが", "成功しますように！"};
    const QStringList newYear{"お正月限定スペシャルメッセージ", "あけましておめでとうございます",
                              "", "貴方のケムリンが成功しますように！"};
    QTest::newRow("24 December") << QDate(2008, 12, 24) << "クリスマスイブ - pmrsoft" << eve
                                 << QList<bool>{false, true, false} << 960 << 1920;
    QTest::newRow("25 December") << QDate(2008, 12, 25) << "メリークリスマス - pmrsoft" << christmas
                                 << QList<bool>{true, false, true} << 960 << 1920;
    for (int day = 1; day <= 3; ++day)
        QTest::addRow("%d January", day) << QDate(2009, 1, day) << "謹賀新年 - pmrsoft" << newYear
                                         << QList<bool>{false, false, false} << 1200 << 1800;
}

void FirstRunTest::greeting() {
    QFETCH(QDate, date);
    QFETCH(QString, caption);
    QFETCH(QStringList, texts);
    QFETCH(QList<bool>, pictures);
    QFETCH(int, label2Top);
    QFETCH(int, label3_1Top);
    WindowTestEnvironment env;
    env.clock.set(QDateTime(date, QTime(23, 59, 58)));
    FirstRunStart start(env);
    StartConfirmWindow* form4 = start.setUp(QStringLiteral("15"), QStringLiteral("410"));
    QVERIFY(form4);
    const QPoint form4Pos = form4->pos();
    click(form4, QStringLiteral("Command1"));

    GreetingWindow* form6 = shown<GreetingWindow>();
    QVERIFY(form6);
    QCOMPARE(alive<StartConfirmWindow>(), 0);
    QCOMPARE(alive<MainWindow>(), 0);
    QVERIFY2(start.filesAsAtStart(), "the greeting writes nothing until its button");
    QCOMPARE(form6->pos(), form4Pos);
    QCOMPARE(form6->windowTitle(), caption);
    QCOMPARE(form6->size(), QSize(5415 / 15, 3630 / 15));

    const QStringList names{"Label1", "Label2", "Label3_0", "Label3_1"};
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto* label = control<QLabel>(form6, names[i]);
        QCOMPARE(label->text(), texts[i]);
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(names[i]));
        QVERIFY(form6->rect().contains(label->geometry()));
    }
    QCOMPARE(control<QLabel>(form6, QStringLiteral("Label2"))->y(), twipsToPixels(label2Top));
    QCOMPARE(control<QLabel>(form6, QStringLiteral("Label3_0"))->y(), twipsToPixels(1560));
    QCOMPARE(control<QLabel>(form6, QStringLiteral("Label3_1"))->y(), twipsToPixels(label3_1Top));
    for (int i = 0; i < 3; ++i) {
        auto* picture = control<QLabel>(form6, QStringLiteral("Image1_%1").arg(i));
        QCOMPARE(picture->isVisibleTo(form6), pictures[i]);
        QCOMPARE(picture->pixmap().deviceIndependentSize().toSize(), QSize(25, 23));
    }

    // However long the greeting stays open, the quit moment is the minute of the confirmation.
    env.clock.set(QDateTime(date.addDays(1), QTime(8, 30, 0)));
    const QPoint form6Pos = form6->pos() + QPoint(40, 30);
    form6->move(form6Pos);
    QVERIFY(!programEndsAfter([form6] { click(form6, QStringLiteral("Command1")); }));
    QCOMPARE(alive<GreetingWindow>(), 0);
    QCOMPARE(env.readFile(kInitialFile),
             QByteArray::number(date.year()) + ',' + QByteArray::number(date.month()) + ',' +
                 QByteArray::number(date.day()) + ",23,59,15,410,85\r\n");
    QCOMPARE(env.readFile(kOptionFile),
             optionLine(1, form6Pos.x() * kTwipsPerPixel, form6Pos.y() * kTwipsPerPixel));
    MainWindow* main = shown<MainWindow>();
    QVERIFY(main);
    QCOMPARE(main->pos(), form6Pos);
}

void FirstRunTest::leavingWritesNothing_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("leave"); // window class, then how
    QTest::newRow("もう少し考える") << QDate(2008, 8, 26) << "StartConfirmWindow Command2_0";
    QTest::newRow("また次の機会にする") << QDate(2008, 8, 26) << "StartConfirmWindow Command2_1";
    QTest::newRow("setup closed") << QDate(2008, 8, 26) << "SetupWindow close";
    QTest::newRow("confirmation closed") << QDate(2008, 8, 26) << "StartConfirmWindow close";
    QTest::newRow("greeting closed") << QDate(2008, 12, 24) << "GreetingWindow close";
}

void FirstRunTest::leavingWritesNothing() {
    QFETCH(QDate, date);
    QFETCH(QString, leave);
    const QStringList how = leave.split(u' ');
    WindowTestEnvironment env;
    env.clock.set(QDateTime(date, QTime(12, 0, 0)));
    FirstRunStart start(env);
    QWidget* window = shown<SetupWindow>();
    if (how[0] != QStringLiteral("SetupWindow")) {
        window = start.setUp(QStringLiteral("20"), QStringLiteral("300"));
        QVERIFY(window);
    }
    if (how[0] == QStringLiteral("GreetingWindow")) {
        click(window, QStringLiteral("Command1"));
        window = shown<GreetingWindow>();
    }
    QVERIFY(window);

    QVERIFY2(programEndsAfter([window, how] {
                 if (how[1] == QStringLiteral("close"))
                     window->close();
                 else
                     click(window, how[1]);
             }),
             "leaving the flow ends the program");
    QCOMPARE(visibleWindows(), 0);
    QCOMPARE(alive<SetupWindow>() + alive<StartConfirmWindow>() + alive<GreetingWindow>() + alive<MainWindow>(), 0);
    QVERIFY(start.filesAsAtStart());
    QVERIFY(start.optionAtStart().startsWith("0,"));
    QVERIFY(env.messages.isEmpty());
}

void FirstRunTest::enterAccepts_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::newRow("setup, first box") << "SetupWindow"
                                      << "Text1_0" << int(Qt::Key_Return);
    QTest::newRow("setup, second box") << "SetupWindow"
                                       << "Text1_1" << int(Qt::Key_Return);
    QTest::newRow("setup, keypad Enter") << "SetupWindow"
                                         << "Text1_1" << int(Qt::Key_Enter);
    QTest::newRow("setup, size") << "SetupWindow"
                                 << "Option1_2" << int(Qt::Key_Return);
    QTest::newRow("setup, button") << "SetupWindow"
                                   << "Command1" << int(Qt::Key_Return);
    QTest::newRow("confirmation, start") << "StartConfirmWindow"
                                         << "Command1" << int(Qt::Key_Return);
    QTest::newRow("confirmation, decline") << "StartConfirmWindow"
                                           << "Command2_0" << int(Qt::Key_Enter);
    QTest::newRow("greeting") << "GreetingWindow"
                              << "Command1" << int(Qt::Key_Return);
}

void FirstRunTest::enterAccepts() {
    QFETCH(QString, window);
    QFETCH(QString, focus);
    QFETCH(int, key);
    WindowTestEnvironment env;
    env.clock.set(QDateTime(QDate(2009, 1, 2), QTime(6, 7, 8)));
    FirstRunStart start(env);
    SetupWindow* form3 = shown<SetupWindow>();
    QVERIFY(form3);
    typeInto(control<QLineEdit>(form3, QStringLiteral("Text1_0")), QStringLiteral("30"));
    typeInto(control<QLineEdit>(form3, QStringLiteral("Text1_1")), QStringLiteral("440"));
    QWidget* form = form3;
    if (window != QStringLiteral("SetupWindow")) {
        click(form3, QStringLiteral("Command1"));
        form = shown<StartConfirmWindow>();
    }
    if (window == QStringLiteral("GreetingWindow")) {
        click(form, QStringLiteral("Command1"));
        form = shown<GreetingWindow>();
    }
    QVERIFY(form);

    QWidget* target = control<QWidget>(form, focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(alive<SetupWindow>(), 0);
    if (window == QStringLiteral("SetupWindow")) {
        QVERIFY(shown<StartConfirmWindow>());
        QCOMPARE(appState().perDay, 30);
        QCOMPARE(appState().packPrice, 440);
    } else if (window == QStringLiteral("StartConfirmWindow")) {
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
    StartConfirmWindow* form4 = start.setUp(QStringLiteral("20"), QStringLiteral("300"));
    QVERIFY(form4);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(control<QWidget>(form4, QStringLiteral("Command1")), &repeat);
    QCOMPARE(shown<StartConfirmWindow>(), form4);
    QVERIFY(start.filesAsAtStart());
}

QTEST_MAIN(FirstRunTest)
#include "FirstRunTest.moc"
