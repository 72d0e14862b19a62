#include "system/FolderLock.h"

LockFile::Outcome lockDataFolder(const QString& dataDir) {
    static std::unique_ptr<LockFile> held;
    return holdLock(held, dataDir + u'/' + QLatin1String(kFolderLockName));
}
