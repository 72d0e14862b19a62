// The help text's frame: opening lines, a menu of twenty numbered sections, one heading per
// section in menu order, four empty lines after every section, and the closing line.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kHint = "＝＝ウインドウ右上のＸボタンを押すとヘルプが終了します＝＝";

// The menu's titles, one a line.
const std::string kMenu =
    "概要\nステータス\nケムリンからの日数\n延びた寿命と肺の状態\n節約できた金額\n"
    "吸わなかった煙草\n今日の一言\nプログレスバー\nコピーボタン\nブログボタン\n"
    "設定ボタン\nタスクトレイへの収納方法\nミニサイズでの運転方法\n"
    "不具合がでたときの対処方法\n削除の方法\n動作環境\n更新履歴\n"
    "バージョン情報、著作権、ソフトの転載\n免責事項\n作者連絡先\n";

// Full-width digits; one-digit numbers get a full-width space in front so the colons line up.
std::string number(std::size_t n) {
    static const char* const d[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    return n < 10 ? std::string("　") + d[n] : std::string(d[n / 10]) + d[n % 10];
}

TEST(HelpText, MenuThenEachSectionUnderItsHeadingFollowedByFourEmptyLines) {
    std::ifstream in(KEMURIN_HELP_TEXT, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> titles;
    std::istringstream menu(kMenu);
    for (std::string title; std::getline(menu, title);)
        titles.push_back(title);
    std::string opening = "\n" + kHint + "\n\n\n　ケムリン式ヘルプメニュー\n\n";
    for (std::size_t i = 0; i < titles.size(); ++i)
        opening += number(i + 1) + "：" + titles[i] + "\n";
    ASSERT_EQ(text.substr(0, opening.size() + 4), opening + "\n\n\n\n");
    const std::string closing = "\n" + kHint + "\n";
    ASSERT_TRUE(text.ends_with(closing)) << "the closing line, ending in a line break";
    // Sections 1 and 4 carry a longer title in their heading than in the menu.
    titles[0] = "ソフトの概要";
    titles[3] += "について";
    std::size_t at = opening.size() + 4;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const std::string heading = "★★★" + number(i + 1) + "：" + titles[i] + "★★★\n";
        ASSERT_EQ(text.compare(at, heading.size(), heading), 0) << heading << "expected at " << at;
        at += heading.size();
        const std::size_t end = std::min(text.find("★★★", at), text.size() - closing.size());
        const std::string body = text.substr(at, end - at);
        EXPECT_TRUE(body.size() > 6 && body.front() != '\n' && body.ends_with("\n\n\n\n\n") &&
                    body[body.size() - 6] != '\n')
            << heading << "has no body, or not four empty lines after it";
        at = end;
    }
    EXPECT_EQ(at, text.size() - closing.size()) << "a stray heading in the last section";
}

} // namespace
