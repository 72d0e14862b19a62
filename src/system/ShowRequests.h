#pragma once

#include <QList>
#include <QObject>

class QLocalServer;
class QSocketNotifier;

// A second start asks the running program to show its window, over a local socket in the user's
// private runtime folder (a named pipe on Windows). Whoever calls is input: only the byte that
// asks counts, a caller that says nothing is let go, and a listener that cannot take a caller
// now (a full descriptor table) keeps listening.
class ShowRequests : public QObject {
    Q_OBJECT
public:
    // Listens; only the program holding the user's lock makes one, so a socket left by a program
    // that did not end cleanly is replaced.
    explicit ShowRequests(QObject* parent);
    ~ShowRequests() override;

signals:
    void received();

private:
    static constexpr int kMostCallers = 8; // callers kept at once, and queued by the system

    // Keeps a caller until it has asked or a second has passed; the oldest goes first when too
    // many wait, so that a flood of silent ones cannot keep a real request out.
    void keep(QObject* caller);
    void letGo(QObject* caller);
#ifdef Q_OS_WIN
    QLocalServer* m_server = nullptr;
#else
    void acceptCallers();
    void readCaller(QSocketNotifier* caller);
    int m_listener = -1;
    QSocketNotifier* m_notifier = nullptr;
#endif
    QString m_name;
    QList<QObject*> m_callers;
};

// How long a second start waits for the running program, and a caller may take to ask.
inline constexpr int kShowRequestPatienceMs = 1000;

// Asks the running program to show its window; false when none answered within a second.
bool askRunningProgramToShow();

// The name of the socket a second start calls; empty when there is no private folder for it.
QString showRequestSocketName();
