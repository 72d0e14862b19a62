// The help text's history and its author agree with the package; its frame, as the help window
// shows it, is the window tests' own.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

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
