#include "system/FolderLock.h"

#include "system/SingleInstance.h"

bool dataFolderTaken(const QString& dataDir) {
    static std::unique_ptr<InstanceLock> held;
    return !holdLock(held, dataDir + u'/' + QLatin1String(kFolderLockName));
}
