#pragma once

#include "engine/StatusEngine.h"

#include <QString>

// Size word of the report: 50 小, 85 中, 100 大, otherwise empty.
QString sizeWord(std::int32_t cigLength);

// The six-line report of a refresh joined by CR LF, no line break at the end; empty for a
// copyPlusMode outside 0..2. With `detailed` the elapsed time is told in days, as the main
// window's detail view shows it.
QString statusReport(const QuitSettings& settings, const StatusSnapshot& status, bool detailed);
