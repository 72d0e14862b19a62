#include "settings/SettingsFiles.h"

#include "settings/FileCommit.h"
#include "settings/SettingsEntry.h"
#include "settings/SettingsRecord.h"
#include "system/OpenFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The field order of both files is fixed: files written by every earlier version rely on it.
std::array<SettingsField, 8> initialFields(AppState& s) {
    return {&s.quitMoment[1], &s.quitMoment[2], &s.quitMoment[3], &s.quitMoment[4],
            &s.quitMoment[5], &s.perDay,        &s.packPrice,     &s.cigLength};
}

std::array<SettingsField, 15> optionFields(AppState& s) {
    return {&s.started,
            &s.tobaccoTaxPer1000,
            &s.consumptionTaxPercent,
            &s.copyPlusMode,
            &s.smokingYears,
            &s.boxDisplay,
            &s.mainLeft,
            &s.mainTop,
            &s.backColour,
            &s.textColour,
            TextField{&s.blogUrl, &s.blogUrlBytes},
            &s.windowMode,
            &s.miniLeft,
            &s.miniTop,
            TextField{&s.statusMode, &s.statusModeBytes}};
}

// Only what could be read back is replaced; a read-only file is the user's "do not touch".
// Nothing at all may stand there, not even a link that leads nowhere.
bool isReplaceable(const QString& path) {
    const QFileInfo info(path);
    return (!info.exists() && !info.isSymLink()) ||
           (info.isFile() && info.isReadable() && info.isWritable());
}

FileBytes readSettingsFile(const QString& appDir, const QString& name) {
    return readFolderFile(dataDirPath(appDir), name, kMaxSettingsFileSize);
}

CommitFolder settingsFolder(const QString& appDir) {
    return {dataDirPath(appDir),
            {QStringLiteral("initial.ini"), QStringLiteral("option.ini"),
             QStringLiteral("history.ini")}};
}

// One file, or both, replaced through one commit. Only a file that could be read back is
// replaced.
CommitOutcome replaceFiles(const QString& appDir, const std::vector<Replacement>& files) {
    const CommitFolder folder = settingsFolder(appDir);
    for (const Replacement& r : files) {
        const QString path = folder.path + u'/' + r.name;
        if (r.bytes.isEmpty() || !isReplaceable(path))
            return {CommitOutcome::NotSaved, path, {}};
    }
    return replaceTogether(folder, files);
}

FileFinding readFinding(QByteArrayView bytes) {
    return isUtf8Record(bytes) ? FileFinding::ReadAsUtf8 : FileFinding::Read;
}

// A file as opened, never through a link nor waiting on a pipe swapped in since it was listed.
FileBytes readAsOpened(const OpenFolder& folder, const QString& name) {
    return readFolderFile(folder, name, kMaxSettingsFileSize, Links::Refuse);
}

// The folder first: in another's, every name may be a link of theirs.
ForeignFinding foreignFinding(const CommitFolder& folder) {
    const OpenFolder opened(folder.path);
    switch (opened.owner()) {
    case FolderOwner::AnotherUser:
        return {ForeignFinding::AnotherUsersFolder, folder.path};
    case FolderOwner::OthersCanWrite:
        return {ForeignFinding::OthersCanWrite, folder.path};
    case FolderOwner::Own:
        break;
    }
    for (const QString& name : folder.names) {
        if (opened.ownedByAnotherUser(name))
            return {ForeignFinding::AnotherUsersFile, folder.path + u'/' + name};
    }
    return {};
}

} // namespace

QString dataDirPath(const QString& appDir) {
    return appDir + QStringLiteral("/kemurindata");
}

QString initialFilePath(const QString& appDir) {
    return dataDirPath(appDir) + QStringLiteral("/initial.ini");
}

QString optionFilePath(const QString& appDir) {
    return dataDirPath(appDir) + QStringLiteral("/option.ini");
}

bool readInitialRecord(QByteArrayView bytes, AppState& state) {
    AppState read = state;
    if (!parseRecord(bytes, initialFields(read)) ||
        !isAcceptableQuitMoment(read.quitMoment, kLastCalendarYear))
        return false;
    state = std::move(read);
    return true;
}

bool readOptionRecord(QByteArrayView bytes, AppState& state) {
    return parseRecord(bytes, optionFields(state));
}

std::optional<QByteArray> initialRecord(const AppState& state) {
    AppState s = state;
    return formatRecord(initialFields(s));
}

std::optional<QByteArray> optionRecord(const AppState& state) {
    AppState s = state;
    return formatRecord(optionFields(s));
}

bool readInitialFile(AppState& state) {
    const FileBytes read = readSettingsFile(state.appDir, QStringLiteral("initial.ini"));
    return read.status == FileBytes::Read && readInitialRecord(read.bytes, state);
}

bool readOptionFile(AppState& state) {
    const FileBytes read = readSettingsFile(state.appDir, QStringLiteral("option.ini"));
    return read.status == FileBytes::Read && readOptionRecord(read.bytes, state);
}

CommitOutcome writeInitialFile(const AppState& state) {
    return replaceFiles(state.appDir,
                        {{QStringLiteral("initial.ini"), initialRecord(state).value_or("")}});
}

CommitOutcome writeOptionFile(const AppState& state) {
    return replaceFiles(state.appDir,
                        {{QStringLiteral("option.ini"), optionRecord(state).value_or("")}});
}

CommitOutcome writeSettingsFiles(const AppState& state) {
    QDir().mkdir(dataDirPath(state.appDir));
    return replaceFiles(state.appDir,
                        {{QStringLiteral("initial.ini"), initialRecord(state).value_or("")},
                         {QStringLiteral("option.ini"), optionRecord(state).value_or("")}});
}

CommitOutcome writeQuitAndHistory(const AppState& state, const QByteArray& history,
                                  bool withOptions) {
    QDir().mkdir(dataDirPath(state.appDir));
    std::vector<Replacement> files{
        {QStringLiteral("initial.ini"), initialRecord(state).value_or("")},
        {QStringLiteral("history.ini"), history}};
    if (withOptions)
        files.push_back({QStringLiteral("option.ini"), optionRecord(state).value_or("")});
    return replaceFiles(state.appDir, files);
}

DataFolderFindings ensureDataFiles(AppState& state, const DateTimeParts& now) {
    const CommitFolder folder = settingsFolder(state.appDir);
    QDir().mkdir(folder.path);
    DataFolderFindings found;
    found.foreign = foreignFinding(folder);
    const bool writes = found.foreign.kind == ForeignFinding::None;
    if (writes) {
        found.earlierSave = settleCommit(folder);
        removeUnfinishedWrites(folder);
    }
    const FileBytes read = readSettingsFile(state.appDir, QStringLiteral("initial.ini"));
    if (read.status == FileBytes::Missing) {
        state.setQuitDefaults(now);
        found.initial = writes && writeInitialFile(state).status == CommitOutcome::Done
                            ? FileFinding::Created
                            : FileFinding::NotCreated;
        return found;
    }
    if (read.status == FileBytes::Failed) {
        state.setQuitDefaults(now);
        found.initial = FileFinding::Unreadable;
        return found;
    }
    found.initial = read.status == FileBytes::Read && readInitialRecord(read.bytes, state)
                        ? readFinding(read.bytes)
                        : FileFinding::DidNotRead;
    return found;
}

FileFinding loadOptions(AppState& state, const DataFolderFindings& found) {
    const bool quitMomentRead =
        found.initial == FileFinding::Read || found.initial == FileFinding::ReadAsUtf8;
    const FileBytes read = readSettingsFile(state.appDir, QStringLiteral("option.ini"));
    if (read.status == FileBytes::Missing) {
        state.setOptionDefaults();
        return found.foreign.kind == ForeignFinding::None &&
                       writeOptionFile(state).status == CommitOutcome::Done
                   ? FileFinding::Created
                   : FileFinding::NotCreated;
    }
    if (read.status == FileBytes::Read && readOptionRecord(read.bytes, state))
        return readFinding(read.bytes);
    state.setOptionDefaults();
    // The first run would write today over the quit moment: it comes back only when the file
    // still says the count never started, or there is no quit moment to keep.
    std::int32_t started = quitMomentRead ? 1 : 0;
    if (read.status == FileBytes::Read)
        parseRecord(read.bytes, std::array<SettingsField, 1>{&started});
    state.started = started;
    return read.status == FileBytes::Failed ? FileFinding::Unreadable : FileFinding::DidNotRead;
}

std::optional<QString> keepDatedCopy(const QString& path, const QString& tag, const QDateTime& at) {
    const QFileInfo info(path);
    OpenFolder folder(info.path());
    const FileBytes read = readAsOpened(folder, info.fileName());
    // No settings file is that large: it is moved aside whole rather than copied into the folder.
    const bool oversized = read.status == FileBytes::TooLarge;
    if (!oversized && (read.status != FileBytes::Read || read.bytes.isEmpty()))
        return std::nullopt;
    const QString prefix = info.fileName() + u'.' + tag + u'-';
    for (const QString& copy : info.dir().entryList({prefix + u'*'}, QDir::Files | QDir::Hidden)) {
        const FileBytes kept = readAsOpened(folder, copy);
        if (!oversized && kept.status == FileBytes::Read && kept.bytes == read.bytes)
            return folder.filePath(copy);
    }
    const QString name = prefix + at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString copy = folder.unusedName(name);
    // Relative when the data folder is: its full name may not read as text.
    const bool kept =
        oversized ? folder.rename(info.fileName(), copy) : folder.create(copy, read.bytes);
    return kept ? std::optional(folder.filePath(copy)) : std::nullopt;
}
