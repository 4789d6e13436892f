// Everyday words read with the shipped dictionaries, grouped by the kind of mistake they
// once triggered: each group fails when its class of misreading comes back.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class Lexicon : public test::Shipped {};

TEST_F(Lexicon, SmallTsuKeptBeforeMarksAndOtherScript) {
  // after an accent mark, with and without intonation
  EXPECT_EQ(Kana(U"姫は横たわっておられた。"), "ひめわよこたわっておられた。");
  EXPECT_EQ(Read(U"姫は横たわっておられた。", false), "ひめわ/よこたわっておられた。");
  // after a phrase boundary
  EXPECT_EQ(Kana(U"真っピンクだ。"), "まっピンクだ。");
  EXPECT_EQ(Read(U"真っピンクだ。", false).substr(0, 7), "まっ/");
  // (between two kanji the sokuon joins them into one word)
  EXPECT_EQ(Kana(U"真っ直ぐ行きなさい。"), "まっすぐいきなさい。");
  // katakana ッ before hiragana, hiragana っ before katakana
  EXPECT_EQ(Kana(U"ザーッと雨が降った。"), "ザーッとあめがふった。");
  EXPECT_EQ(Kana(U"あっベルが鳴った。"), "あっベルがなった。");
}

TEST_F(Lexicon, SokuonBeforeAKanjiOfTheHaRow) {
  // the kanji before the sokuon reads its clipped form, the one after it half-voiced
  EXPECT_EQ(Kana(U"綱を引っ張って行った。"), "つなをひっぱっていった。");
  EXPECT_EQ(Kana(U"前歯は出っ歯です。"), "まえばわでっぱです。");
  EXPECT_EQ(Kana(U"突っ走る。"), "つっぱしる。");
  EXPECT_EQ(Kana(U"坂を下って行く。"), "さかをくだっていく。");
}

TEST_F(Lexicon, SpokenRatherThanWrittenForms) {
  EXPECT_EQ(Kana(U"本当にそう思う。"), "ほんとーにそうおもう。");
  EXPECT_EQ(Kana(U"彼はそう言う。"), "かれわそうゆう。");
  EXPECT_EQ(Kana(U"彼はそう言った。"), "かれわそういった。");
  EXPECT_EQ(Kana(U"早く寝ました。"), "はやくねました。");
  EXPECT_EQ(Kana(U"東日本と西日本。"), "ひがしにほんとにしにほん。");
  EXPECT_EQ(Kana(U"明後日と一昨日。"), "あさってとおととい。");
  // a common word before a place name of the same spelling
  EXPECT_EQ(Kana(U"酸を中和する。"), "さんをちゅーわする。");
}

TEST_F(Lexicon, KanjiReadByTheParticleAfterIt) {
  EXPECT_EQ(Kana(U"何の話ですか。"), "なんのはなしですか。");
  EXPECT_EQ(Kana(U"何でも食べる。"), "なんでもたべる。");
  EXPECT_EQ(Kana(U"何とかなる。"), "なんとかなる。");
  EXPECT_EQ(Kana(U"何が好きですか。"), "なにがすきですか。");
  EXPECT_EQ(Kana(U"間に合わない。"), "まにあわない。");
  EXPECT_EQ(Kana(U"間もなく着く。"), "まもなくつく。");
  EXPECT_EQ(Kana(U"その間に帰る。"), "そのあいだにかえる。");
}

TEST_F(Lexicon, AdverbBeforeAVerbIsNoPrefix) {
  EXPECT_EQ(Kana(U"今行くよ。"), "いまいくよ。");
  EXPECT_EQ(Kana(U"今知り始めた。"), "いましりはじめた。");
  EXPECT_EQ(Kana(U"何食わぬ顔。"), "なにくわぬかお。");
  EXPECT_EQ(Kana(U"結果を御伝えします。"), "けっかをおつたえします。");
  // before a noun 今 stays a prefix
  EXPECT_EQ(Kana(U"今大会で優勝。"), "こんたいかいでゆーしょー。");
}

TEST_F(Lexicon, SuffixReadings) {
  // 方 after an adjective stays ほう; after a verb's continuative form it is かた
  EXPECT_EQ(Kana(U"早い方がいい。"), "はやいほーがいい。");
  EXPECT_EQ(Kana(U"使い方を覚える。"), "つかいかたをおぼえる。");
  // a rare suffix reading (部 べ) does not take over inside words
  EXPECT_EQ(Kana(U"中心部にある。"), "ちゅーしんぶにある。");
  EXPECT_EQ(Kana(U"元会長が来た。"), "もとかいちょーがきた。");
  // the copula after a noun, not the ending of a rarer verb (逆立つ)
  EXPECT_EQ(Kana(U"結果は逆だった。"), "けっかわぎゃくだった。");
  // 月 after a number of months begins no word of its own
  EXPECT_EQ(Kana(U"６ヶ月後に会おう。"), "ろっかげつごにあおう。");
  // 屋 after katakana is the shop (the accent rule for a loanword before such a suffix
  // writes the loanword in hiragana)
  EXPECT_EQ(Kana(U"ハンバーガー屋さん。"), "はんばーがーやさん。");
}

TEST_F(Lexicon, ParticlesAfterHe) {
  EXPECT_EQ(Kana(U"港へは行かない。"), "みなとえわいかない。");
  EXPECT_EQ(Kana(U"ここへは来ない。"), "ここえわこない。");
  // は that begins a word written in kana stays は after で or れ
  EXPECT_EQ(Kana(U"袋は、とうもろこしではちきれそうだった。"),
            "ふくろわ、とうもろこしではちきれそうだった。");
  EXPECT_EQ(Kana(U"それではっきりした。"), "それではっきりした。");
  EXPECT_EQ(Kana(U"ではまた。"), "でわまた。");
}

TEST_F(Lexicon, StemOfKuruByWhatFollows) {
  EXPECT_EQ(Kana(U"こっちへ来なさい。"), "こっちえきなさい。");
  EXPECT_EQ(Kana(U"彼は来れなかった。"), "かれわこれなかった。");
  EXPECT_EQ(Kana(U"来れば分かる。"), "くればわかる。");
  EXPECT_EQ(Kana(U"来ない。"), "こない。");
}

}  // namespace
}  // namespace kotonel
