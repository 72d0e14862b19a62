#include "system/FolderLock.h"

namespace {

std::unique_ptr<FileLock>& heldLock() {
    static std::unique_ptr<FileLock> held;
    return held;
}

} // namespace

FileLock::Outcome lockDataFolder(const QString& dataDir, QString* error) {
    return holdLock(heldLock(), dataDir + u'/' + QLatin1String(kFolderLockName), error);
}

bool dataFolderLockLost() {
    return heldLock() && !heldLock()->stillAtPath();
}
