#include "analysis/RevConv.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "analysis/Intonation.h"
#include "analysis/Separate.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel {
namespace {

const std::string kFolder = std::string(KOTONEL_TEST_DATA) + "revconv/";
const std::string kAccentFolder = std::string(KOTONEL_TEST_DATA) + "intonation/";

// Feeds one word the way the engine does and returns the reading.
std::u32string Read(RevConv& rc, std::u32string_view word, std::u32string_view before = U"",
                    std::u32string_view kana = U"", int32_t k0 = -1, int32_t k2 = -1) {
  rc.元字(word);
  rc.直前(before);
  rc.仮名(kana);
  rc.種類(0, k0);
  rc.種類(1, 8);
  rc.種類(2, kana.empty() ? k2 : 4);
  rc.Convert();
  return rc.読み();
}

// A folder holding one dic.ktn with the given raw bytes; removed with the object.
struct DicFolder {
  explicit DicFolder(const std::string& bytes) {
    char tmpl[] = "/tmp/kotonel_dic_XXXXXX";
    path = std::string(mkdtemp(tmpl)) + "/";
    WriteFileAtomic(path + "dic.ktn", bytes);
  }
  ~DicFolder() {
    DeleteFile(path + "dic.ktn");
    rmdir(path.c_str());
  }
  std::string path;
};

TEST(RevConv, ReadingsOfOneCharacter) {
  RevConv rc(kFolder);
  EXPECT_EQ(rc.EntryCount(), 19);
  EXPECT_EQ(rc.品詞(), 0);
  // 日 ひ,にち 5,23: alone it takes the first reading of a listed code; after a number word
  // with nothing converted since, the counter reading.
  EXPECT_EQ(Read(rc, U"日"), U"ひ");
  EXPECT_EQ(rc.品詞(), 5);
  rc.品詞(-1);
  EXPECT_EQ(Read(rc, U"日", U"3", U"", 2), U"にち");
  EXPECT_EQ(rc.品詞(), 23);
  rc.品詞(-1);
  EXPECT_EQ(Read(rc, U"日", U"abc", U"", 3), U"ひ");  // after Latin only code 32 counts
  rc.品詞(-1);
  EXPECT_EQ(Read(rc, U"零", U"abc", U"", 3), U"ぜろ");
  rc.品詞(-1);
  EXPECT_EQ(Read(rc, U"零", U"", U"", 8), U"れい");

  // One reading and no comma: taken at once, whatever its code and context.
  rc.品詞(16);
  EXPECT_EQ(Read(rc, U"生", U"の"), U"せい");
  EXPECT_EQ(rc.品詞(), 34);
  EXPECT_THROW(rc.種類(3, 1), std::out_of_range);
  EXPECT_THROW(rc.種類(-1, 1), std::out_of_range);
}

TEST(RevConv, SelectionRules) {
  RevConv rc(kFolder);
  auto readAfter = [&](int32_t code, std::u32string_view word, std::u32string_view before = U"",
                       std::u32string_view kana = U"", int32_t k2 = -1) {
    rc.品詞(code);
    return Read(rc, word, before, kana, 8, k2);
  };
  // A lone word before katakana, and the first lone piece of a longer word, take code 25.
  EXPECT_EQ(readAfter(0, U"個", U"", U"", 5), U"か");
  EXPECT_EQ(readAfter(0, U"個", U"", U"", 8), U"こ");
  EXPECT_EQ(readAfter(0, U"個鬱"), U"か鬱");
  EXPECT_EQ(readAfter(0, U"鬱個"), U"鬱か");
  // After codes 16..19 and 30, code 34.
  EXPECT_EQ(readAfter(16, U"高"), U"こう");
  EXPECT_EQ(readAfter(30, U"高"), U"こう");
  EXPECT_EQ(readAfter(0, U"高"), U"たか");
  // Code 35 after one of its okurigana (the last character of the word before; a comma is in
  // every list), or with nothing before after codes 3..5.
  EXPECT_EQ(readAfter(0, U"行", U"あり"), U"ぎょう");
  EXPECT_EQ(readAfter(0, U"行", U"りあ"), U"い");
  EXPECT_EQ(readAfter(0, U"行", U"東京"), U"い");
  EXPECT_EQ(readAfter(0, U"行", U","), U"ぎょう");
  EXPECT_EQ(readAfter(3, U"行"), U"ぎょう");
  EXPECT_EQ(readAfter(0, U"行"), U"い");
  // Code 34 after one of its okurigana.
  EXPECT_EQ(readAfter(0, U"方", U"この"), U"かた");
  EXPECT_EQ(readAfter(0, U"方", U"これは"), U"ほう");
  // After 27, 29, 31 code 36; after 27 and 31 codes 27 or 31.
  EXPECT_EQ(readAfter(27, U"者"), U"もの");
  EXPECT_EQ(readAfter(0, U"者"), U"しゃ");
  EXPECT_EQ(readAfter(31, U"屋"), U"や");
  EXPECT_EQ(readAfter(29, U"屋"), U"おく");
  // The kana after the match picks the reading whose okurigana list holds it; it is not
  // taken in, so nothing is cut from the reading.
  EXPECT_EQ(readAfter(0, U"書", U"", U"く"), U"か");
  EXPECT_EQ(readAfter(0, U"書"), U"しょ");
  // An inner one-character piece: code 33, else 32.
  EXPECT_EQ(readAfter(0, U"日的"), U"ひてき");
  EXPECT_EQ(readAfter(0, U"日化"), U"ひか");
  EXPECT_EQ(readAfter(0, U"化"), U"け");

  // 品詞 carries over from one word to the next until the engine writes -1.
  rc.品詞(-1);
  EXPECT_EQ(Read(rc, U"日"), U"ひ");
  EXPECT_EQ(Read(rc, U"行"), U"ぎょう");
  rc.品詞(-1);
  EXPECT_EQ(Read(rc, U"行"), U"い");
}

TEST(RevConv, MatchingAndOkurigana) {
  RevConv rc(kFolder);
  Intonation ton(kAccentFolder);
  rc.抑揚(&ton);
  // The longest headword wins.
  EXPECT_EQ(Read(rc, U"日本"), U"にほん");
  EXPECT_EQ(rc.発音(), U" '  ");
  EXPECT_EQ(Read(rc, U"日本日"), U"にほんひ");
  // Characters no headword covers pass through; 発音 is cleared, 品詞 left alone.
  rc.品詞(7);
  EXPECT_EQ(Read(rc, U"鬱蒼"), U"鬱蒼");
  EXPECT_EQ(rc.発音(), U"");
  EXPECT_EQ(rc.品詞(), 7);
  // Headwords match regardless of letter case.
  EXPECT_EQ(Read(rc, U"ｘ線"), U"えっくすせん");
  EXPECT_TRUE(rc.Contains(U"ｘ線"));

  // 思 + うと: the match 思う takes in the う, so one kana is cut off the reading; the
  // template still covers おもう.
  EXPECT_EQ(Read(rc, U"思", U"", U"うと"), U"おも");
  EXPECT_EQ(rc.品詞(), 12);
  EXPECT_EQ(rc.発音(), U"  ' ");
  // Only two kana of the next word are looked at: 見です, not 見ですか.
  EXPECT_EQ(Read(rc, U"見", U"", U"ですか"), U"み");
  // A template growing piece by piece: code 30 moves the accent to the end of 日本.
  EXPECT_EQ(Read(rc, U"日本学"), U"にほんまなぶ");
  EXPECT_EQ(rc.発音(), U"   '   ");

  // The word table path the engine takes, then the accent step.
  Separate words(kFolder);
  words.単語分割(U"思うと日本学");
  ASSERT_EQ(words.単語数(), 3);
  ton.分割(&words);
  std::u32string joined;
  for (int32_t i = 1; i <= words.単語数(); ++i) {
    if (words.種類(i) == 8) {
      rc.元字(words.単語(i));
      rc.直前(words.単語(i - 1));
      rc.仮名(words.種類(i + 1) == 4 ? words.単語(i + 1) : U"");
      for (int32_t k = 0; k <= 2; ++k) rc.種類(k, words.種類(i - 1 + k));
      rc.Convert();
      words.単語(i, rc.読み());
      words.発音(i, rc.発音());
      words.品詞(i, rc.品詞());
    }
  }
  for (int32_t i = 1; i <= words.単語数(); ++i) {
    ton.アクセント(i);
    joined += words.単語(i) + U"|";
  }
  EXPECT_EQ(joined, U"おも|'うと|にほ'んまなぶ|");
}

TEST(RevConv, LoadingFailures) {
  auto failure = [](const std::string& bytes) -> std::u32string {
    DicFolder f(bytes);
    try {
      RevConv rc(f.path);
    } catch (const DictionaryError& e) {
      EXPECT_EQ(e.Message(), U"辞書ファイルの以下の行でエラーが発生しました。");
      return U"[" + e.Line() + U"]";
    }
    return U"loaded";
  };
  try {
    RevConv rc("/nonexistent/");
    ADD_FAILURE() << "a missing dic.ktn loaded";
  } catch (const DictionaryError& e) {
    EXPECT_EQ(e.Line(), U"");
    EXPECT_EQ(e.Text(), U"辞書ファイルを読み込めませんでした。\r\n\r\n/nonexistent/dic.ktn\r\n" +
                            FromUtf8(std::strerror(ENOENT)));
  }
  auto cp932 = [](std::u32string_view text) { return ToCp932(text); };
  EXPECT_EQ(failure(cp932(U"日 ひ 5\r\n本 ほん\r\n")), U"[本 ほん]");
  EXPECT_EQ(failure(cp932(U"日 ひ 5\r\n\r\n本 ほん 5\r\n")), U"[]");
  EXPECT_EQ(failure(cp932(U"日 ひ 5\r\n本 ほん 5\r\n日 にち 23\r\n")), U"[日 にち 23]");
  EXPECT_EQ(failure(cp932(U"Ａ えー 5\r\nａ えい 5\r\n")), U"[ａ えい 5]");
  EXPECT_EQ(failure(cp932(U"ａ えい 5\r\nＡ えー 5\r\n")), U"[Ａ えー 5]");
  // The first failing line in file order is the one reported.
  EXPECT_EQ(failure(cp932(U"日 ひ 5\r\n日 か 5\r\n本\r\n")), U"[日 か 5]");
  EXPECT_EQ(failure(cp932(U"日 ひ 5\r\n本\r\n日 か 5\r\n")), U"[本]");
  EXPECT_EQ(failure(cp932(U"日 ひ  4\r\n")), U"[日 ひ  4]");
  EXPECT_EQ(failure(cp932(U"日 ひ 5,23\r\n")), U"[日 ひ 5,23]");
  EXPECT_EQ(failure(cp932(U"日 ひ x\r\n")), U"[日 ひ x]");
  EXPECT_EQ(failure(cp932(U"日  5\r\n")), U"[日  5]");
  // CR, LF or CR LF line ends; extra fields are ignored; the last line needs no end.
  EXPECT_EQ(failure(cp932(U"日 ひ 5\r本 ほん 5\n思う おもう 12 2 x\r\n見 み 1")), U"loaded");
  DicFolder f(cp932(U"日 ひ 5\r本 ほん 5\n思う おもう 12 2 x\r\n見 み 1"));
  RevConv rc(f.path);
  EXPECT_EQ(rc.EntryCount(), 4);
  EXPECT_EQ(Read(rc, U"見本"), U"みほん");
}

// After a hiragana っ the first kana of a word of the は row is said half-voiced (っぱ); other
// rows, a は inside the word and a word after anything else keep theirs.
TEST(RevConv, HalfVoicedAfterSokuon) {
  DicFolder f(ToCp932(U"張 は 5\r\n歯 は 5\r\n走 はし 11\r\n切 き 11\r\n日歯 ひは 15\r\n"));
  RevConv rc(f.path);
  EXPECT_EQ(Read(rc, U"張", U"っ", U"", 4), U"ぱ");
  EXPECT_EQ(Read(rc, U"走", U"っ", U"", 4), U"ぱし");
  EXPECT_EQ(Read(rc, U"日歯", U"っ", U"", 4), U"ぴは");
  EXPECT_EQ(Read(rc, U"切", U"っ", U"", 4), U"き");
  EXPECT_EQ(Read(rc, U"歯", U"の", U"", 4), U"は");
  EXPECT_EQ(Read(rc, U"歯"), U"は");
}

}  // namespace
}  // namespace kotonel
