#include "settings/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// ICU's "Shift_JIS" is Microsoft's variant (～ is 0x81 0x60, ① and the NEC/IBM rows map).
constexpr char kCodecName[] = "Shift_JIS";
} // namespace

std::optional<QByteArray> encodeSettingsText(const QString& text) {
    QStringEncoder encoder(kCodecName);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    // Reading back catches what the encoder lets by: a lone surrogate it swallows, a character
    // it writes as a look-alike.
    if (encoder.hasError() || decodeSettingsText(bytes) != text)
        return std::nullopt;
    return bytes;
}

QString decodeSettingsText(const QByteArray& bytes) {
    QStringDecoder decoder(kCodecName);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}
