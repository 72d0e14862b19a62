#pragma once

#include <QWidget>

class QAction;
class QMenu;
class TrayIcon;

// What the main and the mini window share: their popup menu, also their icon's in the
// notification area, hiding there, and telling their place when they close.
class CounterWindow : public QWidget {
    Q_OBJECT
public:
    // switchCaption names the menu item that switches to the other window.
    explicit CounterWindow(const QString& switchCaption);

    QMenu* popupMenu() const { return m_menu; }
    // True from the moment the window starts closing; a window hidden in the notification area
    // or behind the other one is still open.
    bool isClosing() const { return m_closing; }
    // Shows the window from the notification area, minimised or hidden, in front.
    void bringBack();
    // True while the window is hidden behind its icon.
    bool isInTray() const;
    // Hidden behind its icon from the start, as if the user had hidden it; shown as usual where
    // no notification area turns up within the icon's patience.
    void startInTray();
    // Ticks "ログイン時に起動" or not; asked anew through menuOpening each time the menu opens.
    void showStartsWithSession(bool starts);
    // Tells a text from the icon while the window is hidden behind it; a click on it brings the
    // window back as a click on the icon does.
    void showNotice(const QString& text);

signals:
    void copyRequested();
    void blogRequested();
    void helpRequested();
    // "からだの回復", from the menu or the main window's lung picture.
    void recoveryRequested();
    void settingsRequested();
    // "吸ってしまった…": a slip to record, counting again.
    void slipRequested();
    void historyRequested();
    void versionRequested();
    void switchRequested();
    // "ログイン時に起動" ticked (true) or unticked by the user.
    void startWithSessionRequested(bool starts);
    // The popup menu, the window's or its icon's, is about to open.
    void menuOpening();
    // "アプリケーションの終了": the whole program ends.
    void exitRequested();
    // The window is closing; its position is that of the normal (not minimised) window.
    void closing(QPoint position);

protected:
    // Hides the window behind its icon, or minimises it on a desktop with no notification area,
    // where a hidden window could not be brought back.
    void hideToTray();
    void showPopupMenu(const QPoint& globalPosition);
    void closeEvent(QCloseEvent* event) override;
    // Shift+F10 and the menu key open the popup menu, for keyboard users.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showPopupMenuByKeyboard();

    QMenu* m_menu;
    TrayIcon* m_trayIcon;
    QAction* m_sessionItem;
    bool m_closing = false;
};
