#include "engine/MilestoneNotices.h"

#include "engine/BodyRecovery.h"
#include "engine/DailyMessages.h"
#include "engine/NoticeTexts.h"
#include "engine/WholeNumbers.h"

#include <utility>

namespace {

using Moment = MilestoneNotices::Moment;
using Kind = MilestoneNotices::Kind;

constexpr int kMorning = 7;
constexpr int kNight = 23;

// The highest multiple of step that now has reached and before had not; 0 if none.
std::int64_t roundPassed(std::int64_t before, std::int64_t now, std::int64_t step) {
    return now / step > before / step && now >= step ? now / step * step : 0;
}

std::int64_t dayCount(const StatusSnapshot& s) {
    return floorDiv(s.elapsed.minutes, kMinutesPerDay);
}

std::optional<Moment> higher(std::optional<Moment> a, std::optional<Moment> b) {
    return !a || (b && b->kind > a->kind) ? b : a;
}

// The highest moment reached between two refreshes; none where time did not move on.
std::optional<Moment> momentBetween(const QuitSettings& settings, const StatusSnapshot& before,
                                    const StatusSnapshot& now,
                                    std::optional<std::int64_t> recordToBeat) {
    // A clock set back, then forward again, tells nothing twice before the day is out.
    if (now.elapsed.minutes <= before.elapsed.minutes)
        return std::nullopt;
    if (recordToBeat && before.elapsed.minutes <= *recordToBeat &&
        now.elapsed.minutes > *recordToBeat)
        return Moment{Kind::BestRun, bestRunNotice(floorDiv(*recordToBeat, kMinutesPerDay))};
    if (now.texts.title != before.texts.title && !now.texts.title.isEmpty())
        return Moment{Kind::Title, newTitleNotice(now.texts.title)};
    if (const auto step = recoveryReachedBetween(settings.quitMoment, before.elapsed.minutes,
                                                 now.elapsed.minutes)) {
        const RecoveryMilestone& m = recoveryMilestones()[*step];
        return Moment{Kind::Recovery,
                      recoveryNotice(QString::fromUtf16(m.when), QString::fromUtf16(m.meaning))};
    }
    // The message of the day marks months 1 to 11, then each whole year; a draw of 0 picks no
    // alternative to an anniversary's message.
    const std::int64_t years = now.elapsed.parts[1], months = now.elapsed.parts[2];
    if (years > before.elapsed.parts[1] || (years == 0 && months > before.elapsed.parts[2]))
        return Moment{Kind::Anniversary,
                      dailyMessage(messageIndex(dayCount(now), years, months, 0))};
    if (const std::int64_t day = roundPassed(dayCount(before), dayCount(now), 100))
        return Moment{Kind::Day, roundDayNotice(day)};
    const QuitFigures &was = before.figures, &is = now.figures;
    if (const std::int64_t count = roundPassed(was.cigaretteCount, is.cigaretteCount, 1000))
        return Moment{Kind::Cigarettes, cigaretteNotice(cigaretteCountText(settings, count))};
    if (const std::int64_t yen = roundPassed(was.moneySaved, is.moneySaved, 10000))
        return Moment{Kind::Money, moneyNotice(yen)};
    return std::nullopt;
}

} // namespace

std::optional<QString> MilestoneNotices::noticeAt(const QuitSettings& settings,
                                                  const StatusSnapshot& status,
                                                  const QDateTime& now, bool hiddenInTray) {
    std::optional<Moment> moment = std::exchange(m_waiting, std::nullopt);
    if (m_previous)
        moment = higher(moment, momentBetween(settings, *m_previous, status, m_recordToBeat));
    m_previous = status;
    // A window in sight shows the moment already; with no icon there is nowhere to tell it.
    if (!moment || !hiddenInTray || m_toldOn == now.date())
        return std::nullopt;
    const int hour = now.time().hour();
    if (hour >= kNight || hour < kMorning) {
        m_waiting = moment;
        return std::nullopt;
    }
    m_toldOn = now.date();
    return moment->text;
}
