#include "settings/SettingsRecord.h"

#include <QStringList>

#include <limits>
#include <vector>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

class RecordReader {
public:
    explicit RecordReader(QStringView text) : m_text(text) {}

    // The raw text of the next field, or nothing when the record ends before it.
    std::optional<QString> next() {
        // A line end before a field only breaks the record over lines; it is not an empty field.
        while (!atEnd() && (isBlank(peek()) || isLineEnd(peek())))
            ++m_pos;
        if (atEnd())
            return std::nullopt;

        QString value;
        if (!atEnd() && peek() == u'"') {
            ++m_pos;
            const qsizetype close = m_text.indexOf(u'"', m_pos);
            const qsizetype end = close < 0 ? m_text.size() : close;
            value = m_text.mid(m_pos, end - m_pos).toString();
            m_pos = close < 0 ? end : close + 1;
            while (!atEnd() && peek() != u',' && !isLineEnd(peek()))
                ++m_pos;
        } else {
            const qsizetype start = m_pos;
            while (!atEnd() && peek() != u',' && !isLineEnd(peek()))
                ++m_pos;
            qsizetype end = m_pos;
            while (end > start && isBlank(m_text[end - 1]))
                --end;
            value = m_text.mid(start, end - start).toString();
        }
        takeSeparator();
        return value;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return m_text[m_pos]; }
    void takeSeparator() {
        if (!atEnd())
            ++m_pos;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

// A whole number, or a decimal rounded to the nearest (halves to even), within 32 bits.
std::optional<std::int32_t> parseNumber(const QString& raw) {
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return 0;
    qsizetype i = 0;
    const bool negative = text[0] == u'-';
    if (text[0] == u'-' || text[0] == u'+')
        ++i;
    const qsizetype digitsStart = i;
    std::int64_t whole = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        whole = whole * 10 + (text[i].unicode() - u'0');
        if (whole > std::int64_t{1} << 32)
            return std::nullopt;
    }
    bool anyDigit = i > digitsStart;
    int roundUp = 0; // after the point: 0 below a half, 1 exactly a half, 2 above
    if (i < text.size() && text[i] == u'.') {
        ++i;
        const qsizetype fractionStart = i;
        for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
            const int d = text[i].unicode() - u'0';
            if (i == fractionStart)
                roundUp = d > 5 ? 2 : d == 5 ? 1 : 0;
            else if (d != 0 && roundUp == 1)
                roundUp = 2;
        }
        anyDigit = anyDigit || i > fractionStart;
    }
    if (!anyDigit || i != text.size())
        return std::nullopt;
    if (roundUp == 2 || (roundUp == 1 && whole % 2 == 1))
        ++whole;
    const std::int64_t value = negative ? -whole : whole;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

struct ParsedValue {
    std::optional<std::int32_t> number;
    QString text;
};

} // namespace

QString formatRecord(std::span<const SettingsField> fields) {
    QStringList parts;
    for (const SettingsField& field : fields) {
        if (const auto* text = std::get_if<QString*>(&field))
            parts << u'"' + **text + u'"';
        else if (const auto* n32 = std::get_if<std::int32_t*>(&field))
            parts << QString::number(**n32);
        else
            parts << QString::number(*std::get<std::int64_t*>(field));
    }
    return parts.join(u',') + QStringLiteral("\r\n");
}

bool parseRecord(QStringView text, std::span<const SettingsField> fields) {
    RecordReader reader(text);
    std::vector<ParsedValue> values;
    for (const SettingsField& field : fields) {
        std::optional<QString> raw = reader.next();
        if (!raw)
            return false;
        ParsedValue value;
        if (std::holds_alternative<QString*>(field)) {
            value.text = *raw;
        } else {
            value.number = parseNumber(*raw);
            if (!value.number)
                return false;
        }
        values.push_back(std::move(value));
    }
    auto value = values.begin();
    for (const SettingsField& field : fields) {
        if (auto* t = std::get_if<QString*>(&field))
            **t = value->text;
        else if (auto* n32 = std::get_if<std::int32_t*>(&field))
            **n32 = *value->number;
        else
            *std::get<std::int64_t*>(field) = *value->number;
        ++value;
    }
    return true;
}
