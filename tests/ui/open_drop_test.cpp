// Opening and dropping files: a file that cannot be read is named in a message and the text
// stays; replacing the text can be undone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <cerrno>
#include <cstring>

#include "harness.h"
#include "ui/frm_file.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel::test {
namespace {

void Drop(QPlainTextEdit* box, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box->viewport(), &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box->viewport(), &drop);
}

// Chooses name in the folder through 開く, as a user types it.
void OpenThroughChooser(Harness& h, const QString& folder, const QString& name) {
  h.prompts.onModal = [&, folder, name](QDialog& d) {
    auto& f = static_cast<frmファイル&>(d);
    f.SetFolder(folder);
    f.txtファイル->setText(name);
    f.Confirm();
    if (f.isVisible()) f.Cancel();
  };
  h.window->M_Open->trigger();
  h.prompts.onModal = nullptr;
}

TEST(OpenAndDrop, UnreadableFilesAreNamedAndTheTextStays) {
  Harness h;
  frmメイン& w = h.Start();
  const QString folder = h.program.path();
  const std::string dir = h.ProgramFolder();
  ASSERT_EQ(::mkdir((dir + "sub.txt").c_str(), 0700), 0);  // a folder that looks like a file
  const QString old = QStringLiteral("大事な文章");
  w.ReplaceText(old);

  // A mistyped name in 開く: the file is missing, the text is kept.
  OpenThroughChooser(h, folder, QStringLiteral("typo.txt"));
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_EQ(h.prompts.messages.back().icon, QMessageBox::Warning);
  EXPECT_EQ(h.prompts.messages.back().text,
            QStringLiteral("ファイルが見つかりません。\n") + Q(dir + "typo.txt"));
  EXPECT_EQ(w.テキスト()->toPlainText(), old);

  // A folder, opened, dropped or given as a path: no exception, a message, the text kept.
  const QString isDir = QString::fromLocal8Bit(std::strerror(EISDIR));
  for (const std::string& path : {dir + "sub.txt", dir + "sub.txt/..", dir}) {
    SCOPED_TRACE(path);
    h.prompts.messages.clear();
    EXPECT_NO_THROW(EXPECT_FALSE(w.OpenFiles({path})));
    ASSERT_EQ(h.prompts.messages.size(), 1u);
    EXPECT_EQ(h.prompts.messages.back().text, QStringLiteral("ファイルを読み込めませんでした。\n") +
                                                  Q(path) + QLatin1Char('\n') + isDir);
    EXPECT_EQ(w.テキスト()->toPlainText(), old);
  }
  h.prompts.messages.clear();
  Drop(w.テキスト(), {Q(dir + "sub.txt")});
  EXPECT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_EQ(w.テキスト()->toPlainText(), old);

  // Dropped with a readable file, the folder adds no lines and is still reported.
  WriteFileAtomic(dir + "a.txt", ToUtf8(U"読める\n"));
  h.prompts.messages.clear();
  Drop(w.テキスト(), {Q(dir + "sub.txt"), Q(dir + "a.txt")});
  EXPECT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("読める"));
}

TEST(OpenAndDrop, TypingAFolderNameInTheChooserOpensThatFolder) {
  Harness h;
  frmメイン& w = h.Start();
  const std::string dir = h.ProgramFolder();
  ASSERT_EQ(::mkdir((dir + "inner").c_str(), 0700), 0);
  WriteFileAtomic(dir + "top.txt", "top");
  WriteFileAtomic(dir + "inner/deep.txt", "deep");
  w.ReplaceText(QStringLiteral("old"));

  QString chosenFolderAfterDots, pathAfterDots;
  h.prompts.onModal = [&](QDialog& d) {
    auto& f = static_cast<frmファイル&>(d);
    f.SetFolder(Q(dir + "inner"));
    f.txtファイル->setText(QStringLiteral(".."));
    f.Confirm();  // moves up instead of answering with a folder
    EXPECT_TRUE(f.isVisible());
    chosenFolderAfterDots = f.Folder();
    pathAfterDots = f.PATH();
    EXPECT_EQ(f.txtファイル->text(), QString());
    f.txtファイル->setText(QStringLiteral("inner"));
    f.Confirm();
    EXPECT_EQ(f.Folder(), Q(dir + "inner"));
    f.txtファイル->setText(QStringLiteral("deep.txt"));
    f.Confirm();
  };
  w.M_Open->trigger();
  EXPECT_EQ(chosenFolderAfterDots, h.program.path());
  EXPECT_TRUE(pathAfterDots.isEmpty() || !pathAfterDots.endsWith(QStringLiteral("..")));
  EXPECT_TRUE(h.prompts.messages.empty());
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("deep"));
}

// Replacing the text by opening, dropping or a command line is one edit: Ctrl+Z brings the
// previous text back.
TEST(OpenAndDrop, ReplacingTheTextCanBeUndone) {
  Harness h;
  frmメイン& w = h.Start();
  const std::string dir = h.ProgramFolder();
  WriteFileAtomic(dir + "a.txt", "file a\n");
  WriteFileAtomic(dir + "b.txt", "file b\n");
  QPlainTextEdit* box = w.テキスト();
  box->setFocus();
  box->insertPlainText(QStringLiteral("typed by hand"));

  ASSERT_TRUE(w.OpenFiles({dir + "a.txt"}));
  EXPECT_EQ(box->toPlainText(), QStringLiteral("file a"));
  Drop(box, {Q(dir + "b.txt")});
  EXPECT_EQ(box->toPlainText(), QStringLiteral("file b"));
  w.ReplaceText(QStringLiteral("from the command line"));

  QKeyEvent undo(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
  QApplication::sendEvent(box, &undo);
  EXPECT_EQ(box->toPlainText(), QStringLiteral("file b"));
  box->undo();
  EXPECT_EQ(box->toPlainText(), QStringLiteral("file a"));
  box->undo();
  EXPECT_EQ(box->toPlainText(), QStringLiteral("typed by hand"));
  box->redo();
  EXPECT_EQ(box->toPlainText(), QStringLiteral("file a"));
}

}  // namespace
}  // namespace kotonel::test
