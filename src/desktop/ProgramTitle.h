#pragma once

#include <QString>

// The program's name, shown on message boxes and the tray icon.
inline QString programTitle() {
    return QStringLiteral("ケムリン式");
}

// Who made it, as the window captions, the help and the package name the author.
inline QString programAuthor() {
    return QStringLiteral("pimaru");
}

// The version the build was made as.
inline QString programVersion() {
    return QStringLiteral(KEMURIN_VERSION);
}
