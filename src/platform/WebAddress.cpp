#include "platform/WebAddress.h"

#include "platform/MessageBox.h"
#include "platform/WebOpener.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

namespace {

std::function<bool(const QUrl&)>& opener() {
    static std::function<bool(const QUrl&)> instance;
    return instance;
}

void tellNotOpened(QWidget* owner) {
    showOkMessage(owner,
                  QStringLiteral("エラーです。フォルダオプションの関連付けなどを確認してください"));
}

} // namespace

void openWebAddress(QWidget* owner, const QString& address) {
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        tellNotOpened(owner);
        return;
    }
    if (opener()) {
        if (!opener()(url))
            tellNotOpened(owner);
        return;
    }
    // The owner may be gone by the time the opener gives up.
    startWebOpener(url, [owner = QPointer<QWidget>(owner)] { tellNotOpened(owner); });
}

void setWebAddressOpener(std::function<bool(const QUrl&)> newOpener) {
    opener() = std::move(newOpener);
}
