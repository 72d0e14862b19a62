#include "platform/Screen.h"

#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>

QSize primaryScreenTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize pixels = screen->geometry().size();
    return {pixels.width() * kTwipsPerPixel, pixels.height() * kTwipsPerPixel};
}

bool windowsCanBePlaced() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
