#pragma once

#include <QIcon>

// The program's icon at the sizes captions, taskbars and trays ask for, up to twice the usual
// scale. Given with their sizes, the pictures are read only when first shown.
inline QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/kemurin-%1.png").arg(size), QSize(size, size));
    return icon;
}
