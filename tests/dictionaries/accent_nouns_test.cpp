// Accent of nouns with the dictionaries shipped in dll/: compounds the word dictionary holds
// whole take the accent their parts give them.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"

namespace kotonel {
namespace {

class ShippedNounAccents : public test::Shipped {};

// A compound read as one word has the one accent its last part gives it: on the last mora of
// what precedes (機, 番号, 情報), on its own first mora (関係, 要素), or its own accent (自身);
// never on ー, ん or っ, from which the pitch cannot fall.
TEST_F(ShippedNounAccents, CompoundsHeldWholeTakeTheirPartsAccent) {
  EXPECT_EQ(Read(U"飛行機の発明。"), "ひこ'ーきの/はつめー。");
  EXPECT_EQ(Read(U"電話番号を忘れた。"), "でんわば'んごーを/わすれた。");
  EXPECT_EQ(Read(U"自分自身が。"), "じぶんじ'しんが。");
  EXPECT_EQ(Read(U"設定情報や。"), "せってーじょ'ーほーや。");
  EXPECT_EQ(Read(U"依存関係を。"), "いぞんか'んけーを。");
  EXPECT_EQ(Read(U"構成要素の。"), "こーせーよ'ーその。");
  EXPECT_EQ(Read(U"最小限の。"), "さいしょ'ーげんの。");
}

// A flat native noun of one kanji hands on that it is flat, as other flat nouns do: the endings
// that take the accent after a flat noun take it after these too.
TEST_F(ShippedNounAccents, FlatNativeNounsLendTheirEndingsTheAccent) {
  EXPECT_EQ(Read(U"鳥だったら。"), "とりだ'ったら。");
  EXPECT_EQ(Read(U"昔より。"), "むかしよ'り。");
  EXPECT_EQ(Read(U"口には合わない。"), "くちに'わ/あわ'ない。");
  EXPECT_EQ(Read(U"両国の間では。"), "りょ'ーこくの/あいだで'わ。");
  EXPECT_EQ(Read(U"鳥たちは。"), "とり'たちわ。");
  // the kanji keeps its pull as the later part of a compound
  EXPECT_EQ(Read(U"雨傘と青空。"), "あまが'さと/あおぞ'ら。");
}

// Words written in hiragana past the likeliest two thousand keep their accent too, but not where
// the kana after a kanji word is mostly an ending (する's して) or a particle and a verb.
TEST_F(ShippedNounAccents, RarerHiraganaWordsKeepTheirAccent) {
  EXPECT_EQ(Read(U"ほぼ同じだ。"), "ほ'ぼ/おなじだ。");
  EXPECT_EQ(Read(U"すらすら言える。"), "す'らすら/いえる。");
  EXPECT_EQ(Read(U"それぞれの本。"), "それ'ぞれの/ほ'ん。");
  EXPECT_EQ(Read(U"分析して、"), "ぶんせきして、");
  EXPECT_EQ(Read(U"雨がふった。"), "あ'めが/ふ'った。");
}

// A flat noun of one kanji that ends a compound with its accent on the part before (職, 学,
// 額, 点) puts it there as an accented one does (管理職 かんり'しょく, not flat or かん'り).
TEST_F(ShippedNounAccents, FlatKanjiEndingACompoundPutTheAccentBefore) {
  EXPECT_EQ(Read(U"上級管理職は。"), "じょーきゅーかんり'しょくわ。");
  EXPECT_EQ(Read(U"占星学は。"), "せんせ'ーがくわ。");
  EXPECT_EQ(Read(U"合計額は。"), "ごーけ'ーがくわ。");
  EXPECT_EQ(Read(U"注意点を。"), "ちゅーい'てんを。");
}

// An adverb written as a kanji and a particle-like kana (主に, 単に, 暗に, 最も) is one word
// with its own accent, not a flat noun and a particle; a noun so read (彼の) keeps the noun's.
TEST_F(ShippedNounAccents, KanjiAdverbsEndingInAParticleKanaKeepTheirAccent) {
  EXPECT_EQ(Read(U"主に野菜を作る。"), "お'もに/やさいを/つく'る。");
  EXPECT_EQ(Read(U"単に知るだけだ。"), "た'んに/しるだけだ。");
  EXPECT_EQ(Read(U"最も神聖な。"), "もっと'も/しんせーな。");
  EXPECT_EQ(Read(U"共に行く。"), "ともに/いく。");
  EXPECT_EQ(Read(U"彼の本。"), "か'れの/ほ'ん。");
}

// 的 and the other suffixes that make a compound flat take the accent of an accented noun away
// too: such compounds are words of their own (科学 か'がく, 科学的 かがくてき), as are the flat
// compounds of that kind the corpus holds (互換性, 個人用).
TEST_F(ShippedNounAccents, FlatSuffixCompoundsOfAnAccentedNounAreFlat) {
  EXPECT_EQ(Read(U"科学的な根拠。"), "かがくてきな/こ'んきょ。");
  EXPECT_EQ(Read(U"効果的だ。"), "こーかてきだ。");
  EXPECT_EQ(Read(U"経済的に。"), "けーざいてきに。");
  EXPECT_EQ(Read(U"互換性が。"), "ごかんせーが。");
  EXPECT_EQ(Read(U"個人用の。"), "こじんよーの。");
  // 的 is no suffix before the kanji of a word it begins
  EXPECT_EQ(Read(U"的確な。"), "てきかくな。");
  EXPECT_EQ(Read(U"科学は。"), "か'がくわ。");
}

// A question word with a case particle and も is flat; with でも alone it keeps its accent,
// also at the start of a kana word.
TEST_F(ShippedNounAccents, QuestionWordsWithMoAndDemo) {
  EXPECT_EQ(Read(U"逃げ場はどこにもなかった。"), "にげば'わ/どこにも/な'かった。");
  EXPECT_EQ(Read(U"ではどうにもならない。"), "でわ/どうにも/なら'ない。");
  EXPECT_EQ(Read(U"どれでもいい。"), "ど'れでも/い'い。");
  EXPECT_EQ(Read(U"いつでもいい。"), "い'つでも/い'い。");
  EXPECT_EQ(Read(U"そこでどうでもいい。"), "そこで/ど'うでも/い'い。");
}

// With か, and いつも and なんとか, a question word written in kana takes its accent at the
// start of a kana word and after a particle, and ends its phrase before what is no particle.
TEST_F(ShippedNounAccents, QuestionWordsWithKaAndAdverbsKeepTheirAccent) {
  EXPECT_EQ(Read(U"メッセージがなぜか文字化けした。"), "メ'ッセージが/な'ぜか/もじばけ'した。");
  EXPECT_EQ(Read(U"いつかまた会おう。"), "い'つかまた/あお'う。");
  EXPECT_EQ(Read(U"巡査は、いつものように。"), "じゅんさわ、い'つもの/よ'うに。");
  EXPECT_EQ(Read(U"彼はいつもの店に。"), "か'れわ/い'つもの/みせ'に。");
  EXPECT_EQ(Read(U"いつもこぎれいな着物。"), "い'つも/こぎれいな/きもの。");
  EXPECT_EQ(Read(U"なんとかしなさい。"), "な'んとか/しなさ'い。");
}

// とき in kana said in one phrase with the flat modifier before it has the accent on its first
// mora; where it begins a phrase it keeps it on its last.
TEST_F(ShippedNounAccents, TokiInsideAPhraseIsAccentedOnItsFirstMora) {
  EXPECT_EQ(Read(U"運転するときは、"), "うんてんすると'きわ、");
  EXPECT_EQ(Read(U"暇なときは、"), "ひまなと'きわ、");
  EXPECT_EQ(Read(U"部屋を出るときには、"), "へや'を/で'る/とき'にわ、");
}

}  // namespace
}  // namespace kotonel
