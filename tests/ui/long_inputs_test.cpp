// Inputs far bigger than usual: a word list of 10,000 entries and an old settings file with many
// lines to drop. The full-size runs (50 MB settings files, a 10 MB text) are in
// bench/long_inputs.py; these keep the results right at a size that still runs in a moment.
#include <gtest/gtest.h>

#include <QListWidget>
#include <string>

#include "harness.h"
#include "ui/frm_settings.h"

namespace kotonel::test {
namespace {

// Five kana for a number below 100,000, one per digit, so no word is part of another.
std::u32string KanaOf(int n) {
  const std::u32string digits = U"あいうえおかきくけこ";
  std::u32string out;
  for (int d = 10000; d > 0; d /= 10) out += digits[(n / d) % 10];
  return out;
}

std::u32string WordOf(int n) {
  std::u32string out = U"Ｗ";
  for (char c : std::to_string(100000 + n).substr(1)) out += static_cast<char32_t>(c);
  return out;
}

TEST(LongInputs, TenThousandUserWordsAreAllApplied) {
  Harness h;
  frmメイン& w = h.Start();
  QListWidget* list = w.Settings()->WORD();
  for (int i = 0; i < 10000; ++i)
    list->addItem(Q(KanaOf(i) + U"\t" + WordOf(i) + U"\t" + (i % 2 ? U"1" : U"0")));
  // Full-width Ｗ in the list; the words of width flag 0 match the half-width w as well.
  h.Read(QStringLiteral("w00000とＷ09999とw04242。"));
  std::u32string spoken;
  for (const auto& piece : h.Spoken()) spoken += piece;
  EXPECT_EQ(spoken, KanaOf(0) + U"と" + KanaOf(9999) + U"と" + KanaOf(4242) + U"。");
}

TEST(LongInputs, MigratingAManyLinedOldSettingsFileKeepsTheOtherLinesInOrder) {
  Harness h;
  frmメイン& w = h.Start();
  StringList lines;
  lines.Add(U"Kotonel\t1");
  for (int i = 0; i < 60000; ++i) {
    lines.Add(U"chkCLIP\t\t1");
    lines.Add(U"lst単語\t\t" + KanaOf(i) + U"\t" + WordOf(i) + U"\t0");
    lines.Add(U"chkHOTKEY\t\t0");
  }
  lines.Add(U"chkINS\t\t1");
  lines.Add(U"chkINS\t\t0");
  w.Settings()->MigrateSettings(lines);
  ASSERT_EQ(lines.Count(), 1 + 60000 + 1);
  EXPECT_EQ(lines[1], U"Kotonel\t1");
  EXPECT_EQ(lines[2], U"lst単語\t\t" + KanaOf(0) + U"\t" + WordOf(0) + U"\t0");
  EXPECT_EQ(lines[60001], U"lst単語\t\t" + KanaOf(59999) + U"\t" + WordOf(59999) + U"\t0");
  EXPECT_EQ(lines[60002], U"chkINS\t\t1");  // only the last chkINS goes
}

}  // namespace
}  // namespace kotonel::test
