#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Replaces files of one folder together: a crash at any moment leaves all of them old or all of
// them new. Each new content is written and synced as "<file>.new"; a marker in the folder,
// itself put in place in one rename, then records the commit, naming each file by its plain name
// with a digest of its new bytes; the renames follow, the folder is synced and the marker goes.
//
// What the folder holds is input: a marker is acted on only when it is a small regular file that
// names the folder's own files, and a "<file>.new" only when it is a regular file with the
// committed bytes. A file that stands for a link is followed by the program itself, never by
// what the marker says.

// A folder and the plain names of the files a commit may replace in it.
struct CommitFolder {
    QString path;
    QStringList names;
};

struct Replacement {
    QString name; // one of the folder's names
    QByteArray bytes;
};

// How a save, or the settling of an earlier one, ended.
struct CommitOutcome {
    enum Status {
        Done,     // the new files are in place (or no commit was pending)
        Pending,  // the commit stands, but `path` could not be read or put in place now: the
                  // next save or start finishes it
        NotSaved, // `path` could not be written: the files are as they were
        Blocked,  // `path` is in the way and the program will not remove it
    };
    Status status = Done;
    QString path;
    // Leftovers not acted on, renamed aside beside the files: their new paths.
    QStringList setAside;

    bool done() const { return status == Done; }
};

// Saves the files as one commit.
CommitOutcome replaceTogether(const CommitFolder& folder, const std::vector<Replacement>& files);

// Finishes a commit a crash or an error cut short when every new file is whole, else drops the
// new files. Done when no commit is left pending; Pending when it must wait (a read or a rename
// failed); Blocked when something the program will not touch is in the way.
CommitOutcome settleCommit(const CommitFolder& folder);

// Removes what a write cut short before its commit leaves: the new files and the marker's own,
// unless a commit is pending.
void removeUnfinishedWrites(const CommitFolder& folder);
