// Readings of ordinary prose with the shipped dictionaries, one group per class of misreading
// found on text nobody tuned for: each group fails when its class comes back.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class Readings : public test::Shipped {
 protected:
  // Without intonation, so that katakana stays as written whatever the accent rules know.
  static std::string Plain(const std::u32string& line) {
    std::string out;
    for (char c : Read(line, false))
      if (c != '/') out += c;
    return out;
  }
};

TEST_F(Readings, IchidanVerbWrittenWithItsKanjiAloneIsItsStem) {
  // 着る, 見る, 寝る have no okurigana before て, た, ない: the kanji reads its stem and the
  // kana after it complete the word, never a second time
  EXPECT_EQ(Kana(U"新しいシャツを着て出かけた。"), "あたらしいシャツをきてでかけた。");
  EXPECT_EQ(Kana(U"上着を着たまま寝た。"), "うわぎをきたままねた。");
  EXPECT_EQ(Kana(U"着ない服は捨てる。"), "きないふくわすてる。");
}

TEST_F(Readings, KanjiVoicedAtTheEndOfCompoundsTheDictionaryLacks) {
  // the kanji ends most compounds voiced (手袋, 本棚): so it does in one no dictionary lists,
  // inside a kanji word and after katakana
  EXPECT_EQ(Kana(U"窓辺の植木鉢。"), "まどべのうえきばち。");
  EXPECT_EQ(Plain(U"ゴミ箱とビニール袋。"), "ゴミばことビニールぶくろ。");
  EXPECT_EQ(Kana(U"夕方頃に帰る。"), "ゆーがたごろにかえる。");
  // where the compounds mostly keep the kanji's own reading, nothing changes
  EXPECT_EQ(Plain(U"オリンポス山と富士山。"), "オリンポスさんとふじさん。");
  EXPECT_EQ(Kana(U"歩道橋を渡る。"), "ほどーきょーをわたる。");
}

TEST_F(Readings, AdjectiveStemBeforeSaAndSou) {
  // an adjective's kanji before さ and そう reads as the adjective, not the kanji's Sino reading
  EXPECT_EQ(Kana(U"荷物の重さを量る。"), "にもつのおもさをはかる。");
  EXPECT_EQ(Kana(U"風の強さ。"), "かぜのつよさ。");
  EXPECT_EQ(Kana(U"見るからに喧嘩強そうだ。"), "みるからにけんかつよそうだ。");
  // a noun of the kanji that ends in さしすせそ's row does not take them (尊 みこと)
  EXPECT_EQ(Kana(U"平和の尊さを知る。"), "へーわのとーとさをしる。");
  // the Sino reading stays inside words and alone
  EXPECT_EQ(Kana(U"重要な強化。"), "じゅーよーなきょーか。");
}

TEST_F(Readings, ParticleWaInsideHiraganaWords) {
  // は after a plural suffix or べき is the particle, though the word goes on after it
  EXPECT_EQ(Kana(U"僕らはもう帰る。"), "ぼくらわもうかえる。");
  EXPECT_EQ(Kana(U"子供たちはきっと喜ぶ。"), "こどもたちわきっとよろこぶ。");
  EXPECT_EQ(Kana(U"守るべきはただ一つ。"), "まもるべきわただひとつ。");
  // a word written in kana that begins with は keeps it after a particle
  EXPECT_EQ(Kana(U"部屋にはいって座る。"), "へやにはいってすわる。");
  EXPECT_EQ(Kana(U"空にはっきり見えた。"), "そらにはっきりみえた。");
  EXPECT_EQ(Kana(U"言われてはじめて気づく。"), "いわれてはじめてきずく。");
  EXPECT_EQ(Kana(U"今日はっきり言う。"), "きょーはっきりゆう。");
  // the particle after a particle stays わ
  EXPECT_EQ(Kana(U"ここにはいない。"), "ここにわいない。");
}

TEST_F(Readings, GivenNamesLessCommonThanWords) {
  EXPECT_EQ(Kana(U"美智子と梨奈が来た。"), "みちことりながきた。");
  EXPECT_EQ(Kana(U"手塚治虫を読む。"), "てずかおさむをよむ。");
  EXPECT_EQ(Kana(U"京子が笑う。"), "きょーこがわらう。");
  // a name whose spelling the dictionary reads as ordinary words stays out
  EXPECT_EQ(Kana(U"小文字で書く。"), "しょーもじでかく。");
}

TEST_F(Readings, ParticleHeInsideHiraganaWords) {
  EXPECT_EQ(Kana(U"ここへおいで。"), "ここえおいで。");
  EXPECT_EQ(Kana(U"どちらへ行きますか。"), "どちらえいきますか。");
  EXPECT_EQ(Kana(U"船は向こうへと消えた。"), "ふねわむこうえときえた。");
  EXPECT_EQ(Kana(U"もうへとへとだ。"), "もうへとへとだ。");
}

TEST_F(Readings, MonthKanjiBeginningAWord) {
  // 月 before a word the dictionary lacks is the moon; months after a number stay げつ
  EXPECT_EQ(Kana(U"月旅行の夢。"), "つきりょこーのゆめ。");
  EXPECT_EQ(Kana(U"6ヶ月後に会う。"), "ろっかげつごにあう。");
}

TEST_F(Readings, VerbNotHiddenByAnotherVerbsVolitionalForm) {
  // 降ろ is also a volitional form of 降る (降ろう), which takes no kana after it but う
  EXPECT_EQ(Kana(U"棚から荷物を降ろして。"), "たなからにもつをおろして。");
  EXPECT_EQ(Kana(U"雨が降ろうと構わない。"), "あめがふろうとかまわない。");
}

TEST_F(Readings, RarePrefixReadingsLeftOut) {
  // a kanji beginning a word the dictionary lacks reads as the noun, not as a rare prefix
  EXPECT_EQ(Kana(U"親切な人達が来た。"), "しんせつなひとたちがきた。");
}

TEST_F(Readings, CompoundAfterAVerbStemIsVoiced) {
  // a kanji word right after the okurigana of a verb's stem ends a compound: voiced where
  // such compounds mostly are, and 方 read かた after any stem
  EXPECT_EQ(Kana(U"走り書きのメモ。"), "はしりがきのメモ。");
  EXPECT_EQ(Kana(U"笑い声が聞こえる。"), "わらいごえがきこえる。");
  EXPECT_EQ(Kana(U"働き口を探す。"), "はたらきぐちをさがす。");
  EXPECT_EQ(Kana(U"ごみの捨て方。"), "ごみのすてかた。");
  // a particle, an adjective or an attributive form before the kanji is no stem
  EXPECT_EQ(Kana(U"紙に書きます。"), "かみにかきます。");
  EXPECT_EQ(Kana(U"友達に声をかける。"), "ともだちにこえをかける。");
  EXPECT_EQ(Kana(U"高い声で歌う。"), "たかいこえでうたう。");
  EXPECT_EQ(Kana(U"鳥の鳴く声。"), "とりのなくこえ。");
  // a compound written with okurigana inside is read as the one word it is
  EXPECT_EQ(Kana(U"設定の読み込み時に。"), "せってーのよみこみじに。");
}

TEST_F(Readings, NativeNounTakesItsCompoundFormAfterKatakana) {
  // UniDic ranks the voiced form of 川 likelier than the plain one: it is the form compounds
  // take, so a river after a katakana name reads がわ, while the noun alone keeps かわ
  EXPECT_EQ(Plain(U"ナイル川とセーヌ川。"), "ナイルがわとセーヌがわ。");
  EXPECT_EQ(Kana(U"川が流れる。"), "かわがながれる。");
}

TEST_F(Readings, ContinuativeNounEndingAKanjiWordIsVoiced) {
  // a noun made of a verb's continuative ends a kanji word as most such compounds do, voiced
  EXPECT_EQ(Kana(U"代金は現金払いです。"), "だいきんわげんきんばらいです。");
  EXPECT_EQ(Kana(U"期限切れの牛乳。"), "きげんぎれのぎゅーにゅー。");
  // and after a katakana word
  EXPECT_EQ(Plain(U"カード払いにする。"), "カードばらいにする。");
  EXPECT_EQ(Plain(U"ガス切れの車。"), "ガスぎれのくるま。");
  // an adjective or a verb after a noun with no particle is no compound
  EXPECT_EQ(Kana(U"朝早く起きた。"), "あさはやくおきた。");
}

TEST_F(Readings, KanjiAfterAKanaNounIsVoiced) {
  // a hiragana noun that compounds with a voiced kanji, alone or after a particle
  EXPECT_EQ(Kana(U"うがい薬でうがいをする。"), "うがいぐすりでうがいをする。");
  EXPECT_EQ(Kana(U"かゆみ止めを塗る。"), "かゆみどめをぬる。");
  EXPECT_EQ(Kana(U"虫刺されにかゆみ止めを塗る。"), "むしさされにかゆみどめをぬる。");
  EXPECT_EQ(Kana(U"いちご狩りに行く。"), "いちごがりにいく。");
  // or the reading a kanji takes ending a word
  EXPECT_EQ(Kana(U"すし屋に行く。"), "すしやにいく。");
  // a kanji that takes no voicing, particles, adjectives and endings leave it alone
  EXPECT_EQ(Kana(U"ひき肉を買う。"), "ひきにくをかう。");
  EXPECT_EQ(Kana(U"彼の声がする。"), "かれのこえがする。");
  EXPECT_EQ(Kana(U"これしか薬がない。"), "これしかくすりがない。");
  EXPECT_EQ(Kana(U"いい薬とひどい声。"), "いいくすりとひどいこえ。");
  EXPECT_EQ(Kana(U"開発した薬。"), "かいはつしたくすり。");
}

TEST_F(Readings, NounOfTwoKanjiEndingACompoundIsVoiced) {
  // a noun whose voiced form is about as common as the noun itself ends compounds voiced
  EXPECT_EQ(Kana(U"腕時計が見つからない。"), "うでどけーがみつからない。");
  EXPECT_EQ(Kana(U"犬小屋にいる。"), "いぬごやにいる。");
  EXPECT_EQ(Kana(U"競争会社から。"), "きょーそーがいしゃから。");
  EXPECT_EQ(Kana(U"時間通りに来た。"), "じかんどーりにきた。");
  EXPECT_EQ(Plain(U"パシフィック通りに行く。"), "パシフィックどーりにいく。");
  // alone, or beginning a word, it keeps its own reading
  EXPECT_EQ(Kana(U"会社の時計台と会社員。"), "かいしゃのとけーだいとかいしゃいん。");
  EXPECT_EQ(Kana(U"時計が止まる。"), "とけーがとまる。");
}

TEST_F(Readings, HonorificVerbMakesTheWayAPerson) {
  // after an honorific verb 方 is a person
  EXPECT_EQ(Kana(U"返事をくださる方だけにしてください。"),
            "へんじをくださるかただけにしてください。");
  EXPECT_EQ(Kana(U"いらっしゃる方は受付へ。"), "いらっしゃるかたわうけつけえ。");
  EXPECT_EQ(Kana(U"来てくださった方に感謝します。"), "きてくださったかたにかんしゃします。");
  // advice and comparisons keep ほう
  EXPECT_EQ(Kana(U"お休みなさった方がいい。"), "おやすみなさったほーがいい。");
  EXPECT_EQ(Kana(U"この方がいい。"), "このほーがいい。");
  EXPECT_EQ(Kana(U"する方が早い。"), "するほーがはやい。");
}

}  // namespace
}  // namespace kotonel
