#include "NameGenerator.h"

namespace qarvon::refsvc {

namespace {

struct Syllable
{
    const char *hanzi;
    const char *pinyin;
};

const std::vector<Syllable> kSurnames = {
    {"林", "Lin"},  {"陈", "Chen"}, {"苏", "Su"},    {"叶", "Ye"},  {"沈", "Shen"},
    {"顾", "Gu"},   {"许", "Xu"},   {"江", "Jiang"}, {"夏", "Xia"}, {"程", "Cheng"},
    {"白", "Bai"},  {"陆", "Lu"},   {"韩", "Han"},   {"秦", "Qin"}, {"温", "Wen"},
    {"方", "Fang"}, {"唐", "Tang"}, {"孟", "Meng"},  {"柳", "Liu"}, {"颜", "Yan"},
};

const std::vector<Syllable> kGiven = {
    {"晓", "xiao"}, {"雨", "yu"},   {"风", "feng"},  {"云", "yun"},  {"星", "xing"},
    {"海", "hai"},  {"月", "yue"},  {"青", "qing"},  {"梦", "meng"}, {"安", "an"},
    {"宁", "ning"}, {"远", "yuan"}, {"歌", "ge"},    {"岚", "lan"},  {"澈", "che"},
    {"若", "ruo"},  {"溪", "xi"},   {"川", "chuan"}, {"野", "ye"},   {"遥", "yao"},
    {"墨", "mo"},   {"禾", "he"},   {"棠", "tang"},  {"予", "yu"},   {"朗", "lang"},
};

const std::vector<Syllable> kBands = {
    {"银河", "Galaxy"},   {"夜航", "Night Flight"},  {"纸飞机", "Paper Plane"},
    {"回声", "Echo"},     {"候鸟", "Migrant Birds"}, {"灯塔", "Lighthouse"},
    {"白昼", "Daylight"}, {"蓝调", "Blue Tone"},     {"海盐", "Sea Salt"},
    {"铁轨", "Rails"},    {"萤火", "Firefly"},       {"橘子汽水", "Orange Soda"},
};

const std::vector<const char *> kBandSuffix = {"乐队", "乐团", "合唱团", "组合"};

const std::vector<const char *> kFirstNames
    = {"Aria", "Milo", "Nora", "Felix", "Iris",  "Jonah", "Lena", "Oscar",
       "Ruby", "Theo", "Vera", "Elio",  "Maren", "Silas", "Cleo", "Anouk"};
const std::vector<const char *> kLastNames
    = {"Hartwell", "Vale",   "Quinlan", "Rowe",      "Sterling", "Frost",
       "Larkin",   "Moreau", "Kessler", "Lindqvist", "Okafor",   "Brennan"};
const std::vector<const char *> kAdjectives
    = {"Amber",  "Hollow", "Neon",     "Silver", "Quiet", "Electric", "Wandering",
       "Marble", "Velvet", "Midnight", "Golden", "Paper", "Distant",  "Slow"};
const std::vector<const char *> kNouns
    = {"Foxes",  "Harbors",  "Satellites", "Orchards", "Comets", "Lanterns",
       "Rivers", "Circuits", "Gardens",    "Signals",  "Tides",  "Windows"};
const std::vector<const char *> kSingularNouns
    = {"Train",  "Moon",  "Letter", "Summer", "Road", "Ocean", "Dream", "Light",
       "Shadow", "Heart", "City",   "Window", "Rain", "Fire",  "Song"};

const std::vector<const char *> kScenes
    = {"夏夜", "城市", "海边", "旧时光", "远方", "雨季",     "星空", "梦境", "午后",
       "黎明", "冬天", "站台", "屋顶",   "山谷", "十字路口", "小镇", "港口", "月台"};
const std::vector<const char *> kThings
    = {"风",   "歌",   "约定", "信",   "影子", "回忆", "光", "告白",
       "旅程", "秘密", "晚安", "烟火", "心跳", "背影", "爱", "爱人"};

// Full-width forms, as titles typed with a Chinese input method often have them.
const std::vector<const char *> kFullWidthWords
    = {"ＬＯＶＥ", "Ｓｕｍｍｅｒ", "ＯＫ", "ＤＪ", "ＮＯ．１"};

const std::vector<const char *> kLyricChinese = {
    "我在风里等你", "城市的灯一盏盏亮起", "把昨天折成纸飞机", "你说的话还在耳边",
    "雨落在旧站台", "星星不说话",         "走过长长的街",     "把心事交给海浪",
    "晚风吹过屋顶", "故事还没有结束",     "我们唱着同一首歌", "天亮以前别走",
};
const std::vector<const char *> kLyricLatin = {
    "I hear the river calling",     "Lights across the harbor",   "We were young and restless",
    "Hold on to the morning",       "Every road leads back home", "Paper boats on silver water",
    "Tell me what the night knows", "Dancing in the quiet rain",  "All the windows open wide",
    "Follow the distant signal",    "Sing it one more time",      "Under a marble moon",
};

const std::vector<const char *> kGenres
    = {"流行", "摇滚", "民谣", "电子", "爵士", "R&B", "古典", "说唱"};

std::string Hanzi(const std::vector<Syllable> &pool, Random &r, std::string *pinyin)
{
    const Syllable &s = r.pick(pool);
    if (pinyin)
        *pinyin += s.pinyin;
    return s.hanzi;
}

std::string Capitalised(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::string ChineseTitle(Random &r)
{
    switch (r.range(0, 3)) {
    case 0:
        return std::string(r.pick(kScenes)) + "的" + r.pick(kThings);
    case 1:
        return std::string(r.pick(kScenes));
    case 2:
        return std::string(r.pick(kThings)) + "与" + r.pick(kThings);
    default:
        return std::string("给") + r.pick(kScenes) + "的" + r.pick(kThings);
    }
}

std::string LatinTitle(Random &r)
{
    switch (r.range(0, 3)) {
    case 0:
        return std::string(r.pick(kAdjectives)) + " " + r.pick(kSingularNouns);
    case 1:
        return std::string(r.pick(kSingularNouns)) + " of " + r.pick(kNouns);
    case 2:
        return std::string("The ") + r.pick(kSingularNouns);
    default:
        return std::string(r.pick(kAdjectives)) + " " + r.pick(kNouns);
    }
}

// One in five titles gets characters that are awkward in file names.
std::string Awkward(Random &r, std::string title, bool chinese, int index)
{
    if (index % 5 != 3)
        return title;
    const std::string other = chinese ? ChineseTitle(r) : LatinTitle(r);
    switch ((index / 5) % 8) {
    case 0:
        return "《" + title + "》";
    case 1:
        return title + "/" + other;
    case 2:
        return chinese ? "问：" + title + "？" : title + "?";
    case 3:
        return title + ": " + other;
    case 4:
        return std::string(r.pick(kFullWidthWords)) + " " + title;
    case 5:
        return chinese ? title + "（Live）" : title + " (Live)";
    case 6:
        return title + "《" + other + "》";
    default:
        return chinese ? title + "：第" + std::to_string(r.range(2, 9)) + "章"
                       : "Part " + std::to_string(r.range(2, 9)) + ": " + title;
    }
}

} // namespace

GeneratedArtist NameGenerator::artist(Random &r)
{
    GeneratedArtist a;
    switch (r.range(0, 9)) {
    case 0:
    case 1:
    case 2:
    case 3: {
        std::string surname;
        std::string given;
        a.name = Hanzi(kSurnames, r, &surname);
        a.name += Hanzi(kGiven, r, &given);
        if (r.chance(70))
            a.name += Hanzi(kGiven, r, &given);
        a.englishName = Capitalised(given) + " " + surname;
        a.chinese = true;
        break;
    }
    case 4:
    case 5: {
        std::string english;
        a.name = Hanzi(kBands, r, &english) + r.pick(kBandSuffix);
        a.englishName = english;
        a.chinese = true;
        break;
    }
    case 6:
    case 7:
    case 8:
        a.name = std::string(r.pick(kFirstNames)) + " " + r.pick(kLastNames);
        a.englishName = a.name;
        a.chinese = false;
        break;
    default:
        a.name = std::string("The ") + r.pick(kAdjectives) + " " + r.pick(kNouns);
        a.englishName = a.name;
        a.chinese = false;
        break;
    }
    return a;
}

std::string NameGenerator::albumName(Random &r, bool chinese, int index)
{
    std::string title = chinese ? ChineseTitle(r) : LatinTitle(r);
    if (index % 7 == 2)
        title += chinese ? " 精选" : " Vol." + std::to_string(r.range(1, 4));
    return Awkward(r, std::move(title), chinese, index);
}

std::string NameGenerator::trackName(Random &r, bool chinese, int index)
{
    return Awkward(r, chinese ? ChineseTitle(r) : LatinTitle(r), chinese, index);
}

std::string NameGenerator::topicTitle(Random &r, int index)
{
    static const std::vector<const char *> kTopics
        = {"雨天听的歌",   "深夜电台",          "Road Trip Mix", "通勤路上",        "周末早午餐",
           "Focus & Flow", "怀旧金曲",          "毕业季",        "Late Night Jazz", "运动节拍",
           "安静的书房",   "城市漫步",          "Indie Picks",   "海边假日",        "冬日暖阳",
           "新歌速递",     "Acoustic Mornings", "睡前故事"};
    (void)r;
    return kTopics[static_cast<std::size_t>(index) % kTopics.size()];
}

std::string NameGenerator::lyricLine(Random &r, bool chinese)
{
    return chinese ? r.pick(kLyricChinese) : r.pick(kLyricLatin);
}

std::string NameGenerator::sentence(Random &r, bool chinese)
{
    if (chinese)
        return std::string("关于") + r.pick(kScenes) + "和" + r.pick(kThings) + "的故事，"
            + r.pick(kLyricChinese) + "。";
    return std::string("Songs about ") + r.pick(kNouns) + " and " + r.pick(kSingularNouns) + ". "
        + r.pick(kLyricLatin) + ".";
}

std::string NameGenerator::genre(Random &r)
{
    return r.pick(kGenres);
}

} // namespace qarvon::refsvc
