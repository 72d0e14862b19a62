#include "engine/DailyMessages.h"

#include <array>

namespace {

// 0..31: days of the first month; 32..42: month anniversaries 1..11; 43: a year or more;
// 44 and 55..59: days 33, 34, 35, 44, 55, 66; 45..54: alternatives drawn at random.
constexpr std::array<const char*, kDailyMessageCount> kMessages{{
    "さあ今日からいよいよケムリンです！がんばりましょう！",       // 0
    "とにかく今日です！どんな手を使ってもいい！がんばれ！",       // 1
    "がんばれ、まけるな。がんばれ、まけるな。",                   // 2
    "タバコは一時の満足、肺ガンは一生の苦しみ。やめるのは今！",   // 3
    "タバコにだまされてはいけません。ただの枯れた葉っぱです",     // 4
    "タバコ＝血行不良＝皮膚への栄養不足＝皮膚カサカサ＝老化",     // 5
    "このキツイケムリン経験は、あなたを大きく成長させるでしょう", // 6
    "よし！！一週間だ！！よくやった！！エライゾー！！",           // 7
    "ゆったりと生活。のんびりと生活。けむりのない生活。",         // 8
    "子供の頃を思い出そう。元々タバコなんて必要ないのです",       // 9
    "「自分の意志で簡単にやめられない」←コレが煙草害の筆頭",      // 10
    "ケムリンして１１日目です。アヒル副隊長がお祝いに来ました",   // 11
    "リラックス、リラックス。 ひとやすみ、ひとやすみ。",          // 12
    "春夏秋冬。いつもおいしい空気。そして、おいしいごはん",       // 13
    "キターーー！！２週間だーーー！！よくやったーーー！！",       // 14
    "一本だけ。それは絶対にダメ！一本吸ったら全て終わりです",     // 15
    "大丈夫。ケムリンした多くの先輩達が貴方の味方です",           // 16
    "ゆったり、ゆったり。ひとやすみ、ひとやすみ。",               // 17
    "臭い新幹線の喫煙車両、臭い空港の喫煙ルーム、さようなら",     // 18
    "タバコをやめた貴方の勇気に乾杯！",                           // 19
    "タバコの煙は有料ですが、おいしい空気は無料です",             // 20
    "ヨシー！キター！３週間だ！エライゾー！！",                   // 21
    "ケムリンして２２日目です。アヒル隊長がお祝いに来ました",     // 22
    "イライラしたら、気分転換。コーヒーか、お茶でもどーぞ",       // 23
    "タバコ臭いという理由だけで振られました・・・",               // 24
    "もし夢で煙草を吸っていたら、それはタバコ脳の断末魔",         // 25
    "ケムリンしたいという気持ちがある限り、必ずできるのです",     // 26
    "もうタバコに無煙なわたし（おやぢぎゃぐ）",                   // 27
    "アヒル隊長から一言 「もうすぐ一ヶ月達成です」",              // 28
    "吸いたくなったら、まずは大きく深呼吸です",                   // 29
    "人生を２度楽しめる。ケムリン前とケムリン後",                 // 30
    "きれいな肺で、はーい元気（おやぢぎゃぐ２）",                 // 31
    "ケムリンから１ヶ月経過しました。おめでとうございます",       // 32
    "おめでとうございます。ケムリンから２ヶ月経過しました",       // 33
    "おめでとうございます。ケムリンから３ヶ月経過しました",       // 34
    "おめでとうございます。ケムリンから４ヶ月経過しました",       // 35
    "おめでとうございます。ケムリンから５ヶ月経過しました",       // 36
    "おめでとうございます。ケムリンから６ヶ月経過しました",       // 37
    "おめでとうございます。ケムリンから７ヶ月経過しました",       // 38
    "おめでとうございます。ケムリンから８ヶ月経過しました",       // 39
    "おめでとうございます。ケムリンから９ヶ月経過しました",       // 40
    "おめでとうございます。ケムリンから１０ヶ月経過しました",     // 41
    "おめでとうございます。ケムリンから１１ヶ月経過しました",     // 42
    "～ ごケムリンおめでとうございます ～",                       // 43
    "ケムリンして３３日目です。アヒルの王様がお祝いに来ました",   // 44
    "油断は禁物です。一本だけオバケに注意してください",           // 45
    "飲み会では特に注意してください",                             // 46
    "煙草友達の喫煙の誘いには注意してください",                   // 47
    "気合いだ！気合いだ！気合いだ！気合いだ！気合いだー！",       // 48
    "煮詰まったら、フッと肩の力を抜いてリラックスです",           // 49
    "がんばれ！がんばれ！がんばれ！がんばれ！がんばれー！",       // 50
    "根性です！今日は根性で乗り切るのです！",                     // 51
    "苦しくなったら気分転換！がんばれー！がんばれー！",           // 52
    "ガンバレ！ガンバレ！ガンバレ！ガンバレ！ガンバレー！",       // 53
    "今日を乗り切れば、取り合えず一山超えたことになります",       // 54
    "けむりん いっかげつ おめでとぉー　がぁーがぁーがぁー",       // 55
    "ケムリンして１ヶ月越えしましたが、油断は大敵です",           // 56
    "ケムリンして４４日目です。アヒル副隊長が喜んでいます",       // 57
    "ケムリンして５５日目です。アヒル隊長が喜んでいます",         // 58
    "ケムリンして６６日目です。アヒルの王様が喜んでいます",       // 59
}};

constexpr int kFirstAnniversary = 32;
constexpr int kLastAnniversary = 42;
constexpr int kYearMessage = 43;

struct DayEvent {
    std::int64_t day;
    int index;
};

// Arrivals and the first days past the first month; these win over the month anniversary.
constexpr std::array<DayEvent, 6> kDayEvents{{
    {33, 44},
    {34, 55},
    {35, 56},
    {44, 57},
    {55, 58},
    {66, 59},
}};

} // namespace

QString dailyMessage(int index) {
    if (index < 0 || index >= kDailyMessageCount) {
        return {};
    }
    return QString::fromUtf8(kMessages[static_cast<std::size_t>(index)]);
}

int messageIndex(std::int64_t dayCount, std::int64_t years, std::int64_t months, int r) {
    // Only dayCount can push the index out of range; the other rules all yield valid indexes.
    std::int64_t index = 0;
    if (years == 0 && months == 0) {
        index = dayCount;
    }
    if (months >= 1 && months <= 11) {
        index = months + 31;
    }
    if (years > 0) {
        index = kYearMessage;
    }
    for (const DayEvent& event : kDayEvents) {
        if (dayCount == event.day) {
            index = event.index;
        }
    }

    // Each test sees the index the previous one left.
    if (index >= kFirstAnniversary && index <= kLastAnniversary) {
        if (r == 1 || r == 2) {
            index = 45;
        } else if (r == 3) {
            index = 46;
        } else if (r == 4) {
            index = 47;
        }
    }
    if (index == 1) {
        if (r > 70) {
            index = 48;
        } else if (r < 20) {
            index = 49;
        } else if (r > 20 && r < 30) {
            index = 50;
        }
    }
    if (index == 2) {
        if (r > 70) {
            index = 51;
        } else if (r < 20) {
            index = 52;
        } else if (r > 20 && r < 30) {
            index = 53;
        }
    }
    if (index == 3 && r > 70) {
        index = 54;
    }

    // A clock set back before the quit moment gives a negative day count; greet as on day 0.
    if (index < 0 || index >= kDailyMessageCount) {
        return 0;
    }
    return static_cast<int>(index);
}
