// Starts of the program in one folder: a second start says so and leaves every file as it was;
// once the first is killed outright, the lock it held goes with it and the next start runs.
#include "RunningProgram.h"
#include "SettingsLines.h"

#include "app/Program.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Set for a copy of this test that starts as a second instance in the folder it names.
const char kSecondInstanceDir[] = "KEMURIN_SECOND_INSTANCE_DIR";

// Every file of the folder with its bytes.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        files[name] = readAll(dir.filePath(name));
    return files;
}

} // namespace

class SecondStartTest : public QObject {
    Q_OBJECT

private slots:
    // As the copy that theRefusalIsTheseWordsAndEndsTheProcess starts: the program's start-up,
    // its message printed instead of shown.
    void initTestCase() {
        if (!qEnvironmentVariableIsSet(kSecondInstanceDir))
            return;
        const QString dir = qEnvironmentVariable(kSecondInstanceDir);
        useInstanceLockFile(dir + QStringLiteral("/instance.lock"));
        setMessageInterceptor([](const QString& text) {
            std::fputs(text.toUtf8().append('\n').constData(), stdout);
            std::fflush(stdout);
        });
        Program(dir).start();
        std::_Exit(3); // went on past the refusal
    }

    void theRefusalIsTheseWordsAndEndsTheProcess() {
        QTemporaryDir dir;
        const QByteArray lockPath =
            QFile::encodeName(dir.filePath(QStringLiteral("instance.lock")));
        const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0);
        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(kSecondInstanceDir), dir.path());
        second.setProcessEnvironment(environment);
        // The copy's own test log goes nowhere: its output is what it tells the user.
        second.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("-o"), QStringLiteral("/dev/null,txt")});
        const bool ended = second.waitForFinished(30000);
        ::close(fd);
        QVERIFY(ended);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(QString::fromUtf8(second.readAllStandardOutput()),
                 QStringLiteral("プログラムは既に起動されています。\n"));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!QDir(dir.path()).exists(QStringLiteral("kemurindata")));
    }

    void aSecondStartSaysSoAndAfterAKillTheNextStartRuns() {
        QTemporaryDir folder;
        QTemporaryDir runtimeDir;
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
        const QString data = folder.filePath(QStringLiteral("kemurindata"));
        QDir().mkpath(data);
        for (const auto& [name, bytes] :
             {std::pair{"/initial.ini", QByteArray("2026,1,5,8,30,20,300,85\r\n")},
              {"/option.ini", optionLine(1, 1500, 1500)}}) {
            QFile file(data + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }

        const QString now = QStringLiteral("2026-12-06 12:00:00");
        auto first = std::make_unique<RunningProgram>(folder.path(), runtimeDir.path(), now);
        QVERIFY(!first->window(QStringLiteral("ケムリン式 - pimaru")).isEmpty());
        const auto before = contents(data);
        {
            // The refusal is a message box titled with the program's name, and nothing else
            // opens; its words are checked above, where the test can read them.
            RunningProgram second(folder.path(), runtimeDir.path(), now);
            const QString box = second.window(QStringLiteral("ケムリン式"));
            QVERIFY2(!box.isEmpty(), second.process().readAllStandardError().constData());
            // Answered as a person would, the box focused and the key pressed: a key sent to the
            // box alone leaves the display dropping what is typed into the next program.
            QVERIFY(QTest::qWaitFor(
                [&] {
                    xdotool("windowfocus --sync " + box);
                    xdotool(QStringLiteral("key Return"));
                    return second.ends(300);
                },
                10000));
            QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.process().exitCode(), 0);
        }
        QCOMPARE(contents(data), before);
        QCOMPARE(first->process().state(), QProcess::Running);

        first->kill();
        QVERIFY(first->ends(5000));
        first.reset();
        RunningProgram next(folder.path(), runtimeDir.path(), now);
        QVERIFY(!next.window(QStringLiteral("ケムリン式 - pimaru")).isEmpty());
        QCOMPARE(next.process().state(), QProcess::Running);
        QCOMPARE(contents(data), before);
    }
};

QTEST_GUILESS_MAIN(SecondStartTest)
#include "SecondStartTest.moc"
