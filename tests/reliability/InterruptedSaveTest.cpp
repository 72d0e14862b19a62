// Saves cut short from outside: a child that saves in a loop is killed at random moments, and a
// file-size limit stands in for a full disk. Each file must stay whole, old or new.
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <map>
#include <random>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

constexpr DateTimeParts kNow{0, 2008, 8, 26, 10, 23};

// A kill loses nothing the kernel holds, so the file system makes no difference here; a memory
// one keeps each save's sync from dominating the run time.
QString scratchTemplate() {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return (shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath()) +
           QStringLiteral("/kemurin-XXXXXX");
}

// How long one save takes, in microseconds.
double timedSave(const AppState& state) {
    const auto started = std::chrono::steady_clock::now();
    writeSettingsFiles(state);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started)
        .count();
}

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
        older.packPrice = 2000;
        older.cigLength = 100;
        older.started = 1;
        older.blogUrl = QStringLiteral("blog.example.jp/ケムリン/long/address");
        newer.quitMoment = {0, 2009, 1, 1, 0, 0};
        newer.perDay = 5;
        newer.mainLeft = -300;
        newer.started = 1;
        newer.statusMode = QStringLiteral("コスモ");
        for (AppState* s : {&newer, &older}) {
            ASSERT_EQ(writeSettingsFiles(*s), std::nullopt);
            pairs.push_back({readAll(initialPath()), readAll(optionPath())});
        }
        ASSERT_NE(pairs[0].first.size(), pairs[1].first.size());
    }

    QString initialPath() const { return initialFilePath(dir.path()); }
    QString optionPath() const { return optionFilePath(dir.path()); }
    // 0 for the newer pair, 1 for the older; -1 for anything else.
    int pairFound(const QByteArray& initial, const QByteArray& option) const {
        for (int i = 0; i < 2; ++i) {
            if (pairs[i].first == initial && pairs[i].second == option)
                return i;
        }
        return -1;
    }

    QTemporaryDir dir{scratchTemplate()};
    AppState older;
    AppState newer;
    std::vector<std::pair<QByteArray, QByteArray>> pairs; // newer, older
};

// One save of the newer settings over the older ones, killed at a random moment of it, again
// and again: each file is whole, old or new. Two files cannot be replaced at one instant, so a
// kill between the renames leaves a new initial.ini beside the old option.ini; never the
// other way round, and both read.
TEST_F(InterruptedSave, AKillAtAnyMomentLeavesEachFileWholeOldOrNew) {
    std::mt19937 random(20081226);
    // The kill falls anywhere in a window as long as a child's whole save; a save that ends
    // before its kill shortens the window.
    double window = 2 * timedSave(older) + 500;
    std::map<std::pair<int, int>, int> found; // (initial, option) → kills; 0 new, 1 old
    int kills = 0, leftovers = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (kills < 250 && std::chrono::steady_clock::now() < deadline) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            _exit(writeSettingsFiles(newer) ? 1 : 0);
        std::uniform_real_distribution<double> delay(0, window);
        std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFSIGNALED(status)) {
            ASSERT_EQ(pairFound(readAll(initialPath()), readAll(optionPath())), 0);
            window *= 0.9;
            timedSave(older);
            continue;
        }
        ++kills;
        const QByteArray initial = readAll(initialPath());
        const QByteArray option = readAll(optionPath());
        const int initialIs = initial == pairs[0].first ? 0 : initial == pairs[1].first ? 1 : -1;
        const int optionIs = option == pairs[0].second ? 0 : option == pairs[1].second ? 1 : -1;
        ASSERT_NE(initialIs, -1) << "kill " << kills << ": " << initial.constData();
        ASSERT_NE(optionIs, -1) << "kill " << kills << ": " << option.constData();
        ASSERT_FALSE(initialIs == 1 && optionIs == 0) << "kill " << kills;
        ++found[{initialIs, optionIs}];
        AppState back;
        back.appDir = dir.path();
        ASSERT_TRUE(readInitialFile(back) && readOptionFile(back)) << "kill " << kills;

        // What a kill left beside the files goes at the next start, but for a name in lower
        // case only, which might be a person's copy.
        const QDir folder(dataDirPath(dir.path()));
        leftovers += static_cast<int>(folder.entryList(QDir::Files).size()) - 2;
        ensureDataFiles(back, kNow);
        for (const QString& name : folder.entryList(QDir::Files)) {
            if (name == u"initial.ini" || name == u"option.ini")
                continue;
            ASSERT_EQ(name.toStdString(), name.toLower().toStdString());
            QFile::remove(folder.filePath(name));
        }
        ASSERT_EQ(writeSettingsFiles(older), std::nullopt);
        window *= 1.02;
    }
    EXPECT_GE(kills, 200);
    // The kills fell before the replacements and between them.
    EXPECT_GT((found[{1, 1}]), 0);
    EXPECT_GT((found[{0, 1}]), 0);
    std::printf("%d kills: both old %d, new initial.ini with old option.ini %d, both new %d; "
                "%d left a temporary file\n",
                kills, found[{1, 1}], found[{0, 1}], found[{0, 0}], leftovers);
}

// A full disk at any point of a save (here a file-size limit from nothing to past both files):
// the save says it failed and leaves the old pair, or it succeeds whole. The process goes on.
TEST_F(InterruptedSave, AFullDiskLeavesTheOldPairOrTheNewOne) {
    const qsizetype both = std::max(pairs[0].first.size(), pairs[0].second.size());
    for (rlim_t limit = 0; limit <= static_cast<rlim_t>(both) + 1; ++limit) {
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
        ASSERT_TRUE(WIFEXITED(status)) << "limit " << limit;
        const bool saved = WEXITSTATUS(status) == 0;
        EXPECT_EQ(pairFound(readAll(initialPath()), readAll(optionPath())), saved ? 0 : 1)
            << "limit " << limit << (saved ? ", saved" : ", failed");
        ASSERT_EQ(writeSettingsFiles(older), std::nullopt);
    }
}

} // namespace
