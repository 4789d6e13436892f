#include <gtest/gtest.h>

#include "support/engine_rig.h"

namespace kotonel {
namespace {

using test::EngineRig;

// The engine's fixture dictionaries (tests/data/engine) know 日本, 今日, 東京, 行, 私, 学校, 雨
// and 降, the counters 本, 円, 年 and 人, and the English words hello and world.
class Conversion : public testing::Test {
 protected:
  std::u32string Convert(const std::u32string& sentence, bool intonation = false) {
    rig_.engine->Intonation(intonation);
    return rig_.engine->ConvertSentence(sentence);
  }
  EngineRig rig_;
};

TEST_F(Conversion, ParticlesAreRespelledByPronunciation) {
  EXPECT_EQ(Convert(U"はし"), U"はし");            // first word: no leading particle
  EXPECT_EQ(Convert(U"、はし"), U"、はし");        // after punctuation neither
  EXPECT_EQ(Convert(U"日本はし"), U"にほんわし");  // after another kind
  EXPECT_EQ(Convert(U"日本は"), U"にほんわ");      // trailing は anywhere
  EXPECT_EQ(Convert(U"は"), U"わ");
  EXPECT_EQ(Convert(U"日本へ"), U"にほんえ");
  EXPECT_EQ(Convert(U"日本へんな"), U"にほんへんな");  // へん keeps its へ
  EXPECT_EQ(Convert(U"日本この"), U"にほんこの");      // この is not a particle
  EXPECT_EQ(Convert(U"日本を"), U"にほんを");
  EXPECT_EQ(Convert(U"これは"), U"これわ");
  EXPECT_EQ(Convert(U"ついては"), U"ついてわ");
  EXPECT_EQ(Convert(U"ちぢむつづく"), U"ちじむつずく");
  EXPECT_EQ(Convert(U"ヂヅ"), U"ジズ");
}

TEST_F(Conversion, LongRunsGetAPauseAfterTheirParticle) {
  // Fourteen characters since the last punctuation put "、" after the particle.
  EXPECT_EQ(Convert(U"あいうえおかきくけこさしすせが"), U"あいうえおかきくけこさしすせが、");
  // ... but not when punctuation follows anyway.
  EXPECT_EQ(Convert(U"あいうえおかきくけこさしすせが。"), U"あいうえおかきくけこさしすせが。");
  // A one-character word gets no pause from the leading rule, and once respelled it has no
  // trailing particle left.
  EXPECT_EQ(Convert(U"東京東京東京東京は"), U"とーきょーとーきょーとーきょーとーきょーわ");
  // The count restarts after a pause was placed, and no "/" follows the pause.
  EXPECT_EQ(Convert(U"あいうえおかきくけこさしすせが日本を"),
            U"あいうえおかきくけこさしすせが、にほんを");
}

TEST_F(Conversion, WordsAreJoinedIntoAccentPhrases) {
  EXPECT_EQ(Convert(U"helloテスト"), U"はろー/テスト");
  EXPECT_EQ(Convert(U"テストhello"), U"テスト/はろー");
  EXPECT_EQ(Convert(U"日本テスト"), U"にほん/テスト");
  EXPECT_EQ(Convert(U"テストの日本"), U"テストの/にほん");  // hiragana after katakana joins
  EXPECT_EQ(Convert(U"テスト(日本)"), U"テスト(にほん)");   // none before or after a symbol
  EXPECT_EQ(Convert(U"テスト、日本"), U"テスト、にほん");
  EXPECT_EQ(Convert(U"3本"), U"さんぼん");  // none after a number
  EXPECT_EQ(Convert(U"hello"), U"はろー");
}

TEST_F(Conversion, NumbersEnglishKanjiAndKatakanaTogether) {
  // The count of characters reaches 14 at に, the reading of 2025年 included.
  EXPECT_EQ(Convert(U"私は2025年に東京へ行きます"),
            U"わたしわ/にせんにじゅうごねんに、とーきょーえ/いきます");
  EXPECT_EQ(Convert(U"helloとworld"), U"はろーと/わーるど");
  EXPECT_EQ(Convert(U"ﾃｽﾄの1000円"), U"テストの/せんえん");
  EXPECT_EQ(Convert(U"今日は雨が降ります", true), U"きょ'うわ/あ'めが/ふりま'す");
}

TEST_F(Conversion, TheWholeConvertingPathSpeaksFilteredChunks) {
  rig_.engine->CONV(true);
  rig_.engine->Intonation(true);
  ASSERT_EQ(rig_.engine->Speech(0, U"今日は雨が降ります。漢字、hello"), 0);
  std::vector<std::u32string> pieces;
  for (const auto& p : rig_.device->Pieces()) pieces.push_back(p.phonetic);
  // An unknown kanji becomes a pause; a sentence made of nothing speakable is not spoken.
  EXPECT_EQ(pieces, (std::vector<std::u32string>{U"きょ'うわ/あ'めが/ふりま'す。", U"はろー。"}));
}

}  // namespace
}  // namespace kotonel
