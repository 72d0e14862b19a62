// からだの回復: reached from the counter windows, showing how far the count has come.
#include "WindowTestSupport.h"

#include "windows/RecoveryWindow.h"

#include <QProgressBar>
#include <QScreen>

namespace {

enum class Way { MainMenu, MiniMenu, Lungs };

// Each step as "bar:state"; "*" marks the next by colours and bold type, "?" by some of them; "-"
// one to come, in other than the reached steps' black.
QString rows(RecoveryWindow* window) {
    QStringList seen;
    for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
        const QString n = QString::number(i);
        const QLabel* meaning = control<QLabel>(window, "meaning" + n);
        const int marks = int(meaning->autoFillBackground()) + int(meaning->font().bold()) +
                          int(control<QWidget>(window, "barCell" + n)->autoFillBackground());
        const bool dim = meaning->palette().color(QPalette::WindowText) != Qt::black;
        seen << (marks == 3  ? u"*"_s
                 : marks > 0 ? u"?"_s
                 : dim       ? u"-"_s
                             : QString()) +
                    QString::number(control<QProgressBar>(window, "bar" + n)->value()) + u':' +
                    control<QLabel>(window, "state" + n)->text();
    }
    return seen.join(u'|');
}

} // namespace

Q_DECLARE_METATYPE(Way)

class RecoveryWindowTest : public WindowTest {
    Q_OBJECT

private slots:
    void opensAndFollowsTheCount_data() {
        QTest::addColumn<Way>("way");
        QTest::newRow("main window's menu") << Way::MainMenu;
        QTest::newRow("mini window's menu") << Way::MiniMenu;
        QTest::newRow("a click on the lungs, not beside them") << Way::Lungs;
    }
    // Five days in: six steps reached on their dates, two weeks next with nine days left in the
    // counter's colours; each refresh moves the bars and the next step on. Asked again, the one
    // window stays and the main window with it.
    void opensAndFollowsTheCount() {
        QFETCH(Way, way);
        MainWindow* main = env->startCounting(
            {1, 1500, 1500, 0x00332211, 0x00665544, way == Way::MiniMenu ? 1 : 2});
        const QPoint lungs = control<QWidget>(main, u"lungBridge"_s)->geometry().center();
        if (way == Way::Lungs) {
            QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(2, 2));
            QCOMPARE(alive<RecoveryWindow>(), 0);
            QTest::mouseClick(main, Qt::LeftButton, {}, lungs);
        } else {
            trigger(shown<CounterWindow>(), "recoveryItem");
        }
        RecoveryWindow* recovery = env->program->recoveryWindow();
        QVERIFY(recovery && QTest::qWaitForWindowExposed(recovery));
        QCOMPARE(rows(recovery), u"100:2008年8月21日|100:2008年8月21日|100:2008年8月21日|"
                                 u"100:2008年8月22日|100:2008年8月23日|100:2008年8月24日|"
                                 u"*35:あと 9日0時間0分|-16:|-1:|-0:|-0:|-0:|-0:"_s);
        const QPalette next = label(recovery, "when6")->palette();
        QCOMPARE(next.color(QPalette::Window), QColor(0x11, 0x22, 0x33));
        QCOMPARE(next.color(QPalette::WindowText), QColor(0x44, 0x55, 0x66));
        env->refreshAt(QDateTime(QDate(2008, 9, 4), QTime(10, 22)));
        QCOMPARE(rows(recovery).section(u'|', 6, 7), u"*99:あと 1分|-45:"_s);
        env->refreshAt(QDateTime(QDate(2008, 9, 4), QTime(10, 23)));
        QCOMPARE(rows(recovery).section(u'|', 6, 8),
                 u"100:2008年9月4日|*45:あと 17日0時間0分|-3:"_s);
        if (way == Way::Lungs)
            QTest::mouseDClick(main, Qt::LeftButton, {}, lungs);
        else
            trigger(main, "recoveryItem");
        QVERIFY(alive<RecoveryWindow>() == 1 && shown<CounterWindow>() && env->messages.isEmpty());
        // Whole and on the screen from the first minute to past the last step; Escape closes it.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (const QDate day : {QDate(2008, 8, 21), QDate(2008, 8, 22), QDate(2030, 1, 1)}) {
            env->refreshAt(QDateTime(day, QTime(10, 24)));
            QVERIFY2(cutOff(recovery).isEmpty(), qPrintable(cutOff(recovery)));
            QVERIFY(screen.contains(recovery->geometry()));
        }
        QTest::keyClick(recovery, Qt::Key_Escape);
        QTRY_COMPARE(alive<RecoveryWindow>(), 0);
        trigger(shown<CounterWindow>(), "recoveryItem");
        QVERIFY(programEndsAfter([] { trigger(shown<CounterWindow>(), "exitItem"); }));
        QCOMPARE(alive<RecoveryWindow>(), 0);
    }
};

QTEST_MAIN(RecoveryWindowTest)
#include "RecoveryWindowTest.moc"
