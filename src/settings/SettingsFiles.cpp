#include "settings/SettingsFiles.h"

#include "settings/SettingsRecord.h"
#include "settings/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

// The field order of both files is fixed: files written by every earlier version rely on it.
std::array<SettingsField, 8> initialFields(AppState& s) {
    return {&s.quitMoment[1], &s.quitMoment[2], &s.quitMoment[3], &s.quitMoment[4],
            &s.quitMoment[5], &s.perDay,        &s.packPrice,     &s.cigLength};
}

std::array<SettingsField, 15> optionFields(AppState& s) {
    return {&s.started,      &s.tobaccoTaxPer1000, &s.consumptionTaxPercent,
            &s.copyPlusMode, &s.smokingYears,      &s.boxDisplay,
            &s.mainLeft,     &s.mainTop,           &s.backColour,
            &s.textColour,   &s.blogUrl,           &s.windowMode,
            &s.miniLeft,     &s.miniTop,           &s.statusMode};
}

std::optional<QString> readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodeSettingsText(file.readAll());
}

// Writes beside the old file and renames over it, so a failure leaves the old file whole.
bool writeBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a short write shows here rather than being lost in a late flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeText(const QString& path, const QString& text) {
    const std::optional<QByteArray> bytes = encodeSettingsText(text);
    return bytes && writeBytes(path, *bytes);
}

bool canOpenForReading(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
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

bool readInitialFile(AppState& state) {
    const std::optional<QString> text = readText(initialFilePath(state.appDir));
    return text && parseRecord(*text, initialFields(state));
}

bool readOptionFile(AppState& state) {
    const std::optional<QString> text = readText(optionFilePath(state.appDir));
    return text && parseRecord(*text, optionFields(state));
}

bool writeInitialFile(const AppState& state) {
    AppState s = state;
    return writeText(initialFilePath(s.appDir), formatRecord(initialFields(s)));
}

bool writeOptionFile(const AppState& state) {
    AppState s = state;
    return writeText(optionFilePath(s.appDir), formatRecord(optionFields(s)));
}

std::optional<QString> writeSettingsFiles(const AppState& state) {
    QDir().mkdir(dataDirPath(state.appDir));
    const QString initialPath = initialFilePath(state.appDir);
    QFile previous(initialPath);
    const std::optional<QByteArray> previousBytes =
        previous.open(QIODevice::ReadOnly) ? std::optional(previous.readAll()) : std::nullopt;
    if (!writeInitialFile(state))
        return initialPath;
    if (!writeOptionFile(state)) {
        if (previousBytes)
            writeBytes(initialPath, *previousBytes);
        return optionFilePath(state.appDir);
    }
    return std::nullopt;
}

void ensureDataFiles(AppState& state, const DateTimeParts& now) {
    QDir().mkdir(dataDirPath(state.appDir));
    if (canOpenForReading(initialFilePath(state.appDir)))
        return;
    state.setQuitDefaults(now);
    writeInitialFile(state);
}

void loadOptions(AppState& state) {
    if (!canOpenForReading(optionFilePath(state.appDir))) {
        state.setOptionDefaults();
        writeOptionFile(state);
    }
    if (!readOptionFile(state))
        state.setOptionDefaults();
}
