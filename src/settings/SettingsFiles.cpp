#include "settings/SettingsFiles.h"

#include "engine/Clock.h"
#include "settings/SettingsRecord.h"
#include "settings/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

// The field order of both files is fixed: files written by every earlier version rely on it.
std::array<SettingsField, 8> initialFields(AppState& s) {
    return {&s.QuitParts[1], &s.QuitParts[2], &s.QuitParts[3], &s.QuitParts[4],
            &s.QuitParts[5], &s.PerDay,       &s.PackPrice,    &s.CigLength};
}

std::array<SettingsField, 15> optionFields(AppState& s) {
    return {&s.Started,      &s.TobaccoTaxPer1000, &s.ConsumptionTaxPercent,
            &s.CopyPlusMode, &s.SmokingYears,      &s.BoxDisplay,
            &s.MainLeft,     &s.MainTop,           &s.BackColour,
            &s.TextColour,   &s.BlogUrl,           &s.WindowMode,
            &s.MiniLeft,     &s.MiniTop,           &s.StatusMode};
}

std::optional<QString> readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodeSettingsText(file.readAll());
}

// Writes beside the old file and renames over it, so a failure leaves the old file whole.
bool writeText(const QString& path, const QString& text) {
    const std::optional<QByteArray> bytes = encodeSettingsText(text);
    if (!bytes)
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a short write shows here rather than being lost in a late flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(*bytes) != bytes->size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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

bool ReadInitialFile(AppState& state) {
    const std::optional<QString> text = readText(initialFilePath(state.AppDir));
    return text && parseRecord(*text, initialFields(state));
}

bool ReadOptionFile(AppState& state) {
    const std::optional<QString> text = readText(optionFilePath(state.AppDir));
    return text && parseRecord(*text, optionFields(state));
}

bool WriteInitialFile(const AppState& state) {
    AppState s = state;
    return writeText(initialFilePath(s.AppDir), formatRecord(initialFields(s)));
}

bool WriteOptionFile(const AppState& state) {
    AppState s = state;
    return writeText(optionFilePath(s.AppDir), formatRecord(optionFields(s)));
}

void EnsureDataFiles(AppState& state) {
    QDir().mkdir(dataDirPath(state.AppDir));
    if (canOpenForReading(initialFilePath(state.AppDir)))
        return;
    state.setQuitDefaults(currentMinuteParts());
    WriteInitialFile(state);
}

void LoadOptions(AppState& state) {
    if (!canOpenForReading(optionFilePath(state.AppDir))) {
        state.setOptionDefaults();
        WriteOptionFile(state);
    }
    if (!ReadOptionFile(state))
        state.setOptionDefaults();
}
