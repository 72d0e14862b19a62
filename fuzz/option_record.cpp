// option.ini as any bytes: reading never fails badly, and whatever reads is written back as one
// line that reads the same and writes the same again, its texts byte for byte, unless those
// bytes are taken for an editor's UTF-8.
#include "Check.h"

#include "settings/SettingsFiles.h"
#include "settings/SettingsRecord.h"

#include <cstdint>
#include <tuple>

namespace {
auto values(const AppState& s) {
    return std::tuple(s.started, s.tobaccoTaxPer1000, s.consumptionTaxPercent, s.copyPlusMode,
                      s.smokingYears, s.boxDisplay, s.mainLeft, s.mainTop, s.backColour,
                      s.textColour, s.blogUrl, s.windowMode, s.miniLeft, s.miniTop, s.statusMode);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AppState state;
    const auto before = values(state);
    if (!readOptionRecord(QByteArrayView(data, static_cast<qsizetype>(size)), state)) {
        FUZZ_CHECK(values(state) == before);
        return 0;
    }
    // A text is written between quotes as it stands: one holding a quote cannot come back.
    if (state.blogUrl.contains(u'"') || state.statusMode.contains(u'"'))
        return 0;
    const std::optional<QByteArray> line = optionRecord(state);
    FUZZ_CHECK(line && line->endsWith("\r\n") && line->count('\n') == 1);
    // Texts whose code page 932 bytes are UTF-8 of Japanese (level-2 kanji before half-width
    // kana: how an editor's UTF-8 looks read as code page 932) read as UTF-8 next time. No one
    // types such text; an editor's file that holds it is the case the reading is for.
    if (isUtf8Record(*line))
        return 0;
    AppState again;
    FUZZ_CHECK(readOptionRecord(*line, again));
    FUZZ_CHECK(values(again) == values(state));
    FUZZ_CHECK(optionRecord(again) == line);
    return 0;
}
