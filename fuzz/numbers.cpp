// The lenient and the strict readings of typed numbers on any text: no crash, no hang, and the
// two agree wherever the strict one gives a number. Whole numbers written out read back exactly,
// with any fraction rounded down.
#include "Check.h"

#include "settings/LenientNumber.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
bool isLenientBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\u3000';
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<std::int32_t> lenient = readLenientNumber(text);
    const std::optional<std::int32_t> strict = readStrictNumber(text);
    // Other white space is blank to the strict reading only.
    const bool sameBlanks = std::none_of(text.begin(), text.end(),
                                         [](QChar c) { return c.isSpace() && !isLenientBlank(c); });
    if (strict && sameBlanks)
        FUZZ_CHECK(lenient == strict);

    if (size >= 4) {
        std::int32_t n = 0;
        std::memcpy(&n, data, sizeof n);
        const QString whole = QString::number(n);
        FUZZ_CHECK(readLenientNumber(whole) == n && readStrictNumber(whole) == n);
        // Digits after the point round down: towards minus infinity.
        QString digits;
        for (std::size_t i = 4; i < size && i < 40; ++i)
            digits += QChar(u'0' + data[i] % 10);
        if (!digits.isEmpty()) {
            const bool fraction =
                std::any_of(digits.begin(), digits.end(), [](QChar d) { return d != u'0'; });
            const std::int64_t floor = n < 0 && fraction ? std::int64_t{n} - 1 : n;
            const std::optional<std::int32_t> read = readLenientNumber(whole + u'.' + digits);
            if (floor < INT32_MIN)
                FUZZ_CHECK(!read);
            else
                FUZZ_CHECK(read == floor);
        }
    }
    return 0;
}
