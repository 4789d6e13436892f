#include <gtest/gtest.h>

#include <string>

#include "util/encoding.h"

namespace kotonel {
namespace {

const std::u32string kBad(1, 0xFFFD);

// The encoding of a text file is decided on the whole text; a stray byte that does not decode
// becomes U+FFFD in that encoding instead of switching the whole text to another one.
TEST(TextEncoding, StrayBytesDoNotSwitchTheEncoding) {
  const std::u32string text =
      U"吾輩は猫である。名前はまだ無い。\nどこで生れたかとんと見当がつかぬ。";
  const std::string utf8 = ToUtf8(text), sjis = ToCp932(text);

  // UTF-8 with one invalid byte, in the middle, at the start or cutting the last character.
  std::string one = utf8;
  one.insert(9, "\xFF");
  EXPECT_EQ(DecodeTextFile(one),
            U"吾輩は" + kBad + U"猫である。名前はまだ無い。\nどこで生れたかとんと見当がつかぬ。");
  EXPECT_EQ(DecodeTextFile("\x80" + utf8), kBad + text);
  EXPECT_EQ(DecodeTextFile(utf8 + "\xE3\x81"), text + kBad + kBad);
  // A Latin-1 é among Japanese UTF-8.
  EXPECT_EQ(DecodeTextFile(ToUtf8(U"カフェ ") + "caf\xE9 " + ToUtf8(U"です")),
            U"カフェ caf" + kBad + U" です");
  // With a BOM the text is UTF-8 whatever follows.
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" + one).substr(0, 4), U"吾輩は" + kBad);

  // Shift_JIS, also with a byte that is no character, stays Shift_JIS.
  EXPECT_EQ(DecodeTextFile(sjis), text);
  std::string sjisBad = sjis;
  sjisBad.insert(6, "\xFD");
  EXPECT_EQ(DecodeTextFile(sjisBad),
            U"吾輩は" + kBad + U"猫である。名前はまだ無い。\nどこで生れたかとんと見当がつかぬ。");
  // Shift_JIS whose bytes happen to hold a valid UTF-8 sequence (ﾃ then a kanji pair).
  std::string lucky = ToCp932(U"ﾃ") + "\x93\xfa" + ToCp932(U"本語のテキストです");
  EXPECT_EQ(DecodeTextFile(lucky), FromCp932(lucky));
  EXPECT_FALSE(LooksLikeUtf8(lucky));

  EXPECT_TRUE(LooksLikeUtf8(utf8));
  EXPECT_TRUE(LooksLikeUtf8(one));
  EXPECT_TRUE(LooksLikeUtf8("plain ASCII"));
  EXPECT_FALSE(LooksLikeUtf8(sjis));
}

// Characters the code page lacks become the form of the same character it holds; others stay.
TEST(TextEncoding, NewerFormsBecomeTheFormsTheCodePageHolds) {
  EXPECT_EQ(ToCp932Forms(U"森鷗外と剝離と頰と𠮷野と𠮟責と噓と塡補"),
            U"森鴎外と剥離と頬と吉野と叱責と嘘と填補");
  EXPECT_EQ(ToCp932Forms(U"\uF902"), U"車");        // a compatibility ideograph
  EXPECT_EQ(ToCp932Forms(U"𩸽😀漢字"), U"𩸽😀漢字");  // nothing to map to: left for the reader
  for (char32_t c : ToCp932Forms(U"鷗剝頰𠮷𠮟噓俱吞姸屛幷瘦繫")) EXPECT_GE(Cp932Code(c), 0);
}

}  // namespace
}  // namespace kotonel
