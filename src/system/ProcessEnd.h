#pragma once

// Ends the process at once: no window closes, nothing is saved.
[[noreturn]] void endProcessNow();
