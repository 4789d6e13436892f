// The line being read is marked and scrolled into view, and the status line says which it is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "harness.h"

namespace kotonel::test {
namespace {

TEST(ReadingLine, MarkedScrolledIntoViewAndCountedThenCleared) {
  Harness h;
  frmメイン& w = h.Start();
  w.resize(640, 300);
  QApplication::processEvents();
  QString text;
  for (int i = 1; i <= 200; ++i) text += QStringLiteral("行%1\n").arg(i);
  text += QStringLiteral("最後");
  auto* box = static_cast<TextBox*>(w.テキスト());
  int markedAt = -2, selections = 0;
  QString status;
  bool lastVisible = false, topAtStart = false;
  h.At(20, [&] {
    markedAt = box->MarkedLine();
    topAtStart = box->verticalScrollBar()->value() == 0;
    selections = static_cast<int>(box->extraSelections().size());
    status = w.lbl進行->text();
    // Jump to the last line as a user would: the view follows.
    box->MarkReadingLine(200);
    lastVisible = box->verticalScrollBar()->value() > 150;
    box->MarkReadingLine(0);
  });
  // After a paste the view sits at the end; reading line 1 brings it back to the top.
  box->setPlainText(text);
  box->moveCursor(QTextCursor::End);
  box->ensureCursorVisible();
  ASSERT_GT(box->verticalScrollBar()->value(), 0);
  h.At(30, [&] { w.chk中止->setChecked(true); });
  w.chk再生->setChecked(true);  // not Read(), which would set the text again
  EXPECT_EQ(markedAt, 0);
  EXPECT_TRUE(topAtStart);
  EXPECT_EQ(selections, 1);
  EXPECT_EQ(status, QStringLiteral("1 / 201 行目を読み上げ中"));
  EXPECT_TRUE(lastVisible);
  // The reading has ended: no mark, no progress.
  EXPECT_EQ(box->MarkedLine(), -1);
  EXPECT_TRUE(box->extraSelections().isEmpty());
  EXPECT_TRUE(w.lbl進行->text().isEmpty());
}

TEST(ReadingLine, StartsAtAPlacedCursorOrReadsTheSelection) {
  using Lines = std::vector<std::u32string>;
  Harness h;
  // What was spoken after the first `from` pieces.
  auto spokenSince = [&h](size_t from) {
    Lines all = h.Spoken();
    return Lines(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
  };
  frmメイン& w = h.Start();
  auto* box = static_cast<TextBox*>(w.テキスト());
  box->setFocus();
  box->setPlainText(QStringLiteral("あ\nい\nう"));
  // Typed or pasted text, the cursor at its end: read from line 1 all the same.
  box->moveCursor(QTextCursor::End);
  box->insertPlainText(QStringLiteral("え"));
  EXPECT_FALSE(box->CursorPlaced());
  w.chk再生->setChecked(true);
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"い。", U"うえ。"}));

  // The user moves the cursor up to line 2: reading starts there.
  size_t before = h.Spoken().size();
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(box, &up);
  EXPECT_TRUE(box->CursorPlaced());
  w.chk再生->setChecked(true);
  EXPECT_EQ(spokenSince(before), (Lines{U"い。", U"うえ。"}));

  // A selection is read alone, and marked where it stands.
  before = h.Spoken().size();
  QTextCursor c(box->document());
  c.setPosition(2);  // the start of line 2
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  box->setTextCursor(c);
  int marked = -2;
  h.At(h.clock.NowMs() + 10, [&] { marked = box->MarkedLine(); });
  w.chk再生->setChecked(true);
  EXPECT_EQ(spokenSince(before), (Lines{U"い。"}));
  EXPECT_EQ(marked, 1);
}

TEST(ReadingLine, AnErrorStaysInTheStatusLineUntilTheNextReading) {
  Harness h;
  h.failOn = {"い。"};
  frmメイン& w = h.Start();
  h.Read(QStringLiteral("あ\nい"));
  EXPECT_TRUE(w.lbl進行->text().startsWith(QStringLiteral("読み上げを中断しました：")));
  EXPECT_TRUE(w.lbl進行->text().contains(QStringLiteral("301")));
  EXPECT_TRUE(w.lbl進行->text().contains(QStringLiteral("fake failure")));  // the real cause
  QString during;
  h.At(10, [&] { during = w.lbl進行->text(); });
  h.Read(QStringLiteral("う"));
  EXPECT_EQ(during, QStringLiteral("1 / 1 行目を読み上げ中"));
  EXPECT_TRUE(w.lbl進行->text().isEmpty());
}

}  // namespace
}  // namespace kotonel::test
