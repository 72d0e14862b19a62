// The code page 932 codec on any bytes and any UTF-16 text: a text that encodes reads back as
// itself, and an address made storable always encodes and reads back unchanged.
#include "Check.h"

#include "settings/SettingsEntry.h"
#include "settings/TextCodec.h"

#include <cstdint>

namespace {
void checkRoundTrip(const QString& text) {
    if (const std::optional<QByteArray> bytes = encodeSettingsText(text))
        FUZZ_CHECK(decodeSettingsText(*bytes) == text);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkRoundTrip(decodeSettingsText(bytes));

    const QString utf16(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    checkRoundTrip(utf16);
    const QString address = storableAddress(utf16);
    const std::optional<QByteArray> stored = encodeSettingsText(address);
    FUZZ_CHECK(stored && !stored->contains('"') && !stored->contains('\r') &&
               !stored->contains('\n'));
    FUZZ_CHECK(decodeSettingsText(*stored) == address);
    FUZZ_CHECK(storableAddress(address) == address);
    return 0;
}
