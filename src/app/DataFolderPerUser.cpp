#include "app/DataFolder.h"

#include <QDir>
#include <QStandardPaths>

std::optional<QString> dataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/kemurin");
    // A folder that cannot be made is told as a failed save by the settings files.
    QDir().mkpath(folder);
    return folder;
}

QString dataFolderRefusal(const QString&) {
    return {};
}

SessionStart sessionStart(const QString&) {
    return {QStringLiteral("kemurin"), {}};
}
