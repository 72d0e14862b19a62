// What a user reads and types: Qt's texts in Japanese, keys, texts whole, addresses opened.
#include "WindowTestSupport.h"

#include "desktop/ColourDialog.h"
#include "desktop/WebAddress.h"
#include "engine/DailyMessages.h"
#include "engine/LengthTable.h"
#include "engine/StatusReport.h"
#include "engine/StatusTitles.h"
#include "windows/MiniWindow.h"

#include <QColorDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QTextBlock>

namespace {

enum class Opened { Main, Mini, Help, Settings, Promotion };

// A key pressed in a window, on a named control or on the window itself, and what then shows.
struct KeyRow {
    const char* name;
    Opened window;
    const char* on;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool (*after)();
};

// Refreshes showing every message of the day and every title of both series five days in, and
// each length row's label as the count itself reaches that length.
QList<StatusSnapshot> everyText(const AppState& state) {
    const auto after = [&](std::int64_t minutes) {
        const QDateTime quit(QDate(2008, 8, 21), QTime(10, 23));
        return computeStatus(state, minuteParts(quit.addSecs(minutes * 60)), 50);
    };
    QList<StatusSnapshot> all;
    for (int i = 0; i < kDailyMessageCount; ++i)
        (all << after(5 * 1440)).last().texts.message = dailyMessage(i);
    QStringList titles;
    for (const QString& series : {soldierSeriesName(), cosmoSeriesName()})
        for (int n = 0; n < 1567; ++n) // days of the first year, then 1200 years
            titles << (n < 367 ? statusTitle(series, n, 0) : statusTitle(series, 400, n - 366));
    titles.removeDuplicates();
    for (const QString& title : titles)
        (all << after(5 * 1440)).last().texts.title = title;
    const std::int64_t perMinute = std::int64_t{state.cigLength} * state.perDay;
    for (int row = 1; row <= kLengthRowCount; ++row)
        all << after((std::int64_t{lengthRow(row).lengthMm} * 1440 + perMinute - 1) / perMinute);
    return all;
}

bool focusOn(const QString& name) {
    return QApplication::focusWidget() && QApplication::focusWidget()->objectName() == name;
}

} // namespace

Q_DECLARE_METATYPE(KeyRow)

class KeysAndTextsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env = std::make_unique<WindowTestEnvironment>();
        opened.clear();
        setWebAddressOpener([this](const QUrl& url) {
            opened << url.toString();
            return true;
        });
    }
    void cleanup() {
        env.reset();
        setWebAddressOpener({});
    }

    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path())); }

    // The colour dialog, in Japanese: a colour chosen shows in the sample, a cancel leaves it; its
    // custom colours are kept in the data folder, not in the user's configuration folder.
    void theColourDialog() {
        QWidget* settings = open(Opened::Settings);
        QVERIFY(settings && QTest::qWaitForWindowExposed(settings));
        const QLabel* sample = label(settings, "colourSample");
        const QColor saved = sample->palette().color(QPalette::Window);
        const QColor chosen(0x12, 0x34, 0x56);
        for (const bool accept : {false, true}) {
            QString title;
            // Answered from inside the dialog's own loop; without a dialog the click returns.
            QTimer::singleShot(0, [&] {
                if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
                    title = dialog->windowTitle();
                    dialog->setCurrentColor(chosen);
                    for (QPushButton* b : dialog->findChildren<QPushButton*>())
                        if (accept && b->text().startsWith(u"カスタムカラーに追加"_s))
                            b->click();
                    accept ? dialog->accept() : dialog->reject();
                }
            });
            clickButton(settings, u"backColourButton"_s);
            QCOMPARE(title, u"色を選択"_s);
            QCOMPARE(sample->palette().color(QPalette::Window), accept ? chosen : saved);
        }
        const QSettings kept(QSettings::UserScope, u"QtProject"_s);
        QCOMPARE(kept.value(u"Qt/customColors/0"_s).toUInt(), chosen.rgb());
        QCOMPARE(QDir(config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void keys_data() {
        QTest::addColumn<KeyRow>("row");
        const auto none = Qt::NoModifier, shift = Qt::ShiftModifier;
        const auto menuShows = [] { return shown<QMenu>() != nullptr; };
        const auto helpShows = [] { return shown<HelpWindow>() != nullptr; };
        const auto helpGone = [] { return alive<HelpWindow>() == 0; };
        const auto counterBack = [] { return shown<MainWindow>() && !alive<SettingsWindow>(); };
        const auto inSettings = [] { return shown<SettingsWindow>() && !alive<PromotionWindow>(); };
        const auto promotionStays = [] { return shown<PromotionWindow>() != nullptr; };
        const KeyRow rows[] = {
            {"Shift+F10 on the main window's copy button", Opened::Main, "copyButton", Qt::Key_F10,
             shift, menuShows},
            {"menu key on the mini window", Opened::Mini, "", Qt::Key_Menu, none, menuShows},
            {"Enter on the main window's help button", Opened::Main, "helpButton", Qt::Key_Return,
             none, helpShows},
            {"Escape in the help text", Opened::Help, "helpText", Qt::Key_Escape, none, helpGone},
            {"Escape in a settings box", Opened::Settings, "perDayEdit", Qt::Key_Escape, none,
             counterBack},
            {"Escape in the promotion text", Opened::Promotion, "promotionText", Qt::Key_Escape,
             none, inSettings},
            {"Enter on the promotion's close button", Opened::Promotion, "closeButton",
             Qt::Key_Return, none, inSettings},
            {"keypad Enter on the promotion's page button", Opened::Promotion, "pageButton",
             Qt::Key_Enter, none, promotionStays},
            // Tab into an option row lands on its chosen option.
            {"Tab into the copy options", Opened::Settings, "boxDisplayCheck", Qt::Key_Tab, none,
             [] { return focusOn(u"copyPlus2"_s); }}};
        for (const KeyRow& r : rows)
            QTest::newRow(r.name) << r;
    }
    // No key writes a file; only the page button opens an address.
    void keys() {
        QFETCH(KeyRow, row);
        QWidget* window = open(row.window);
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        const QByteArray files = env->bothFiles();
        QWidget* target = *row.on ? control<QWidget>(window, QLatin1String(row.on)) : window;
        if (row.window == Opened::Settings) // an edit that leaving by Escape must drop
            retype(box(window, "perDayEdit"), u"40"_s);
        if (row.key == Qt::Key_Tab) { // Tab moves on from the control that has the focus
            window->activateWindow();
            target->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(target->hasFocus());
        }
        QTest::keyClick(target, row.key, row.modifiers);
        QTRY_VERIFY(row.after());
        QCOMPARE(env->bothFiles(), files);
        QCOMPARE(opened, QByteArray(row.on) == "pageButton"
                             ? QStringList(u"https://kemurin.example.jp/minkemu/"_s)
                             : QStringList());
    }

    // Every text shows whole in its label of the main window, and in the mini window's lines, in
    // a window never below its design of 4230 × 1320 twips.
    void textsFitTheirLabels() {
        auto* main = qobject_cast<MainWindow*>(open(Opened::Main));
        QVERIFY(main);
        trigger(main, "switchItem");
        MiniWindow* mini = env->program->miniWindow();
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        for (const StatusSnapshot& status : everyText(env->program->state())) {
            main->showStatus(status);
            mini->setReportText(statusReport(env->program->state(), status, false));
            const QString seen =
                status.texts.message + u' ' + status.texts.title + u' ' + status.texts.cigarettes;
            QVERIFY2(cutOff(main).isEmpty(), qPrintable(seen));
            QVERIFY2(cutOff(mini).isEmpty() && mini->size().expandedTo({282, 88}) == mini->size(),
                     qPrintable(seen));
        }
    }

    // All eleven lines of the promotion text show whole, the address above the arrow.
    void promotionShowsElevenLines() {
        QWidget* promotion = open(Opened::Promotion);
        QVERIFY(promotion && QTest::qWaitForWindowExposed(promotion));
        auto* text = control<QPlainTextEdit>(promotion, u"promotionText"_s);
        QCOMPARE(cutOff(promotion), QString());
        QVERIFY(promotion->rect().contains(text->geometry()));
        QStringList lines;
        for (QTextBlock line = text->document()->firstBlock(); lines.size() < 11;
             line = line.next()) {
            QTextCursor end(line);
            end.movePosition(QTextCursor::EndOfBlock);
            QVERIFY2(line.isValid() && text->viewport()->rect().contains(text->cursorRect(end)),
                     qPrintable(line.text()));
            lines << line.text();
        }
        QCOMPARE(lines[9] + lines[10], u"https://kemurin.example.jp/minkemu/↓下のボタン"_s);
    }

    // The desktop's opener is watched without waiting: one that fails, late, or is missing is told.
    void blogAddressReachesTheOpener() {
        setWebAddressOpener({});
        MainWindow* main = env->startCounting();
        QVERIFY(main);
        const QByteArray path = qgetenv("PATH");
        const QString told = QString::fromUtf8(kCannotOpenAddress);
        for (const int exitCode : {0, 3, -1}) { // -1: no opener at all
            QTemporaryDir bin;
            const QString opener = bin.filePath(u"xdg-open"_s);
            if (exitCode >= 0)
                QVERIFY(
                    writeBytes(opener, "#!/bin/sh\n/bin/sleep 0.3\nexit " +
                                           QByteArray::number(exitCode) + "\n") &&
                    QFile::setPermissions(opener, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            qputenv("PATH", bin.path().toUtf8());
            clickButton(main, u"blogButton"_s);
            qputenv("PATH", path);
            if (exitCode >= 0) // the window goes on at once
                QVERIFY(env->messages.isEmpty());
            QTRY_VERIFY(qApp->findChildren<QProcess*>().isEmpty());
            QCOMPARE(env->messages, exitCode == 0 ? QStringList() : QStringList(told));
            env->messages.clear();
        }
    }

private:
    // Opens a window as a user reaches it, on a count of five days, long size, copy+ with years.
    QWidget* open(Opened window) {
        const int mode = window == Opened::Mini ? 1 : 2;
        if (!env->startCounting({1, 1500, 1500, 9241372, 16777215, mode, 0, 0, 2},
                                QByteArray(kFiveDaysInitial).replace(",85", ",100")))
            return nullptr;
        QWidget* counter = shown<CounterWindow>();
        if (window == Opened::Main || window == Opened::Mini)
            return counter;
        if (window == Opened::Help) {
            trigger(counter, "helpItem");
            return shown<HelpWindow>();
        }
        trigger(counter, "settingsItem");
        if (window == Opened::Settings)
            return shown<SettingsWindow>();
        clickButton(shown<SettingsWindow>(), u"promotionButton"_s);
        return shown<PromotionWindow>();
    }

    std::unique_ptr<WindowTestEnvironment> env;
    QStringList opened;
    QTemporaryDir config;
};

QTEST_MAIN(KeysAndTextsTest)
#include "KeysAndTextsTest.moc"
