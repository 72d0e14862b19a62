#include "system/DiskFault.h"

namespace {

std::function<bool(DiskCall, const QString&)>& diskFault() {
    static std::function<bool(DiskCall, const QString&)> fails;
    return fails;
}

} // namespace

void setDiskFault(std::function<bool(DiskCall, const QString&)> fails) {
    diskFault() = std::move(fails);
}

bool diskRefuses(DiskCall call, const QString& path) {
    return diskFault() && diskFault()(call, path);
}
