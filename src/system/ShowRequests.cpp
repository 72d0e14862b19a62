#include "system/ShowRequests.h"

#include <QTimer>

void ShowRequests::keep(QObject* caller) {
    if (m_callers.size() == kMostCallers)
        letGo(m_callers.front());
    m_callers.append(caller);
    QTimer::singleShot(kShowRequestPatienceMs, caller, [this, caller] { letGo(caller); });
}

void ShowRequests::letGo(QObject* caller) {
    if (m_callers.removeOne(caller))
        caller->deleteLater();
}
