#pragma once

#include "app/SettingsKeeper.h"
#include "settings/HistoryFile.h"

#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

// The attempts that slips ended: read once at start, added to by each slip recorded, and kept
// on the disk together with the quit moment that follows them.
class HistoryKeeper {
public:
    HistoryKeeper(AppState& state, SettingsKeeper& settings)
        : m_state(state), m_settings(settings) {}

    // Reads history.ini and tells, once, what of it did not read.
    void load();
    const std::vector<PastAttempt>& attempts() const { return m_load.history.attempts; }
    bool partlyUnread() const { return m_load.finding == HistoryLoad::PartlyRead; }
    std::optional<std::int64_t> longestPastMinutes() const;

    // Ends the attempt running now where `next` starts the count again, with the habit that held
    // during it and the note, and saves both: false, told over `owner`, when nothing was saved.
    // With options, option.ini takes `next`'s options in the same commit.
    bool recordSlip(const AppState& next, const QString& note, bool withOptions, QWidget* owner);

private:
    AppState& m_state;
    SettingsKeeper& m_settings;
    HistoryLoad m_load;
};
