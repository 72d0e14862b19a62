#include "engine/BodyRecovery.h"

#include "engine/Calendar.h"
#include "engine/WholeNumbers.h"

#include <algorithm>

namespace {

constexpr std::int64_t kHour = 60;

// Every sentence is the program's own, saying no more than its source.
constexpr std::array<RecoveryMilestone, kRecoveryMilestoneCount> kMilestones{{
    {20, 0, u"20分", u"脈拍と血圧が、ふだんの値へ下がりはじめるころです", u"WHO、e-ヘルスネット"},
    {8 * kHour, 0, u"8時間", u"血液中の一酸化炭素が減り、酸素がふえてくるころです",
     u"e-ヘルスネット"},
    {12 * kHour, 0, u"12時間", u"血液中の一酸化炭素が、ふつうの値にもどるころです", u"WHO"},
    {24 * kHour, 0, u"24時間", u"心臓発作のリスクが下がりはじめるころです", u"e-ヘルスネット"},
    // e-ヘルスネット says a few days; the NHS puts it at 48 hours.
    {48 * kHour, 0, u"48時間", u"においや味がもどってくるころです", u"NHS、e-ヘルスネット"},
    {72 * kHour, 0, u"72時間", u"呼吸が楽になり、体に力がわいてくるころです", u"NHS"},
    // From 2 weeks (e-ヘルスネット: 2 weeks to 3 months; WHO: 2 to 12 weeks).
    {14 * kMinutesPerDay, 0, u"2週間", u"血のめぐりと肺の働きがよくなっていくころです",
     u"e-ヘルスネット、WHO"},
    // WHO: 1 to 9 months.
    {0, 1, u"1か月", u"せきや息切れが減り、感染症にかかりにくくなるころです",
     u"e-ヘルスネット、WHO"},
    {0, 12, u"1年", u"冠動脈の病気の上乗せリスクが、喫煙者の半分ほどといわれています", u"WHO"},
    // e-ヘルスネット: 2 to 4 years.
    {0, 24, u"2年", u"心臓の血管の病気や脳梗塞のリスクが、3分の1ほど減るといわれています",
     u"e-ヘルスネット"},
    {0, 60, u"5年", u"脳卒中のリスクが、5〜15年で吸わない人と同じになるといわれています", u"WHO"},
    {0, 120, u"10年", u"肺がんの死亡リスクが半分ほどに、口やのどなどのがんも減るといわれています",
     u"WHO"},
    {0, 180, u"15年", u"冠動脈の病気のリスクが、吸わない人と同じになるといわれています", u"WHO"},
}};

std::int64_t minutesBetween(const DateTimeParts& from, const DateTimeParts& to) {
    const DaysAndMinutes between = daysAndMinutesBetween(from, to);
    return between.days * kMinutesPerDay + between.minutes;
}

// The first minute at which the anniversaries' borrow chain counts the months, found by halving:
// the count never falls as time goes on, and a month is never longer than 32 days.
DateTimeParts monthsLater(const DateTimeParts& start, std::int64_t months) {
    const auto reached = [&](std::int64_t minutes) {
        const DateTimeParts elapsed = elapsedPartsBetween(start, minutesAfter(start, minutes));
        return elapsed[1] * 12 + elapsed[2] >= months;
    };
    std::int64_t notYet = 0;
    std::int64_t already = months * 32 * kMinutesPerDay;
    while (already - notYet > 1) {
        const std::int64_t middle = notYet + (already - notYet) / 2;
        (reached(middle) ? already : notYet) = middle;
    }
    return minutesAfter(start, already);
}

// Minutes from the start to each milestone.
std::array<std::int64_t, kRecoveryMilestoneCount> milestoneMinutes(const DateTimeParts& start) {
    std::array<std::int64_t, kRecoveryMilestoneCount> minutes{};
    for (int i = 0; i < kRecoveryMilestoneCount; ++i)
        minutes[i] = minutesBetween(start, recoveryMoment(kMilestones[i], start));
    return minutes;
}

// The last milestone at or before the minutes counted from the start; none before the first.
std::optional<int> lastReached(const std::array<std::int64_t, kRecoveryMilestoneCount>& minutes,
                               std::int64_t elapsed) {
    const auto after = std::upper_bound(minutes.begin(), minutes.end(), elapsed);
    if (after == minutes.begin())
        return std::nullopt;
    return static_cast<int>(after - minutes.begin()) - 1;
}

} // namespace

const std::array<RecoveryMilestone, kRecoveryMilestoneCount>& recoveryMilestones() {
    return kMilestones;
}

DateTimeParts recoveryMoment(const RecoveryMilestone& milestone, const DateTimeParts& start) {
    const DateTimeParts from = onCalendar(start);
    return milestone.months > 0 ? monthsLater(from, milestone.months)
                                : minutesAfter(from, milestone.minutes);
}

RecoveryProgress recoveryProgress(const DateTimeParts& start, const DateTimeParts& now) {
    const DateTimeParts from = onCalendar(start);
    const std::int64_t elapsed = elapsedSince(from, now).minutes;
    const auto minutes = milestoneMinutes(from);
    RecoveryProgress progress;
    for (int i = 0; i < kRecoveryMilestoneCount; ++i) {
        RecoveryRow& row = progress.rows[i];
        row.moment = minutesAfter(from, minutes[i]);
        row.reached = elapsed >= minutes[i];
        row.percent = static_cast<int>(std::min<std::int64_t>(elapsed * 100 / minutes[i], 100));
        if (!row.reached && !progress.next) {
            progress.next = i;
            progress.minutesLeft = minutes[i] - elapsed;
        }
    }
    return progress;
}

std::optional<int> recoveryReachedBetween(const DateTimeParts& start, std::int64_t beforeMinutes,
                                          std::int64_t nowMinutes) {
    const auto minutes = milestoneMinutes(onCalendar(start));
    const std::optional<int> last = lastReached(minutes, nowMinutes);
    if (!last || minutes[*last] <= beforeMinutes)
        return std::nullopt;
    return last;
}

QString recoveryTimeLeftText(std::int64_t minutes) {
    const std::int64_t days = minutes / kMinutesPerDay;
    const std::int64_t hours = minutes % kMinutesPerDay / kHour;
    QString text = QStringLiteral("あと ");
    if (days > 0)
        text += QString::number(days) + u'日';
    if (days > 0 || hours > 0)
        text += QString::number(hours) + QStringLiteral("時間");
    return text + QString::number(minutes % kHour) + u'分';
}

QString recoveryDateText(const DateTimeParts& moment) {
    return QString::number(moment[1]) + u'年' + QString::number(moment[2]) + u'月' +
           QString::number(moment[3]) + u'日';
}

QString bestRunRecoveryText(const DateTimeParts& start, const DateTimeParts& end) {
    const std::optional<int> last =
        lastReached(milestoneMinutes(onCalendar(start)), elapsedSince(start, end).minutes);
    if (!last)
        return {};
    return QStringLiteral("最長記録では『") + QString::fromUtf16(kMilestones[*last].when) +
           QStringLiteral("』まで");
}
