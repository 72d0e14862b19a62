#include "engine/StatusTitles.h"

#include <array>

namespace {

enum class Test { Equal, Greater };

struct TitleRule {
    Test test;
    std::int64_t value;
    const char* soldier;
    const char* cosmo;
};

// Applied top to bottom, every match overwriting the title, so the last match wins.
constexpr std::array<TitleRule, 27> kDayRules{{
    {Test::Equal, 0, "２等兵", "素粒子"},       {Test::Equal, 1, "１等兵", "陽子"},
    {Test::Equal, 2, "上等兵", "原子"},         {Test::Equal, 3, "兵長", "分子"},
    {Test::Equal, 4, "伍長", "ゴマ粒"},         {Test::Equal, 5, "軍曹", "小豆"},
    {Test::Greater, 5, "曹長", "大豆"},         {Test::Greater, 7, "准尉", "タマゴ"},
    {Test::Greater, 9, "少尉", "ヒヨコ"},       {Test::Greater, 11, "中尉", "ニワトリ"},
    {Test::Greater, 13, "大尉", "鶏小屋"},      {Test::Greater, 15, "少佐", "農家"},
    {Test::Greater, 17, "中佐", "集落"},        {Test::Greater, 19, "大佐", "村"},
    {Test::Greater, 21, "少将", "市"},          {Test::Greater, 25, "中将", "県"},
    {Test::Greater, 29, "大将", "日本列島"},    {Test::Greater, 59, "元帥", "東アジア"},
    {Test::Greater, 89, "大臣", "アジア"},      {Test::Greater, 119, "首相", "北半球"},
    {Test::Greater, 149, "大統領", "地球"},     {Test::Greater, 179, "王様", "月と地球"},
    {Test::Greater, 209, "大王様", "太陽系"},   {Test::Greater, 239, "神", "銀河"},
    {Test::Greater, 269, "カイオウ", "大銀河"}, {Test::Greater, 299, "ラオウ", "星雲"},
    {Test::Greater, 329, "トキ", "小宇宙"},
}};

// Applied after the day rules, on whole calendar years. The = 333 rule sits between two
// greater-than rules on purpose: it beats > 99 but not > 999.
constexpr std::array<TitleRule, 9> kYearRules{{
    {Test::Greater, 0, "ケンシロウ", "コスモ"},
    {Test::Greater, 1, "チョッパー", "大宇宙"},
    {Test::Greater, 2, "ゾロ", "宇宙王子"},
    {Test::Greater, 3, "ロビン", "宇宙王"},
    {Test::Greater, 4, "ルフィ", "宇宙大王"},
    {Test::Greater, 9, "ユリア", "宇宙神"},
    {Test::Greater, 99, "宇宙大神", "宇宙大神"},
    {Test::Equal, 333, "ルパン三世", "ルパン三世"},
    {Test::Greater, 999, "トトロ", "トトロ"},
}};

bool matches(const TitleRule& rule, std::int64_t value) {
    return rule.test == Test::Equal ? value == rule.value : value > rule.value;
}

template <std::size_t N>
const char* lastMatch(const std::array<TitleRule, N>& rules, std::int64_t value, bool soldier,
                      const char* title) {
    for (const TitleRule& rule : rules) {
        if (matches(rule, value)) {
            title = soldier ? rule.soldier : rule.cosmo;
        }
    }
    return title;
}

} // namespace

QString soldierSeriesName() {
    return QStringLiteral("ソルジャー");
}

QString cosmoSeriesName() {
    return QStringLiteral("コスモ");
}

QString statusTitle(const QString& statusMode, std::int64_t dayCount, std::int64_t wholeYears) {
    const bool soldier = statusMode == soldierSeriesName();
    if ((!soldier && statusMode != cosmoSeriesName()) || dayCount < 0) {
        return {};
    }
    const char* title = lastMatch(kDayRules, dayCount, soldier, "");
    title = lastMatch(kYearRules, wholeYears, soldier, title);
    return QString::fromUtf8(title);
}
