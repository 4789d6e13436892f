// Everyday sentences read with the dictionaries shipped in dll/: their phonetic strings, with
// accents and accent phrases, are pinned here so that a change of the data that changes how
// ordinary text is read shows up.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class ShippedDictionaries : public test::Shipped {};

TEST_F(ShippedDictionaries, Dates) {
  EXPECT_EQ(Read(U"今日は2024年4月14日です。"),
            "きょ'ーわ/にせんにじゅうよ'ねん/し'がつじゅーよっかです。");
  EXPECT_EQ(Read(U"夏休みは8月1日から始まる。"), "なつや'すみわ/はち'がつついたちから/はじまる。");
  EXPECT_EQ(Read(U"3月3日はひな祭りです。"), "さ'んがつみっかわひな/まつりです。");
  EXPECT_EQ(Read(U"来週の月曜日に会いましょう。"), "らいしゅーの/げつよ'ーびに/あいましょ'う。");
  // a number before the day is read by place, not as 四日
  EXPECT_EQ(Read(U"12月24日と365日。"),
            "じゅうに'がつにじゅーよっかと、さ'んびゃく/ろくじゅ'う/ご'にち。");
}

TEST_F(ShippedDictionaries, Times) {
  EXPECT_EQ(Read(U"会議は午後3時30分から始まります。"),
            "か'いぎわ/ご'ご/さ'んじ/さんじゅ'っぷんから/はじまりま'す。");
  EXPECT_EQ(Read(U"バスは9時4分に出発します。"), "バ'スわくじ/よんぷんに/しゅっぱつしま'す。");
  EXPECT_EQ(Read(U"駅まで歩いて15分かかります。"),
            "え'きまで/ある'いて/じゅうご'ふん/かかりま'す。");
  EXPECT_EQ(Read(U"何時に帰りますか？"), "な'んじに/かえりま'すか？");
}

TEST_F(ShippedDictionaries, Money) {
  EXPECT_EQ(Read(U"このりんごは1個120円でした。"),
            "この/りんごわ/い'っこ/ひゃくにじゅ'うえんでした。");
  EXPECT_EQ(Read(U"値段は2,500円です。"), "ねだんわ/にせんごひゃく'えんです。");
  EXPECT_EQ(Read(U"消費税は10%です。"), "しょーひ'ぜーわ/じゅっぱーせ'んとです。");
  EXPECT_EQ(Read(U"$100と￥500。"), "ひゃく'どると/ごひゃく'えん。");
}

TEST_F(ShippedDictionaries, Counters) {
  EXPECT_EQ(Read(U"彼は3本の鉛筆を持っている。"), "か'れわ/さ'んぼんの/えんぴつを/も'っている。");
  EXPECT_EQ(Read(U"猫が6匹いる。"), "ね'こが/ろ'っぴきいる。");
  EXPECT_EQ(Read(U"コーヒーを1杯ください。"), "コーヒ'ーを/い'っぱいくださ'い。");
  EXPECT_EQ(Read(U"シャツを2枚と靴下を3足買った。"),
            "シャ'ツを/に'まいと/くつ'したを/さ'んぞくかった。");
  EXPECT_EQ(Read(U"私の家は3階にあります。"), "わたしの/いえ'わ/さんがいに/ありま'す。");
  EXPECT_EQ(Read(U"1人で東京へ行きました。"), "ひと'りで/とーきょーえ/いきま'した。");
  EXPECT_EQ(Read(U"子供が2人います。"), "こどもが/ふたりいま'す。");
  EXPECT_EQ(Read(U"3ヶ月ぶりに実家へ帰った。"), "さんか'げつぶりに/じっかえ/か'えった。");
  EXPECT_EQ(Read(U"気温は25.5度でした。"), "きおんわ/にじゅうごてん,ごどでした。");
  EXPECT_EQ(Read(U"5kmのマラソンを走った。"), "ごきろめーとるの/マラソンを/はし'った。");
  EXPECT_EQ(Read(U"何人いますか？"), "な'んにん/いま'すか？");
  EXPECT_EQ(Read(U"数日かかる。"), "すーじつ/かか'る。");
}

TEST_F(ShippedDictionaries, EnglishWords) {
  EXPECT_EQ(Read(U"来月、新しいcomputerを買います。"),
            "ら'いげつ、あたらし'い/こんぴゅーたーを/かいま'す。");
  EXPECT_EQ(Read(U"Googleで検索してください。"), "ぐーぐるで/けんさくしてくださ'い。");
  // an unknown word is read by pieces, two letters are spelled
  EXPECT_EQ(Read(U"kotonelとCPU。"), "ことねると/しーぴーゆー。");
}

TEST_F(ShippedDictionaries, OkuriganaDecideTheReading) {
  EXPECT_EQ(Read(U"先生に手紙を書きました。"), "せんせ'ーに/てがみを/かきま'した。");
  EXPECT_EQ(Read(U"窓を開けてください。"), "ま'どを/あけてくださ'い。");
  EXPECT_EQ(Read(U"電車が遅れて困った。"), "でんしゃが/おくれて/こま'った。");
  EXPECT_EQ(Read(U"美しい花が咲いています。"), "うつくし'い/はな'が/さいていま'す。");
  EXPECT_EQ(Read(U"彼が来た。"), "か'れが/き'た。");
  EXPECT_EQ(Read(U"図書館で本を借りた。"), "としょ'かんで/ほ'んを/かりた。");
}

TEST_F(ShippedDictionaries, ParticlesAndWordsInCompounds) {
  EXPECT_EQ(Read(U"これは私の傘です。"), "これわ/わたしの/か'さです。");
  EXPECT_EQ(Read(U"駅へ行く道を教えてください。"), "え'きえ/いく/みちを/おしえてくださ'い。");
  EXPECT_EQ(Read(U"アメリカ人の作曲家がマラソンを走った。"),
            "あめりか'じんの/さっきょくかが、マラソンを/はし'った。");
  EXPECT_EQ(Read(U"それは正しいと思います。"), "それわ/ただし'いと/おもいま'す。");
  EXPECT_EQ(Read(U"その他の人も部屋に入ります。"), "その/た'の/ひと'も/へや'に/はいりま'す。");
  EXPECT_EQ(Read(U"何か月もかかる。"), "なんか'げつも/かか'る。");
}

TEST_F(ShippedDictionaries, EverydayVocabulary) {
  EXPECT_EQ(Read(U"朝ご飯を食べてから学校に行きます。"),
            "あさご'はんを/た'べてから/がっこーに、いきま'す。");
  EXPECT_EQ(Read(U"冬になると雪がたくさん降る。"), "ふゆ'に/な'ると/ゆき'が/たくさん/ふ'る。");
  EXPECT_EQ(Read(U"今年の夏は特に暑かった。"), "ことしの/なつ'わ/と'くに/あつ'かった。");
  EXPECT_EQ(Read(U"この問題は難しくて分からない。"), "この/もんだいわ/むずか'しくて/わから'ない。");
  EXPECT_EQ(Read(U"医者に行った方がいいと思う。"), "いしゃに/いった/ほ'ーが/い'いと/おも'う。");
  EXPECT_EQ(Read(U"同じような問題。"), "おなじよ'うな/もんだい。");
  EXPECT_EQ(Read(U"日本語の文法。"), "にほんごの/ぶんぽー。");
}

}  // namespace
}  // namespace kotonel
