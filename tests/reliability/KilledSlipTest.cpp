// A slip's save in a child process that ends itself at a chosen step of the save, on Windows as
// on Linux: a start afterwards finds the old set or the new one, never a mix.
#include "SettingsLines.h"
#include "settings/SettingsFiles.h"
#include "system/DiskFault.h"

#include <QScopeGuard>
#include <QTemporaryDir>

#include <iostream>
#include <map>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace {

// What the parent tells its child: the disk call to end at, counted from 0, and the folder.
const char kStepVariable[] = "KEMURIN_KILLED_SLIP_STEP";
const char kFolderVariable[] = "KEMURIN_KILLED_SLIP_FOLDER";
#ifdef Q_OS_WIN
// The exit code the child gives TerminateProcess: none a test program ends with of itself.
constexpr UINT kKilledCode = 0x4b1;
#endif

const QByteArray kOldHistory("2008,1,1,0,0,2008,2,1,0,0,20,300,85,\"\"\r\n");
const QByteArray kNewHistory(kOldHistory +
                             "2008,8,26,10,23,2009,1,1,0,0,200,300,85,\"\x88\xea\x96\x7b\"\r\n");

// The count before the slip and after it: another quit moment, another count a day.
AppState counting(const QString& appDir, bool afterSlip) {
    AppState state;
    state.appDir = appDir;
    state.started = 1;
    state.quitMoment =
        afterSlip ? DateTimeParts{0, 2009, 1, 1, 0, 0} : DateTimeParts{0, 2008, 8, 26, 10, 23};
    state.perDay = afterSlip ? 20 : 200;
    return state;
}

// The end a crash or a power cut gives: no destructor, no atexit, no Qt cleanup. SIGKILL leaves
// LeakSanitizer no moment to report either.
void endAtOnce() {
#ifdef Q_OS_WIN
    TerminateProcess(GetCurrentProcess(), kKilledCode);
#else
    raise(SIGKILL);
#endif
}

// Runs the child test in a new copy of this program, which inherits the environment: its exit
// code, or kKilled when it was killed. The Windows edition's Qt is built without QProcess.
constexpr int kKilled = -2;
int runChild() {
#ifdef Q_OS_WIN
    std::wstring program(32768, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
    std::wstring line = L'"' + program + L"\" --gtest_filter=KilledSlipChild.* --gtest_brief=1";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &child))
        return -1;
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return code == kKilledCode ? kKilled : static_cast<int>(code);
#else
    char program[] = "/proc/self/exe";
    char filter[] = "--gtest_filter=KilledSlipChild.*";
    char brief[] = "--gtest_brief=1";
    char* arguments[] = {program, filter, brief, nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program, nullptr, nullptr, arguments, environ) != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? kKilled
           : WIFEXITED(status)                                ? WEXITSTATUS(status)
                                                              : -1;
#endif
}

// The child: saves the slip, ending itself at the disk call its step numbers, of any kind.
TEST(KilledSlipChild, SavesTheSlipUntilItsStep) {
    const QByteArray step = qgetenv(kStepVariable);
    if (step.isEmpty())
        GTEST_SKIP() << "started by KilledSlip.AKillAtAnyStepLeavesTheOldSetOrTheNewOne";
    setDiskFault([left = step.toInt()](DiskCall, const QString&) mutable {
        if (left-- == 0)
            endAtOnce();
        return false;
    });
    const AppState slipped = counting(qEnvironmentVariable(kFolderVariable), true);
    ASSERT_TRUE(writeQuitAndHistory(slipped, kNewHistory, false).done());
}

// The slip saved by a child killed at each disk call in turn, until one saves it whole.
TEST(KilledSlip, AKillAtAnyStepLeavesTheOldSetOrTheNewOne) {
    QTemporaryDir dir;
    const QString data = dataDirPath(dir.path());
    const QString history = data + QStringLiteral("/history.ini");
    const AppState before = counting(dir.path(), false);
    ASSERT_TRUE(writeSettingsFiles(before).done());
    const QByteArray options = fileBytes(optionFilePath(dir.path()));
    const QByteArray oldInitial = fileBytes(initialFilePath(dir.path()));
    ASSERT_TRUE(writeQuitAndHistory(counting(dir.path(), true), kNewHistory, false).done());
    const QByteArray newInitial = fileBytes(initialFilePath(dir.path()));
    qputenv(kFolderVariable, QFile::encodeName(dir.path()));
    const auto clear = qScopeGuard([] {
        qunsetenv(kFolderVariable);
        qunsetenv(kStepVariable);
    });
    std::map<bool, int> kills; // by whether the start found the new set
    for (int step = 0;; ++step) {
        ASSERT_LT(step, 200) << "a slip's save never ends";
        ASSERT_TRUE(writeQuitAndHistory(before, kOldHistory, false).done());
        qputenv(kStepVariable, QByteArray::number(step));
        const int end = runChild();
        const bool killed = end == kKilled;
        ASSERT_TRUE(killed || end == 0) << "step " << step << ": exit code " << end;

        AppState start;
        start.appDir = dir.path();
        loadOptions(start, ensureDataFiles(start, {}));
        const QByteArray initial = fileBytes(initialFilePath(dir.path()));
        const bool found = initial == newInitial && fileBytes(history) == kNewHistory;
        ASSERT_TRUE(found || (initial == oldInitial && fileBytes(history) == kOldHistory))
            << "killed at step " << step;
        ASSERT_EQ(fileBytes(optionFilePath(dir.path())), options) << "killed at step " << step;
        ASSERT_EQ(QDir(data).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                       QDir::NoDotAndDotDot),
                  QStringList({"history.ini", "initial.ini", "option.ini"}))
            << "killed at step " << step;
        if (!killed) {
            ASSERT_TRUE(found) << "the child ended at step " << step << " without saving";
            std::cout << "a slip's save killed at each of its " << step
                      << " disk calls; the start found the old set after " << kills[false]
                      << ", the new one after " << kills[true] << "\n";
            break;
        }
        ++kills[found];
    }
    // Kills fell before the commit and after it.
    EXPECT_GT(kills[false], 0);
    EXPECT_GT(kills[true], 0);
}

} // namespace
