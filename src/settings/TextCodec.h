#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The settings files' character set: Windows code page 932. Kept in this one place so that a
// Windows build can use the system's own code page here.

// Empty when the text holds a character that code page 932 cannot write.
std::optional<QByteArray> encodeSettingsText(const QString& text);
QString decodeSettingsText(const QByteArray& bytes);
