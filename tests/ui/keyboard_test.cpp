// The window driven from the keyboard alone: the reading menu's shortcuts, Tab leaving the text,
// the help window closing on Esc, and names for screen readers.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSlider>
#include <QtTest/QTest>

#include "harness.h"
#include "ui/frm_help.h"

namespace kotonel::test {
namespace {

using Lines = std::vector<std::u32string>;

// Shortcuts reach the active window only, as on a desktop.
void Activate(QWidget* w) {
  w->activateWindow();
  QApplication::setActiveWindow(w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

TEST(Keyboard, ReadingMenuHoldsEveryActionWithItsShortcut) {
  Harness h;
  frmメイン& w = h.Start();
  ASSERT_NE(w.M_Read, nullptr);
  EXPECT_TRUE(w.menuBar()->actions().contains(w.M_Read->menuAction()));
  const std::pair<QAction*, QKeySequence> keys[] = {
      {w.M_Play, QKeySequence(Qt::Key_F5)},
      {w.M_Play, QKeySequence(Qt::CTRL | Qt::Key_Return)},
      {w.M_Pause, QKeySequence(Qt::Key_F6)},
      {w.M_Stop, QKeySequence(Qt::Key_Escape)},
      {w.M_Next, QKeySequence(Qt::Key_F8)},
      {w.M_Prev, QKeySequence(Qt::Key_F7)},
      {w.M_Record, QKeySequence(Qt::CTRL | Qt::Key_R)},
      {w.M_Open, QKeySequence(Qt::CTRL | Qt::Key_O)},
      {w.M_Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
  };
  for (const auto& [action, key] : keys) {
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->shortcuts().contains(key)) << key.toString().toStdString();
  }
  for (QAction* a : {w.M_Play, w.M_Pause, w.M_Stop, w.M_Next, w.M_Prev, w.M_Record})
    EXPECT_TRUE(w.M_Read->actions().contains(a));
}

TEST(Keyboard, F5PlaysEscStopsAndF8SkipsFromTheTextBox) {
  Harness h;
  frmメイン& w = h.Start();
  Activate(&w);
  QPlainTextEdit* box = w.テキスト();
  box->setFocus();
  box->setPlainText(QStringLiteral("あ\nい\nう"));
  h.At(20, [&] { QTest::keyClick(box, Qt::Key_Escape); });
  QTest::keyClick(box, Qt::Key_F5);
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。"}));
  EXPECT_FALSE(w.chk再生->isChecked());
  // Esc with nothing playing stops nothing and leaves the text alone.
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_EQ(box->toPlainText(), QStringLiteral("あ\nい\nう"));
}

TEST(Keyboard, CtrlEnterPlaysAndF8SkipsTheLineBeingRead) {
  Harness h;
  frmメイン& w = h.Start();
  Activate(&w);
  QPlainTextEdit* box = w.テキスト();
  box->setFocus();
  box->setPlainText(QStringLiteral("あ\nい"));
  h.At(20, [&] { QTest::keyClick(box, Qt::Key_F8); });
  QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"い。"}));
  EXPECT_LT(h.device->PlayedMs(), 200u);  // the first line was cut short
  EXPECT_FALSE(w.chk再生->isChecked());
  EXPECT_EQ(box->toPlainText(), QStringLiteral("あ\nい"));  // Ctrl+Enter typed nothing
}

TEST(Keyboard, F6PausesAndResumes) {
  Harness h;
  frmメイン& w = h.Start();
  Activate(&w);
  QPlainTextEdit* box = w.テキスト();
  box->setPlainText(QStringLiteral("あ\nい"));
  bool paused = false;
  h.At(20, [&] {
    QTest::keyClick(box, Qt::Key_F6);
    paused = w.chk停止->isChecked() && w.メイン()->IsPaused();
    QTest::keyClick(box, Qt::Key_F6);
  });
  QTest::keyClick(box, Qt::Key_F5);
  EXPECT_TRUE(paused);
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"い。"}));
}

TEST(Keyboard, TabLeavesTheTextAndCtrlTabTypesATab) {
  Harness h;
  frmメイン& w = h.Start();
  Activate(&w);
  QPlainTextEdit* box = w.テキスト();
  box->setFocus();
  box->setPlainText(QStringLiteral("ab"));
  box->moveCursor(QTextCursor::End);
  QTest::keyClick(box, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(box->toPlainText(), QStringLiteral("ab\t"));
  EXPECT_TRUE(box->tabChangesFocus());
  QTest::keyClick(box, Qt::Key_Tab);
  EXPECT_EQ(box->toPlainText(), QStringLiteral("ab\t"));
}

TEST(Keyboard, HelpClosesOnEsc) {
  Harness h;
  frmメイン& w = h.Start();
  w.M_Mokuji_Click();
  ASSERT_NE(w.Help(), nullptr);
  ASSERT_TRUE(w.Help()->isVisible());
  Activate(w.Help());
  QTest::keyClick(w.Help()->txtHELP, Qt::Key_Escape);
  EXPECT_FALSE(w.Help()->isVisible());
}

TEST(Keyboard, EveryControlHasAnAccessibleName) {
  Harness h;
  frmメイン& w = h.Start();
  for (QWidget* c : std::initializer_list<QWidget*>{
           w.txt内容[0], w.txt内容[1], w.chk再生, w.chk停止, w.chk中止, w.chk次行, w.chk前行,
           w.chk録音, w.sld音量, w.sld速度, w.img音量, w.img速度})
    EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
  w.M_Mokuji_Click();
  for (QWidget* c : std::initializer_list<QWidget*>{w.Help()->txtHELP, w.Help()->cmd閉じる})
    EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
}

}  // namespace
}  // namespace kotonel::test
