#include "app/SettingsKeeper.h"

#include "app/SaveMessages.h"

#include "desktop/MessageBox.h"
#include "engine/Clock.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kCountsFromNow =
    QStringLiteral("禁煙を始めた日時が分からないため、今の時刻から数えます。");

} // namespace

void SettingsKeeper::tellStartUpFindings(const DataFolderFindings& found, FileFinding options) {
    const FileFinding initial = found.initial;
    const QDateTime now = Clock::current().localNow();
    const QString initialPath = initialFilePath(m_state.appDir);
    const QString optionPath = optionFilePath(m_state.appDir);
    QStringList told;
    if (!found.earlierSave.setAside.isEmpty())
        told << setAsideMessage(found.earlierSave.setAside);
    // A save the last run committed and could not finish: the files read are older than it, so
    // nothing is written over it before the next start finishes it.
    if (found.earlierSave.status == CommitOutcome::Pending) {
        m_unfinishedSave = found.earlierSave.path;
        told << QStringList{QStringLiteral("前回の保存を最後まで終えられませんでした。"),
                            QDir::toNativeSeparators(m_unfinishedSave),
                            QStringLiteral(
                                "次に起動したときに仕上げます。それまで設定は保存しません。")}
                    .join(u'\n');
    } else if (found.earlierSave.status == CommitOutcome::Blocked) {
        told << saveMessage(found.earlierSave);
    }
    // The count ran, but its start is lost: said once, as the next start finds the new file.
    if ((initial == FileFinding::Created || initial == FileFinding::NotCreated) &&
        m_state.started != 0)
        told << QStringList{QStringLiteral("設定ファイルが見つかりませんでした。"),
                            QDir::toNativeSeparators(initialPath), kCountsFromNow}
                    .join(u'\n');
    // A file that does not read is copied aside before anything can replace it.
    if (initial == FileFinding::DidNotRead) {
        const QString consequence = m_state.started == 0 ? QString() : kCountsFromNow;
        told << cannotReadMessage(initialPath, consequence,
                                  keepDatedCopy(initialPath, QStringLiteral("broken"), now));
    }
    if (options == FileFinding::DidNotRead) {
        QString text = cannotReadMessage(optionPath, QStringLiteral("初期設定からやり直します。"),
                                         keepDatedCopy(optionPath, QStringLiteral("broken"), now));
        // The first run will replace the quit data too: keep that as well.
        if (initial == FileFinding::Read || initial == FileFinding::ReadAsUtf8) {
            if (const auto copy = keepDatedCopy(initialPath, QStringLiteral("backup"), now))
                text += QStringLiteral("\n禁煙を始めた日時などは %1 に控えてあります。")
                            .arg(QFileInfo(*copy).fileName());
        }
        told << text;
    }
    // An editor's UTF-8 reads, and is told until a save writes code page 932 again.
    for (const auto& [finding, path] :
         {std::pair(initial, initialPath), std::pair(options, optionPath)}) {
        if (finding == FileFinding::ReadAsUtf8)
            told << QStringList{QStringLiteral("設定ファイルが UTF-8 で保存されていたため、"
                                               "UTF-8 として読み込みました。"),
                                QDir::toNativeSeparators(path),
                                QStringLiteral("次に保存するときにシフトJISで書き直します。")}
                        .join(u'\n');
    }
    m_initialBehind = initial == FileFinding::NotCreated;
    m_optionBehind = options == FileFinding::NotCreated;
    if (m_initialBehind || m_optionBehind) {
        told << cannotSaveMessage(m_initialBehind ? initialPath : optionPath);
        m_toldCannotSave = true;
    }
    if (!told.isEmpty())
        showOkMessage(nullptr, told.join(QStringLiteral("\n\n")));
}

void SettingsKeeper::readFiles() {
    // A broken initial.ini is left on disk for the user to mend.
    const bool initialRead = !m_initialBehind && readInitialFile(m_state);
    if (!initialRead && m_state.quitMoment[1] == 0)
        m_state.setQuitDefaults(currentMinuteParts());
    if (!m_optionBehind)
        readOptionFile(m_state);
}

void SettingsKeeper::writeInitialFile() {
    write(::writeInitialFile, m_initialBehind);
}

void SettingsKeeper::writeOptionFile() {
    write(::writeOptionFile, m_optionBehind);
}

bool SettingsKeeper::saveBoth(const AppState& next, QWidget* owner) {
    return save(
        next, [&next] { return writeSettingsFiles(next); }, owner);
}

bool SettingsKeeper::saveWithHistory(const AppState& next, const QByteArray& history,
                                     bool withOptions, QWidget* owner) {
    return save(
        next, [&] { return writeQuitAndHistory(next, history, withOptions); }, owner);
}

bool SettingsKeeper::save(const AppState& next, const std::function<CommitOutcome()>& commit,
                          QWidget* owner) {
    const CommitOutcome saved = m_unfinishedSave.isEmpty()
                                    ? commit()
                                    : CommitOutcome{CommitOutcome::NotSaved, m_unfinishedSave, {}};
    if (saved.status == CommitOutcome::NotSaved || saved.status == CommitOutcome::Blocked) {
        showOkMessage(owner, saveMessage(saved));
        return false;
    }
    m_state = next;
    // Committed is saved: what the disk refused now is put in place by the next save or start,
    // and until then the files are not read over what memory holds.
    m_initialBehind = m_optionBehind = !saved.done();
    if (!saved.done())
        showOkMessage(owner, saveMessage(saved));
    return true;
}

void SettingsKeeper::write(CommitOutcome (*write)(const AppState&), bool& behind) {
    if (!m_unfinishedSave.isEmpty()) {
        behind = true;
        return;
    }
    const CommitOutcome saved = write(m_state);
    behind = !saved.done();
    if (behind)
        tellSaveFailure(saved);
}

void SettingsKeeper::tellSaveFailure(const CommitOutcome& saved) {
    // Nobody may be there to answer a box, and the session waits for the end.
    if (m_unattended) {
        qWarning().noquote() << saveMessage(saved);
        return;
    }
    if (m_toldCannotSave)
        return;
    m_toldCannotSave = true;
    showOkMessage(nullptr, saveMessage(saved));
}
