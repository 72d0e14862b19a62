#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "platform/ColourDialog.h"
#include "platform/WebAddress.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"
#include "windows/PromotionWindow.h"
#include "windows/SettingsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QLineEdit* box(QWidget* window, const char* name) {
    return control<QLineEdit>(window, QLatin1String(name));
}

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env = std::make_unique<WindowTestEnvironment>();
        env->clock.set(QDateTime(QDate(2026, 12, 6), QTime(15, 30, 20)));
        env->writeSettings("2026,11,1,9,0,20,300,85\r\n", optionLine(1, 1500, 1500));
        setWebAddressOpener([this](const QUrl& url) {
            opened << url.toString();
            return true;
        });
        setColourChooser([this](const QColor& start) -> std::optional<QColor> {
            dialogStarts << start;
            if (nextColours.isEmpty())
                return std::nullopt;
            return nextColours.takeFirst();
        });
    }
    void cleanup() {
        env.reset();
        setWebAddressOpener({});
        setColourChooser({});
        opened.clear();
        dialogStarts.clear();
        nextColours.clear();
    }

    // From the main window or the mini window, the settings open where the main window stood,
    // filled from the settings; a save writes both files and brings back the window in use. An
    // edited address is stored as the file can hold it; one left alone keeps its bytes, even
    // those code page 932 has no character for. The colour dialog starts on the colour it gave
    // last; cancelled, it changes nothing.
    void opensFilledAndSavesBothFiles_data() {
        QTest::addColumn<int>("windowMode");
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QString>("typed"); // empty: the address is left alone
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("main window, address edited")
            << 2 << QByteArray(kDefaultBlogUrl) << u" example.jp/?q=\"煙\"😀 "_s
            << QByteArray("example.jp/?q=%22\x89\x8c%22%F0%9F%98%80");
        QTest::newRow("mini window, odd bytes left alone")
            << 1 << QByteArray("x/\x85\x40\x80") << QString() << QByteArray("x/\x85\x40\x80");
    }
    void opensFilledAndSavesBothFiles() {
        QFETCH(int, windowMode);
        QFETCH(QByteArray, address);
        QFETCH(QString, typed);
        QFETCH(QByteArray, saved);
        env->writeFile(
            kOptionFile,
            OptionLine{.mainLeft = 1500, .mainTop = 900, .windowMode = windowMode, .miniLeft = 4500}
                .bytes()
                .replace(kDefaultBlogUrl, address));
        SettingsWindow* settings = openSettings();
        QVERIFY(settings);
        QCOMPARE(alive<MainWindow>() + alive<MiniWindow>(), 0);
        QCOMPARE(settings->pos(), QPoint(100, 60));
        QStringList shown;
        for (const char* name :
             {"yearEdit", "monthEdit", "dayEdit", "hourEdit", "minuteEdit", "perDayEdit",
              "packPriceEdit", "tobaccoTaxEdit", "consumptionTaxEdit", "smokingYearsEdit"})
            shown << box(settings, name)->text();
        QCOMPARE(shown, QStringList({"2026", "11", "1", "9", "0", "20", "300", "8744", "5", "5"}));
        QVERIFY(control<QRadioButton>(settings, u"size1"_s)->isChecked() &&
                control<QRadioButton>(settings, u"copyPlus0"_s)->isChecked() &&
                control<QCheckBox>(settings, u"boxDisplayCheck"_s)->isChecked());
        QCOMPARE(cutOff(settings), QString());
        // The smoking years box follows the copy choice at once.
        QVERIFY(!box(settings, "smokingYearsEdit")->isEnabled());
        for (const auto& [choice, enabled] :
             {std::pair{"copyPlus2", true}, std::pair{"copyPlus1", false},
              std::pair{"copyPlus2", true}}) {
            QTest::mouseClick(control<QRadioButton>(settings, QLatin1String(choice)),
                              Qt::LeftButton);
            QCOMPARE(box(settings, "smokingYearsEdit")->isEnabled(), enabled);
        }

        retype(box(settings, "dayEdit"), u"2"_s);
        retype(box(settings, "perDayEdit"), u"40"_s);
        retype(box(settings, "consumptionTaxEdit"), u"10"_s);
        if (!typed.isEmpty())
            box(settings, "blogUrlEdit")->setText(typed);
        nextColours = {QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)};
        clickButton(settings, u"textColourButton"_s);
        clickButton(settings, u"backColourButton"_s);
        clickButton(settings, u"backColourButton"_s); // cancelled
        QCOMPARE(dialogStarts,
                 QList<QColor>({Qt::black, QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)}));
        const QPalette sample = control<QLabel>(settings, u"colourSample"_s)->palette();
        QCOMPARE(sample.color(QPalette::WindowText), QColor(0x11, 0x22, 0x33));
        QCOMPARE(sample.color(QPalette::Window), QColor(0x44, 0x55, 0x66));
        QTest::mouseClick(control<QRadioButton>(settings, u"size2"_s), Qt::LeftButton);
        control<QComboBox>(settings, u"statusModeBox"_s)->setCurrentIndex(1);
        settings->move(150, 120);
        QTRY_COMPARE(settings->pos(), QPoint(150, 120));
        QTest::keyClick(box(settings, "perDayEdit"), Qt::Key_Return);

        QVERIFY(env->messages.isEmpty());
        QCOMPARE(env->readFile(kInitialFile), QByteArray("2026,11,2,9,0,40,300,100\r\n"));
        const QByteArray option = env->readFile(kOptionFile);
        QVERIFY(option.startsWith("1,8744,10,2,5,1,2250,1800," + QByteArray::number(0x665544) +
                                  ',' + QByteArray::number(0x332211) + ",\"" + saved + "\","));
        QVERIFY(option.endsWith(",\"\x83\x52\x83\x58\x83\x82\"\r\n"));
        QTRY_COMPARE(alive<SettingsWindow>(), 0);
        MainWindow* main = env->program->mainWindow();
        QVERIFY(main);
        QCOMPARE(main->isVisible(), windowMode != 1);
        QCOMPARE(env->program->miniWindow()->isVisible(), windowMode == 1);
        QCOMPARE(main->pos(), QPoint(150, 120));
        QCOMPARE(control<QLabel>(main, u"statusValue"_s)->text(), u"日本列島"_s);
    }

    void aRefusedOrFailedSaveWritesNothingAndKeepsTheEdits_data() {
        QTest::addColumn<QString>("blockedFile"); // a folder in its place cannot be written
        QTest::addColumn<QString>("smokingYears");
        QTest::addColumn<QString>("message");
        const char* rows[][4] = {
            {"refused at the last check", "", "0", "有効範囲内にある半角数字を入れてください"},
            {"quit file unwritable", "initial.ini", "5", "initial.ini"},
            {"option file unwritable", "option.ini", "5", "option.ini"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString::fromUtf8(r[1]) << QString::fromUtf8(r[2])
                                << QString::fromUtf8(r[3]);
    }
    void aRefusedOrFailedSaveWritesNothingAndKeepsTheEdits() {
        QFETCH(QString, blockedFile);
        QFETCH(QString, smokingYears);
        QFETCH(QString, message);
        SettingsWindow* settings = openSettings();
        const QByteArray initialBefore = env->readFile(kInitialFile);
        const QByteArray optionBefore = env->readFile(kOptionFile);
        if (!blockedFile.isEmpty()) {
            const QString path = env->appDir() + u"/kemurindata/"_s + blockedFile;
            QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        }
        retype(box(settings, "perDayEdit"), u"40"_s);
        box(settings, "smokingYearsEdit")->setText(smokingYears); // the box is off: not typed
        clickButton(settings, u"saveButton"_s);

        QCOMPARE(env->messages.size(), 1);
        QVERIFY2(env->messages[0].contains(message), qPrintable(env->messages[0]));
        QVERIFY(settings->isVisible());
        QCOMPARE(box(settings, "perDayEdit")->text(), u"40"_s);
        if (blockedFile != u"initial.ini"_s)
            QCOMPARE(env->readFile(kInitialFile), initialBefore);
        if (blockedFile != u"option.ini"_s)
            QCOMPARE(env->readFile(kOptionFile), optionBefore);
        QCOMPARE(env->program->state().perDay, 20);
    }

    // The promotion window brings back fresh settings; Cancel, Enter on it and the close box
    // leave them alike: nothing written, the main window back in its old colours.
    void leavingWritesNothing() {
        SettingsWindow* settings = openSettings();
        const QByteArray optionBefore = env->readFile(kOptionFile);
        retype(box(settings, "perDayEdit"), u"40"_s);
        clickButton(settings, u"promotionButton"_s);
        QTRY_COMPARE(alive<SettingsWindow>(), 0);
        PromotionWindow* promotion = shown<PromotionWindow>();
        QVERIFY(promotion);
        QCOMPARE(promotion->pos(), QPoint(100, 100));
        const QString text = control<QPlainTextEdit>(promotion, u"promotionText"_s)->toPlainText();
        QVERIFY(text.startsWith(u"♪みんなでケムリン式（シェアウェア）\n\n"_s));
        QVERIFY(text.contains(u"\nhttps://kemurin.example.jp/minkemu/\n↓下のボタン"_s));
        clickButton(promotion, u"pageButton"_s);
        QCOMPARE(opened, QStringList(u"https://kemurin.example.jp/minkemu/"_s));
        QVERIFY(promotion->isVisible());
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
            QCOMPARE(env->readFile(kOptionFile), optionBefore);
            MainWindow* main = shown<MainWindow>();
            QVERIFY2(main, qPrintable(how));
            QCOMPARE(control<QLabel>(main, u"moneyValue"_s)->palette().color(QPalette::Window),
                     QColor(28, 3, 141));
            control<QAction>(main, u"settingsItem"_s)->trigger();
        }
    }

private:
    SettingsWindow* openSettings() {
        env->program->start();
        CounterWindow* running = env->program->state().windowMode == 1
                                     ? static_cast<CounterWindow*>(env->program->miniWindow())
                                     : env->program->mainWindow();
        if (!running || !QTest::qWaitForWindowExposed(running))
            return nullptr;
        control<QAction>(running, u"settingsItem"_s)->trigger();
        SettingsWindow* settings = shown<SettingsWindow>();
        if (!settings || !QTest::qWaitForWindowExposed(settings))
            return nullptr;
        return settings;
    }

    std::unique_ptr<WindowTestEnvironment> env;
    QStringList opened;
    QList<QColor> dialogStarts;
    QList<QColor> nextColours;
};

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
