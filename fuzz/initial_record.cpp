// initial.ini as any bytes: reading never fails badly, and whatever reads is written back as a
// line that reads the same and writes the same again.
#include "Check.h"

#include "settings/SettingsEntry.h"
#include "settings/SettingsFiles.h"

#include <cstdint>
#include <tuple>

namespace {
auto values(const AppState& s) {
    return std::tuple(s.quitMoment, s.perDay, s.packPrice, s.cigLength);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AppState state;
    const auto before = values(state);
    if (!readInitialRecord(QByteArrayView(data, static_cast<qsizetype>(size)), state)) {
        FUZZ_CHECK(values(state) == before);
        return 0;
    }
    FUZZ_CHECK(isAcceptableQuitMoment(state.quitMoment, kLastCalendarYear));
    const std::optional<QByteArray> line = initialRecord(state);
    FUZZ_CHECK(line && line->endsWith("\r\n") && line->count('\n') == 1);
    AppState again;
    FUZZ_CHECK(readInitialRecord(*line, again));
    FUZZ_CHECK(values(again) == values(state));
    FUZZ_CHECK(initialRecord(again) == line);
    return 0;
}
