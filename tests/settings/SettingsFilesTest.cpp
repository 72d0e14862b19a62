#include "settings/SettingsFiles.h"
#include "SettingsLines.h"

#include "engine/Clock.h"
#include "settings/ProgramAddresses.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

namespace {

class SettingsFilesTest : public testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        state.AppDir = dir.path();
    }
    void TearDown() override { Clock::install(nullptr); }

    QByteArray read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void write(const QString& path, const QByteArray& bytes) const {
        QDir().mkpath(dataDirPath(dir.path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString initialPath() const { return initialFilePath(dir.path()); }
    QString optionPath() const { return optionFilePath(dir.path()); }

    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2008, 8, 26), QTime(10, 23, 59))};
    AppState state;
};

TEST_F(SettingsFilesTest, AnEmptyFolderGetsBothFilesWithTheirDefaults) {
    EnsureDataFiles(state);
    LoadOptions(state);
    EXPECT_EQ(read(initialPath()), QByteArray("2008,8,26,10,23,20,300,85\r\n"));
    EXPECT_EQ(read(optionPath()), defaultOptionLine());
    EXPECT_EQ(state.Started, 0);
    EXPECT_EQ(state.StatusMode, QStringLiteral("ソルジャー"));
}

TEST_F(SettingsFilesTest, ExistingFilesAreLeftAsTheyAre) {
    const QByteArray initial("2007,1,2,3,4,5,6,50\r\n");
    write(initialPath(), initial);
    EnsureDataFiles(state);
    EXPECT_EQ(read(initialPath()), initial);
}

TEST_F(SettingsFilesTest, MissingInitialFileWhileStartedCountsFromNow) {
    write(optionPath(), optionLine(1, 0, 0));
    EnsureDataFiles(state);
    LoadOptions(state);
    EXPECT_EQ(state.Started, 1);
    EXPECT_EQ(read(initialPath()), QByteArray("2008,8,26,10,23,20,300,85\r\n"));
}

TEST_F(SettingsFilesTest, WrittenStateReadsBackTheSame) {
    state.QuitParts = {0, 2100, 2, 28, 23, 59};
    state.PerDay = 200;
    state.PackPrice = 2000;
    state.CigLength = 100;
    state.Started = 1;
    state.MainLeft = -300;
    state.MainTop = 2147483647;
    state.BlogUrl = QStringLiteral("blog.example.jp/～,\"x");
    state.StatusMode = QStringLiteral("コスモ");
    state.WindowMode = 0;
    QDir().mkpath(dataDirPath(dir.path()));
    ASSERT_TRUE(WriteInitialFile(state));
    ASSERT_TRUE(WriteOptionFile(state));
    // "～" is code page 932's 0x81 0x60, not Shift_JIS's wave dash.
    EXPECT_TRUE(read(optionPath()).contains("\x81\x60"));
    EXPECT_TRUE(read(optionPath()).startsWith("1,8744,5,0,5,1,-300,2147483647,"));

    AppState back;
    back.AppDir = dir.path();
    ASSERT_TRUE(ReadInitialFile(back));
    EXPECT_EQ(back.QuitParts, state.QuitParts);
    EXPECT_EQ(back.PerDay, 200);
    EXPECT_EQ(back.CigLength, 100);
    // A double quote inside a text cannot come back whole; the fields after it still do.
    state.BlogUrl = QStringLiteral("blog.example.jp/～,x");
    ASSERT_TRUE(WriteOptionFile(state));
    ASSERT_TRUE(ReadOptionFile(back));
    EXPECT_EQ(back.BlogUrl, state.BlogUrl);
    EXPECT_EQ(back.MainLeft, -300);
    EXPECT_EQ(back.MainTop, 2147483647);
    EXPECT_EQ(back.StatusMode, QStringLiteral("コスモ"));
    EXPECT_EQ(back.WindowMode, 0);
}

TEST_F(SettingsFilesTest, AShortOrBrokenOptionFileGivesEveryDefaultAndStays) {
    const QByteArray cases[] = {
        "1,8744,5,0,5,1,300,400,9241372,16777215,\"x\",1,0,0\r\n", // 14 fields
        "1,8744,5,0,5,1,300,400,9241372,16777215,\"x\",1,0,0,",    // file ends in a field
        "1,8744,5,0,5,1,300,4000000000,9241372,16777215,\"x\",1,0,0,\"コスモ\"\r\n",
        "1,8744,five,0,5,1,300,400,9241372,16777215,\"x\",1,0,0,\"y\"\r\n",
    };
    for (const QByteArray& bytes : cases) {
        write(optionPath(), bytes);
        state.Started = 1;
        state.MainLeft = 1234;
        LoadOptions(state);
        EXPECT_EQ(state.Started, 0) << bytes.constData();
        EXPECT_EQ(state.MainLeft, 0) << bytes.constData();
        EXPECT_EQ(state.BlogUrl, QString::fromLatin1(kDefaultBlogUrl));
        EXPECT_EQ(read(optionPath()), bytes);
    }
}

TEST_F(SettingsFilesTest, AHandMadeFileOverSeveralLinesReads) {
    write(optionPath(),
          "1, 9000,8,\r\n1,10,0,\r\n-45,60\r\n255,65535,\"pimaru.example.jp/a,b\",\r\n"
          "0,15,30,\"\x83\x52\x83\x58\x83\x82\"\r\n");
    LoadOptions(state);
    EXPECT_EQ(state.Started, 1);
    EXPECT_EQ(state.TobaccoTaxPer1000, 9000);
    EXPECT_EQ(state.ConsumptionTaxPercent, 8);
    EXPECT_EQ(state.BoxDisplay, 0);
    EXPECT_EQ(state.MainLeft, -45);
    EXPECT_EQ(state.BackColour, 255);
    EXPECT_EQ(state.BlogUrl, QStringLiteral("pimaru.example.jp/a,b"));
    EXPECT_EQ(state.WindowMode, 0);
    EXPECT_EQ(state.MiniTop, 30);
    EXPECT_EQ(state.StatusMode, QStringLiteral("コスモ"));
}

// A write that fails half-way (here: the file size limit, as on a full disk) leaves the
// previous file whole.
TEST_F(SettingsFilesTest, AFailedWriteLeavesThePreviousFileWhole) {
    EnsureDataFiles(state);
    LoadOptions(state);
    state.BlogUrl = QString(200, u'x');

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool written = WriteOptionFile(state);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(read(optionPath()), defaultOptionLine());
    EXPECT_EQ(QDir(dataDirPath(dir.path())).entryList(QDir::Files).size(), 2);
}

TEST_F(SettingsFilesTest, TextsCodePage932CannotHoldAreRefusedNotMangled) {
    EnsureDataFiles(state);
    LoadOptions(state);
    state.BlogUrl = QStringLiteral("blog.example.jp/😀");
    EXPECT_FALSE(WriteOptionFile(state));
    EXPECT_EQ(read(optionPath()), defaultOptionLine());
}

TEST_F(SettingsFilesTest, NoDataFolderMeansNoWriteAndNoCrash) {
    state.AppDir = dir.filePath(QStringLiteral("gone"));
    EXPECT_FALSE(WriteOptionFile(state));
    EXPECT_FALSE(ReadInitialFile(state));
}

} // namespace
