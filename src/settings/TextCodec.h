#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The settings files' character set: Windows code page 932, read and written alike on Debian
// (ICU) and on Windows (the system's own code page).

// Empty when the text holds a character that code page 932 cannot write, or cannot write so
// that it reads back as itself.
std::optional<QByteArray> encodeSettingsText(const QString& text);
// Bytes that code page 932 cannot read come out as U+001A, and a lead byte cut off at the end
// not at all: what a text field read from must be kept beside it (SettingsRecord.h).
QString decodeSettingsText(const QByteArray& bytes);
