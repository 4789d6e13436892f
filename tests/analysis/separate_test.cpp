#include "analysis/Separate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/encoding.h"

namespace kotonel {
namespace {

const std::string kData = KOTONEL_TEST_DATA "separate/";

// The word table as "word/kind" entries, readable in failure messages.
std::vector<std::string> Table(const Separate& s) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= s.単語数(); ++i)
    out.push_back(ToUtf8(s.単語(i)) + "/" + std::to_string(s.種類(i)));
  return out;
}

std::vector<std::string> Cut(const Separate& cutter, std::string_view utf8) {
  Separate s = cutter;
  s.単語分割(U32(utf8));
  return Table(s);
}

using Words = std::vector<std::string>;

TEST(SeparateTest, EmptyTextGivesOneEmptySymbolWord) {
  Separate s(kData + "missing/");
  s.単語分割(U"");
  ASSERT_EQ(s.単語数(), 1);
  EXPECT_EQ(s.単語(1), U"");
  EXPECT_EQ(s.種類(1), 0);
  EXPECT_EQ(s.発音(1), U"");
  EXPECT_EQ(s.品詞(1), -1);

  s.種類分け(U"");
  EXPECT_EQ(Table(s), (Words{"/0", "/0"}));
}

TEST(SeparateTest, CutsWhereTheKindChangesAndNormalizesByKind) {
  Separate s(kData + "missing/");
  EXPECT_EQ(Cut(s, "ＡＢＣ１２３かなカナ漢字"),
            (Words{"abc/3", "123/2", "かな/4", "カナ/5", "漢字/8"}));
  // Greek keeps its case and width; symbols and digits narrow, the ideographic space too.
  EXPECT_EQ(Cut(s, "ΑβＡｂ（　）"), (Words{"Αβ/1", "ab/3", "( )/0"}));
  EXPECT_EQ(Cut(s, "はい。ええ？"), (Words{"はい/4", "。/7", "ええ/4", "？/7"}));
  // Every word of the table starts with no pronunciation and no part of speech.
  Separate t(kData + "missing/");
  t.単語分割(U32("今日は晴れ、ＯＫ！"));
  for (int32_t i = 1; i <= t.単語数(); ++i) {
    EXPECT_EQ(t.発音(i), U"");
    EXPECT_EQ(t.品詞(i), -1);
  }
}

TEST(SeparateTest, LongVowelMarkJoinsOnlyTheKanaBeforeIt) {
  Separate s(kData + "missing/");
  EXPECT_EQ(Cut(s, "カーテン"), (Words{"カーテン/5"}));
  EXPECT_EQ(Cut(s, "あー"), (Words{"あー/4"}));
  EXPECT_EQ(Cut(s, "漢ー"), (Words{"漢/8", "ー/6"}));
  EXPECT_EQ(Cut(s, "ーあ"), (Words{"ー/6", "あ/4"}));
  EXPECT_EQ(Cut(s, "ｽｰﾌﾟ"), (Words{"スープ/5"}));
  EXPECT_EQ(Cut(s, "すーぷスープ"), (Words{"すーぷ/4", "スープ/5"}));
}

TEST(SeparateTest, HalfWidthKatakanaWidensWithItsVoicingMarks) {
  Separate s(kData + "missing/");
  EXPECT_EQ(Cut(s, "ﾎﾞｸ"), (Words{"ボク/5"}));
  EXPECT_EQ(Cut(s, "ﾊﾟﾝとｶﾞﾑ"), (Words{"パン/5", "と/4", "ガム/5"}));
  // Without the second pass the half-width word stays as it was.
  Separate t(kData + "missing/");
  t.種類分け(U32("ﾎﾞｸ"));
  EXPECT_EQ(Table(t), (Words{"ﾎﾞｸ/5"}));
}

TEST(SeparateTest, IterationMarksCopyOrVoiceTheCharacterBefore) {
  Separate s(kData + "missing/");
  EXPECT_EQ(Cut(s, "こゝろ"), (Words{"こ/4", "こ/0", "ろ/4"}));
  EXPECT_EQ(Cut(s, "いすゞ"), (Words{"いす/4", "ず/0"}));
  EXPECT_EQ(Cut(s, "時ゞ"), (Words{"時/8", "々/0"}));
  EXPECT_EQ(Cut(s, "Aゝ"), (Words{"a/3", "ゝ/0"}));
  EXPECT_EQ(Cut(s, "ゝあ"), (Words{"ゝ/0", "あ/4"}));
  EXPECT_EQ(Cut(s, "ハヾ"), (Words{"ハ/5", "ﾊﾞ/0"}));  // a kind-0 word narrows
  EXPECT_EQ(Cut(s, "ｶヽ"), (Words{"カ/5", "ｶ/0"}));
  EXPECT_EQ(Cut(s, "かゞ"), (Words{"か/4", "が/0"}));
  // The replaced mark is kind 0, so a second mark after it stays a mark.
  EXPECT_EQ(Cut(s, "こゝゝ"), (Words{"こ/4", "こゝ/0"}));
  // ヶ has no character after it on the code page: the mark stays rather than vanishing.
  EXPECT_EQ(Cut(s, "ヶゞ"), (Words{"ヶ/5", "ゞ/0"}));
}

TEST(SeparateTest, CurrencySignsAreReadAfterTheirNumber) {
  Separate s(kData + "missing/");
  EXPECT_EQ(Cut(s, "$100"), (Words{"100/2", "ドル/5"}));
  EXPECT_EQ(Cut(s, "100$"), (Words{"100/2", "ドル/5"}));
  EXPECT_EQ(Cut(s, "￥500"), (Words{"500/2", "円/8"}));
  EXPECT_EQ(Cut(s, "(\\)"), (Words{"(/0", "円/8", ")/0"}));
  EXPECT_EQ(Cut(s, "（￡）"), (Words{"(/0", "ポンド/5", ")/0"}));
  // The symbols before the sign stay in front of the number.
  EXPECT_EQ(Cut(s, "約($5"), (Words{"約/8", "(/0", "5/2", "ドル/5"}));
  EXPECT_EQ(Cut(s, "￠1と￠"), (Words{"1/2", "セント/5", "と/4", "セント/5"}));
  // The rebuild lets a long-vowel mark join a reading in kana, as the first pass does.
  EXPECT_EQ(Cut(s, "$5ー"), (Words{"5/2", "ドルー/5"}));
}

TEST(SeparateTest, BuiltInMarksApplyWithoutAnyFile) {
  Separate s(kData + "missing/");
  EXPECT_EQ(Cut(s, "a|b\"c"), (Words{"a/3", "|/0", "b/3", "、/7", "c/3"}));
  EXPECT_EQ(Cut(s, "“本”"), (Words{"‘/0", "本/8", "'/0"}));
  // 種類分け neither replaces marks nor reads currency signs.
  Separate t(kData + "missing/");
  t.種類分け(U32("a|$1"));
  EXPECT_EQ(Table(t), (Words{"a/3", "|/8", "$/0", "1/2"}));
}

TEST(SeparateTest, JoinRulesKeepTheDecimalPointInTheNumber) {
  Separate plain(kData + "missing/");
  EXPECT_EQ(Cut(plain, "１．５"), (Words{"1/2", "./0", "5/2"}));
  Separate joined(kData + "joins");  // a folder without the trailing slash works too
  EXPECT_EQ(Cut(joined, "１．５"), (Words{"1.5/2"}));
  EXPECT_EQ(Cut(joined, "3.14と2."), (Words{"3.14/2", "と/4", "2/2", "./0"}));
}

TEST(SeparateTest, JoinRulesAtTheEdgesOfTheText) {
  Separate s(kData + "joins/");
  // A rule that changes the first character's kind splits before it: an empty first word.
  EXPECT_EQ(Cut(s, "%5"), (Words{"/0", "%5/2"}));
  EXPECT_EQ(Cut(s, "a%5"), (Words{"a/3", "%5/2"}));
  // After the last character the next slot has no character and kind 0.
  EXPECT_EQ(Cut(s, "(a"), (Words{"(a/0"}));
  EXPECT_EQ(Cut(s, "(ab"), (Words{"(/0", "ab/3"}));
}

TEST(SeparateTest, ListReadsOutsideGiveDefaultsAndWritesAppend) {
  Separate s(kData + "missing/");
  s.単語分割(U32("今日は"));
  ASSERT_EQ(s.単語数(), 2);
  for (int32_t i : {0, -1, 3, 100}) {
    EXPECT_EQ(s.単語(i), U"");
    EXPECT_EQ(s.発音(i), U"");
    EXPECT_EQ(s.種類(i), -1);
    EXPECT_EQ(s.品詞(i), -1);
  }

  s.単語(1, U"明日");
  s.種類(2, 5);
  EXPECT_EQ(Table(s), (Words{"明日/8", "は/5"}));

  s.単語(0, U"も");
  EXPECT_EQ(s.単語数(), 3);
  EXPECT_EQ(s.単語(3), U"も");
  EXPECT_EQ(s.種類(3), -1);  // the other lists keep their length
  s.単語(s.単語数() + 1, U"ね");
  EXPECT_EQ(s.単語数(), 4);
  s.品詞(7, 12);
  EXPECT_EQ(s.品詞(3), 12);
  s.発音(0, U"あ'した");
  EXPECT_EQ(s.発音(3), U"あ'した");
  EXPECT_EQ(s.単語数(), 4);
}

TEST(SeparateTest, FirstPassAppendsAndSegmentationReplaces) {
  Separate s(kData + "missing/");
  s.種類分け(U32("あア"));
  s.種類分け(U32("１"));
  EXPECT_EQ(Table(s), (Words{"あ/4", "ア/5", "1/2"}));
  EXPECT_EQ(s.品詞(3), -1);
  s.単語分割(U32("漢"));
  EXPECT_EQ(Table(s), (Words{"漢/8"}));
}

TEST(SeparateTest, CharacterKinds) {
  Separate s(kData + "missing/");
  struct Case {
    const char* chars;
    int32_t kind;
  };
  const Case cases[] = {
      {" !#$%&'()*+-./:;<=>@[\\]^_`{}~", 0},
      {"｢｣･・　！，．：；゛゜ヽヾゝゞ〃￥＄￠￡①㈹", 0},
      {"ΑωЁя", 1},
      {"09０９", 2},
      {"azAZａｚＡＺ", 3},
      {"ぁん", 4},
      {"ｦﾝﾞﾟァヶ", 5},
      {"ーｰ", 6},
      {",、。､｡?？", 7},
      {"\"|漢々ゟヷ😀", 8},  // ゟ and ヷ lie just past the kana ranges
  };
  for (const auto& c : cases) {
    std::u32string chars = U32(c.chars);
    for (char32_t ch : chars) EXPECT_EQ(s.KindOf(ch), c.kind) << ToUtf8(std::u32string(1, ch));
  }
  EXPECT_EQ(s.KindOf(0), 0);
}

}  // namespace
}  // namespace kotonel
