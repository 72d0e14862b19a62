#include "settings/SettingsFiles.h"
#include "SettingsLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <sys/stat.h>
#include <tuple>

#include <gtest/gtest.h>

namespace {

constexpr DateTimeParts kNow{0, 2008, 8, 26, 10, 23};

class SettingsFilesTest : public testing::Test {
protected:
    void SetUp() override { state.appDir = dir.path(); }

    QByteArray read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void write(const QString& path, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString initialPath() const { return initialFilePath(dir.path()); }
    QString optionPath() const { return optionFilePath(dir.path()); }

    QTemporaryDir dir;
    AppState state;
};

// A file already there is never written over at start-up: the start-up test shows it.
TEST_F(SettingsFilesTest, AnEmptyFolderGetsBothFilesWithTheirDefaults) {
    ensureDataFiles(state, kNow);
    loadOptions(state);
    EXPECT_EQ(read(initialPath()), QByteArray("2008,8,26,10,23,20,300,85\r\n"));
    EXPECT_EQ(read(optionPath()), defaultOptionLine());
    EXPECT_EQ(state.started, 0);
}

TEST_F(SettingsFilesTest, WrittenStateReadsBackTheSame) {
    state.quitMoment = {0, 2100, 2, 28, 23, 59};
    state.perDay = 200;
    state.cigLength = 100;
    state.mainLeft = -300;
    state.mainTop = 2147483647;
    state.blogUrl = QStringLiteral("blog.example.jp/～,x");
    state.statusMode = QStringLiteral("コスモ");
    QDir().mkpath(dataDirPath(dir.path()));
    ASSERT_TRUE(writeInitialFile(state) && writeOptionFile(state));
    // "～" is code page 932's 0x81 0x60, not Shift_JIS's wave dash.
    EXPECT_TRUE(read(optionPath()).contains("\x81\x60"));

    AppState back;
    back.appDir = dir.path();
    ASSERT_TRUE(readInitialFile(back) && readOptionFile(back));
    EXPECT_EQ(back.quitMoment, state.quitMoment);
    EXPECT_EQ(std::tuple(back.perDay, back.cigLength, back.mainLeft, back.mainTop),
              std::tuple(200, 100, -300, 2147483647));
    EXPECT_EQ(back.blogUrl.toStdString(), "blog.example.jp/～,x");
    EXPECT_EQ(back.statusMode.toStdString(), "コスモ");
}

// A number field with decimals is taken to the nearest whole number, halves to even.
TEST_F(SettingsFilesTest, DecimalsInAFileRoundToTheNearestHalvesToEven) {
    const std::pair<const char*, int> cases[] = {
        {"0.51", 1}, {"2.501", 3}, {"0.4999", 0}, {"0.5", 0},
        {"2.5", 2},  {"3.5", 4},   {"-3.5", -4},  {"2147483646.5", 2147483646}};
    for (const auto& [perDay, expected] : cases) {
        write(initialPath(), QByteArray("2008,8,26,10,23,") + perDay + ",300,85\r\n");
        EXPECT_TRUE(readInitialFile(state)) << perDay;
        EXPECT_EQ(state.perDay, expected) << perDay;
    }
    // The nearest whole number lies outside 32 bits.
    write(initialPath(), "2008,8,26,10,23,2147483647.5,300,85\r\n");
    EXPECT_FALSE(readInitialFile(state));
}

// A text that code page 932 cannot hold fails the write and leaves the previous file whole; a
// write cut short by a full disk is the interrupted-save test's.
TEST_F(SettingsFilesTest, ATextTheCodePageCannotHoldLeavesThePreviousFileWhole) {
    ensureDataFiles(state, kNow);
    loadOptions(state);
    state.blogUrl = QStringLiteral("blog.example.jp/😀");
    EXPECT_FALSE(writeOptionFile(state));
    EXPECT_EQ(read(optionPath()), defaultOptionLine());
    EXPECT_EQ(QDir(dataDirPath(dir.path())).entryList(QDir::Files).size(), 2);
}

// Neither the link to an endless device nor the pipe nobody writes to may hang start-up or eat
// memory, and a file far past one line does not read either. Each is left as it is: start-up
// writes no defaults over it, and a later write does not replace what is not a regular file.
TEST_F(SettingsFilesTest, OnlyARegularFileOfSaneSizeReads) {
    const auto link = [](const QString& path) { QFile::link(QStringLiteral("/dev/zero"), path); };
    const auto pipe = [](const QString& path) {
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
    };
    const auto folder = [](const QString& path) { QDir().mkdir(path); };
    const auto huge = [this](const QString& path) {
        write(path, QByteArray("2008,8,26,10,23,20,300,85") + QByteArray(100 * 1024, ' ') + "\r\n");
    };
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
        bool replaceable;
    } cases[] = {{"link to /dev/zero", link, false},
                 {"named pipe", pipe, false},
                 {"folder", folder, false},
                 {"100 KiB on one line", huge, true}};
    for (const auto& c : cases) {
        for (const QString& path : {initialPath(), optionPath()}) {
            QDir(dataDirPath(dir.path())).removeRecursively();
            QDir().mkpath(dataDirPath(dir.path()));
            c.make(path);
            const QFileInfo before(path);
            state.started = 1;
            EXPECT_FALSE(path == initialPath() ? readInitialFile(state) : readOptionFile(state))
                << c.name;
            ensureDataFiles(state, kNow);
            loadOptions(state);
            EXPECT_EQ(state.started, 0) << c.name;
            const QFileInfo after(path);
            EXPECT_EQ(std::tuple(after.isSymLink(), after.isFile(), after.size()),
                      std::tuple(before.isSymLink(), before.isFile(), before.size()))
                << c.name;
            EXPECT_EQ(path == initialPath() ? writeInitialFile(state) : writeOptionFile(state),
                      c.replaceable)
                << c.name;
            EXPECT_EQ(QFileInfo(path).isSymLink(), before.isSymLink()) << c.name;
        }
    }
}

// A link to a regular file is the user's way of keeping the file elsewhere: it reads, and a save
// goes to the file it leads to, the link staying a link.
TEST_F(SettingsFilesTest, ALinkToARegularFileIsReadAndWrittenThrough) {
    const QString real = dir.filePath(QStringLiteral("elsewhere/option.ini"));
    write(real, optionLine(1, 0, 0));
    QDir().mkpath(dataDirPath(dir.path()));
    ASSERT_TRUE(QFile::link(real, optionPath()));
    ASSERT_EQ(loadOptions(state), FileFinding::Read);
    state.mainLeft = 1500;
    ASSERT_TRUE(writeOptionFile(state));
    EXPECT_TRUE(QFileInfo(optionPath()).isSymLink());
    EXPECT_EQ(read(real), optionLine(1, 1500, 0));
}

// A write killed between the temporary file and the rename leaves "<file>.XXXXXX" behind: six
// random letters. Start-up clears those of its own two files, nothing else, and spares a name
// in lower case only: "backup" is a person's.
TEST_F(SettingsFilesTest, StartUpClearsWhatAnInterruptedWriteLeftBehind) {
    const QStringList leftovers{"initial.ini.AbCdEf", "option.ini.qWeRtY", "option.ini.XOXEDK",
                                "option.ini.Bmmxqd"};
    const QStringList kept{"initial.ini",       "notes.txt.qWeRtY",
                           "option.ini",        "option.ini.Ab1dEf",
                           "option.ini.backup", "option.ini.broken-20080826-102341"};
    for (const QString& name : leftovers + kept)
        write(dataDirPath(dir.path()) + u'/' + name, "2008,8,26,10,23,20,300,85\r\n");
    ensureDataFiles(state, kNow);
    QStringList sorted = kept;
    sorted.sort();
    EXPECT_EQ(
        QDir(dataDirPath(dir.path())).entryList(QDir::Files, QDir::Name).join(u' ').toStdString(),
        sorted.join(u' ').toStdString());
}

// A quit moment the settings window would not take is no quit moment: the file does not read.
// The calendar's rules are the settings entry's test; here the bounds that differ from it: a
// date in the future (a clock set back) reads, up to the calendar's last year.
TEST_F(SettingsFilesTest, AQuitMomentOffTheCalendarDoesNotRead) {
    const std::pair<const char*, bool> cases[] = {{",,,,,,,", false},
                                                  {"1899,12,31,23,59,20,300,85", false},
                                                  {"1900,1,1,0,0,20,300,85", true},
                                                  {"2008,4,31,10,23,20,300,85", false},
                                                  {"9999,12,31,23,59,20,300,85", true},
                                                  {"10000,1,1,0,0,20,300,85", false}};
    for (const auto& [line, reads] : cases) {
        write(initialPath(), QByteArray(line) + "\r\n");
        EXPECT_EQ(readInitialFile(state), reads) << line;
    }
}

// option.ini saved by an editor as UTF-8 with a byte-order mark simply reads; the next save
// writes code page 932 again.
TEST_F(SettingsFilesTest, AUtf8FileWithAByteOrderMarkReads) {
    write(optionPath(),
          "\xef\xbb\xbf"
          "1,8744,5,0,5,1,300,400,9241372,16777215,"
          "\"blog.example.jp/\xe3\x83\x96\",2,0,0,\"\xe3\x82\xb3\xe3\x82\xb9\xe3\x83\xa2\"\r\n");
    loadOptions(state);
    EXPECT_EQ(std::tuple(state.started, state.mainTop), std::tuple(1, 400));
    EXPECT_EQ(state.blogUrl.toStdString(), "blog.example.jp/ブ");
    EXPECT_EQ(state.statusMode.toStdString(), "コスモ");
    ASSERT_TRUE(writeOptionFile(state));
    EXPECT_EQ(read(optionPath()),
              "1,8744,5,0,5,1,300,400,9241372,16777215,"
              "\"blog.example.jp/\x83\x75\",2,0,0,\"\x83\x52\x83\x58\x83\x82\"\r\n");
}

} // namespace
