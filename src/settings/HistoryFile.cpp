#include "settings/HistoryFile.h"

#include "settings/SettingsFiles.h"
#include "system/OpenFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QStringList datedCopies(const QString& path) {
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + QStringLiteral(".broken-*")},
                                QDir::Files | QDir::Hidden);
}

// A file too large to read is renamed, not copied: it may be as large as the disk.
std::optional<QString> setAside(const QString& path, const QDateTime& now) {
    const QFileInfo info(path);
    OpenFolder folder(info.path());
    const QString stem = info.fileName() + QStringLiteral(".toolarge-") +
                         now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString aside = folder.unusedName(stem);
    if (!folder.rename(info.fileName(), aside))
        return std::nullopt;
    return folder.filePath(aside);
}

} // namespace

HistoryLoad loadHistory(const QString& appDir, const QDateTime& now, bool mayWrite) {
    const QString path = historyFilePath(appDir);
    HistoryLoad load;
    FileBytes read =
        readFolderFile(dataDirPath(appDir), QLatin1String(kHistoryFileName), kMaxHistoryFileSize);
    switch (read.status) {
    case FileBytes::Missing:
        return load;
    case FileBytes::NotRegular:
    case FileBytes::Failed:
        load.finding = HistoryLoad::NotReadable;
        return load;
    case FileBytes::TooLarge:
        load.copy = mayWrite ? setAside(path, now) : std::nullopt;
        load.finding = load.copy ? HistoryLoad::SetAside : HistoryLoad::NotReadable;
        load.copyIsNew = load.copy.has_value();
        return load;
    case FileBytes::Read:
        break;
    }
    load.history = readHistory(read.bytes);
    if (load.history.unreadLines.empty()) {
        load.finding = HistoryLoad::Read;
        return load;
    }
    // Damage is told once: a start that finds its copy already kept says nothing more.
    load.finding = HistoryLoad::PartlyRead;
    if (!mayWrite)
        return load;
    const QStringList before = datedCopies(path);
    load.copy = keepDatedCopy(path, QStringLiteral("broken"), now);
    load.copyIsNew = load.copy && !before.contains(QFileInfo(*load.copy).fileName());
    return load;
}
