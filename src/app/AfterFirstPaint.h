#pragma once

#include <functional>

class QObject;
class QWidget;

// Runs `work` once `window` has painted for the first time: what the user need not wait for
// comes after the window stands. Half a second at the latest, so that a window the desktop does
// not paint yet holds nothing back for good; nothing when `context` has gone.
void afterFirstPaint(QObject* context, QWidget* window, std::function<void()> work);
