#pragma once

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

// Windows that act on Enter or Escape see every key before their controls do, so the key works
// in a text box or on a button as well. The window must filter its own events and its children's.
inline void previewKeysOf(QWidget* window) {
    window->installEventFilter(window);
    for (QWidget* child : window->findChildren<QWidget*>())
        child->installEventFilter(window);
}

// An Enter press the window acts on. A held key's repeats are left alone: otherwise one long
// press would run through the setup and the start confirmation together.
inline bool isEnterPress(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return !key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
}

// An Escape press: the window leaves as its cancel or close button would.
inline bool isEscapePress(const QEvent* event) {
    return event->type() == QEvent::KeyPress &&
           static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

// Enter on a focused push button presses that button rather than the window's default, so a
// keyboard user gets what the focused button says. True when it did.
inline bool pressFocusedButton(QObject* watched) {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button)
        button->click();
    return button != nullptr;
}
