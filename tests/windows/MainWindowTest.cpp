#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "platform/JapaneseFont.h"
#include "platform/SingleInstance.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

namespace {

QLabel* value(QWidget* window, const char* name) {
    return control<QLabel>(window, QLatin1String(name));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installJapaneseFontSubstitutes(); }
    void init() {
        env = std::make_unique<WindowTestEnvironment>();
        env->writeSettings("2008,8,21,10,23,20,300,85\r\n", optionLine(1, 1500, 1500));
    }
    void cleanup() { env.reset(); }

    void startUpOpensTheMainWindowWithTheFigures() {
        MainWindow* main = env->startProgram();
        QCOMPARE(main->windowTitle(), QStringLiteral(" ケムリン式 - pimaru"));
        QCOMPARE(main->size(), QSize(375, 222));
        QCOMPARE(value(main, "elapsedValue")->text(), QStringLiteral("０年０ヶ月５日０時間０分"));
        QCOMPARE(value(main, "lifeValue")->text(), QStringLiteral("０日と９時間１０分"));
        QCOMPARE(value(main, "moneyValue")->text(), QStringLiteral("1500円（節税分945円）"));
        QCOMPARE(value(main, "statusValue")->text(), QStringLiteral("軍曹"));
        QCOMPARE(value(main, "cigarettesValue")->text(),
                 QStringLiteral("5箱 8.5ｍ 金剛力士立像吽形"));
        QVERIFY(!value(main, "messageValue")->text().isEmpty());
        QVERIFY(env->program->miniWindow());
        QVERIFY(!env->program->miniWindow()->isVisible());
    }

    void aBrokenQuitFileCountsFromNowAndStaysForMending() {
        const QByteArray broken("2008,8,twenty-one,10,23,20,300,85\r\n");
        env->writeFile(kInitialFile, broken);
        MainWindow* main = env->startProgram();
        QCOMPARE(value(main, "elapsedValue")->text(), QStringLiteral("０年０ヶ月０日０時間０分"));
        QCOMPARE(value(main, "moneyValue")->text(), QStringLiteral("0円（節税分0円）"));
        QCOMPARE(env->readFile(kInitialFile), broken);
    }

    void everyTextShowsWholeInTheSettingsColours() {
        env->writeFile(kOptionFile, OptionLine{1, 1500, 1500, 0x00332211, 0x00665544}.bytes());
        MainWindow* main = env->startProgram();
        for (QWidget* c : main->findChildren<QWidget*>()) {
            if (!qobject_cast<QLabel*>(c) && !qobject_cast<QPushButton*>(c))
                continue;
            QVERIFY2(main->rect().contains(c->geometry()), qPrintable(c->objectName()));
            if (c->objectName().endsWith(QLatin1String("Heading")))
                QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(c->objectName()));
        }
        for (const char* name : {"elapsedValue", "lifeValue", "moneyValue", "statusValue",
                                 "cigarettesValue", "messageValue"}) {
            const QPalette colours = value(main, name)->palette();
            QCOMPARE(colours.color(QPalette::Window), QColor(0x11, 0x22, 0x33));
            QCOMPARE(colours.color(QPalette::WindowText), QColor(0x44, 0x55, 0x66));
        }
        QVERIFY(QFontInfo(value(main, "elapsedValue")->font()).family().contains(u"IPA"));
    }

    void aSavedPlaceOffTheScreenGoesToItsCentre() {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size() * 15;
        env->writeFile(kOptionFile, optionLine(1, screen.width() - 4999, -300));
        MainWindow* main = env->startProgram();
        QCOMPARE(main->pos(), QPoint(screen.width() / 2, screen.height() / 2) / 15);
        QCOMPARE(env->program->state().mainLeft, screen.width() / 2);
    }

    void theTimerRefreshesEveryThirtySeconds() {
        MainWindow* main = env->startProgram();
        auto* timer = control<QTimer>(main, QStringLiteral("refreshTimer"));
        QCOMPARE(timer->interval(), 30000);
        QVERIFY(timer->isActive());
        env->clock.set(QDateTime(QDate(2008, 8, 27), QTime(11, 30, 5)));
        timer->start(10);
        QTRY_COMPARE(value(main, "elapsedValue")->text(),
                     QStringLiteral("０年０ヶ月６日１時間７分"));
    }

    void copyPutsTheReportOnTheClipboard() {
        MainWindow* main = env->startProgram();
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        clickButton(main, QStringLiteral("copyButton"));
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, env->program->miniWindow()->reportText());
        QCOMPARE(copied.split(QStringLiteral("\r\n")),
                 QStringList({QStringLiteral("ステータス： 軍曹"),
                              QStringLiteral("ケムリン日： 2008年 8月 21日"),
                              QStringLiteral("ケムリンからの日数： 0年 0ヶ月 5日 0時間 0分"),
                              QStringLiteral("延びた寿命： 0日と9時間10分"),
                              QStringLiteral("節約できた金額： 1500円（節税分945円）"),
                              QStringLiteral("節煙本数： 5箱 8.5ｍ 金剛力士立像吽形")}));
    }

    void clickingTheElapsedTimeTogglesTheDetailedView() {
        env->clock.set(QDateTime(QDate(2009, 9, 24), QTime(13, 32)));
        MainWindow* main = env->startProgram();
        QLabel* elapsed = value(main, "elapsedValue");
        const QString normal = QStringLiteral("１年１ヶ月３日３時間９分");
        const QString detailed = QStringLiteral("３９９日３時間９分");
        QCOMPARE(elapsed->text(), normal);

        QTest::mouseClick(value(main, "lifeValue"), Qt::LeftButton);
        QCOMPARE(elapsed->text(), normal);
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), detailed);
        clickButton(main, QStringLiteral("copyButton"));
        QVERIFY(QGuiApplication::clipboard()->text().contains(
            QStringLiteral("ケムリンからの日数： 399日 3時間 9分")));
        QTest::mouseClick(elapsed, Qt::LeftButton);
        QCOMPARE(elapsed->text(), normal);

        // A refresh ends the detail view; the mini window's report still tells it once.
        QTest::mouseClick(elapsed, Qt::LeftButton);
        env->program->refresh();
        QCOMPARE(elapsed->text(), normal);
        QVERIFY(env->program->miniWindow()->reportText().contains(u"399日"));
        env->program->refresh();
        QVERIFY(!env->program->miniWindow()->reportText().contains(u"399日"));
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
            ::_exit(crashing.tryAcquire() ? 3 : 1); // dies holding the lock
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 3);
        InstanceLock next(path);
        QVERIFY(next.tryAcquire());
    }

private:
    std::unique_ptr<WindowTestEnvironment> env;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
