#include "settings/SettingsFiles.h"
#include "SettingsLines.h"

#include "settings/ProgramAddresses.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
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
        QDir().mkpath(dataDirPath(dir.path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString initialPath() const { return initialFilePath(dir.path()); }
    QString optionPath() const { return optionFilePath(dir.path()); }

    QTemporaryDir dir;
    AppState state;
};

TEST_F(SettingsFilesTest, AnEmptyFolderGetsBothFilesWithTheirDefaultsOnce) {
    ensureDataFiles(state, kNow);
    loadOptions(state);
    EXPECT_EQ(read(initialPath()), QByteArray("2008,8,26,10,23,20,300,85\r\n"));
    EXPECT_EQ(read(optionPath()), defaultOptionLine());
    EXPECT_EQ(state.started, 0);
    EXPECT_EQ(state.statusMode.toStdString(), "ソルジャー");

    const QByteArray initial("2007,1,2,3,4,5,6,50\r\n");
    write(initialPath(), initial);
    ensureDataFiles(state, kNow);
    EXPECT_EQ(read(initialPath()), initial);
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

TEST_F(SettingsFilesTest, AShortOrBrokenOptionFileGivesEveryDefaultAndStays) {
    const QByteArray cases[] = {
        "1,8744,5,0,5,1,300,400,9241372,16777215,\"x\",1,0,0\r\n", // 14 fields
        "1,8744,5,0,5,1,300,400,9241372,16777215,\"x\",1,0,0,",    // file ends in a field
        "1,8744,5,0,5,1,300,4000000000,9241372,16777215,\"x\",1,0,0,\"コスモ\"\r\n",
        "1,8744,five,0,5,1,300,400,9241372,16777215,\"x\",1,0,0,\"y\"\r\n"};
    for (const QByteArray& bytes : cases) {
        write(optionPath(), bytes);
        state.started = 1;
        state.mainLeft = 1234;
        loadOptions(state);
        EXPECT_EQ(std::tuple(state.started, state.mainLeft, state.blogUrl.toStdString()),
                  std::tuple(0, 0, std::string(kDefaultBlogUrl)))
            << bytes.constData();
        EXPECT_EQ(read(optionPath()), bytes);
    }
}

TEST_F(SettingsFilesTest, AHandMadeFileOverSeveralLinesReads) {
    write(optionPath(),
          "1, 9000,8,\r\n1,10,0,\r\n-45,60\r\n255,65535,\"pimaru.example.jp/a,b\",\r\n"
          "0,15,30,\"\x83\x52\x83\x58\x83\x82\"\r\n");
    loadOptions(state);
    EXPECT_EQ((std::array{state.started, state.tobaccoTaxPer1000, state.consumptionTaxPercent,
                          state.boxDisplay, state.mainLeft, state.backColour, state.windowMode,
                          state.miniTop}),
              (std::array{1, 9000, 8, 0, -45, 255, 0, 30}));
    EXPECT_EQ(state.blogUrl.toStdString(), "pimaru.example.jp/a,b");
    EXPECT_EQ(state.statusMode.toStdString(), "コスモ");
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

// A write that fails half-way (here: the file size limit, as on a full disk) or a text that code
// page 932 cannot hold leaves the previous file whole.
TEST_F(SettingsFilesTest, AFailedWriteLeavesThePreviousFileWhole) {
    ensureDataFiles(state, kNow);
    loadOptions(state);
    state.blogUrl = QStringLiteral("blog.example.jp/😀");
    EXPECT_FALSE(writeOptionFile(state));

    state.blogUrl = QString(200, u'x');
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool written = writeOptionFile(state);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(read(optionPath()), defaultOptionLine());
    EXPECT_EQ(QDir(dataDirPath(dir.path())).entryList(QDir::Files).size(), 2);
}

TEST_F(SettingsFilesTest, NoDataFolderMeansNoWriteAndNoCrash) {
    state.appDir = dir.filePath(QStringLiteral("gone"));
    EXPECT_FALSE(writeOptionFile(state));
    EXPECT_FALSE(readInitialFile(state));
}

} // namespace
