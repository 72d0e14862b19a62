// The help text's frame: opening lines, a menu of twenty numbered sections, one heading per
// section in menu order, four empty lines after every section, and the closing line.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kHint = "＝＝ウインドウ右上のＸボタンを押すとヘルプが終了します＝＝";
constexpr std::size_t kMenuAt = 6; // line index of the menu's first entry

// clang-format off
const char* const kMenu[] = {"概要", "ステータス", "ケムリンからの日数", "延びた寿命と肺の状態",
    "節約できた金額", "吸わなかった煙草", "今日の一言", "プログレスバー", "コピーボタン",
    "ブログボタン", "設定ボタン", "タスクトレイへの収納方法", "ミニサイズでの運転方法",
    "不具合がでたときの対処方法", "削除の方法", "動作環境", "更新履歴",
    "バージョン情報、著作権、ソフトの転載", "免責事項", "作者連絡先"};
// clang-format on
constexpr std::size_t kCount = std::size(kMenu);

// Full-width digits; one-digit numbers get a full-width space in front so the colons line up.
std::string number(std::size_t n) {
    static const char* const d[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    return n < 10 ? std::string("　") + d[n] : std::string(d[n / 10]) + d[n % 10];
}

// Sections 1 and 4 carry a longer title in their heading than in the menu.
std::string heading(std::size_t i) {
    const char* title = i == 0   ? "ソフトの概要"
                        : i == 3 ? "延びた寿命と肺の状態について"
                                 : kMenu[i];
    return "★★★" + number(i + 1) + "：" + title + "★★★";
}

class HelpText : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(KEMURIN_HELP_TEXT, std::ios::binary);
        ASSERT_TRUE(in) << "cannot open " << KEMURIN_HELP_TEXT;
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1)
            lines.push_back(text.substr(start, end - start));
        ASSERT_GT(lines.size(), kMenuAt + kCount + 4);
    }
    std::string text;
    std::vector<std::string> lines; // a last line without '\n' is not among them
};

TEST_F(HelpText, OpensWithHintAndMenuTitleAndClosesWithTheHintAndALineBreak) {
    const std::vector<std::string> opening{"", kHint, "", "", "　ケムリン式ヘルプメニュー", ""};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + kMenuAt), opening);
    const std::string ending = "\n\n" + kHint + "\n";
    EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

TEST_F(HelpText, MenuHasTwentyNumberedEntriesWithAlignedColons) {
    for (std::size_t i = 0; i < kCount; ++i) {
        EXPECT_EQ(lines[kMenuAt + i], number(i + 1) + "：" + kMenu[i]);
    }
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(lines[kMenuAt + kCount + k], "") << "empty line " << k + 1 << " after the menu";
}

TEST_F(HelpText, EachSectionHasOneHeadingInOrderAndEndsWithFourEmptyLines) {
    std::vector<std::size_t> at; // where each heading stands, then the empty line before the hint
    for (std::size_t i = 0; i < kCount; ++i) {
        std::vector<std::size_t> found;
        for (std::size_t l = 0; l < lines.size(); ++l)
            if (lines[l] == heading(i))
                found.push_back(l);
        ASSERT_EQ(found.size(), 1u) << heading(i);
        at.push_back(found[0]);
    }
    std::size_t starred = 0;
    for (const std::string& line : lines)
        starred += line.find("★★★") != std::string::npos;
    EXPECT_EQ(starred, kCount) << "a ★★★ line that is not a section heading";
    at.push_back(lines.size() - 2);
    EXPECT_EQ(at[0], kMenuAt + kCount + 4) << "section 1 does not follow the menu's empty lines";
    for (std::size_t i = 0; i < kCount; ++i) {
        SCOPED_TRACE(heading(i));
        ASSERT_GT(at[i + 1], at[i] + 5) << "out of order, or no body";
        EXPECT_NE(lines[at[i] + 1], "");
        EXPECT_NE(lines[at[i + 1] - 5], "") << "more than four empty lines after the body";
        for (std::size_t k = 1; k <= 4; ++k)
            EXPECT_EQ(lines[at[i + 1] - k], "");
    }
}

} // namespace
