#pragma once

#include "settings/AppState.h"
#include "settings/FileCommit.h"
#include "settings/SettingsFiles.h"

#include <QString>

#include <functional>

class QWidget;

// Keeps the settings files in step with the state in memory and tells the user what the disk
// would not take. Until a file takes the state, memory stays ahead of the disk and is not read
// over; the first failure of a run is told, later ones are not.
class SettingsKeeper {
public:
    explicit SettingsKeeper(AppState& state) : m_state(state) {}

    // Tells, in one message, what start-up could not read or write and what it kept.
    void tellStartUpFindings(const DataFolderFindings& found, FileFinding options);
    // Reads both files into the state, where memory is not ahead of them. Until some quit moment
    // is known, the count starts now.
    void readFiles();
    // Write a file now, where no window waits for the outcome.
    void writeInitialFile();
    void writeOptionFile();
    // Saves `next` as both files for a window that waits. False, told over `owner`, when nothing
    // was saved; else the state becomes `next`, and a commit the disk has not yet put in place
    // is told and finished later.
    bool saveBoth(const AppState& next, QWidget* owner);
    // The same for a new quit moment with the history that ended the attempt before it: initial.ini
    // and history.ini, option.ini too when asked, in one commit.
    bool saveWithHistory(const AppState& next, const QByteArray& history, bool withOptions,
                         QWidget* owner);
    // This run writes nothing in the data folder: it is another's, or a file did not read.
    bool isReadOnly() const { return !m_readOnlyBecause.isEmpty(); }
    // Nobody may be there to answer a box: failures go to standard error.
    void tellUnattended() { m_unattended = true; }

private:
    bool save(const AppState& next, const std::function<CommitOutcome()>& commit, QWidget* owner);
    void write(CommitOutcome (*write)(const AppState&), bool& behind);
    // The first failure of a run in a box, every one at an unattended end.
    void tell(const QString& text);
    QString lockPath() const;

    AppState& m_state;
    bool m_initialBehind = false; // memory holds what initial.ini could not take
    bool m_optionBehind = false;
    bool m_toldCannotSave = false;
    bool m_unattended = false;
    QString m_unfinishedSave;  // a save of the last run that start-up could not finish
    QString m_readOnlyBecause; // a settings file the system would not read at start-up
};
