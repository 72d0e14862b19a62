// Start-up against what a user, an editor, a crash or a full disk leaves in the data folder: the
// program starts, shows sensible figures, says once what it could not read or write, and keeps
// whatever it could keep.
#include "SettingsLines.h"
#include "WindowTestSupport.h"

#include "platform/JapaneseFont.h"
#include "settings/SettingsFiles.h"
#include "windows/MainWindow.h"
#include "windows/SettingsWindow.h"
#include "windows/SetupWindow.h"
#include "windows/StartConfirmWindow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a row puts in place of a file.
enum Make { Bytes, Folder, LinkToZero, Pipe, ReadOnlyFolder, ReadOnlyFile };

// The clock stands at 2008-08-26 10:23:41: five days after this quit moment, 1500 yen.
const QByteArray kInitial("2008,8,21,10,23,20,300,85\r\n");
const QByteArray kTenMegabytes = kInitial.chopped(2) + QByteArray(10 << 20, ' ') + "\r\n";
const QString kCopyStamp = QStringLiteral("20080826-102341");
const QString kCannotRead = QStringLiteral("設定ファイルを読み込めませんでした。");
const QString kCannotSave = QStringLiteral("設定を保存できませんでした。");

// What a path holds, told apart enough to see that nothing replaced it.
QString fingerprint(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (info.isDir())
        return QStringLiteral("folder");
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
bool confirmFirstRun(const char* perDay, const char* price) {
    SetupWindow* setup = shown<SetupWindow>();
    if (!setup)
        return false;
    control<QLineEdit>(setup, QStringLiteral("perDayEdit"))->setText(QLatin1String(perDay));
    control<QLineEdit>(setup, QStringLiteral("packPriceEdit"))->setText(QLatin1String(price));
    clickButton(setup, QStringLiteral("acceptButton"));
    StartConfirmWindow* confirm = shown<StartConfirmWindow>();
    if (!confirm)
        return false;
    clickButton(confirm, QStringLiteral("startButton"));
    return shown<MainWindow>() != nullptr;
}

} // namespace

class StartUpFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installJapaneseFontSubstitutes(); }
    void badFile_data();
    void badFile();
    void aFileThatDidNotReadIsCopiedOnceAndTheQuitDataWithIt();
    void aFullDiskAtStartIsToldAndEndsNothing();
    void aFullDiskAtTheFirstRunIsToldOnceAndTheNewStartShows();
    void anUneditedAddressKeepsItsBytesThroughTheSettingsWindow();
};

void StartUpFilesTest::badFile_data() {
    QTest::addColumn<QString>("file"); // relative to the program's folder
    QTest::addColumn<int>("make");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("money");    // shown by the main window; empty: the setup window
    QTest::addColumn<QString>("message");  // told at start; empty: nothing
    QTest::addColumn<bool>("copy");        // a dated copy of the file is kept
    QTest::addColumn<QByteArray>("after"); // the file's bytes after closing; empty: as before
    QTest::addColumn<QString>("closing");  // told when the windows close

    const QString i = kInitialFile;
    const QString o = kOptionFile;
    const QString folder = QStringLiteral("kemurindata");
    const QString read = kCannotRead;
    const QString save = kCannotSave;
    const QByteArray head(
        "1,8744,5,0,5,1,1500,1500,9241372,16777215,\"kemurin.example.jp/\",2,0,0,");
    const QByteArray cosmo("\"\x83\x52\x83\x58\x83\x82\"\r\n");
    const QByteArray odd("1,8744,5,0,5,1,1500,1500,9241372,16777215,\"x/\x80\xfd\x85\x40\",2,0,0,");
    const QByteArray big(10 << 20, ' ');
    const struct {
        const char* name;
        QString file;
        Make make;
        QByteArray bytes;
        const char* money;
        QString message;
        bool copy;
        QByteArray after;
        QString closing;
    } rows[] = {
        // A quit file that does not read: the count starts now, the file waits to be mended.
        {"initial.ini empty", i, Bytes, "", "0", read, false, {}, {}},
        {"initial.ini only CR LF", i, Bytes, "\r\n", "0", read, true, {}, {}},
        {"initial.ini cut mid-field", i, Bytes, "2008,8,2", "0", read, true, {}, {}},
        {"initial.ini beyond 32 bits",
         i,
         Bytes,
         "2008,8,21,10,23,4294967316,300,85\r\n",
         "0",
         read,
         true,
         {},
         {}},
        {"initial.ini 10 MB on one line",
         i,
         Bytes,
         kInitial.chopped(2) + big + "\r\n",
         "0",
         read,
         true,
         {},
         {}},
        {"initial.ini NUL in a number",
         i,
         Bytes,
         QByteArray("2008,8,21,1\0"
                    "0,23,20,300,85\r\n",
                    28),
         "0",
         read,
         true,
         {},
         {}},
        {"initial.ini too few fields",
         i,
         Bytes,
         "2008,8,21,10,23,20,300\r\n",
         "0",
         read,
         true,
         {},
         {}},
        {"initial.ini all zero", i, Bytes, "0,0,0,0,0,0,0,0\r\n", "0", read, true, {}, {}},
        {"initial.ini only commas", i, Bytes, ",,,,,,,\r\n", "0", read, true, {}, {}},
        {"initial.ini negative year",
         i,
         Bytes,
         "-2008,8,21,10,23,20,300,85\r\n",
         "0",
         read,
         true,
         {},
         {}},
        {"initial.ini 31 June", i, Bytes, "2008,6,31,10,23,20,300,85\r\n", "0", read, true, {}, {}},
        {"initial.ini a folder", i, Folder, {}, "0", read, false, {}, {}},
        {"initial.ini link to /dev/zero", i, LinkToZero, {}, "0", read, false, {}, {}},
        {"initial.ini named pipe", i, Pipe, {}, "0", read, false, {}, {}},
        // Readable after all: the rules say what counts.
        {"initial.ini extra fields",
         i,
         Bytes,
         "2008,8,21,10,23,20,300,85,7,\"x\"\r\n",
         "1500",
         {},
         false,
         {},
         {}},
        {"initial.ini none a day",
         i,
         Bytes,
         "2008,8,21,10,23,0,300,85\r\n",
         "0",
         {},
         false,
         {},
         {}},
        {"initial.ini minus 20 a day",
         i,
         Bytes,
         "2008,8,21,10,23,-20,300,85\r\n",
         "0",
         {},
         false,
         {},
         {}},
        // An option file that does not read: the first run, the file kept as it is.
        {"option.ini empty", o, Bytes, "", "", read, false, {}, {}},
        {"option.ini only CR LF", o, Bytes, "\r\n", "", read, true, {}, {}},
        {"option.ini cut mid-field", o, Bytes, head.left(30), "", read, true, {}, {}},
        {"option.ini beyond 32 bits",
         o,
         Bytes,
         "1,8744,5,0,5,1,1500,99999999999" + head.mid(24) + cosmo,
         "",
         read,
         true,
         {},
         {}},
        {"option.ini 10 MB on one line",
         o,
         Bytes,
         head + cosmo.chopped(2) + big + "\r\n",
         "",
         read,
         true,
         {},
         {}},
        {"option.ini NUL in a number",
         o,
         Bytes,
         QByteArray("1,87\0"
                    "44",
                    7) +
             head.mid(6) + cosmo,
         "",
         read,
         true,
         {},
         {}},
        {"option.ini 14 fields", o, Bytes, head.chopped(1) + "\r\n", "", read, true, {}, {}},
        {"option.ini a folder", o, Folder, {}, "", read, false, {}, {}},
        {"option.ini link to /dev/zero", o, LinkToZero, {}, "", read, false, {}, {}},
        {"option.ini named pipe", o, Pipe, {}, "", read, false, {}, {}},
        // Readable option files come back whole, or mended, at the close.
        {"option.ini bytes code page 932 cannot read",
         o,
         Bytes,
         odd + cosmo,
         "1500",
         {},
         false,
         odd + cosmo,
         {}},
        {"option.ini unclosed quote",
         o,
         Bytes,
         head + cosmo.left(7) + "\r\n",
         "1500",
         {},
         false,
         head + cosmo,
         {}},
        {"option.ini UTF-8 with a byte-order mark",
         o,
         Bytes,
         "\xef\xbb\xbf" + head + "\"\xe3\x82\xb3\xe3\x82\xb9\xe3\x83\xa2\"\r\n",
         "1500",
         {},
         false,
         head + cosmo,
         {}},
        {"option.ini extra fields",
         o,
         Bytes,
         head + cosmo.chopped(2) + ",1,2\r\n",
         "1500",
         {},
         false,
         head + cosmo,
         {}},
        {"option.ini negative places",
         o,
         Bytes,
         OptionLine{.mainLeft = -300, .mainTop = -1}.bytes(),
         "1500",
         {},
         false,
         optionLine(1, 0, 0),
         {}},
        {"option.ini not started, all zero",
         o,
         Bytes,
         "0,0,0,0,0,0,0,0,0,0,\"\",0,0,0,\"\"\r\n",
         "",
         {},
         false,
         {},
         {}},
        // The folder itself.
        {"data folder is a file", folder, Bytes, "not a folder", "", save, false, {}, {}},
        {"read-only data folder", folder, ReadOnlyFolder, {}, "1500", {}, false, {}, save},
        {"read-only option.ini", o, ReadOnlyFile, {}, "1500", {}, false, {}, save},
    };
    for (const auto& r : rows)
        QTest::newRow(r.name) << r.file << static_cast<int>(r.make) << r.bytes
                              << QString::fromUtf8(r.money) << r.message << r.copy << r.after
                              << r.closing;
}

void StartUpFilesTest::badFile() {
    QFETCH(QString, file);
    QFETCH(int, make);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, money);
    QFETCH(QString, message);
    QFETCH(bool, copy);
    QFETCH(QByteArray, after);
    QFETCH(QString, closing);
    if ((make == ReadOnlyFolder || make == ReadOnlyFile) && geteuid() == 0)
        QSKIP("root writes through any permission; run the tests as a normal user for this row");

    WindowTestEnvironment env;
    const QString path = QDir(env.appDir()).filePath(file);
    // The other file, and for a read-only one this one too, as the program wrote them.
    const bool keepsGoodFiles = make == ReadOnlyFolder || make == ReadOnlyFile;
    if (file != kInitialFile || keepsGoodFiles)
        env.writeFile(kInitialFile, kInitial);
    if (file != kOptionFile || keepsGoodFiles)
        env.writeFile(kOptionFile, optionLine(1, 1500, 1500));
    const QByteArray encoded = QFile::encodeName(path);
    switch (make) {
    case Bytes:
        QDir(path).removeRecursively();
        env.writeFile(file, bytes);
        break;
    case Folder:
        QVERIFY(QDir().mkpath(path));
        break;
    case LinkToZero:
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        break;
    case Pipe:
        QCOMPARE(::mkfifo(encoded.constData(), 0600), 0);
        break;
    case ReadOnlyFolder:
        QCOMPARE(::chmod(encoded.constData(), 0555), 0);
        break;
    case ReadOnlyFile:
        QCOMPARE(::chmod(encoded.constData(), 0444), 0);
        break;
    }
    const QString before = fingerprint(path);

    env.program->start();
    if (money.isEmpty()) {
        QVERIFY(shown<SetupWindow>());
        QVERIFY(!shown<MainWindow>());
    } else {
        QCOMPARE(moneyShown(), money);
    }
    if (message.isEmpty()) {
        QCOMPARE(env.messages, QStringList());
    } else {
        QCOMPARE(env.messages.size(), 1);
        QVERIFY2(env.messages[0].startsWith(message), qPrintable(env.messages[0]));
        QVERIFY2(env.messages[0].contains(QDir::toNativeSeparators(path)) ||
                     env.messages[0].contains(QDir::toNativeSeparators(env.appDir())),
                 qPrintable(env.messages[0]));
    }
    const QString copyPath = path + QStringLiteral(".broken-") + kCopyStamp;
    QCOMPARE(QFileInfo::exists(copyPath), copy);
    if (copy) {
        QCOMPARE(readAll(copyPath), bytes);
        QVERIFY2(env.messages.value(0).contains(QFileInfo(copyPath).fileName()),
                 qPrintable(env.messages.value(0)));
    }

    env.messages.clear();
    if (MainWindow* main = shown<MainWindow>())
        main->close();
    if (SetupWindow* setup = shown<SetupWindow>())
        setup->close();
    QCOMPARE(env.messages.size(), closing.isEmpty() ? 0 : 1);
    if (!closing.isEmpty())
        QVERIFY2(env.messages[0].startsWith(closing), qPrintable(env.messages[0]));
    if (after.isEmpty())
        QCOMPARE(fingerprint(path), before);
    else
        QCOMPARE(readAll(path), after);
    ::chmod(encoded.constData(), 0755);
}

// option.ini that an editor spoilt with one bad byte: the first run opens as the rules say, but
// the broken file and the quit data the first run replaces are both kept, and said so. Another
// start with the same file makes no second copy.
void StartUpFilesTest::aFileThatDidNotReadIsCopiedOnceAndTheQuitDataWithIt() {
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
    QVERIFY(confirmFirstRun("30", "440"));
    QCOMPARE(env.readFile(kInitialFile), QByteArray("2008,8,27,10,23,30,440,85\r\n"));
    QCOMPARE(readAll(QDir(folder).filePath(copies[0])), kInitial);
    QCOMPARE(readAll(QDir(folder).filePath(copies[1])), broken);
}

// Under a file-size limit, as on a full disk, writing the defaults fails instead of ending the
// program; the first run opens and the user hears of it once.
void StartUpFilesTest::aFullDiskAtStartIsToldAndEndsNothing() {
    WindowTestEnvironment env;
    {
        FileSizeLimit full(0);
        env.program->start();
    }
    QVERIFY(shown<SetupWindow>());
    QCOMPARE(env.messages.size(), 1);
    QVERIFY2(env.messages[0].startsWith(kCannotSave), qPrintable(env.messages[0]));
    QVERIFY(env.messages[0].contains(QDir::toNativeSeparators(initialFilePath(env.appDir()))));
    QCOMPARE(QDir(dataDirPath(env.appDir())).entryList(QDir::Files), QStringList());
}

// Confirming the first run on a full disk: the user is told once, not again when the windows
// close, and the main window counts from the confirmation, not from the date the files held.
void StartUpFilesTest::aFullDiskAtTheFirstRunIsToldOnceAndTheNewStartShows() {
    WindowTestEnvironment env;
    env.clock.set(QDateTime(QDate(2008, 8, 20), QTime(10, 23)));
    env.program->start();
    const QByteArray initialAtStart = env.readFile(kInitialFile);
    const QByteArray optionAtStart = env.readFile(kOptionFile);
    env.clock.set(QDateTime(QDate(2008, 8, 26), QTime(10, 23)));
    {
        FileSizeLimit full(0);
        QVERIFY(confirmFirstRun("30", "440"));
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

// Saving from the settings window without touching the address keeps its bytes, even those
// code page 932 has no character for.
void StartUpFilesTest::anUneditedAddressKeepsItsBytesThroughTheSettingsWindow() {
    WindowTestEnvironment env;
    const QByteArray line =
        optionLine(1, 1500, 1500).replace("kemurin.example.jp/", "x/\x85\x40\x80");
    env.writeSettings(kInitial, line);
    env.program->start();
    MainWindow* main = shown<MainWindow>();
    QVERIFY(main);
    control<QAction>(main, QStringLiteral("settingsItem"))->trigger();
    SettingsWindow* settings = shown<SettingsWindow>();
    QVERIFY(settings);
    control<QLineEdit>(settings, QStringLiteral("perDayEdit"))->setText(QStringLiteral("40"));
    clickButton(settings, QStringLiteral("saveButton"));
    QVERIFY(shown<MainWindow>());
    QCOMPARE(env.messages, QStringList());
    QCOMPARE(env.readFile(kInitialFile), QByteArray("2008,8,21,10,23,40,300,85\r\n"));
    QVERIFY2(env.readFile(kOptionFile).contains(",\"x/\x85\x40\x80\","),
             env.readFile(kOptionFile).constData());
}

QTEST_MAIN(StartUpFilesTest)
#include "StartUpFilesTest.moc"
