#include "system/ProcessEnd.h"

#include <cstdlib>

void endProcessNow() {
    std::_Exit(0);
}
