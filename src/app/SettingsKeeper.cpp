#include "app/SettingsKeeper.h"

#include "app/SaveMessages.h"

#include "desktop/MessageBox.h"
#include "engine/Clock.h"
#include "system/FolderLock.h"

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
    if (found.foreign.kind != ForeignFinding::None) {
        m_readOnlyBecause = found.foreign.path;
        told << foreignMessage(found.foreign);
    }
    if (!found.earlierSave.setAside.isEmpty())
        told << setAsideMessage(found.earlierSave.setAside);
    // A save the last run committed and could not finish: the files read are older than it, so
    // nothing is written over it before the next start finishes it.
    if (found.earlierSave.status == CommitOutcome::Pending) {
        m_unfinishedSave = found.earlierSave.path;
        told << QStringList{QStringLiteral("前回の保存を最後まで終えられませんでした。"),
                            QDir::toNativeSeparators(m_unfinishedSave),
                            QStringLiteral(
                                "次に起動したときに仕上げます。それまで設定は保存しません。"),
                            QStringLiteral("起動するたびにこのお知らせが出るときは、このファイルを"
                                           "読み書きできるか、ディスクに異常がないかを確かめて"
                                           "ください。")}
                    .join(u'\n');
    } else if (found.earlierSave.status == CommitOutcome::Blocked) {
        told << saveMessage(found.earlierSave);
    }
    // A file the system would not read now is no file to replace: nothing is written this run.
    for (const auto& [finding, path] :
         {std::pair(initial, initialPath), std::pair(options, optionPath)}) {
        if (finding != FileFinding::Unreadable || !m_readOnlyBecause.isEmpty())
            continue;
        m_readOnlyBecause = path;
        told << cannotReadNowMessage(path, initial == FileFinding::Unreadable);
    }
    // A run that writes nothing keeps no copy either.
    const auto keep = [&](const QString& path, const QString& tag) -> std::optional<QString> {
        if (!m_readOnlyBecause.isEmpty())
            return std::nullopt;
        return keepDatedCopy(path, tag, now);
    };
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
                                  keep(initialPath, QStringLiteral("broken")));
    }
    if (options == FileFinding::DidNotRead) {
        const std::optional<QString> copy = keep(optionPath, QStringLiteral("broken"));
        if (m_state.started != 0) {
            told << cannotReadMessage(optionPath,
                                      QStringLiteral("表示などの設定を初期値に戻しました。"
                                                     "禁煙を始めた日時からそのまま数え続けます。"),
                                      copy);
        } else {
            QString text =
                cannotReadMessage(optionPath, QStringLiteral("初期設定からやり直します。"), copy);
            // The first run will replace the quit data too: keep that as well.
            if (initial == FileFinding::Read || initial == FileFinding::ReadAsUtf8) {
                if (const auto backup = keep(initialPath, QStringLiteral("backup")))
                    text += QStringLiteral("\n初期設定を終えると、禁煙を始めた日時などは"
                                           "今の時刻で置き換わります。元の内容は %1 に控えて"
                                           "あります。")
                                .arg(QFileInfo(*backup).fileName());
            }
            told << text;
        }
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
    if ((m_initialBehind || m_optionBehind) && m_readOnlyBecause.isEmpty()) {
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
    if (!m_readOnlyBecause.isEmpty()) {
        showOkMessage(owner, notSavedThisRunMessage(m_readOnlyBecause));
        return false;
    }
    if (dataFolderLockLost()) {
        showOkMessage(owner, lockLostMessage(lockPath()));
        return false;
    }
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
    if (!m_unfinishedSave.isEmpty() || !m_readOnlyBecause.isEmpty()) {
        behind = true;
        return;
    }
    // Another copy may have taken the folder since: its save is not written over.
    if (dataFolderLockLost()) {
        behind = true;
        tell(lockLostMessage(lockPath()));
        return;
    }
    const CommitOutcome saved = write(m_state);
    behind = !saved.done();
    if (behind)
        tell(saveMessage(saved));
}

QString SettingsKeeper::lockPath() const {
    return dataDirPath(m_state.appDir) + u'/' + QLatin1String(kFolderLockName);
}

void SettingsKeeper::tell(const QString& text) {
    // Nobody may be there to answer a box, and the session waits for the end.
    if (m_unattended) {
        qWarning().noquote() << text;
        return;
    }
    if (m_toldCannotSave)
        return;
    m_toldCannotSave = true;
    showOkMessage(nullptr, text);
}
