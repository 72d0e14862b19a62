#include "settings/SettingsRecord.h"

#include <gtest/gtest.h>

namespace {

struct Record {
    std::int32_t a = -1, b = -1, c = -1;
    QString text = QStringLiteral("unset");
    std::int64_t d = -1;
    std::array<SettingsField, 5> fields() { return {&a, &text, &b, &c, &d}; }
};

TEST(FormatRecord, DecimalsQuotedTextsAndCrLf) {
    Record r{-300, 0, 2147483647, QStringLiteral("a,b ソルジャー"), -2147483648LL};
    EXPECT_EQ(formatRecord(r.fields()).toStdString(),
              "-300,\"a,b ソルジャー\",0,2147483647,-2147483648\r\n");
}

TEST(ParseRecord, ReadsBackWhatItWrites) {
    Record written{-300, 7, 0, QStringLiteral("kemurin.example.jp/,～"), 2147483647};
    Record read;
    ASSERT_TRUE(parseRecord(formatRecord(written.fields()), read.fields()));
    EXPECT_EQ(read.a, -300);
    EXPECT_EQ(read.text, written.text);
    EXPECT_EQ(read.b, 7);
    EXPECT_EQ(read.c, 0);
    EXPECT_EQ(read.d, 2147483647);
}

struct ParseCase {
    const char* name;
    const char* text;
    bool ok;
    std::int32_t a = 0, b = 0, c = 0;
    const char* str = "";
    std::int64_t d = 0;
};

class ParseRecordTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseRecordTest, HandMadeRecords) {
    const ParseCase& p = GetParam();
    Record r;
    EXPECT_EQ(parseRecord(QString::fromUtf8(p.text), r.fields()), p.ok);
    if (!p.ok) {
        // A failed read leaves every field as it was.
        EXPECT_EQ(r.a, -1);
        EXPECT_EQ(r.text.toStdString(), "unset");
        return;
    }
    EXPECT_EQ(r.a, p.a);
    EXPECT_EQ(r.text.toStdString(), p.str);
    EXPECT_EQ(r.b, p.b);
    EXPECT_EQ(r.c, p.c);
    EXPECT_EQ(r.d, p.d);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ParseRecordTest,
    testing::Values(
        ParseCase{"plain", "1,\"x\",2,3,4\r\n", true, 1, 2, 3, "x", 4},
        ParseCase{"blanks_and_tabs_before_fields", " 1, \t\"x\",  2 ,3,\t4\r\n", true, 1, 2, 3, "x",
                  4},
        ParseCase{"record_over_several_lines", "1,\r\n\"x\"\r\n2\n3\r4", true, 1, 2, 3, "x", 4},
        ParseCase{"blank_lines_between_fields", "1\r\n\r\n\"x\"\r\n\r\n2,3,4", true, 1, 2, 3, "x",
                  4},
        ParseCase{"comma_inside_quotes", "1,\"a,b\",2,3,4", true, 1, 2, 3, "a,b", 4},
        ParseCase{"unquoted_text", "1,ソルジャー ,2,3,4", true, 1, 2, 3, "ソルジャー", 4},
        ParseCase{"empty_numbers_are_zero", ",\"\",,,5", true, 0, 0, 0, "", 5},
        ParseCase{"negative_numbers", "-300,\"x\",-0,-2147483648,-5", true, -300, 0, -2147483648,
                  "x", -5},
        ParseCase{"quoted_number", "\"12\",\"x\",2,3,4", true, 12, 2, 3, "x", 4},
        ParseCase{"decimal_rounds_half_to_even", "2.5,x,3.5,1.51,-0.5", true, 2, 4, 2, "x", 0},
        ParseCase{"anything_after_the_last_field_is_ignored", "1,x,2,3,4,5,junk\r\nmore", true, 1,
                  2, 3, "x", 4},
        ParseCase{"text_after_closing_quote_is_dropped", "1,\"x\"y,2,3,4", true, 1, 2, 3, "x", 4},
        ParseCase{"ends_before_the_last_field", "1,x,2,3\r\n", false, 0, 0, 0, "", 0},
        ParseCase{"empty_file", "", false, 0, 0, 0, "", 0},
        ParseCase{"ends_after_a_comma", "1,x,2,3,", false, 0, 0, 0, "", 0},
        ParseCase{"not_a_number", "1,x,abc,3,4", false, 0, 0, 0, "", 0},
        ParseCase{"number_with_trailing_letters", "1,x,12ab,3,4", false, 0, 0, 0, "", 0},
        ParseCase{"above_the_long_range", "1,x,2147483648,3,4", false, 0, 0, 0, "", 0},
        ParseCase{"below_the_long_range", "1,x,-2147483649,3,4", false, 0, 0, 0, "", 0},
        ParseCase{"far_beyond_the_range", "1,x,99999999999999999999999,3,4", false, 0, 0, 0, "", 0},
        ParseCase{"full_width_digits_are_not_a_number", "１,x,2,3,4", false, 0, 0, 0, "", 0}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

} // namespace
