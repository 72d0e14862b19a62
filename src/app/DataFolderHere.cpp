#include "app/DataFolder.h"

#include "platform/CurrentFolder.h"

std::optional<QString> dataFolder() {
    return currentFolder();
}
