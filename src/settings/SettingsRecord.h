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
// field is ignored. In a UTF-8 record (isUtf8Record) the texts are UTF-8 where they are valid
// and code page 932 can write them.
bool parseRecord(QByteArrayView bytes, std::span<const SettingsField> fields);

// Whether an editor saved the record as UTF-8: behind a byte-order mark, or without one when the
// bytes are valid UTF-8 beyond ASCII, every character beyond ASCII takes three bytes (where kana,
// kanji and full-width forms lie) and code page 932 can write them all. Code page 932 text is
// valid UTF-8 only by chance: its kana and level-1 kanji begin with bytes 0x81 to 0x9F, which
// begin no UTF-8 character, so each must fall inside a sequence that a level-2 kanji or a
// half-width katakana before it begins. The three-byte rule turns away half-width pairs ("ﾐｱ"
// is UTF-8's "б"); what stays ambiguous no rule settles, and there the editor's save is likelier.
bool isUtf8Record(QByteArrayView bytes);
