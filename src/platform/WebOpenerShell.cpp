#include "platform/WebOpener.h"

#include <QDesktopServices>
#include <QUrl>

// The Windows shell opens the address itself and answers at once.
void startWebOpener(const QUrl& url, std::function<void()> failed) {
    if (!QDesktopServices::openUrl(url))
        failed();
}
