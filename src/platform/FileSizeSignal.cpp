#include "platform/FileSizeSignal.h"

#include <csignal>

void letOversizedWritesFail() {
    std::signal(SIGXFSZ, SIG_IGN);
}
