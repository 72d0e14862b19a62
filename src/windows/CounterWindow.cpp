#include "windows/CounterWindow.h"

#include "desktop/TrayIcon.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

QAction* addItem(QMenu* menu, const QString& caption, const char* name) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

CounterWindow::CounterWindow(const QString& switchCaption)
    : m_menu(new QMenu(this)), m_trayIcon(new TrayIcon(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_menu->setObjectName(QStringLiteral("popupMenu"));
    connect(addItem(m_menu, QStringLiteral("コピーする"), "copyItem"), &QAction::triggered, this,
            &CounterWindow::copyRequested);
    connect(addItem(m_menu, QStringLiteral("ブログや掲示板を開く"), "blogItem"),
            &QAction::triggered, this, &CounterWindow::blogRequested);
    connect(addItem(m_menu, QStringLiteral("ヘルプを読む"), "helpItem"), &QAction::triggered, this,
            &CounterWindow::helpRequested);
    connect(addItem(m_menu, QStringLiteral("からだの回復"), "recoveryItem"), &QAction::triggered,
            this, &CounterWindow::recoveryRequested);
    connect(addItem(m_menu, QStringLiteral("設定変更をする"), "settingsItem"), &QAction::triggered,
            this, &CounterWindow::settingsRequested);
    connect(addItem(m_menu, QStringLiteral("吸ってしまった…"), "slipItem"), &QAction::triggered,
            this, &CounterWindow::slipRequested);
    connect(addItem(m_menu, QStringLiteral("これまでの記録"), "historyItem"), &QAction::triggered,
            this, &CounterWindow::historyRequested);
    connect(addItem(m_menu, QStringLiteral("バージョン情報"), "versionItem"), &QAction::triggered,
            this, &CounterWindow::versionRequested);
    // From the icon too: the other window comes out, and this one's icon goes with it.
    connect(addItem(m_menu, switchCaption, "switchItem"), &QAction::triggered, this, [this] {
        m_trayIcon->remove();
        emit switchRequested();
    });
    m_sessionItem = addItem(m_menu, QStringLiteral("ログイン時に起動"), "sessionItem");
    m_sessionItem->setCheckable(true);
    connect(m_sessionItem, &QAction::triggered, this, &CounterWindow::startWithSessionRequested);
    connect(addItem(m_menu, QStringLiteral("アプリケーションの終了"), "exitItem"),
            &QAction::triggered, this, &CounterWindow::exitRequested);

    connect(m_menu, &QMenu::aboutToShow, this, &CounterWindow::menuOpening);
    m_trayIcon->setMenu(m_menu);
    connect(m_trayIcon, &TrayIcon::clicked, this, &CounterWindow::bringBack);
    // Hidden in a notification area that is gone, the window could not be found again.
    connect(m_trayIcon, &TrayIcon::lost, this, &CounterWindow::bringBack);
}

void CounterWindow::bringBack() {
    m_trayIcon->remove();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool CounterWindow::isInTray() const {
    return m_trayIcon->isShown();
}

void CounterWindow::startInTray() {
    // At login the notification area may come up after the program: the icon waits for it as
    // for one that restarts, and the window shows when none comes.
    m_trayIcon->show();
}

void CounterWindow::showStartsWithSession(bool starts) {
    m_sessionItem->setChecked(starts);
}

void CounterWindow::showNotice(const QString& text) {
    m_trayIcon->showNotice(text);
}

void CounterWindow::hideToTray() {
    if (!TrayIcon::available()) {
        showMinimized();
        return;
    }
    hide();
    m_trayIcon->show();
}

void CounterWindow::showPopupMenu(const QPoint& globalPosition) {
    m_menu->popup(globalPosition);
}

void CounterWindow::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey)
        return QWidget::keyPressEvent(event);
    showPopupMenuByKeyboard();
}

void CounterWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The desktop may tell the menu key as a context menu request too; the mouse's right button
    // is the windows' own business.
    if (event->reason() == QContextMenuEvent::Keyboard)
        showPopupMenuByKeyboard();
    else
        event->ignore();
}

void CounterWindow::showPopupMenuByKeyboard() {
    // Over the control that has the focus, or over the window's middle.
    if (m_menu->isVisible())
        return;
    const QWidget* at = focusWidget() ? focusWidget() : this;
    showPopupMenu(at->mapToGlobal(at->rect().center()));
}

void CounterWindow::closeEvent(QCloseEvent* event) {
    // Closing one window closes the other, whose closing closes this one again: once is enough.
    if (!m_closing) {
        m_closing = true;
        m_trayIcon->remove();
        // The normal state's position, without showing a window that is hidden.
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        emit closing(pos());
    }
    event->accept();
}
