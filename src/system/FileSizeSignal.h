#pragma once

// A write past the file-size limit (ulimit -f) fails with EFBIG, like a write to a full disk,
// instead of ending the process with SIGXFSZ: the settings files' writers report it and the
// previous file stays whole.
void letOversizedWritesFail();
