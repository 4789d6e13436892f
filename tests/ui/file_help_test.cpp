// The file chooser's name checks and memory, and the help window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include "harness.h"
#include "ui/frm_file.h"
#include "ui/frm_help.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel::test {
namespace {

TEST(FileChooser, RefusesEmptyNamesAndExcludedCharacters) {
  TestPrompts prompts;
  QTemporaryDir dir;
  frmファイル f(nullptr);
  f.SAVE(false);
  f.show();
  ASSERT_TRUE(f.SetFolder(dir.path()));
  f.txtファイル->clear();
  f.Confirm();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("ファイル名を入力して下さい。"));
  EXPECT_EQ(prompts.messages[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(f.isVisible());
  for (const char* name :
       {"a\\b.txt", "sub/b.txt", "c:d", "x;y", "*.txt", "q?", "\"n\"", "<", ">", "a|b"}) {
    f.txtファイル->setText(QString::fromUtf8(name));
    f.Confirm();
    EXPECT_EQ(prompts.messages.back().text,
              QStringLiteral("ファイル名には次の文字は使えません。\n\\/:;*?\"<>|"))
        << name;
  }
  EXPECT_EQ(prompts.messages.size(), 11u);
  EXPECT_TRUE(f.PATH().isEmpty());

  f.txtファイル->setText(QStringLiteral("新しい.txt"));
  f.Confirm();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.PATH(), dir.path() + QStringLiteral("/新しい.txt"));
  EXPECT_EQ(f.DIR(), dir.path());
  EXPECT_EQ(f.FILE(), QStringLiteral("新しい.txt"));

  // Cancelling after a confirmed choice gives nothing.
  f.show();
  f.Cancel();
  EXPECT_TRUE(f.PATH().isEmpty());
  EXPECT_TRUE(f.FILE().isEmpty());

  // At the root the folder already ends in the separator, so two follow each other.
  f.show();
  ASSERT_TRUE(f.SetFolder(QStringLiteral("/")));
  f.txtファイル->setText(QStringLiteral("x"));
  f.Confirm();
  EXPECT_EQ(f.PATH(), QStringLiteral("//x"));
}

TEST(FileChooser, ListsMatchingFilesAndReopensWhereItWasUsed) {
  TestPrompts prompts;
  QTemporaryDir dir;
  std::string d = dir.path().toStdString() + "/";
  for (const char* name : {"a.txt", "B.TXT", "c.wav", "d.text"}) WriteFileAtomic(d + name, "x");
  QDir(dir.path()).mkdir(QStringLiteral("sub"));
  frmファイル f(nullptr);
  f.FILTER(QStringLiteral("*.txt"));
  f.show();
  ASSERT_TRUE(f.SetFolder(dir.path()));
  ASSERT_EQ(f.fleファイル->count(), 2);
  EXPECT_EQ(f.fleファイル->item(0)->text(), QStringLiteral("a.txt"));
  EXPECT_EQ(f.fleファイル->item(1)->text(), QStringLiteral("B.TXT"));
  f.FILTER(QStringLiteral("*.wav"));
  EXPECT_EQ(f.fleファイル->count(), 1);
  // The folder list shows the path down to here, then the folders inside.
  EXPECT_EQ(f.dirフォルダ->item(f.dirフォルダ->count() - 1)->text().trimmed(),
            QStringLiteral("sub"));
  EXPECT_FALSE(f.SetFolder(dir.path() + QStringLiteral("/missing")));
  EXPECT_EQ(f.Folder(), dir.path());

  // A place that cannot be opened leaves the lists where they were.
  f.drvドライブ->addItem(QStringLiteral("gone"), QStringLiteral("/nonexistent-kotonel-volume"));
  f.ChooseDrive(f.drvドライブ->count() - 1);
  EXPECT_EQ(f.Folder(), dir.path());
  EXPECT_NE(f.drvドライブ->currentText(), QStringLiteral("gone"));

  // Double-clicking a file confirms it.
  emit f.fleファイル->itemDoubleClicked(f.fleファイル->item(0));
  EXPECT_EQ(f.PATH(), dir.path() + QStringLiteral("/c.wav"));
  EXPECT_FALSE(f.isVisible());

  // Only hidden between uses: it reopens at the same folder, pattern and name.
  f.show();
  EXPECT_EQ(f.Folder(), dir.path());
  EXPECT_EQ(f.fleファイル->count(), 1);
  EXPECT_EQ(f.txtファイル->text(), QStringLiteral("c.wav"));
  f.close();  // the close box cancels
  EXPECT_TRUE(f.PATH().isEmpty());
}

TEST(HelpWindow, ShowsReadmeUnderTheCaptionAndLoadsItOnce) {
  Harness h;
  WriteFileAtomic(h.ProgramFolder() + "readme.txt", "一行目\r\n二行目\r\n");
  frmメイン& w = h.Start();
  w.M_Mokuji->trigger();
  frmヘルプ* help = w.Help();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->txtHELP->toPlainText(), QStringLiteral("\n一行目\n二行目"));
  EXPECT_EQ(help->lblタイトル->text(), QStringLiteral("Kotonel"));
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Kotonel"));
  EXPECT_NE(help->lblタイトル->font().pointSize(), 22);

  // F1 again while shown: no reload, even when the file changed.
  WriteFileAtomic(h.ProgramFolder() + "readme.txt", "changed");
  w.M_Mokuji_Click();
  EXPECT_EQ(help->txtHELP->toPlainText(), QStringLiteral("\n一行目\n二行目"));
  help->close();  // the close box hides it
  EXPECT_FALSE(help->isVisible());
  help->cmd閉じる->click();

  // Without readme.txt the box is empty; an error shown in the caption is not the heading.
  Harness h2;
  frmメイン& w2 = h2.Start();
  w2.setWindowTitle(QStringLiteral("Kotonel - 読み上げエラー「301:x」"));
  w2.M_Mokuji_Click();
  EXPECT_TRUE(w2.Help()->txtHELP->toPlainText().isEmpty());
  EXPECT_EQ(w2.Help()->lblタイトル->text(), QStringLiteral("Kotonel"));
  EXPECT_NE(w2.Help()->lblタイトル->font().pointSize(), 22);
}

}  // namespace
}  // namespace kotonel::test
