#pragma once

#include "settings/AppState.h"
#include "settings/FileCommit.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>

// The data folder "kemurindata" under appDir and its two one-line files. Every write replaces
// its file atomically and on the disk: a failed write leaves the previous file whole.
QString dataDirPath(const QString& appDir);
QString initialFilePath(const QString& appDir);
QString optionFilePath(const QString& appDir);

// A settings file is one line; anything longer is not one of ours.
inline constexpr qint64 kMaxSettingsFileSize = 64 * 1024;

// The records as the files hold them. initial.ini does not read either when its quit moment is
// none the settings window would take (up to the calendar's last year: a clock set back is no
// reason to distrust the file). A failed read leaves the state as it was.
bool readInitialRecord(QByteArrayView bytes, AppState& state);
bool readOptionRecord(QByteArrayView bytes, AppState& state);
std::optional<QByteArray> initialRecord(const AppState& state);
std::optional<QByteArray> optionRecord(const AppState& state);

// Only a regular file of at most kMaxSettingsFileSize bytes reads; a link of the user's own to one
// will do (readFolderFile). A read the system refuses is tried again for about a second.
bool readInitialFile(AppState& state);
bool readOptionFile(AppState& state);
// A write replaces only a regular file it may read and write, or makes a new one: a link to a
// device, a pipe, a folder or a read-only file stays as it is, and the write is NotSaved.
CommitOutcome writeInitialFile(const AppState& state);
CommitOutcome writeOptionFile(const AppState& state);
// Writes both files as one commit, creating the data folder if it went missing: a crash or a
// full disk at any moment leaves the old pair or the new one.
CommitOutcome writeSettingsFiles(const AppState& state);

// Writes initial.ini (a new quit moment) and history.ini (the attempt that ended, added) as one
// commit, option.ini too when asked: a crash leaves the old set or the new one.
CommitOutcome writeQuitAndHistory(const AppState& state, const QByteArray& history,
                                  bool withOptions);

// What start-up found of a settings file.
enum class FileFinding {
    Read,
    ReadAsUtf8, // read from an editor's UTF-8 (isUtf8Record); its next save writes code page 932
    Created,    // was missing, now holds the defaults
    NotCreated, // was missing and could not be written: the defaults live in memory only
    DidNotRead, // is there but does not read; left as it is
    Unreadable, // is there but the system would not read it now: nothing is written this run
};

// What in the data folder another user could have made: nothing there is written this run.
struct ForeignFinding {
    enum Kind { None, AnotherUsersFolder, OthersCanWrite, AnotherUsersFile } kind = None;
    QString path;
};

struct DataFolderFindings {
    FileFinding initial = FileFinding::Read;
    // What became of a save the last run committed but did not finish.
    CommitOutcome earlierSave;
    ForeignFinding foreign;
};

// Creates the data folder, finishes or drops a save the last run left, clears what interrupted
// writes left behind and reads initial.ini into the state. When it is missing, writes a new one
// quitting `now`; when it does not read, or cannot be read now, the state quits `now` in memory.
// In a folder with something foreign in it, nothing is settled, cleared or written.
DataFolderFindings ensureDataFiles(AppState& state, const DateTimeParts& now);

// Reads option.ini, creating it with the defaults when missing (unless start-up found something
// foreign); a file that does not read gives the defaults in memory and stays as it is. Its count
// stays started, as the file's first field says where it still reads, else as long as
// initial.ini's quit moment read.
FileFinding loadOptions(AppState& state, const DataFolderFindings& found);

// Keeps a copy of a file beside it, "<name>.<tag>-yyyyMMdd-hhmmss", unless a copy with the same
// bytes and tag is there already; a file over kMaxSettingsFileSize is renamed so instead. Gives
// the copy's path; nothing for a missing, empty or irregular file (a link, a device, a pipe) or
// when the copy fails.
std::optional<QString> keepDatedCopy(const QString& path, const QString& tag, const QDateTime& at);
