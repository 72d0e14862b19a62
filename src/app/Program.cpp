#include "app/Program.h"

#include "app/AfterFirstPaint.h"
#include "app/SaveMessages.h"

#include "desktop/Clipboard.h"
#include "desktop/ColourDialog.h"
#include "desktop/Manual.h"
#include "desktop/MessageBox.h"
#include "desktop/ProgramIcon.h"
#include "desktop/ProgramTitle.h"
#include "desktop/Screen.h"
#include "desktop/Twips.h"
#include "desktop/WebAddress.h"
#include "engine/AttemptRecord.h"
#include "engine/Clock.h"
#include "engine/RandomDraw.h"
#include "engine/StatusReport.h"
#include "settings/ProgramAddresses.h"
#include "settings/SettingsEntry.h"
#include "settings/SettingsFiles.h"
#include "system/FileSizeSignal.h"
#include "system/FolderLock.h"
#include "system/ProcessEnd.h"
#include "system/ShowRequests.h"
#include "system/TerminationSignals.h"
#include "system/UserInstance.h"
#include "windows/GreetingWindow.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"
#include "windows/SetupWindow.h"
#include "windows/SlipWindow.h"
#include "windows/StartConfirmWindow.h"
#include "windows/StoredColour.h"
#include "windows/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QThread>

#include <algorithm>

namespace {

// Room each window needs between its saved corner and the screen's right and bottom edges.
constexpr QSize kMainWindowRoom(5000, 3000);
constexpr QSize kMiniWindowRoom(3500, 1500);

QPoint twipsPosition(const QPoint& pixels) {
    return pixels * kTwipsPerPixel;
}

QPoint pixelPosition(std::int32_t left, std::int32_t top) {
    return {twipsToPixels(left), twipsToPixels(top)};
}

bool isShownWindow(const QWidget* w) {
    return w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
}

} // namespace

Program::Program(QString appDir, const QString& platformName)
    : m_placesWindows(programPlacesWindows(platformName)),
      m_sessionStart{QCoreApplication::applicationFilePath(), appDir} {
    m_state.appDir = std::move(appDir);
    keepCustomColoursIn(dataDirPath(m_state.appDir));
    // A monitor unplugged or a resolution lowered must not strand a window out of reach.
    if (m_placesWindows)
        whenScreensChange(this, [this] { bringBackStrandedWindows(); });
}

void Program::start() {
    letOversizedWritesFail();
    // Checked before any file is touched, so a second start changes none. One the session
    // starts beside a program already running has nothing to show nor to tell.
    if (anotherProgramRuns(!m_startInTray)) {
        if (m_startInTray)
            endProcessNow();
        endTelling(QStringLiteral("プログラムは既に起動されています。"));
    }
    const QString dataDir = dataDirPath(m_state.appDir);
    QDir().mkdir(dataDir);
    // The data folder's own lock meets a copy started from another session or by another user.
    // Only a folder that cannot be written runs without it: told at the first save.
    QString lockError;
    const FileLock::Outcome locked = lockDataFolder(dataDir, &lockError);
    if (const QString told =
            folderLockMessage(locked, dataDir + u'/' + QLatin1String(kFolderLockName), lockError);
        !told.isEmpty())
        endTelling(told);
    // A window hidden in the notification area or behind the mini window is still open: the
    // program ends when its user ends it or its last window closes, not when the last one shows.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    connect(new TerminationSignals(this), &TerminationSignals::received, this,
            &Program::endUnattended);
    const DataFolderFindings found = ensureDataFiles(m_state, currentMinuteParts());
    const FileFinding options = loadOptions(m_state, found);
    m_keeper.tellStartUpFindings(found, options);
    m_attempts.load();
    m_notices.setRecordToBeat(m_attempts.longestPastMinutes());
    // The session ended while a start-up message was open.
    if (m_ending)
        return;
    QWidget* first = m_state.started == 0 ? openSetupWindow() : openCounterWindows(m_startInTray);
    // Only now: a start-up message closing before any window stood is no reason to end.
    connect(qGuiApp, &QGuiApplication::lastWindowClosed, this, &Program::endIfNoWindowLeft);
    // What the user need not wait for. A second start in the meantime finds the lock and waits
    // for the socket.
    afterFirstPaint(this, first, [this] {
        connect(new ShowRequests(this), &ShowRequests::received, this, &Program::showWindowInUse);
        QApplication::setWindowIcon(programIcon());
    });
}

// One that is ending still holds its lock for a moment: a start gives it that moment.
bool Program::anotherProgramRuns(bool askToShow) {
    for (int tries = 0; anotherProgramOfThisUser(); ++tries) {
        if (!askToShow || askRunningProgramToShow() || tries == 10)
            return true;
        QThread::msleep(100);
    }
    return false;
}

void Program::endTelling(const QString& text) {
    showOkMessage(nullptr, text);
    endProcessNow();
}

void Program::end() {
    if (m_ending)
        return;
    m_ending = true;
    // Edits not saved are dropped, as by Cancel; closing a counter window saves both places.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<SettingsWindow*>(w) || qobject_cast<PromotionWindow*>(w)) {
            w->hide();
            w->deleteLater();
        }
    }
    if (m_main)
        m_main->close();
    else if (m_mini)
        m_mini->close();
    if (m_help)
        m_help->close();
    if (m_history)
        m_history->close();
    if (m_recovery)
        m_recovery->close();
    QCoreApplication::quit();
}

void Program::endUnattended() {
    m_keeper.tellUnattended();
    end();
}

void Program::savePlaces() {
    // Before the first run and while the settings stand in, no counter window is open: closing
    // the last one saved its place.
    const auto open = [](const CounterWindow* w) { return w && !w->isClosing(); };
    if (!open(m_main) && !open(m_mini))
        return;
    if (open(m_main))
        keepPlace(m_main->pos(), m_state.mainLeft, m_state.mainTop);
    if (open(m_mini))
        keepPlace(m_mini->pos(), m_state.miniLeft, m_state.miniTop);
    m_keeper.writeOptionFile();
}

void Program::endIfNoWindowLeft() {
    const bool counting = (m_main && !m_main->isClosing()) || (m_mini && !m_mini->isClosing());
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (!counting && std::none_of(windows.begin(), windows.end(), isShownWindow))
        QCoreApplication::quit();
}

void Program::showWindowInUse() {
    CounterWindow* inUse = m_main;
    if (m_state.windowMode == 1)
        inUse = m_mini;
    if (inUse && !inUse->isClosing()) {
        inUse->bringBack();
        return;
    }
    // The settings or the first run stand in its place.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto shown = std::find_if(windows.begin(), windows.end(), isShownWindow);
    if (shown == windows.end())
        return;
    (*shown)->setWindowState((*shown)->windowState() & ~Qt::WindowMinimized);
    (*shown)->raise();
    (*shown)->activateWindow();
}

void Program::moveWindow(QWidget* window, QPoint pixels) const {
    if (m_placesWindows)
        window->move(pixels);
}

void Program::keepPlace(QPoint pixels, std::int32_t& left, std::int32_t& top) const {
    if (!m_placesWindows)
        return;
    const QPoint at = twipsPosition(pixels);
    left = at.x();
    top = at.y();
}

void Program::handOver(QWidget* from, QWidget* to) const {
    moveWindow(to, from->pos());
    to->show();
    from->hide();
    from->close();
}

void Program::refresh() {
    const QDateTime now = Clock::current().localNow();
    m_status = computeStatus(m_state, minuteParts(now), RandomDraw::current().percent());
    // The mini window's report still tells the detail view that this refresh ends.
    const bool detailed = m_main && m_main->isDetailed();
    if (m_main)
        m_main->showStatus(m_status);
    m_report = statusReport(m_state, m_status, detailed);
    if (m_mini)
        m_mini->setReportText(m_report);
    if (m_history)
        showHistory();
    if (m_recovery)
        showRecovery();
    tellMilestone(now);
}

void Program::tellMilestone(const QDateTime& now) {
    CounterWindow* inTray = m_main && m_main->isInTray() ? m_main : nullptr;
    if (m_mini && m_mini->isInTray())
        inTray = m_mini;
    const bool shown = (m_main && m_main->isVisible()) || (m_mini && m_mini->isVisible());
    if (const auto notice = m_notices.noticeAt(m_state, m_status, now, inTray && !shown))
        inTray->showNotice(*notice);
}

QWidget* Program::openSetupWindow() {
    auto* setup = new SetupWindow;
    connect(setup, &SetupWindow::accepted, this,
            [this, setup](std::int32_t perDay, std::int32_t packPrice, std::int32_t cigLength) {
                openStartConfirmWindow(setup, perDay, packPrice, cigLength);
            });
    // The first window of a run stands in the middle of the screen; the ones after it take
    // the place of the one they replace.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        moveWindow(setup, area.center() - QPoint(setup->width() / 2, setup->height() / 2));
    }
    setup->show();
    return setup;
}

void Program::openStartConfirmWindow(QWidget* setup, std::int32_t perDay, std::int32_t packPrice,
                                     std::int32_t cigLength) {
    // Kept in memory only: nothing reaches the disk before the start is confirmed.
    m_state.perDay = perDay;
    m_state.packPrice = packPrice;
    m_state.cigLength = cigLength;
    auto* confirm = new StartConfirmWindow;
    connect(confirm, &StartConfirmWindow::startRequested, this,
            [this, confirm] { confirmStart(confirm); });
    handOver(setup, confirm);
}

void Program::confirmStart(QWidget* confirming) {
    m_state.quitMoment = currentMinuteParts();
    const std::int64_t month = m_state.quitMoment[2];
    const std::int64_t day = m_state.quitMoment[3];
    if (!GreetingWindow::greets(month, day)) {
        runStartSequence(confirming);
        return;
    }
    // The greeting's own button starts the count; nothing is written until then.
    auto* greeting = new GreetingWindow(month, day);
    connect(greeting, &GreetingWindow::startRequested, this,
            [this, greeting] { runStartSequence(greeting); });
    handOver(confirming, greeting);
}

void Program::runStartSequence(QWidget* confirming) {
    // A failed write does not stop the start: the count runs from this moment all the same.
    m_keeper.writeInitialFile();
    m_state.started = 1;
    // The main window opens where the confirming window stood.
    keepPlace(confirming->pos(), m_state.mainLeft, m_state.mainTop);
    m_keeper.writeOptionFile();
    loadMainWindow()->show();
    confirming->hide();
    confirming->close();
}

CounterWindow* Program::openCounterWindows(bool inTray) {
    MainWindow* main = loadMainWindow();
    CounterWindow* shown =
        m_state.windowMode == 1 ? static_cast<CounterWindow*>(loadMiniWindow()) : main;
    if (inTray)
        shown->startInTray();
    else
        shown->show();
    return shown;
}

MainWindow* Program::loadMainWindow() {
    if (m_main)
        return m_main;
    m_keeper.readFiles();

    m_main = new MainWindow;
    connectCommands(m_main);
    connect(m_main, &MainWindow::refreshDue, this, &Program::refresh);
    connect(m_main, &MainWindow::switchRequested, this, &Program::switchToMiniWindow);
    connect(m_main, &MainWindow::closing, this, [this](QPoint position) {
        counterWindowClosing(position, m_state.mainLeft, m_state.mainTop, m_mini);
    });
    refresh();

    place(m_main, m_state.mainLeft, m_state.mainTop, kMainWindowRoom);
    m_main->setValueColours(colourFromStored(m_state.backColour),
                            colourFromStored(m_state.textColour));
    return m_main;
}

MiniWindow* Program::loadMiniWindow() {
    if (m_mini)
        return m_mini;
    m_mini = new MiniWindow;
    connectCommands(m_mini);
    connect(m_mini, &MiniWindow::switchRequested, this, &Program::switchToMainWindow);
    connect(m_mini, &MiniWindow::closing, this, [this](QPoint position) {
        counterWindowClosing(position, m_state.miniLeft, m_state.miniTop, m_main);
    });

    place(m_mini, m_state.miniLeft, m_state.miniTop, kMiniWindowRoom);
    m_mini->setColours(colourFromStored(m_state.backColour), colourFromStored(m_state.textColour));
    m_mini->setReportText(m_report);
    return m_mini;
}

void Program::place(QWidget* window, std::int32_t& left, std::int32_t& top, QSize room) {
    if (!m_placesWindows)
        return;
    const QPoint place = placedOnScreen({left, top}, primaryScreenTwips(), room);
    left = place.x();
    top = place.y();
    window->move(pixelPosition(place.x(), place.y()));
}

void Program::bringBackStrandedWindows() {
    const auto bringBack = [this](QWidget* window, std::int32_t& left, std::int32_t& top,
                                  QSize room) {
        if (!window || showsOnAScreen(window->frameGeometry()))
            return;
        keepPlace(window->pos(), left, top);
        place(window, left, top, room);
    };
    bringBack(m_main, m_state.mainLeft, m_state.mainTop, kMainWindowRoom);
    bringBack(m_mini, m_state.miniLeft, m_state.miniTop, kMiniWindowRoom);
}

void Program::connectCommands(CounterWindow* window) {
    connect(window, &CounterWindow::settingsRequested, this,
            [this, window] { openSettingsWindow(window); });
    connect(window, &CounterWindow::copyRequested, this, &Program::copyReport);
    connect(window, &CounterWindow::blogRequested, this, [this, window] { openBlog(window); });
    connect(window, &CounterWindow::helpRequested, this, &Program::openHelp);
    connect(window, &CounterWindow::recoveryRequested, this, &Program::openRecovery);
    connect(window, &CounterWindow::versionRequested, this,
            [this, window] { showVersion(window); });
    connect(window, &CounterWindow::slipRequested, this, &Program::openSlipWindow);
    connect(window, &CounterWindow::historyRequested, this, &Program::openHistoryWindow);
    connect(window, &CounterWindow::exitRequested, this, &Program::end);
    connect(window, &CounterWindow::menuOpening, this, [this, window] {
        window->showStartsWithSession(sessionAutostartEntry(m_sessionStart) ==
                                      AutostartEntry::Ours);
    });
    connect(window, &CounterWindow::startWithSessionRequested, this,
            [this, window](bool starts) { startWithSession(window, starts); });
}

// Whichever window closes first closes the other: option.ini ends with both places.
void Program::counterWindowClosing(QPoint position, std::int32_t& left, std::int32_t& top,
                                   QWidget* other) {
    keepPlace(position, left, top);
    // A failed write must not stop the window from closing; the old file stays whole.
    m_keeper.writeOptionFile();
    if (other)
        other->close();
}

void Program::switchToMiniWindow() {
    MiniWindow* mini = loadMiniWindow();
    // Until the mini window has been used once, it appears where the main window stands.
    if (m_state.windowMode == 2)
        moveWindow(mini, m_main->pos());
    m_state.windowMode = 1;
    m_main->hide();
    mini->show();
}

void Program::switchToMainWindow() {
    m_state.windowMode = 0;
    loadMainWindow()->show();
    m_mini->hide();
}

void Program::openSettingsWindow(CounterWindow* from) {
    // A quick second click reaches a window already closing: the open settings come forward, as
    // a second one saved later would undo the first one's save.
    if (m_settings) {
        m_settings->raise();
        m_settings->activateWindow();
        return;
    }
    // Closing a counter window saves its place; the main window's is where settings open.
    keepPlace(m_main ? m_main->pos() : from->pos(), m_state.mainLeft, m_state.mainTop);
    showSettingsWindow();
    from->hide();
    from->close();
}

void Program::showSettingsWindow() {
    auto* settings = new SettingsWindow(m_state);
    m_settings = settings;
    connect(
        settings, &SettingsWindow::saveRequested, this,
        [this, settings](const CheckedEntry& entry, const QColor& background, const QColor& text) {
            saveSettings(settings, entry, background, text);
        });
    connect(settings, &SettingsWindow::cancelRequested, this,
            [this, settings] { leaveSettingsWindow(settings); });
    connect(settings, &SettingsWindow::promotionRequested, this,
            [this, settings] { openPromotionWindow(settings); });
    moveWindow(settings, pixelPosition(m_state.mainLeft, m_state.mainTop));
    settings->show();
}

void Program::saveSettings(SettingsWindow* settings, const CheckedEntry& entry,
                           const QColor& background, const QColor& text) {
    AppState next = m_state;
    static_cast<QuitSettings&>(next) = entry.settings;
    // An address left as it was keeps its bytes, even those the window could only show as
    // stand-ins.
    if (entry.blogUrl != storableAddress(m_state.blogUrl))
        next.blogUrl = entry.blogUrl;
    next.backColour = storedFromColour(background);
    next.textColour = storedFromColour(text);
    // Moving the settings window moves the main window.
    keepPlace(settings->pos(), next.mainLeft, next.mainTop);
    // Nothing counts as saved until the commit stands: the window stays open with the edits. A
    // quit moment moved later starts the count again, and the attempt it ends may be kept.
    const bool keepEnded =
        comesAfter(next.quitMoment, m_state.quitMoment) &&
        askYesNo(settings, QStringLiteral("禁煙を始めた日時が後になります。\n"
                                          "これまでの禁煙を、吸ってしまったときと同じように"
                                          "「これまでの記録」に残しますか？"));
    if (keepEnded ? !m_attempts.recordSlip(next, QString(), true, settings)
                  : !m_keeper.saveBoth(next, settings))
        return;
    m_notices.setRecordToBeat(m_attempts.longestPastMinutes());
    leaveSettingsWindow(settings);
}

void Program::leaveSettingsWindow(SettingsWindow* settings) {
    m_settings = nullptr;
    openCounterWindows();
    settings->hide();
    settings->deleteLater();
}

void Program::openPromotionWindow(SettingsWindow* settings) {
    auto* promotion = new PromotionWindow;
    connect(promotion, &PromotionWindow::pageRequested, this,
            [promotion] { openWebAddress(promotion, QString::fromLatin1(kPromotionPageUrl)); });
    // Closing it brings the settings back afresh, without the edits left behind.
    connect(promotion, &PromotionWindow::closed, this, &Program::showSettingsWindow);
    moveWindow(promotion, pixelPosition(m_state.mainLeft, m_state.mainTop));
    promotion->show();
    m_settings = nullptr;
    settings->hide();
    settings->deleteLater();
}

void Program::startWithSession(CounterWindow* window, bool starts) {
    const QString path = QDir::toNativeSeparators(sessionAutostartPath());
    if (!starts) {
        if (!removeSessionAutostart(m_sessionStart))
            showOkMessage(window,
                          QStringLiteral("ログイン時の起動をやめられませんでした。\n") + path);
        return;
    }
    // Another copy's entry, or this one's from another folder, is replaced only when asked.
    if (sessionAutostartEntry(m_sessionStart) == AutostartEntry::Other &&
        !askYesNo(window, QStringLiteral("ログイン時には、別の場所のケムリン式が起動するように"
                                         "なっています。\n") +
                              path +
                              QStringLiteral("\nこのケムリン式が起動するように変えますか？")))
        return;
    if (!addSessionAutostart(m_sessionStart))
        showOkMessage(window, QStringLiteral("ログイン時に起動するようにできませんでした。\n") +
                                  path +
                                  QStringLiteral("\nフォルダに書き込めるかを確かめてください。"));
}

void Program::copyReport() {
    putTextOnClipboard(statusReport(m_state, m_status, m_main && m_main->isDetailed()));
}

void Program::openBlog(QWidget* owner) {
    openWebAddress(owner, blogAddressToOpen(m_state.blogUrl));
}

void Program::openHelp() {
    // One help window however often it is asked for; it lives on when the others close.
    if (!m_help)
        m_help = new HelpWindow(manual());
    // A minimised help window comes back as it was, maximised or not.
    m_help->setWindowState(m_help->windowState() & ~Qt::WindowMinimized);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void Program::openRecovery() {
    if (!m_recovery) {
        m_recovery = new RecoveryWindow;
        showRecovery();
    }
    m_recovery->setHighlightColours(colourFromStored(m_state.backColour),
                                    colourFromStored(m_state.textColour));
    m_recovery->setWindowState(m_recovery->windowState() & ~Qt::WindowMinimized);
    m_recovery->show();
    m_recovery->raise();
    m_recovery->activateWindow();
}

// Counted from the current attempt's start; the longest earlier one names how far it got.
void Program::showRecovery() {
    const DateTimeParts now = currentMinuteParts();
    m_recovery->showProgress(recoveryProgress(m_state.quitMoment, now));
    const AttemptRecord record = attemptRecord(m_state, m_attempts.attempts(), now);
    m_recovery->showBestRun(
        record.bestPast ? bestRunRecoveryText(record.best().start, record.best().end) : QString());
}

void Program::showVersion(QWidget* owner) {
    showOkMessage(owner, programTitle() + QStringLiteral("　Ver ") + programVersion() +
                             QStringLiteral("\nCopyright (C) 2026 ") + programAuthor() +
                             QStringLiteral("\n\n") + QString::fromLatin1(kHomePageUrl));
}

void Program::openSlipWindow() {
    auto* slip = new SlipWindow(m_state.quitMoment, currentMinuteParts());
    connect(slip, &SlipWindow::recordRequested, this,
            [this, slip](const DateTimeParts& restart, const QString& note) {
                recordSlip(slip, restart, note);
            });
    // Over whatever the user looks at, as a question is asked.
    slip->setWindowModality(Qt::ApplicationModal);
    slip->show();
}

void Program::recordSlip(QWidget* slip, const DateTimeParts& restart, const QString& note) {
    AppState next = m_state;
    next.quitMoment = restart;
    if (!m_attempts.recordSlip(next, note, false, slip))
        return;
    m_notices.setRecordToBeat(m_attempts.longestPastMinutes());
    slip->close();
    refresh();
}

void Program::openHistoryWindow() {
    if (!m_history) {
        m_history = new HistoryWindow;
        connect(m_history, &HistoryWindow::copyRequested, this, [this] {
            putTextOnClipboard(attemptRecordReport(
                attemptRecord(m_state, m_attempts.attempts(), currentMinuteParts()),
                m_attempts.attempts(), m_attempts.partlyUnread()));
        });
    }
    showHistory();
    m_history->setWindowState(m_history->windowState() & ~Qt::WindowMinimized);
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}

void Program::showHistory() {
    m_history->showRecord(attemptRecord(m_state, m_attempts.attempts(), currentMinuteParts()),
                          m_attempts.attempts(), m_attempts.partlyUnread());
}
