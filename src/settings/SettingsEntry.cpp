#include "settings/SettingsEntry.h"

#include "settings/LenientNumber.h"
#include "settings/TextCodec.h"

#include <algorithm>

namespace {

bool within(std::optional<std::int32_t> value, std::int32_t low, std::int32_t high) {
    return value && *value >= low && *value <= high;
}

std::int64_t februaryLength(std::int64_t year) {
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return leap ? 29 : 28;
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

bool isAcceptableQuitMoment(const DateTimeParts& m, std::int64_t thisYear) {
    const auto in = [](std::int64_t value, std::int64_t low, std::int64_t high) {
        return value >= low && value <= high;
    };
    const std::int64_t year = m[1], month = m[2], day = m[3];
    if (!in(year, 1900, thisYear) || !in(month, 1, 12) || !in(day, 1, 31))
        return false;
    if ((month == 4 || month == 6 || month == 9 || month == 11) && day > 30)
        return false;
    if (month == 2 && day > februaryLength(year))
        return false;
    return in(m[4], 0, 23) && in(m[5], 0, 59);
}

CheckedEntry checkSettingsEntry(const SettingsEntry& entry, const DateTimeParts& now) {
    CheckedEntry checked;
    std::array<std::optional<std::int32_t>, 5> moment;
    for (std::size_t i = 0; i < moment.size(); ++i)
        moment[i] = readLenientNumber(entry.quitMoment[i]);
    const std::optional<std::int32_t> perDay = readLenientNumber(entry.perDay);
    const std::optional<std::int32_t> packPrice = readLenientNumber(entry.packPrice);
    DateTimeParts entered{};
    for (std::size_t i = 0; i < moment.size(); ++i)
        entered[i + 1] = moment[i].value_or(0);
    const bool allRead = std::all_of(moment.begin(), moment.end(), [](auto m) { return !!m; });
    const bool inRange = allRead && isAcceptableQuitMoment(entered, now[1]) &&
                         within(perDay, 1, 200) && within(packPrice, 1, 2000);
    if (!inRange) {
        checked.problem = EntryProblem::OutOfRange;
        return checked;
    }
    const auto yearToMinute = [](const DateTimeParts& p) {
        return std::array{p[1], p[2], p[3], p[4], p[5]};
    };
    if (yearToMinute(entered) > yearToMinute(now)) {
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
    s.quitMoment = entered;
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
