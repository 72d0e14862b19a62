#include "system/FolderLock.h"

FileLock::Outcome lockDataFolder(const QString& dataDir) {
    static std::unique_ptr<FileLock> held;
    return holdLock(held, dataDir + u'/' + QLatin1String(kFolderLockName));
}
