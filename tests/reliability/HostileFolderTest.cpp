// A data folder from elsewhere is input; a commit survives a disk that refuses once.
#include "SettingsLines.h"
#include "settings/SettingsFiles.h"
#include "system/DiskFault.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kOldInitial("2007,1,2,3,4,5,6,50\r\n");
const QByteArray kNewInitial("2008,8,26,10,23,20,300,85\r\n");

void write(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(writeBytes(path, bytes));
}

class HostileFolder : public testing::Test {
protected:
    void SetUp() override {
        state.appDir = dir.filePath(u"app"_s);
        data = dataDirPath(state.appDir);
        write(initialFilePath(state.appDir), kOldInitial);
        write(optionFilePath(state.appDir), OptionLine{}.bytes());
        // Sentinels outside the folder, where a crafted marker points.
        for (const char* name : {"outside.ini", "outside.ini.new", "initial.ini.new"})
            write(dir.filePath(QLatin1String(name)), kNewInitial);
    }
    void TearDown() override { setDiskFault({}); }

    QStringList outside() const {
        QStringList found;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::System))
            found << name + u'=' + QString::fromLatin1(fileBytes(dir.filePath(name)).left(4));
        return found;
    }
    QStringList inside() const {
        return QDir(data).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }
    DataFolderFindings start() {
        AppState fresh;
        fresh.appDir = state.appDir;
        return ensureDataFiles(fresh, {});
    }

    QTemporaryDir dir;
    AppState state;
    QString data;
};

enum Leftover { MarkerText, MarkerLink, MarkerFolder, NewLink, NewFolder };

struct HostileCase {
    const char* name;
    Leftover make;
    QByteArray marker; // "@" stands for the digest of the new initial.ini
    QStringList setAside;
};

// Each leftover: nothing outside changes, initial.ini is kept, the leftover set aside and named.
TEST_F(HostileFolder, ALeftoverIsNeverFollowedOutOfTheFolder) {
    const QString outsidePath = dir.filePath(u"outside.ini"_s);
    const QByteArray absolute = QFile::encodeName(outsidePath);
    const HostileCase cases[] = {
        {"a name with ../", MarkerText, "@ ../../outside.ini\n", {"save.commit"}},
        {"an absolute name", MarkerText, "@ " + absolute + "\n", {"save.commit"}},
        {"a name not of the folder's files", MarkerText, "@ notes.txt\n", {"save.commit"}},
        {"one file named twice", MarkerText, "@ initial.ini\n@ initial.ini\n", {"save.commit"}},
        {"a short digest", MarkerText, "abc initial.ini\n", {"save.commit"}},
        {"no line at all", MarkerText, "\n", {"save.commit"}},
        {"too large", MarkerText, QByteArray(70000, 'a'), {"save.commit"}},
        {"a marker that links outside", MarkerLink, "", {"save.commit"}},
        {"a marker that is a folder", MarkerFolder, "", {"save.commit"}},
        {"a new file that links outside", NewLink, "@ initial.ini\n", {"initial.ini.new"}},
        {"a new file that is a folder", NewFolder, "@ initial.ini\n", {"initial.ini.new"}}};
    const QByteArray digest =
        QCryptographicHash::hash(kNewInitial, QCryptographicHash::Sha256).toHex();
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString marker = data + u"/save.commit"_s;
        const QString fresh = initialFilePath(state.appDir) + u".new"_s;
        write(dir.filePath(u"outside.commit"_s), "@ initial.ini\n@ " + absolute + "\n");
        for (const QString& path : {dir.filePath(u"outside.commit"_s), marker})
            if (c.make != MarkerText || path == marker)
                write(path, QByteArray(c.marker).replace('@', digest));
        if (c.make == MarkerLink) {
            QFile::remove(marker);
            QFile::link(dir.filePath(u"outside.commit"_s), marker);
        }
        if (c.make == MarkerFolder) {
            QFile::remove(marker);
            QDir().mkpath(marker + u"/inner"_s);
        }
        if (c.make == NewLink)
            QFile::link(dir.filePath(u"initial.ini.new"_s), fresh);
        else if (c.make == NewFolder)
            QDir().mkpath(fresh);
        else
            write(fresh, kNewInitial);
        const QStringList before = outside();

        const DataFolderFindings found = start();
        EXPECT_EQ(found.earlierSave.status, CommitOutcome::Done);
        ASSERT_EQ(found.earlierSave.setAside.size(), c.setAside.size());
        for (qsizetype i = 0; i < c.setAside.size(); ++i)
            EXPECT_TRUE(QFileInfo(found.earlierSave.setAside[i])
                            .fileName()
                            .startsWith(c.setAside[i] + u".broken-"_s))
                << found.earlierSave.setAside[i].toStdString();
        EXPECT_EQ(outside(), before);
        EXPECT_EQ(fileBytes(initialFilePath(state.appDir)), kOldInitial);
        EXPECT_FALSE(QFileInfo(initialFilePath(state.appDir)).isSymLink());
        state.perDay = 40;
        EXPECT_TRUE(writeSettingsFiles(state).done());
        EXPECT_EQ(outside(), before);
        EXPECT_EQ(inside().filter(u".broken-"_s).size(), 1) << inside().join(u' ').toStdString();
        QDir(data).removeRecursively();
        write(initialFilePath(state.appDir), kOldInitial);
        write(optionFilePath(state.appDir), OptionLine{}.bytes());
    }
}

// What stands at a name of the commit, unreadable or a folder, never stops saving for ever: it
// goes aside and saving goes on, or, when it cannot be moved, the save names it.
TEST_F(HostileFolder, NothingAtACommitNameStopsSavingForEver) {
    const QByteArray digest =
        QCryptographicHash::hash(kNewInitial, QCryptographicHash::Sha256).toHex();
    const struct {
        const char* name;
        const char* at;
        bool unreadable; // a marker the disk will not read
        bool stuck;      // the disk refuses to move it aside
    } cases[] = {
        {"an unreadable marker", "save.commit", true, false},
        {"a folder at the marker's new name", "save.commit.new", false, false},
        {"a folder at a new file's name", "option.ini.new", false, false},
        {"a folder at the marker's new name that will not move", "save.commit.new", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString at = data + u'/' + QLatin1String(c.at);
        if (c.unreadable) {
            write(at, digest + " initial.ini\n");
            write(initialFilePath(state.appDir) + u".new"_s, kNewInitial);
        } else {
            ASSERT_TRUE(QDir().mkpath(at + u"/inner"_s));
        }
        setDiskFault([&](DiskCall call, const QString& path) {
            return (c.unreadable && call == DiskCall::Read && path == at) ||
                   (c.stuck && call == DiskCall::Rename && path.startsWith(at + u".broken"_s));
        });
        const DataFolderFindings found = start();
        if (!c.stuck)
            setDiskFault({});
        EXPECT_EQ(found.earlierSave.status, CommitOutcome::Done);
        EXPECT_EQ(fileBytes(initialFilePath(state.appDir)), kOldInitial);
        state.perDay = 40;
        const CommitOutcome saved = writeSettingsFiles(state);
        setDiskFault({});
        if (c.stuck) {
            EXPECT_EQ(saved.status, CommitOutcome::Blocked);
            EXPECT_EQ(saved.path, at);
            EXPECT_EQ(fileBytes(initialFilePath(state.appDir)), kOldInitial);
        } else {
            EXPECT_EQ(saved.status, CommitOutcome::Done);
            EXPECT_EQ(fileBytes(initialFilePath(state.appDir)), initialRecord(state));
            const QStringList aside = found.earlierSave.setAside + saved.setAside;
            ASSERT_EQ(aside.size(), 1);
            EXPECT_TRUE(
                QFileInfo(aside[0]).fileName().startsWith(QLatin1String(c.at) + u".broken-"_s));
        }
        QDir(data).removeRecursively();
        write(initialFilePath(state.appDir), kOldInitial);
        write(optionFilePath(state.appDir), OptionLine{}.bytes());
    }
}

// A data folder, or a settings file, another user could have made is read without following
// its links, and nothing is written through them; a link the user made in a folder of the user's
// alone still reads and is written through. Run as nobody: root may write anything.
TEST(ForeignFolder, ALinkAnotherUserCouldHaveMadeIsNotFollowed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make another user's folder";
    constexpr uid_t kNobody = 65534;
    enum Make { RootsFolder, OpenFolder, RootsFile, OwnLink };
    const struct {
        const char* name;
        Make make;
        ForeignFinding::Kind kind;
    } cases[] = {
        {"another user's folder, writable by all", RootsFolder, ForeignFinding::AnotherUsersFolder},
        {"the user's folder, writable by all, another's link", OpenFolder,
         ForeignFinding::OthersCanWrite},
        {"another user's initial.ini", RootsFile, ForeignFinding::AnotherUsersFile},
        {"the user's own link in the user's folder", OwnLink, ForeignFinding::None}};
    const QByteArray victimLine = OptionLine{1, 700, 700}.bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir base;
        const auto own = [](const QString& path, uid_t uid, mode_t mode) {
            const QByteArray name = QFile::encodeName(path);
            return ::lchown(name.constData(), uid, uid) == 0 &&
                   (QFileInfo(path).isSymLink() || ::chmod(name.constData(), mode) == 0);
        };
        ASSERT_TRUE(own(base.path(), 0, 0755));
        const QString victim = base.filePath(u"home/.bashrc"_s);
        write(victim, victimLine);
        ASSERT_TRUE(own(QFileInfo(victim).path(), kNobody, 0755) && own(victim, kNobody, 0644));
        AppState state;
        state.appDir = base.filePath(u"app"_s);
        const QString data = dataDirPath(state.appDir);
        write(initialFilePath(state.appDir), kOldInitial);
        ASSERT_TRUE(QFile::link(victim, optionFilePath(state.appDir)));
        const bool rootsFolder = c.make == RootsFolder;
        ASSERT_TRUE(own(state.appDir, rootsFolder ? 0 : kNobody, 0755));
        ASSERT_TRUE(own(data, rootsFolder ? 0 : kNobody, c.make <= OpenFolder ? 0777 : 0700));
        ASSERT_TRUE(own(initialFilePath(state.appDir), c.make == RootsFile ? 0 : kNobody, 0644));
        ASSERT_TRUE(own(optionFilePath(state.appDir), c.make == OwnLink ? kNobody : 0, 0));

        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                std::_Exit(10);
            const DataFolderFindings found = ensureDataFiles(state, {});
            if (found.foreign.kind != c.kind)
                std::_Exit(11);
            const FileFinding options = loadOptions(state, found);
            if (options != (c.make == OwnLink ? FileFinding::Read : FileFinding::DidNotRead))
                std::_Exit(12);
            state.mainLeft = 1500;
            writeSettingsFiles(state);
            std::_Exit(0);
        }
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
        // Written through only where the user alone could have made the link.
        EXPECT_EQ(fileBytes(victim).contains(",1500,"), c.make == OwnLink);
        EXPECT_EQ(QFileInfo(optionFilePath(state.appDir)).isSymLink(),
                  c.make == OwnLink || c.make == RootsFile);
    }
}

// What is swapped in just before a save's marker goes in place is met as it is: a link put at
// option.ini, or another file at its new file's name, makes no save and leaves the old pair; the
// data folder moved and a link to another put at its name leaves the save in the folder it
// opened, and nothing in the other one is renamed, removed or written.
TEST_F(HostileFolder, ASwapBetweenTwoStepsIsCaught) {
    const QString elsewhere = dir.filePath(u"elsewhere.ini"_s);
    const QString other = dir.filePath(u"other"_s);
    const QString option = optionFilePath(state.appDir);
    write(elsewhere, OptionLine{1, 700, 700}.bytes());
    for (const char* name : {"initial.ini.new", "option.ini.new", "save.commit.new"})
        write(other + u'/' + QLatin1String(name), kOldInitial);
    const struct {
        const char* name;
        std::function<void()> swap;
        CommitOutcome::Status saved;
        QString initialAfter; // where the save's initial.ini is looked for
    } cases[] = {
        {"a link at option.ini", [&] { QFile::remove(option) && QFile::link(elsewhere, option); },
         CommitOutcome::NotSaved, data},
        {"another file at option.ini.new",
         [&] {
             QFile::remove(option + u".new"_s) &&
                 writeBytes(option + u".new"_s, OptionLine{1, 700, 700}.bytes());
         },
         CommitOutcome::NotSaved, data},
        {"the folder moved, a link at its name",
         [&] { QDir().rename(data, data + u".moved"_s) && QFile::link(other, data); },
         CommitOutcome::Done, data + u".moved"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool swapped = false;
        setDiskFault([&](DiskCall call, const QString& path) {
            if (call == DiskCall::Rename && path.endsWith(u"/save.commit"_s) && !swapped) {
                swapped = true;
                c.swap();
            }
            return false;
        });
        AppState next = state;
        ASSERT_TRUE(readInitialRecord(kNewInitial, next));
        EXPECT_EQ(writeSettingsFiles(next).status, c.saved);
        setDiskFault({});
        EXPECT_EQ(fileBytes(c.initialAfter + u"/initial.ini"_s),
                  c.saved == CommitOutcome::Done ? kNewInitial : kOldInitial);
        EXPECT_EQ(fileBytes(elsewhere), (OptionLine{1, 700, 700}.bytes()));
        EXPECT_EQ(
            QDir(c.initialAfter).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            QStringList({"initial.ini", "option.ini"}));
        for (const QString& name : QDir(other).entryList(QDir::Files | QDir::Hidden))
            EXPECT_EQ(fileBytes(other + u'/' + name), kOldInitial) << name.toStdString();
        EXPECT_EQ(QDir(other).entryList(QDir::Files | QDir::Hidden).size(), 3);
        // Back to the old pair in the folder, for the next swap.
        QFile::remove(data);
        QDir(data).removeRecursively();
        if (QFileInfo::exists(data + u".moved"_s))
            QDir().rename(data + u".moved"_s, data);
        write(initialFilePath(state.appDir), kOldInitial);
        QFile::remove(option);
        write(option, OptionLine{}.bytes());
    }

    // A named pipe put in place of initial.ini just before it is opened reads as a file that
    // does not read, without waiting on the pipe.
    const QByteArray initial = QFile::encodeName(initialFilePath(state.appDir));
    setDiskFault([&](DiskCall call, const QString& path) {
        if (call == DiskCall::Read && path.endsWith(u"/initial.ini"_s) &&
            QFileInfo(path).isFile()) {
            QFile::remove(path);
            ::mkfifo(initial.constData(), 0600);
        }
        return false;
    });
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5); // a start that waits on the pipe ends here, and is seen so
        std::_Exit(start().initial == FileFinding::DidNotRead ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    setDiskFault({});
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    // A socket at the name is no file either, not one that cannot be read now.
    QFile::remove(initialFilePath(state.appDir));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(initial.size(), qsizetype(sizeof address.sun_path));
    std::copy(initial.begin(), initial.end(), address.sun_path);
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(start().initial, FileFinding::DidNotRead);
    ::close(socket);
}

// A relative link in a data folder that is itself reached through a link leads where the system
// resolves it, not where its text read against the path as written would: a save goes there.
TEST(LinkedFolder, ARelativeLinkIsResolvedAsTheSystemDoes) {
    QTemporaryDir base;
    const QString real = base.filePath(u"store/deep/kemurindata"_s);
    const QString target = base.filePath(u"store/deep/option-real.ini"_s);
    write(real + u"/initial.ini"_s, kOldInitial);
    write(target, OptionLine{}.bytes());
    AppState state;
    state.appDir = base.filePath(u"app"_s);
    ASSERT_TRUE(QDir().mkpath(state.appDir));
    ASSERT_TRUE(QFile::link(real, dataDirPath(state.appDir)));
    ASSERT_TRUE(QFile::link(u"../option-real.ini"_s, real + u"/option.ini"_s));
    ASSERT_TRUE(readOptionFile(state));
    state.mainLeft = 1500;
    ASSERT_TRUE(writeSettingsFiles(state).done());
    EXPECT_EQ(fileBytes(target), optionRecord(state));
    EXPECT_TRUE(QFileInfo(real + u"/option.ini"_s).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(base.filePath(u"app/option-real.ini"_s)));
}

// The disk refuses the `skip`+1st to `skip`+`times`th call of a kind on a file (-1: every one).
struct Refusal {
    DiskCall call;
    const char* file;
    int skip, times;
};

std::function<bool(DiskCall, const QString&)> refusing(const Refusal& r) {
    return [r, seen = 0](DiskCall call, const QString& path) mutable {
        if (call != r.call || !path.endsWith(QLatin1String(r.file)))
            return false;
        ++seen;
        return seen > r.skip && (r.times < 0 || seen <= r.skip + r.times);
    };
}

// A disk that refuses at a save or the next start: the commit stands and a later start ends it.
TEST_F(HostileFolder, ACommitOutlivesARefusalAtSaveOrStart) {
    const Refusal never{DiskCall::Read, "", 0, 0};
    const Refusal anyRename{DiskCall::Rename, "", 1, -1}; // after the marker's own rename
    const Refusal optionOnce{DiskCall::Rename, "option.ini", 0, 1};
    const Refusal optionAlways{DiskCall::Rename, "option.ini", 0, -1};
    const Refusal markerRead{DiskCall::Read, "save.commit", 0, 1};
    const Refusal newFileRead{DiskCall::Read, "option.ini.new", 0, 1};
    const Refusal syncOnce{DiskCall::SyncFolder, "kemurindata", 1, 1};
    const auto pending = CommitOutcome::Pending;
    const Refusal newFileReadAlways{DiskCall::Read, "option.ini.new", 0, -1};
    const struct {
        const char* name;
        Refusal atSave;
        CommitOutcome::Status saved;
        Refusal atStart;
        bool startWaits; // the start leaves the commit pending
    } cases[] = {
        {"rename onto option.ini at the save", optionOnce, pending, never, false},
        {"folder sync after the renames", syncOnce, pending, never, false},
        {"rename onto option.ini at the save and the next start", optionAlways, pending,
         optionAlways, true},
        // A read refused once is tried again.
        {"reading the marker once at the next start", anyRename, pending, markerRead, false},
        {"reading a new file once at the next start", anyRename, pending, newFileRead, false},
        {"reading a new file at every try", anyRename, pending, newFileReadAlways, true},
        {"a full save, then reading the marker", never, CommitOutcome::Done, markerRead, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState next = state;
        ASSERT_TRUE(readInitialRecord(kNewInitial, next));
        next.mainLeft = 1500;
        setDiskFault(refusing(c.atSave));
        EXPECT_EQ(writeSettingsFiles(next).status, c.saved);
        setDiskFault(refusing(c.atStart));
        const CommitOutcome::Status first = start().earlierSave.status;
        setDiskFault({});
        if (!c.startWaits) {
            EXPECT_EQ(first, CommitOutcome::Done);
        }
        if (c.startWaits) {
            EXPECT_EQ(first, CommitOutcome::Pending);
            EXPECT_TRUE(inside().contains(u"save.commit"_s));
            EXPECT_TRUE(inside().contains(u"option.ini.new"_s));
            // A save behind a commit it cannot finish saves nothing, and says so.
            setDiskFault(refusing(c.atStart));
            EXPECT_EQ(writeSettingsFiles(state).status, CommitOutcome::NotSaved);
            setDiskFault({});
        }
        EXPECT_EQ(start().earlierSave.status, CommitOutcome::Done);
        EXPECT_EQ(fileBytes(initialFilePath(state.appDir)), initialRecord(next));
        EXPECT_EQ(fileBytes(optionFilePath(state.appDir)), optionRecord(next));
        EXPECT_EQ(inside(), QStringList({"initial.ini", "option.ini"}));
        ASSERT_TRUE(writeSettingsFiles(state).done());
    }
}

// A slip's save whose rename onto history.ini the disk refuses, at the save and once more at the
// next start: committed, it is finished by the start after, the quit moment and history together.
TEST_F(HostileFolder, ASlipOutlivesARefusedRename) {
    AppState next = state;
    ASSERT_TRUE(readInitialRecord(kNewInitial, next));
    const QByteArray history = "2007,1,2,3,4,2008,8,26,10,23,5,6,50,\"\"\r\n";
    setDiskFault(refusing({DiskCall::Rename, "history.ini", 0, 2}));
    EXPECT_EQ(writeQuitAndHistory(next, history, false).status, CommitOutcome::Pending);
    EXPECT_EQ(start().earlierSave.status, CommitOutcome::Pending);
    EXPECT_TRUE(inside().contains(u"save.commit"_s));
    EXPECT_EQ(start().earlierSave.status, CommitOutcome::Done);
    setDiskFault({});
    EXPECT_EQ(fileBytes(initialFilePath(state.appDir)), kNewInitial);
    EXPECT_EQ(fileBytes(data + u"/history.ini"_s), history);
    EXPECT_EQ(inside(), QStringList({"history.ini", "initial.ini", "option.ini"}));
}

} // namespace
