#include "desktop/WebAddress.h"

#include "desktop/MessageBox.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#ifdef Q_OS_WIN
#include <QDesktopServices>
#else
#include <QCoreApplication>
#include <QProcess>
#endif

namespace {

std::function<bool(const QUrl&)>& opener() {
    static std::function<bool(const QUrl&)> instance;
    return instance;
}

void tellNotOpened(QWidget* owner) {
    showOkMessage(owner,
                  QStringLiteral("エラーです。フォルダオプションの関連付けなどを確認してください"));
}

// Asks the desktop to open the address and returns without waiting; `failed` runs, then or
// later, when the desktop could not open it.
void startDesktopOpener(const QUrl& url, const std::function<void()>& failed) {
#ifdef Q_OS_WIN
    // The shell opens the address itself and answers at once.
    if (!QDesktopServices::openUrl(url))
        failed();
#else
    // xdg-open may run as long as the browser it starts does: its end is watched from the event
    // loop, so the windows stay responsive.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         // Every other error ends in finished().
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         failed();
                     });
    process->start(QStringLiteral("xdg-open"), {QString::fromLatin1(url.toEncoded())});
#endif
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
    startDesktopOpener(url, [owner = QPointer<QWidget>(owner)] { tellNotOpened(owner); });
}

void setWebAddressOpener(std::function<bool(const QUrl&)> newOpener) {
    opener() = std::move(newOpener);
}
