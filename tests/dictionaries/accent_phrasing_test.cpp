// Accent phrases with the dictionaries shipped in dll/: where a phrase boundary goes between a
// verb's て form and the auxiliary after it, decided by the verb's accent and by what follows.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"

namespace kotonel {
namespace {

class ShippedPhrasing : public test::Shipped {};

// いる and いた after an accented verb's て form, before a particle that ends a clause, are a
// phrase of their own, accented as a flat verb is before such a particle; after a flat verb,
// at the end of a sentence, before かもしれない and before と they stay in the verb's phrase.
TEST_F(ShippedPhrasing, IruAfterAnAccentedTeFormBeforeAClauseParticle) {
  // the verb's accent handed on into the kana word
  EXPECT_EQ(Read(U"橋が壊れていたので、"), "はし'が/こわ'れて/いた'ので、");
  EXPECT_EQ(Read(U"彼を待っていたが、"), "か'れを/ま'って/いた'が、");
  EXPECT_EQ(Read(U"それは分かっていたから。"), "それわ/わか'って/いた'から。");
  EXPECT_EQ(Read(U"嘘をついているけど。"), "う'そを/つ'いて/いる'けど。");
  // the accent inside the kanji, none handed on: no flat mark at the start of the kana word
  EXPECT_EQ(Read(U"中に何が入っているのか。"), "な'かに/な'にが/は'いって/いる'のか。");
  EXPECT_EQ(Read(U"本を読んでいるのに"), "ほ'んを/よ'んで/いる'のに。");
  // kept in one phrase
  EXPECT_EQ(Read(U"使っているので、"), "つかっている'ので、");
  EXPECT_EQ(Read(U"勉強しているので"), "べんきょーしている'ので。");
  EXPECT_EQ(Read(U"泳いでいる。"), "およ'いでいる。");
  EXPECT_EQ(Read(U"残っているかもしれません。"), "のこ'っているかも/しれませ'ん。");
  EXPECT_EQ(Read(U"嘘をついていると、"), "う'そを/つ'いていると、");
}

// So are いなかった and いなければ after an accented verb's て form; いない at the end of a
// sentence and after a flat verb stays in the verb's phrase.
TEST_F(ShippedPhrasing, NegativeOfIruAfterAnAccentedTeForm) {
  EXPECT_EQ(Read(U"推測が間違っていなければ、"), "すいそくが/まちが'って/いな'ければ、");
  EXPECT_EQ(Read(U"彼は来ていなかった。"), "か'れわ/き'て/いな'かった。");
  EXPECT_EQ(Read(U"金を持っていない。"), "かねを/も'っていない。");
  EXPECT_EQ(Read(U"使っていなかった。"), "つかっていな'かった。");
}

// A demonstrative inside a kana word begins a phrase after a verb's or adjective's ending and
// after の, as it does after a particle; この after の or た may be part of a noun.
TEST_F(ShippedPhrasing, DemonstrativesAfterAnEnding) {
  EXPECT_EQ(Read(U"早くその問題を解決しなさい。"), "はや'く/その/もんだいを/かいけつしなさ'い。");
  EXPECT_EQ(Read(U"パイプをくわえたその紳士"), "パイプを/くわえた/その/し'んし。");
  EXPECT_EQ(Read(U"花を持っているあの女性"), "はな'を/も'っている/あの/じょせー。");
  EXPECT_EQ(Read(U"小説のそれと同じ"), "しょーせつの/それと/おなじ。");
  EXPECT_EQ(Read(U"きのこの山"), "き'のこの/やま。");
  EXPECT_EQ(Read(U"たこの足"), "たこの/あし。");
}

// The adverb また after the topic particle begins a phrase; after も, and the verb またがる,
// stay joined.
TEST_F(ShippedPhrasing, MataAfterTheTopic) {
  EXPECT_EQ(Read(U"彼女はまた、遅れた。"), "か'のじょわ/また、おくれた。");
  EXPECT_EQ(Read(U"麒麟もまた、"), "きりんもまた、");
  EXPECT_EQ(Read(U"これはまたがる"), "これわまたがる。");
}

// ない after ことの, and after わけ that follows a verb, begins a phrase with its accent;
// もうしわけない is one word.
TEST_F(ShippedPhrasing, NegativeAfterAFormalNoun) {
  EXPECT_EQ(Read(U"考えたことのない人"), "かんが'えた/こと'の/な'い/ひと。");
  EXPECT_EQ(Read(U"手を染めるわけない。"), "て'を/そめるわ'け/な'い。");
  EXPECT_EQ(Read(U"もうしわけない"), "もうしわ'けない。");
}

// いい and よい after any particle are a judgement of their own, with their accent; a formal
// noun after them stays in their phrase. Words that only contain the kana stay whole.
TEST_F(ShippedPhrasing, JudgementAfterAParticleBeginsAPhrase) {
  EXPECT_EQ(Read(U"これでいいんです。"), "これで/い'いんです。");
  EXPECT_EQ(Read(U"体にいい。"), "からだに/い'い。");
  EXPECT_EQ(Read(U"何かよいものがある。"), "な'にか/よ'いものが/あ'る。");
  EXPECT_EQ(Read(U"都合のよいときに来て。"), "つごーの/よ'いときに/き'て。");
  EXPECT_EQ(Read(U"かわいいね。"), "かわい'いね。");
  EXPECT_EQ(Read(U"なかよくする。"), "な'かよくする。");
}

// もの after a verb's dictionary form and だけ after a predicate begin a phrase, also after a
// flat verb; ものの ("though") and ですもの do not split.
TEST_F(ShippedPhrasing, ThingAndOnlyAfterAPredicateBeginAPhrase) {
  EXPECT_EQ(Read(U"会社に帰属するもの。"), "かいしゃに/きぞくする/もの'。");
  EXPECT_EQ(Read(U"彼を喜ばせるものだ。"), "か'れを/よろこばせ'る/もの'だ。");
  EXPECT_EQ(Read(U"できるものの、高い。"), "でき'る/もの'の、たか'い。");
  EXPECT_EQ(Read(U"いやですもの。"), "いやですもの'。");
  EXPECT_EQ(Read(U"見ただけです。"), "み'た/だけ'です。");
  EXPECT_EQ(Read(U"文句を言うだけだ。"), "も'んくを/ゆう/だけ'だ。");
  EXPECT_EQ(Read(U"持っていないだけだ。"), "も'って/いない/だけ'だ。");
}

// A common noun written in kana after a particle begins a phrase with its own accent; not
// where the kana belong to a longer word (そのまま, にわとり) or to a verb or ending (で +
// しまった, の + かな), nor a spelling that is likelier an adverb (いくらか).
TEST_F(ShippedPhrasing, KanaNounAfterAParticleBeginsAPhrase) {
  EXPECT_EQ(Read(U"山のてっぺんに登る。"), "やま'の/てっぺ'んに/のぼる。");
  EXPECT_EQ(Read(U"宝のありかを探す。"), "たから'の/あ'りかを/さがす。");
  EXPECT_EQ(Read(U"彼は私のいとこです。"), "か'れわ/わたしの/いと'こです。");
  EXPECT_EQ(Read(U"そのままにする。"), "そのままに/する。");
  EXPECT_EQ(Read(U"にわとりが鳴く。"), "にわとりが/なく。");
  EXPECT_EQ(Read(U"駅でしまった。"), "え'きでしまった。");
  EXPECT_EQ(Read(U"何時間もかかるのかな。"), "なんじ'かんも/かか'るのかな。");
  EXPECT_EQ(Read(U"肌のいくらかが赤い。"), "は'だのいくらかが/あかい。");
}

// The topic particle は inside a kana word ends its phrase: the kana after it begin the next
// one, with their accent where the word is known; a は that begins a word (入って), and わ that
// begins one (わかりやすい), do not split.
TEST_F(ShippedPhrasing, TopicParticleEndsItsPhraseInsideAKanaWord) {
  EXPECT_EQ(Read(U"勝つとはかぎらない。"), "か'つとわ/かぎら'ない。");
  EXPECT_EQ(Read(U"するのはやめましょう。"), "する'のわ/やめましょ'う。");
  EXPECT_EQ(Read(U"私にはたいそう尊い。"), "わたしに'わ/た'いそう/とーと'い。");
  EXPECT_EQ(Read(U"望むのはただ一つ。"), "のぞむ'のわ/た'だ/ひとつ。");
  EXPECT_EQ(Read(U"部屋にはいって休む。"), "へや'に/は'いって/やす'む。");
  EXPECT_EQ(Read(U"とってわかりやすい方法"), "とってわかりやすい/ほーほー。");
}

// こと and もの after the attributive な of an adjectival noun begin a phrase, and な stays
// with the noun; after そんな and its kin they stay joined.
TEST_F(ShippedPhrasing, FormalNounAfterAttributiveNaBeginsAPhrase) {
  EXPECT_EQ(Read(U"十分なものを買う。"), "じゅーぶ'んな/もの'を/かう。");
  EXPECT_EQ(Read(U"大切なことだ。"), "たいせつな/こと'だ。");
  EXPECT_EQ(Read(U"無茶なことをした。"), "む'ちゃな/こと'を/した。");
  EXPECT_EQ(Read(U"そんなことを言うな。"), "そんなこと'を/ゆうな。");
}

// After an accented word, a kana word that begins with の, に, が or も and a formal noun or a
// common verb: the particle ends the accented word's phrase and the word begins the next.
// After a flat word, and where the kana only look like such a particle and word (寒がる,
// ののしり, いくつか, のため), nothing moves.
TEST_F(ShippedPhrasing, ParticleStaysWithTheAccentedWordBefore) {
  // the boundary the accents need went in front of the particle
  EXPECT_EQ(Read(U"猫のことを考える。"), "ね'この/こと'を/かんがえ'る。");
  EXPECT_EQ(Read(U"猫のようにねる。"), "ね'この/よ'うにねる。");
  // none was put at all; the verb after it takes its accent
  EXPECT_EQ(Read(U"人がいる。"), "ひと'が/いる。");
  EXPECT_EQ(Read(U"人もいる。"), "ひと'も/いる。");
  EXPECT_EQ(Read(U"家にはいってください。"), "いえ'に/は'いって/くださ'い。");
  EXPECT_EQ(Read(U"犬のまえに"), "いぬ'の/ま'えに。");
  // unchanged
  EXPECT_EQ(Read(U"学校のことを考える。"), "がっこーのこと'を/かんがえ'る。");
  EXPECT_EQ(Read(U"学者もいる。"), "がくしゃもいる。");
  EXPECT_EQ(Read(U"棚にかけなさい。"), "たなにかけなさ'い。");
  EXPECT_EQ(Read(U"猫のために"), "ね'このために。");
  EXPECT_EQ(Read(U"寒がる。"), "さむ'がる。");
  EXPECT_EQ(Read(U"ののしりの言葉"), "ののしりの/ことば。");
  EXPECT_EQ(Read(U"次にいくつか示します。"), "つぎ'にいくつか/しめしま'す。");
}

// After a verb or adjective whose accent lies inside its kanji, the ending stays in its phrase
// and the formal noun after it begins the next, where the noun's accent put the boundary in
// front of the ending; a sentence that begins with した keeps it with the noun.
TEST_F(ShippedPhrasing, EndingStaysWithItsWordBeforeAFormalNoun) {
  EXPECT_EQ(Read(U"多いようです。"), "お'ーい/よ'うです。");
  EXPECT_EQ(Read(U"持ち帰ることによって"), "もちか'える/こと'によって。");
  EXPECT_EQ(Read(U"仲良くすること"), "な'かよく/すること'。");
  // unchanged: the accent handed on, a flat verb, よう with no accent, して
  EXPECT_EQ(Read(U"高いものを"), "たか'い/もの'を。");
  EXPECT_EQ(Read(U"使うことが"), "つかうこと'が。");
  EXPECT_EQ(Read(U"送るよう決めた。"), "おくるよう/きめた。");
  EXPECT_EQ(Read(U"短くしてもらわなければ"), "みじ'かくして/もらわな'ければ。");
  EXPECT_EQ(Read(U"したことはありますか。"), "したこと'わ/ありま'すか。");
}

}  // namespace
}  // namespace kotonel
