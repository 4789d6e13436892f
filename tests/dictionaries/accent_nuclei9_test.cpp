// Accent nuclei with the dictionaries shipped in dll/: the months and hours whose number has a
// reading of its own (しがつ, くがつ, くじ, しちじ), the conjunctions of それ and those
// that end in は.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class ShippedNuclei9 : public test::Shipped {};

// 四月, 七月, 九月 and 7時, 9時 take the accent on the number as the other months and hours do
// (さ'んがつ, いち'じ), alone, before a particle and after a year; くじら and 籤 are left alone.
TEST_F(ShippedNuclei9, MonthsAndHoursWithAReadingOfTheirOwn) {
  EXPECT_EQ(Read(U"九月で彼女と知り合った。"), "く'がつで/か'のじょと/しりあ'った。");
  EXPECT_EQ(Read(U"4月に"), "し'がつに。");
  EXPECT_EQ(Read(U"7月から9月まで"), "しち'がつから/く'がつまで。");
  EXPECT_EQ(Read(U"2024年4月に"), "にせんにじゅうよ'ねん/し'がつに。");
  EXPECT_EQ(Read(U"9月中に"), "く'がつちゅーに。");
  EXPECT_EQ(Read(U"午前9時に"), "ご'ぜん/く'じに。");
  EXPECT_EQ(Read(U"7時半に"), "しち'じ/は'んに。");
  EXPECT_EQ(Read(U"9時ごろ"), "く'じごろ。");
  EXPECT_EQ(Read(U"4時間"), "よじ'かん。");
  EXPECT_EQ(Read(U"くじら"), "くじら。");
  EXPECT_EQ(Read(U"くじを引く"), "く'じを/ひく。");
}

// それ with a particle as a conjunction takes the accent on the particle's first kana, at the
// start of a sentence and after a pause; それで and それに alone stay flat.
TEST_F(ShippedNuclei9, ConjunctionsOfSore) {
  EXPECT_EQ(Read(U"歩いて行くの、それとも、バスで行くの。"),
            "ある'いて/いく'の、それと'も、バ'スで/いく'の。");
  EXPECT_EQ(Read(U"それでも彼は来た。"), "それで'も/か'れわ/き'た。");
  EXPECT_EQ(Read(U"それなら行こう。"), "それな'ら/いこ'う。");
  EXPECT_EQ(Read(U"雨だ。それなのに出かけた。"), "あ'めだ。それな'のに/でかけた。");
  EXPECT_EQ(Read(U"それで"), "それで。");
}

// けれど and けど after a pause or at the start of a sentence take the accent on their first
// kana; as an ending after a predicate they stay in its phrase.
TEST_F(ShippedNuclei9, ConjunctionsAfterAPause) {
  EXPECT_EQ(Read(U"悪くないかもしれない、けれど、私も悪くない。"),
            "わる'く/な'いかも/しれない、け'れど、わたしも/わる'く/な'い。");
  EXPECT_EQ(Read(U"けれども、私は行かない。"), "け'れども、わたしわ/いかない。");
  EXPECT_EQ(Read(U"いいと思う、けど私は行かない。"), "い'いと/おも'う、け'ど/わたしわ/いかない。");
  EXPECT_EQ(Read(U"暗中模索も良いけれど、"), "あんちゅーも'さくも/よ'いけれど、");
}

// Conjunctions written in hiragana that end in a は said わ keep their accent.
TEST_F(ShippedNuclei9, ConjunctionsEndingInWa) {
  EXPECT_EQ(Read(U"唯一名もしくはコード名です。"), "ゆいいつ'めー/も'しくわ/こーど'めーです。");
  EXPECT_EQ(Read(U"本あるいは雑誌"), "ほ'ん/ある'いわ/ざっし。");
  EXPECT_EQ(Read(U"ひいては国のためになる。"), "ひ'いてわ/くにのため'に/な'る。");
}

}  // namespace
}  // namespace kotonel
