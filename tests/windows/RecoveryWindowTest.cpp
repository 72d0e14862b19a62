// からだの回復: reached from the counter windows, showing how far the count has come.
#include "WindowTestSupport.h"

#include "desktop/TrayIcon.h"
#include "windows/MiniWindow.h"
#include "windows/RecoveryWindow.h"

#include <QProgressBar>
#include <QScreen>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi));
}

enum class Way { MainMenu, MiniMenu, Lungs };

// What the window shows for each step, as "bar:state", the next step marked with "*": its
// colours and bold type.
QString rows(RecoveryWindow* window) {
    QStringList seen;
    for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
        const QLabel* state = label(window, qPrintable(u"state%1"_s.arg(i)));
        const QLabel* meaning = label(window, qPrintable(u"meaning%1"_s.arg(i)));
        // Half standing out ("?"): one of its colours or its bold type left behind.
        const int marks =
            int(meaning->autoFillBackground()) + int(meaning->font().bold()) +
            int(control<QWidget>(window, u"barCell%1"_s.arg(i))->autoFillBackground());
        seen << u"%1%2:%3"_s.arg(marks == 3  ? u"*"_s
                                 : marks > 0 ? u"?"_s
                                             : QString())
                    .arg(control<QProgressBar>(window, u"bar%1"_s.arg(i))->value())
                    .arg(state->text());
    }
    return seen.join(u'|');
}

} // namespace

Q_DECLARE_METATYPE(Way)

class RecoveryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env = std::make_unique<WindowTestEnvironment>();
        TrayIcon::assumeAvailable(true);
    }
    void cleanup() {
        env.reset();
        TrayIcon::assumeAvailable(std::nullopt);
    }

    void opensAndFollowsTheCount_data() {
        QTest::addColumn<Way>("way");
        QTest::newRow("main window's menu") << Way::MainMenu;
        QTest::newRow("mini window's menu") << Way::MiniMenu;
        QTest::newRow("a click on the lungs") << Way::Lungs;
    }
    // Five days in: the first six steps reached on their dates, two weeks next with nine days
    // left, in the counter's colours; each refresh moves the bars and the next step on.
    void opensAndFollowsTheCount() {
        QFETCH(Way, way);
        const OptionLine option{1,          1500,       1500,
                                0x00332211, 0x00665544, way == Way::MiniMenu ? 1 : 2};
        MainWindow* main = env->startCounting(option);
        QVERIFY(main);
        if (way == Way::Lungs) {
            const QPoint lungs = control<QWidget>(main, u"lungRight"_s)->geometry().center();
            QTest::mouseClick(main, Qt::LeftButton, {}, lungs);
        } else {
            trigger(shown<CounterWindow>(), "recoveryItem");
        }
        RecoveryWindow* recovery = env->program->recoveryWindow();
        QVERIFY(recovery && QTest::qWaitForWindowExposed(recovery));
        QCOMPARE(recovery->windowTitle(), u"からだの回復"_s);
        QCOMPARE(rows(recovery), u"100:2008年8月21日|100:2008年8月21日|100:2008年8月21日|"
                                 u"100:2008年8月22日|100:2008年8月23日|100:2008年8月24日|"
                                 u"*35:あと 9日0時間0分|16:|1:|0:|0:|0:|0:"_s);
        const QPalette next = label(recovery, "when6")->palette();
        QCOMPARE(next.color(QPalette::Window), QColor(0x11, 0x22, 0x33));
        QCOMPARE(next.color(QPalette::WindowText), QColor(0x44, 0x55, 0x66));
        QCOMPARE(label(recovery, "meaning6")->text(),
                 u"血のめぐりと肺の働きがよくなっていくころです"_s);

        env->refreshAt(at(2008, 9, 4, 10, 22));
        QCOMPARE(rows(recovery).section(u'|', 6, 7), u"*99:あと 1分|45:"_s);
        env->refreshAt(at(2008, 9, 4, 10, 23));
        QCOMPARE(rows(recovery).section(u'|', 6, 8),
                 u"100:2008年9月4日|*45:あと 17日0時間0分|3:"_s);
        QVERIFY(!label(recovery, "when6")->autoFillBackground());
        // Asked again, the one window comes forward.
        trigger(main, "recoveryItem");
        QCOMPARE(alive<RecoveryWindow>(), 1);
        QVERIFY(env->messages.isEmpty());
    }

    // Every line whole at the program's sizes, the window within the screen, from the first day
    // to past the last step; the sources and the caution at the foot.
    void fitsAndNamesItsSources() {
        MainWindow* main = env->startCounting();
        QVERIFY(main);
        trigger(main, "recoveryItem");
        RecoveryWindow* recovery = env->program->recoveryWindow();
        QVERIFY(QTest::qWaitForWindowExposed(recovery));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (const QDateTime& now : {at(2008, 8, 21, 10, 23), at(2008, 8, 21, 10, 24),
                                     at(2016, 3, 1, 0, 0), at(2030, 1, 1, 0, 0)}) {
            env->refreshAt(now);
            QVERIFY2(cutOff(recovery).isEmpty(), qPrintable(cutOff(recovery)));
            QVERIFY(screen.contains(recovery->geometry()));
        }
        QCOMPARE(label(recovery, "sourceNote")->text(),
                 u"出典：厚生労働省 e-ヘルスネット「禁煙の効果」、WHO（世界保健機関）、"
                 u"NHS（英国保健サービス）"_s);
        QCOMPARE(label(recovery, "adviceNote")->text(),
                 u"どれも一般的な目安で、あなたへの医学的な助言ではありません。"_s);
        QCOMPARE(label(recovery, "meaning4")->toolTip(), u"出典：NHS、e-ヘルスネット"_s);
        QTest::keyClick(recovery, Qt::Key_Escape);
        QTRY_COMPARE(alive<RecoveryWindow>(), 0);
        QVERIFY(main->isVisible());
    }

    // The lungs take a click, not the surface around them; their double click hides nothing,
    // and the window's surface still hides the window in the tray.
    void onlyTheLungsOpenIt() {
        MainWindow* main = env->startCounting();
        QVERIFY(main);
        QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(alive<RecoveryWindow>(), 0);
        const QPoint bridge = control<QWidget>(main, u"lungBridge"_s)->geometry().center();
        QTest::mouseClick(main, Qt::LeftButton, {}, bridge);
        QVERIFY(QTest::qWaitForWindowExposed(env->program->recoveryWindow()));
        QTest::mouseDClick(main, Qt::LeftButton, {}, bridge);
        QVERIFY(main->isVisible());
        QCOMPARE(alive<RecoveryWindow>(), 1);
        // The program's end, from the menu, closes it as it closes help, and ends the program.
        QObject giveUp;
        QTimer::singleShot(0, [&] { trigger(main, "exitItem"); });
        QTimer::singleShot(500, &giveUp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(alive<RecoveryWindow>(), 0);
    }

private:
    std::unique_ptr<WindowTestEnvironment> env;
};

QTEST_MAIN(RecoveryWindowTest)
#include "RecoveryWindowTest.moc"
