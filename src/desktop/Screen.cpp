#include "desktop/Screen.h"

#include "desktop/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

QSize primaryScreenTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize pixels = screen->geometry().size();
    return {pixels.width() * kTwipsPerPixel, pixels.height() * kTwipsPerPixel};
}

bool programPlacesWindows(const QString& platformName) {
    return !platformName.startsWith(QLatin1String("wayland"));
}

bool showsOnAScreen(const QRect& frame) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen* s) { return s->geometry().intersects(frame); });
}

void whenScreensChange(QObject* context, const std::function<void()>& changed) {
    // Queued: the desktop may move windows itself before the change settles.
    const auto watch = [context, changed](const QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, changed, Qt::QueuedConnection);
    };
    for (const QScreen* screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, context, watch);
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, context, changed,
                     Qt::QueuedConnection);
}
