// The help text's frame: opening lines, a menu of twenty numbered sections, one heading per
// section in menu order, four empty lines after every section, and the closing line.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::string kHint = "＝＝ウインドウ右上のＸボタンを押すとヘルプが終了します＝＝";

// clang-format off
const char* const kMenu[] = {"概要", "ステータス", "ケムリンからの日数", "延びた寿命と肺の状態",
    "節約できた金額", "吸わなかった煙草", "今日の一言", "プログレスバー", "コピーボタン",
    "ブログボタン", "設定ボタン", "タスクトレイへの収納方法", "ミニサイズでの運転方法",
    "不具合がでたときの対処方法", "削除の方法", "動作環境", "更新履歴",
    "バージョン情報、著作権、ソフトの転載", "免責事項", "作者連絡先"};
// clang-format on

// Full-width digits; one-digit numbers get a full-width space in front so the colons line up.
std::string number(std::size_t n) {
    static const char* const d[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    return n < 10 ? std::string("　") + d[n] : std::string(d[n / 10]) + d[n % 10];
}

TEST(HelpText, MenuThenEachSectionUnderItsHeadingFollowedByFourEmptyLines) {
    std::ifstream in(KEMURIN_HELP_TEXT, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string opening = "\n" + kHint + "\n\n\n　ケムリン式ヘルプメニュー\n\n";
    for (std::size_t i = 0; i < std::size(kMenu); ++i)
        opening += number(i + 1) + "：" + kMenu[i] + "\n";
    ASSERT_EQ(text.substr(0, opening.size() + 4), opening + "\n\n\n\n");
    const std::string closing = "\n" + kHint + "\n";
    ASSERT_TRUE(text.ends_with(closing)) << "the closing line, ending in a line break";
    // Sections 1 and 4 carry a longer title in their heading than in the menu.
    std::size_t at = opening.size() + 4;
    for (std::size_t i = 0; i < std::size(kMenu); ++i) {
        const char* title = i == 0   ? "ソフトの概要"
                            : i == 3 ? "延びた寿命と肺の状態について"
                                     : kMenu[i];
        const std::string heading = "★★★" + number(i + 1) + "：" + title + "★★★\n";
        ASSERT_EQ(text.compare(at, heading.size(), heading), 0) << heading << "expected at " << at;
        at += heading.size();
        const bool last = i + 1 == std::size(kMenu);
        const std::size_t end = last ? text.size() - closing.size() : text.find("★★★", at);
        const std::string body = text.substr(at, end - at);
        EXPECT_TRUE(body.size() > 6 && body.front() != '\n' && body.ends_with("\n\n\n\n\n") &&
                    body[body.size() - 6] != '\n')
            << heading << "has no body, or not four empty lines after it";
        EXPECT_TRUE(!last || body.find("★★★") == std::string::npos) << "a stray heading";
        at = end;
    }
}

} // namespace
