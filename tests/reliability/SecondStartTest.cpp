// Real starts of the program in one folder: a second start says so and leaves every file as it
// was; once the first is killed outright, the lock it held goes with it and the next start runs.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {

const QByteArray kInitial("2026,1,5,8,30,20,300,85\r\n");
const QByteArray kOption("1,8744,5,0,5,1,1500,1500,9241372,16777215,\"kemurin.example.jp/\",2,0,0,"
                         "\"\x83\x5c\x83\x8b\x83\x57\x83\x83\x81\x5b\"\r\n");

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Every file of the folder with its bytes.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        files[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unread>");
    }
    return files;
}

class Start {
public:
    Start(const QString& folder, const QString& runtimeDir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder);
        m_process.start(QStringLiteral(KEMURIN_PROGRAM), QStringList());
        m_process.waitForStarted(5000);
    }
    ~Start() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    QProcess& process() { return m_process; }
    // A window of this process that shows, once one does.
    QString window() {
        QString found;
        const bool shows = QTest::qWaitFor(
            [&] {
                found = run(QStringLiteral("xdotool"),
                            {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--pid"), QString::number(m_process.processId())})
                            .section(u'\n', 0, 0);
                return !found.isEmpty();
            },
            20000);
        return shows ? found : QString();
    }

private:
    QProcess m_process;
};

} // namespace

class SecondStartTest : public QObject {
    Q_OBJECT

private slots:
    void aSecondStartSaysSoAndAfterAKillTheNextStartRuns() {
        QTemporaryDir folder;
        QTemporaryDir runtimeDir;
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
        QDir().mkpath(folder.filePath(QStringLiteral("kemurindata")));
        for (const auto& [name, bytes] :
             {std::pair{"initial.ini", kInitial}, {"option.ini", kOption}}) {
            QFile file(folder.filePath(QStringLiteral("kemurindata/") + QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }

        auto first = std::make_unique<Start>(folder.path(), runtimeDir.path());
        QVERIFY(!first->window().isEmpty());
        const auto before = contents(folder.filePath(QStringLiteral("kemurindata")));

        {
            Start second(folder.path(), runtimeDir.path());
            const QString box = second.window();
            QVERIFY2(!box.isEmpty(), qPrintable(QStringLiteral("state %1, stderr: %2")
                                                    .arg(second.process().state())
                                                    .arg(QString::fromLocal8Bit(
                                                        second.process().readAllStandardError()))));
            // The refusal is a message box titled with the program's name, and nothing else
            // opens; its words are checked where a test can read them (FirstRunTest).
            QCOMPARE(run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), box}),
                     QStringLiteral("ケムリン式"));
            QVERIFY(QTest::qWaitFor(
                [&] {
                    run(QStringLiteral("xdotool"),
                        {QStringLiteral("key"), QStringLiteral("--window"), box,
                         QStringLiteral("Return")});
                    return second.process().waitForFinished(300);
                },
                10000));
            QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.process().exitCode(), 0);
        }
        QCOMPARE(contents(folder.filePath(QStringLiteral("kemurindata"))), before);
        QCOMPARE(first->process().state(), QProcess::Running);

        ::kill(static_cast<pid_t>(first->process().processId()), SIGKILL);
        QVERIFY(first->process().waitForFinished(5000));
        first.reset();
        Start next(folder.path(), runtimeDir.path());
        QVERIFY(!next.window().isEmpty());
        QCOMPARE(next.process().state(), QProcess::Running);
        QCOMPARE(contents(folder.filePath(QStringLiteral("kemurindata"))), before);
    }
};

QTEST_GUILESS_MAIN(SecondStartTest)
#include "SecondStartTest.moc"
