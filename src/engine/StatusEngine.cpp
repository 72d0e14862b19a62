#include "engine/StatusEngine.h"

#include "engine/DailyMessages.h"
#include "engine/StatusTitles.h"
#include "engine/WholeNumbers.h"

StatusSnapshot computeStatus(const QuitSettings& settings, const DateTimeParts& now, int r) {
    StatusSnapshot s;
    s.elapsed = elapsedSince(settings.quitMoment, now);
    const DateTimeParts& parts = s.elapsed.parts;
    const std::int64_t dayCount = floorDiv(s.elapsed.minutes, kMinutesPerDay);

    s.figures = quitFigures(settings, s.elapsed.minutes);
    s.texts.elapsed = elapsedText(parts);
    s.texts.lifeGained = lifeGainedText(s.figures.lifeGainedMinutes);
    s.texts.money = moneyText(s.figures);
    s.texts.title = statusTitle(settings.statusMode, dayCount, parts[1]);
    s.texts.cigarettes = cigaretteText(settings, s.figures);
    s.texts.message = dailyMessage(messageIndex(dayCount, parts[1], parts[2], r));
    s.lung = lungColour(dayCount);
    s.milestones = milestoneView(dayCount);
    return s;
}
