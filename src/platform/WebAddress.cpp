#include "platform/WebAddress.h"

#include "platform/MessageBox.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
std::function<bool(const QUrl&)>& opener() {
    static std::function<bool(const QUrl&)> instance;
    return instance;
}
} // namespace

void openWebAddress(QWidget* owner, const QString& address) {
    const QUrl url(address, QUrl::TolerantMode);
    const bool opened = url.isValid() && !url.host().isEmpty() &&
                        (opener() ? opener()(url) : QDesktopServices::openUrl(url));
    if (!opened)
        showOkMessage(owner, QStringLiteral(
                                 "エラーです。フォルダオプションの関連付けなどを確認してください"));
}

void setWebAddressOpener(std::function<bool(const QUrl&)> newOpener) {
    opener() = std::move(newOpener);
}
