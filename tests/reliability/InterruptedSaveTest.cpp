// Saves cut short from outside, killed or on a full disk: the pair stays whole, old or new.
#include "SettingsLines.h"
#include "settings/SettingsFiles.h"

#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <map>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

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
            ASSERT_TRUE(writeSettingsFiles(*s).done());
            files.push_back(
                {fileBytes(initialFilePath(dir.path())), fileBytes(optionFilePath(dir.path()))});
        }
    }

    // Which pair each file now comes from: 0 the newer, 1 the older, -1 neither.
    std::pair<int, int> found() const {
        const auto which = [&](int f, const QString& path) {
            const QByteArray bytes = fileBytes(path);
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

// Runs `work` in a child killed at its `at`th system call stop; false if it ended before.
bool killedAtStop(int at, const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        work();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    for (int stop = 0; stop < at; ++stop) {
        ptrace(PTRACE_SYSCALL, child, nullptr, nullptr);
        waitpid(child, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return false;
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return true;
}

// A save killed at every system call in turn, each way round: the old pair or the new one.
TEST_F(InterruptedSave, AKillAtEverySystemCallLeavesTheOldPairOrTheNewOne) {
    std::map<std::pair<int, int>, int> seen;
    int kills = 0;
    for (int round = 0; kills < 200; ++round) {
        ASSERT_LT(round, 20) << "saves end before 200 kills";
        const AppState& from = round % 2 ? newer : older;
        const AppState& to = round % 2 ? older : newer;
        for (int at = 0; kills < 200; ++at) {
            ASSERT_TRUE(writeSettingsFiles(from).done());
            const bool killed = killedAtStop(at, [&] { writeSettingsFiles(to); });
            AppState start;
            start.appDir = dir.path();
            loadOptions(start, ensureDataFiles(start, {}));
            const std::pair<int, int> pair = found();
            const int toPair = round % 2 ? 1 : 0;
            ASSERT_TRUE(pair == std::pair(0, 0) || pair == std::pair(1, 1))
                << "killed at stop " << at << " of round " << round;
            ASSERT_EQ(QDir(dataDirPath(dir.path())).entryList(QDir::Files | QDir::Hidden),
                      QStringList({"initial.ini", "option.ini"}))
                << "killed at stop " << at;
            if (!killed) {
                ASSERT_EQ(pair.first, toPair);
                break;
            }
            ++seen[pair];
            ++kills;
        }
    }
    // The kills fell before the commit and after it.
    EXPECT_GT((seen[{0, 0}]), 0);
    EXPECT_GT((seen[{1, 1}]), 0);
}

// A slip's save killed at every system call in turn: the quit moment and the history both old
// or both new, option.ini as it was.
TEST_F(InterruptedSave, AKilledSlipLeavesTheOldSetOrTheNewOne) {
    const QByteArray oldHistory = "2008,1,1,0,0,2008,2,1,0,0,20,300,85,\"\"\r\n";
    const QByteArray newHistory =
        oldHistory + "2008,8,26,10,23,2009,1,1,0,0,200,300,85,\"\x88\xea\x96\x7b\"\r\n";
    const QString historyPath = dataDirPath(dir.path()) + QStringLiteral("/history.ini");
    const QByteArray options = fileBytes(optionFilePath(dir.path()));
    std::map<int, int> seen;
    for (int at = 0;; ++at) {
        ASSERT_LT(at, 400) << "a slip's save never ends";
        ASSERT_TRUE(writeQuitAndHistory(older, oldHistory, false).done());
        const bool killed =
            killedAtStop(at, [&] { writeQuitAndHistory(newer, newHistory, false); });
        AppState start;
        start.appDir = dir.path();
        loadOptions(start, ensureDataFiles(start, {}));
        const int initial = found().first;
        const QByteArray history = fileBytes(historyPath);
        ASSERT_TRUE((initial == 1 && history == oldHistory) ||
                    (initial == 0 && history == newHistory))
            << "killed at stop " << at;
        ASSERT_EQ(fileBytes(optionFilePath(dir.path())), options) << "killed at stop " << at;
        ASSERT_EQ(QDir(dataDirPath(dir.path())).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"history.ini", "initial.ini", "option.ini"}))
            << "killed at stop " << at;
        if (!killed) {
            ASSERT_EQ(initial, 0);
            break;
        }
        ++seen[initial];
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

// A full disk at any point of a save: it says it failed and leaves the old pair, or succeeds.
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
            _exit(writeSettingsFiles(newer).done() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << limit;
        EXPECT_EQ(found(), WEXITSTATUS(status) == 0 ? std::pair(0, 0) : std::pair(1, 1)) << limit;
        ASSERT_TRUE(writeSettingsFiles(older).done());
    }
}

// EIO from fdatasync, or from fsync on the folder: the saves say so and leave the old files.
TEST_F(InterruptedSave, AFailedSyncIsAFailedSave) {
    for (const int failing : {__NR_fdatasync, __NR_fsync}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            sock_filter filter[] = {
                BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(failing), 0, 1),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
            const sock_fprog program{std::size(filter), filter};
            if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
                prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
                _exit(2);
            _exit(!writeSettingsFiles(newer).done() && !writeInitialFile(newer).done() &&
                          !writeOptionFile(newer).done()
                      ? 0
                      : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << failing;
        EXPECT_EQ(found(), std::pair(1, 1)) << failing;
    }
}

} // namespace
