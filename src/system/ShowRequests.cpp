#include "system/ShowRequests.h"

#include "system/UserInstance.h"

#include <QLocalSocket>
#include <QTimer>

#ifdef Q_OS_WIN
#include <QLocalServer>

#include <windows.h>
#else
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

constexpr char kShow = 's';
constexpr int kPatienceMs = 1000;
// Callers served at once; more are let go at once, so that a flood cannot use up descriptors.
constexpr int kMostCallers = 8;

QString socketName() {
    const QString folder = privateRuntimeFolder();
    if (folder.isEmpty())
        return {};
#ifdef Q_OS_WIN
    return folder + QStringLiteral("/kemurin.socket");
#else
    return folder + QStringLiteral("/kemurin-%1.socket").arg(::getuid());
#endif
}

} // namespace

void ShowRequests::serve(QLocalSocket* caller) {
    // The oldest caller goes first: a flood of silent ones cannot keep a real request out.
    if (m_callers.size() == kMostCallers)
        m_callers.takeFirst()->abort();
    m_callers.append(caller);
    const auto letGo = [this, caller] {
        m_callers.removeOne(caller);
        caller->deleteLater();
    };
    connect(caller, &QLocalSocket::disconnected, this, letGo);
    QTimer::singleShot(kPatienceMs, caller, [caller] { caller->abort(); });
    connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
        if (caller->readAll().contains(kShow))
            emit received();
    });
}

#ifdef Q_OS_WIN

ShowRequests::ShowRequests(QObject* parent) : QObject(parent), m_name(socketName()) {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Without the pipe a second start only says that this one runs.
    m_server->listen(m_name);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = m_server->nextPendingConnection())
            serve(caller);
    });
}

ShowRequests::~ShowRequests() = default;

#else

ShowRequests::ShowRequests(QObject* parent) : QObject(parent), m_name(socketName()) {
    const QByteArray path = QFile::encodeName(m_name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    // Only a socket is replaced: a name taken by anything else stays, and nobody is served.
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode))
        ::unlink(path.constData());
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listener < 0)
        return;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, kMostCallers) != 0) {
        ::close(m_listener);
        m_listener = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShowRequests::acceptCallers);
}

ShowRequests::~ShowRequests() {
    if (m_listener < 0)
        return;
    ::close(m_listener);
    ::unlink(QFile::encodeName(m_name).constData());
}

// With the descriptor table full, UBSan's type check cannot probe memory (it needs a pipe of its
// own) and takes every object for a wrong one: the check is left out here.
__attribute__((no_sanitize("vptr"))) void ShowRequests::acceptCallers() {
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0 && errno == EINTR)
            continue;
        if (fd < 0) {
            // No descriptor to take the caller with: it waits in the queue while the listener
            // rests a moment, instead of waking it again at once.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                m_notifier->setEnabled(false);
                QTimer::singleShot(1000, m_notifier, [this] { m_notifier->setEnabled(true); });
            }
            return;
        }
        auto* caller = new QLocalSocket(this);
        if (!caller->setSocketDescriptor(fd, QLocalSocket::ConnectedState, QIODevice::ReadOnly)) {
            ::close(fd);
            delete caller;
            continue;
        }
        serve(caller);
    }
}

#endif

bool askRunningProgramToShow() {
    const QString name = socketName();
    if (name.isEmpty())
        return false;
#ifdef Q_OS_WIN
    // Only the foreground process may give the foreground away: the running program can then
    // bring its window to the front, and not only flash its taskbar button.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kPatienceMs))
        return false;
    socket.write(&kShow, 1);
    const bool sent = socket.waitForBytesWritten(kPatienceMs);
    socket.disconnectFromServer();
    return sent;
}
