// Saves cut short from outside: a child that saves is killed at random moments, and a file-size
// limit stands in for a full disk. Each file must stay whole, old or new.
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <map>
#include <random>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class InterruptedSave : public testing::Test {
protected:
    void SetUp() override {
        // Two settings unlike in every field and in length, so a torn or mixed file shows.
        older.appDir = newer.appDir = dir.path();
        older.quitMoment = {0, 2008, 8, 26, 10, 23};
        older.perDay = 200;
        older.started = newer.started = 1;
        older.blogUrl = QStringLiteral("blog.example.jp/ケムリン/long/address");
        newer.quitMoment = {0, 2009, 1, 1, 0, 0};
        newer.mainLeft = -300;
        newer.statusMode = QStringLiteral("コスモ");
        for (const AppState* s : {&newer, &older}) {
            ASSERT_EQ(writeSettingsFiles(*s), std::nullopt);
            files.push_back(
                {readAll(initialFilePath(dir.path())), readAll(optionFilePath(dir.path()))});
        }
    }

    // Which pair each file now comes from: 0 the newer, 1 the older, -1 neither.
    std::pair<int, int> found() const {
        const auto which = [&](int f, const QString& path) {
            const QByteArray bytes = readAll(path);
            return bytes == files[0][f] ? 0 : bytes == files[1][f] ? 1 : -1;
        };
        return {which(0, initialFilePath(dir.path())), which(1, optionFilePath(dir.path()))};
    }

    // A kill loses nothing the kernel holds: a memory file system keeps the syncs quick.
    QTemporaryDir dir{QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/kemurin-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/kemurin-XXXXXX")};
    AppState older, newer;
    std::vector<std::array<QByteArray, 2>> files; // newer, older
};

// The newer settings saved over the older ones, killed at a random moment, 250 times. The
// initial.ini is replaced first, so a kill between the renames leaves it new beside the old
// option.ini; never the other way round.
TEST_F(InterruptedSave, AKillAtAnyMomentLeavesEachFileWholeOldOrNew) {
    std::mt19937 random(20081226);
    // The kill falls anywhere in a window about as long as a whole save, kept so by shrinking
    // it when a save ends before its kill.
    QElapsedTimer clock;
    clock.start();
    writeSettingsFiles(older);
    double window = 2 * static_cast<double>(clock.nsecsElapsed()) / 1000 + 500;
    std::map<std::pair<int, int>, int> kills;
    int killed = 0;
    while (killed < 250 && clock.elapsed() < 15000) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            _exit(writeSettingsFiles(newer) ? 1 : 0);
        ::usleep(
            static_cast<useconds_t>(std::uniform_real_distribution<double>(0, window)(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status)) {
            const std::pair<int, int> pair = found();
            ASSERT_TRUE(pair.first >= 0 && pair.second >= 0 && pair != std::pair(1, 0)) << killed;
            ++kills[pair];
            ++killed;
        } else {
            ASSERT_EQ(found(), std::pair(0, 0));
        }
        window *= WIFSIGNALED(status) ? 1.02 : 0.9;
        ASSERT_EQ(writeSettingsFiles(older), std::nullopt);
    }
    EXPECT_GE(killed, 200);
    // The kills fell before the replacements and between them.
    EXPECT_GT((kills[{1, 1}]), 0);
    EXPECT_GT((kills[{0, 1}]), 0);
}

// A full disk at any point of a save (a file-size limit from nothing to past both files): the
// save says it failed and leaves the old pair, or it succeeds whole.
TEST_F(InterruptedSave, AFullDiskLeavesTheOldPairOrTheNewOne) {
    const auto most = std::max(files[0][0].size(), files[0][1].size());
    for (rlim_t limit = 0; limit <= static_cast<rlim_t>(most) + 1; ++limit) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit full{};
            getrlimit(RLIMIT_FSIZE, &full);
            full.rlim_cur = limit;
            setrlimit(RLIMIT_FSIZE, &full);
            _exit(writeSettingsFiles(newer) ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << limit;
        EXPECT_EQ(found(), WEXITSTATUS(status) == 0 ? std::pair(0, 0) : std::pair(1, 1)) << limit;
        ASSERT_EQ(writeSettingsFiles(older), std::nullopt);
    }
}

} // namespace
