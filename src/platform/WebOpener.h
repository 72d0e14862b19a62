#pragma once

#include <functional>

class QUrl;

// Asks the desktop to open a web address and returns without waiting for it; `failed` runs, then
// or later, when the desktop could not open it.
void startWebOpener(const QUrl& url, std::function<void()> failed);
