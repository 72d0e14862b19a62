#include "engine/StatusEngine.h"

#include "engine/DailyMessages.h"
#include "engine/QuitStatistics.h"
#include "engine/StatusTitles.h"
#include "engine/WholeNumbers.h"

StatusSnapshot computeStatus(const AppState& settings, const DateTimeParts& now, int r) {
    StatusSnapshot s;
    s.elapsed = elapsedSince(settings.quitMoment, now);
    const DateTimeParts& parts = s.elapsed.parts;
    const std::int64_t dayCount = floorDiv(s.elapsed.minutes, kMinutesPerDay);

    const QuitFigures figures = quitFigures(settings, s.elapsed.minutes);
    s.lifeGainedMinutes = figures.lifeGainedMinutes;
    s.valueTexts[0] = elapsedText(parts);
    s.valueTexts[1] = lifeGainedText(figures.lifeGainedMinutes);
    s.valueTexts[2] = moneyText(figures);
    s.valueTexts[3] = statusTitle(settings.statusMode, dayCount, parts[1]);
    s.valueTexts[4] = cigaretteText(settings, figures);
    s.valueTexts[5] = dailyMessage(messageIndex(dayCount, parts[1], parts[2], r));
    s.lung = lungColour(dayCount);
    s.milestones = milestoneView(dayCount);
    return s;
}
