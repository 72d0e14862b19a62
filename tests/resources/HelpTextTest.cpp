// The help text's history and its author agree with the package; its frame, as the help window
// shows it, is the window tests' own.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The author the help names for contact holds every copyright, in the help and the package;
// the history begins with the first release and lists releases only.
TEST(HelpText, OneAuthorEverywhereAndAHistoryOfReleasesOnly) {
    const std::string help = readFile(KEMURIN_HELP_TEXT);
    std::smatch named;
    ASSERT_TRUE(std::regex_search(help, named, std::regex("作者：([^\n]+)")));
    const std::string author = named[1];
    const char* metainfo = KEMURIN_SOURCE_DIR "/packaging/jp.example.kemurin.metainfo.xml";
    for (const char* file :
         {KEMURIN_HELP_TEXT, KEMURIN_SOURCE_DIR "/packaging/copyright", metainfo}) {
        const std::string text = readFile(file);
        const std::regex copyright("[^\n]*Copyright[^\n]*");
        const auto lines = std::sregex_iterator(text.begin(), text.end(), copyright);
        EXPECT_NE(lines, std::sregex_iterator()) << file;
        for (auto line = lines; line != std::sregex_iterator(); ++line)
            EXPECT_NE(line->str().find("2026 " + author), std::string::npos) << line->str();
    }
    EXPECT_NE(readFile(metainfo).find("<developer_name>" + author + "</developer_name>"),
              std::string::npos);

    const std::string history = "★★★１７：更新履歴★★★\n";
    const std::size_t from = help.find(history) + history.size();
    std::istringstream entries(help.substr(from, help.find("★★★", from) - from));
    std::string line;
    ASSERT_TRUE(std::getline(entries, line));
    EXPECT_EQ(line, "2026/12/06　Ver 1.0　最初の公開版");
    for (; std::getline(entries, line);)
        EXPECT_TRUE(!line.starts_with("20") || line.find("Ver ") != std::string::npos) << line;
}

} // namespace
