#include "system/ShowRequests.h"

#include "system/UserInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <windows.h>

namespace {
constexpr char kShow = 's';
} // namespace

QString showRequestSocketName() {
    return privateRuntimeFolder() + QStringLiteral("/kemurin.socket");
}

ShowRequests::ShowRequests(QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_name(showRequestSocketName()) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Without the pipe a second start only says that this one runs.
    m_server->listen(m_name);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = m_server->nextPendingConnection()) {
            keep(caller);
            connect(caller, &QLocalSocket::disconnected, this, [this, caller] { letGo(caller); });
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
                if (caller->readAll().contains(kShow))
                    emit received();
            });
        }
    });
}

ShowRequests::~ShowRequests() = default;

bool askRunningProgramToShow() {
    QLocalSocket socket;
    socket.connectToServer(showRequestSocketName());
    if (!socket.waitForConnected(kShowRequestPatienceMs))
        return false;
    // Only the foreground process may give the foreground away: the running program, found at
    // the pipe's other end, can then bring its window to the front, and not only flash its
    // taskbar button.
    ULONG running = 0;
    const auto pipe = reinterpret_cast<HANDLE>(socket.socketDescriptor());
    AllowSetForegroundWindow(GetNamedPipeServerProcessId(pipe, &running) ? DWORD(running)
                                                                         : ASFW_ANY);
    socket.write(&kShow, 1);
    const bool sent = socket.waitForBytesWritten(kShowRequestPatienceMs);
    socket.disconnectFromServer();
    return sent;
}
