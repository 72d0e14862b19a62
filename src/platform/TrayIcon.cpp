#include "platform/TrayIcon.h"

#include "platform/ProgramTitle.h"

#include <QIcon>
#include <QSystemTrayIcon>

namespace {
std::optional<bool>& assumed() {
    static std::optional<bool> value;
    return value;
}
} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), m_icon(new QSystemTrayIcon(this)) {
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/kemurin16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/kemurin.png"), QSize(32, 32));
    m_icon->setIcon(icon);
    m_icon->setToolTip(programTitle());
    // A double click starts with a single one: the window is back with its first click.
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger)
                    emit clicked();
            });
}

bool TrayIcon::available() {
    return assumed().value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void TrayIcon::assumeAvailable(std::optional<bool> available) {
    assumed() = available;
}

void TrayIcon::show() {
    m_icon->show();
}

void TrayIcon::remove() {
    m_icon->hide();
}

bool TrayIcon::isShown() const {
    return m_icon->isVisible();
}
