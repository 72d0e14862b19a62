#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, kill, Ctrl+C) told on the event loop, so that
// the program ends through its own closing steps. The handler only writes a byte to a pipe whose
// other end the loop watches; while no watcher lives, the signals keep their default action.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent);
    ~TerminationSignals() override;

signals:
    void received();

private:
    QSocketNotifier* m_notifier = nullptr;
};
