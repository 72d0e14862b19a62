#pragma once

// What every window of the program shares, set once before the first window: the Japanese
// gothic font and Qt's own texts in Japanese. The window icon comes once the first window stands.
void prepareApplicationLook();
