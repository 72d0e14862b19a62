#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

// A text field: the text, and the bytes the file held for it. While the text still reads as
// those bytes they go back as they were, so a byte code page 932 cannot read survives every save
// until the text is edited.
struct TextField {
    QString* text;
    QByteArray* bytes;
};

// One field of a settings record: a whole number or a text, bound to where it lives.
using SettingsField = std::variant<std::int32_t*, std::int64_t*, TextField>;

// The one line a settings file holds, in code page 932: fields separated by commas, texts in
// double quotes, CR LF at the end. Empty when a text holds a character the code page cannot
// write.
std::optional<QByteArray> formatRecord(std::span<const SettingsField> fields);

// Reads fields in order: blanks and tabs before a field are skipped, a quoted field runs to the
// next quote or the line end, other fields to the next comma or line end (a line end separates
// like a comma). An empty number is 0. Fails, leaving every field as it was, when the text ends
// before the last field or a number is not one within the 32-bit range. Text after the last
// field is ignored. Behind a UTF-8 byte-order mark the texts are UTF-8 where they are valid
// and code page 932 can write them.
bool parseRecord(QByteArrayView bytes, std::span<const SettingsField> fields);
