#include "grades/tables.h"

#include <algorithm>
#include <cstdint>
#include <cstddef>

namespace grade {

constexpr std::array<std::u16string_view, 6> GradeKanjiTables = {
    // Grade 1: 80 kanji, in reading order.
    u"一右雨円王音下火花貝学気九休玉金空月犬見五口校左三山子四糸字耳七車手十出女小上森"
    u"人水正生青夕石赤千川先早草足村大男竹中虫町天田土二日入年白八百文木本名目立力林六",
    // Grade 2: 160 kanji, in reading order.
    u"引羽雲園遠何科夏家歌画回会海絵外角楽活間丸岩顔汽記帰弓牛魚京強教近兄形計元言原戸"
    u"古午後語工公広交光考行高黄合谷国黒今才細作算止市矢姉思紙寺自時室社弱首秋週春書少"
    u"場色食心新親図数西声星晴切雪船線前組走多太体台地池知茶昼長鳥朝直通弟店点電刀冬当"
    u"東答頭同道読内南肉馬売買麦半番父風分聞米歩母方北毎妹万明鳴毛門夜野友用曜来里理話",
    // Grade 3: 200 kanji, in reading order.
    u"悪安暗医委意育員院飲運泳駅央横屋温化荷界開階寒感漢館岸起期客究急級宮球去橋業曲局"
    u"銀区苦具君係軽血決研県庫湖向幸港号根祭皿仕死使始指歯詩次事持式実写者主守取酒受州"
    u"拾終習集住重宿所暑助昭消商章勝乗植申身神真深進世整昔全相送想息速族他打対待代第題"
    u"炭短談着注柱丁帳調追定庭笛鉄転都度投豆島湯登等動童農波配倍箱畑発反坂板皮悲美鼻筆"
    u"氷表秒病品負部服福物平返勉放味命面問役薬由油有遊予羊洋葉陽様落流旅両緑礼列練路和",
    // Grade 4: 202 kanji, in reading order.
    u"愛案以衣位茨印英栄媛塩岡億加果貨課芽賀改械害街各覚潟完官管関観願岐希季旗器機議求"
    u"泣給挙漁共協鏡競極熊訓軍郡群径景芸欠結建健験固功好香候康佐差菜最埼材崎昨札刷察参"
    u"産散残氏司試児治滋辞鹿失借種周祝順初松笑唱焼照城縄臣信井成省清静席積折節説浅戦選"
    u"然争倉巣束側続卒孫帯隊達単置仲沖兆低底的典伝徒努灯働特徳栃奈梨熱念敗梅博阪飯飛必"
    u"票標不夫付府阜富副兵別辺変便包法望牧末満未民無約勇要養浴利陸良料量輪類令冷例連老"
    u"労録",
    // Grade 5: 193 kanji, in reading order.
    u"圧囲移因永営衛易益液演応往桜可仮価河過快解格確額刊幹慣眼紀基寄規喜技義逆久旧救居"
    u"許境均禁句型経潔件険検限現減故個護効厚耕航鉱構興講告混査再災妻採際在財罪殺雑酸賛"
    u"士支史志枝師資飼示似識質舎謝授修述術準序招証象賞条状常情織職制性政勢精製税責績接"
    u"設絶祖素総造像増則測属率損貸態団断築貯張停提程適統堂銅導得毒独任燃能破犯判版比肥"
    u"非費備評貧布婦武復複仏粉編弁保墓報豊防貿暴脈務夢迷綿輸余容略留領歴",
    // Grade 6: 191 kanji, in reading order.
    u"胃異遺域宇映延沿恩我灰拡革閣割株干巻看簡危机揮貴疑吸供胸郷勤筋系敬警劇激穴券絹権"
    u"憲源厳己呼誤后孝皇紅降鋼刻穀骨困砂座済裁策冊蚕至私姿視詞誌磁射捨尺若樹収宗就衆従"
    u"縦縮熟純処署諸除承将傷障蒸針仁垂推寸盛聖誠舌宣専泉洗染銭善奏窓創装層操蔵臓存尊退"
    u"宅担探誕段暖値宙忠著庁頂腸潮賃痛敵展討党糖届難乳認納脳派拝背肺俳班晩否批秘俵腹奮"
    u"並陛閉片補暮宝訪亡忘棒枚幕密盟模訳郵優預幼欲翌乱卵覧裏律臨朗論",
};

namespace {

// Every listed kanji lies in this block, so one byte per unit of it gives
// any kanji's grade in a single load instead of a search of 1,026 units.
constexpr char16_t kFirstListed = u'\u4E00';
constexpr char16_t kLastListed = u'\u9FFF';

struct ListedGrades {
    std::array<uint8_t, kLastListed - kFirstListed + 1> grade{};  // 0: in no list
    bool sound = true;  // every unit in the block and in one list only
};

// Built by the compiler. With each kanji in one list only, the result is the
// same as searching the lists one after the other from grade 1.
constexpr ListedGrades BuildListedGrades() {
    ListedGrades listed;
    for (size_t i = 0; i < GradeKanjiTables.size(); ++i) {
        for (const char16_t unit : GradeKanjiTables[i]) {
            if (unit < kFirstListed || unit > kLastListed || listed.grade[unit - kFirstListed] != 0) {
                listed.sound = false;
                continue;
            }
            listed.grade[unit - kFirstListed] = static_cast<uint8_t>(i + 1);
        }
    }
    return listed;
}

constexpr ListedGrades kListed = BuildListedGrades();
static_assert(kListed.sound, "a kanji is outside U+4E00..U+9FFF or in two lists");
static_assert(GradeKanjiTables[0].size() == 80 && GradeKanjiTables[1].size() == 160 &&
              GradeKanjiTables[2].size() == 200 && GradeKanjiTables[3].size() == 202 &&
              GradeKanjiTables[4].size() == 193 && GradeKanjiTables[5].size() == 191);

constexpr std::array<std::u16string_view, 8> kGradeLabels = {
    u"Grade 0／幼稚園児",   u"Grade 1／小学一年生", u"Grade 2／小学二年生",
    u"Grade 3／小学三年生", u"Grade 4／小学四年生", u"Grade 5／小学五年生",
    u"Grade 6／小学六年生", u"Grade 7+／中学生以上",
};

bool InRange(char16_t unit, char16_t first, char16_t last) {
    return unit >= first && unit <= last;
}

bool IsKana(char16_t unit) {
    return InRange(unit, u'\u3041', u'\u3094') || InRange(unit, u'\u30A1', u'\u30F4') ||
           unit == u'\u30FC';
}

bool IsLatin(char16_t unit) {
    return InRange(unit, u'a', u'z') || InRange(unit, u'\uFF41', u'\uFF5A') ||
           InRange(unit, u'A', u'Z') || InRange(unit, u'\uFF21', u'\uFF3A');
}

bool IsDigit(char16_t unit) {
    return InRange(unit, u'0', u'9') || InRange(unit, u'\uFF10', u'\uFF19');
}

constexpr char16_t kIterationMark = u'\u3005';

}  // namespace

bool IsKanji(char16_t unit) {
    return InRange(unit, u'\u3400', u'\u9FFF') || InRange(unit, u'\uF900', u'\uFAFF') ||
           unit == kIterationMark || unit == u'\u3007';
}

int FindGradeOfKanji(char16_t unit) {
    if (!InRange(unit, kFirstListed, kLastListed)) return 7;
    const int listed = kListed.grade[unit - kFirstListed];
    return listed == 0 ? 7 : listed;
}

CharGrade ClassifyChar(char16_t unit) {
    if (IsKana(unit)) return {CharClass::Kana, 1};
    if (IsLatin(unit)) return {CharClass::Latin, 3};
    if (IsDigit(unit)) return {CharClass::Digit, 1};
    if (unit == kIterationMark) return {CharClass::IterationMark, 3};
    if (IsKanji(unit)) return {CharClass::Kanji, FindGradeOfKanji(unit)};
    return {CharClass::Other, 0};
}

std::u16string_view GradeLabel(int grade) {
    return kGradeLabels[static_cast<size_t>(std::clamp(grade, 0, 7))];
}

}  // namespace grade
