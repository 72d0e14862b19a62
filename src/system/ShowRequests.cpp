#include "system/ShowRequests.h"

#include <QTimer>

namespace {
// Callers kept at once, and how long each may take to ask.
constexpr int kMostCallers = 8;
constexpr int kPatienceMs = 1000;
} // namespace

void ShowRequests::keep(QObject* caller) {
    if (m_callers.size() == kMostCallers)
        letGo(m_callers.front());
    m_callers.append(caller);
    QTimer::singleShot(kPatienceMs, caller, [this, caller] { letGo(caller); });
}

void ShowRequests::letGo(QObject* caller) {
    if (m_callers.removeOne(caller))
        caller->deleteLater();
}
