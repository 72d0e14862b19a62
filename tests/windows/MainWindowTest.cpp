#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "engine/StatusReport.h"
#include "platform/JapaneseFont.h"
#include "platform/Screen.h"
#include "platform/SingleInstance.h"
#include "settings/SettingsFiles.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"
#include "app/Program.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kStarted = QStringLiteral("kemurindata/option.ini");
const QString kInitial = QStringLiteral("kemurindata/initial.ini");

QLabel* label2(MainWindow* form, int i) {
    return form->findChild<QLabel*>(QStringLiteral("Label2_%1").arg(i));
}

QStringList optionFields(const WindowTestEnvironment& env) {
    return QString::fromLatin1(env.readFile(kStarted)).trimmed().split(u',');
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installJapaneseFontSubstitutes(); }
    void init() {
        env = std::make_unique<WindowTestEnvironment>();
        env->writeFile(kInitial, "2008,8,21,10,23,20,300,85\r\n");
        env->writeFile(kStarted, optionLine(1, 1500, 1500));
    }
    void cleanup() { env.reset(); }

    void startUpOpensTheMainWindowWithTheFourFigures() {
        const QString before = QDir::currentPath();
        QDir::setCurrent(env->appDir());
        startProgram();
        QDir::setCurrent(before);
        MainWindow* form = mainWindowIfLoaded();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(form->windowTitle(), QStringLiteral(" ケムリン式 - pimaru"));
        QCOMPARE(label2(form, 0)->text(), QStringLiteral("０年０ヶ月５日０時間０分"));
        QCOMPARE(label2(form, 1)->text(), QStringLiteral("０日と９時間１０分"));
        QCOMPARE(label2(form, 2)->text(), QStringLiteral("1500円（節税分945円）"));
        QCOMPARE(label2(form, 4)->text(), QStringLiteral("5箱 8.5ｍ 金剛力士立像吽形"));
        QVERIFY(miniWindowIfLoaded());
        QVERIFY(!miniWindowIfLoaded()->isVisible());
    }

    void aBrokenQuitFileCountsFromNowAndStaysForMending() {
        const QByteArray broken("2008,8,twenty-one,10,23,20,300,85\r\n");
        env->writeFile(kInitial, broken);
        MainWindow* form = loadMainWindow();
        QCOMPARE(label2(form, 0)->text(), QStringLiteral("０年０ヶ月０日０時間０分"));
        QCOMPARE(label2(form, 2)->text(), QStringLiteral("0円（節税分0円）"));
        QCOMPARE(env->readFile(kInitial), broken);
    }

    void layoutFollowsTheDesign_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        const struct {
            const char* name;
            QRect twips;
            const char* text;
        } rows[] = {
            {"Label2_0", {240, 240, 3615, 255}, nullptr},
            {"Label2_1", {240, 790, 3615, 255}, nullptr},
            {"Label2_2", {240, 1340, 3615, 255}, nullptr},
            {"Label2_3", {4080, 240, 1335, 255}, nullptr},
            {"Label2_4", {240, 1890, 5175, 255}, nullptr},
            {"Label2_5", {240, 2440, 5175, 255}, nullptr},
            {"Command3", {120, 2950, 735, 300}, "コピー"},
            {"Command2", {960, 2950, 735, 300}, "ブログ"},
            {"Command4", {3960, 2950, 735, 300}, "ヘルプ"},
            {"Command1", {4800, 2950, 735, 300}, "設定"},
            {"ProgressBar1", {1800, 3120, 2055, 120}, nullptr},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << QString::fromLatin1(r.name)
                                  << QRect(r.twips.x() / 15, r.twips.y() / 15, r.twips.width() / 15,
                                           r.twips.height() / 15)
                                  << (r.text ? QString::fromUtf8(r.text) : QString());
    }
    void layoutFollowsTheDesign() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        MainWindow* form = loadMainWindow();
        QCOMPARE(form->size(), QSize(375, 222));
        QWidget* control = form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        if (!text.isEmpty())
            QCOMPARE(qobject_cast<QPushButton*>(control)->text(), text);
    }

    void headingsShowWhole() {
        MainWindow* form = loadMainWindow();
        for (int index : {0, 1, 2, 4, 5, 6, 19}) {
            auto* heading = form->findChild<QLabel*>(QStringLiteral("Label1_%1").arg(index));
            QVERIFY(heading);
            QVERIFY(heading->width() >= heading->sizeHint().width());
            QCOMPARE(heading->font().family(), QStringLiteral("ＭＳ ゴシック"));
        }
        QVERIFY(QFontInfo(label2(form, 0)->font()).family().contains(u"IPA"));
    }

    void valueLabelsTakeTheColoursOfTheSettings() {
        env->writeFile(kStarted, optionLine(1, 1500, 1500, 0x00332211, 0x00665544));
        MainWindow* form = loadMainWindow();
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(label2(form, i)->palette().color(QPalette::Window), QColor(0x11, 0x22, 0x33));
            QCOMPARE(label2(form, i)->palette().color(QPalette::WindowText),
                     QColor(0x44, 0x55, 0x66));
        }
    }

    void placementRules_data() {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("expectedLeft");
        QTest::addColumn<int>("expectedTop");
        const QSize s = primaryScreenTwips();
        const int w = s.width();
        const int h = s.height();
        QTest::newRow("left at the limit stays") << w - 5000 << 0 << w - 5000 << 0;
        QTest::newRow("left past the limit resets both") << w - 4999 << 0 << w / 2 << h / 2;
        QTest::newRow("top at the limit stays") << 0 << h - 3000 << 0 << h - 3000;
        QTest::newRow("top past the limit resets both") << 90 << h - 2999 << w / 2 << h / 2;
        QTest::newRow("negative left becomes 0") << -300 << 200 << 0 << 200;
        QTest::newRow("negative top becomes 0") << 300 << -1 << 300 << 0;
    }
    void placementRules() {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, expectedLeft);
        QFETCH(int, expectedTop);
        env->writeFile(kStarted, optionLine(1, left, top));
        MainWindow* form = loadMainWindow();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(appState().mainLeft, expectedLeft);
        QCOMPARE(appState().mainTop, expectedTop);
        QCOMPARE(form->pos(), QPoint(expectedLeft / 15, expectedTop / 15));
    }

    void closingWritesThePositionInTwips() {
        closeMainWindowAt(QPoint(200, 100), false);
        const QStringList fields = optionFields(*env);
        QCOMPARE(fields.size(), 15);
        QCOMPARE(fields[6], QStringLiteral("3000"));
        QCOMPARE(fields[7], QStringLiteral("1500"));
        QVERIFY(!miniWindowIfLoaded());
    }

    void closingWhileMinimisedSavesTheRestoredPosition() {
        closeMainWindowAt(QPoint(150, 75), true);
        const QStringList fields = optionFields(*env);
        QCOMPARE(fields[6], QStringLiteral("2250"));
        QCOMPARE(fields[7], QStringLiteral("1125"));
    }

    void theTimerRefreshesEveryThirtySeconds() {
        MainWindow* form = loadMainWindow();
        auto* timer = form->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 30000);
        QVERIFY(timer->isActive());
        env->clock.set(QDateTime(QDate(2008, 8, 27), QTime(11, 30, 5)));
        timer->start(10);
        QTRY_COMPARE(label2(form, 0)->text(), QStringLiteral("０年０ヶ月６日１時間７分"));
        QCOMPARE(appState().elapsedMinutes, 6 * 1440 + 67);
    }

    void copyPutsTheReportOnTheClipboard() {
        MainWindow* form = loadMainWindow();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command3")),
                          Qt::LeftButton);
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, miniWindow()->reportText());
        const QStringList lines = copied.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("ステータス： 軍曹"));
        QCOMPARE(lines[1], QStringLiteral("ケムリン日： 2008年 8月 21日"));
        QCOMPARE(lines[2], QStringLiteral("ケムリンからの日数： 0年 0ヶ月 5日 0時間 0分"));
        QCOMPARE(lines[3], QStringLiteral("延びた寿命： 0日と9時間10分"));
        QCOMPARE(lines[4], QStringLiteral("節約できた金額： 1500円（節税分945円）"));
        QCOMPARE(lines[5], QStringLiteral("節煙本数： 5箱 8.5ｍ 金剛力士立像吽形"));
    }

    void clickingTheElapsedTimeTogglesTheDetailedView() {
        env->clock.set(QDateTime(QDate(2009, 9, 24), QTime(13, 32)));
        MainWindow* form = loadMainWindow();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QLabel* elapsed = label2(form, 0);
        const QString normal = QStringLiteral("１年１ヶ月３日３時間９分");
        QCOMPARE(elapsed->text(), normal);

        QTest::mouseClick(label2(form, 1), Qt::LeftButton);
        QCOMPARE(appState().detailView, 0);
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), QStringLiteral("３９９日３時間９分"));
        QCOMPARE(appState().detailView, 1);
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command3")),
                          Qt::LeftButton);
        QVERIFY(QGuiApplication::clipboard()->text().contains(
            QStringLiteral("ケムリンからの日数： 399日 3時間 9分")));

        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), normal);
        QCOMPARE(appState().detailView, 0);

        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(appState().detailView, 1);
        refreshStatus();
        QCOMPARE(elapsed->text(), normal);
        QCOMPARE(appState().detailView, 0);
    }

    void aSecondInstanceIsRefusedAndACrashedOneBlocksNothing() {
        const QString path = env->appDir() + QStringLiteral("/second.lock");
        {
            InstanceLock first(path);
            QVERIFY(first.tryAcquire());
            InstanceLock second(path);
            QVERIFY(!second.tryAcquire());
        }
        const pid_t child = fork();
        if (child == 0) {
            InstanceLock crashing(path);
            if (crashing.tryAcquire())
                ::_exit(3); // dies holding the lock
            ::_exit(1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 3);
        InstanceLock next(path);
        QVERIFY(next.tryAcquire());
    }

private:
    // Shows the main window, moves it to a position and closes it there.
    static void closeMainWindowAt(QPoint position, bool minimisedFirst) {
        MainWindow* form = loadMainWindow();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->move(position);
        QTRY_COMPARE(form->pos(), position);
        if (minimisedFirst)
            form->showMinimized();
        form->close();
        QTRY_VERIFY(!mainWindowIfLoaded());
    }

    std::unique_ptr<WindowTestEnvironment> env;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
