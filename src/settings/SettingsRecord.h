#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

// One field of a settings record: a whole number or a text, bound to where it lives.
using SettingsField = std::variant<std::int32_t*, std::int64_t*, QString*>;

// The one line a settings file holds: fields separated by commas, texts in double quotes,
// CR LF at the end.
QString formatRecord(std::span<const SettingsField> fields);

// Reads fields in order: blanks and tabs before a field are skipped, a quoted field runs to the
// next quote, other fields to the next comma or line end (a line end separates like a comma).
// An empty number is 0. Fails, leaving every field as it was, when the text ends before the
// last field or a number is not one within the 32-bit range. Text after the last field is
// ignored.
bool parseRecord(QStringView text, std::span<const SettingsField> fields);
