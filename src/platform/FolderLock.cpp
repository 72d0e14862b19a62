#include "platform/FolderLock.h"

#include "platform/SingleInstance.h"

#include <memory>

bool dataFolderTaken(const QString& dataDir) {
    static std::unique_ptr<InstanceLock> held;
    static QString heldFolder;
    if (held && heldFolder == dataDir)
        return false;
    auto lock = std::make_unique<InstanceLock>(dataDir + u'/' + QLatin1String(kFolderLockName));
    if (!lock->tryAcquire())
        return true;
    held = std::move(lock);
    heldFolder = dataDir;
    return false;
}
