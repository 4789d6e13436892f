// Accent nuclei of predicates with the dictionaries shipped in dll/: adverbs of manner before
// a form of する or やる, the negative of verbs written in hiragana, and short kana verbs after を.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class ShippedNuclei8 : public test::Shipped {};

// どう at the start of a kana word before して or やって keeps its own accent, as it does after
// a particle; with も the phrase takes the accent at the て, and そうすれば at the verb's last
// kana.
TEST_F(ShippedNuclei8, MannerAdverbsBeforeAVerbForm) {
  EXPECT_EQ(Read(U"どうしてそんなに怒るの？"), "ど'うして/そんなに/おこ'るの？");
  EXPECT_EQ(Read(U"どうやって作るの？"), "ど'うやって/つく'るの？");
  EXPECT_EQ(Read(U"彼はどうして来ないのか。"), "か'れわ/ど'うして/こ'ないのか。");
  EXPECT_EQ(Read(U"どうしても行きたい。"), "どうして'も/いきた'い。");
  EXPECT_EQ(Read(U"そうすれば分かる。"), "そうす'れば/わか'る。");
  // not どう alone, nor どうか
  EXPECT_EQ(Read(U"どうか"), "ど'うか。");
}

// The negative of an accented verb written in hiragana after a particle: a godan verb's on the
// last kana of its irrealis, an ichidan verb's on its stem; a flat verb's stays flat, and the
// imperative なさい is no negative.
TEST_F(ShippedNuclei8, NegativeOfAKanaVerb) {
  EXPECT_EQ(Read(U"明日は雨が降るとはかぎらない。"), "あした'わ/あ'めが/ふ'るとわ/かぎら'ない。");
  EXPECT_EQ(Read(U"手紙をかけなかった。"), "てがみを/か'けなかった。");
  EXPECT_EQ(Read(U"子供にまかせなければならない。"), "こどもに/まか'せなければ/なら'ない。");
  EXPECT_EQ(Read(U"そんなにあわてないで。"), "そんなにあわてないで。");
  EXPECT_EQ(Read(U"服をかけなさい。"), "ふく'を/かけなさ'い。");
}

// A godan verb of two kana written in hiragana after を takes its accent in its plain, て, た
// and negative forms, after が, に, も in all but the plain form; a plain form that also begins a
// common word (こう: こうして) is left alone.
TEST_F(ShippedNuclei8, ShortKanaVerbAfterAParticle) {
  EXPECT_EQ(Read(U"薬をのんで寝た。"), "くすりを/の'んで/ねた。");
  EXPECT_EQ(Read(U"電話をとらなければ。"), "でんわを/とら'なければ。");
  EXPECT_EQ(Read(U"いびきをかいていた。"), "いびきを/か'いていた。");
  EXPECT_EQ(Read(U"席をたった。"), "せ'きを/た'った。");
  EXPECT_EQ(Read(U"本をよまない。"), "ほ'んを/よま'ない。");
  EXPECT_EQ(Read(U"それをこうして作る。"), "それを/こうして/つく'る。");
  // after が, に, も only the longer forms, behind the particle
  EXPECT_EQ(Read(U"犬がたった。"), "いぬ'が/た'った。");
  EXPECT_EQ(Read(U"仕事につかなければ。"), "しごとに/つか'なければ。");
}

}  // namespace
}  // namespace kotonel
