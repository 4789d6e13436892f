// Accent phrase boundaries around adverbs with the dictionaries shipped in dll/.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"

namespace kotonel {
namespace {

class ShippedBounds : public test::Shipped {};

// A mimetic adverb in hiragana (reduplicated, or of the form うんざり, しっかり) ends its
// phrase before a verb in the same kana word, する and やる included, and begins one after a
// particle; before a particle or an ending it keeps the word whole, and a word that only
// begins like one is left alone.
TEST_F(ShippedBounds, MimeticAdverbEndsItsPhraseBeforeAVerb) {
  EXPECT_EQ(Read(U"こつこつやれば、受かる。"), "こ'つこつ/やれ'ば、うか'る。");
  EXPECT_EQ(Read(U"ぼちゃぼちゃやったら叱られた。"), "ぼ'ちゃぼちゃ/やった'ら/しかられた。");
  EXPECT_EQ(Read(U"うろうろするな。"), "う'ろうろ/するな。");
  EXPECT_EQ(Read(U"足元がしっかりしていない。"), "あしも'とが/しっか'り/していない。");
  // after a particle it begins its phrase too
  EXPECT_EQ(Read(U"廊下をどたどたあるいた。"), "ろーかを/ど'たどた/あ'るいた。");
  EXPECT_EQ(Read(U"薬でたびたびうがいをする。"), "くすりで/たびたび/うがいを/する。");
  EXPECT_EQ(Read(U"こつこつと歩く。"), "こ'つこつと/ある'く。");
  EXPECT_EQ(Read(U"にこにこだ。"), "に'こにこだ。");
  EXPECT_EQ(Read(U"ばかばかしい話だ。"), "ばかばかし'い/はなし'だ。");
}

// Demonstratives, question words and the short adverbs begin a phrase after a conditional
// inside a kana word, as they do after a particle.
TEST_F(ShippedBounds, DeicticsBeginAPhraseAfterAConditional) {
  EXPECT_EQ(Read(U"戻ったらどうなの。"), "もど'ったら/ど'うなの。");
  EXPECT_EQ(Read(U"それならまだましだ。"), "それな'ら/ま'だ/ましだ。");
  EXPECT_EQ(Read(U"帰ったらすぐ寝る。"), "か'えったら/す'ぐ/ねる。");
  EXPECT_EQ(Read(U"たらこのパスタ。"), "たらこ'の/パ'スタ。");
}

// An honorific prefix in kana after という or a conjunctive ending begins the phrase of the
// kanji word it belongs to; a kana noun that merely ends in ご keeps its kana.
TEST_F(ShippedBounds, HonorificPrefixGoesWithItsWordAfterAnEnding) {
  EXPECT_EQ(Read(U"というお話です。"), "とゆー/おはなし'です。");
  EXPECT_EQ(Read(U"残念ながらご招待に応じかねます。"),
            "ざんね'んながら/ごしょ'ーたいに、おーじかねま'す。");
  EXPECT_EQ(Read(U"忙しいのでお先に失礼します。"), "いそがし'いので/おさきに/しつ'れー/しま'す。");
  EXPECT_EQ(Read(U"たまご料理。"), "たまご/りょ'ーり。");
}

// An adverb, or a noun of time said as one, ends its phrase before the next word of the same
// kanji run or a kana word, and keeps its own accent; a suffix after it stays in its compound.
TEST_F(ShippedBounds, AdverbEndsItsPhraseInsideAKanjiWord) {
  EXPECT_EQ(Read(U"突然暴発した。"), "とつぜん/ぼ'ーはつした。");
  EXPECT_EQ(Read(U"大変苦労した。"), "たいへん/く'ろー/した。");
  EXPECT_EQ(Read(U"至極残念です。"), "し'ごく/ざんね'んです。");
  EXPECT_EQ(Read(U"一番速い。"), "いちばん/はや'い。");
  EXPECT_EQ(Read(U"毎朝必ず散歩する。"), "まいあさ/かならず/さんぽする。");
  EXPECT_EQ(Read(U"昨年結婚した。"), "さくねん/け'っこんした。");
  EXPECT_EQ(Read(U"一番目に来た。"), "いちばんめ'に/き'た。");
  EXPECT_EQ(Read(U"今週末に行く。"), "こんしゅ'ーまつに/いく。");
  // before a kana word too, unless it begins with a particle or the copula
  EXPECT_EQ(Read(U"一見つまらない出来事。"), "いっけん/つまらない/でき'ごと。");
  EXPECT_EQ(Read(U"全然なかったのです。"), "ぜんぜん/な'かったのです。");
  EXPECT_EQ(Read(U"大変な結果。"), "たいへんな/けっか。");
  EXPECT_EQ(Read(U"突然の雨。"), "とつぜんの/あ'め。");
  // a pronoun before a word of its kanji run likewise, but not before a suffix
  EXPECT_EQ(Read(U"彼一人だけ。"), "か'れ/ひと'りだけ。");
  EXPECT_EQ(Read(U"汝自身を知れ。"), "な'んじ/じ'しんを/しれ。");
  EXPECT_EQ(Read(U"私達は。"), "わたし'たちわ。");
  // and a suffix before a word of two kanji (卒業生 + 一人一人), not before a kanji with
  // okurigana or a single kanji
  EXPECT_EQ(Read(U"卒業生一人一人と。"), "そつぎょ'ーせー/ひとりひ'とりと。");
  EXPECT_EQ(Read(U"乗務員全員を。"), "じょーむ'いん/ぜ'んいんを。");
  EXPECT_EQ(Read(U"初心者向きだ。"), "しょしんしゃむ'きだ。");
  EXPECT_EQ(Read(U"大学院生。"), "だいがくい'んせー。");
  // a word made with 的 is flat when it ends its phrase so
  EXPECT_EQ(Read(U"比較的混んでいない。"), "ひかくてき/こ'んで/いない。");
  EXPECT_EQ(Read(U"一義的根源まで。"), "いちぎてき/こ'んげんまで。");
}

// A prefix that points at a thing (当, 現) or sets against it (反) is a phrase of its own
// before a word of two kanji, accented on its first mora, which the suffix after the word
// does not take back; prefixes that make a new word (新, 再) stay in it.
TEST_F(ShippedBounds, DeterminerPrefixIsAPhraseOfItsOwn) {
  EXPECT_EQ(Read(U"当森林内で。"), "と'ー/しんり'んないで。");
  EXPECT_EQ(Read(U"現段階では。"), "げ'ん/だ'んかいでわ。");
  EXPECT_EQ(Read(U"反政府勢力は。"), "は'ん/せーふせ'ーりょくわ。");
  EXPECT_EQ(Read(U"新製品。"), "しんせ'ーひん。");
  EXPECT_EQ(Read(U"再構築する。"), "さいこーちくする。");
}

// A verb that ends a kanji run after a noun of two kanji or more begins a phrase of its own,
// where the writer left out the particle; its accent carried on to the okurigana puts no
// boundary inside the verb. An honorific verb after a noun of action, and the verbs that make
// a word of the noun, stay in the noun's phrase.
TEST_F(ShippedBounds, VerbAfterANounInAKanjiWordBeginsAPhrase) {
  EXPECT_EQ(Read(U"就職決まっちゃったんだよ。"), "しゅーしょく/きま'っちゃったんだよ。");
  EXPECT_EQ(Read(U"一難去ってまた一難。"), "いち'なん/さ'って/また/いち'なん。");
  EXPECT_EQ(Read(U"参照下さい。"), "さんしょーくださ'い。");
  EXPECT_EQ(Read(U"標準化された。"), "ひょーじゅんかさ'れた。");
  EXPECT_EQ(Read(U"名前付きの管。"), "なまえつきの/か'ん。");
  // a na-adjective of two kanji likewise
  EXPECT_EQ(Read(U"気宇壮大な計画。"), "き'う/そーだいな/けーかく。");
  EXPECT_EQ(Read(U"世界有数の港。"), "せ'かい/ゆーすーの/みなと。");
}

// する written in kana after a noun accented in its own phrase begins a phrase, and takes the
// accent a phrase's first word has (しましょ'う, すべ'き); after a flat noun it stays in the
// noun's phrase, and the kana a kanji word read as its okurigana are no する.
TEST_F(ShippedBounds, SuruAfterAnAccentedNounBeginsAPhrase) {
  EXPECT_EQ(Read(U"用意しましょうか。"), "よ'ーい/しましょ'うか。");
  EXPECT_EQ(Read(U"努力すべきだ。"), "ど'りょく/すべ'きだ。");
  EXPECT_EQ(Read(U"救助された。"), "きゅ'ーじょ/された。");
  EXPECT_EQ(Read(U"電話しなさい。"), "でんわしなさ'い。");
  EXPECT_EQ(Read(U"それを手渡した。"), "それを/てわ'たした。");
}

// Where two rules each end a phrase at the same place, one boundary stands: no empty phrase.
TEST_F(ShippedBounds, OneBoundaryWhereTwoRulesEndAPhrase) {
  EXPECT_EQ(Read(U"穴をたくさん持つ。"), "あな'を/たくさん/も'つ。");
  EXPECT_EQ(Read(U"誰もあまり知らない。"), "だ'れも/あまり/しらない。");
}

}  // namespace
}  // namespace kotonel
