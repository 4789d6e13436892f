#include "analysis/EnjConv.h"

#include <gtest/gtest.h>

#include <string>

#include "temp_dictionary.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

const std::string kFixtures = std::string(KOTONEL_TEST_DATA) + "enjconv/";

std::string Read(const EnjConv& conv, std::string_view word) {
  return ToUtf8(conv.Convert(U32(word)));
}

TEST(EnjConvTest, ReadsWholeWordsBeforeAnythingElse) {
  EnjConv conv(kFixtures);
  EXPECT_EQ(Read(conv, ""), "");
  // "he" is a known piece, but the whole word wins.
  EXPECT_EQ(Read(conv, "hello"), "はろー");
  // Keys match whatever the letter case on either side.
  EXPECT_EQ(Read(conv, "HeLLo"), "はろー");
  EXPECT_EQ(Read(conv, "nasa"), "なさ");
  EXPECT_EQ(Read(conv, "NASA"), "なさ");
  // A table number that is not a number reads 0: the whole-word table.
  EXPECT_EQ(Read(conv, "ok"), "おーけー");
}

TEST(EnjConvTest, ReadsPiecesEndingsAndLettersBetween) {
  EnjConv conv(kFixtures);
  // Three letters beat two at the same position: "sta", not "st" + "a".
  EXPECT_EQ(Read(conv, "stab"), "すたぶ");
  // A piece starting with a vowel inside the word is only tried as an ending: "on" is a
  // known piece but here read letter by letter.
  EXPECT_EQ(Read(conv, "station"), "すたてぃおん");
  EXPECT_EQ(Read(conv, "lion"), "るしょん");
  // An ending beats a piece of the same length; away from the end the piece is used.
  EXPECT_EQ(Read(conv, "data"), "どあたー");
  EXPECT_EQ(Read(conv, "tat"), "たと");
  // The ending table was named "2.5" in the file: rounded half to even, table 2.
  EXPECT_EQ(Read(conv, "bed"), "ぶど");
  // Letters no table knows read as nothing once a piece was found.
  EXPECT_EQ(Read(conv, "stax"), "すた");
  // An upper-case vowel is no vowel for the start test, so "ON" may start a piece.
  EXPECT_EQ(Read(conv, "STATION"), "すたてぃおーん");
}

TEST(EnjConvTest, SpellsWordsWithoutAnyKnownPiece) {
  EnjConv conv(kFixtures);
  // Two letters are always spelled unless the whole word is known, even a known piece.
  EXPECT_EQ(Read(conv, "on"), "おーえぬ");
  EXPECT_EQ(Read(conv, "ta"), "てぃーえー");
  // Three letters can only use two-letter pieces: "ion" is an ending but not here.
  EXPECT_EQ(Read(conv, "ion"), "あいおーえぬ");
  // No piece known: spelled, although every letter has a single-letter reading.
  EXPECT_EQ(Read(conv, "cab"), "しーえーびー");
  EXPECT_EQ(Read(conv, "CAB"), "しーえーびー");
  // Letters without a name are left out.
  EXPECT_EQ(Read(conv, "xyz"), "えっくす");
}

TEST(EnjConvTest, RejectsBadLinesWithTheirText) {
  const std::u32string message = U"英語ファイルの以下の行でエラーが発生しました。";
  auto expectFailure = [&](std::u32string_view content, const std::u32string& line) {
    test::TempDictionary dict;
    if (content != U"(missing)") dict.Write("eng.ktn", content);
    try {
      EnjConv conv(dict.Folder());
      ADD_FAILURE() << "loaded " << ToUtf8(content);
    } catch (const DictionaryError& e) {
      EXPECT_EQ(ToUtf8(e.Message()), ToUtf8(message));
      EXPECT_EQ(ToUtf8(e.Line()), ToUtf8(line)) << ToUtf8(content);
      // A file that cannot be read says so; a refused line is shown under the message.
      std::u32string head = e.Reason().empty() ? message + U"\r\n\r\n" + line + U"\r\n\r\n"
                                               : U"英語ファイルを読み込めませんでした。";
      EXPECT_EQ(ToUtf8(e.Text().substr(0, head.size())), ToUtf8(head));
    }
  };
  expectFailure(U"(missing)", U"");
  expectFailure(U"0 a あ\r\n0 b\r\n", U"0 b");
  expectFailure(U"0 a あ\r\n\r\n0 b び\r\n", U"");
  expectFailure(U"0 a あ\r\n\r\n", U"");
  expectFailure(U"5 a あ\r\n", U"5 a あ");
  expectFailure(U"-1 a あ\r\n", U"-1 a あ");
  expectFailure(U"4.6 a あ\r\n", U"4.6 a あ");  // rounds to 5
  expectFailure(U"1 ab あ\r\n1 AB えーびー\r\n", U"1 AB えーびー");
  expectFailure(U"3 a あ\r\n3 a あ\r\n", U"3 a あ");

  // Accepted: the same key in different tables, a table number rounded into range, fields
  // after the third, and any line end.
  test::TempDictionary dict;
  dict.Write("eng.ktn", U"1 ab あぶ\n2 AB えーびー\r4.5 a えー extra\r\n4 b びー");
  EnjConv conv(dict.Folder());
  EXPECT_EQ(ToUtf8(conv.Convert(U"ab")), "えーびー");
  EXPECT_EQ(ToUtf8(conv.Convert(U"abab")), "あぶえーびー");
}

// An address or a file name joined into one word is read part by part, the marks by their
// single-letter readings; one-letter parts are an abbreviation, spelled without the marks.
TEST(EnjConvTest, ReadsWordsJoinedByMarksPartByPart) {
  test::TempDictionary dict;
  dict.Write("eng.ktn",
             U"0 www だぶりゅーだぶりゅーだぶりゅー\r\n0 example えぐざんぷる\r\n"
             U"0 com こむ\r\n0 index いんでっくす\r\n0 and あんど\r\n0 or おあ\r\n"
             U"0 node.js のーど\r\n1 sta すた\r\n3 . どっと\r\n3 / すらっしゅ\r\n"
             U"3 a あ\r\n3 b ぶ\r\n4 e いー\r\n4 g じー\r\n4 u ゆー\r\n4 s えす\r\n"
             U"4 a えー\r\n4 j じぇー\r\n");
  EnjConv conv(dict.Folder());
  EXPECT_EQ(Read(conv, "www.example.com"),
            "だぶりゅーだぶりゅーだぶりゅーどっとえぐざんぷるどっとこむ");
  EXPECT_EQ(Read(conv, "example.com/index"), "えぐざんぷるどっとこむすらっしゅいんでっくす");
  EXPECT_EQ(Read(conv, "and/or"), "あんどすらっしゅおあ");
  // Unknown parts are read by pieces or spelled like any word.
  EXPECT_EQ(Read(conv, "stab.js"), "すたぶどっとじぇーえす");
  // An abbreviation: one letter per part, no marks said.
  EXPECT_EQ(Read(conv, "e.g"), "いーじー");
  EXPECT_EQ(Read(conv, "u.s.a"), "ゆーえすえー");
  // The whole word in table 0 still wins; a trailing mark is read once.
  EXPECT_EQ(Read(conv, "node.js"), "のーど");
  EXPECT_EQ(Read(conv, "com."), "こむどっと");
}

}  // namespace
}  // namespace kotonel
