#pragma once

#include <QString>

// The program's name, shown on message boxes and the tray icon.
inline QString programTitle() {
    return QStringLiteral("ケムリン式");
}
