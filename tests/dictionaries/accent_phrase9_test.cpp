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

}  // namespace
}  // namespace kotonel
