#include "settings/SettingsRecord.h"
#include "settings/TextCodec.h"

#include <gtest/gtest.h>

namespace {

struct Record {
    std::int32_t a = -1, b = -1, c = -1;
    QString text = QStringLiteral("unset");
    QByteArray bytes;
    std::int64_t d = -1;
    std::array<SettingsField, 5> fields() { return {&a, TextField{&text, &bytes}, &b, &c, &d}; }
};

// The bytes a file holds for a text written here in UTF-8.
QByteArray fileBytes(const char* text) {
    return encodeSettingsText(QString::fromUtf8(text)).value_or("<not code page 932>");
}

TEST(SettingsRecord, ReadsHandMadeRecords) {
    const struct {
        const char* text;
        std::int32_t a, b, c;
        const char* str;
        std::int64_t d;
    } cases[] = {{" 1, \t\"x\",  2 ,3,\t4\r\n", 1, 2, 3, "x", 4},
                 {"1,\r\n\r\n\"x\"\r\n2\n3\r4", 1, 2, 3, "x", 4}, // over lines, with a blank one
                 {"1,\"a,b\",2,3,4", 1, 2, 3, "a,b", 4},
                 {"1,ソルジャー ,2,3,4", 1, 2, 3, "ソルジャー", 4},
                 {",\"\",,,5", 0, 0, 0, "", 5},
                 {"-300,\"x\",-0,-2147483648,-5", -300, 0, -2147483648, "x", -5},
                 {"\"12\",\"x\",2,3,4", 12, 2, 3, "x", 4},
                 {"1,x,2,3,4,5,junk\r\nmore", 1, 2, 3, "x", 4},
                 {"1,\"x\"y,2,3,4", 1, 2, 3, "x", 4},
                 // A text without its closing quote ends at the line end.
                 {"1,\"x\r\n2,3,4", 1, 2, 3, "x", 4}};
    for (const auto& c : cases) {
        Record r;
        ASSERT_TRUE(parseRecord(fileBytes(c.text), r.fields())) << c.text;
        EXPECT_EQ(std::tuple(r.a, r.text.toStdString(), r.b, r.c, r.d),
                  std::tuple(c.a, std::string(c.str), c.b, c.c, c.d))
            << c.text;
    }
}

// A failed read leaves every field as it was.
TEST(SettingsRecord, RefusesShortRecordsAndNumbersOutside32Bits) {
    for (const char* text :
         {"", "1,x,2,3\r\n", "1,x,2,3,", "1,x,abc,3,4", "1,x,12ab,3,4", "1,x,2147483648,3,4",
          "1,x,-2147483649,3,4", "1,x,99999999999999999999999,3,4", "１,x,2,3,4"}) {
        Record r;
        EXPECT_FALSE(parseRecord(fileBytes(text), r.fields())) << text;
        EXPECT_EQ(std::tuple(r.a, r.text.toStdString(), r.b), std::tuple(-1, "unset", -1)) << text;
    }
}

} // namespace
