#include "engine/StatusReport.h"

#include "engine/WholeNumbers.h"

#include <QStringList>

namespace {

QString num(std::int64_t value) {
    return QString::number(value);
}

} // namespace

QString sizeWord(std::int32_t cigLength) {
    switch (cigLength) {
    case 50:
        return QStringLiteral("小");
    case 85:
        return QStringLiteral("中");
    case 100:
        return QStringLiteral("大");
    default:
        return {};
    }
}

QString statusReport(const QuitSettings& settings, const StatusSnapshot& status, bool detailed) {
    QString quitDate = QStringLiteral("ケムリン日： ") + num(settings.quitMoment[1]) +
                       QStringLiteral("年 ") + num(settings.quitMoment[2]) + QStringLiteral("月 ") +
                       num(settings.quitMoment[3]);
    switch (settings.copyPlusMode) {
    case 0:
        quitDate += QStringLiteral("日");
        break;
    case 1:
        quitDate += QStringLiteral("日（") + num(settings.perDay) + QStringLiteral("本-") +
                    num(settings.packPrice) + QStringLiteral("円-") + sizeWord(settings.cigLength) +
                    QStringLiteral("）");
        break;
    case 2:
        quitDate += QStringLiteral("日（") + num(settings.perDay) + QStringLiteral("本-") +
                    num(settings.smokingYears) + QStringLiteral("年）");
        break;
    default:
        return {};
    }

    const DateTimeParts& parts = status.elapsed.parts;
    QString elapsed = QStringLiteral("ケムリンからの日数： ");
    if (!detailed) {
        elapsed += num(parts[1]) + QStringLiteral("年 ") + num(parts[2]) + QStringLiteral("ヶ月 ") +
                   num(parts[3]) + QStringLiteral("日 ");
    } else {
        elapsed += num(floorDiv(status.elapsed.minutes, kMinutesPerDay)) + QStringLiteral("日 ");
    }
    elapsed += num(parts[4]) + QStringLiteral("時間 ") + num(parts[5]) + QStringLiteral("分");

    const std::int64_t life = status.figures.lifeGainedMinutes;
    const QString lifeGained = QStringLiteral("延びた寿命： ") +
                               num(floorDiv(life, kMinutesPerDay)) + QStringLiteral("日と") +
                               num(life % kMinutesPerDay / 60) + QStringLiteral("時間") +
                               num(life % 60) + QStringLiteral("分");

    return QStringList{
        QStringLiteral("ステータス： ") + status.texts.title,
        quitDate,
        elapsed,
        lifeGained,
        QStringLiteral("節約できた金額： ") + status.texts.money,
        QStringLiteral("節煙本数： ") + status.texts.cigarettes,
    }
        .join(QStringLiteral("\r\n"));
}
