#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "util/clock.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/lists.h"
#include "util/strings.h"
#include "util/width.h"

namespace kotonel {
namespace {

namespace fs = std::filesystem;

void WriteRaw(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadRaw(const std::string& path) {
  std::string data;
  ReadWholeFile(path, data);
  return data;
}

TEST(CollapseRuns, CollapsesOnlyRunsOfTwoOrMore) {
  EXPECT_EQ(CollapseRuns(U"あ。。。い。", U"。", U"。"), U"あ。い。");
  EXPECT_EQ(CollapseRuns(U"・・", U"・", U"。"), U"。");
  EXPECT_EQ(CollapseRuns(U"。", U"。", U"。"), U"。");
  EXPECT_EQ(CollapseRuns(U"a・b・・c・・・", U"・", U"。"), U"a・b。c。");
  EXPECT_EQ(CollapseRuns(U"abab-ab", U"ab", U"X"), U"X-ab");
  EXPECT_EQ(CollapseRuns(U"", U"。", U"。"), U"");
}

TEST(OrderedList, OutOfRangeReadsAndAppendingWrites) {
  StringList words{U"a", U"b", U"c"};
  EXPECT_EQ(ItemOf(words, 0), U"");
  EXPECT_EQ(ItemOf(words, 4), U"");
  EXPECT_EQ(ItemOf(words, 2), U"b");
  IntList kinds{3, 4};
  EXPECT_EQ(ItemOf(kinds, 0), -1);
  EXPECT_EQ(ItemOf(kinds, 3), -1);
  BoolList flags{true};
  EXPECT_FALSE(ItemOf(flags, 2));
  // An empty list gives the empty value of its kind.
  EXPECT_EQ(ItemOf(IntList{}, 1), 0);
  EXPECT_EQ(ItemOf(StringList{}, 1), U"");

  SetItem(words, std::u32string(U"x"), 1);
  EXPECT_EQ(words.Count(), 3);
  EXPECT_EQ(words[1], U"x");
  SetItem(words, std::u32string(U"y"), 0);
  SetItem(words, std::u32string(U"z"), words.Count() + 1);
  EXPECT_EQ(words.Count(), 5);
  EXPECT_EQ(words[4], U"y");
  EXPECT_EQ(words[5], U"z");
}

TEST(Files, LinesAcceptEveryLineEndAndKeepTheLastLine) {
  test::TempFolder dir;
  std::string path = dir.File("lines.txt");
  WriteRaw(path, ToCp932(U"一\r\n二\r三\n四"));
  StringList lines;
  ASSERT_TRUE(ReadLines(path, lines));
  ASSERT_EQ(lines.Count(), 4);
  EXPECT_EQ(lines[1], U"一");
  EXPECT_EQ(lines[4], U"四");

  WriteRaw(path, "a\r\nb\r\n");
  StringList two;
  ReadLines(path, two);
  EXPECT_EQ(two.Count(), 2);

  StringList missing;
  EXPECT_FALSE(ReadLines(dir.File("none.txt"), missing));
  EXPECT_TRUE(missing.Empty());

  ASSERT_TRUE(WriteLines(path, StringList{U"漢字", U""}));
  EXPECT_EQ(ReadRaw(path), ToCp932(U"漢字") + "\r\n\r\n");
  EXPECT_FALSE(FileExists(path + ".tmp"));
}

TEST(Files, ExistDeleteRenameAndBytes) {
  test::TempFolder dir;
  EXPECT_FALSE(FileExists(""));
  std::string a = dir.File("a"), b = dir.File("b");
  EXPECT_TRUE(DeleteFile(a));  // nothing to delete is fine
  WriteRaw(a, "1");
  WriteRaw(b, "2");
  EXPECT_FALSE(RenameFile(a, b));  // the target exists
  EXPECT_FALSE(RenameFile(a, a));
  EXPECT_EQ(ReadRaw(b), "2");
  EXPECT_TRUE(DeleteFile(b));
  EXPECT_TRUE(RenameFile(a, b));
  EXPECT_FALSE(FileExists(a));

  Bytes bytes;
  EXPECT_FALSE(ReadBytes(dir.File("missing"), bytes));
  EXPECT_EQ(bytes, Bytes(1, 0));
  // Writing at the start replaces a longer file entirely.
  WriteRaw(b, "0123456789");
  ASSERT_TRUE(WriteBytes(b, Bytes{'x', 'y'}, 0));
  EXPECT_EQ(ReadRaw(b), "xy");
  ASSERT_TRUE(WriteBytes(b, Bytes{'z'}, 2));
  EXPECT_EQ(ReadRaw(b), "xz");
  ASSERT_TRUE(ReadBytes(b, bytes));
  EXPECT_EQ(bytes, (Bytes{'x', 'z'}));
  EXPECT_FALSE(WriteBytes(dir.File("no/such/dir/file"), bytes, 0));
}

TEST(Encoding, RoundTripsAndDetectsFileEncodings) {
  std::u32string text = U"漢字かなカナＡＢＣabc￥\\ｶﾞ①";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  bool lossless = true;
  EXPECT_EQ(FromCp932(ToCp932(text, &lossless)), text);
  EXPECT_TRUE(lossless);
  ToCp932(U"😀", &lossless);
  EXPECT_FALSE(lossless);
  EXPECT_EQ(Cp932Code(U'あ'), 0x82A0);
  EXPECT_EQ(FromCp932Code(0x82A0), U'あ');
  EXPECT_EQ(Cp932Code(U'😀'), -1);
  EXPECT_EQ(FromUtf8("\xff"), std::u32string(1, 0xFFFD));

  // Look-alikes typed on Linux meet the code page's own characters.
  EXPECT_EQ(ToCp932Forms(U"1〜2−3"), U"1～2－3");
  EXPECT_EQ(ToCp932(U"〜"), ToCp932(U"～"));

  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" + ToUtf8(U"あい")), U"あい");
  EXPECT_EQ(DecodeTextFile(ToUtf8(U"あい")), U"あい");
  EXPECT_EQ(DecodeTextFile(ToCp932(U"あい")), U"あい");
  EXPECT_EQ(DecodeTextFile(std::string("\xFF\xFE\x42\x30\x44\x30", 6)), U"あい");
  EXPECT_EQ(DecodeTextFile(std::string("\xFE\xFF\x30\x42", 4)), U"あ");
}

TEST(Width, FollowsTheJapaneseCodePage) {
  EXPECT_EQ(ToNarrow(U"ＡＢＣ１２３　￥カ゛ガパ・ー"), U"ABC123 \\ｶﾞｶﾞﾊﾟ･ｰ");
  EXPECT_EQ(ToNarrow(U"かな漢字￡"), U"かな漢字￡");
  EXPECT_EQ(ToWide(U"ABC ｶﾞ"), U"ＡＢＣ　カ゛");
  EXPECT_EQ(WidenText(U"ｶﾞ"), U"ガ");
  EXPECT_EQ(WidenText(U"ﾊﾟ"), U"パ");
  EXPECT_EQ(WidenText(U"ﾎﾞｸ"), U"ボク");
  EXPECT_EQ(WidenText(U"あ゛"), U"あ");
  EXPECT_EQ(WidenText(U"ｱﾞ"), U"ア");
  EXPECT_EQ(ToHiragana(U"カタカナヴ"), U"かたかなヴ");
  EXPECT_EQ(ToKatakana(U"ひらがな"), U"ヒラガナ");
  EXPECT_EQ(ShiftCp932(U'か', 1), U'が');
  EXPECT_EQ(ShiftCp932(U'ハ', 2), U'パ');
}

TEST(Strings, NumbersAndRounding) {
  EXPECT_EQ(ParseIntLenient(U" 12ab"), 12);
  EXPECT_EQ(ParseIntLenient(U"-3"), -3);
  EXPECT_EQ(ParseIntLenient(U"x"), 0);
  EXPECT_EQ(ParseIntLenient(U"99999999999"), 2147483647);
  int32_t v = 7;
  EXPECT_FALSE(ParseIntStrict(U"1a", v));
  EXPECT_FALSE(ParseIntStrict(U"", v));
  EXPECT_FALSE(ParseIntStrict(U"99999999999", v));
  EXPECT_TRUE(ParseIntStrict(U"-12", v));
  EXPECT_EQ(v, -12);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RepeatText(3, U"ab"), U"ababab");
  EXPECT_EQ(RepeatText(-1, U"ab"), U"");
  EXPECT_EQ(ArrayItemOr({U"a"}, 1, U"d"), U"d");
  EXPECT_EQ(SplitText(U"a b  c", U' ').size(), 4u);
}

TEST(Clock, DeadlinesAndWaitsOnAVirtualClock) {
  VirtualClock clock(5000);
  uint64_t deadline = 0;
  EXPECT_FALSE(TimeUp(deadline, 100, clock));
  EXPECT_EQ(deadline, 5100u);
  clock.Advance(99);
  EXPECT_FALSE(TimeUp(deadline, 100, clock));
  clock.Advance(1);
  EXPECT_TRUE(TimeUp(deadline, 100, clock));

  int pumps = 0;
  WaitMs(120, clock, [&] { ++pumps; });
  EXPECT_EQ(pumps, 3);  // 50 + 50 + 50 >= 120
  EXPECT_EQ(clock.NowMs(), 5250u);
  // Even a zero wait sleeps one pass, so the window always gets a turn.
  WaitMs(0, clock, [&] { ++pumps; });
  EXPECT_EQ(pumps, 4);
}

}  // namespace
}  // namespace kotonel
