#include "synth/phonemes.h"

#include <gtest/gtest.h>

#include "util/encoding.h"

namespace kotonel::synth {
namespace {

Utterance Parse(const char* koe) {
  Utterance u;
  std::string error;
  EXPECT_TRUE(ParseKoe(U32(koe), u, error)) << koe << ": " << error;
  return u;
}

TEST(Phonemes, PairsKatakanaAndSpecialMorae) {
  using C = Consonant;
  struct Case {
    const char* koe;
    Consonant c;
    bool palatal;
    Vowel v;
  } cases[] = {
      {"きゃ", C::kK, true, Vowel::kA},   {"キョ", C::kK, true, Vowel::kO},
      {"しゅ", C::kS, true, Vowel::kU},   {"ちぇ", C::kT, true, Vowel::kE},
      {"てぃ", C::kT, false, Vowel::kI},  {"でゅ", C::kD, true, Vowel::kU},
      {"うぉ", C::kW, false, Vowel::kO},  {"いぇ", C::kY, false, Vowel::kE},
      {"ふぁ", C::kF, false, Vowel::kA},  {"ツァ", C::kTs, false, Vowel::kA},
      {"を", C::kNone, false, Vowel::kO}, {"ヲ", C::kNone, false, Vowel::kO},
      {"ひ", C::kH, true, Vowel::kI},     {"ふ", C::kF, false, Vowel::kU},
  };
  for (const Case& c : cases) {
    Utterance u = Parse(c.koe);
    ASSERT_EQ(u.morae.size(), 1u) << c.koe;
    EXPECT_EQ(u.morae[0].consonant, c.c) << c.koe;
    EXPECT_EQ(u.morae[0].palatal, c.palatal) << c.koe;
    EXPECT_EQ(u.morae[0].vowel, c.v) << c.koe;
  }
  Utterance u = Parse("かんーっとー");
  ASSERT_EQ(u.morae.size(), 6u);
  EXPECT_EQ(u.morae[1].kind, MoraKind::kMoraicNasal);
  EXPECT_EQ(u.morae[2].kind, MoraKind::kLong);
  EXPECT_TRUE(u.morae[2].longNasal);
  EXPECT_EQ(u.morae[3].kind, MoraKind::kGeminate);
  EXPECT_EQ(u.morae[5].kind, MoraKind::kLong);
  EXPECT_EQ(u.morae[5].vowel, Vowel::kO);
  EXPECT_EQ(Parse("ーあ").morae.size(), 1u);  // nothing to hold yet
}

TEST(Phonemes, MarksSetPhrasesAccentsAndBreaks) {
  Utterance u = Parse("、はし'が/あめ;あ,あ、。あ？");
  EXPECT_EQ(u.leadingBreak, Break::kTouten);
  ASSERT_EQ(u.morae.size(), 8u);
  EXPECT_TRUE(u.morae[0].phraseStart);
  EXPECT_FALSE(u.morae[1].phraseStart);
  EXPECT_TRUE(u.morae[1].accentNucleus);
  EXPECT_TRUE(u.morae[3].phraseStart);  // after "/"
  EXPECT_EQ(u.morae[4].breakAfter, Break::kMinor);
  EXPECT_TRUE(u.morae[5].phraseStart);
  EXPECT_EQ(u.morae[5].breakAfter, Break::kComma);
  EXPECT_EQ(u.morae[6].breakAfter, Break::kPeriod);  // "、。" keeps the stronger
  EXPECT_EQ(u.morae[7].breakAfter, Break::kQuestion);
  EXPECT_EQ(Parse("あ。、").morae[0].breakAfter, Break::kPeriod);
  // "+" devoices the mora before it even where the rules would not.
  EXPECT_TRUE(Parse("が+").morae[0].devoiced);
  EXPECT_FALSE(Parse("が").morae[0].devoiced);
  // Automatic devoicing: close vowels between voiceless consonants, final す/つ before a pause.
  EXPECT_TRUE(Parse("ひと").morae[0].devoiced);
  EXPECT_TRUE(Parse("きっぷ").morae[0].devoiced);
  EXPECT_FALSE(Parse("かた").morae[0].devoiced);  // not a close vowel
  EXPECT_FALSE(Parse("いた").morae[0].devoiced);  // no voiceless consonant before it
  EXPECT_TRUE(Parse("ます。").morae[1].devoiced);
  EXPECT_TRUE(Parse("かつ").morae[1].devoiced);
  EXPECT_FALSE(Parse("かる。").morae[1].devoiced);
}

TEST(Phonemes, RejectsWhatIsNotInTheAlphabet) {
  for (const char* koe : {"", "a", "漢", "ぁ", "かゃ", "ゐ", "ヴ", "ヵ", "ぢ", "づ", "!", "ｱ"}) {
    Utterance u;
    std::string error;
    EXPECT_FALSE(ParseKoe(U32(koe), u, error)) << koe;
    EXPECT_FALSE(error.empty()) << koe;
  }
  Utterance u;
  std::string error;
  EXPECT_FALSE(ParseKoe(U32("あい漢"), u, error));
  EXPECT_NE(error.find("3 文字目"), std::string::npos) << error;
  EXPECT_TRUE(ParseKoe(std::u32string(kMaxKoeLength, U'あ'), u, error));
  EXPECT_FALSE(ParseKoe(std::u32string(kMaxKoeLength + 1, U'あ'), u, error));
}

}  // namespace
}  // namespace kotonel::synth
