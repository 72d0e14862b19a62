#include "settings/TextCodec.h"

#include "settings/CodePage932Unit.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr char16_t kUnreadable = u'\x1A';

// The files come from a Windows program, so Windows' code page 932 is the truth. Over every
// one- and two-byte sequence and every BMP character, ICU's table parts from it only in these
// single bytes: it swaps the control bytes 0x1A, 0x1C and 0x7F, and cannot read or write 0x80,
// 0xA0 and 0xFD to 0xFF (ICU's U+F86F for 0x87 0x82 fails the read-back in encodeSettingsText).
struct SingleByte {
    char byte;
    char16_t character;
};
constexpr SingleByte kWindowsSingleBytes[] = {
    {'\x1A', u'\x1A'},   {'\x1C', u'\x1C'},   {'\x7F', u'\x7F'},   {'\x80', u'\x80'},
    {'\xA0', u'\uF8F0'}, {'\xFD', u'\uF8F1'}, {'\xFE', u'\uF8F2'}, {'\xFF', u'\uF8F3'},
};

bool isLeadByte(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

char16_t readUnit(QByteArrayView unit) {
    if (unit.size() == 1) {
        const auto rule = std::ranges::find(kWindowsSingleBytes, unit.front(), &SingleByte::byte);
        if (rule != std::end(kWindowsSingleBytes))
            return rule->character;
    }
    return readCodePage932Unit(unit).value_or(kUnreadable);
}

std::optional<QByteArray> writeUnit(char16_t character) {
    const auto rule = std::ranges::find(kWindowsSingleBytes, character, &SingleByte::character);
    if (rule != std::end(kWindowsSingleBytes))
        return QByteArray(1, rule->byte);
    return writeCodePage932Unit(character);
}
} // namespace

std::optional<QByteArray> encodeSettingsText(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar character : text) {
        // Code page 932 holds nothing beyond the BMP.
        if (character.isSurrogate())
            return std::nullopt;
        const std::optional<QByteArray> unit = writeUnit(character.unicode());
        if (!unit)
            return std::nullopt;
        bytes += *unit;
    }
    // Reading back catches a character the converter writes as a look-alike.
    if (decodeSettingsText(bytes) != text)
        return std::nullopt;
    return bytes;
}

QString decodeSettingsText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype length = 1;
        if (isLeadByte(bytes[i])) {
            if (i + 1 == bytes.size())
                break;
            // A lead byte before a byte that cannot follow it is unreadable on its own.
            if (isTrailByte(bytes[i + 1]))
                length = 2;
        }
        text += readUnit(QByteArrayView(bytes).sliced(i, length));
        i += length;
    }
    return text;
}
