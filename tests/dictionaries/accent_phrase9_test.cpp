// Phrase boundaries at the ends of predicates with the dictionaries shipped in dll/.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"

namespace kotonel {
namespace {

class ShippedPhrase9 : public test::Shipped {};

// ばかり after a verb's past or dictionary form begins a phrase with its own accent, inside a
// kana word and at the start of one after a verb's kanji; after a noun or a て form it stays
// in the phrase before it.
TEST_F(ShippedPhrase9, BakariAfterAPredicateBeginsAPhrase) {
  EXPECT_EQ(Read(U"続いてきたばかりでなく"), "つずいてき'た/ば'かりでなく。");
  EXPECT_EQ(Read(U"物価は高くなるばかりだった。"), "ぶっかわ/たか'く/な'る/ば'かりだった。");
  EXPECT_EQ(Read(U"増えるばかりだ。"), "ふえ'る/ば'かりだ。");
  EXPECT_EQ(Read(U"着いたばかりだ。"), "つ'いた/ば'かりだ。");
  EXPECT_EQ(Read(U"食べてばかりいる。"), "た'べてばかり/いる。");
  EXPECT_EQ(Read(U"悪戯ばかりしている。"), "いたずらば'かり/している。");
}

// よう after an accented polite ます begins a phrase with its accent; where the accent lies
// earlier in the phrase ます stays in it, and a prefix ご before a kanji word stays with that word.
TEST_F(ShippedPhrase9, YouAfterPoliteBeginsAPhrase) {
  EXPECT_EQ(Read(U"提出頂きますようお願いします。"),
            "てーしゅついただきま'す/よ'う/おねが'いし/ま'す。");
  EXPECT_EQ(Read(U"雨が止みますようお祈りします。"), "あ'めが/やみま'す/よ'う/おいのりしま'す。");
  EXPECT_EQ(Read(U"願いが叶いますように。"), "ねが'いが/かないま'す/よ'うに。");
  EXPECT_EQ(Read(U"ご検討くださいますようお願い申し上げます。"),
            "ごけんとーくださ'いますよう/おねが'い/もーし/あげま'す。");
  EXPECT_EQ(Read(U"ご利用いただけますようご案内します。"),
            "ごりよーいただけますよう/ごあんな'い/しま'す。");
}

// どうぞ and まあ at the start of a kana word are a phrase of their own with their accent;
// まあまあ and the words alone keep theirs.
TEST_F(ShippedPhrase9, InterjectionAdverbsAreAPhraseOfTheirOwn) {
  EXPECT_EQ(Read(U"どうぞよろしくお伝えください。"), "ど'うぞ/よろしくお/つたえくださ'い。");
  EXPECT_EQ(Read(U"どうぞおかけください。"), "ど'うぞ/おかけくださ'い。");
  EXPECT_EQ(Read(U"まあそう興奮しないで。"), "ま'あ/そう/こーふんしな'いで。");
  EXPECT_EQ(Read(U"まあまあだ。"), "ま'あまあだ。");
  EXPECT_EQ(Read(U"どうぞ。"), "ど'うぞ。");
}

// いない after a て form begins a phrase before で and だけ and as いなかった, after a flat
// verb too; いないと, いないでしょう and いない at the end stay in the verb's phrase.
TEST_F(ShippedPhrase9, InaiAfterATeFormBeginsAPhrase) {
  EXPECT_EQ(Read(U"油を売っていないで働け。"), "あぶらを/うって/いな'いで/はたらけ。");
  EXPECT_EQ(Read(U"自分の意見を持っていないだけだ。"),
            "じぶんの/い'けんを/も'って/いない/だけ'だ。");
  EXPECT_EQ(Read(U"意図していなかった。"), "い'と/して/いな'かった。");
  EXPECT_EQ(Read(U"傘を持っていない。"), "か'さを/も'っていない。");
  EXPECT_EQ(Read(U"来ていないでしょう。"), "き'ていない/でしょ'う。");
}

// ただ, すぐ, もう, まだ, ごく before a word that is no particle are a phrase of their own with
// the accent on the first mora; before a particle, and where they begin another word, not.
TEST_F(ShippedPhrase9, ShortAdverbBeforeAWordIsAPhraseOfItsOwn) {
  EXPECT_EQ(Read(U"すぐそこに飛んでいく。"), "す'ぐ/そこに/とんでい'く。");
  EXPECT_EQ(Read(U"ただそれだけでは足りない。"), "た'だ/それだけでわ/たりない。");
  EXPECT_EQ(Read(U"もううんざりしています。"), "も'う/うんざ'り/していま'す。");
  EXPECT_EQ(Read(U"ごくわずかである。"), "ご'く/わずかであ'る。");
  EXPECT_EQ(Read(U"すぐに来る。"), "す'ぐに/く'る。");
  EXPECT_EQ(Read(U"もうけが出た。"), "もうけが/で'た。");
  EXPECT_EQ(Read(U"まだまだだ。"), "ま'だまだだ。");
  EXPECT_EQ(Read(U"見ただけだ。"), "み'た/だけ'だ。");
}

// まし after が and まだ begins a phrase, as after ほうが; がましい stays one word.
TEST_F(ShippedPhrase9, MashiAfterGaBeginsAPhrase) {
  EXPECT_EQ(Read(U"死んだ方がましだ。"), "しんだ/ほ'ーが/ましだ。");
  EXPECT_EQ(Read(U"あの程度ならまだましだった。"), "あの/てーどなら/ま'だ/ましだった。");
  EXPECT_EQ(Read(U"押しつけがましい。"), "おしつけがましい。");
}

// はず, つもり and ほか after a predicate begin a phrase; はずです, and はず inside another word
// (はずす), stay as they were.
TEST_F(ShippedPhrase9, PlansAfterAPredicateBeginAPhrase) {
  EXPECT_EQ(Read(U"アンがピアノをひいているはずがない。"),
            "ア'ンが/ピアノを、ひいている/はずが/な'い。");
  EXPECT_EQ(Read(U"彼は治療に捧げるつもりだ。"), "か'れわ/ちりょーに/ささげる/つもりだ。");
  EXPECT_EQ(Read(U"神の審判にまつほかはない。"), "か'みの/しんぱんにまつ/ほかはない。");
  EXPECT_EQ(Read(U"動作するはずです。"), "ど'ーさ/するはずです。");
  EXPECT_EQ(Read(U"札を取りはずして。"), "さつを/と'りはずして。");
}

// はじめて and また after a て form begin a phrase; またがる stays the verb.
TEST_F(ShippedPhrase9, AdverbsAfterATeFormBeginAPhrase) {
  EXPECT_EQ(Read(U"救出されてはじめて、彼女は食べた。"),
            "きゅーしゅつされて/はじ'めて、か'のじょわ/た'べた。");
  EXPECT_EQ(Read(U"一難去ってまた一難。"), "いち'なん/さ'って/また/いち'なん。");
  EXPECT_EQ(Read(U"話してまたがる。"), "はな'してまたがる。");
}

}  // namespace
}  // namespace kotonel
