#pragma once

// What every window of the program shares, set once before the first window: the Japanese
// gothic font, Qt's own texts in Japanese and the window icon.
void prepareApplicationLook();
