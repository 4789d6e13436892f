// Text with characters the dictionaries' code page cannot hold, read with the shipped
// dictionaries: such a character may go unread, never the characters after it, and the newer
// forms of a kanji read as the form the dictionaries hold.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

// Read without intonation: only the reading matters here.
class OutsideCodePage : public test::Shipped {
 protected:
  static std::string Read(const std::u32string& line) { return Shipped::Read(line, false); }
};

TEST_F(OutsideCodePage, CharactersAfterAnUnreadableOneAreRead) {
  EXPECT_NE(Read(U"猫が😀好きです").find("すき"), std::string::npos) << Read(U"猫が😀好きです");
  EXPECT_NE(Read(U"😀好き").find("すき"), std::string::npos) << Read(U"😀好き");
  EXPECT_NE(Read(U"𩸽定食").find("てーしょく"), std::string::npos) << Read(U"𩸽定食");
  // Inside a word: what stands before it is read too.
  EXPECT_NE(Read(U"定食𩸽定食").find("てーしょく"), Read(U"定食𩸽定食").rfind("てーしょく"))
      << Read(U"定食𩸽定食");
  EXPECT_EQ(Read(U"猫が😀😀好きです"), Read(U"猫が😀好きです"));
}

TEST_F(OutsideCodePage, NewerFormsReadAsTheFormsTheDictionariesHold) {
  const std::pair<std::u32string, std::u32string> pairs[] = {
      {U"森鷗外の小説", U"森鴎外の小説"},
      {U"剝離する", U"剥離する"},
      {U"頰骨", U"頬骨"},
      {U"𠮷野家", U"吉野家"},
      {U"𠮟る", U"叱る"},
      {U"噓をつく", U"嘘をつく"},
      {U"繫がる", U"繋がる"},
      {U"瘦せる", U"痩せる"},
      {U"說明", U"説明"},
      {U"\uF902の鍵", U"車の鍵"},  // a compatibility ideograph
  };
  for (const auto& [newer, held] : pairs) {
    SCOPED_TRACE(ToUtf8(newer));
    EXPECT_EQ(Read(newer), Read(held));
  }
}

}  // namespace
}  // namespace kotonel
