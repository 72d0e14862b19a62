#pragma once

#include <QString>

// The program's name, shown on message boxes and the tray icon.
inline QString programTitle() {
    return QStringLiteral("ケムリン式");
}

// The version the build was made as.
inline QString programVersion() {
    return QStringLiteral(KEMURIN_VERSION);
}
