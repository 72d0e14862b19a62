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

QString statusReport(const AppState& state, const ShownTexts& shown) {
    QString quitDate = QStringLiteral("ケムリン日： ") + num(state.quitMoment[1]) +
                       QStringLiteral("年 ") + num(state.quitMoment[2]) + QStringLiteral("月 ") +
                       num(state.quitMoment[3]);
    switch (state.copyPlusMode) {
    case 0:
        quitDate += QStringLiteral("日");
        break;
    case 1:
        quitDate += QStringLiteral("日（") + num(state.perDay) + QStringLiteral("本-") +
                    num(state.packPrice) + QStringLiteral("円-") + sizeWord(state.cigLength) +
                    QStringLiteral("）");
        break;
    case 2:
        quitDate += QStringLiteral("日（") + num(state.perDay) + QStringLiteral("本-") +
                    num(state.smokingYears) + QStringLiteral("年）");
        break;
    default:
        return {};
    }

    const DateTimeParts& parts = state.elapsedParts;
    QString elapsed = QStringLiteral("ケムリンからの日数： ");
    if (state.detailView == 0) {
        elapsed += num(parts[1]) + QStringLiteral("年 ") + num(parts[2]) + QStringLiteral("ヶ月 ") +
                   num(parts[3]) + QStringLiteral("日 ");
    } else {
        elapsed += num(floorDiv(state.elapsedMinutes, kMinutesPerDay)) + QStringLiteral("日 ");
    }
    elapsed += num(parts[4]) + QStringLiteral("時間 ") + num(parts[5]) + QStringLiteral("分");

    const std::int64_t life = state.lifeGainedMinutes;
    const QString lifeGained = QStringLiteral("延びた寿命： ") +
                               num(floorDiv(life, kMinutesPerDay)) + QStringLiteral("日と") +
                               num(life % kMinutesPerDay / 60) + QStringLiteral("時間") +
                               num(life % 60) + QStringLiteral("分");

    return QStringList{
        QStringLiteral("ステータス： ") + shown.status,
        quitDate,
        elapsed,
        lifeGained,
        QStringLiteral("節約できた金額： ") + shown.money,
        QStringLiteral("節煙本数： ") + shown.cigarettes,
    }
        .join(QStringLiteral("\r\n"));
}
