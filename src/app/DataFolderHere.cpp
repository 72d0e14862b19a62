#include "app/DataFolder.h"

#include "system/CurrentFolder.h"

#include <QCoreApplication>
#include <QDir>

std::optional<QString> dataFolder() {
    return currentFolder();
}

QString dataFolderRefusal(const QString& folder) {
    const QString where = QDir::toNativeSeparators(folder);
    switch (folderUse(folder)) {
    case FolderUse::Temporary:
        return QStringLiteral("一時フォルダから起動されたため、設定を保存できません。\n") + where +
               QStringLiteral("\nZIP ファイルの中から起動したときは、先にすべて展開してから、"
                              "展開したフォルダの kemurin.exe を起動してください。");
    case FolderUse::System:
        return QStringLiteral("Windows のフォルダから起動されたため、設定を保存できません。\n") +
               where +
               QStringLiteral("\nショートカットから起動するときは、「作業フォルダー」に "
                              "kemurin.exe のあるフォルダを指定してください。");
    case FolderUse::Ordinary:
        break;
    }
    return {};
}

SessionStart sessionStart(const QString& folder) {
    return {QCoreApplication::applicationFilePath(), folder};
}
