#include "WindowTestSupport.h"

#include "windows/HistoryWindow.h"
#include "windows/RecoveryWindow.h"
#include "windows/SlipWindow.h"

#include <QClipboard>
#include <QRadioButton>

namespace {

const QString kHistoryFile = QStringLiteral("kemurindata/history.ini");

// Two attempts that slips ended, the second the longest at 10 days, and a line that does not read.
const QByteArray kHistory = "2008,1,1,0,0,2008,1,4,12,0,20,300,85,\"\"\r\n"
                            "2008,5,1,0,0,2008,5,11,0,0,10,400,85,\"\x88\xf9\x82\xdd\x89\xef\"\r\n"
                            "2008,7,1,0,0\r\n";

// The slip window's own moment chosen and typed as "year month day hour minute".
void typeMoment(SlipWindow* slip, const QString& moment) {
    clickButton(slip, u"momentOption"_s);
    const QStringList parts = moment.split(u' ');
    int i = 0;
    for (const char* name : {"yearEdit", "monthEdit", "dayEdit", "hourEdit", "minuteEdit"})
        retype(box(slip, name), parts[i++]);
}

} // namespace

class AttemptWindowsTest : public WindowTest {
    Q_OBJECT

private slots:
    // A slip from the menu: now or a typed moment, a Japanese note; the count starts again and the
    // attempt that ended is kept with the habit it had, in the history at once. What the window
    // refuses is told and it stays open; Escape and the close box leave all as it was.
    void slip_data() {
        QTest::addColumn<bool>("mini");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<QString>("note"); // or "Escape", "close"
        QTest::addColumn<QString>("told");
        QTest::addColumn<QByteArray>("line"); // in history.ini; empty: nothing recorded
        QTest::addColumn<QString>("elapsed");
        QTest::addColumn<QString>("toBest");
        const QString fiveDays = u"０年０ヶ月５日０時間０分"_s;
        QTest::newRow("now, by Enter, a note")
            << false << QString() << u"飲み会で一本"_s << QString()
            << QByteArray("2008,8,21,10,23,2008,8,26,10,23,20,300,85,\"\x88\xf9\x82\xdd\x89\xef"
                          "\x82\xc5\x88\xea\x96\x7b\"\r\n")
            << u"０年０ヶ月０日０時間０分"_s << u"最長記録まで あと 5日 0時間"_s;
        QTest::newRow("typed moment, from the mini window")
            << true << u"2008 8 25 22 5"_s << QString() << QString()
            << QByteArray("2008,8,21,10,23,2008,8,25,22,5,20,300,85,\"\"\r\n")
            << u"０年０ヶ月０日１２時間１８分"_s << u"最長記録まで あと 4日 0時間"_s;
        QTest::newRow("before the start") << false << u"2008 8 21 10 22"_s << QString()
                                          << u"今回の禁煙を始めた日時より前の日時は設定できません"_s
                                          << QByteArray() << fiveDays << QString();
        QTest::newRow("to come") << false << u"2008 8 26 10 24"_s << QString()
                                 << u"現在より未来の日時は設定できません"_s << QByteArray()
                                 << fiveDays << QString();
        QTest::newRow("31 September") << false << u"2008 9 31 0 0"_s << QString()
                                      << u"有効範囲内にある半角数字を入れてください"_s
                                      << QByteArray() << fiveDays << QString();
        QTest::newRow("a quote in the note")
            << false << QString() << u"\"x\""_s
            << u"メモには、シフトJISで保存できない文字と「\"」は使えません"_s << QByteArray()
            << fiveDays << QString();
        QTest::newRow("Escape") << false << QString() << u"Escape"_s << QString() << QByteArray()
                                << fiveDays << QString();
        QTest::newRow("close box") << false << QString() << u"close"_s << QString() << QByteArray()
                                   << fiveDays << QString();
    }
    void slip() {
        QFETCH(bool, mini);
        QFETCH(QString, moment);
        QFETCH(QString, note);
        QFETCH(QString, told);
        QFETCH(QByteArray, line);
        env->startCounting({1, 1500, 1500, 9241372, 16777215, mini ? 1 : 0});
        const QByteArray before = env->bothFiles();
        trigger(shown<CounterWindow>(), "slipItem");
        SlipWindow* slip = shown<SlipWindow>();
        QVERIFY(slip);
        QCOMPARE(cutOff(slip), QString());
        QLineEdit* year = box(slip, "yearEdit");
        QLineEdit* noteEdit = box(slip, "noteEdit");
        if (!moment.isEmpty())
            typeMoment(slip, moment);
        QCOMPARE(year->isEnabled(), !moment.isEmpty());
        if (note == u"Escape"_s)
            QTest::keyClick(noteEdit, Qt::Key_Escape);
        else if (note == u"close"_s)
            slip->close();
        else if (typeInto(noteEdit, note); moment.isEmpty())
            QTest::keyClick(noteEdit, Qt::Key_Return);
        else
            clickButton(slip, u"recordButton"_s);
        QCOMPARE(env->messages, told.isEmpty() ? QStringList() : QStringList(told));
        QTRY_COMPARE(alive<SlipWindow>(), told.isEmpty() ? 0 : 1);
        QTEST(label(env->program->mainWindow(), "elapsedValue")->text(), "elapsed");
        QCOMPARE(env->readFile(kHistoryFile), line.isEmpty() ? QByteArray("<missing>") : line);
        if (line.isEmpty()) {
            QCOMPARE(env->bothFiles(), before);
            return;
        }
        // Started again where the attempt ended, with the same habit.
        QCOMPARE(env->readFile(kInitialFile), line.split(',').mid(5, 8).join(',') + "\r\n");
        trigger(shown<CounterWindow>(), "historyItem");
        HistoryWindow* history = env->program->historyWindow();
        QVERIFY(history && history->isVisible());
        QCOMPARE(label(history, "countValue")->text(), u"2回目"_s);
        QCOMPARE(label(history, "attempt1_5")->text(), note);
        QVERIFY(label(history, "toBestLabel")->isVisible());
        QTEST(label(history, "toBestLabel")->text(), "toBest");
    }

    // The record from the file: the current attempt, the best with its dates, the count, each row,
    // the totals and the way to the best; the unread line told once, the copy kept.
    void historyShown() {
        env->writeFile(kHistoryFile, kHistory);
        env->startCounting();
        QCOMPARE(env->messages.size(), 1);
        QVERIFY(env->messages[0].contains(u"3 行目を除いて表示します"_s));
        trigger(shown<CounterWindow>(), "historyItem");
        HistoryWindow* history = env->program->historyWindow();
        QVERIFY(QTest::qWaitForWindowExposed(history));
        QCOMPARE(label(history, "currentValue")->text(), u"2008/08/21 10:23 から　5日0時間"_s);
        QCOMPARE(label(history, "bestValue")->text(),
                 u"10日0時間（2008/05/01 00:00 ～ 2008/05/11 00:00）"_s);
        QCOMPARE(label(history, "countValue")->text(), u"3回目"_s);
        QVERIFY(label(history, "toBestLabel")->isVisible());
        QCOMPARE(label(history, "toBestLabel")->text(), u"最長記録まで あと 5日 0時間"_s);
        QVERIFY(label(history, "unreadLabel")->isVisible());
        QStringList row;
        for (int column = 0; column < 6; ++column)
            row << label(history, qPrintable(u"attempt2_%1"_s.arg(column)))->text();
        QCOMPARE(row.join(u'|'),
                 u"2008/05/01 00:00|2008/05/11 00:00|10日0時間|5箱|2000円|飲み会"_s);
        QCOMPARE(label(history, "attempt1_2")->text(), u"3日12時間"_s);
        QVERIFY(label(history, "attempt2_0")->font().bold());
        QVERIFY(!label(history, "attempt1_0")->font().bold());
        QCOMPARE(label(history, "totalsValue")->text(),
                 u"合計　禁煙した日数 18日12時間　吸わなかった煙草 270本　節約できた金額 4550円"_s);
        QCOMPARE(cutOff(history), QString());
        // The body's recovery names how far the longest attempt got, while it is the longest.
        trigger(shown<CounterWindow>(), "recoveryItem");
        QLabel* bestRun = label(::shown<RecoveryWindow>(), "bestRunNote");
        QVERIFY(bestRun->isVisible());
        QCOMPARE(bestRun->text(), u"最長記録では『72時間』まで"_s);
        // Refreshed with the counter: less than an hour from the best, level with it, past it.
        env->refreshAt(QDateTime(QDate(2008, 8, 31), QTime(9, 24)));
        QCOMPARE(label(history, "toBestLabel")->text(), u"最長記録まで あと 0日 1時間"_s);
        env->refreshAt(QDateTime(QDate(2008, 8, 31), QTime(10, 23)));
        QVERIFY(label(history, "toBestLabel")->isHidden() && bestRun->isVisible());
        env->refreshAt(QDateTime(QDate(2008, 8, 31), QTime(10, 24)));
        QCOMPARE(label(history, "bestValue")->text(), u"10日0時間（2008/08/21 10:23 ～ 今回）"_s);
        QVERIFY(label(history, "toBestLabel")->isHidden() && bestRun->isHidden());
        clickButton(history, u"copyButton"_s);
        const QStringList copied = QGuiApplication::clipboard()->text().split(u"\r\n"_s);
        QCOMPARE(copied.value(0), u"これまでの記録"_s);
        QCOMPARE(copied.value(5),
                 u"2. 2008/05/01 00:00 ～ 2008/05/11 00:00 10日0時間 5箱 2000円 「飲み会」"_s);
        QTest::keyClick(control<QPushButton>(history, u"copyButton"_s), Qt::Key_Escape);
        QTRY_VERIFY(!env->program->historyWindow());
        // A second start on the same folder has been told already.
        env->program.reset();
        env->messages.clear();
        env->program = std::make_unique<Program>(env->appDir());
        env->program->start();
        QVERIFY(QTest::qWaitForWindowExposed(env->program->mainWindow()));
        QCOMPARE(env->messages, QStringList());
    }

    // A save that moves the quit moment later asks once whether to keep the attempt it ends:
    // はい keeps it with all three files in one save, いいえ only moves the start.
    void settingsMoveTheStartLater_data() {
        QTest::addColumn<bool>("keep");
        QTest::newRow("はい") << true;
        QTest::newRow("いいえ") << false;
    }
    void settingsMoveTheStartLater() {
        QFETCH(bool, keep);
        env->startCounting();
        trigger(shown<CounterWindow>(), "settingsItem");
        QTRY_COMPARE(alive<MainWindow>(), 0);
        SettingsWindow* settings = shown<SettingsWindow>();
        retype(box(settings, "dayEdit"), u"24"_s);
        const QString asked =
            env->answerQuestion(keep, [&] { clickButton(settings, u"saveButton"_s); });
        QVERIFY(asked.contains(u"「これまでの記録」に残しますか？"_s));
        QTRY_COMPARE(alive<SettingsWindow>(), 0);
        QCOMPARE(env->readFile(kInitialFile), QByteArray("2008,8,24,10,23,20,300,85\r\n"));
        QCOMPARE(env->readFile(kHistoryFile),
                 keep ? QByteArray("2008,8,21,10,23,2008,8,24,10,23,20,300,85,\"\"\r\n")
                      : QByteArray("<missing>"));
        // Moved earlier, nothing is asked.
        trigger(shown<CounterWindow>(), "settingsItem");
        QTRY_COMPARE(alive<MainWindow>(), 0);
        retype(box(shown<SettingsWindow>(), "dayEdit"), u"20"_s);
        clickButton(shown<SettingsWindow>(), u"saveButton"_s);
        QCOMPARE(env->messages, QStringList());
        QCOMPARE(env->readFile(kInitialFile), QByteArray("2008,8,20,10,23,20,300,85\r\n"));
    }
};

QTEST_MAIN(AttemptWindowsTest)
#include "AttemptWindowsTest.moc"
