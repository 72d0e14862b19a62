#include "engine/NoticeTexts.h"

#include "engine/WideDigits.h"

QString newTitleNotice(const QString& title) {
    return "ステータスが「" + title + "」になりました";
}

QString recoveryNotice(const QString& when, const QString& meaning) {
    return "禁煙から" + when + "。" + meaning;
}

QString roundDayNotice(std::int64_t dayCount) {
    return "ケムリンして" + wideNumber(dayCount) + "日目です。おめでとうございます";
}

QString cigaretteNotice(const QString& count) {
    return "吸わなかった煙草が" + count + "になりました";
}

QString moneyNotice(std::int64_t yen) {
    return "節約できた金額が" + QString::number(yen) + "円になりました";
}

QString bestRunNotice(std::int64_t days) {
    return QStringLiteral("これまでの最長記録を超えました（%1日）").arg(days);
}
