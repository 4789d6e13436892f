// A text with a line of millions of characters: the text box shows it in pieces so that laying
// it out never holds the window, yet reads, copies and undoes it as the one line it is; and
// while a long text goes in, the window and the command queue keep running.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include "harness.h"
#include "ui/frm_dummy.h"
#include "ui/frm_settings.h"
#include "util/encoding.h"
#include "util/files.h"

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
  w.ReplaceText(QStringLiteral("まえ"));
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
  // Put in a chunk at a time, yet one Ctrl+Z takes it all out.
  w.テキスト()->document()->undo();
  EXPECT_EQ(w.テキスト()->PlainText(), QStringLiteral("まえ"));
}

TEST(GiantLine, AFileTooBigForTheWindowIsRefusedBeforeItIsReadAndTheTextStays) {
  Harness h;
  frmメイン& w = h.Start();
  const std::string big = h.ProgramFolder() + "big.txt", small = h.ProgramFolder() + "small.txt";
  // Sparse: its size says 300 MB, nothing is written.
  int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, 300 << 20), 0);
  ::close(fd);
  WriteFileAtomic(small, ToUtf8(U"小さい\n"));
  w.ReplaceText(QStringLiteral("大事な文章"));
  EXPECT_FALSE(w.OpenFiles({big}));
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.startsWith(QStringLiteral(
      "ファイルが大きすぎるため開きません（300 MB）。\n開ける文章は合わせて 256 MB")))
      << h.prompts.messages[0].text.toStdString();
  EXPECT_TRUE(h.prompts.messages[0].text.endsWith(Q(big)));
  EXPECT_EQ(w.テキスト()->PlainText(), QStringLiteral("大事な文章"));
  // Dropped with a file that fits, that one is opened.
  h.prompts.messages.clear();
  EXPECT_FALSE(w.OpenFiles({big, small}));
  EXPECT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_EQ(w.テキスト()->PlainText(), QStringLiteral("小さい"));
}

TEST(GiantLine, ACommandSentWhileALongTextGoesInIsTakenThenObeyedOnceItIsIn) {
  QTemporaryDir folder;
  VirtualClock clock;
  const std::string dir = folder.path().toStdString() + "/";
  frmダミー commands(dir, "Kotonel", clock), sender(dir, "Kotonel", clock);
  MainSetup setup;
  setup.programFolder = dir;
  setup.writableFolder = dir;
  setup.dictionaryFolder = Harness::DictionaryFolder();
  setup.commands = &commands;
  setup.makeEngine = [&clock](MessagePump pump) {
    EngineSetup es;
    es.dictionaryFolder = Harness::DictionaryFolder();
    es.device = std::make_unique<VirtualAudioDevice>(clock);
    es.voices = std::make_unique<FakeVoiceLibrary>();
    es.clock = &clock;
    es.pump = std::move(pump);
    return std::make_unique<clsMAIN>(std::move(es));
  };
  TestPrompts prompts;
  frmメイン w(std::move(setup));
  commands.SetMain(&w);
  ASSERT_TRUE(w.Load());
  commands.timCMD->stop();  // ticks are driven here
  w.Settings()->chkFILE->setChecked(true);
  ASSERT_TRUE(sender.PreviousInstanceRunning());
  sender.quit = [](int) {};

  // The sender offers "/stop_now" whenever the window runs while the text goes in.
  sender.Load(U"/stop_now", false);
  QTimer offer;
  QObject::connect(&offer, &QTimer::timeout, [&] { sender.Tick(); });
  offer.start(0);
  size_t queuedWhileLoading = 0;
  bool clearedWhileLoading = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!w.IsLoadingText()) return;
    queuedWhileLoading = std::max(queuedWhileLoading, commands.Queue().size());
    clearedWhileLoading |= w.chk中止->isChecked();
  });
  watch.start(0);
  const QString text = Repeat(QStringLiteral("あいうえお。"), 500000);  // 3 million characters
  w.ReplaceText(text);
  offer.stop();
  watch.stop();
  EXPECT_EQ(queuedWhileLoading, 1u);  // taken in: its sender is answered
  EXPECT_FALSE(clearedWhileLoading);  // but not obeyed into a text half in
  EXPECT_EQ(w.テキスト()->PlainText(), text);
  // Once the text is whole, the command is obeyed ("/stop_now" with nothing playing clears).
  EXPECT_TRUE(commands.CMD_NOW());
  EXPECT_TRUE(commands.Queue().empty());
  EXPECT_TRUE(w.テキスト()->document()->isEmpty());
  w.close();
}

}  // namespace
}  // namespace kotonel::test
