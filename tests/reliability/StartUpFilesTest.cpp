// Start-up against what users, editors, crashes and full disks leave, and beside a lock.
#include "WindowTestSupport.h"

#include "desktop/MessageBox.h"
#include "settings/TextCodec.h"
#include "system/DiskFault.h"
#include "system/FileLock.h"
#include "system/ShowRequests.h"
#include "system/UserInstance.h"

#include <QLocalSocket>
#include <QSignalSpy>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum Make { Bytes, Folder, LinkToZero, Pipe, ReadOnlyFolder };

// How a start beside a lock ends: started, told another program runs, told the lock is wrong,
// told another user's program holds the folder, told the folder is another's, told the drive
// locks no file, told the system's error.
constexpr int kStarted = 0, kToldRunning = 7, kToldLock = 9, kToldOtherUser = 11, kToldForeign = 13,
              kToldNoLocks = 15, kToldLockError = 17;

// Makes the system refuse, with `error`, each lock taken (flock) or, for EIO, each lock file
// opened to be made: what a network share or a failing disk does to the folder's lock.
bool refuseLocks(int error) {
    constexpr __u32 kMakesLock = O_CREAT | O_NOFOLLOW | O_NONBLOCK;
    const __u32 refusing = error == ENOLCK ? __NR_flock : __NR_openat;
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, refusing, 0, 4),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_STMT(BPF_ALU | BPF_AND | BPF_K, refusing == __NR_flock ? 0 : kMakesLock),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, refusing == __NR_flock ? 0 : kMakesLock, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<__u32>(error)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
    const sock_fprog program{std::size(filter), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// The clock stands at 2008-08-26 10:23:41, five days into kFiveDaysInitial's count.
const QString kCopyStamp = u"20080826-102341"_s;

// The money the main window shows, or the window that stands instead.
QString shownAtStart() {
    if (MainWindow* main = shown<MainWindow>())
        return label(main, "moneyValue")->text().section(u'円', 0, 0);
    return shown<SetupWindow>() ? u"setup"_s : u"nothing"_s;
}

// What a start showed once a user answered its messages; its windows closed after.
QString startAndClose(WindowTestEnvironment& env) {
    env.program = std::make_unique<Program>(env.appDir());
    if (!env.startAnsweringMessages())
        return u"ended"_s;
    const QString shows = shownAtStart();
    QApplication::closeAllWindows();
    return shows;
}

struct BadFile {
    const char* name;
    QString file; // relative to the program's folder
    Make make;
    QByteArray bytes;
    const char* shows; // "1500": counted from initial.ini; "0": counted from now
    int told;          // starts that told the damage: one when the close wrote the file anew
    bool copy;         // a dated copy of the file is kept
};

// Opens a named pipe for writing whenever a reader waits, so that a start cannot hang on it.
struct PipeWatch {
    explicit PipeWatch(const QByteArray& path)
        : thread([this, path] {
              for (; !stop; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
                  if (const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                      ::close(fd);
                      opened = true;
                  }
              }
          }) {}
    ~PipeWatch() {
        stop = true;
        thread.join();
    }
    std::atomic<bool> stop = false;
    std::atomic<bool> opened = false;
    std::thread thread;
};

} // namespace

Q_DECLARE_METATYPE(BadFile)

class StartUpFilesTest : public QObject {
    Q_OBJECT

private slots:
    // A start beside a held lock is told before any file is touched; one let go soon is taken; a
    // lock file that is a link or a folder is told with its path, and nothing is made through it.
    void aStartBesideALock_data() {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<QString>("holder"); // a lock held for seconds, a link, a folder
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("dataFiles");
        const QString own = u"kemurin-%1.lock"_s.arg(::getuid());
        const QString folders = u"kemurindata/kemurin.lock"_s;
        const QString opt = u"option.ini"_s;
        QTest::newRow("this user's") << own << u"10"_s << kToldRunning << QStringList{opt};
        QTest::newRow("the data folder's")
            << folders << u"10"_s << kToldRunning << QStringList{u"kemurin.lock"_s, opt};
        // Only root can give the lock file away.
        if (::geteuid() == 0)
            QTest::newRow("another user's, in the data folder")
                << folders << u"another's"_s << kToldOtherUser
                << QStringList{u"kemurin.lock"_s, opt};
        // Started by nobody in root's folder that all may write: told before anything is
        // written there but the lock. Root would hide this.
        if (::geteuid() == 0)
            QTest::newRow("in another user's folder, run as nobody")
                << folders << u"nobody"_s << kToldForeign << QStringList{u"kemurin.lock"_s, opt};
        QTest::newRow("this user's, let go")
            << own << u"0.3"_s << kStarted << QStringList{u"initial.ini"_s, u"kemurin.lock"_s, opt};
        QTest::newRow("a link out of the folder")
            << folders << u"link"_s << kToldLock << QStringList{opt};
        QTest::newRow("a folder") << folders << u"folder"_s << kToldLock << QStringList{opt};
        // Neither runs without the lock: each is told as what it is, with the lock's path.
        QTest::newRow("a drive that locks no file (ENOLCK)")
            << folders << u"ENOLCK"_s << kToldNoLocks << QStringList{u"kemurin.lock"_s, opt};
        QTest::newRow("a disk error making the lock file (EIO)")
            << folders << u"EIO"_s << kToldLockError << QStringList{opt};
    }
    void aStartBesideALock() {
        QFETCH(QString, lock);
        QFETCH(QString, holder);
        QFETCH(int, outcome);
        QFETCH(QStringList, dataFiles);
        WindowTestEnvironment env;
        // Past the locks, the start tells initial.ini is missing: no window on the shared display.
        env.writeFile(kOptionFile, OptionLine{}.bytes());
        const QString path = QDir(env.appDir()).filePath(lock);
        QDir(env.appDir()).mkpath(QFileInfo(lock).path());
        QProcess holding;
        if (holder == u"link"_s) {
            QVERIFY(QFile::link(env.appDir() + u"/outside"_s, path));
        } else if (holder == u"folder"_s) {
            QVERIFY(QDir().mkpath(path));
        } else if (holder == u"nobody"_s) {
            QVERIFY(::chmod(QFile::encodeName(env.appDir()).constData(), 0755) == 0 &&
                    ::chmod(QFile::encodeName(QFileInfo(path).path()).constData(), 0777) == 0);
        } else if (!holder.startsWith(u'E')) { // a system error is made in the starting child
            if (holder == u"another's"_s) {
                QVERIFY(writeBytes(path, {}));
                QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
                holder = u"10"_s;
            }
            holding.start(u"flock"_s, {u"-x"_s, path, u"sleep"_s, holder});
            QVERIFY(QTest::qWaitFor(
                [&] {
                    const FileLock::Outcome held = FileLock(path).take();
                    return held == FileLock::Outcome::Busy ||
                           held == FileLock::Outcome::BusyOwnedByAnotherUser;
                },
                5000));
        }
        const pid_t child = fork();
        if (child == 0) {
            if (holder == u"nobody"_s && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(4);
            if (holder.startsWith(u'E') && !refuseLocks(holder == u"EIO"_s ? EIO : ENOLCK))
                std::_Exit(5);
            setMessageInterceptor([&](const QString& text) {
                std::_Exit(text == u"プログラムは既に起動されています。"_s ? kToldRunning
                           : text.startsWith(u"データフォルダのロックファイルを開けないため"_s) &&
                                   text.contains(path) && text.contains(qt_error_string(EIO))
                               ? kToldLockError
                           : text.startsWith(u"データフォルダのあるドライブではファイルを"_s) &&
                                   text.contains(path)
                               ? kToldNoLocks
                           : text.startsWith(u"データフォルダのロックファイルを開けないため"_s) &&
                                   text.contains(path)
                               ? kToldLock
                           : text.startsWith(u"このデータフォルダは、別のユーザーが"_s) &&
                                   text.contains(path)
                               ? kToldOtherUser
                           : text.startsWith(u"データフォルダが別のユーザーのものです。\n"_s +
                                             QDir::toNativeSeparators(QFileInfo(path).path()))
                               ? kToldForeign
                               : kStarted);
            });
            env.program->start();
            std::_Exit(3);
        }
        int status = 0;
        bool ended = false; // within five seconds, without touching the display the child shares
        for (int i = 0; i < 500 && !(ended = ::waitpid(child, &status, WNOHANG) == child); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!ended && ::kill(child, SIGKILL) == 0)
            ::waitpid(child, nullptr, 0);
        holding.kill();
        holding.waitForFinished();
        QVERIFY2(ended, "the start waited instead of going on or being told");
        QCOMPARE(WIFEXITED(status) ? WEXITSTATUS(status) : -1, outcome);
        QCOMPARE(QDir(dataDirPath(env.appDir())).entryList(QDir::Files), dataFiles);
        QVERIFY(!QFileInfo::exists(env.appDir() + u"/outside"_s));
    }

    // A lock file removed or replaced while the program runs: a second copy could take the
    // folder, so no save is written over it, and the user is told once, naming the lock.
    void aLockThatVanishesStopsTheSaves_data() {
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("unattended"); // the session ends: told on standard error
        QTest::newRow("removed") << false << false;
        QTest::newRow("replaced, and taken by another copy") << true << false;
        QTest::newRow("removed, at a session's end") << false << true;
    }
    void aLockThatVanishesStopsTheSaves() {
        QFETCH(bool, replaced);
        QFETCH(bool, unattended);
        WindowTestEnvironment env;
        MainWindow* main = env.startCounting();
        QVERIFY(main);
        const QByteArray before = env.bothFiles();
        const QString lock = QDir(env.appDir()).filePath(u"kemurindata/kemurin.lock"_s);
        QVERIFY(QFile::remove(lock));
        FileLock another(lock);
        if (replaced)
            QCOMPARE(another.take(), FileLock::Outcome::Held);
        main->move(main->pos() + QPoint(40, 30));
        if (unattended) {
            const QRegularExpression told(u"^データフォルダのロックファイルが消えたか.*\n"_s +
                                          QRegularExpression::escape(lock) + u"\n"_s);
            QTest::ignoreMessage(QtWarningMsg, told);
            env.program->endUnattended();
            QCOMPARE(env.bothFiles(), before);
            QCOMPARE(env.messages, QStringList());
            return;
        }
        QApplication::closeAllWindows();
        QCOMPARE(env.bothFiles(), before);
        QCOMPARE(env.messages.size(), 1);
        QVERIFY2(env.messages[0].startsWith(u"データフォルダのロックファイルが消えたか"_s) &&
                     env.messages[0].contains(lock),
                 qPrintable(env.messages[0]));
    }

    // Without a session's runtime folder, one for this user alone; none if another's has its name.
    void aRuntimeFolderOnlyThisUserOwns() {
        QTemporaryDir temp;
        const QByteArray savedTemp = qgetenv("TMPDIR");
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&] {
            qputenv("TMPDIR", savedTemp);
            qputenv("XDG_RUNTIME_DIR", savedRuntime);
        });
        const QString qts =
            temp.filePath(u"runtime-"_s + QString::fromLocal8Bit(::getpwuid(::getuid())->pw_name));
        const QString ours = temp.filePath(u"kemurin-%1"_s.arg(::getuid()));
        for (const QString& taken : {qts, ours}) {
            QVERIFY(QDir().mkdir(taken));
            QVERIFY(::chown(QFile::encodeName(taken).constData(), 65534, 65534) == 0 ||
                    ::getuid() != 0);
            // Ours as private as ours would be: only its owner tells it is another's.
            ::chmod(QFile::encodeName(taken).constData(), taken == ours ? 0700 : 0777);
        }
        if (::getuid() == 0) {
            QCOMPARE(privateRuntimeFolder(), QString());
            QVERIFY(!anotherProgramOfThisUser());
            QCOMPARE(QDir(ours).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        }
        QVERIFY(QDir(ours).removeRecursively());
        QCOMPARE(privateRuntimeFolder().section(u'/', -1), QFileInfo(ours).fileName());
        struct stat made {};
        QVERIFY(::stat(QFile::encodeName(ours).constData(), &made) == 0 && !(made.st_mode & 077));
    }

    // Silent callers, garbage and a full descriptor table do not end the listener: a request
    // that met a full table is served once a descriptor is free, and the next too.
    void theListenerOutlivesAFlood() {
        WindowTestEnvironment env;
        ShowRequests requests(nullptr);
        QSignalSpy told(&requests, &ShowRequests::received);
        const auto toldWithin3s = [&](qsizetype times) {
            return QTest::qWaitFor([&] { return told.size() == times; }, 3000);
        };
        std::vector<std::unique_ptr<QLocalSocket>> callers;
        for (int i = 0; i < 30; ++i) {
            callers.push_back(std::make_unique<QLocalSocket>());
            callers.back()->connectToServer(showRequestSocketName());
            if (callers.back()->waitForConnected(1000) && i % 2)
                callers.back()->write("garbage");
            QTest::qWait(5);
        }
        QVERIFY(askRunningProgramToShow());
        QVERIFY2(toldWithin3s(1), "a flood of silent callers kept the request out");
        // Their descriptors, let go as the listener drops them, would free the full table below.
        callers.clear();
        QTest::qWait(50);
        rlimit saved{};
        getrlimit(RLIMIT_NOFILE, &saved);
        const rlimit few{512, saved.rlim_max};
        setrlimit(RLIMIT_NOFILE, &few);
        std::vector<int> taken;
        for (int fd; (fd = ::dup(0)) >= 0;)
            taken.push_back(fd);
        ::close(taken.back());
        // The caller takes the last descriptor; gone, the table is full before the listener calls.
        QVERIFY(askRunningProgramToShow());
        QVERIFY(::dup(0) == taken.back() && ::dup(0) < 0);
        QTest::qWait(300);
        QCOMPARE(told.size(), 1);
        for (const int fd : taken)
            ::close(fd);
        setrlimit(RLIMIT_NOFILE, &saved);
        QVERIFY2(toldWithin3s(2), "the request that met a full table was lost");
        QVERIFY(askRunningProgramToShow());
        QVERIFY2(toldWithin3s(3), "the listener stopped after a full table");
    }

    // Each damage met at two starts: an initial.ini that does not read counts from now, an
    // option.ini starts the first run; each start tells the same; a copy is kept once.
    void badFile_data() {
        const QString i = kInitialFile;
        const QString o = kOptionFile;
        const QByteArray option = OptionLine{1, 1500, 1500}.bytes();
        // Bytes no character stands for, in both texts: a lead byte cut off by the quote too.
        const QByteArray odd = QByteArray(option)
                                   .replace(kDefaultBlogUrl, "x/\x80\xfd\x85\x40~\x81")
                                   .replace("\x83\x8b", "\xff\x8b");
        const QByteArray number = QByteArray(option).replace("8744", "\xff"
                                                                     "744");
        const QByteArray big = option.chopped(2) + QByteArray(10 << 20, ' ') + "\r\n";
        QTest::addColumn<BadFile>("row");
        for (const BadFile& r :
             {BadFile{"initial.ini empty", i, Bytes, "", "0", 2, false},
              {"initial.ini cut mid-field", i, Bytes, "2008,8,2", "0", 2, true},
              {"initial.ini all zero", i, Bytes, "0,0,0,0,0,0,0,0\r\n", "0", 2, true},
              {"initial.ini a folder", i, Folder, "", "0", 2, false},
              {"initial.ini link to /dev/zero", i, LinkToZero, "", "0", 2, false},
              {"initial.ini named pipe", i, Pipe, "", "0", 2, false},
              {"option.ini 10 MB on one line", o, Bytes, big, "1500", 1, true},
              {"option.ini a byte code page 932 cannot read in a number", o, Bytes, number, "1500",
               1, true},
              {"option.ini cut short", o, Bytes, option.left(5), "1500", 1, true},
              {"option.ini cut short, its count not started", o, Bytes, "0,8744,5", "setup", 2,
               true},
              {"option.ini bytes code page 932 cannot read in texts", o, Bytes, odd, "1500", 0,
               false},
              {"read-only data folder", u"kemurindata"_s, ReadOnlyFolder, "", "1500", 2, false}})
            QTest::newRow(r.name) << r;
    }

    void badFile() {
        QFETCH(BadFile, row);
        if (row.make == ReadOnlyFolder && geteuid() == 0)
            QSKIP("root writes through any permission: run the tests as another user for this row");
        WindowTestEnvironment env;
        env.writeSettings(kFiveDaysInitial, OptionLine{1, 1500, 1500}.bytes());
        const QString path = QDir(env.appDir()).filePath(row.file);
        const QByteArray encoded = QFile::encodeName(path);
        QFile::remove(path);
        QVERIFY(row.make == Bytes        ? (env.writeFile(row.file, row.bytes), true)
                : row.make == Folder     ? QDir().mkpath(path)
                : row.make == LinkToZero ? QFile::link(u"/dev/zero"_s, path)
                : row.make == Pipe       ? ::mkfifo(encoded.constData(), 0600) == 0
                                         : ::chmod(encoded.constData(), 0555) == 0);
        std::optional<PipeWatch> watch;
        if (row.make == Pipe)
            watch.emplace(encoded);
        for (int start = 0; start < 2; ++start)
            QCOMPARE(startAndClose(env), QString::fromLatin1(row.shows));
        QVERIFY2(!watch || !watch->opened, "a start opened the named pipe: it would wait there");
        if (row.make == ReadOnlyFolder)
            ::chmod(encoded.constData(), 0755);
        // A file that did not read is left to be mended: its bytes, or not replaced by a file.
        if (row.told == 2 && row.make != ReadOnlyFolder)
            QVERIFY(row.make == Bytes ? env.readFile(row.file) == row.bytes
                                      : !QFileInfo(path).isFile());
        // The quit moment outlives a damaged option.ini.
        if (row.file == kOptionFile)
            QCOMPARE(env.readFile(kInitialFile), kFiveDaysInitial);

        // Told at each start, or on each close that cannot save.
        QCOMPARE(env.messages, QStringList(row.told, env.messages.value(0)));
        QStringList copies;
        const bool firstRun = row.shows == QByteArray("setup");
        if (firstRun)
            copies << u"initial.ini.backup-"_s + kCopyStamp;
        if (row.copy)
            copies << QFileInfo(path).fileName() + u".broken-"_s + kCopyStamp;
        QCOMPARE(QDir(dataDirPath(env.appDir())).entryList({u"*-*"_s}, QDir::Files), copies);
        const QString told = env.messages.value(0);
        for (const QString& copy : copies) {
            QCOMPARE(env.readFile(u"kemurindata/"_s + copy),
                     copy.contains(u"backup"_s) ? kFiveDaysInitial : row.bytes);
            QVERIFY2(told.contains(copy), qPrintable(told));
        }
        const bool damaged = row.told > 0 && row.make != ReadOnlyFolder;
        QVERIFY2(!damaged || (told.startsWith(u"設定ファイルを読み込めませんでした。"_s) &&
                              told.contains(QDir::toNativeSeparators(path))),
                 qPrintable(told));
        // What becomes of the count is said: kept, restarted at the first run, or from now.
        if (damaged && row.file == kOptionFile)
            QVERIFY2(told.contains(firstRun ? u"今の時刻で置き換わります"_s
                                            : u"禁煙を始めた日時からそのまま数え続けます"_s),
                     qPrintable(told));
    }

    // A read the system refused is tried again; one that keeps failing is told with its path,
    // and the run writes nothing and keeps nothing aside. The next start reads as before.
    void aReadThatFailsIsNotMissingOrBroken_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("skip");  // opens that read before the refusals
        QTest::addColumn<int>("times"); // -1: every open
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QString>("told"); // the start of the message, if any
        const QString now = u"設定ファイルを今は読み込めませんでした。"_s;
        QTest::newRow("initial.ini, its first open once")
            << kInitialFile << 0 << 1 << u"1500"_s << QString();
        QTest::newRow("initial.ini, its second open twice")
            << kInitialFile << 1 << 2 << u"1500"_s << QString();
        QTest::newRow("option.ini, its first open twice")
            << kOptionFile << 0 << 2 << u"1500"_s << QString();
        QTest::newRow("initial.ini, every open") << kInitialFile << 0 << -1 << u"0"_s << now;
        QTest::newRow("option.ini, every open") << kOptionFile << 0 << -1 << u"1500"_s << now;
    }
    void aReadThatFailsIsNotMissingOrBroken() {
        QFETCH(QString, file);
        QFETCH(int, skip);
        QFETCH(int, times);
        QFETCH(QString, shows);
        QFETCH(QString, told);
        WindowTestEnvironment env;
        env.writeSettings(kFiveDaysInitial, OptionLine{1, 1500, 1500}.bytes());
        const QByteArray before = env.bothFiles();
        setDiskFault([&, seen = 0](DiskCall call, const QString& path) mutable {
            if (call != DiskCall::Read || !path.endsWith(file))
                return false;
            ++seen;
            return seen > skip && (times < 0 || seen <= skip + times);
        });
        const auto restore = qScopeGuard([] { setDiskFault({}); });
        QCOMPARE(startAndClose(env), shows);
        QCOMPARE(env.bothFiles(), before);
        QCOMPARE(QDir(dataDirPath(env.appDir())).entryList(QDir::Files),
                 QStringList({u"initial.ini"_s, u"kemurin.lock"_s, u"option.ini"_s}));
        if (told.isEmpty()) {
            QCOMPARE(env.messages, QStringList());
            return;
        }
        QCOMPARE(env.messages.size(), 1);
        QVERIFY2(env.messages[0].startsWith(told) &&
                     env.messages[0].contains(
                         QDir::toNativeSeparators(QDir(env.appDir()).filePath(file))),
                 qPrintable(env.messages[0]));
        setDiskFault({});
        env.messages.clear();
        QCOMPARE(startAndClose(env), u"1500"_s);
        QCOMPARE(env.messages, QStringList());
    }

    // A save whose commit the disk took but would not put in place: the next start tells it,
    // naming the file, and writes nothing over it until a start finishes it.
    void aSaveTheDiskRefusedWaitsForTheNextStart() {
        WindowTestEnvironment env;
        env.writeSettings(kFiveDaysInitial, OptionLine{1, 1500, 1500}.bytes());
        AppState next;
        next.appDir = env.appDir();
        QVERIFY(readInitialRecord(kFiveDaysInitial, next) &&
                readOptionRecord(OptionLine{1, 3000, 3000}.bytes(), next));
        setDiskFault([](DiskCall call, const QString& path) {
            return call == DiskCall::Rename && path.endsWith(u"/option.ini"_s);
        });
        const auto restore = qScopeGuard([] { setDiskFault({}); });
        QCOMPARE(writeSettingsFiles(next).status, CommitOutcome::Pending);
        const QByteArray before = env.bothFiles();
        QCOMPARE(startAndClose(env), u"1500"_s);
        QCOMPARE(env.messages,
                 QStringList{u"前回の保存を最後まで終えられませんでした。\n"_s +
                             QDir::toNativeSeparators(optionFilePath(env.appDir())) +
                             u"\n次に起動したときに仕上げます。それまで設定は保存しません。\n"
                             "起動するたびにこのお知らせが出るときは、このファイルを読み書き"
                             "できるか、ディスクに異常がないかを確かめてください。"_s});
        QCOMPARE(env.bothFiles(), before);
        setDiskFault({});
        env.messages.clear();
        QCOMPARE(startAndClose(env), u"1500"_s);
        QCOMPARE(env.messages, QStringList());
        QCOMPARE(QDir(dataDirPath(env.appDir())).entryList(QDir::Files),
                 QStringList({u"initial.ini"_s, u"kemurin.lock"_s, u"option.ini"_s}));
    }

    // Leftovers of a save that are not the program's: set aside and named (its date is the
    // system's), or, when they will not move, named with what to do; the count shows all the same.
    void leftoversAreToldAtTheStart_data() {
        QTest::addColumn<bool>("stuck");
        QTest::addColumn<QString>("told");
        QTest::newRow("set aside")
            << false
            << u"データフォルダに、このプログラムの保存とは思えないファイルがありました。\n"
               "使わずに、次の名前で残してあります。\nsave.commit.broken-"_s;
        QTest::newRow("in the way") << true
                                    << u"設定を保存できませんでした。\n%1\n"
                                       "このプログラムが作ったものではないため、手を付けず"
                                       "にあります。別の場所へ移すか削除してから、もう一度"
                                       "保存してください。"_s;
    }
    void leftoversAreToldAtTheStart() {
        QFETCH(bool, stuck);
        QFETCH(QString, told);
        WindowTestEnvironment env;
        env.writeSettings(kFiveDaysInitial, OptionLine{1, 1500, 1500}.bytes());
        env.writeFile(u"kemurindata/save.commit"_s, "not a commit\n");
        setDiskFault([stuck](DiskCall call, const QString& path) {
            return stuck && call == DiskCall::Rename && path.contains(u"save.commit.broken"_s);
        });
        const auto restore = qScopeGuard([] { setDiskFault({}); });
        QCOMPARE(startAndClose(env), u"1500"_s);
        // Told at the start; the one in the way, at the close's save too.
        QCOMPARE(env.messages.size(), stuck ? 2 : 1);
        const QString path = env.appDir() + u"/kemurindata/save.commit"_s;
        QVERIFY2(env.messages[0].startsWith(told.arg(QDir::toNativeSeparators(path))),
                 qPrintable(env.messages[0]));
        QCOMPARE(QFileInfo::exists(path), stuck);
        QCOMPARE(env.readFile(kInitialFile), kFiveDaysInitial);
    }

    // A file of the user's at the socket's name stays as it is: no request is served there.
    void aFileAtTheSocketsNameStays() {
        WindowTestEnvironment env;
        const QString name = showRequestSocketName();
        QVERIFY(writeBytes(name, "notes"));
        {
            ShowRequests requests(nullptr);
            QVERIFY(!askRunningProgramToShow());
        }
        QCOMPARE(fileBytes(name), QByteArray("notes"));
    }

    // Told once at two starts, naming the file: initial.ini gone, counted from now; option.ini
    // an editor saved as UTF-8, read so and written in code page 932 again on closing.
    void toldOnceNamingTheFile() {
        const QByteArray option = OptionLine{1, 1500, 1500}.bytes().replace(
            "\x83\x5c\x83\x8b\x83\x57\x83\x83\x81\x5b", "\x83\x52\x83\x58\x83\x82");
        for (const bool utf8 : {false, true}) {
            WindowTestEnvironment env;
            if (utf8)
                env.writeFile(kInitialFile, kFiveDaysInitial);
            env.writeFile(kOptionFile, utf8 ? decodeSettingsText(option).toUtf8() : option);
            for (int start = 0; start < 2; ++start)
                QCOMPARE(startAndClose(env), utf8 ? u"1500"_s : u"0"_s);
            const QString path = QDir::toNativeSeparators(utf8 ? optionFilePath(env.appDir())
                                                               : initialFilePath(env.appDir()));
            QCOMPARE(env.messages.size(), 1);
            QVERIFY2(env.messages[0].contains(path), qPrintable(env.messages[0]));
            if (!utf8)
                continue;
            QCOMPARE(
                env.messages[0],
                u"設定ファイルが UTF-8 で保存されていたため、UTF-8 として読み込みました。\n"_s +
                    path + u"\n次に保存するときにシフトJISで書き直します。"_s);
            QCOMPARE(env.readFile(kOptionFile), option);
            // Beside an option.ini that does not read, an editor's initial.ini is kept as any is.
            env.writeSettings(kFiveDaysInitial + "\xe3\x83\xa1", "0,\xff\r\n");
            startAndClose(env);
            QVERIFY(
                QFile::exists(env.appDir() + u"/kemurindata/initial.ini.backup-"_s + kCopyStamp));
        }
    }

    // A full disk with option.ini gone: told once, nothing written; the main window counts the
    // figures entered from the confirmed first run, not initial.ini's quit moment.
    void aFullDiskIsToldOnceAndTheNewStartShows() {
        WindowTestEnvironment env;
        env.writeFile(kInitialFile, kFiveDaysInitial);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit full{0, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &saved); });
        QVERIFY2(env.startAnsweringMessages(), "the program ended at OK");
        const QString told = env.messages.value(0);
        QVERIFY2(told.startsWith(u"設定を保存できませんでした。"_s) &&
                     told.contains(optionFilePath(env.appDir())),
                 qPrintable(told));
        StartConfirmWindow* confirm = acceptSetup(u"30"_s, u"440"_s);
        QVERIFY(confirm);
        clickButton(confirm, u"startButton"_s);
        QCOMPARE(shownAtStart(), u"0"_s);
        // The locks a start takes stay its own while it runs.
        for (const QString& lock :
             {u"kemurin-%1.lock"_s.arg(::getuid()), u"kemurindata/kemurin.lock"_s})
            QVERIFY2(FileLock(QDir(env.appDir()).filePath(lock)).take() == FileLock::Outcome::Busy,
                     qPrintable(lock));
        env.refreshAt(QDateTime(QDate(2008, 8, 27), QTime(10, 23, 41)));
        QCOMPARE(shownAtStart(), u"660"_s);
        QApplication::closeAllWindows();
        QCOMPARE(env.messages, QStringList{told});
        QCOMPARE(env.readFile(kInitialFile), kFiveDaysInitial);
        QVERIFY(!QFileInfo::exists(optionFilePath(env.appDir())));
    }
};

QTEST_MAIN(StartUpFilesTest)
#include "StartUpFilesTest.moc"
