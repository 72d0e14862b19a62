#include "system/ShowRequests.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

QString socketName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/kemurin.socket");
}

constexpr char kShow = 's';
constexpr int kPatienceMs = 1000;

} // namespace

ShowRequests::ShowRequests(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketName());
    // Without the socket a second start only says that this one runs.
    m_server->listen(socketName());
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = m_server->nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            const auto read = [this, caller] {
                if (caller->readAll().contains(kShow))
                    emit received();
            };
            connect(caller, &QLocalSocket::readyRead, this, read);
            read();
        }
    });
}

void askRunningInstanceToShow() {
    QLocalSocket socket;
    socket.connectToServer(socketName());
    if (!socket.waitForConnected(kPatienceMs))
        return;
    socket.write(&kShow, 1);
    socket.waitForBytesWritten(kPatienceMs);
    socket.disconnectFromServer();
}
