#include "settings/SettingsRecord.h"

#include "settings/TextCodec.h"

#include <QStringDecoder>

#include <limits>
#include <vector>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Works on the bytes: every character that shapes a record is ASCII below 0x40, which no
// code page 932 trail byte and no UTF-8 sequence contains.
class RecordReader {
public:
    explicit RecordReader(QByteArrayView bytes) : m_bytes(bytes) {}

    // The bytes of the next field, or nothing when the record ends before it.
    std::optional<QByteArray> next() {
        // A line end before a field only breaks the record over lines; it is not an empty field.
        while (!atEnd() && (isBlank(peek()) || isLineEnd(peek())))
            ++m_pos;
        if (atEnd())
            return std::nullopt;

        QByteArray value;
        if (peek() == '"') {
            ++m_pos;
            const qsizetype start = m_pos;
            // A text never spans lines: a missing closing quote ends it at the line end.
            while (!atEnd() && peek() != '"' && !isLineEnd(peek()))
                ++m_pos;
            value = m_bytes.sliced(start, m_pos - start).toByteArray();
            if (!atEnd() && peek() == '"')
                ++m_pos;
            while (!atEnd() && peek() != ',' && !isLineEnd(peek()))
                ++m_pos;
        } else {
            const qsizetype start = m_pos;
            while (!atEnd() && peek() != ',' && !isLineEnd(peek()))
                ++m_pos;
            qsizetype end = m_pos;
            while (end > start && isBlank(m_bytes[end - 1]))
                --end;
            value = m_bytes.sliced(start, end - start).toByteArray();
        }
        if (!atEnd())
            ++m_pos; // the separator
        return value;
    }

private:
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    char peek() const { return m_bytes[m_pos]; }

    QByteArrayView m_bytes;
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

// An editor that saves as UTF-8 puts this mark in front.
constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

QString decodeField(const QByteArray& bytes, bool utf8) {
    if (utf8) {
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString text = decoder.decode(bytes);
        // Only what can be saved again is taken; anything else keeps its bytes.
        if (!decoder.hasError() && encodeSettingsText(text))
            return text;
    }
    return decodeSettingsText(bytes);
}

struct ParsedValue {
    std::optional<std::int32_t> number;
    QString text;
    QByteArray bytes;
};

} // namespace

std::optional<QByteArray> formatRecord(std::span<const SettingsField> fields) {
    QByteArray line;
    for (const SettingsField& field : fields) {
        if (!line.isEmpty())
            line += ',';
        if (const auto* text = std::get_if<TextField>(&field)) {
            std::optional<QByteArray> bytes = *text->bytes;
            if (bytes->isEmpty() || decodeSettingsText(*bytes) != *text->text)
                bytes = encodeSettingsText(*text->text);
            if (!bytes)
                return std::nullopt;
            line += '"' + *bytes + '"';
        } else if (const auto* n32 = std::get_if<std::int32_t*>(&field)) {
            line += QByteArray::number(**n32);
        } else {
            line += QByteArray::number(*std::get<std::int64_t*>(field));
        }
    }
    return line + "\r\n";
}

bool isUtf8Record(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Mark))
        return true;
    // Stateless: a sequence cut off at the end is an error, not left for more bytes.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    bool beyondAscii = false;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 && c.unicode() < 0x800)
            return false;
        beyondAscii = beyondAscii || c.unicode() >= 0x800;
    }
    return beyondAscii && encodeSettingsText(text);
}

bool parseRecord(QByteArrayView bytes, std::span<const SettingsField> fields) {
    const bool utf8 = isUtf8Record(bytes);
    RecordReader reader(bytes.startsWith(kUtf8Mark) ? bytes.sliced(kUtf8Mark.size()) : bytes);
    std::vector<ParsedValue> values;
    for (const SettingsField& field : fields) {
        std::optional<QByteArray> raw = reader.next();
        if (!raw)
            return false;
        ParsedValue value;
        if (std::holds_alternative<TextField>(field)) {
            value.text = decodeField(*raw, utf8);
            value.bytes = std::move(*raw);
        } else {
            value.number = parseNumber(decodeField(*raw, utf8));
            if (!value.number)
                return false;
        }
        values.push_back(std::move(value));
    }
    auto value = values.begin();
    for (const SettingsField& field : fields) {
        if (const auto* t = std::get_if<TextField>(&field)) {
            *t->text = value->text;
            *t->bytes = value->bytes;
        } else if (auto* n32 = std::get_if<std::int32_t*>(&field)) {
            **n32 = *value->number;
        } else {
            *std::get<std::int64_t*>(field) = *value->number;
        }
        ++value;
    }
    return true;
}
