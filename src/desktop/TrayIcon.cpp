#include "desktop/TrayIcon.h"

#include "desktop/ProgramIcon.h"
#include "desktop/ProgramTitle.h"

#include <QSystemTrayIcon>
#include <QTimer>

namespace {
// Looks, a second apart, that find no notification area before the icon counts as lost: long
// enough for a panel or Explorer to restart, short enough not to leave the user searching.
constexpr int kLooksBeforeLost = 5;

std::optional<bool>& assumed() {
    static std::optional<bool> value;
    return value;
}
} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), m_watch(new QTimer(this)) {
    m_watch->setInterval(1000);
    connect(m_watch, &QTimer::timeout, this, [this] {
        m_missedLooks = available() ? 0 : m_missedLooks + 1;
        if (m_missedLooks < kLooksBeforeLost)
            return;
        remove();
        emit lost();
    });
}

void TrayIcon::show() {
    // Made on first use: most runs never hide a window, and start-up need not pay for it.
    if (!m_icon)
        create();
    m_icon->show();
    m_missedLooks = 0;
    m_watch->start();
}

void TrayIcon::create() {
    m_icon = new QSystemTrayIcon(this);
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    m_icon->setIcon(programIcon());
    m_icon->setToolTip(programTitle());
    m_icon->setContextMenu(m_menu);
    // A double click starts with a single one: the window is back with its first click.
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger)
                    emit clicked();
            });
    connect(m_icon, &QSystemTrayIcon::messageClicked, this, &TrayIcon::clicked);
}

bool TrayIcon::available() {
    return assumed().value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void TrayIcon::assumeAvailable(std::optional<bool> available) {
    assumed() = available;
}

bool TrayIcon::isShown() const {
    return m_icon && m_icon->isVisible();
}

void TrayIcon::showNotice(const QString& text) {
    if (isShown())
        m_icon->showMessage(programTitle(), text, m_icon->icon());
}

void TrayIcon::remove() {
    m_watch->stop();
    if (m_icon)
        m_icon->hide();
}
