#include "app/Program.h"

#include "engine/Clock.h"
#include "engine/RandomDraw.h"
#include "engine/StatusReport.h"
#include "platform/Clipboard.h"
#include "platform/FileSizeSignal.h"
#include "platform/MessageBox.h"
#include "platform/ProgramTitle.h"
#include "platform/Screen.h"
#include "platform/SingleInstance.h"
#include "platform/Twips.h"
#include "platform/WebAddress.h"
#include "settings/ProgramAddresses.h"
#include "settings/SettingsEntry.h"
#include "settings/SettingsFiles.h"
#include "windows/GreetingWindow.h"
#include "windows/MainWindow.h"
#include "windows/MiniWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"
#include "windows/StoredColour.h"
#include "windows/WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {

// Room each window needs between its saved corner and the screen's right and bottom edges.
constexpr QSize kMainWindowRoom(5000, 3000);
constexpr QSize kMiniWindowRoom(3500, 1500);

const QString kCountsFromNow =
    QStringLiteral("禁煙を始めた日時が分からないため、今の時刻から数えます。");

QString cannotSaveMessage(const QString& path) {
    return QStringList{
        QStringLiteral("設定を保存できませんでした。"), QDir::toNativeSeparators(path),
        QStringLiteral("フォルダに書き込めるか、ディスクに空きがあるかを確かめてください。")}
        .join(u'\n');
}

// Says which file did not read, what the program does instead and what became of the file.
QString cannotReadMessage(const QString& path, const QString& consequence,
                          const std::optional<QString>& copy) {
    QStringList lines{QStringLiteral("設定ファイルを読み込めませんでした。"),
                      QDir::toNativeSeparators(path)};
    if (!consequence.isEmpty())
        lines << consequence;
    lines << (copy ? QStringLiteral("壊れたファイルは %1 として残しました。")
                         .arg(QFileInfo(*copy).fileName())
                   : QStringLiteral("ファイルはそのままにしてあります。"));
    return lines.join(u'\n');
}

QPoint twipsPosition(const QPoint& pixels) {
    return pixels * kTwipsPerPixel;
}

QPoint pixelPosition(std::int32_t left, std::int32_t top) {
    return {twipsToPixels(left), twipsToPixels(top)};
}

// Hands over from one window to the next at the same place.
void handOver(QWidget* from, QWidget* to) {
    to->move(from->pos());
    to->show();
    from->hide();
    from->close();
}

} // namespace

Program::Program(QString appDir) {
    m_state.appDir = std::move(appDir);
}

void Program::start() {
    letOversizedWritesFail();
    // Checked before the data folder is touched, so a second start changes no file anywhere.
    if (anotherInstanceRunning()) {
        showOkMessage(nullptr, QStringLiteral("プログラムは既に起動されています。"));
        endProcessNow();
    }
    const FileFinding initial = ensureDataFiles(m_state, currentMinuteParts());
    const FileFinding options = loadOptions(m_state);
    tellStartUpFindings(initial, options);
    if (m_state.started == 0) {
        openSetupWindow();
        return;
    }
    openCounterWindows();
}

void Program::tellStartUpFindings(FileFinding initial, FileFinding options) {
    const QDateTime now = Clock::current().localNow();
    const QString initialPath = initialFilePath(m_state.appDir);
    const QString optionPath = optionFilePath(m_state.appDir);
    QStringList told;
    // The count ran, but its start is lost: said once, as the next start finds the new file.
    if ((initial == FileFinding::Created || initial == FileFinding::NotCreated) &&
        m_state.started != 0)
        told << QStringList{QStringLiteral("設定ファイルが見つかりませんでした。"),
                            QDir::toNativeSeparators(initialPath), kCountsFromNow}
                    .join(u'\n');
    // A file that does not read is copied aside before anything can replace it.
    if (initial == FileFinding::DidNotRead) {
        const QString consequence = m_state.started == 0 ? QString() : kCountsFromNow;
        told << cannotReadMessage(initialPath, consequence,
                                  keepDatedCopy(initialPath, QStringLiteral("broken"), now));
    }
    if (options == FileFinding::DidNotRead) {
        QString text = cannotReadMessage(optionPath, QStringLiteral("初期設定からやり直します。"),
                                         keepDatedCopy(optionPath, QStringLiteral("broken"), now));
        // The first run will replace the quit data too: keep that as well.
        if (initial == FileFinding::Read) {
            if (const auto copy = keepDatedCopy(initialPath, QStringLiteral("backup"), now))
                text += QStringLiteral("\n禁煙を始めた日時などは %1 に控えてあります。")
                            .arg(QFileInfo(*copy).fileName());
        }
        told << text;
    }
    m_initialBehind = initial == FileFinding::NotCreated;
    m_optionBehind = options == FileFinding::NotCreated;
    if (m_initialBehind || m_optionBehind) {
        told << cannotSaveMessage(m_initialBehind ? initialPath : optionPath);
        m_toldCannotSave = true;
    }
    if (!told.isEmpty())
        showOkMessage(nullptr, told.join(QStringLiteral("\n\n")));
}

void Program::writeInBackground(bool (*write)(const AppState&), const QString& path, bool& behind) {
    behind = !write(m_state);
    if (behind)
        tellCannotSave(path);
}

void Program::tellCannotSave(const QString& path) {
    if (m_toldCannotSave)
        return;
    m_toldCannotSave = true;
    showOkMessage(nullptr, cannotSaveMessage(path));
}

void Program::refresh() {
    m_status = computeStatus(m_state, currentMinuteParts(), RandomDraw::current().percent());
    // The mini window's report still tells the detail view that this refresh ends.
    const bool detailed = m_main && m_main->isDetailed();
    if (m_main)
        m_main->showStatus(m_status);
    loadMiniWindow()->setReportText(statusReport(m_state, m_status, detailed));
}

void Program::openSetupWindow() {
    auto* setup = new SetupWindow;
    connect(setup, &SetupWindow::accepted, this,
            [this, setup](std::int32_t perDay, std::int32_t packPrice, std::int32_t cigLength) {
                openStartConfirmWindow(setup, perDay, packPrice, cigLength);
            });
    // The first window of a run stands in the middle of the screen; the ones after it take
    // the place of the one they replace.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        setup->move(area.center() - QPoint(setup->width() / 2, setup->height() / 2));
    }
    setup->show();
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
    writeInBackground(writeInitialFile, initialFilePath(m_state.appDir), m_initialBehind);
    m_state.started = 1;
    // The main window opens where the confirming window stood.
    const QPoint at = twipsPosition(confirming->pos());
    m_state.mainLeft = at.x();
    m_state.mainTop = at.y();
    writeInBackground(writeOptionFile, optionFilePath(m_state.appDir), m_optionBehind);
    loadMainWindow()->show();
    confirming->hide();
    confirming->close();
}

void Program::openCounterWindows() {
    MainWindow* main = loadMainWindow();
    if (m_state.windowMode == 1)
        loadMiniWindow()->show();
    else
        main->show();
}

MainWindow* Program::loadMainWindow() {
    if (m_main)
        return m_main;
    // A file that does not read keeps what is in memory. A broken initial.ini is left on disk
    // for the user to mend; until some quit moment is known, the count starts now.
    const bool initialRead = !m_initialBehind && readInitialFile(m_state);
    if (!initialRead && m_state.quitMoment[1] == 0)
        m_state.setQuitDefaults(currentMinuteParts());
    if (!m_optionBehind)
        readOptionFile(m_state);

    m_main = new MainWindow;
    connectCommands(m_main);
    connect(m_main, &MainWindow::refreshDue, this, &Program::refresh);
    connect(m_main, &MainWindow::switchRequested, this, &Program::switchToMiniWindow);
    connect(m_main, &MainWindow::closing, this, [this](QPoint position) {
        counterWindowClosing(position, m_state.mainLeft, m_state.mainTop, m_mini);
    });
    refresh();

    const QPoint place =
        placedOnScreen({m_state.mainLeft, m_state.mainTop}, primaryScreenTwips(), kMainWindowRoom);
    m_state.mainLeft = place.x();
    m_state.mainTop = place.y();
    m_main->move(pixelPosition(place.x(), place.y()));
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

    const QPoint place =
        placedOnScreen({m_state.miniLeft, m_state.miniTop}, primaryScreenTwips(), kMiniWindowRoom);
    m_state.miniLeft = place.x();
    m_state.miniTop = place.y();
    m_mini->move(pixelPosition(place.x(), place.y()));
    m_mini->setColours(colourFromStored(m_state.backColour), colourFromStored(m_state.textColour));
    return m_mini;
}

void Program::connectCommands(CounterWindow* window) {
    connect(window, &CounterWindow::settingsRequested, this,
            [this, window] { openSettingsWindow(window); });
    connect(window, &CounterWindow::copyRequested, this, &Program::copyReport);
    connect(window, &CounterWindow::blogRequested, this, [this, window] { openBlog(window); });
    connect(window, &CounterWindow::helpRequested, this, &Program::openHelp);
    connect(window, &CounterWindow::versionRequested, this,
            [this, window] { showVersion(window); });
}

// Whichever window closes first closes the other: option.ini ends with both places.
void Program::counterWindowClosing(QPoint position, std::int32_t& left, std::int32_t& top,
                                   QWidget* other) {
    const QPoint at = twipsPosition(position);
    left = at.x();
    top = at.y();
    // A failed write must not stop the window from closing; the old file stays whole.
    writeInBackground(writeOptionFile, optionFilePath(m_state.appDir), m_optionBehind);
    if (other)
        other->close();
}

void Program::switchToMiniWindow() {
    MiniWindow* mini = loadMiniWindow();
    // Until the mini window has been used once, it appears where the main window stands.
    if (m_state.windowMode == 2)
        mini->move(m_main->pos());
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
    const QPoint mainPlace = twipsPosition(m_main ? m_main->pos() : from->pos());
    m_state.mainLeft = mainPlace.x();
    m_state.mainTop = mainPlace.y();
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
    settings->move(pixelPosition(m_state.mainLeft, m_state.mainTop));
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
    const QPoint at = twipsPosition(settings->pos());
    next.mainLeft = at.x();
    next.mainTop = at.y();
    // Nothing counts as saved until both files are: the window stays open with the edits.
    if (const std::optional<QString> failed = writeSettingsFiles(next)) {
        showOkMessage(settings, cannotSaveMessage(*failed));
        return;
    }
    m_state = next;
    m_initialBehind = m_optionBehind = false;
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
    promotion->move(pixelPosition(m_state.mainLeft, m_state.mainTop));
    promotion->show();
    m_settings = nullptr;
    settings->hide();
    settings->deleteLater();
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
        m_help = new HelpWindow;
    // A minimised help window comes back as it was, maximised or not.
    m_help->setWindowState(m_help->windowState() & ~Qt::WindowMinimized);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void Program::showVersion(QWidget* owner) {
    showOkMessage(owner, programTitle() + QStringLiteral("　Ver ") + programVersion() +
                             QStringLiteral("\nCopyright (C) 2026 ") + programAuthor() +
                             QStringLiteral("\n\n") + QString::fromLatin1(kHomePageUrl));
}
