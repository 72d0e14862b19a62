#include "settings/SettingsEntry.h"

#include "settings/LenientNumber.h"
#include "settings/TextCodec.h"

namespace {

bool within(std::optional<std::int32_t> value, std::int32_t low, std::int32_t high) {
    return value && *value >= low && *value <= high;
}

std::int32_t februaryLength(std::int32_t year) {
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return leap ? 29 : 28;
}

bool onTheCalendar(const std::array<std::optional<std::int32_t>, 5>& m, std::int64_t thisYear) {
    for (const auto& part : m) {
        if (!part)
            return false;
    }
    const std::int32_t year = *m[0], month = *m[1], day = *m[2];
    if (year < 1900 || year > thisYear || !within(month, 1, 12) || !within(day, 1, 31))
        return false;
    if ((month == 4 || month == 6 || month == 9 || month == 11) && day > 30)
        return false;
    if (month == 2 && day > februaryLength(year))
        return false;
    return within(m[3], 0, 23) && within(m[4], 0, 59);
}

QString percentEncoded(const QString& characters) {
    QString encoded;
    for (const char byte : characters.toUtf8())
        encoded += QStringLiteral("%%1")
                       .arg(static_cast<unsigned char>(byte), 2, 16, QChar(u'0'))
                       .toUpper();
    return encoded;
}

} // namespace

CheckedEntry checkSettingsEntry(const SettingsEntry& entry, const DateTimeParts& now) {
    CheckedEntry checked;
    std::array<std::optional<std::int32_t>, 5> moment;
    for (std::size_t i = 0; i < moment.size(); ++i)
        moment[i] = readLenientNumber(entry.quitMoment[i]);
    const std::optional<std::int32_t> perDay = readLenientNumber(entry.perDay);
    const std::optional<std::int32_t> packPrice = readLenientNumber(entry.packPrice);
    const bool inRange =
        onTheCalendar(moment, now[1]) && within(perDay, 1, 200) && within(packPrice, 1, 2000);
    if (!inRange) {
        checked.problem = EntryProblem::OutOfRange;
        return checked;
    }
    const std::array<std::int64_t, 5> entered{*moment[0], *moment[1], *moment[2], *moment[3],
                                              *moment[4]};
    if (entered > std::array{now[1], now[2], now[3], now[4], now[5]}) {
        checked.problem = EntryProblem::InTheFuture;
        return checked;
    }
    const std::optional<std::int32_t> tobaccoTax = readStrictNumber(entry.tobaccoTaxPer1000);
    const std::optional<std::int32_t> consumptionTax =
        readStrictNumber(entry.consumptionTaxPercent);
    // Checked even while its box is off: a later switch to it must find a sound value.
    const std::optional<std::int32_t> smokingYears = readLenientNumber(entry.smokingYears);
    if (!within(tobaccoTax, 0, 100000) || !within(consumptionTax, 0, 100) ||
        !within(smokingYears, 1, 99)) {
        checked.problem = EntryProblem::OutOfRange;
        return checked;
    }

    QuitSettings& s = checked.settings;
    s.quitMoment = {0, entered[0], entered[1], entered[2], entered[3], entered[4]};
    s.perDay = *perDay;
    s.packPrice = *packPrice;
    s.cigLength = entry.cigLength;
    s.tobaccoTaxPer1000 = *tobaccoTax;
    s.consumptionTaxPercent = *consumptionTax;
    s.copyPlusMode = entry.copyPlusMode;
    s.smokingYears = *smokingYears;
    s.boxDisplay = entry.boxDisplay;
    s.statusMode = entry.statusMode;
    checked.blogUrl = storableAddress(entry.blogUrl);
    return checked;
}

QString storableAddress(const QString& typed) {
    QString kept;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        // A character outside the basic plane (an emoji) is a surrogate pair: keep it together.
        const qsizetype length =
            typed[i].isHighSurrogate() && i + 1 < typed.size() && typed[i + 1].isLowSurrogate() ? 2
                                                                                                : 1;
        const QString character = typed.mid(i, length);
        i += length - 1;
        if (character == u"\r" || character == u"\n")
            continue;
        if (character == u"\"" || !encodeSettingsText(character))
            kept += percentEncoded(character);
        else
            kept += character;
    }
    // Only blanks: a tab or a full-width space inside an address is the user's to keep.
    while (kept.startsWith(u' '))
        kept.remove(0, 1);
    while (kept.endsWith(u' '))
        kept.chop(1);
    return kept;
}
