#include "app/DataFolder.h"

#include "system/CurrentFolder.h"

std::optional<QString> dataFolder() {
    return currentFolder();
}
