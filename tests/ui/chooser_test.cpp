// The file chooser guarding against mistakes: where the focus starts, which name is offered,
// overwriting, fresh folders, typed full paths, the file list's focus, and files whose encoding
// cannot be told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "harness.h"
#include "ui/frm_file.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel::test {
namespace {

bool ListHas(QListWidget* list, const QString& text) {
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->text().trimmed() == text) return true;
  return false;
}

TEST(Chooser, NameBoxHasTheFocusAndTheOtherModesNameIsNotOffered) {
  TestPrompts prompts;
  QTemporaryDir dir;
  frmファイル f(nullptr);
  f.SAVE(true);
  f.FILTER(QStringLiteral("*.wav"));
  f.show();
  ASSERT_TRUE(f.SetFolder(dir.path()));
  EXPECT_EQ(f.focusWidget(), f.txtファイル);
  f.txtファイル->setText(QStringLiteral("録音"));
  f.Confirm();
  // The recording's name gets its ending, so the file asked about is the one written.
  EXPECT_EQ(f.PATH(), dir.path() + QStringLiteral("/録音.wav"));

  // Next, 開く for a text: the recording's name is not offered.
  f.SAVE(false);
  f.FILTER(QStringLiteral("*.txt"));
  f.show();
  EXPECT_EQ(f.txtファイル->text(), QString());
  EXPECT_EQ(f.focusWidget(), f.txtファイル);
  f.Cancel();
}

TEST(Chooser, RecordingOverAnExistingFileAsksFirst) {
  TestPrompts prompts;
  QTemporaryDir dir;
  WriteFileAtomic(dir.path().toStdString() + "/old.wav", "RIFF");
  frmファイル f(nullptr);
  f.SAVE(true);
  f.FILTER(QStringLiteral("*.wav"));
  f.show();
  ASSERT_TRUE(f.SetFolder(dir.path()));
  f.txtファイル->setText(QStringLiteral("old"));
  prompts.answer = false;
  f.Confirm();
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_TRUE(prompts.questions[0].text.contains(QStringLiteral("old.wav")));
  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(f.PATH().isEmpty());
  prompts.answer = true;
  f.Confirm();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.PATH(), dir.path() + QStringLiteral("/old.wav"));

  // Opening an existing file asks nothing.
  f.SAVE(false);
  f.FILTER(QStringLiteral("*.*"));
  f.show();
  f.txtファイル->setText(QStringLiteral("old.wav"));
  f.Confirm();
  EXPECT_EQ(prompts.questions.size(), 2u);
  EXPECT_EQ(f.PATH(), dir.path() + QStringLiteral("/old.wav"));
}

TEST(Chooser, FoldersMadeSinceTheLastUseAppear) {
  TestPrompts prompts;
  QTemporaryDir dir;
  frmファイル f(nullptr);
  f.show();
  ASSERT_TRUE(f.SetFolder(dir.path()));
  f.Cancel();
  QDir(dir.path()).mkdir(QStringLiteral("新しいフォルダ"));
  WriteFileAtomic(dir.path().toStdString() + "/new.txt", "x");
  f.show();
  EXPECT_TRUE(ListHas(f.dirフォルダ, QStringLiteral("新しいフォルダ")));
  EXPECT_TRUE(ListHas(f.fleファイル, QStringLiteral("new.txt")));
}

TEST(Chooser, AFullPathTypedInIsAccepted) {
  TestPrompts prompts;
  QTemporaryDir here, there;
  QDir(there.path()).mkdir(QStringLiteral("sub"));
  frmファイル f(nullptr);
  f.show();
  ASSERT_TRUE(f.SetFolder(here.path()));
  f.txtファイル->setText(there.path() + QStringLiteral("/sub"));
  f.Confirm();  // a folder: the chooser goes there
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.Folder(), there.path() + QStringLiteral("/sub"));
  f.txtファイル->setText(there.path() + QStringLiteral("/b.txt"));
  f.Confirm();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(f.PATH(), there.path() + QStringLiteral("/b.txt"));
  EXPECT_EQ(f.FILE(), QStringLiteral("b.txt"));

  // A folder that does not exist is named, and nothing is chosen.
  f.show();
  f.txtファイル->setText(QStringLiteral("/nonexistent-kotonel/x.txt"));
  f.Confirm();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].text.contains(QStringLiteral("/nonexistent-kotonel")));
  EXPECT_TRUE(f.isVisible());
  // Names with a separator inside are still refused.
  f.txtファイル->setText(QStringLiteral("sub/b.txt"));
  f.Confirm();
  EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST(Chooser, TheFileListTakingTheFocusKeepsTheTypedName) {
  TestPrompts prompts;
  QTemporaryDir dir;
  for (const char* name : {"a.txt", "b.txt"})
    WriteFileAtomic(dir.path().toStdString() + "/" + name, "x");
  frmファイル f(nullptr);
  f.FILTER(QStringLiteral("*.txt"));
  f.show();
  ASSERT_TRUE(f.SetFolder(dir.path()));
  f.txtファイル->setText(QStringLiteral("typed.txt"));
  // What the list does when it takes the focus: a current item, nothing selected.
  f.fleファイル->selectionModel()->setCurrentIndex(f.fleファイル->model()->index(0, 0),
                                                   QItemSelectionModel::NoUpdate);
  EXPECT_EQ(f.txtファイル->text(), QStringLiteral("typed.txt"));
  // Picking a file (clicking or moving with the keys) does fill in its name.
  f.fleファイル->setCurrentRow(1);
  EXPECT_EQ(f.txtファイル->text(), QStringLiteral("b.txt"));
}

TEST(Chooser, UnknownEncodingsAreNamedNotShownAsMojibake) {
  const std::string euc =
      "\xA4\xB3\xA4\xEC\xA4\xCF\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xCA\xB8\xBE\xCF";
  const std::string jis = "\x1B\x24\x42\x34\x41\x3B\x7A\x1B\x28\x42";
  const std::string sjis = "\x82\xB1\x82\xEA\x82\xCD\x93\xFA\x96\x7B\x8C\xEA\x82\xCC";
  EXPECT_FALSE(IsKnownTextEncoding(euc));
  EXPECT_FALSE(IsKnownTextEncoding(jis));
  EXPECT_TRUE(IsKnownTextEncoding(sjis));
  // Half-width katakana in Shift_JIS pair up like EUC-JP: ｶﾀｶﾅ ﾃｽﾄ, ｱｲｳｴ
  EXPECT_TRUE(IsKnownTextEncoding("\xB6\xC0\xB6\xC5 \xC3\xBD\xC4\xDE"));
  EXPECT_TRUE(IsKnownTextEncoding("\xB1\xB2\xB3\xB4"));
  EXPECT_FALSE(IsKnownTextEncoding("\xC6\xFC\xCB\xDC"));  // 日本 in EUC-JP
  EXPECT_TRUE(IsKnownTextEncoding("これは UTF-8"));
  EXPECT_TRUE(IsKnownTextEncoding("plain ASCII"));
  EXPECT_TRUE(IsKnownTextEncoding(""));
  EXPECT_TRUE(IsKnownTextEncoding("\xEF\xBB\xBF\xA4\xB3"));  // a BOM decides

  Harness h;
  frmメイン& w = h.Start();
  w.テキスト()->setPlainText(QStringLiteral("前の文章"));
  std::string path = h.WritableFolder() + "euc.txt";
  WriteFileAtomic(path, euc + "\n");
  EXPECT_FALSE(w.OpenFiles({path}));
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("文字コード")));
  EXPECT_TRUE(h.prompts.messages[0].text.contains(Q(path)));
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("前の文章"));
}

}  // namespace
}  // namespace kotonel::test
