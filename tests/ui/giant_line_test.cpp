// A text with a line of millions of characters: the text box shows it in pieces so that laying
// it out never holds the window, yet reads, copies and undoes it as the one line it is; and
// while a long text goes in, the window and the command queue keep running.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QTimer>

#include "harness.h"

namespace kotonel::test {
namespace {

QString Repeat(const QString& unit, int times) {
  QString s;
  for (int i = 0; i < times; ++i) s += unit;
  return s;
}

int LongestBlock(const QTextDocument& doc) {
  int longest = 0;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    longest = std::max(longest, static_cast<int>(b.text().size()));
  return longest;
}

void Key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(w, &release);
}

TEST(GiantLine, ShownInPiecesButReadCopiedEditedAndUndoneAsOneLine) {
  Harness h;
  frmメイン& w = h.Start();
  TextBox* box = w.テキスト();
  // One line of 30,000 characters (with a stretch of no sentence end at all), then a short one.
  const QString giant = Repeat(QStringLiteral("あいうえお。"), 3000) +
                        Repeat(QStringLiteral("か"), 5000) + Repeat(QStringLiteral("きく、"), 1000);
  const QString text = giant + QStringLiteral("\r\nつぎ");
  w.ReplaceText(QStringLiteral("まえ"));
  w.ReplaceText(text);

  // Shown in blocks no longer than a piece, cut after a sentence end where there is one...
  EXPECT_GT(box->document()->blockCount(), 20);
  EXPECT_LE(LongestBlock(*box->document()), TextBox::kPieceLength);
  EXPECT_TRUE(box->document()->begin().text().endsWith(QStringLiteral("。")));
  // ...yet the text is the same characters, in two lines.
  const QString plain = giant + QStringLiteral("\nつぎ");
  EXPECT_EQ(box->PlainText(), plain);
  EXPECT_EQ(box->LineCount(), 2);

  // Copied whole, and a part copied across a display cut has no line end in it.
  box->selectAll();
  box->copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), plain);
  QTextCursor part(box->document());
  part.setPosition(box->document()->findBlockByNumber(1).position() - 3);
  part.setPosition(box->document()->findBlockByNumber(1).position() + 3, QTextCursor::KeepAnchor);
  box->setTextCursor(part);
  box->copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text().size(), 5);
  EXPECT_FALSE(QGuiApplication::clipboard()->text().contains(u'\n'));

  // Read as one line: it is line 1 of 2, marked over all its pieces.
  QString status;
  int marked = 0;
  h.At(20, [&] {
    status = w.lbl進行->text();
    QTextCursor mark = box->extraSelections().value(0).cursor;
    marked = mark.selectionEnd() - mark.selectionStart();
    w.chk中止->setChecked(true);
  });
  box->moveCursor(QTextCursor::Start);
  w.chk再生->setChecked(true);
  EXPECT_EQ(status, QStringLiteral("1 / 2 行目を読み上げ中"));
  EXPECT_EQ(marked, box->document()->lastBlock().position() - 1);

  // Enter typed inside a piece is a real line end; Backspace at a display cut joins nothing
  // that was not joined.
  QTextCursor inside(box->document()->findBlockByNumber(3));
  inside.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
  int at = inside.position() - 3;  // three display cuts before it
  box->setTextCursor(inside);
  Key(box, Qt::Key_Return);
  EXPECT_EQ(box->LineCount(), 3);
  EXPECT_EQ(box->PlainText(), QString(plain).insert(at, u'\n'));
  box->document()->undo();
  EXPECT_EQ(box->PlainText(), plain);
  box->setTextCursor(QTextCursor(box->document()->findBlockByNumber(5)));
  Key(box, Qt::Key_Backspace);
  EXPECT_EQ(box->PlainText(), plain);
  box->document()->undo();

  // Pasted into the middle of a piece: the pasted line ends are real, the piece's cut stays.
  QGuiApplication::clipboard()->setText(QStringLiteral("X\nY"));
  QTextCursor paste(box->document()->findBlockByNumber(2));
  paste.movePosition(QTextCursor::Right);
  int pasteAt = paste.position() - 2;
  box->setTextCursor(paste);
  box->paste();
  EXPECT_EQ(box->LineCount(), 3);
  EXPECT_EQ(box->PlainText(), QString(plain).insert(pasteAt, QStringLiteral("X\nY")));
  box->document()->undo();

  // One Ctrl+Z brings the text before back.
  box->document()->undo();
  EXPECT_EQ(box->PlainText(), QStringLiteral("まえ"));
  EXPECT_EQ(box->document()->blockCount(), 1);
}

TEST(GiantLine, TheWindowAndTheQueueRunWhileALongTextGoesIn) {
  Harness h;
  frmメイン& w = h.Start();
  const QString text = Repeat(QStringLiteral("あいうえお。"), 200000);  // 1.2 million characters
  bool ranWhileLoading = false;
  int partly = -1;
  QString status;
  QTimer::singleShot(0, &w, [&] {
    ranWhileLoading = w.IsLoadingText();
    partly = w.テキスト()->document()->characterCount();
    status = w.lbl進行->text();
  });
  int waitsBefore = h.commands.waits;
  w.ReplaceText(text);
  EXPECT_TRUE(ranWhileLoading);
  EXPECT_GT(partly, 1);
  EXPECT_LT(partly, text.size());
  EXPECT_TRUE(status.startsWith(QStringLiteral("文章を読み込んでいます"))) << status.toStdString();
  EXPECT_GT(h.commands.waits, waitsBefore);  // the mail was taken in meanwhile
  // Whole once done, with the progress gone from the status line.
  EXPECT_FALSE(w.IsLoadingText());
  EXPECT_EQ(w.テキスト()->PlainText(), text);
  EXPECT_TRUE(w.lbl進行->text().isEmpty());
}

}  // namespace
}  // namespace kotonel::test
