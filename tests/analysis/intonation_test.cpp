#include "analysis/Intonation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

#include "analysis/Separate.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel {
namespace {

const std::string kFolder = std::string(KOTONEL_TEST_DATA) + "intonation/";

struct Word {
  std::u32string text;
  int32_t kind;
  std::u32string template_ = U"";
  int32_t code = -1;
};

// A word table holding exactly these words, as the engine leaves it before the accent step.
std::unique_ptr<Separate> Table(std::initializer_list<Word> words) {
  auto table = std::make_unique<Separate>(kFolder);
  for (const auto& w : words) {
    table->単語(0, w.text);
    table->種類(0, w.kind);
    table->発音(0, w.template_);
    table->品詞(0, w.code);
  }
  return table;
}

// Word i of the table after the accent step.
std::u32string Accented(Intonation& ton, Separate& table, int32_t i) {
  ton.アクセント(i);
  return table.単語(i);
}

// A folder holding one acc.ktn with the given raw bytes; removed with the object.
struct AccFolder {
  explicit AccFolder(const std::string& bytes) {
    char tmpl[] = "/tmp/kotonel_acc_XXXXXX";
    path = std::string(mkdtemp(tmpl)) + "/";
    WriteFileAtomic(path + "acc.ktn", bytes);
  }
  ~AccFolder() {
    DeleteFile(path + "acc.ktn");
    rmdir(path.c_str());
  }
  std::string path;
};

TEST(Intonation, TemplateBuilding) {
  Intonation ton(kFolder);
  ton.旧品詞(1);
  // No accent field: one blank per reading character, appended to what is there.
  EXPECT_EQ(ton.発音判定(U"", U"かな", U"", 0, 1), U"  ");
  EXPECT_EQ(ton.発音判定(U" '", U"かな", U"", 0, 1), U" '  ");
  EXPECT_EQ(ton.発音判定(U"", U"おもう", U"2", 0, 12), U"  ' ");
  // An item of more than one character names its own mark.
  EXPECT_EQ(ton.発音判定(U"", U"おもう", U"1-3/", 0, 12), U" '  /");
  // One element per reading variant; "0" or a missing element give no marks.
  EXPECT_EQ(ton.発音判定(U"", U"おもう", U"0,1", 0, 12), U"   ");
  EXPECT_EQ(ton.発音判定(U"", U"おもう", U"0,1", 1, 12), U" '  ");
  EXPECT_EQ(ton.発音判定(U"", U"おもう", U"0,1", 2, 12), U"   ");
  EXPECT_EQ(ton.発音判定(U"", U"おもう", U"1,,2", 1, 12), U"   ");
  // Marks past the reading widen the template; the surplus goes to the okurigana later.
  EXPECT_EQ(ton.発音判定(U"", U"おも", U"4", 0, 12), U"    '");
  // A later position given first lands at the end.
  EXPECT_EQ(ton.発音判定(U"", U"かな", U"5-2", 0, 12), U"  ''");

  // Codes 5, 29, 30, 32 put the accent at the end of what came before, unless the piece
  // before was no dictionary word, or the accent field places the marks itself.
  EXPECT_EQ(ton.発音判定(U"  ' ", U"の", U"", 0, 5), U"   ' ");
  EXPECT_EQ(ton.発音判定(U"  ' ", U"の", U"", 0, 29), U"   ' ");
  // A piece with an accent of its own takes back the accents before it: a compound has one
  // nucleus, which its last accented part decides. A flat mark is no accent and takes none.
  EXPECT_EQ(ton.発音判定(U"  ' ", U"の", U"1", 0, 5), U"    '");
  EXPECT_EQ(ton.発音判定(U" '   ", U"じけん", U"1", 0, 15), U"     '  ");
  EXPECT_EQ(ton.発音判定(U" '   ", U"じけん", U"3+", 0, 15), U" '      +");
  EXPECT_EQ(ton.発音判定(U" '   ", U"じけん", U"1-3/", 0, 15), U"     '  /");
  EXPECT_EQ(ton.発音判定(U"", U"の", U"", 0, 5), U" ");
  EXPECT_EQ(ton.発音判定(U"  ' ", U"の", U"", 0, 6), U"  '  ");
  ton.旧品詞(-1);
  EXPECT_EQ(ton.発音判定(U"  ' ", U"の", U"", 0, 5), U"  '  ");
}

TEST(Intonation, TemplateFittingAndCarryOver) {
  Intonation ton(kFolder);
  // 思 read おも with the template of おもう: the mark after the second blank is carried
  // onto the okurigana word.
  auto t = Table({{U"おも", 8, U"  ' "},
                  {U"うと", 4},
                  {U"かわ", 8, U" ' "},
                  {U"にほん", 8, U" '  "},
                  {U"かな", 8, U"  "},
                  {U"の", 4},
                  {U"おも", 8, U"  ' "},
                  {U"ウ", 5},
                  {U"うと", 4}});
  ton.分割(t.get());
  ton.アクセント(1);
  EXPECT_EQ(t->単語(1), U"おも");
  EXPECT_FALSE(ton.Change());
  ton.アクセント(2);
  EXPECT_EQ(t->単語(2), U"'うと");
  EXPECT_TRUE(ton.Change());
  EXPECT_FALSE(ton.特殊());
  ton.アクセント(3);
  EXPECT_EQ(t->単語(3), U"か'わ");
  // The whole-word rule runs before the fit; surplus characters stay unmarked at the end.
  ton.アクセント(4);
  EXPECT_EQ(t->単語(4), U"に'っぽん");
  // A template without marks changes nothing and carries nothing.
  ton.アクセント(5);
  ton.アクセント(6);
  EXPECT_EQ(t->単語(5), U"かな");
  EXPECT_EQ(t->単語(6), U"の");
  EXPECT_FALSE(ton.Change());
  // A pending mark is dropped when the next word is no hiragana word.
  for (int i = 7; i <= 9; ++i) ton.アクセント(i);
  EXPECT_EQ(t->単語(7), U"おも");
  EXPECT_EQ(t->単語(8), U"ウ");
  EXPECT_EQ(t->単語(9), U"うと");

  // Switched off, nothing changes.
  auto off = Table({{U"おも", 8, U"  ' "}, {U"うと", 4}, {U"かなよね", 4}});
  ton.分割(off.get());
  ton.Enabled(false);
  for (int i = 1; i <= 3; ++i) {
    ton.アクセント(i);
    EXPECT_FALSE(ton.Change());
    EXPECT_FALSE(ton.特殊());
  }
  EXPECT_EQ(off->単語(1), U"おも");
  EXPECT_EQ(off->単語(2), U"うと");
  EXPECT_EQ(off->単語(3), U"かなよね");
}

TEST(Intonation, RulesInFileOrder) {
  Intonation ton(kFolder);
  // Two rules have a mode or whole-word code that is no number and belong to no mode.
  EXPECT_EQ(ton.RuleCount(), 14);
  auto t = Table({{U"かなよね", 4},
                  {U"ですね", 4},
                  {U"あね", 4},
                  {U"でも", 4},
                  {U"アイアイ", 5},
                  {U"ヒトツ", 5},
                  {U"ア", 5},
                  {U"ヒト", 5},
                  {U"がく", 8, U"  '", 5},
                  {U"ヒト", 5},
                  {U"が", 4},
                  {U"", 4}});
  ton.分割(t.get());
  auto run = [&](int32_t i) { return Accented(ton, *t, i); };
  // One prefix and one suffix rule each, the first matching in file order, joined with "/"
  // where two accented pieces meet; a later rule matching the new text is not applied.
  EXPECT_EQ(run(1), U"か'なよ/ね'");
  EXPECT_TRUE(ton.Change());
  // The first whole-word rule ends the scan: neither the second one nor the later で rule.
  EXPECT_EQ(run(2), U"で'すね");
  // Replacing rules apply in turn, and a whole-word rule sees the text as they left it.
  EXPECT_EQ(run(3), U"う'ね");
  EXPECT_EQ(run(4), U"デも");
  EXPECT_EQ(run(5), U"ア'イ/ア'イ");
  EXPECT_EQ(run(6), U"ヒトツ'");
  EXPECT_EQ(run(7), U"ア");
  EXPECT_FALSE(ton.Change());
  // The special rule: followed by a kanji word of code 5, the word turns hiragana and takes
  // the accent, and the next word's template loses its marks.
  EXPECT_EQ(run(8), U"ひと'");
  EXPECT_TRUE(ton.特殊());
  EXPECT_EQ(t->発音(9), U"  ");
  EXPECT_EQ(run(9), U"がく");
  EXPECT_FALSE(ton.特殊());
  EXPECT_EQ(run(10), U"ヒト'");
  EXPECT_FALSE(ton.特殊());
  EXPECT_EQ(run(12), U"");
  EXPECT_FALSE(ton.Change());
}

TEST(Intonation, JoinAndReplace) {
  EXPECT_EQ(連結(U"か'", U"な'", U""), U"か'/な'");
  EXPECT_EQ(連結(U"か'/", U"な'", U""), U"か'/な'");
  EXPECT_EQ(連結(U"か'", U"/な'", U""), U"か'/な'");
  EXPECT_EQ(連結(U"か", U"な'", U"よ'"), U"かな'/よ'");
  EXPECT_EQ(連結(U"か'", U"", U"よ'"), U"か'よ'");
  // only the accents that touch the seam count: one behind a boundary inside a piece belongs
  // to another phrase
  EXPECT_EQ(連結(U"す", U"こと'", U"が/で'きた"), U"すこと'が/で'きた");
  EXPECT_EQ(連結(U"か'/な", U"よ'", U""), U"か'/なよ'");
  EXPECT_EQ(連結(U"か'/な'", U"よ'", U""), U"か'/な'/よ'");
  EXPECT_EQ(置換(U"かかか", U"か", U"か"), U"かかか");
  EXPECT_EQ(置換(U"あいあい", U"あ", U"あ'"), U"あ'い/あ'い");
  EXPECT_EQ(置換(U"かな", U"", U"x"), U"かな");
  // The "/" put before a replacement must not make the search find its own replacement again.
  EXPECT_EQ(置換(U"あ'あ", U"あ", U"'あ"), U"'あ/'/'あ");
}

// Replacing rules whose patterns share their first characters, some longer than the part of
// them the rules are looked up by: the first in file order that occurs still applies, and a
// short pattern is found at the very end of the text.
TEST(Intonation, ReplacingRulesSharingTheirHeadKeepFileOrder) {
  AccFolder f(ToCp932(
      U"4 0 かきくけ X 0\r\n4 0 かきくこ Y 0\r\n4 0 きく Z 0\r\n4 0 かき W 0\r\n4 0 ん N 0\r\n"));
  Intonation ton(f.path);
  auto t = Table({{U"あかきくこ", 4},
                  {U"かきくけこ", 4},
                  {U"きくか", 4},
                  {U"あかき", 4},
                  {U"かきくさ", 4},
                  {U"さん", 4},
                  {U"", 4}});
  ton.分割(t.get());
  auto run = [&](int32_t i) { return Accented(ton, *t, i); };
  EXPECT_EQ(run(1), U"あY");
  EXPECT_EQ(run(2), U"Xこ");
  EXPECT_EQ(run(3), U"Zか");
  EXPECT_EQ(run(4), U"あW");
  EXPECT_EQ(run(5), U"かZさ");  // きく comes before かき
  EXPECT_EQ(run(6), U"さN");
}

// A file far longer than the pieces it is read in, with every kind of line ending, many
// whole-word keys and many replacing rules under one head, the two word kinds interleaved: each
// rule is found, the first matching one in file order from where the scan stands, and a faulty
// last line is reported with its own number.
TEST(Intonation, LargeFileKeepsEveryRuleAndItsOrder) {
  const std::u32string digits = U"アイウエオカキクケコ";
  auto word = [&](int k) {
    std::u32string w = U"ナ";
    for (char d : std::to_string(k)) w += digits[static_cast<size_t>(d - '0')];
    return w;
  };
  auto three = [](int k) {
    std::string n = std::to_string(1000 + k).substr(1);
    return std::u32string(n.begin(), n.end());
  };
  const char32_t* endings[] = {U"\r\n", U"\n", U"\r"};
  std::u32string file;
  constexpr int kRules = 3000;
  for (int k = 0; k < kRules; ++k) {
    file += U"5 0 " + word(k) + U" " + word(k) + U"' 3" + endings[k % 3];
    // under one head, numbered so that none is part of another
    if (k < 400) file += U"4 0 あいう" + three(k) + U" b" + three(k) + U" 0" + endings[(k + 1) % 3];
  }
  // a later whole-word rule for a word that already has one never applies
  file += U"5 0 " + word(7) + U" later 3\r\n";
  AccFolder f(ToCp932(file));
  Intonation ton(f.path);
  EXPECT_EQ(ton.RuleCount(), kRules + 400 + 1);
  auto t = Table({{word(0), 5},
                  {word(7), 5},
                  {word(1234), 5},
                  {word(kRules - 1), 5},
                  {word(kRules), 5},
                  {U"あいう007あいう003", 4},
                  {U"あいう399x", 4},
                  {U"あいう400", 4}});
  ton.分割(t.get());
  auto run = [&](int32_t i) { return Accented(ton, *t, i); };
  EXPECT_EQ(run(1), word(0) + U"'");
  EXPECT_EQ(run(2), word(7) + U"'");
  EXPECT_EQ(run(3), word(1234) + U"'");
  EXPECT_EQ(run(4), word(kRules - 1) + U"'");
  EXPECT_EQ(run(5), word(kRules));
  EXPECT_EQ(run(6), U"b007b003");
  EXPECT_EQ(run(7), U"b399x");
  EXPECT_EQ(run(8), U"あいう400");

  AccFolder bad(ToCp932(file + U"4 0 か か'"));
  try {
    Intonation broken(bad.path);
    ADD_FAILURE() << "loaded";
  } catch (const DictionaryError& e) {
    EXPECT_EQ(e.Line(), U"4 0 か か'");
    EXPECT_EQ(e.LineNumber(), kRules + 400 + 2);
  }
}

// The file is read 64 KB at a time: a CR LF split by that boundary is one line ending, and a
// line longer than the buffer (and a rule longer than a block of kept text) loads whole.
TEST(Intonation, ReadBufferBoundaries) {
  std::string file;
  // 4,095 lines of 16 bytes and one of 15 put its CR at byte 65,535 and its LF at 65,536.
  for (int k = 0; k < 4095; ++k) file += "4 0 aaaaa bb 0\r\n";
  file += "4 0 abcdefg h 0\r\n";
  std::u32string longWord(40000, U'ア');
  file += ToCp932(U"5 0 " + longWord + U" " + longWord + U"' 3\r\n4 0 x y 0");
  AccFolder f(file);
  Intonation ton(f.path);
  EXPECT_EQ(ton.RuleCount(), 4095 + 1 + 1 + 1);
  auto t = Table({{longWord, 5}, {U"xaaaaa", 4}});
  ton.分割(t.get());
  ton.アクセント(1);
  EXPECT_EQ(t->単語(1), longWord + U"'");
  ton.アクセント(2);
  EXPECT_EQ(t->単語(2), U"ybb");
}

TEST(Intonation, LoadingFailures) {
  auto failure = [](const std::string& folder) -> std::u32string {
    try {
      Intonation ton(folder);
    } catch (const DictionaryError& e) {
      EXPECT_EQ(e.Message(), U"アクセントファイルの以下の行でエラーが発生しました。");
      return U"[" + e.Line() + U"]";
    }
    return U"loaded";
  };
  EXPECT_EQ(failure("/nonexistent/"), U"[]");
  {
    AccFolder f(ToCp932(U"4 0 a b 0\r\n4 0 か か'\r\n4 0 b c 0\r\n"));
    EXPECT_EQ(failure(f.path), U"[4 0 か か']");
  }
  {
    AccFolder f(ToCp932(U"4 0 a b 0\r\n\r\n"));
    EXPECT_EQ(failure(f.path), U"[]");
  }
  {
    // Any line end is accepted; consecutive spaces make empty fields. Modes and codes are
    // numbers: 2.0 is mode 2, 2.5 and x are no mode.
    AccFolder f(ToCp932(
        U"4 0 a b 0\r4 0 c d 0\n4 0 e  1 extra\r\n4 0 f g 2.0\r\n4 0 h i 2.5\r\n4 x j k 3\r\n"
        U"4 05 l m 3\r\n4 0 n o x"));
    EXPECT_EQ(failure(f.path), U"loaded");
    EXPECT_EQ(Intonation(f.path).RuleCount(), 5);
  }
}

}  // namespace
}  // namespace kotonel
