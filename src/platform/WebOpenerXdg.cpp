#include "platform/WebOpener.h"

#include <QCoreApplication>
#include <QProcess>
#include <QUrl>

// xdg-open hands the address to the desktop's browser. It may run as long as the browser it
// starts does, so its end is watched from the event loop and the windows stay responsive.
void startWebOpener(const QUrl& url, std::function<void()> failed) {
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, failed](int code, QProcess::ExitStatus status) {
                         opener->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             failed();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, failed](QProcess::ProcessError error) {
                         // Every other error ends in finished().
                         if (error != QProcess::FailedToStart)
                             return;
                         opener->deleteLater();
                         failed();
                     });
    opener->start(QStringLiteral("xdg-open"), {QString::fromLatin1(url.toEncoded())});
}
