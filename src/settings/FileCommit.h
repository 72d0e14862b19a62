#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Replaces files together: a crash at any moment leaves all of them old or all of them new.
// Each new content is written and synced as "<file>.new"; a marker in the folder, itself put in
// place in one rename, then records the commit, naming each new file and a digest of its bytes;
// the renames follow, the folder is synced and the marker goes.

struct Replacement {
    QString path;
    QByteArray bytes;
};

// Gives the path that could not be written when the commit was not made; the files are then as
// they were. Once committed the replacement stands: renames it could not finish are finished
// by settleCommit, at the latest at the next start.
std::optional<QString> replaceTogether(const QString& folder,
                                       const std::vector<Replacement>& files);

// Finishes a commit a crash cut short when every new file is whole, else drops the new files.
// True when no commit is left pending in the folder.
bool settleCommit(const QString& folder);

// What an interrupted write leaves in the folder without a commit: the new files and the
// marker's own new file.
inline constexpr const char* kUnfinishedWriteNames[] = {"initial.ini.new", "option.ini.new",
                                                        "save.commit.new"};
