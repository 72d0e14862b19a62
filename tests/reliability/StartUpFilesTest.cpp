// Start-up against what a user, an editor, a crash or a full disk leaves in the data folder: the
// program starts, shows sensible figures, says once what it could not read or write, and keeps
// whatever it could keep.
#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "settings/SettingsFiles.h"
#include "windows/MainWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a row puts in place of a file.
enum Make { Bytes, Folder, LinkToZero, Pipe, ReadOnlyFolder, ReadOnlyFile, FullDisk };

// The clock stands at 2008-08-26 10:23:41: five days after this quit moment, 1500 yen.
const QByteArray kInitial("2008,8,21,10,23,20,300,85\r\n");
const QString kCopyStamp = QStringLiteral("20080826-102341");
const QString kCannotRead = QStringLiteral("設定ファイルを読み込めませんでした。");
const QString kCannotSave = QStringLiteral("設定を保存できませんでした。");

// What a path holds, told apart enough to see that nothing replaced it.
QString fingerprint(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (info.isDir())
        return QStringLiteral("folder of ") + QDir(path).entryList(QDir::Files).join(u' ');
    if (!info.exists())
        return QStringLiteral("nothing");
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("not a regular file");
    return QString::fromLatin1(
        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unread>");
}

// Lets no file of this process grow past `bytes` while it lives: a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

QString moneyShown() {
    MainWindow* main = shown<MainWindow>();
    return main ? control<QLabel>(main, QStringLiteral("moneyValue"))->text().section(u'円', 0, 0)
                : QStringLiteral("<no main window>");
}

// Goes through the setup window and confirms the start; true when the main window opened.
bool confirmFirstRun() {
    StartConfirmWindow* confirm = acceptSetup(QStringLiteral("30"), QStringLiteral("440"));
    if (confirm)
        clickButton(confirm, QStringLiteral("startButton"));
    return shown<MainWindow>() != nullptr;
}

// What a row puts in place of a file, what the program shows and tells, and what is left.
struct BadFile {
    const char* name;
    QString file; // relative to the program's folder
    Make make;
    QByteArray bytes;
    const char* money; // shown by the main window; empty: the setup window
    QString message;   // told at start; empty: nothing
    bool copy;         // a dated copy of the file is kept
    QByteArray after;  // the file's bytes after closing; empty: as before
    QString closing;   // told when the windows close
};

} // namespace

Q_DECLARE_METATYPE(BadFile)

class StartUpFilesTest : public QObject {
    Q_OBJECT

private slots:
    // How each kind of damage reads is the settings files' own test; here each kind is met once
    // at start-up, in one file or the other.
    void badFile_data() {
        const QString i = kInitialFile;
        const QString o = kOptionFile;
        const QString data = QStringLiteral("kemurindata");
        const QString read = kCannotRead;
        const QString none;
        const QByteArray same;
        const QByteArray head(
            "1,8744,5,0,5,1,1500,1500,9241372,16777215,\"kemurin.example.jp/\",2,0,0,");
        const QByteArray cosmo("\"\x83\x52\x83\x58\x83\x82\"\r\n");
        // Bytes no character stands for, in both texts: a lead byte cut off by the quote too.
        const QByteArray odd =
            QByteArray(head).replace("kemurin.example.jp/", "x/\x80\xfd\x85\x40~\x81") +
            "\"\x83\x52\xff\x83\x82\"\r\n";
        const QByteArray nul("2008,8,21,1\0"
                             "0,23,20,300,85\r\n",
                             28);
        const QByteArray tenMegabytes =
            head + cosmo.chopped(2) + QByteArray(10 << 20, ' ') + "\r\n";
        const BadFile rows[] = {
            // A quit file that does not read: the count starts now, the file waits to be mended.
            {"initial.ini empty", i, Bytes, "", "0", read, false, same, none},
            {"initial.ini cut mid-field", i, Bytes, "2008,8,2", "0", read, true, same, none},
            {"initial.ini beyond 32 bits", i, Bytes, "2008,8,21,10,23,4294967316,300,85\r\n", "0",
             read, true, same, none},
            {"initial.ini NUL in a number", i, Bytes, nul, "0", read, true, same, none},
            {"initial.ini too few fields", i, Bytes, "2008,8,21,10,23,20,300\r\n", "0", read, true,
             same, none},
            {"initial.ini all zero", i, Bytes, "0,0,0,0,0,0,0,0\r\n", "0", read, true, same, none},
            {"initial.ini negative year", i, Bytes, "-2008,8,21,10,23,20,300,85\r\n", "0", read,
             true, same, none},
            {"initial.ini a folder", i, Folder, "", "0", read, false, same, none},
            {"initial.ini link to /dev/zero", i, LinkToZero, "", "0", read, false, same, none},
            {"initial.ini named pipe", i, Pipe, "", "0", read, false, same, none},
            // An option file that does not read: the first run, the file kept as it is.
            {"option.ini only CR LF", o, Bytes, "\r\n", "", read, true, same, none},
            {"option.ini 10 MB on one line", o, Bytes, tenMegabytes, "", read, true, same, none},
            // Readable option files come back whole, or mended, at the close.
            {"option.ini bytes code page 932 cannot read", o, Bytes, odd, "1500", none, false, odd,
             none},
            {"option.ini unclosed quote", o, Bytes, head + cosmo.left(7) + "\r\n", "1500", none,
             false, head + cosmo, none},
            {"option.ini extra fields", o, Bytes, head + cosmo.chopped(2) + ",1,2\r\n", "1500",
             none, false, head + cosmo, none},
            {"option.ini negative places", o, Bytes,
             OptionLine{.mainLeft = -300, .mainTop = -1}.bytes(), "1500", none, false,
             optionLine(1, 0, 0), none},
            {"option.ini not started, all zero", o, Bytes,
             "0,0,0,0,0,0,0,0,0,0,\"\",0,0,0,\"\"\r\n", "", none, false, same, none},
            // The folder itself.
            {"data folder is a file", data, Bytes, "not a folder", "", kCannotSave, false, same,
             none},
            {"read-only data folder", data, ReadOnlyFolder, "", "1500", none, false, same,
             kCannotSave},
            {"read-only option.ini", o, ReadOnlyFile, "", "1500", none, false, same, kCannotSave},
            // Under a file-size limit, as on a full disk, writing the defaults fails instead of
            // ending the program.
            {"full disk at the first start", data, FullDisk, "", "", kCannotSave, false, same,
             none},
        };
        QTest::addColumn<BadFile>("row");
        for (const BadFile& r : rows)
            QTest::newRow(r.name) << r;
    }

    void badFile() {
        QFETCH(BadFile, row);
        const bool readOnly = row.make == ReadOnlyFolder || row.make == ReadOnlyFile;
        if (readOnly && geteuid() == 0)
            QSKIP(
                "root writes through any permission; run the tests as a normal user for this row");

        WindowTestEnvironment env;
        const QString path = QDir(env.appDir()).filePath(row.file);
        // The other file, and for a read-only one this one too, as the program wrote them; before
        // a full disk, none.
        if (row.make != FullDisk && (row.file != kInitialFile || readOnly))
            env.writeFile(kInitialFile, kInitial);
        if (row.make != FullDisk && (row.file != kOptionFile || readOnly))
            env.writeFile(kOptionFile, optionLine(1, 1500, 1500));
        const QByteArray encoded = QFile::encodeName(path);
        switch (row.make) {
        case Bytes:
            QDir(path).removeRecursively();
            env.writeFile(row.file, row.bytes);
            break;
        case Folder:
        case FullDisk:
            QVERIFY(QDir().mkpath(path));
            break;
        case LinkToZero:
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
            break;
        case Pipe:
            QCOMPARE(::mkfifo(encoded.constData(), 0600), 0);
            break;
        case ReadOnlyFolder:
        case ReadOnlyFile:
            QCOMPARE(::chmod(encoded.constData(), row.make == ReadOnlyFolder ? 0555 : 0444), 0);
            break;
        }
        const QString before = fingerprint(path);

        {
            std::optional<FileSizeLimit> full;
            if (row.make == FullDisk)
                full.emplace(0);
            env.program->start();
        }
        if (*row.money)
            QCOMPARE(moneyShown(), QString::fromUtf8(row.money));
        else
            QVERIFY(shown<SetupWindow>() && !shown<MainWindow>());
        QCOMPARE(env.messages.size(), row.message.isEmpty() ? 0 : 1);
        if (!row.message.isEmpty()) {
            QVERIFY2(env.messages[0].startsWith(row.message), qPrintable(env.messages[0]));
            QVERIFY2(env.messages[0].contains(QDir::toNativeSeparators(path)) ||
                         env.messages[0].contains(QDir::toNativeSeparators(env.appDir())),
                     qPrintable(env.messages[0]));
        }
        const QString copyPath = path + QStringLiteral(".broken-") + kCopyStamp;
        QCOMPARE(QFileInfo::exists(copyPath), row.copy);
        if (row.copy) {
            QCOMPARE(readAll(copyPath), row.bytes);
            QVERIFY2(env.messages.value(0).contains(QFileInfo(copyPath).fileName()),
                     qPrintable(env.messages.value(0)));
        }

        env.messages.clear();
        if (MainWindow* main = shown<MainWindow>())
            main->close();
        if (SetupWindow* setup = shown<SetupWindow>())
            setup->close();
        QCOMPARE(env.messages.size(), row.closing.isEmpty() ? 0 : 1);
        if (!row.closing.isEmpty())
            QVERIFY2(env.messages[0].startsWith(row.closing), qPrintable(env.messages[0]));
        if (row.after.isEmpty())
            QCOMPARE(fingerprint(path), before);
        else
            QCOMPARE(readAll(path), row.after);
        ::chmod(encoded.constData(), 0755);
    }

    // option.ini that an editor spoilt with one bad byte: the first run opens as the rules say, but
    // the broken file and the quit data the first run replaces are both kept, and said so. Another
    // start with the same file makes no second copy.
    void aFileThatDidNotReadIsCopiedOnceAndTheQuitDataWithIt() {
        WindowTestEnvironment env;
        const QByteArray broken = optionLine(1, 1500, 1500)
                                      .replace("8744", "87\xff"
                                                       "4");
        env.writeSettings(kInitial, broken);
        env.program->start();
        QVERIFY(shown<SetupWindow>());
        shown<SetupWindow>()->close();
        env.program = std::make_unique<Program>(env.appDir());
        env.program->start();

        const QString folder = QDir(env.appDir()).filePath(QStringLiteral("kemurindata"));
        const QStringList copies{QStringLiteral("initial.ini.backup-") + kCopyStamp,
                                 QStringLiteral("option.ini.broken-") + kCopyStamp};
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*-*")}, QDir::Files), copies);
        QCOMPARE(env.messages.size(), 2);
        QCOMPARE(env.messages[1], env.messages[0]);
        for (const QString& copy : copies)
            QVERIFY2(env.messages[0].contains(copy), qPrintable(env.messages[0]));

        env.clock.set(env.clock.localNow().addDays(1));
        QVERIFY(confirmFirstRun());
        QCOMPARE(env.readFile(kInitialFile), QByteArray("2008,8,27,10,23,30,440,85\r\n"));
        QCOMPARE(readAll(QDir(folder).filePath(copies[0])), kInitial);
        QCOMPARE(readAll(QDir(folder).filePath(copies[1])), broken);
    }

    // Confirming the first run on a full disk: the user is told once, not again when the windows
    // close, and the main window counts from the confirmation, not from the date the files held.
    void aFullDiskAtTheFirstRunIsToldOnceAndTheNewStartShows() {
        WindowTestEnvironment env;
        env.clock.set(QDateTime(QDate(2008, 8, 20), QTime(10, 23)));
        env.program->start();
        const QByteArray initialAtStart = env.readFile(kInitialFile);
        const QByteArray optionAtStart = env.readFile(kOptionFile);
        env.clock.set(QDateTime(QDate(2008, 8, 26), QTime(10, 23)));
        {
            FileSizeLimit full(0);
            QVERIFY(confirmFirstRun());
            QCOMPARE(moneyShown(), QStringLiteral("0"));
            QCOMPARE(env.program->state().quitMoment, (DateTimeParts{0, 2008, 8, 26, 10, 23}));
            shown<MainWindow>()->close();
        }
        QCOMPARE(env.messages.size(), 1);
        QVERIFY2(env.messages[0].startsWith(kCannotSave), qPrintable(env.messages[0]));
        QVERIFY(env.messages[0].contains(QDir::toNativeSeparators(initialFilePath(env.appDir()))));
        QCOMPARE(env.readFile(kInitialFile), initialAtStart);
        QCOMPARE(env.readFile(kOptionFile), optionAtStart);
    }
};

QTEST_MAIN(StartUpFilesTest)
#include "StartUpFilesTest.moc"
