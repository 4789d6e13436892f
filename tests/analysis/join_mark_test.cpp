#include <gtest/gtest.h>

#include <string>

#include "analysis/JoinRules.h"
#include "analysis/MarkTable.h"
#include "analysis/Separate.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

const std::string kData = KOTONEL_TEST_DATA "separate/";

std::string Segment(const std::string& folder, std::string_view utf8) {
  Separate s(kData + folder);
  s.単語分割(U32(utf8));
  std::string out;
  for (int32_t i = 1; i <= s.単語数(); ++i) out += (i > 1 ? " " : "") + ToUtf8(s.単語(i));
  return out;
}

TEST(MarkTableTest, LoadsEntriesAfterTheBuiltInOnes) {
  MarkTable table;
  ASSERT_EQ(table.Count(), 11);
  table.Load(kData + "marks/mrk.ktn");  // CR LF, a lone CR and a lone LF
  ASSERT_EQ(table.Count(), 16);
  EXPECT_EQ(table.Key(12), U"ab");
  EXPECT_EQ(table.Replacement(12), U"x");
  EXPECT_EQ(table.Key(13), U"x");
  EXPECT_EQ(table.Key(14), U"$");
  EXPECT_EQ(table.Replacement(14), U32("ダラー"));
  EXPECT_EQ(table.Key(15), U32("消す"));
  EXPECT_EQ(table.Replacement(15), U"");
  EXPECT_EQ(table.Key(16), U"\\");

  // A file entry for a currency sign neither replaces it nor changes its reading.
  EXPECT_EQ(table.CurrencyReading(U'$'), U32("ドル"));
  EXPECT_EQ(table.CurrencyReading(U'\\'), U32("円"));
  EXPECT_EQ(table.CurrencyReading(U'￡'), U32("ポンド"));
  EXPECT_EQ(table.CurrencyReading(U'￠'), U32("セント"));
  EXPECT_EQ(table.Replace(U32("$\\")), U32("$\\"));
}

TEST(MarkTableTest, EntriesApplyInOrderEachToTheResultOfTheOnesBefore) {
  EXPECT_EQ(Segment("marks/", "ab"), "y");
  EXPECT_EQ(Segment("marks_reversed/", "ab"), "x");
  EXPECT_EQ(Segment("marks/", "zabzab"), "zyzy");
  EXPECT_EQ(Segment("marks/", "これを消す"), "これを");  // an empty replacement deletes
  EXPECT_EQ(Segment("marks/", "$5"), "5 ドル");
  EXPECT_EQ(Segment("marks/", "\\5"), "5 円");
  EXPECT_EQ(Segment("marks/", "a|b"), "a | b");
}

// Signs a Shift_JIS file cannot name are built in: the half-width yen sign is the yen of the
// code page, the euro sign a currency of its own, U+2212 the full-width minus.
TEST(MarkTableTest, BuiltInSignsOutsideTheCodePage) {
  MarkTable table;
  EXPECT_EQ(table.CurrencyReading(U'€'), U32("ユーロ"));
  EXPECT_TRUE(MarkTable::IsCurrencySign(U'€'));
  EXPECT_EQ(table.Replace(U32("¥3,980と−3")), U32("\\3,980と－3"));
  EXPECT_EQ(table.Replace(U32("€")), U32("€"));  // read by the segmentation, not replaced
  EXPECT_EQ(Segment("marks/", "¥500"), "500 円");
  EXPECT_EQ(Segment("marks/", "€100"), "100 ユーロ");
}

TEST(MarkTableTest, ReplacesWithoutOverlapsLeftToRight) {
  MarkTable table;
  EXPECT_EQ(table.Replace(U"\"\"|"), U32("、、｜"));
  EXPECT_EQ(table.Replace(U""), U"");
}

TEST(JoinRulesTest, ParsesKindsListsAndTheTwoColumnForm) {
  JoinRules rules;
  rules.Load(kData + "joins/join.ktn");
  ASSERT_EQ(rules.Count(), 5);
  const auto& decimal = rules.At(1);
  EXPECT_FALSE(decimal.twoColumn);
  EXPECT_EQ(decimal.fields[0].kind, 2);
  EXPECT_EQ(decimal.fields[0].list, U"");
  EXPECT_EQ(decimal.fields[1].list, U32(",.,．"));
  const auto& sign = rules.At(3);
  EXPECT_TRUE(sign.twoColumn);
  EXPECT_EQ(sign.fields[0].kind, 0);  // a first character that is not a digit counts as 0
  EXPECT_EQ(sign.fields[0].list, U",%");
  EXPECT_EQ(rules.At(5).fields[0].kind, 9);
}

TEST(JoinRulesTest, FirstMatchingRuleDecides) {
  JoinRules rules;
  rules.Load(kData + "joins/join.ktn");
  JoinSlot previous{U'１', 2};
  JoinSlot current{U'．', 0};
  JoinSlot next{U'５', 2};
  EXPECT_TRUE(rules.Apply(previous, current, next));
  EXPECT_EQ(current.kind, 2);  // the second rule would have given 8

  // A listed character must be there: an empty slot never matches a list.
  JoinSlot none{0, 0};
  JoinSlot percent{U'%', 0};
  JoinSlot digit{U'5', 2};
  EXPECT_TRUE(rules.Apply(none, percent, digit));
  EXPECT_EQ(percent.kind, 2);
  JoinSlot hash{U'#', 0};
  EXPECT_FALSE(rules.Apply(JoinSlot{U'a', 3}, hash, digit));
  EXPECT_EQ(hash.kind, 0);

  // With no rules nothing changes.
  JoinRules empty;
  JoinSlot point{U'.', 0};
  EXPECT_FALSE(empty.Apply(previous, point, next));
  EXPECT_EQ(point.kind, 0);
}

TEST(JoinRulesTest, MissingFilesAreAllowed) {
  EXPECT_NO_THROW(Separate(kData + "missing/"));
  EXPECT_NO_THROW(Separate(kData + "folder_as_file/"));  // a folder named mrk.ktn
  JoinRules rules;
  rules.Load(kData + "missing/join.ktn");
  EXPECT_EQ(rules.Count(), 0);
}

// The error a Separate raises for the dictionary folder, as message and line.
DictionaryError LoadError(const std::string& folder) {
  try {
    Separate s(kData + folder);
  } catch (const DictionaryError& e) {
    return e;
  }
  ADD_FAILURE() << folder << " loaded without an error";
  return DictionaryError(U"", U"");
}

TEST(JoinRulesTest, MalformedLinesAreFatalWithTheFilesMessageAndLine) {
  const std::u32string markMessage = U32("特殊文字ファイルの以下の行でエラーが発生しました。");
  const std::u32string joinMessage = U32("結合ファイルの以下の行でエラーが発生しました。");

  auto e = LoadError("bad_mark_short/");
  EXPECT_EQ(e.Message(), markMessage);
  EXPECT_EQ(e.Line(), U32("単独"));
  EXPECT_EQ(e.File(), kData + "bad_mark_short/mrk.ktn");
  EXPECT_EQ(e.Text(), markMessage + U"\r\n\r\n" + U32("単独") + U"\r\n\r\n" +
                          FromUtf8(kData + "bad_mark_short/mrk.ktn") + U" 2行目");

  e = LoadError("bad_mark_empty/");
  EXPECT_EQ(e.Message(), markMessage);
  EXPECT_EQ(e.Line(), U"");

  // Two fields need the trailing space that makes the third one empty.
  e = LoadError("bad_join_two_fields/");
  EXPECT_EQ(e.Message(), joinMessage);
  EXPECT_EQ(e.Line(), U"0,- 2");
  EXPECT_EQ(e.File(), kData + "bad_join_two_fields/join.ktn");

  e = LoadError("bad_join_empty/");
  EXPECT_EQ(e.Message(), joinMessage);
  EXPECT_EQ(e.Line(), U"");

  // The special marks are read first, so their error is the one reported.
  e = LoadError("bad_both/");
  EXPECT_EQ(e.Message(), markMessage);
  EXPECT_EQ(e.Line(), U32("記号"));
}

}  // namespace
}  // namespace kotonel
