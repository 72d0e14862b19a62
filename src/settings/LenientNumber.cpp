#include "settings/LenientNumber.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <string>

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\u3000';
}

// Folds the full-width forms an input method produces onto ASCII; anything else passes through.
char16_t toAscii(char16_t c) {
    if (c >= u'０' && c <= u'９')
        return static_cast<char16_t>(u'0' + (c - u'０'));
    switch (c) {
    case u'＋':
        return u'+';
    case u'－':
        return u'-';
    case u'．':
        return u'.';
    case u'ｅ':
        return u'e';
    case u'Ｅ':
        return u'E';
    default:
        return c;
    }
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Reads the text as the decimal number mantissa × 10^exponent, kept exactly: no rounding can
// push 2147483647.9 or 0.99999999999999999999 over a whole number.
struct DecimalNumber {
    bool negative = false;
    std::string mantissa; // digits, leading zeros dropped; empty means zero
    long long exponent = 0;
};

// Far beyond any exponent that could still give a 32-bit value, yet safe to add lengths to.
constexpr long long kExponentLimit = 1'000'000;

DecimalNumber parse(const std::u16string& s) {
    DecimalNumber number;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        number.negative = s[i] == u'-';
        ++i;
    }
    bool sawDigit = false;
    long long fractionDigits = 0;
    auto takeDigit = [&number](char16_t c) {
        if (c != u'0' || !number.mantissa.empty())
            number.mantissa.push_back(static_cast<char>(c));
    };
    for (; i < s.size() && isDigit(s[i]); ++i) {
        takeDigit(s[i]);
        sawDigit = true;
    }
    if (i < s.size() && s[i] == u'.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i) {
            // Zeros before the first significant digit still shift the scale.
            if (!number.mantissa.empty() || s[i] != u'0')
                takeDigit(s[i]);
            ++fractionDigits;
            sawDigit = true;
        }
    }
    if (!sawDigit)
        return {};

    long long exponent = 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) {
            negativeExponent = s[j] == u'-';
            ++j;
        }
        // "1e" and "1e+" keep the 1: the exponent counts only with a digit.
        if (j < s.size() && isDigit(s[j])) {
            for (; j < s.size() && isDigit(s[j]); ++j) {
                if (exponent < kExponentLimit)
                    exponent = exponent * 10 + (s[j] - u'0');
            }
            if (negativeExponent)
                exponent = -exponent;
        }
    }
    number.exponent = exponent - fractionDigits;
    return number;
}

} // namespace

std::optional<std::int32_t> readLenientNumber(const QString& text) {
    // Blanks count for nothing wherever they stand, so "1 2" reads as 12.
    std::u16string folded;
    folded.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (!isBlank(c))
            folded.push_back(toAscii(c));
    }

    const DecimalNumber number = parse(folded);
    if (number.mantissa.empty())
        return 0;

    const auto digits = static_cast<long long>(number.mantissa.size());
    const long long wholeDigits = digits + number.exponent;
    // More than ten whole digits is past 2^31 whatever they are.
    if (wholeDigits > 10)
        return std::nullopt;

    long long whole = 0;
    bool fractionLeft = false;
    for (long long k = 0; k < std::max(wholeDigits, 0LL); ++k)
        whole = whole * 10 + (k < digits ? number.mantissa[static_cast<std::size_t>(k)] - '0' : 0);
    // The mantissa has no trailing-zero trimming, so look for any non-zero past the point.
    for (long long k = std::max(wholeDigits, 0LL); k < digits; ++k)
        fractionLeft = fractionLeft || number.mantissa[static_cast<std::size_t>(k)] != '0';

    // Rounding down goes away from zero for negative numbers with a fraction.
    const long long value = number.negative ? -whole - (fractionLeft ? 1 : 0) : whole;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> readStrictNumber(const QString& text) {
    QString folded;
    for (const QChar c : text)
        folded.append(QChar(toAscii(c.unicode())));
    folded = folded.trimmed();
    while (!folded.isEmpty() && folded.front() == u'\u3000')
        folded.remove(0, 1);
    while (!folded.isEmpty() && folded.back() == u'\u3000')
        folded.chop(1);
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    if (!number.match(folded).hasMatch())
        return std::nullopt;
    return readLenientNumber(folded);
}
