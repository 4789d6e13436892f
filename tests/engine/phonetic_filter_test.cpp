#include <gtest/gtest.h>

#include "engine/phonetic_filter.h"

namespace kotonel {
namespace {

TEST(FilterPhonetic, KeepsTheAlphabetAndRepairsTheRest) {
  EXPECT_EQ(FilterPhonetic(U"きゃキャ"), U"きゃキャ");
  EXPECT_EQ(FilterPhonetic(U"あゃ"), U"あや");
  EXPECT_EQ(FilterPhonetic(U"ァ"), U"あ");
  EXPECT_EQ(FilterPhonetic(U"ゃ"), U"や");
  EXPECT_EQ(FilterPhonetic(U"あ漢1x"), U"あ、、、");
  EXPECT_EQ(FilterPhonetic(U"あ/x"), U"あ、");
  EXPECT_EQ(FilterPhonetic(U"か'漢"), U"か、");
  EXPECT_EQ(FilterPhonetic(U"あーっッ"), U"あーっッ");
  EXPECT_EQ(FilterPhonetic(U"ヴヵヶゐぢ"), U"、、、、、");
  EXPECT_EQ(FilterPhonetic(U"ｱ"), U"、");
  EXPECT_EQ(FilterPhonetic(U",、。？'/;+"), U",、。？'/;+");
  EXPECT_EQ(FilterPhonetic(U""), U"");
  // Every base kana and every pair of the alphabet passes untouched.
  EXPECT_EQ(FilterPhonetic(HiraganaSet().base), HiraganaSet().base);
  EXPECT_EQ(FilterPhonetic(KatakanaSet().pairs), KatakanaSet().pairs);
  EXPECT_EQ(KatakanaSet().pairs.size(), 128u);
  EXPECT_EQ(HiraganaSet().base.size(), 71u);
}

TEST(CleanPhonetic, DropsMarksWhereTheyMakeNoSense) {
  EXPECT_EQ(CleanPhonetic(U"あ、。"), U"あ、");
  EXPECT_EQ(CleanPhonetic(U"あ。。"), U"あ。");
  EXPECT_EQ(CleanPhonetic(U"、,"), U"、,");
  EXPECT_EQ(CleanPhonetic(U",、"), U",");
  EXPECT_EQ(CleanPhonetic(U"、あ"), U"、あ");
  EXPECT_EQ(CleanPhonetic(U"？"), U"？");
}

TEST(CleanPhonetic, SokuonLongVowelAndAccentMarks) {
  EXPECT_EQ(CleanPhonetic(U"あっっか"), U"あっか");
  EXPECT_EQ(CleanPhonetic(U"っか"), U"か");
  EXPECT_EQ(CleanPhonetic(U"あっー"), U"あー");
  EXPECT_EQ(CleanPhonetic(U"あっ"), U"あっ");
  EXPECT_EQ(CleanPhonetic(U"アッカ"), U"アッカ");
  EXPECT_EQ(CleanPhonetic(U"ーあ"), U"あ");
  EXPECT_EQ(CleanPhonetic(U"あ、ー"), U"あ、");
  EXPECT_EQ(CleanPhonetic(U"あーー"), U"あーー");
  EXPECT_EQ(CleanPhonetic(U"'あ"), U"あ");
  EXPECT_EQ(CleanPhonetic(U"あ、/い"), U"あ、い");
  EXPECT_EQ(CleanPhonetic(U"は'し/が"), U"は'し/が");
  EXPECT_EQ(CleanPhonetic(U"あ'、"), U"あ'、");  // an accent mark leaves prev alone
  EXPECT_EQ(CleanPhonetic(U""), U"");
}

// A sokuon belongs to the consonant after it: an accent mark or a phrase boundary between
// them, or the other script spelling that consonant, must not cost it.
TEST(CleanPhonetic, SokuonKeptAcrossMarksAndScripts) {
  EXPECT_EQ(CleanPhonetic(U"よこたわっ'て"), U"よこたわっ'て");
  EXPECT_EQ(CleanPhonetic(U"まっ/す'ぐ"), U"まっ/す'ぐ");
  EXPECT_EQ(CleanPhonetic(U"えっ/'/うそ"), U"えっ/'/うそ");
  EXPECT_EQ(CleanPhonetic(U"ザーッと"), U"ザーッと");
  EXPECT_EQ(CleanPhonetic(U"あっカ"), U"あっカ");
  EXPECT_EQ(CleanPhonetic(U"あっッか"), U"あっか");
  // still dropped: before a pause, a long-vowel mark or at the start
  EXPECT_EQ(CleanPhonetic(U"あっ/、か"), U"あ/、か");
  EXPECT_EQ(CleanPhonetic(U"あっ'ー"), U"あ'ー");
  EXPECT_EQ(CleanPhonetic(U"ッか"), U"か");
  EXPECT_EQ(CleanPhonetic(U"あっ/"), U"あっ/");
}

}  // namespace
}  // namespace kotonel
