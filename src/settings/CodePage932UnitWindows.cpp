#include "settings/CodePage932Unit.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage = 932;
} // namespace

std::optional<char16_t> readCodePage932Unit(QByteArrayView unit) {
    wchar_t character = 0;
    const int written = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, unit.data(),
                                            static_cast<int>(unit.size()), &character, 1);
    if (written != 1)
        return std::nullopt;
    return static_cast<char16_t>(character);
}

std::optional<QByteArray> writeCodePage932Unit(char16_t character) {
    const auto wide = static_cast<wchar_t>(character);
    char bytes[2] = {};
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks is refused, not written as a look-alike.
    const int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                            sizeof bytes, nullptr, &usedDefault);
    if (written <= 0 || usedDefault)
        return std::nullopt;
    return QByteArray(bytes, written);
}
