#include "app/SaveMessages.h"

#include <QDir>
#include <QFileInfo>

QString cannotSaveMessage(const QString& path) {
    return QStringList{
        QStringLiteral("設定を保存できませんでした。"), QDir::toNativeSeparators(path),
        QStringLiteral("フォルダに書き込めるか、ディスクに空きがあるかを確かめてください。")}
        .join(u'\n');
}

QString saveMessage(const CommitOutcome& saved) {
    const QString path = QDir::toNativeSeparators(saved.path);
    switch (saved.status) {
    case CommitOutcome::Pending:
        return QStringList{
            QStringLiteral("設定は保存しましたが、ファイルをまだ置き換えられていません。"), path,
            QStringLiteral("次に保存するときか、次に起動したときに置き換えます。")}
            .join(u'\n');
    case CommitOutcome::Blocked:
        return QStringList{
            QStringLiteral("設定を保存できませんでした。"), path,
            QStringLiteral("このプログラムが作ったものではないため、手を付けずにあります。"
                           "別の場所へ移すか削除してから、もう一度保存してください。")}
            .join(u'\n');
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
