// The settings dialog's word list editor and the settings file: written, read back, migrated
// from older versions and imported from the older format.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>

#include "harness.h"
#include "settings/clsSETTING.h"
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

StringList ReadFile(const std::string& path) {
  StringList lines;
  ReadLines(path, lines);
  return lines;
}

bool HasLine(const StringList& lines, const std::u32string& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

TEST(SettingsDialog, ValidatesWordsBeforeChangingTheList) {
  Harness h;
  frm設定& s = *h.Start().Settings();
  auto lastMessage = [&] {
    return h.prompts.messages.empty() ? QString() : h.prompts.messages.back().text;
  };
  s.cmd追加->click();
  EXPECT_EQ(lastMessage(), QStringLiteral("単語を入力して下さい。"));
  s.txt単語->setText(QStringLiteral("猫"));
  s.cmd追加->click();
  EXPECT_EQ(lastMessage(), QStringLiteral("よみがなを入力して下さい。"));
  s.txt読み->setText(QStringLiteral("ネコ"));
  s.cmd追加->click();
  EXPECT_EQ(lastMessage(), QStringLiteral("よみがなには平仮名または句読点を入力して下さい。"));
  EXPECT_EQ(h.prompts.messages.back().icon, QMessageBox::Warning);
  EXPECT_EQ(h.prompts.messages.back().title, QStringLiteral("Kotonel"));
  s.txt読み->setText(QStringLiteral("ゔ"));
  s.cmd追加->click();
  EXPECT_EQ(h.prompts.messages.size(), 4u);
  EXPECT_EQ(s.WORD()->count(), 0);
  EXPECT_TRUE(s.isVisible());  // shown again after the message

  // The seven extra characters are readings too.
  s.txt読み->setText(QStringLiteral("ねこぁー、。？！,"));
  s.chk全半角->setChecked(true);
  s.cmd追加->click();
  EXPECT_EQ(h.prompts.messages.size(), 4u);
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("ねこぁー、。？！,\t猫\t1")});
  EXPECT_TRUE(s.txt読み->text().isEmpty());
  EXPECT_FALSE(s.chk全半角->isChecked());

  // Change and delete need a selection; deleting with empty fields is fine.
  s.WORD()->setCurrentRow(-1);
  s.cmd変更->click();
  EXPECT_EQ(lastMessage(), QStringLiteral("一覧を選択をして下さい。"));
  s.cmd削除->click();
  EXPECT_EQ(h.prompts.messages.size(), 6u);
  s.WORD()->setCurrentRow(0);
  EXPECT_EQ(s.txt単語->text(), QStringLiteral("猫"));  // selecting fills the fields
  EXPECT_TRUE(s.chk全半角->isChecked());
  s.txt読み->setText(QStringLiteral("にゃんこ"));
  s.cmd変更->click();
  EXPECT_EQ(Items(s.WORD()), QStringList{QStringLiteral("にゃんこ\t猫\t1")});
  s.WORD()->setCurrentRow(0);
  s.txt単語->clear();
  s.txt読み->clear();
  s.cmd削除->click();
  EXPECT_EQ(s.WORD()->count(), 0);
  EXPECT_EQ(h.prompts.messages.size(), 6u);
}

TEST(SettingsDialog, MovesItemsUpAndDownButNotPastTheEnds) {
  Harness h;
  frm設定& s = *h.Start().Settings();
  for (const char* item : {"あ\tA\t0", "い\tI\t0", "う\tU\t0"})
    s.WORD()->addItem(QString::fromUtf8(item));
  auto words = [&] {
    QString w;
    for (const QString& item : Items(s.WORD())) w += item.section(QLatin1Char('\t'), 1, 1);
    return w;
  };
  s.WORD()->setCurrentRow(0);
  s.chkMOV[0]->setChecked(true);
  EXPECT_EQ(words(), QStringLiteral("AIU"));
  EXPECT_FALSE(s.chkMOV[0]->isChecked());
  s.chkMOV[1]->setChecked(true);
  EXPECT_EQ(words(), QStringLiteral("IAU"));
  EXPECT_EQ(s.WORD()->currentRow(), 1);
  EXPECT_EQ(s.txt単語->text(), QStringLiteral("A"));
  s.chkMOV[1]->setChecked(true);
  EXPECT_EQ(words(), QStringLiteral("IUA"));
  s.chkMOV[1]->setChecked(true);  // already last
  EXPECT_EQ(words(), QStringLiteral("IUA"));
  s.chkMOV[0]->setChecked(true);
  s.chkMOV[0]->setChecked(true);
  EXPECT_EQ(words(), QStringLiteral("AIU"));
  EXPECT_EQ(s.WORD()->currentRow(), 0);
  s.WORD()->setCurrentRow(-1);
  s.chkMOV[0]->setChecked(true);
  s.chkMOV[1]->setChecked(true);
  EXPECT_EQ(words(), QStringLiteral("AIU"));
}

TEST(SettingsDialog, ReadingBoxSwallowsAnythingButReadingCharacters) {
  Harness h;
  frm設定& s = *h.Start().Settings();
  for (const char* typed : {"a", "ア", "ね", "ー", "1", "？"}) {
    QString t = QString::fromUtf8(typed);
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, t);
    QApplication::sendEvent(s.txt読み, &key);
  }
  EXPECT_EQ(s.txt読み->text(), QStringLiteral("ねー？"));
  QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
  QApplication::sendEvent(s.txt読み, &backspace);
  EXPECT_EQ(s.txt読み->text(), QStringLiteral("ねー"));
}

TEST(SettingsDialog, TabsShowTheirFrameAndOptionsReachTheMainWindow) {
  Harness h;
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  w.M_Set->trigger();
  EXPECT_TRUE(s.isVisible());
  s.tab設定->setCurrentIndex(2);
  EXPECT_TRUE(s.fra設定[2]->isVisible());
  EXPECT_FALSE(s.fra設定[0]->isVisible());
  s.opt声色[5]->setChecked(true);
  EXPECT_EQ(s.fra設定[2]->property("Tag").toString(), QStringLiteral("5"));
  s.txt単語->setText(QStringLiteral("x"));
  s.tab設定->setCurrentIndex(0);
  EXPECT_TRUE(s.txt単語->text().isEmpty());

  s.cmbサイズ->setCurrentIndex(6);
  EXPECT_EQ(w.txt内容[1]->font().pointSize(), 20);
  s.cmb書式->setCurrentIndex(3);
  EXPECT_EQ(w.txt内容[0]->font().family(), QStringLiteral("ＭＳ 明朝"));

  // The voice goes to the engine with the next line.
  h.Read(QStringLiteral("あ"));
  ASSERT_FALSE(h.voices->calls.empty());
  EXPECT_EQ(h.voices->calls.back().voice, 5);

  // The close box only hides the dialog; nothing is written until the program ends.
  s.close();
  EXPECT_FALSE(s.isVisible());
  EXPECT_FALSE(FileExists(h.SettingsPath()));
}

TEST(SettingsDialog, FontListFileAddsNamesAfterTheBuiltInOnes) {
  Harness h;
  WriteFileAtomic(h.ProgramFolder() + "font.ini",
                  "Noto Sans CJK JP\n\nＭＳ 明朝\nＭＳ\nIPAGothic\n");
  frm設定& s = *h.Start().Settings();
  QStringList names;
  for (int i = 0; i < s.cmb書式->count(); ++i) names << s.cmb書式->itemText(i);
  EXPECT_EQ(names, (QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ Ｐ明朝"),
                                QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ 明朝"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"),
                                // then the faces of this desktop not yet listed
                                QStringLiteral("Noto Serif CJK JP"), MonospaceFamily()}));
}

TEST(SettingsFile, IsWrittenAtTheEndAndReadBackAtTheNextStart) {
  {
    Harness h;
    frmメイン& w = h.Start();
    frm設定& s = *w.Settings();
    s.WORD()->addItem(QStringLiteral("ねこ\t猫\t0"));
    s.WORD()->addItem(QStringLiteral("いぬ\t犬\t1"));
    s.opt声色[3]->setChecked(true);
    s.chkWW->setChecked(true);
    s.chkFLAP->setChecked(true);
    s.cmbサイズ->setCurrentIndex(4);
    s.txt読み->setText(QStringLiteral("わすれる"));
    w.sld速度->setValue(180);
    w.sld音量->setValue(33);
    w.resize(700, 400);
    w.close();

    StringList lines = ReadFile(h.SettingsPath());
    ASSERT_GT(lines.Count(), 10);
    EXPECT_EQ(lines[1], U"Kotonel\t3");
    EXPECT_TRUE(HasLine(lines, U"lst単語\t\tねこ\t猫\t0"));
    EXPECT_TRUE(HasLine(lines, U"opt声色\t3\tTrue"));
    EXPECT_TRUE(HasLine(lines, U"lblW読速度\t\t180"));
    EXPECT_TRUE(HasLine(lines, U"lblW読音量\t\t33"));
    EXPECT_TRUE(HasLine(lines, U"lblW画面X\t\t10500"));
    EXPECT_TRUE(HasLine(lines, U"txt読み\t\tわすれる"));
    for (const auto& l : lines) {
      EXPECT_FALSE(StartsWith(l, U"txt単語"));
      EXPECT_FALSE(StartsWith(l, U"Label7"));
    }

    // Read back by a new start in the same folders.
    Harness again;
    again.writableOverride = h.WritableFolder();
    frmメイン& w2 = again.Start(true, false);
    frm設定& s2 = *w2.Settings();
    EXPECT_EQ(Items(s2.WORD()),
              (QStringList{QStringLiteral("ねこ\t猫\t0"), QStringLiteral("いぬ\t犬\t1")}));
    EXPECT_TRUE(s2.opt声色[3]->isChecked());
    EXPECT_EQ(s2.fra設定[2]->property("Tag").toString(), QStringLiteral("3"));
    EXPECT_TRUE(s2.chkWW->isChecked());
    EXPECT_EQ(w2.ActiveIndex(), 1);  // wrapping, taken at start
    EXPECT_EQ(w2.txt内容[1]->font().pointSize(), 16);
    // Saved, but showing the first tab at load clears the word fields again.
    EXPECT_TRUE(s2.txt読み->text().isEmpty());
    EXPECT_EQ(w2.メイン()->SPEED(), 180);
    EXPECT_EQ(w2.sld音量->value(), 33);
    EXPECT_EQ(w2.width(), 700);
    EXPECT_TRUE(again.prompts.messages.empty());
  }
}

TEST(SettingsFile, HiddenMainWindowSavesNothingAndAFailedWriteIsReported) {
  Harness h;
  frmメイン& w = h.Start(false);
  w.close();
  EXPECT_FALSE(FileExists(h.SettingsPath()));

  Harness bad;
  bad.writableOverride = "/nonexistent-kotonel-folder/";
  frmメイン& w2 = bad.Start();
  w2.close();
  ASSERT_EQ(bad.prompts.messages.size(), 1u);
  EXPECT_TRUE(
      bad.prompts.messages[0].text.startsWith(QStringLiteral("設定を保存できませんでした。")));
}

TEST(SettingsFile, EarlierVersionsLoseTheirRetiredControls) {
  Harness h;
  StringList v1 = {U"Kotonel\t1",  U"chkCLIP\t\t1", U"chkWW\t\t1",  U"chkHOTKEY\t\t0",
                   U"chkINS\t\t1", U"chkCLIP\t\t0", U"chkINS\t\t0", U"opt声色\t2\tTrue"};
  ASSERT_TRUE(WriteLines(h.SettingsPath(), v1));
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  // Only the last chkINS goes; the first one is reported as an unknown control.
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("730")));
  EXPECT_TRUE(s.chkWW->isChecked());
  EXPECT_TRUE(s.opt声色[2]->isChecked());

  StringList lines = {U"Kotonel\t2", U"chkINS\t\t1", U"chkCLIP\t\t1"};
  s.MigrateSettings(lines);
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines[2], U"chkCLIP\t\t1");
  lines = {U"Kotonel\t3", U"chkINS\t\t1"};
  s.MigrateSettings(lines);
  EXPECT_EQ(lines.Count(), 2);
}

TEST(SettingsFile, TheOlderFormatIsImportedAndKeptAsBak) {
  Harness h;
  StringList old = {U"0\t1\t150\t9000\t6000",
                    U"1\tねこ\t猫\t0",
                    U"1\tいぬ\t犬\t1",
                    U"2\t2\t3\t1",
                    U"3\t6",
                    U"4\t1"};
  ASSERT_TRUE(WriteLines(h.SettingsPath(), old));
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  EXPECT_TRUE(s.chkWW->isChecked());
  EXPECT_EQ(w.メイン()->SPEED(), 150);
  EXPECT_EQ(w.width(), 600);
  EXPECT_EQ(s.cmb書式->currentIndex(), 2);
  EXPECT_EQ(s.cmbサイズ->currentIndex(), 3);
  EXPECT_TRUE(s.chkTOP->isChecked());
  EXPECT_TRUE(s.opt声色[6]->isChecked());
  EXPECT_TRUE(s.chkFILE->isChecked());
  EXPECT_EQ(Items(s.WORD()),
            (QStringList{QStringLiteral("ねこ\t猫\t0"), QStringLiteral("いぬ\t犬\t1")}));
  StringList bak = ReadFile(h.SettingsPath() + ".bak");
  EXPECT_EQ(bak.Items(), old.Items());

  w.close();
  StringList now = ReadFile(h.SettingsPath());
  EXPECT_EQ(now[1], U"Kotonel\t3");
  EXPECT_TRUE(HasLine(now, U"lst単語\t\tいぬ\t犬\t1"));
  EXPECT_TRUE(HasLine(now, U"lblW読速度\t\t150"));

  // Another program's file with a line lacking a tab: imported up to that line, nothing set.
  Harness other;
  ASSERT_TRUE(WriteLines(other.SettingsPath(), StringList{U"Other", U"3\t4"}));
  frm設定& s2 = *other.Start().Settings();
  EXPECT_TRUE(s2.opt声色[0]->isChecked());
  EXPECT_TRUE(FileExists(other.SettingsPath() + ".bak"));
}

TEST(SettingsFile, OutOfRangeValuesAreClampedOrIgnored) {
  Harness h;
  StringList lines = {U"Kotonel\t3",       U"cmbサイズ\t\t99", U"cmb書式\t\t-5",
                      U"opt声色\t9\tTrue", U"chkWW\t\tmaybe",  U"lblW読速度\t\t900",
                      U"lblW読音量\t\t-4", U"opt変換\t1\tTrue"};
  ASSERT_TRUE(WriteLines(h.SettingsPath(), lines));
  frmメイン& w = h.Start(true, false);
  frm設定& s = *w.Settings();
  EXPECT_EQ(s.cmbサイズ->currentIndex(), 1);
  EXPECT_EQ(s.cmb書式->currentIndex(), 0);
  EXPECT_TRUE(s.opt声色[0]->isChecked());
  EXPECT_TRUE(s.opt変換[1]->isChecked());
  EXPECT_EQ(w.メイン()->SPEED(), 300);
  EXPECT_EQ(w.メイン()->VOLUME(), 0);
  EXPECT_EQ(w.sld速度->value(), 300);
  // Values out of range go quietly; a missing element and an unreadable value are reported,
  // in one message.
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("4行目（エラー番号 340")));
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("5行目（エラー番号 13")));
}

// The generic part on a window of its own.
TEST(Setting, SavesAndRestoresControlsByTypeName) {
  QWidget form;
  auto* list = new QListWidget(&form);
  list->setObjectName(QStringLiteral("lstA"));
  list->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
  auto* combo = new QComboBox(&form);
  combo->setObjectName(QStringLiteral("cmbA"));
  combo->addItems({QStringLiteral("x"), QStringLiteral("y")});
  combo->setCurrentIndex(-1);
  auto* keep = new QLabel(QStringLiteral("7"), &form);
  keep->setObjectName(QStringLiteral("lblWKeep"));
  auto* skip = new QLabel(QStringLiteral("8"), &form);
  skip->setObjectName(QStringLiteral("Label1"));
  QSlider* sliders[2];
  for (int i = 0; i < 2; ++i) {
    sliders[i] = new QSlider(i == 0 ? Qt::Horizontal : Qt::Vertical, &form);
    sliders[i]->setObjectName(QStringLiteral("sldA"));
    sliders[i]->setProperty("index", i);
    sliders[i]->setRange(0, 10);
    sliders[i]->setValue(i + 4);
  }
  auto* text = new QPlainTextEdit(QStringLiteral("a\tb"), &form);
  text->setObjectName(QStringLiteral("txtA"));
  auto* button = new QPushButton(&form);
  button->setObjectName(QStringLiteral("cmdA"));

  EXPECT_EQ(clsSETTING::TypeName(sliders[1]), "vscrollbar");
  EXPECT_EQ(clsSETTING::TypeName(button), "commandbutton");
  button->setCheckable(true);
  EXPECT_EQ(clsSETTING::TypeName(button), "checkbox");
  button->setCheckable(false);

  QTemporaryDir dir;
  std::string path = dir.path().toStdString() + "/t.ini";
  clsSETTING setting;
  StringList lines = {U"T\t3"};
  ASSERT_TRUE(setting.設定書込(&form, path, lines));
  StringList written = ReadFile(path);
  EXPECT_EQ(written.Items(), (std::vector<std::u32string>{
                                 U"T\t3", U"lstA\t\t1", U"lstA\t\t2", U"lstA\t\t3", U"cmbA\t\t-1",
                                 U"lblWKeep\t\t7", U"sldA\t0\t4", U"sldA\t1\t5", U"txtA\t\ta\tb"}));

  std::vector<std::pair<int32_t, int>> errors;
  int reports = 0;
  setting.onError = [&](const SettingErrors& all) {
    ++reports;
    EXPECT_EQ(all.count, all.listed.size());
    for (const SettingError& e : all.listed) errors.emplace_back(e.lineNumber, e.number);
  };
  combo->setCurrentIndex(1);
  StringList in = {U"lstA\t\t4", U"cmbA\t\t-1",   U"sldA\t1\t99", U"lblWKeep\t\tz",
                   U"nope\t\t1", U"txtA\t\tq\tr", U"sldA\t0",     U"lblWKeep\t\tafter"};
  setting.設定読込(&form, in);
  EXPECT_EQ(list->count(), 4);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(sliders[1]->value(), 10);
  EXPECT_EQ(text->toPlainText(), QStringLiteral("q\tr"));
  // A line that cannot be applied is skipped, the lines after it still are, and all of them
  // are reported at once, by their line in the file (the header is line 1).
  EXPECT_EQ(keep->text(), QStringLiteral("after"));
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(errors, (std::vector<std::pair<int32_t, int>>{{6, kSettingNoSuchControl},
                                                          {8, kSettingBadLine}}));
  errors.clear();
  setting.設定読込(&form, StringList{U"", U"lblWKeep", U"lblWKeep\t\tlast"}, {10, 12, 14});
  EXPECT_EQ(errors, (std::vector<std::pair<int32_t, int>>{{12, kSettingBadLine}}));
  EXPECT_EQ(keep->text(), QStringLiteral("last"));

  // Many bad lines: the message lists the first ten and counts the others.
  SettingErrors many;
  setting.onError = [&](const SettingErrors& all) { many = all; };
  StringList junk;
  for (int i = 0; i < 25; ++i) junk.Add(U"nope\t\t" + std::u32string(100, U'あ'));
  setting.設定読込(&form, junk);
  EXPECT_EQ(many.count, 25u);
  ASSERT_EQ(many.listed.size(), SettingErrors::kListed);
  EXPECT_EQ(many.listed[0].lineNumber, 2);
  QString message = SettingErrorText(many);
  EXPECT_TRUE(message.contains(QStringLiteral("11行目")));
  EXPECT_FALSE(message.contains(QStringLiteral("12行目")));
  EXPECT_TRUE(message.contains(QStringLiteral("ほか 15 行")));

  // A value with line breaks is written on its one line.
  text->setPlainText(QStringLiteral("a\nb\r\nc"));
  lines = {U"T\t3"};
  ASSERT_TRUE(setting.設定書込(&form, path, lines));
  EXPECT_TRUE(HasLine(ReadFile(path), U"txtA\t\tabc"));

  EXPECT_FALSE(setting.設定書込(&form, "/nonexistent-kotonel-folder/t.ini", lines));
}

}  // namespace
}  // namespace kotonel::test
