#include "engine/AttemptRecord.h"

#include "engine/WholeNumbers.h"

#include <QStringList>

namespace {

QString twoDigits(std::int64_t value) {
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

AttemptFigures figuresOf(const QuitSettings& settings, const DateTimeParts& start,
                         const DateTimeParts& end) {
    AttemptFigures a;
    a.start = start;
    a.end = end;
    a.elapsed = elapsedSince(start, end);
    a.figures = quitFigures(settings, a.elapsed.minutes);
    a.cigarettes = cigaretteCountText(settings, a.figures.cigaretteCount);
    return a;
}

QuitSettings habitOf(QuitSettings settings, const PastAttempt& attempt) {
    settings.quitMoment = attempt.start;
    settings.perDay = attempt.perDay;
    settings.packPrice = attempt.packPrice;
    settings.cigLength = attempt.cigLength;
    return settings;
}

} // namespace

std::optional<std::int64_t> AttemptRecord::minutesToBest() const {
    if (!bestPast)
        return std::nullopt;
    return past[*bestPast].elapsed.minutes - current.elapsed.minutes;
}

AttemptRecord attemptRecord(const QuitSettings& settings, const std::vector<PastAttempt>& past,
                            const DateTimeParts& now) {
    AttemptRecord record;
    std::int64_t longest = -1;
    for (const PastAttempt& attempt : past) {
        record.past.push_back(figuresOf(habitOf(settings, attempt), attempt.start, attempt.end));
        if (record.past.back().elapsed.minutes > longest) {
            longest = record.past.back().elapsed.minutes;
            record.bestPast = record.past.size() - 1;
        }
    }
    record.current = figuresOf(settings, settings.quitMoment, now);
    if (record.current.elapsed.minutes > longest)
        record.bestPast.reset();
    const auto add = [&record](const AttemptFigures& a) {
        record.totalMinutes += a.elapsed.minutes;
        record.totalCigarettes += a.figures.cigaretteCount;
        record.totalMoney += a.figures.moneySaved;
    };
    for (const AttemptFigures& a : record.past)
        add(a);
    add(record.current);
    return record;
}

std::optional<std::int64_t> longestPastMinutes(const std::vector<PastAttempt>& past) {
    std::optional<std::int64_t> longest;
    for (const PastAttempt& attempt : past) {
        const std::int64_t minutes = elapsedSince(attempt.start, attempt.end).minutes;
        if (!longest || minutes > *longest)
            longest = minutes;
    }
    return longest;
}

QString momentText(const DateTimeParts& m) {
    return QString::number(m[1]) + u'/' + twoDigits(m[2]) + u'/' + twoDigits(m[3]) + u' ' +
           twoDigits(m[4]) + u':' + twoDigits(m[5]);
}

QString attemptLengthText(std::int64_t minutes) {
    return QString::number(floorDiv(minutes, kMinutesPerDay)) + QStringLiteral("日") +
           QString::number(minutes % kMinutesPerDay / 60) + QStringLiteral("時間");
}

QString toBestText(std::int64_t minutes) {
    const std::int64_t hours = (minutes + 59) / 60;
    return QStringLiteral("最長記録まで あと %1日 %2時間").arg(hours / 24).arg(hours % 24);
}

QStringList attemptRowTexts(const AttemptFigures& a) {
    return {momentText(a.start), momentText(a.end), attemptLengthText(a.elapsed.minutes),
            a.cigarettes, QString::number(a.figures.moneySaved) + QStringLiteral("円")};
}

QString attemptRecordReport(const AttemptRecord& record, const std::vector<PastAttempt>& past,
                            bool partlyUnread) {
    const AttemptFigures& best = record.best();
    QStringList lines{
        QStringLiteral("これまでの記録"),
        QStringLiteral("今回： ") + momentText(record.current.start) + QStringLiteral(" から ") +
            attemptLengthText(record.current.elapsed.minutes),
        QStringLiteral("最長： ") + attemptLengthText(best.elapsed.minutes) + QStringLiteral("（") +
            momentText(best.start) + QStringLiteral(" ～ ") +
            (record.bestPast ? momentText(best.end) : QStringLiteral("今")) + QStringLiteral("）"),
        QStringLiteral("挑戦： ") + QString::number(record.attemptCount()) +
            QStringLiteral("回目")};
    for (std::size_t i = 0; i < record.past.size(); ++i) {
        const QStringList row = attemptRowTexts(record.past[i]);
        QString line = QString::number(i + 1) + QStringLiteral(". ") + row[0] +
                       QStringLiteral(" ～ ") + row[1] + u' ' + row[2] + u' ' + row[3] + u' ' +
                       row[4];
        if (i < past.size() && !past[i].note.isEmpty())
            line += QStringLiteral(" 「") + past[i].note + QStringLiteral("」");
        lines << line;
    }
    if (partlyUnread)
        lines << QStringLiteral("（記録の一部を読み込めませんでした）");
    lines << QStringLiteral("合計： 禁煙 ") + attemptLengthText(record.totalMinutes) +
                 QStringLiteral("、吸わなかった煙草 ") + QString::number(record.totalCigarettes) +
                 QStringLiteral("本、節約できた金額 ") + QString::number(record.totalMoney) +
                 QStringLiteral("円");
    if (const auto left = record.minutesToBest(); left && *left > 0)
        lines << toBestText(*left);
    return lines.join(QStringLiteral("\r\n"));
}
