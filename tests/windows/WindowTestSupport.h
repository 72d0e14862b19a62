#pragma once

#include "SettingsLines.h"
#include "app/Program.h"
#include "engine/Clock.h"
#include "engine/RandomDraw.h"
#include "windows/HelpWindow.h"
#include "windows/MainWindow.h"
#include "windows/PromotionWindow.h"
#include "windows/SettingsWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The literals every window test writes.
using namespace Qt::StringLiterals;

// A program on a fresh folder with the program's look, a fixed clock and draw, recorded
// messages instead of modal boxes, and a runtime folder of its own.
class WindowTestEnvironment {
public:
    WindowTestEnvironment();
    ~WindowTestEnvironment();

    QString appDir() const { return m_dir.path(); }
    QByteArray readFile(const QString& relativePath) const;
    void writeFile(const QString& relativePath, const QByteArray& bytes) const;
    void writeSettings(const QByteArray& initialLine, const QByteArray& optionLine) const;
    // Both files as they stand.
    QByteArray bothFiles() const;
    // Starts on a count five days old; the main window once a counter window shows, or null.
    MainWindow* startCounting(const OptionLine& option = {1, 1500, 1500},
                              const QByteArray& initial = kFiveDaysInitial);
    // Starts inside the event loop with real message boxes, each answered with OK once it shows
    // (their texts go to `messages`). False when the program asked to end.
    bool startAnsweringMessages();
    void refreshAt(const QDateTime& now) {
        clock.set(now);
        program->refresh();
    }

    FixedClock clock;
    FixedDraw draw{50};
    QStringList messages;
    std::unique_ptr<Program> program;

private:
    QTemporaryDir m_dir;
};

// What the user is told when the desktop cannot open an address.
inline constexpr char kCannotOpenAddress[] =
    "エラーです。フォルダオプションの関連付けなどを確認してください";

inline const QString kInitialFile = QStringLiteral("kemurindata/initial.ini");
inline const QString kOptionFile = QStringLiteral("kemurindata/option.ini");

// The one visible top-level window of a class, if any.
template <class T> T* shown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    }
    return nullptr;
}

// How many windows of these classes exist, once pending deletions have run.
template <class... T> int alive() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += ((qobject_cast<T*>(w) ? 1 : 0) + ...);
    return n;
}

// A named child that must exist.
template <class C> C* control(QWidget* window, const QString& name) {
    C* c = window ? window->findChild<C*>(name) : nullptr;
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QLabel* label(QWidget* window, const char* name);
QLineEdit* box(QWidget* window, const char* name);
void trigger(QWidget* window, const char* menuItem);
// Clicks a push, radio or check button.
void clickButton(QWidget* window, const QString& button);
// Replaces a box's text as typed.
void retype(QLineEdit* edit, const QString& text);
// Types into a box: ASCII as key presses, anything else as the input method commits it.
void typeInto(QLineEdit* edit, const QString& text);
// Fills the shown setup window and accepts it; gives the confirmation window it hands over to.
StartConfirmWindow* acceptSetup(const QString& perDay, const QString& price);
// The first text of a label or button that is cut off or sticks out of its window; empty if none.
QString cutOff(QWidget* window);
