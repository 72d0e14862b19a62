#pragma once

#include "app/HistoryKeeper.h"
#include "app/SettingsKeeper.h"
#include "desktop/SessionAutostart.h"
#include "engine/MilestoneNotices.h"
#include "engine/StatusEngine.h"
#include "settings/AppState.h"
#include "settings/SettingsFiles.h"

#include <QGuiApplication>
#include <QObject>
#include <QPointer>

#include "windows/HelpWindow.h"
#include "windows/HistoryWindow.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"
#include "windows/PromotionWindow.h"
#include "windows/RecoveryWindow.h"
#include "windows/SettingsWindow.h"

// The program: owns the settings, opens and switches the windows, and refreshes them.
class Program : public QObject {
    Q_OBJECT
public:
    // Settings live in "kemurindata" under appDir; windows are placed unless the platform places
    // them itself.
    explicit Program(QString appDir, const QString& platformName = QGuiApplication::platformName());

    // Settles the data folder and the settings, then opens the first window. When another
    // instance runs it says so and ends the process, nothing written.
    void start();
    // What a start with the session runs: this very program in appDir unless told otherwise.
    void setSessionStart(SessionStart start) { m_sessionStart = std::move(start); }
    // start() hides the counter window behind its icon, and ends quietly beside a running one.
    void setStartInTray(bool inTray) { m_startInTray = inTray; }
    // Recomputes every figure from the settings and the clock and shows it.
    void refresh();
    // Ends the program as its menu's end command does, at the end of a session too: the counter
    // windows save their places and mode, unsaved settings are dropped, every window closes.
    void end();
    // The same end where nobody may be there to answer a message (the session ends, the process
    // is told to end): a failed save goes to standard error instead of a box.
    void endUnattended();
    // Saves the counter windows' places and the mode into option.ini, as closing them would, and
    // leaves them open: a session's end is asked first and may yet be cancelled.
    void savePlaces();
    // The window in use comes forward, from the notification area or minimised.
    void showWindowInUse();

    AppState& state() { return m_state; }
    MainWindow* mainWindow() const { return m_main; }
    MiniWindow* miniWindow() const { return m_mini; }
    HelpWindow* helpWindow() const { return m_help; }
    HistoryWindow* historyWindow() const { return m_history; }
    RecoveryWindow* recoveryWindow() const { return m_recovery; }

private:
    // Whether another program of this user runs; it is asked to show its window if askToShow.
    static bool anotherProgramRuns(bool askToShow);
    [[noreturn]] static void endTelling(const QString& text);
    void endIfNoWindowLeft();
    // Where the desktop places windows itself, nothing is moved and the saved places stay.
    void moveWindow(QWidget* window, QPoint pixels) const;
    void keepPlace(QPoint pixels, std::int32_t& left, std::int32_t& top) const;
    // Hands over from one window to the next at the same place.
    void handOver(QWidget* from, QWidget* to) const;

    QWidget* openSetupWindow();
    void openStartConfirmWindow(QWidget* setup, std::int32_t perDay, std::int32_t packPrice,
                                std::int32_t cigLength);
    void confirmStart(QWidget* confirming);
    void runStartSequence(QWidget* confirming);

    // The main window and the mini window, the one that windowMode names shown.
    CounterWindow* openCounterWindows(bool inTray = false);
    MainWindow* loadMainWindow();
    MiniWindow* loadMiniWindow();
    // Puts a window at its saved corner by the start-up rule; the corrected corner is kept.
    void place(QWidget* window, std::int32_t& left, std::int32_t& top, QSize room);
    // A counter window no screen shows any more goes back by the same rule.
    void bringBackStrandedWindows();
    void connectCommands(CounterWindow* window);
    void counterWindowClosing(QPoint position, std::int32_t& left, std::int32_t& top,
                              QWidget* other);
    void switchToMiniWindow();
    void switchToMainWindow();

    void openSettingsWindow(CounterWindow* from);
    void showSettingsWindow();
    void saveSettings(SettingsWindow* settings, const CheckedEntry& entry, const QColor& background,
                      const QColor& text);
    void leaveSettingsWindow(SettingsWindow* settings);
    void openPromotionWindow(SettingsWindow* settings);

    // A milestone of this refresh, told from the icon of the window hidden behind it.
    void tellMilestone(const QDateTime& now);
    // "ログイン時に起動" ticked or unticked in a window's menu.
    void startWithSession(CounterWindow* window, bool starts);
    void copyReport();
    void openSlipWindow();
    void recordSlip(QWidget* slip, const DateTimeParts& restart, const QString& note);
    void openHistoryWindow();
    void showHistory();
    void openBlog(QWidget* owner);
    void openHelp();
    void openRecovery();
    void showRecovery();
    void showVersion(QWidget* owner);

    const bool m_placesWindows;
    SessionStart m_sessionStart;
    bool m_startInTray = false;
    AppState m_state;
    SettingsKeeper m_keeper{m_state};
    HistoryKeeper m_attempts{m_state, m_keeper};
    bool m_ending = false;
    StatusSnapshot m_status;
    QString m_report; // the mini window's, kept for when it is first built
    MilestoneNotices m_notices;
    QPointer<MainWindow> m_main;
    QPointer<MiniWindow> m_mini;
    QPointer<HelpWindow> m_help;
    QPointer<HistoryWindow> m_history;
    QPointer<RecoveryWindow> m_recovery;
    QPointer<SettingsWindow> m_settings; // while it is the one open
};
