// Runs the real program, as a user would start it, on the X server the tests run on.
#include "SettingsLines.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The X windows that a process has mapped, by xdotool.
QStringList windowsOf(qint64 pid) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--pid"), QString::number(pid)});
    search.waitForFinished(5000);
    return QString::fromLatin1(search.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QString windowName(const QString& window) {
    QProcess name;
    name.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
    name.waitForFinished(5000);
    QString text = QString::fromUtf8(name.readAllStandardOutput());
    text.chop(text.endsWith(u'\n') ? 1 : 0);
    return text;
}

QStringList windowNamesOf(qint64 pid) {
    QStringList names;
    for (const QString& window : windowsOf(pid))
        names << windowName(window);
    return names;
}

bool pressReturnAndWait(QProcess* program) {
    for (const QString& window : windowsOf(program->processId()))
        QProcess::execute(
            QStringLiteral("xdotool"),
            {QStringLiteral("key"), QStringLiteral("--window"), window, QStringLiteral("Return")});
    return program->state() == QProcess::NotRunning || program->waitForFinished(500);
}

} // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(runtimeDir.isValid());
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
    }
    void cleanup() {
        for (QProcess* p : started) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
        started.clear();
    }

    void anEmptyFolderGetsBothFilesAndTheSetupWindow() {
        QTemporaryDir folder;
        QProcess* program = start(folder.path());
        const QString data = folder.filePath(QStringLiteral("kemurindata"));
        QTRY_VERIFY_WITH_TIMEOUT(!windowsOf(program->processId()).isEmpty(), 10000);

        const QByteArray initial = readAll(data + QStringLiteral("/initial.ini"));
        const QRegularExpression form(
            QStringLiteral("^(\\d{4}),(\\d+),(\\d+),\\d+,\\d+,20,300,85\r\n$"));
        const auto match = form.match(QString::fromLatin1(initial));
        QVERIFY2(match.hasMatch(), initial.constData());
        const QDate today = QDate::currentDate();
        QVERIFY(
            QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt())
                .daysTo(today) <= 1);
        QCOMPARE(readAll(data + QStringLiteral("/option.ini")), defaultOptionLine());
        QTRY_VERIFY_WITH_TIMEOUT(windowNamesOf(program->processId())
                                     .contains(QStringLiteral(" ケムリン式初期設定 - pimaru")),
                                 10000);
    }

    void aSecondStartSaysSoAndTouchesNoFile() {
        QTemporaryDir first;
        QDir(first.path()).mkdir(QStringLiteral("kemurindata"));
        write(first.filePath(QStringLiteral("kemurindata/initial.ini")),
              "2026,1,5,8,30,20,300,85\r\n");
        write(first.filePath(QStringLiteral("kemurindata/option.ini")), optionLine(1, 0, 0));
        QProcess* running = start(first.path());
        QTRY_VERIFY_WITH_TIMEOUT(
            windowNamesOf(running->processId()).contains(QStringLiteral(" ケムリン式 - pimaru")),
            10000);

        QTemporaryDir second;
        QProcess* again = start(second.path());
        QTRY_VERIFY_WITH_TIMEOUT(windowNamesOf(again->processId()).contains(u"ケムリン式"), 10000);
        // The box may still be settling on screen: answer it until the process has ended.
        QTRY_VERIFY_WITH_TIMEOUT(pressReturnAndWait(again), 10000);
        QCOMPARE(again->exitStatus(), QProcess::NormalExit);
        QCOMPARE(again->exitCode(), 0);
        QVERIFY(QDir(second.path()).isEmpty());
        QCOMPARE(running->state(), QProcess::Running);
    }

private:
    QProcess* start(const QString& folder) {
        auto* program = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program->setProcessEnvironment(env);
        program->setWorkingDirectory(folder);
        program->start(QStringLiteral(KEMURIN_PROGRAM), {});
        started << program;
        if (!program->waitForStarted(5000))
            qWarning("the program did not start");
        return program;
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QTemporaryDir runtimeDir;
    QList<QProcess*> started;
};

QTEST_GUILESS_MAIN(ProgramRunTest)
#include "ProgramRunTest.moc"
