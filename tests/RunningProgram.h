#pragma once

// The real program started in a folder under faketime (with a running clock, so that its timers
// run), and xdotool to find, read and use its windows on the X server.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

// Runs a command whose words hold no blank; gives what it printed.
inline QString run(const QString& commandLine) {
    QStringList words = commandLine.split(u' ', Qt::SkipEmptyParts);
    QProcess process;
    process.start(words.takeFirst(), words);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

inline QString xdotool(const QString& arguments) {
    return run("xdotool " + arguments);
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One start of the program in a folder, and the hands that use it.
class RunningProgram {
public:
    RunningProgram(const QString& folder, const QString& runtimeDir, const QString& fakeStart) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // A sanitized build must accept faketime's library loaded ahead of its runtime.
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                       QStringLiteral(":verify_asan_link_order=0"));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder);
        // "@" lets the fake clock run on from the given moment.
        m_process.start(
            QStringLiteral("faketime"),
            {QStringLiteral("-f"), QLatin1Char('@') + fakeStart, QStringLiteral(KEMURIN_PROGRAM)});
        m_process.waitForStarted(5000);
    }
    ~RunningProgram() {
        // The program first: faketime ends once it has reaped it, so the next start cannot find
        // this one's lock still held.
        kill();
        if (!ends(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Ends the program outright, as a crash would.
    void kill() {
        const int child = programPid().toInt();
        if (child > 0 && child != m_process.processId())
            ::kill(child, SIGKILL);
    }

    QProcess& process() { return m_process; }
    bool ends(int timeoutMs = 10000) {
        return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
    }

    // The program's mapped window with this title, once it shows.
    QString window(const QString& title) {
        QString found;
        const bool shows = QTest::qWaitFor(
            [&] {
                found = visibleWindow(title);
                return !found.isEmpty();
            },
            20000);
        // A window just mapped may not take keys yet.
        QTest::qWait(shows ? 300 : 0);
        return shows ? found : QString();
    }
    QString visibleWindow(const QString& title) const {
        for (const QString& w : xdotool("search --onlyvisible --pid " + programPid())
                                    .split(u'\n', Qt::SkipEmptyParts)) {
            if (xdotool("getwindowname " + w) == title)
                return w;
        }
        return {};
    }
    bool gone(const QString& title) {
        return QTest::qWaitFor([&] { return visibleWindow(title).isEmpty(); }, 10000);
    }

    static QPoint position(const QString& window) {
        static const QRegularExpression xy(QStringLiteral("X=(-?\\d+)\\s+Y=(-?\\d+)"));
        const QRegularExpressionMatch at = xy.match(xdotool("getwindowgeometry --shell " + window));
        return {at.captured(1).toInt(), at.captured(2).toInt()};
    }
    static void click(const QString& window, QPoint at, int button = 1, int times = 1) {
        const QPoint p = position(window) + at;
        xdotool(QString::asprintf("mousemove %d %d click --repeat %d --delay 60 %d", p.x(), p.y(),
                                  times, button));
        QTest::qWait(200);
    }
    // Key names, or text to type, into a window.
    static void keys(const QString& window, const QString& names, const char* how = "key") {
        xdotool("windowfocus --sync " + window);
        xdotool(QLatin1String(how) + " --delay 80 " + names);
        QTest::qWait(100);
    }
    // Opens a window's popup menu and takes its item at `index` (0 for the first).
    static void menuItem(const QString& window, QPoint surface, int index) {
        click(window, surface, 3);
        QTest::qWait(400);
        xdotool("key --delay 60 " + QStringLiteral("Down ").repeated(index + 1) + "Return");
        QTest::qWait(300);
    }

private:
    // faketime runs the program as its child.
    QString programPid() const {
        const QString pid = QString::number(m_process.processId());
        const QByteArray children =
            readAll(QStringLiteral("/proc/%1/task/%1/children").arg(pid)).trimmed();
        return children.isEmpty() ? pid : QString::fromLatin1(children.split(' ').first());
    }

    QProcess m_process;
};
