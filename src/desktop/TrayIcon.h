#pragma once

#include <QObject>

#include <optional>

class QMenu;
class QSystemTrayIcon;
class QTimer;

// A window's own icon in the notification area: "ケムリン式" as its tip, 16 × 16 (32 × 32 on
// dense screens). It offers what the windows need of it: show, remove, a notice, a single left
// click, and their popup menu on a right click.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent);

    // False on a desktop without a notification area, where a hidden window would be lost.
    static bool available();
    // Tests stand on a desktop with or without a notification area; nullopt asks the desktop.
    static void assumeAvailable(std::optional<bool> available);

    // The window's own menu, shared: what is added to it shows here too. Set before show().
    void setMenu(QMenu* menu) { m_menu = menu; }
    void show();
    void remove();
    bool isShown() const;
    // A short text beside the shown icon, as the desktop shows notices: through its notification
    // service where there is one, in a balloon of Qt's otherwise. Their settings can turn it off.
    void showNotice(const QString& text);

signals:
    // A left click, or a click on a notice; other clicks and moves over the icon are not
    // reported.
    void clicked();
    // The notification area went away while the icon was shown and did not come back within a
    // few seconds; the icon is removed. One that comes back in time (a panel or Explorer
    // restarted) takes the icon again: Qt docks it into the new area.
    void lost();

private:
    void create();

    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    int m_missedLooks = 0;
    // Looks for the notification area while the icon is shown: no signal tells of its end.
    QTimer* m_watch;
};
