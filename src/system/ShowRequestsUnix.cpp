// Plain Unix sockets: Qt's local server closes itself for good when an accept fails, and its
// network library would be loaded at every start for one byte.
#include "system/ShowRequests.h"

#include "system/UserInstance.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char kShow = 's';

std::optional<sockaddr_un> socketAddress(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || static_cast<size_t>(path.size()) >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return address;
}

// A caller's socket, closed with it.
class CallerSocket : public QSocketNotifier {
public:
    CallerSocket(int fd, QObject* parent) : QSocketNotifier(fd, QSocketNotifier::Read, parent) {}
    ~CallerSocket() override { ::close(static_cast<int>(socket())); }
};

} // namespace

QString showRequestSocketName() {
    const QString folder = privateRuntimeFolder();
    return folder.isEmpty() ? QString()
                            : folder + QStringLiteral("/kemurin-%1.socket").arg(::getuid());
}

ShowRequests::ShowRequests(QObject* parent) : QObject(parent), m_name(showRequestSocketName()) {
    const std::optional<sockaddr_un> address = socketAddress(m_name);
    if (!address)
        return;
    // Only a socket is replaced: a name taken by anything else stays, and nobody is served.
    struct stat info {};
    if (::lstat(address->sun_path, &info) == 0 && S_ISSOCK(info.st_mode))
        ::unlink(address->sun_path);
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listener < 0)
        return;
    if (::bind(m_listener, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
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
        auto* caller = new CallerSocket(fd, this);
        keep(caller);
        connect(caller, &QSocketNotifier::activated, this, [this, caller] { readCaller(caller); });
    }
}

void ShowRequests::readCaller(QSocketNotifier* caller) {
    char bytes[64];
    const ssize_t got = ::read(static_cast<int>(caller->socket()), bytes, sizeof bytes);
    if (got > 0 && std::memchr(bytes, kShow, static_cast<size_t>(got)))
        emit received();
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
        caller->setEnabled(false);
        letGo(caller);
    }
}

bool askRunningProgramToShow() {
    const std::optional<sockaddr_un> address = socketAddress(showRequestSocketName());
    if (!address)
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A listener whose queue is full is waited for a second at most.
    const timeval patience{kShowRequestPatienceMs / 1000, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    const bool sent =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0 &&
        ::write(fd, &kShow, 1) == 1;
    ::close(fd);
    return sent;
}
