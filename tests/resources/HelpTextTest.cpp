// The help text's frame: opening lines, a menu of twenty numbered sections, one heading per
// section in menu order, four empty lines after every section, and the closing line. Its
// history and its author agree with the package.
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

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(HelpText, MenuThenEachSectionUnderItsHeadingFollowedByFourEmptyLines) {
    const std::string text = readFile(KEMURIN_HELP_TEXT);
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

// The author the help names for contact holds every copyright, in the help and the package;
// the history begins with the first release.
TEST(HelpText, OneAuthorEverywhereAndAHistoryOfReleasesOnly) {
    const std::string help = readFile(KEMURIN_HELP_TEXT);
    const std::string contact = "作者：";
    const std::size_t named = help.find(contact);
    ASSERT_NE(named, std::string::npos);
    const std::string author =
        help.substr(named + contact.size(), help.find('\n', named) - named - contact.size());
    for (const char* file : {KEMURIN_HELP_TEXT, KEMURIN_SOURCE_DIR "/packaging/copyright",
                             KEMURIN_SOURCE_DIR "/packaging/jp.example.kemurin.metainfo.xml"}) {
        int copyrights = 0;
        for (const std::string& line : linesOf(readFile(file))) {
            if (line.find("Copyright") == std::string::npos)
                continue;
            ++copyrights;
            EXPECT_NE(line.find("2026 " + author), std::string::npos) << file << ": " << line;
        }
        EXPECT_GT(copyrights, 0) << file;
    }
    EXPECT_NE(readFile(KEMURIN_SOURCE_DIR "/packaging/jp.example.kemurin.metainfo.xml")
                  .find("<developer_name>" + author + "</developer_name>"),
              std::string::npos);

    const std::string history = "★★★１７：更新履歴★★★\n";
    const std::size_t from = help.find(history) + history.size();
    const std::vector<std::string> entries =
        linesOf(help.substr(from, help.find("★★★", from) - from));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), "2026/12/06　Ver 1.0　最初の公開版");
    for (const std::string& line : entries)
        EXPECT_TRUE(!line.starts_with("20") || line.find("Ver ") != std::string::npos) << line;
}

} // namespace
