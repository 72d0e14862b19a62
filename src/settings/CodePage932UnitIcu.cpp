#include "settings/CodePage932Unit.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// ICU opens its Windows-31J table (ibm-943_P15A-2003) under every name of code page 932:
// "Shift_JIS", "windows-31j" and "cp932" are the same converter here.
constexpr char kCodecName[] = "windows-31j";
} // namespace

std::optional<char16_t> readCodePage932Unit(QByteArrayView unit) {
    QStringDecoder decoder(kCodecName, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(unit);
    if (!decoder.isValid() || decoder.hasError() || text.size() != 1)
        return std::nullopt;
    return text.front().unicode();
}

std::optional<QByteArray> writeCodePage932Unit(char16_t character) {
    QStringEncoder encoder(kCodecName, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(QStringView(&character, 1));
    if (!encoder.isValid() || encoder.hasError() || bytes.isEmpty())
        return std::nullopt;
    return bytes;
}
