#include "app/SaveMessages.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A message of three lines: what happened, the path it happened at, what to do.
QString toldAt(const QString& what, const QString& path, const QString& todo) {
    return QStringList{what, QDir::toNativeSeparators(path), todo}.join(u'\n');
}

} // namespace

QString cannotSaveMessage(const QString& path) {
    return toldAt(
        QStringLiteral("設定を保存できませんでした。"), path,
        QStringLiteral("フォルダに書き込めるか、ディスクに空きがあるかを確かめてください。"));
}

QString saveMessage(const CommitOutcome& saved) {
    const QString& path = saved.path;
    switch (saved.status) {
    case CommitOutcome::Pending:
        return toldAt(
            QStringLiteral("設定は保存しましたが、ファイルをまだ置き換えられていません。"), path,
            QStringLiteral("次に保存するときか、次に起動したときに置き換えます。"));
    case CommitOutcome::Blocked:
        return toldAt(
            QStringLiteral("設定を保存できませんでした。"), path,
            QStringLiteral("このプログラムが作ったものではないため、手を付けずにあります。"
                           "別の場所へ移すか削除してから、もう一度保存してください。"));
    case CommitOutcome::Done:
    case CommitOutcome::NotSaved:
        break;
    }
    return cannotSaveMessage(saved.path);
}

QString setAsideMessage(const QStringList& paths) {
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return QStringLiteral(
               "データフォルダに、このプログラムの保存とは思えないファイルがありました。\n"
               "使わずに、次の名前で残してあります。\n") +
           names.join(u'\n');
}

QString cannotReadMessage(const QString& path, const QString& consequence,
                          const std::optional<QString>& copy) {
    QStringList lines{QStringLiteral("設定ファイルを読み込めませんでした。"),
                      QDir::toNativeSeparators(path)};
    if (!consequence.isEmpty())
        lines << consequence;
    lines << (copy ? QStringLiteral("壊れたファイルは %1 として残しました。")
                         .arg(QFileInfo(*copy).fileName())
                   : QStringLiteral("ファイルはそのままにしてあります。"));
    return lines.join(u'\n');
}

QString cannotReadNowMessage(const QString& path, bool quitMomentLost) {
    QStringList lines{QStringLiteral("設定ファイルを今は読み込めませんでした。"),
                      QDir::toNativeSeparators(path)};
    if (quitMomentLost)
        lines << QStringLiteral("禁煙を始めた日時が分からないため、今回は今の時刻から数えて"
                                "表示します。");
    lines << QStringLiteral("ファイルには手を付けず、今回は設定を保存しません。")
          << QStringLiteral("同期やウイルス対策のソフトがファイルを使っていないか、"
                            "ディスクに異常がないかを確かめてから、起動し直してください。");
    return lines.join(u'\n');
}

QString notSavedThisRunMessage(const QString& path) {
    return toldAt(QStringLiteral("今回は設定を保存しません。"), path,
                  QStringLiteral("起動したときにお知らせしたことを確かめてから、"
                                 "起動し直してください。"));
}

QString foreignMessage(const ForeignFinding& found) {
    const QString first =
        found.kind == ForeignFinding::AnotherUsersFolder
            ? QStringLiteral("データフォルダが別のユーザーのものです。")
        : found.kind == ForeignFinding::OthersCanWrite
            ? QStringLiteral("データフォルダを、ほかのユーザーも書き換えられるようになっています。")
            : QStringLiteral("設定ファイルが別のユーザーのものです。");
    const QString todo =
        found.kind == ForeignFinding::OthersCanWrite
            ? QStringLiteral("フォルダのアクセス許可を、自分だけが書き込めるように"
                             "直してください。")
            : QStringLiteral("自分のフォルダにコピーして、そこから起動してください。");
    return QStringList{
        first, QDir::toNativeSeparators(found.path),
        QStringLiteral("別のユーザーがファイルをすり替えられるため、リンクはたどらず、"
                       "今回は設定を保存しません。"),
        todo}
        .join(u'\n');
}

QString folderLockMessage(FileLock::Outcome outcome, const QString& path, const QString& error) {
    switch (outcome) {
    case FileLock::Outcome::Held:
    case FileLock::Outcome::CannotCreate:
        return {};
    case FileLock::Outcome::Busy:
        return QStringLiteral("プログラムは既に起動されています。");
    case FileLock::Outcome::BusyOwnedByAnotherUser:
        return toldAt(QStringLiteral("このデータフォルダは、別のユーザーが起動したプログラムが"
                                     "使っています。"),
                      path,
                      QStringLiteral("同じ記録を二人で同時に使うことはできません。"
                                     "そのプログラムが終わってから起動してください。"));
    case FileLock::Outcome::CannotOpen:
        return toldAt(
            QStringLiteral("データフォルダのロックファイルを開けないため、起動できません。"), path,
            QStringLiteral("フォルダやリンクになっていないか、読み取れるかを確かめてください。"));
    case FileLock::Outcome::NotSupported:
        return toldAt(QStringLiteral("データフォルダのあるドライブではファイルをロックできない"
                                     "ため、起動できません。"),
                      path,
                      QStringLiteral("ネットワーク上のフォルダなどではロックが使えないことが"
                                     "あります。パソコンの中のフォルダで起動してください。"));
    case FileLock::Outcome::Failed:
        break;
    }
    return QStringList{
        QStringLiteral("データフォルダのロックファイルを開けないため、起動できません。"),
        QDir::toNativeSeparators(path), error,
        QStringLiteral("ディスクに異常がないかを確かめてから、起動し直してください。")}
        .join(u'\n');
}

QString lockLostMessage(const QString& path) {
    return toldAt(
        QStringLiteral(
            "データフォルダのロックファイルが消えたか、別のファイルに置き換えられました。"),
        path,
        QStringLiteral("別に起動したプログラムが同じ記録を使っているかもしれないため、設定を保存"
                       "しません。このプログラムを終わらせてから、起動し直してください。"));
}
