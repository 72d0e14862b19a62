#include "system/FileSizeSignal.h"

#include <csignal>

void letOversizedWritesFail() {
#ifdef SIGXFSZ // POSIX only: Windows has no file-size signal
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}
