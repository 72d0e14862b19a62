#include "settings/SettingsFiles.h"

#include "settings/SettingsEntry.h"
#include "settings/SettingsRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// The field order of both files is fixed: files written by every earlier version rely on it.
std::array<SettingsField, 8> initialFields(AppState& s) {
    return {&s.quitMoment[1], &s.quitMoment[2], &s.quitMoment[3], &s.quitMoment[4],
            &s.quitMoment[5], &s.perDay,        &s.packPrice,     &s.cigLength};
}

std::array<SettingsField, 15> optionFields(AppState& s) {
    return {&s.started,
            &s.tobaccoTaxPer1000,
            &s.consumptionTaxPercent,
            &s.copyPlusMode,
            &s.smokingYears,
            &s.boxDisplay,
            &s.mainLeft,
            &s.mainTop,
            &s.backColour,
            &s.textColour,
            TextField{&s.blogUrl, &s.blogUrlBytes},
            &s.windowMode,
            &s.miniLeft,
            &s.miniTop,
            TextField{&s.statusMode, &s.statusModeBytes}};
}

// Nothing stands at the path, not even a link that leads nowhere.
bool isMissing(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

// Only what could be read back is replaced; a read-only file is the user's "do not touch".
bool isReplaceable(const QString& path) {
    const QFileInfo info(path);
    return isMissing(path) || (info.isFile() && info.isReadable() && info.isWritable());
}

std::optional<QByteArray> readSettingsBytes(const QString& path) {
    // Checked before opening: a pipe would block the open, a link to a device never end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxSettingsFileSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(kMaxSettingsFileSize + 1);
    if (bytes.size() > kMaxSettingsFileSize)
        return std::nullopt;
    return bytes;
}

// A new content written out in full beside its file, waiting to take the file's place.
class PendingFile {
public:
    explicit PendingFile(const QString& path) : m_path(path), m_file(path) {
        m_file.setDirectWriteFallback(false);
    }

    bool write(const std::optional<QByteArray>& bytes) {
        if (!bytes || !isReplaceable(m_path))
            return false;
        // Unbuffered, so that a short write shows here rather than being lost in a late flush.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        if (m_file.write(*bytes) != bytes->size()) {
            m_file.cancelWriting();
            return false;
        }
        return true;
    }
    bool commit() { return m_file.commit(); }

private:
    QString m_path;
    QSaveFile m_file;
};

bool writeBytes(const QString& path, const std::optional<QByteArray>& bytes) {
    PendingFile file(path);
    return file.write(bytes) && file.commit();
}

// QSaveFile writes "<file>.XXXXXX" (six random letters) and renames it over the file; a kill
// before the rename leaves it behind. A name in lower case only ("backup") is one a person gives
// a copy, and one leftover in 64 that stays.
void removeUnfinishedWrites(const QString& dataDir) {
    static const QRegularExpression leftover(
        QStringLiteral("^(initial|option)\\.ini\\.([A-Za-z]{6})$"));
    for (const QFileInfo& entry : QDir(dataDir).entryInfoList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = leftover.match(entry.fileName());
        if (!entry.isSymLink() && match.hasMatch() &&
            match.captured(2) != match.captured(2).toLower())
            QFile::remove(entry.filePath());
    }
}

bool sameBytes(const QString& a, const QString& b) {
    QFile fa(a);
    QFile fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd()) {
        if (fa.read(kMaxSettingsFileSize) != fb.read(kMaxSettingsFileSize))
            return false;
    }
    return true;
}

} // namespace

QString dataDirPath(const QString& appDir) {
    return appDir + QStringLiteral("/kemurindata");
}

QString initialFilePath(const QString& appDir) {
    return dataDirPath(appDir) + QStringLiteral("/initial.ini");
}

QString optionFilePath(const QString& appDir) {
    return dataDirPath(appDir) + QStringLiteral("/option.ini");
}

bool readInitialRecord(QByteArrayView bytes, AppState& state) {
    AppState read = state;
    if (!parseRecord(bytes, initialFields(read)) ||
        !isAcceptableQuitMoment(read.quitMoment, kLastCalendarYear))
        return false;
    state = std::move(read);
    return true;
}

bool readOptionRecord(QByteArrayView bytes, AppState& state) {
    return parseRecord(bytes, optionFields(state));
}

std::optional<QByteArray> initialRecord(const AppState& state) {
    AppState s = state;
    return formatRecord(initialFields(s));
}

std::optional<QByteArray> optionRecord(const AppState& state) {
    AppState s = state;
    return formatRecord(optionFields(s));
}

bool readInitialFile(AppState& state) {
    const std::optional<QByteArray> bytes = readSettingsBytes(initialFilePath(state.appDir));
    return bytes && readInitialRecord(*bytes, state);
}

bool readOptionFile(AppState& state) {
    const std::optional<QByteArray> bytes = readSettingsBytes(optionFilePath(state.appDir));
    return bytes && readOptionRecord(*bytes, state);
}

bool writeInitialFile(const AppState& state) {
    return writeBytes(initialFilePath(state.appDir), initialRecord(state));
}

bool writeOptionFile(const AppState& state) {
    return writeBytes(optionFilePath(state.appDir), optionRecord(state));
}

std::optional<QString> writeSettingsFiles(const AppState& state) {
    QDir().mkdir(dataDirPath(state.appDir));
    const QString initialPath = initialFilePath(state.appDir);
    const QString optionPath = optionFilePath(state.appDir);
    const bool initialWasMissing = isMissing(initialPath);
    const std::optional<QByteArray> previous = readSettingsBytes(initialPath);
    PendingFile initial(initialPath);
    PendingFile option(optionPath);
    if (!initial.write(initialRecord(state)))
        return initialPath;
    if (!option.write(optionRecord(state)))
        return optionPath;
    if (!initial.commit())
        return initialPath;
    if (!option.commit()) {
        if (previous)
            writeBytes(initialPath, *previous);
        else if (initialWasMissing)
            QFile::remove(initialPath);
        return optionPath;
    }
    return std::nullopt;
}

FileFinding ensureDataFiles(AppState& state, const DateTimeParts& now) {
    const QString dir = dataDirPath(state.appDir);
    QDir().mkdir(dir);
    removeUnfinishedWrites(dir);
    if (isMissing(initialFilePath(state.appDir))) {
        state.setQuitDefaults(now);
        return writeInitialFile(state) ? FileFinding::Created : FileFinding::NotCreated;
    }
    AppState probe = state;
    return readInitialFile(probe) ? FileFinding::Read : FileFinding::DidNotRead;
}

FileFinding loadOptions(AppState& state) {
    if (isMissing(optionFilePath(state.appDir))) {
        state.setOptionDefaults();
        return writeOptionFile(state) ? FileFinding::Created : FileFinding::NotCreated;
    }
    if (readOptionFile(state))
        return FileFinding::Read;
    state.setOptionDefaults();
    return FileFinding::DidNotRead;
}

std::optional<QString> keepDatedCopy(const QString& path, const QString& tag, const QDateTime& at) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return std::nullopt;
    const QDir dir = info.absoluteDir();
    const QString prefix = info.fileName() + u'.' + tag + u'-';
    for (const QFileInfo& copy : dir.entryInfoList({prefix + u'*'}, QDir::Files | QDir::Hidden)) {
        if (sameBytes(copy.filePath(), path))
            return copy.filePath();
    }
    const QString name = prefix + at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = dir.filePath(name);
    for (int n = 2; QFileInfo(copy).exists() || QFileInfo(copy).isSymLink(); ++n)
        copy = dir.filePath(name + u'-' + QString::number(n));
    if (!QFile::copy(path, copy))
        return std::nullopt;
    return copy;
}
