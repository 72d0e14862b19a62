#pragma once

#include <QPoint>
#include <QSize>

// Where a window reopens, in twips. A saved corner closer than `room` to the screen's right or
// bottom edge goes to the screen's centre (its corner there, not the window centred); then each
// negative coordinate becomes 0.
inline QPoint placedOnScreen(QPoint saved, QSize screen, QSize room) {
    const QPoint centre(screen.width() / 2, screen.height() / 2);
    if (saved.x() > screen.width() - room.width())
        saved = centre;
    if (saved.y() > screen.height() - room.height())
        saved = centre;
    return {std::max(saved.x(), 0), std::max(saved.y(), 0)};
}
