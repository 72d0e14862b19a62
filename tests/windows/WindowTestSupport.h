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

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

inline const QString kInitialFile = QStringLiteral("kemurindata/initial.ini");
inline const QString kOptionFile = QStringLiteral("kemurindata/option.ini");

// A program on a fresh folder, fixed clock and draw, a notification area, messages recorded.
class WindowTestEnvironment {
public:
    WindowTestEnvironment();
    ~WindowTestEnvironment();

    QString appDir() const { return m_dir.path(); }
    QByteArray readFile(const QString& path) const { return fileBytes(m_dir.filePath(path)); }
    void writeFile(const QString& path, const QByteArray& bytes) const {
        writeBytes(m_dir.filePath(path), bytes);
    }
    void writeSettings(const QByteArray& initial, const QByteArray& option) const {
        writeFile(kInitialFile, initial);
        writeFile(kOptionFile, option);
    }
    QByteArray bothFiles() const { return readFile(kInitialFile) + readFile(kOptionFile); }
    // Starts on a count five days old; the main window once a counter window shows (a start that
    // shows none ends the run, as a missing control does).
    MainWindow* startCounting(const OptionLine& option = {1, 1500, 1500},
                              const QByteArray& initial = kFiveDaysInitial);
    // Starts with real message boxes, each answered with OK; false if the program asked to end.
    bool startAnsweringMessages();
    // Runs `ask`, answering its real question yes or no; its text if no is the default.
    QString answerQuestion(bool yes, const std::function<void()>& ask);
    void refreshAt(const QDateTime& now) {
        clock.set(now);
        program->refresh();
    }

    FixedClock clock;
    FixedDraw draw{50};
    QStringList messages;
    QStringList opened; // addresses given to the desktop, which opens them when `opens`
    bool opens = true;
    std::unique_ptr<Program> program;

private:
    QTemporaryDir m_dir;
};

// Each test function of a window test on a fresh environment.
class WindowTest : public QObject {
    Q_OBJECT

protected slots:
    void init() { env = std::make_unique<WindowTestEnvironment>(); }
    void cleanup() { env.reset(); }

protected:
    std::unique_ptr<WindowTestEnvironment> env;
};

template <class T> T* shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
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

template <class C> C* control(QWidget* window, const QString& name) {
    C* c = window ? window->findChild<C*>(name) : nullptr;
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

inline QLabel* label(QWidget* window, const char* name) {
    return control<QLabel>(window, QLatin1String(name));
}
inline QLineEdit* box(QWidget* window, const char* name) {
    return control<QLineEdit>(window, QLatin1String(name));
}
inline void trigger(QWidget* window, const char* item) {
    control<QAction>(window, QLatin1String(item))->trigger();
}
inline void clickButton(QWidget* window, const QString& button) {
    QTest::mouseClick(control<QAbstractButton>(window, button), Qt::LeftButton);
}
inline void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}
// Runs an action inside the event loop and tells whether the program ended by itself.
bool programEndsAfter(const std::function<void()>& action);
// Types into a box: ASCII as key presses, anything else as the input method commits it.
void typeInto(QLineEdit* edit, const QString& text);
// Fills the shown setup window and accepts it; gives the confirmation window it hands over to.
StartConfirmWindow* acceptSetup(const QString& perDay, const QString& price);
// The first text of a label or button that is cut off or sticks out of its window; empty if none.
QString cutOff(QWidget* window);
