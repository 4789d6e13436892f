// Numbers, counters, signs, addresses and brand words read with the dictionaries shipped in
// dll/: each class of text that used to be misread is pinned here with its phonetic string.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class ShippedNumbers : public test::Shipped {};

// A counter after a kanji numeral is read as after digits, and wins over okurigana; the dictionary
// keeps the pairs it reads as a whole and place names, not surnames read natively.
TEST_F(ShippedNumbers, KanjiNumeralsBeforeCounters) {
  EXPECT_EQ(Read(U"一枚の紙と三枚の皿。"), "いち'まいの/かみ'と/さ'んまいの/さら。");
  EXPECT_EQ(Read(U"八千円くらいです。"), "はっせ'んえんくらいです。");
  EXPECT_EQ(Read(U"三人で行く。"), "さんに'んで/いく。");
  EXPECT_EQ(Read(U"第一回の会議。"), "だいいっかいの/か'いぎ。");
  EXPECT_EQ(Read(U"一回だけ。"), "いっかいだけ。");
  EXPECT_EQ(Read(U"三本の木がある。"), "さ'んぼんの/き'が/あ'る。");
  EXPECT_EQ(Read(U"二十歳の誕生日。"), "は'たちの/たんじょ'ーび。");
  EXPECT_EQ(Read(U"四国へ行く。"), "し'こくえ/いく。");
  EXPECT_EQ(Read(U"一人で行く。"), "ひと'りで/いく。");
  EXPECT_EQ(Read(U"それで十分です。"), "それで/じゅーぶ'んです。");
  EXPECT_EQ(Read(U"一晩泊まる。"), "ひと'ばんとまる。");
  EXPECT_EQ(Read(U"1組の手袋。"), "ひと'くみの/てぶ'くろ。");
}

// A number and its counter are one word with one accent: on the number's last mora for most
// counters (時, 年, 本, 円), inside the counter where it keeps its own (週間, 時間, か月,
// loanwords), none for 回 and 階; a long number keeps it at its end. Without intonation no mark.
TEST_F(ShippedNumbers, NumberAndCounterHaveOneAccent) {
  EXPECT_EQ(Read(U"1時に会う。"), "いち'じに/あ'う。");
  EXPECT_EQ(Read(U"3時と10時。"), "さ'んじと/じゅ'うじ。");
  EXPECT_EQ(Read(U"2024年の春。"), "にせんにじゅうよ'ねんの/は'る。");
  EXPECT_EQ(Read(U"1本の木。"), "い'っぽんの/き。");
  EXPECT_EQ(Read(U"100円です。"), "ひゃく'えんです。");
  EXPECT_EQ(Read(U"1週間と1時間。"), "いっしゅ'うかんと/いちじ'かん。");
  EXPECT_EQ(Read(U"50メートル。"), "ごじゅうめ'ーとる。");
  EXPECT_EQ(Read(U"2回と2階。"), "にかいと/にかい。");
  // A word of quantity after the counter gives the compound its accent; a verb does not.
  EXPECT_EQ(Read(U"1週間以上。"), "いっしゅうかんい'じょー。");
  EXPECT_EQ(Read(U"3足買った。"), "さ'んぞくかった。");
  // One word: no boundary inside it.
  EXPECT_EQ(Read(U"1か月の休み。"), "いっか'げつの/やすみ。");
  EXPECT_EQ(Read(U"1時に会う。", false), "いちじに/あう。");
  EXPECT_EQ(Read(U"1週間と10パーセント。", false), "いっしゅうかんと/じゅっぱーせんと。");
}

// A counter's kana keep their small kana when kanji follow them in the word; compounds the
// dictionary knows stay its own.
TEST_F(ShippedNumbers, CounterKanaBeforeKanji) {
  EXPECT_EQ(Read(U"2錠飲んだ。"), "に'じょう/の'んだ。");
  EXPECT_EQ(Read(U"1週間以上。"), "いっしゅうかんい'じょー。");
  EXPECT_EQ(Read(U"第三章を読む。"), "だいさ'んしょーを/よ'む。");
  // After a prefix the dictionary's own reading of numeral and counter: 第一歩 is not 第一 + 歩.
  EXPECT_EQ(Read(U"良い第一歩です。"), "よ'い/だいいっぽです。");
  // A dictionary word that cuts the counter short is not the reading (一年 of 一年生), unless it
  // is a numeral form (二日 of 二日目).
  EXPECT_EQ(Read(U"一年生です。"), "いちねんせいです。");
  EXPECT_EQ(Read(U"二日目の朝。"), "ふつかめの/あ'さ。");
}

// The range mark reads から; a katakana word is a counter only as a whole.
TEST_F(ShippedNumbers, RangesAndKatakanaWords) {
  // The range mark reads as the particle から, without the accent of a loanword カラ.
  EXPECT_EQ(Read(U"3～5人で行く。"), "さんから/ごに'んで/いく。");
  EXPECT_EQ(Read(U"1〜2時間かかる。"), "いちから/にじ'かん/かか'る。");
  EXPECT_EQ(Read(U"東京～大阪間。").substr(0, 22), "とーきょーから/");
  EXPECT_EQ(Read(U"3カップの水。"), "さんカ'ップの/みず。");
  EXPECT_EQ(Read(U"100カロリーの食事。"), "ひゃっか'ろりーの/しょくじ。");
  EXPECT_EQ(Read(U"5カラットの指輪。"), "ごカ'ラットの/ゆびわ。");
  EXPECT_EQ(Read(U"5ヶ月分の薬。"), "ごかげつぶんの/くすり。");
  EXPECT_EQ(Read(U"6ヶ月後に。"), "ろっかげつごに。");
  EXPECT_EQ(Read(U"アメリカ国内で。"), "アメリカ/こく'ないで。");
}

// A Latin unit is a counter only as a whole word; G after a digit is a network generation.
TEST_F(ShippedNumbers, LatinUnits) {
  EXPECT_EQ(Read(U"5minで終わる。"), "ごふんで/おわる。");
  EXPECT_EQ(Read(U"100msの遅延。"), "ひゃくみりびょうの/ちえん。");
  EXPECT_EQ(Read(U"3timesです。"), "さんたいむずです。");
  EXPECT_EQ(Read(U"5Gの回線。"), "ごジ'ーの/かいせん。");
  EXPECT_EQ(Read(U"5kgの荷物。"), "ごきろぐらむの/に'もつ。");
  EXPECT_EQ(Read(U"5km/hで走る。"), "ごきろめーとるまいじで/はし'る。");
  EXPECT_EQ(Read(U"16GBのメモリ。"), "じゅうろくぎがば'いとの/メ'モリ。");
}

// Readings no counter entry gives: くじ, しちじ, はたち; 分の before a number is a fraction.
TEST_F(ShippedNumbers, HoursAgesAndFractions) {
  EXPECT_EQ(Read(U"9時に会う。"), "く'じに/あ'う。");
  EXPECT_EQ(Read(U"19時に会う。"), "じゅうきゅ'うじに/あ'う。");
  EXPECT_EQ(Read(U"9時間かかる。"), "きゅ'うじかんかかる。");
  EXPECT_EQ(Read(U"7時に起きる。"), "しち'じに/おき'る。");
  EXPECT_EQ(Read(U"20歳になった。"), "は'たちに/な'った。");
  EXPECT_EQ(Read(U"120歳まで生きる。"), "ひゃくにじゅうさいまで/いき'る。");
  EXPECT_EQ(Read(U"3分の1です。"), "さんぶんの/いちです。");
  EXPECT_EQ(Read(U"約三分の一。"), "やくさんぶんの/いち。");
  EXPECT_EQ(Read(U"5分の遅れ。"), "ご'ふんの/おくれ。");
}

// Kanji multipliers after digits belong to the number and sound with the counter.
TEST_F(ShippedNumbers, KanjiMultipliersAfterDigits) {
  EXPECT_EQ(Read(U"3千本の木。"), "さんぜ'んぼんの/き。");
  EXPECT_EQ(Read(U"3百人。"), "さんびゃくに'ん。");
  EXPECT_EQ(Read(U"1万本の花。"), "いちま'んぼんの/はな。");
  EXPECT_EQ(Read(U"1000分待った。"), "せ'んぷん/ま'った。");
  EXPECT_EQ(Read(U"2億5000万円。"), "におく/ごせんま'んえん。");
}

// A word of two kanji or more after a number and its counter, another kanji numeral, or a
// verb, is a word of its own: its accent begins a phrase, where it fell among the counter's
// kana (さんに''んかぞく, ご'ふ'んまった). A single kanji after the counter is its suffix, read
// with it.
TEST_F(ShippedNumbers, AWordAfterTheCounterBeginsAPhrase) {
  EXPECT_EQ(Read(U"3人家族"), "さんに'ん/か'ぞく。");
  EXPECT_EQ(Read(U"5人兄弟"), "ごに'ん/きょ'ーだい。");
  EXPECT_EQ(Read(U"3人一組"), "さんに'ん/ひと'くみ。");
  EXPECT_EQ(Read(U"2024年一人で"), "にせんにじゅうよ'ねん/ひと'りで。");
  // a verb of one kanji, its accent handed on to its okurigana (待 ま + 'った)
  EXPECT_EQ(Read(U"5分待った"), "ご'ふん/ま'った。");
  // in kanji, numeral and counter are the first part of one compound with the word
  EXPECT_EQ(Read(U"三人家族"), "さんにんか'ぞく。");
  EXPECT_EQ(Read(U"三年連続"), "さんねんれ'んぞく。");
  EXPECT_EQ(Read(U"一部文書は"), "いちぶぶ'んしょわ。");
  EXPECT_EQ(Read(U"三人組"), "さんに'んぐみ。");
  // a flat word stays in the number's phrase; a suffix keeps the counter's reading
  EXPECT_EQ(Read(U"3年連続"), "さ'んねんれんぞく。");
  EXPECT_EQ(Read(U"3人組"), "さんに'んぐみ。");
  EXPECT_EQ(Read(U"5ヶ月分"), "ごかげつぶん。");
}

// 千 alone reads せん; いっせん only before a big unit.
TEST_F(ShippedNumbers, OneThousandIsSen) {
  EXPECT_EQ(Read(U"1,500円です。"), "せんごひゃく'えんです。");
  EXPECT_EQ(Read(U"1000円です。"), "せ'んえんです。");
  EXPECT_EQ(Read(U"1473年のこと。"), "せ'んよんひゃく/なな'じゅう/さ'んねんの/こと'。");
  EXPECT_EQ(Read(U"1千万円。"), "いっせんま'んえん。");
  EXPECT_EQ(Read(U"1000万ドル。"), "いっせんまん/ド'ル。");
}

// Said digit by digit with their zeros; keywords are whole Latin words.
TEST_F(ShippedNumbers, TelephoneNumbersAndPostalCodes) {
  EXPECT_EQ(Read(U"電話は03-1234-5678です。"),
            "でんわわ/ぜろさん、いちにーさんよん、ごーろくななはちです。");
  EXPECT_EQ(Read(U"090-1234-5678に電話。"),
            "ぜろきゅうぜろ、いちにーさんよん、ごーろくななはちに、でんわ。");
  EXPECT_EQ(Read(U"〒100-0001東京都。"), "ユ'ービン/いちぜろぜろ、ぜろぜろぜろいちとーきょ'ーと。");
  EXPECT_EQ(Read(U"郵便番号は123-4567です。"),
            "ゆーびんばんご'ーわ/いちにーさん、よんごーろくななです。");
  EXPECT_EQ(Read(U"市外局番213の、486ー2435です。"),
            "しがいきょ'くばん/にーいちさんの、よんはちろく、にーよんさんごーです。");
  EXPECT_EQ(Read(U"Android13が出た。"), "あんどろいど/じゅうさんが/で'た。");
  EXPECT_EQ(Read(U"COVID-19の流行。"), "こびっど、じゅうきゅうの/りゅーこー。");
}

// The sign changes the value: it is read.
TEST_F(ShippedNumbers, MinusSign) {
  EXPECT_EQ(Read(U"気温は-5℃です。"), "きおんわ/まいなすごドです。");
  EXPECT_EQ(Read(U"−3度まで下がる。"), "まいなすさんどまで/さが'る。");
  EXPECT_EQ(Read(U"-0.5の値。"), "まいなすれーてん,ごの/あたい。");
}

// The half-width yen sign and the euro sign are money.
TEST_F(ShippedNumbers, YenAndEuroSigns) {
  EXPECT_EQ(Read(U"値段は¥3,980です。"), "ねだんわ/さんぜんきゅうひゃくはちじゅ'うえんです。");
  EXPECT_EQ(Read(U"€100です。"), "ひゃくゆ'ーろです。");
  EXPECT_EQ(Read(U"100€です。"), "ひゃくゆ'ーろです。");
}

// Addresses are read as people say them, dots and slashes included; brand words as Japanese say
// them.
TEST_F(ShippedNumbers, AddressesAndBrandNames) {
  EXPECT_EQ(Read(U"https://www.example.com/index.htmlを見て。"),
            "えいちてぃーてぃーぴーえす/コロンスラッシュスラ'ッシュ/"
            "だぶりゅーだぶりゅーだぶりゅーどっとえぐざんぷるどっとこむすらっしゅいんでっくすどっと"
            "えいちてぃーえむえるを、み'て。");
  EXPECT_EQ(Read(U"taro@example.co.jpに送る。"),
            "たろ/ア'ット/えぐざんぷるどっとしーおーどっとじぇーぴーに、おくる。");
  EXPECT_EQ(Read(U"YouTubeで見た。"), "ゆーちゅーぶで/み'た。");
  EXPECT_EQ(Read(U"iPhoneを買った。"), "あいふぉーんを/かった。");
  EXPECT_EQ(Read(U"Facebookに書いた。"), "ふぇいすぶっくに/か'いた。");
}
}  // namespace
}  // namespace kotonel
