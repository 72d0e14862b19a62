// Keys in each window: what they open and close, never a file written; every text whole.
#include "WindowTestSupport.h"

#include <QMenu>

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

bool focusOn(const QString& name) {
    return QApplication::focusWidget() && QApplication::focusWidget()->objectName() == name;
}

} // namespace

Q_DECLARE_METATYPE(KeyRow)

class KeysAndTextsTest : public WindowTest {
    Q_OBJECT

private slots:
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
        QCOMPARE(cutOff(window), QString());
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
        QCOMPARE(env->opened, QByteArray(row.on) == "pageButton"
                                  ? QStringList(u"https://kemurin.example.jp/minkemu/"_s)
                                  : QStringList());
    }

private:
    // Opens a window as a user reaches it, on a count of five days, long size, copy+ with years.
    QWidget* open(Opened window) {
        const int mode = window == Opened::Mini ? 1 : 2;
        env->startCounting({1, 1500, 1500, 9241372, 16777215, mode, 0, 0, 2},
                           QByteArray(kFiveDaysInitial).replace(",85", ",100"));
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
};

QTEST_MAIN(KeysAndTextsTest)
#include "KeysAndTextsTest.moc"
