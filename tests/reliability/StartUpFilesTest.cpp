// Start-up against what a user, an editor, a crash or a full disk leaves in the data folder: the
// program starts, shows sensible figures, says once what it could not read or write, and keeps
// whatever it could keep. A start in a folder whose lock another start holds changes nothing.
#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "settings/SettingsFiles.h"
#include "windows/MainWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum Make { Bytes, Folder, LinkToZero, Pipe, ReadOnlyFolder };

// The clock stands at 2008-08-26 10:23:41: five days after this quit moment, 1500 yen.
const QByteArray kInitial("2008,8,21,10,23,20,300,85\r\n");
const QString kCopyStamp = QStringLiteral("20080826-102341");

// The money the main window shows, or the window that stands instead.
QString shownAtStart() {
    if (MainWindow* main = shown<MainWindow>())
        return control<QLabel>(main, QStringLiteral("moneyValue"))->text().section(u'円', 0, 0);
    return shown<SetupWindow>() ? QStringLiteral("setup") : QStringLiteral("nothing");
}

struct BadFile {
    const char* name;
    QString file; // relative to the program's folder
    Make make;
    QByteArray bytes;
    bool reads;       // the main window shows the file's figures and nothing is told
    bool copy;        // a dated copy of the file is kept
    QByteArray after; // the file's bytes after closing; empty: as before
};

} // namespace

Q_DECLARE_METATYPE(BadFile)

class StartUpFilesTest : public QObject {
    Q_OBJECT

private slots:
    // Told so in these words before any file is touched. First of all: the lock a start takes is
    // the process's own for good. The journeys of the real program see it end by itself.
    void aSecondStartIsToldSoBeforeTouchingAFile() {
        QTemporaryDir dir;
        const QString lockPath = dir.filePath(QStringLiteral("instance.lock"));
        const int held = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0600);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0);
        const pid_t second = fork();
        if (second == 0) {
            // Its own open of the lock file, so the lock held above counts against it.
            useInstanceLockFile(lockPath);
            setMessageInterceptor([](const QString& text) {
                if (text == QStringLiteral("プログラムは既に起動されています。"))
                    std::_Exit(7);
            });
            Program(dir.path()).start();
            std::_Exit(3);
        }
        int status = 0;
        ::waitpid(second, &status, 0);
        ::close(held);
        QCOMPARE(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 7);
        QVERIFY(!QDir(dir.path()).exists(QStringLiteral("kemurindata")));
    }

    // How each kind of damage reads is the settings files' own test; here each kind is met once
    // at start-up. An initial.ini that does not read counts from now and waits to be mended; an
    // option.ini that does not read starts the first run.
    void badFile_data() {
        const QString i = kInitialFile;
        const QString o = kOptionFile;
        const QByteArray option = optionLine(1, 1500, 1500);
        // Bytes no character stands for, in both texts: a lead byte cut off by the quote too.
        const QByteArray odd = QByteArray(option)
                                   .replace(kDefaultBlogUrl, "x/\x80\xfd\x85\x40~\x81")
                                   .replace("\x83\x8b", "\xff\x8b");
        const QByteArray nul("2008,8,21,1\0"
                             "0,23,20,300,85\r\n",
                             28);
        const QByteArray big = option.chopped(2) + QByteArray(10 << 20, ' ') + "\r\n";
        // Read to the line's end, and the places pulled back onto the screen.
        const QByteArray unclosed = OptionLine{1, -300, -1}.bytes().chopped(3) + "\r\n";
        const QString data = QStringLiteral("kemurindata");
        QTest::addColumn<BadFile>("row");
        for (const BadFile& r : {
                 BadFile{"initial.ini empty", i, Bytes, "", false, false, {}},
                 {"initial.ini cut mid-field", i, Bytes, "2008,8,2", false, true, {}},
                 {"initial.ini NUL in a number", i, Bytes, nul, false, true, {}},
                 {"initial.ini all zero", i, Bytes, "0,0,0,0,0,0,0,0\r\n", false, true, {}},
                 {"initial.ini a folder", i, Folder, "", false, false, {}},
                 {"initial.ini link to /dev/zero", i, LinkToZero, "", false, false, {}},
                 {"initial.ini named pipe", i, Pipe, "", false, false, {}},
                 {"option.ini 10 MB on one line", o, Bytes, big, false, true, {}},
                 {"option.ini bytes code page 932 cannot read", o, Bytes, odd, true, false, {}},
                 {"option.ini unclosed quote", o, Bytes, unclosed, true, false,
                  optionLine(1, 0, 0)},
                 {"read-only data folder", data, ReadOnlyFolder, "", true, false, {}},
             })
            QTest::newRow(r.name) << r;
    }

    void badFile() {
        QFETCH(BadFile, row);
        if (row.make == ReadOnlyFolder && geteuid() == 0)
            QSKIP("root writes through any permission: run the tests as another user for this row");

        WindowTestEnvironment env;
        env.writeSettings(kInitial, optionLine(1, 1500, 1500));
        const QString path = QDir(env.appDir()).filePath(row.file);
        const QByteArray encoded = QFile::encodeName(path);
        QFile::remove(path);
        QVERIFY(row.make == Bytes        ? (env.writeFile(row.file, row.bytes), true)
                : row.make == Folder     ? QDir().mkpath(path)
                : row.make == LinkToZero ? QFile::link(QStringLiteral("/dev/zero"), path)
                : row.make == Pipe       ? ::mkfifo(encoded.constData(), 0600) == 0
                                         : ::chmod(encoded.constData(), 0555) == 0);
        // A regular file's bytes, else what stands at the path: enough to see nothing replaced it.
        const auto fingerprint = [&] {
            const QFileInfo info(path);
            return info.isSymLink() ? QByteArray("link")
                   : info.isDir()   ? QByteArray("folder")
                   : info.isFile()  ? env.readFile(row.file)
                                    : QByteArray("other");
        };
        const QByteArray before = fingerprint();

        env.program->start();
        QCOMPARE(shownAtStart(), row.reads                  ? QStringLiteral("1500")
                                 : row.file == kInitialFile ? QStringLiteral("0")
                                                            : QStringLiteral("setup"));
        QCOMPARE(env.messages.size(), row.reads ? 0 : 1);
        const QString copy = row.file + QStringLiteral(".broken-") + kCopyStamp;
        QCOMPARE(env.readFile(copy), row.copy ? row.bytes : QByteArray());
        if (!row.reads) {
            const QString& told = env.messages[0];
            QVERIFY2(told.startsWith(QStringLiteral("設定ファイルを読み込めませんでした。")) &&
                         told.contains(QDir::toNativeSeparators(path)) &&
                         told.contains(QFileInfo(copy).fileName()) == row.copy,
                     qPrintable(told));
        }

        env.messages.clear();
        QApplication::closeAllWindows();
        QCOMPARE(env.messages.size(), row.make == ReadOnlyFolder ? 1 : 0);
        QCOMPARE(fingerprint(), row.after.isEmpty() ? before : row.after);
        if (row.make == ReadOnlyFolder)
            ::chmod(encoded.constData(), 0755);
    }

    // option.ini spoilt by an editor with one bad byte: the first run opens, and the broken file
    // and the quit data the first run will replace are both kept and said so, once however often
    // the program starts on them.
    void aFileThatDidNotReadIsCopiedOnceAndTheQuitDataWithIt() {
        WindowTestEnvironment env;
        QByteArray broken = optionLine(1, 1500, 1500);
        broken[4] = '\xff'; // in the tobacco tax, 8744
        env.writeSettings(kInitial, broken);
        for (int start = 0; start < 2; ++start) {
            env.program = std::make_unique<Program>(env.appDir());
            env.program->start();
            QCOMPARE(shownAtStart(), QStringLiteral("setup"));
            QApplication::closeAllWindows();
        }
        const QDir folder(dataDirPath(env.appDir()));
        const QStringList copies{QStringLiteral("initial.ini.backup-") + kCopyStamp,
                                 QStringLiteral("option.ini.broken-") + kCopyStamp};
        QCOMPARE(folder.entryList({QStringLiteral("*-*")}, QDir::Files), copies);
        QCOMPARE(env.readFile(QStringLiteral("kemurindata/") + copies[0]), kInitial);
        QCOMPARE(env.readFile(QStringLiteral("kemurindata/") + copies[1]), broken);
        QCOMPARE(env.messages, QStringList(2, env.messages.value(0)));
        for (const QString& copy : copies)
            QVERIFY2(env.messages[0].contains(copy), qPrintable(env.messages[0]));
    }

    // A full disk with option.ini gone: the start says once that it cannot save, confirming the
    // first run and closing say nothing more, and the main window counts from the confirmation,
    // not from the quit moment initial.ini still holds. Writing fails instead of ending the
    // program, and the files stay as they were.
    void aFullDiskIsToldOnceAndTheNewStartShows() {
        WindowTestEnvironment env;
        env.writeFile(kInitialFile, kInitial);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit full{0, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &saved); });
        env.program->start();
        QCOMPARE(env.messages.size(), 1);
        QVERIFY2(env.messages[0].startsWith(QStringLiteral("設定を保存できませんでした。")) &&
                     env.messages[0].contains(optionFilePath(env.appDir())),
                 qPrintable(env.messages[0]));
        StartConfirmWindow* confirm = acceptSetup(QStringLiteral("30"), QStringLiteral("440"));
        QVERIFY(confirm);
        clickButton(confirm, QStringLiteral("startButton"));
        QCOMPARE(shownAtStart(), QStringLiteral("0"));
        QCOMPARE(env.program->state().quitMoment, (DateTimeParts{0, 2008, 8, 26, 10, 23}));
        QApplication::closeAllWindows();
        QCOMPARE(env.messages.size(), 1);
        QCOMPARE(env.readFile(kInitialFile), kInitial);
        QVERIFY(!QFileInfo::exists(optionFilePath(env.appDir())));
    }
};

QTEST_MAIN(StartUpFilesTest)
#include "StartUpFilesTest.moc"
