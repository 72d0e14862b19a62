#include "engine/QuitStatistics.h"

#include "engine/LengthTable.h"
#include "engine/WholeNumbers.h"
#include "engine/WideDigits.h"

#include <algorithm>

namespace {

struct Bounded {
    std::int64_t perDay, packPrice, cigLength, tobaccoTax, consumptionTax;
};

Bounded bounded(const QuitSettings& s) {
    return {std::clamp<std::int64_t>(s.perDay, 0, 200),
            std::clamp<std::int64_t>(s.packPrice, 0, 2000),
            std::clamp<std::int64_t>(s.cigLength, 0, 1000),
            std::clamp<std::int64_t>(s.tobaccoTaxPer1000, 0, 100000),
            std::clamp<std::int64_t>(s.consumptionTaxPercent, 0, 100)};
}

} // namespace

QuitFigures quitFigures(const QuitSettings& settings, std::int64_t elapsedMinutes) {
    const Bounded b = bounded(settings);
    const std::int64_t e = std::max<std::int64_t>(elapsedMinutes, 0);
    // Money: days × per day × price / 20. Consumption tax is included in the price.
    const std::int64_t priceMinutes = e * b.perDay * b.packPrice;
    QuitFigures f;
    f.moneySaved = floorDiv(priceMinutes, kMinutesPerDay * 20);
    f.tobaccoTaxSaved = floorDiv(b.tobaccoTax * e * b.perDay, 1000 * kMinutesPerDay);
    f.consumptionTaxSaved =
        floorDiv(priceMinutes * b.consumptionTax, kMinutesPerDay * 20 * (100 + b.consumptionTax));
    // 5.5 minutes of life for every cigarette not smoked, fractions included.
    f.lifeGainedMinutes = floorDiv(b.perDay * e * 11, kMinutesPerDay * 2);
    f.cigaretteCount = floorDiv(e * b.perDay, kMinutesPerDay);
    f.scaledLengthMm = e * b.cigLength * b.perDay;
    return f;
}

QString elapsedText(const DateTimeParts& p) {
    return wideNumber(p[1]) + "年" + wideNumber(p[2]) + "ヶ月" + wideNumber(p[3]) + "日" +
           wideNumber(p[4]) + "時間" + wideNumber(p[5]) + "分";
}

QString detailedElapsedText(std::int64_t elapsedMinutes, const DateTimeParts& p) {
    return wideNumber(floorDiv(elapsedMinutes, kMinutesPerDay)) + "日" + wideNumber(p[4]) + "時間" +
           wideNumber(p[5]) + "分";
}

QString lifeGainedText(std::int64_t minutes) {
    return wideNumber(floorDiv(minutes, kMinutesPerDay)) + "日と" +
           wideNumber((minutes % kMinutesPerDay) / 60) + "時間" + wideNumber(minutes % 60) + "分";
}

QString moneyText(const QuitFigures& f) {
    return QString::number(f.moneySaved) + "円（節税分" +
           QString::number(f.tobaccoTaxSaved + f.consumptionTaxSaved) + "円）";
}

QString cigaretteCountText(const QuitSettings& settings, std::int64_t count) {
    const bool shortSize = settings.cigLength == 50;
    const std::int64_t perBox = shortSize ? 10 : 20;
    const std::int64_t perCarton = shortSize ? 20 : 10;
    const bool exactBoxes = settings.boxDisplay == 1 && count != 0 && count % perBox == 0;
    if (exactBoxes && (count / perBox) % perCarton == 0)
        return QString::number(count / perBox / perCarton) + "カートン";
    if (exactBoxes)
        return QString::number(count / perBox) + "箱";
    return QString::number(count) + "本";
}

QString cigaretteText(const QuitSettings& settings, const QuitFigures& f) {
    return cigaretteCountText(settings, f.cigaretteCount) + u' ' + metreText(f.scaledLengthMm) +
           "ｍ " + lengthLabelFor(f.scaledLengthMm);
}
