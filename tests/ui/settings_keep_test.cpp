// Nothing the user has stored in the settings file is lost to bad input: pasted line breaks,
// a file saved in UTF-8 or edited by hand, words Shift_JIS cannot hold, a folder in the file's
// place; and the word list editor changes exactly the entry the user selected.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "harness.h"
#include "ui/frm_settings.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/strings.h"

namespace kotonel::test {
namespace {

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

std::string Bytes(const std::string& path) {
  std::string data;
  ReadWholeFile(path, data);
  return data;
}

// The lines joined with CR LF in code page 932, as the program writes them.
std::string Cp932File(std::initializer_list<std::u32string> lines) {
  std::string data;
  for (const auto& line : lines) data += ToCp932(line) + "\r\n";
  return data;
}

std::string Utf8File(std::initializer_list<std::u32string> lines, const std::string& ending) {
  std::string data;
  for (const auto& line : lines) data += ToUtf8(line) + ending;
  return data;
}

bool HasLine(const StringList& lines, const std::u32string& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

StringList ReadFile(const std::string& path) {
  StringList lines;
  ReadLines(path, lines);
  return lines;
}

TEST(SettingsWords, BoxesNeverHoldLineBreaksOrTabsAndTheFileStaysWhole) {
  Harness h;
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  s.txt単語->setText(QStringLiteral("猫\r\n"));  // pasted from a web page
  EXPECT_EQ(s.txt単語->text(), QStringLiteral("猫"));
  s.txt単語->insert(QStringLiteral("\tです\n"));
  EXPECT_EQ(s.txt単語->text(), QStringLiteral("猫です"));
  s.txt読み->setText(QStringLiteral("ね\nこ\t"));
  EXPECT_EQ(s.txt読み->text(), QStringLiteral("ねこ"));
  s.cmd追加->click();
  EXPECT_TRUE(h.prompts.messages.empty());
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("ねこ\t猫です\t0")});

  // What stays in a box is saved with the other controls, on its own line.
  s.txt読み->setText(QStringLiteral("わ\r\nす\u2028れ"));
  w.close();
  StringList lines = ReadFile(h.SettingsPath());
  EXPECT_TRUE(HasLine(lines, U"txt読み\t\tわすれ"));
  EXPECT_TRUE(HasLine(lines, U"lst単語\t\tねこ\t猫です\t0"));
  for (const auto& line : lines) EXPECT_NE(line.find(U'\t'), std::u32string::npos) << ToUtf8(line);
}

TEST(SettingsFile, ABrokenLineIsSkippedAndEveryOtherLineKept) {
  Harness h;
  // A word with a raw line break, written by an earlier version.
  std::string original =
      Cp932File({U"Kotonel\t3", U"lst単語\t\tねこ\t猫\t0", U"lst単語\t\tいぬ\t犬", U"\t0",
                 U"opt声色\t3\tTrue", U"lst単語\t\tとり\t鳥\t1", U"chkWW\t\t1"});
  ASSERT_TRUE(WriteFileAtomic(h.SettingsPath(), original));
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  EXPECT_EQ(Items(s.WORD()), (QStringList{QStringLiteral("ねこ\t猫\t0"), QStringLiteral("いぬ\t犬"),
                                          QStringLiteral("とり\t鳥\t1")}));
  EXPECT_TRUE(s.opt声色[3]->isChecked());
  EXPECT_TRUE(s.chkWW->isChecked());
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("4行目")))
      << h.prompts.messages[0].text.toStdString();
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("Kotonel.ini.bak")));
  EXPECT_EQ(Bytes(h.SettingsPath() + ".bak"), original);

  w.close();
  StringList now = ReadFile(h.SettingsPath());
  EXPECT_TRUE(HasLine(now, U"lst単語\t\tとり\t鳥\t1"));
  EXPECT_TRUE(HasLine(now, U"opt声色\t3\tTrue"));
  EXPECT_TRUE(HasLine(now, U"chkWW\t\t1"));
  EXPECT_EQ(Bytes(h.SettingsPath() + ".bak"), original);
}

TEST(SettingsFile, Utf8FilesAreReadAndBadLinesGiveOneMessage) {
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    SCOPED_TRACE(bom.empty() ? "without BOM" : "with BOM");
    Harness h;
    std::string original =
        bom + Utf8File({U"Kotonel\t3", U"lst単語\t\tねこ\t猫\t0", U"opt声色\t4\tTrue",
                        U"cmbサイズ\t\t3", U"lblW読速度\t\t150", U"lst単語\t\tいぬ\t犬\t1"},
                       "\n");
    ASSERT_TRUE(WriteFileAtomic(h.SettingsPath(), original));
    frmメイン& w = h.Start(true, false);
    frm設定& s = *w.Settings();
    EXPECT_EQ(Items(s.WORD()),
              (QStringList{QStringLiteral("ねこ\t猫\t0"), QStringLiteral("いぬ\t犬\t1")}));
    EXPECT_TRUE(s.opt声色[4]->isChecked());
    EXPECT_EQ(s.cmbサイズ->currentIndex(), 3);
    EXPECT_EQ(w.メイン()->SPEED(), 150);
    EXPECT_TRUE(h.prompts.messages.empty());
    // Written back in the program's own format.
    w.close();
    StringList now = ReadFile(h.SettingsPath());
    ASSERT_FALSE(now.Empty());
    EXPECT_EQ(now[1], U"Kotonel\t3");
    EXPECT_TRUE(HasLine(now, U"lst単語\t\tいぬ\t犬\t1"));
  }

  // Lines that cannot be applied, and words the Shift_JIS file could not hold: one message
  // names them all; every other line is applied.
  Harness h;
  std::string original =
      Utf8File({U"Kotonel\t3", U"chkINS\t\t1", U"lst単語\t\tえがお\t😀\t0", U"chkCLIP\t\t0",
                U"lst単語\t\tなみ\t波〜\t0", U"lst単語\t\tねこ\t猫\t0", U"opt声色\t2\tTrue"},
               "\r\n");
  ASSERT_TRUE(WriteFileAtomic(h.SettingsPath(), original));
  frm設定& s = *h.Start().Settings();
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("ねこ\t猫\t0")});
  EXPECT_TRUE(s.opt声色[2]->isChecked());
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  QString text = h.prompts.messages[0].text;
  for (const char* part : {"2行目", "3行目", "4行目", "5行目", "😀", "U+301C"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << "\n" << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("6行目")));
  EXPECT_EQ(Bytes(h.SettingsPath() + ".bak"), original);
}

TEST(SettingsFile, AHeaderBelowTheFirstLineKeepsTheWords) {
  Harness h;
  std::string original =
      "\r\n" + Cp932File({U"メモ", U"Kotonel\t3", U"lst単語\t\tねこ\t猫\t0", U"opt声色\t5\tTrue"});
  ASSERT_TRUE(WriteFileAtomic(h.SettingsPath(), original));
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("ねこ\t猫\t0")});
  EXPECT_TRUE(s.opt声色[5]->isChecked());
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("2行目")));
  w.close();
  StringList now = ReadFile(h.SettingsPath());
  EXPECT_EQ(now[1], U"Kotonel\t3");
  EXPECT_TRUE(HasLine(now, U"lst単語\t\tねこ\t猫\t0"));
}

TEST(SettingsFile, TheImportCopyHoldsTheOldFileByteForByte) {
  Harness h;
  // Line feeds only, and 纊 by its IBM code (FA5C), which the program would write as ED40.
  std::string original =
      "0\t1\t150\t9000\t6000\n1\t" + ToCp932(U"こう\t") + "\xFA\x5C" + "\t0\n3\t2\n";
  ASSERT_TRUE(WriteFileAtomic(h.SettingsPath(), original));
  frm設定& s = *h.Start().Settings();
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("こう\t纊\t0")});
  EXPECT_TRUE(s.opt声色[2]->isChecked());
  EXPECT_EQ(Bytes(h.SettingsPath() + ".bak"), original);
  EXPECT_TRUE(h.prompts.messages.empty());
}

TEST(SettingsWords, ChangeAndDeleteActOnTheSelectedEntryOnly) {
  Harness h;
  frm設定& s = *h.Start().Settings();
  for (const char* item : {"あ\tA\t0", "い\tI\t1", "う\tU\t0"})
    s.WORD()->addItem(QString::fromUtf8(item));
  s.WORD()->setCurrentRow(0);
  s.txt読み->setText(QStringLiteral("か"));
  s.cmd変更->click();
  EXPECT_EQ(Items(s.WORD()), (QStringList{QStringLiteral("か\tA\t0"), QStringLiteral("い\tI\t1"),
                                          QStringLiteral("う\tU\t0")}));
  EXPECT_TRUE(s.txt読み->text().isEmpty());
  EXPECT_TRUE(s.txt単語->text().isEmpty());
  EXPECT_FALSE(s.chk全半角->isChecked());
  s.WORD()->setCurrentRow(2);
  s.txt単語->setText(QStringLiteral("V"));
  s.chk全半角->setChecked(true);
  s.cmd変更->click();
  EXPECT_EQ(Items(s.WORD()), (QStringList{QStringLiteral("か\tA\t0"), QStringLiteral("い\tI\t1"),
                                          QStringLiteral("う\tV\t1")}));
  s.WORD()->setCurrentRow(1);
  s.chk全半角->setChecked(false);
  s.cmd変更->click();
  EXPECT_EQ(Items(s.WORD()), (QStringList{QStringLiteral("か\tA\t0"), QStringLiteral("い\tI\t0"),
                                          QStringLiteral("う\tV\t1")}));
  EXPECT_TRUE(h.prompts.messages.empty());

  // Deleting leaves nothing of the next entry in the fields.
  s.WORD()->setCurrentRow(1);
  s.cmd削除->click();
  EXPECT_EQ(Items(s.WORD()), (QStringList{QStringLiteral("か\tA\t0"), QStringLiteral("う\tV\t1")}));
  EXPECT_TRUE(s.txt読み->text().isEmpty());
  EXPECT_TRUE(s.txt単語->text().isEmpty());
  EXPECT_FALSE(s.chk全半角->isChecked());
  // ...and a change typed next does not land on it.
  s.txt単語->setText(QStringLiteral("X"));
  s.txt読み->setText(QStringLiteral("え"));
  s.cmd変更->click();
  EXPECT_EQ(Items(s.WORD()), (QStringList{QStringLiteral("か\tA\t0"), QStringLiteral("う\tV\t1")}));
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_EQ(h.prompts.messages[0].text, QStringLiteral("一覧を選択をして下さい。"));
}

TEST(SettingsWords, CharactersShiftJisCannotHoldAreRefusedByName) {
  Harness h;
  frm設定& s = *h.Start().Settings();
  s.txt単語->setText(QStringLiteral("笑😀"));
  s.txt読み->setText(QStringLiteral("えがお"));
  s.cmd追加->click();
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("😀")));
  EXPECT_EQ(h.prompts.messages[0].icon, QMessageBox::Warning);
  EXPECT_EQ(s.WORD()->count(), 0);
  EXPECT_EQ(s.txt単語->text(), QStringLiteral("笑😀"));  // left for the user to mend

  // The wave dash of other systems looks like the full-width tilde but is not stored as itself.
  s.txt単語->setText(QStringLiteral("波〜"));
  s.txt読み->setText(QStringLiteral("なみ"));
  s.cmd追加->click();
  ASSERT_EQ(h.prompts.messages.size(), 2u);
  EXPECT_TRUE(h.prompts.messages[1].text.contains(QStringLiteral("U+301C")));
  EXPECT_EQ(s.WORD()->count(), 0);
  s.txt単語->setText(QStringLiteral("波～"));
  s.txt読み->setText(QStringLiteral("なみ"));
  s.cmd追加->click();
  EXPECT_EQ(h.prompts.messages.size(), 2u);
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("なみ\t波～\t0")});

  s.WORD()->setCurrentRow(0);
  s.txt単語->setText(QStringLiteral("?😀"));
  s.cmd変更->click();
  EXPECT_EQ(h.prompts.messages.size(), 3u);
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("なみ\t波～\t0")});
}

TEST(SettingsFile, AFolderInItsPlaceIsReportedAndLeftAlone) {
  Harness h;
  ASSERT_EQ(::mkdir(h.SettingsPath().c_str(), 0755), 0);
  ASSERT_TRUE(WriteFileAtomic(h.SettingsPath() + "/keep.txt", "keep"));
  frmメイン& w = h.Start();
  ASSERT_FALSE(h.prompts.messages.empty());
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("Kotonel.ini")));
  EXPECT_TRUE(w.Settings()->opt声色[0]->isChecked());  // the defaults
  w.close();
  EXPECT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(IsDirectory(h.SettingsPath()));
  EXPECT_EQ(Bytes(h.SettingsPath() + "/keep.txt"), "keep");
}

TEST(SettingsFile, AFifoInItsPlaceDoesNotHoldUpTheStart) {
  Harness h;
  ASSERT_EQ(::mkfifo(h.SettingsPath().c_str(), 0600), 0);
  frmメイン& w = h.Start();
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("Kotonel.ini")));
  w.close();
  struct stat st {};
  ASSERT_EQ(::lstat(h.SettingsPath().c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
}  // namespace kotonel::test
