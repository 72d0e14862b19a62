#pragma once

#include <QObject>

class QLocalServer;

// A second start asks the running instance to show its window, over a local socket in the user's
// runtime folder (beside the instance lock).
class ShowRequests : public QObject {
    Q_OBJECT
public:
    // Listens; only the instance holding the lock makes one, so a socket left by an instance
    // that did not end cleanly is replaced.
    explicit ShowRequests(QObject* parent);

signals:
    void received();

private:
    QLocalServer* m_server;
};

// Asks the running instance to show its window; gives up within a second when none answers.
void askRunningInstanceToShow();
