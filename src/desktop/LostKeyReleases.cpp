#include "desktop/LostKeyReleases.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <qt_windows.h>

#include <bitset>

namespace {
// Sees every key message before Qt reads it, and keeps which keys Qt has seen go down and not
// come up.
class ReleaseRepair : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        const bool down = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
        const bool up = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
        if ((!down && !up) || msg->wParam >= m_downInQt.size())
            return false;
        // Qt hands each message to its filters twice: as its loop takes it, and as the window
        // reads it. The second look changes nothing.
        if (isLastSeen(*msg))
            return false;
        const size_t key = msg->wParam;
        // Bit 30: the key was already down, as Windows counts it.
        const bool heldBefore = (msg->lParam & (1 << 30)) != 0;
        if (down && !heldBefore && m_downInQt[key]) {
            // The release Qt missed, given to the same window before the press: Qt forgets
            // the key, and the press is a press again.
            const LPARAM release =
                (msg->lParam & 0x01FF0000) | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31);
            SendMessageW(msg->hwnd, msg->message == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP,
                         msg->wParam, release);
        }
        m_downInQt[key] = down;
        m_lastSeen = *msg;
        return false;
    }

private:
    bool isLastSeen(const MSG& msg) const {
        return msg.hwnd == m_lastSeen.hwnd && msg.message == m_lastSeen.message &&
               msg.wParam == m_lastSeen.wParam && msg.lParam == m_lastSeen.lParam &&
               msg.time == m_lastSeen.time;
    }

    std::bitset<256> m_downInQt;
    MSG m_lastSeen{};
};
} // namespace

void repairLostKeyReleases() {
    static ReleaseRepair repair;
    QCoreApplication::instance()->installNativeEventFilter(&repair);
}
#else
// X and Wayland send a key's release to the window that has the focus when it is let go.
void repairLostKeyReleases() {}
#endif
