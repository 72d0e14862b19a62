#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QObject;

// Size of the primary screen in twips.
QSize primaryScreenTwips();

// False on a platform (QGuiApplication::platformName()) where the desktop places windows itself
// and does not tell a window where it stands (Wayland): there the saved places are kept as they
// are and no window is moved.
bool programPlacesWindows(const QString& platformName);

// True when some of the rectangle (global pixels) lies on a screen.
bool showsOnAScreen(const QRect& frame);

// Calls `changed` after a screen is added, removed or changes its size, while `context` lives.
void whenScreensChange(QObject* context, const std::function<void()>& changed);
