// The main window's reading loop and toggle buttons, driven through the states of a reading on
// a virtual clock: every press "during" a reading happens inside the engine's waits, nested in
// the play button's click, as it does for a user.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QRadioButton>
#include <QSlider>
#include <QUrl>
#include <filesystem>

#include "harness.h"
#include "ui/frm_file.h"
#include "ui/frm_settings.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel::test {
namespace {

using Lines = std::vector<std::u32string>;

bool AllReleased(frmメイン& w) {
  for (QPushButton* b : {w.chk再生, w.chk停止, w.chk中止, w.chk次行, w.chk前行, w.chk録音})
    if (b->isChecked()) return false;
  return w.chk再生->isEnabled() && w.chk中止->isEnabled() && w.chk次行->isEnabled() &&
         w.chk前行->isEnabled();
}

TEST(MainWindow, PlaysEveryLineToTheEndAndReturnsToIdle) {
  Harness h;
  frmメイン& w = h.Start();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Kotonel"));
  EXPECT_TRUE(AllReleased(w));

  bool disabledWhileReading = false;
  h.At(10, [&] { disabledWhileReading = w.chk再生->isChecked() && !w.chk再生->isEnabled(); });
  h.Read(QStringLiteral("あ\nい、う\nえ"));
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"い、", U"う。", U"え。"}));
  EXPECT_TRUE(disabledWhileReading);
  EXPECT_TRUE(AllReleased(w));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Kotonel"));
  EXPECT_EQ(h.prompts.beeps, 0);
  EXPECT_GT(h.commands.waits, 0);  // the command window is asked on every Wait

  // An empty text is one empty line: nothing is spoken and the reading ends normally.
  h.Read(QString());
  EXPECT_EQ(h.Spoken().size(), 4u);
  EXPECT_TRUE(AllReleased(w));
}

TEST(MainWindow, ConversionModeChoosesTheEnginePath) {
  Harness h;
  frmメイン& w = h.Start(true, false);
  frm設定& s = *w.Settings();
  h.Read(QStringLiteral("きょうは"));
  EXPECT_TRUE(w.メイン()->CONV());
  EXPECT_TRUE(w.メイン()->Intonation());
  s.opt変換[1]->setChecked(true);
  h.Read(QStringLiteral("きょうは"));
  EXPECT_TRUE(w.メイン()->CONV());
  EXPECT_FALSE(w.メイン()->Intonation());
  s.opt変換[2]->setChecked(true);
  h.Read(QStringLiteral("きょうは"));
  EXPECT_FALSE(w.メイン()->CONV());
  EXPECT_FALSE(w.メイン()->Intonation());
  // The phonetic mode hands the text over as typed; the others convert it.
  ASSERT_GE(h.Spoken().size(), 3u);
  EXPECT_EQ(h.Spoken().back(), U"きょうは。");
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Kotonel"));
}

TEST(MainWindow, PauseHoldsTheLineAndResumeGoesOn) {
  Harness h;
  frmメイン& w = h.Start();
  bool heldSound = false;
  h.At(20, [&] { w.chk停止->setChecked(true); });
  h.At(1000, [&] {
    heldSound = h.device->IsPaused() && w.メイン()->IsPaused() && h.Spoken().size() == 1;
    w.chk停止->setChecked(false);
  });
  h.Read(QStringLiteral("あ\nい"));
  EXPECT_TRUE(heldSound);
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"い。"}));
  EXPECT_TRUE(AllReleased(w));
  // Pausing for a whole second delayed the end by that much.
  EXPECT_GE(h.clock.NowMs(), 1000u);

  // Pause while nothing plays means nothing: it releases itself.
  w.chk停止->setChecked(true);
  EXPECT_FALSE(w.chk停止->isChecked());
  EXPECT_FALSE(w.メイン()->IsPaused());
}

TEST(MainWindow, StopEndsTheReadingAndClearsTheTextOnlyWhenIdle) {
  Harness h;
  frmメイン& w = h.Start();
  bool stopDisabled = false;
  h.At(20, [&] {
    w.chk中止->setChecked(true);
    stopDisabled = !w.chk中止->isEnabled();
  });
  h.Read(QStringLiteral("あ\nい\nう"));
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。"}));
  EXPECT_TRUE(stopDisabled);
  EXPECT_TRUE(AllReleased(w));
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("あ\nい\nう"));

  w.chk中止->setChecked(true);
  EXPECT_EQ(w.テキスト()->toPlainText(), QString());
  EXPECT_FALSE(w.chk中止->isChecked());
  EXPECT_TRUE(w.chk中止->isEnabled());
  w.テキスト()->undo();  // a text cleared by mistake comes back
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("あ\nい\nう"));

  // Stop while paused cancels, and the end of the reading releases pause as well.
  h.At(20, [&] { w.chk停止->setChecked(true); });
  h.At(200, [&] { w.chk中止->setChecked(true); });
  h.Read(QStringLiteral("か\nき"));
  EXPECT_EQ(h.Spoken().back(), U"か。");
  EXPECT_TRUE(AllReleased(w));
  EXPECT_FALSE(w.メイン()->IsPaused());
}

TEST(MainWindow, NextSkipsToTheFollowingLineAndIsIgnoredWhenIdleOrPaused) {
  Harness h;
  frmメイン& w = h.Start();
  bool moving = false;
  h.At(20, [&] {
    w.chk次行->setChecked(true);
    moving = w.chk次行->isChecked() && !w.chk次行->isEnabled();
  });
  h.Read(QStringLiteral("あ\nい"));
  EXPECT_TRUE(moving);
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"い。"}));
  // The first line was cut short: less than its 100 ms of sound was heard.
  EXPECT_LT(h.device->PlayedMs(), 200u);
  EXPECT_TRUE(AllReleased(w));

  w.chk次行->setChecked(true);
  EXPECT_FALSE(w.chk次行->isChecked());
  w.chk前行->setChecked(true);
  EXPECT_FALSE(w.chk前行->isChecked());

  bool releasedWhilePaused = false;
  h.At(20, [&] { w.chk停止->setChecked(true); });
  h.At(100, [&] {
    w.chk次行->setChecked(true);
    releasedWhilePaused = !w.chk次行->isChecked();
    w.chk停止->setChecked(false);
  });
  h.Read(QStringLiteral("か\nき"));
  EXPECT_TRUE(releasedWhilePaused);
  EXPECT_EQ(h.Spoken().size(), 4u);  // か and き both read in full
}

TEST(MainWindow, PreviousGoesBackOverBlankLinesAndRestartsTheFirstLine) {
  Harness h;
  frmメイン& w = h.Start();
  // On line "い" (after "あ" and two blank or unspeakable lines) previous returns to "あ".
  h.At(1150, [&] { w.chk前行->setChecked(true); });
  h.Read(QStringLiteral("あ\n\n、。\nい"));
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"、", U"。", U"い。", U"あ。", U"、", U"。", U"い。"}));
  EXPECT_TRUE(AllReleased(w));

  Harness h2;
  frmメイン& w2 = h2.Start();
  h2.At(20, [&] { w2.chk前行->setChecked(true); });
  h2.Read(QStringLiteral("う\nえ"));
  EXPECT_EQ(h2.Spoken(), (Lines{U"う。", U"う。", U"え。"}));
}

TEST(MainWindow, StepBackCountsOnlySpeakableLines) {
  Harness h;
  frmメイン& w = h.Start();
  std::vector<std::u32string> lines = {U"あ", U"  ", U"・・", U"い", U"ッ", U"う"};
  int i = 5;
  w.StepBack(lines, i, 2);
  EXPECT_EQ(i, 2);  // the loop goes on with line 3, "い"
  i = 0;
  w.StepBack(lines, i, 2);
  EXPECT_EQ(i, -1);
  EXPECT_FALSE(w.IsSpeakable(U"ッっﾞ、。"));
  EXPECT_TRUE(w.IsSpeakable(U"abc"));
  EXPECT_TRUE(w.IsSpeakable(U"漢"));
}

TEST(MainWindow, RecordingIsArmedThroughTheChooserAndWrittenAtTheEnd) {
  Harness h;
  frmメイン& w = h.Start();
  QString folder = h.writable.path();
  h.prompts.onModal = [&](QDialog& d) {
    auto& f = static_cast<frmファイル&>(d);
    EXPECT_EQ(f.cmd実行->text(), QStringLiteral("保存"));
    ASSERT_TRUE(f.SetFolder(folder));
    f.txtファイル->setText(QStringLiteral("rec.txt"));
    f.Confirm();
  };
  w.chk録音->setChecked(true);
  EXPECT_TRUE(w.chk録音->isChecked());
  EXPECT_EQ(w.メイン()->PATH(), folder.toStdString() + "/rec.txt.wav");
  h.Read(QStringLiteral("あ"));
  EXPECT_FALSE(w.chk録音->isChecked());
  Bytes wav;
  ASSERT_TRUE(ReadBytes(folder.toStdString() + "/rec.txt.wav", wav));
  ASSERT_GT(wav.size(), 44u + 1600u);  // the header, the piece and the silence after it
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");

  // A name already ending in .WAV is kept; cancelling releases the button and records nothing.
  h.prompts.onModal = [&](QDialog& d) {
    auto& f = static_cast<frmファイル&>(d);
    f.txtファイル->setText(QStringLiteral("B.WAV"));
    f.Confirm();
  };
  w.chk録音->setChecked(true);
  EXPECT_EQ(w.メイン()->PATH(), folder.toStdString() + "/B.WAV");
  h.prompts.onModal = [](QDialog& d) { static_cast<frmファイル&>(d).Cancel(); };
  w.chk録音->setChecked(false);
  w.chk録音->setChecked(true);
  EXPECT_FALSE(w.chk録音->isChecked());
  EXPECT_FALSE(w.メイン()->Wave().IsRecording());

  // A recording that cannot be written is reported with its file name.
  h.prompts.onModal = [&](QDialog& d) {
    auto& f = static_cast<frmファイル&>(d);
    f.txtファイル->setText(QStringLiteral("gone.wav"));
    f.Confirm();
  };
  w.chk録音->setChecked(true);
  w.メイン()->PATH("/nonexistent-folder/gone.wav");
  h.Read(QStringLiteral("い"));
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("/nonexistent-folder/gone.wav")));
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("No such file or directory")));
  EXPECT_EQ(h.prompts.messages[0].icon, QMessageBox::Warning);
  EXPECT_EQ(h.prompts.notices, 1);  // it waits for nobody: commands go on meanwhile
}

TEST(MainWindow, AnErrorEndsTheReadingWithCaptionAndBeepAndNoRecording) {
  Harness h;
  h.failOn = {"い。"};
  frmメイン& w = h.Start();
  w.メイン()->RECORD(true);
  w.メイン()->PATH(h.WritableFolder() + "err.wav");
  h.Read(QStringLiteral("あ\nい\nう"));
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。"}));
  EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Kotonel - 読み上げエラー「301:")));
  EXPECT_EQ(h.prompts.beeps, 1);
  EXPECT_FALSE(FileExists(h.WritableFolder() + "err.wav"));
  EXPECT_TRUE(AllReleased(w));

  h.Read(QStringLiteral("う"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Kotonel"));
  EXPECT_EQ(h.prompts.beeps, 1);
}

TEST(MainWindow, ClosingWhileALineIsSpokenKeepsTheEngineUntilSpeechReturns) {
  Harness h;
  frmメイン& w = h.Start();
  Lines spoken;
  h.At(20, [&] {
    w.close();
    // Still alive: the line being spoken has not returned yet.
    spoken = h.Spoken();
  });
  h.Read(QStringLiteral("あ\nい"));
  EXPECT_EQ(spoken, (Lines{U"あ。"}));
  EXPECT_TRUE(w.IsClosing());
  EXPECT_EQ(w.メイン(), nullptr);
  EXPECT_TRUE(FileExists(h.SettingsPath()));
  EXPECT_EQ(h.commands.unloads, 1);
  EXPECT_EQ(h.commands.loads, 1);
  EXPECT_TRUE(h.commands.loadedFirst);
}

TEST(MainWindow, SecondInstanceWithoutCommandLineEndsAtOnce) {
  Harness h;
  h.commands.previous = true;
  MainSetup setup;
  setup.commands = &h.commands;
  frmメイン w(std::move(setup));
  EXPECT_FALSE(w.Load());
  EXPECT_EQ(h.commands.loads, 0);
}

TEST(MainWindow, PrepareLineAppliesLaughterAndUserWords) {
  Harness h;
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  s.chkWW->setChecked(true);
  EXPECT_EQ(w.PrepareLine(U"あwwwwい"), U"あわらわらい");
  EXPECT_EQ(w.PrepareLine(U"あwい"), U"あwい");
  EXPECT_EQ(w.PrepareLine(U"w w w "), U"わらわら");
  EXPECT_EQ(w.PrepareLine(U"ＷＷ"), U"わらわら");
  s.chkWW->setChecked(false);
  EXPECT_EQ(w.PrepareLine(U"ww"), U"ww");

  s.WORD()->addItem(QStringLiteral("けーたい\tケータイ\t0"));
  s.WORD()->addItem(QStringLiteral("えーびー\tAB\t1"));
  s.WORD()->addItem(QStringLiteral("short"));
  w.LoadUserWords();
  EXPECT_EQ(w.PrepareLine(U"けーたいとｹｰﾀｲとケータイ"), U"けーたいとけーたいとけーたい");
  EXPECT_EQ(w.PrepareLine(U"AB ab ＡＢ"), U"えーびー ab ＡＢ");
}

TEST(MainWindow, SlidersSetTheEngineAndTheirToolTips) {
  Harness h;
  frmメイン& w = h.Start();
  EXPECT_EQ(w.sld音量->value(), 20);
  EXPECT_EQ(w.sld速度->value(), 100);
  EXPECT_EQ(w.sld速度->toolTip(), QStringLiteral("100"));
  w.sld速度->setValue(250);
  w.sld音量->setValue(45);
  EXPECT_EQ(w.メイン()->SPEED(), 250);
  EXPECT_EQ(w.メイン()->VOLUME(), 45);
  EXPECT_EQ(w.sld音量->toolTip(), QStringLiteral("45"));
}

TEST(MainWindow, OpensFilesInEitherEncodingAndSelectsAllWithCtrlA) {
  Harness h;
  frmメイン& w = h.Start();
  std::string utf8 = h.ProgramFolder() + "u.txt", sjis = h.ProgramFolder() + "s.txt";
  WriteFileAtomic(utf8, "こんにちは\r\n世界\n");
  WriteFileAtomic(sjis, ToCp932(U"さようなら\r\n"));
  w.OpenFiles({utf8, sjis, h.ProgramFolder() + "missing.txt"});
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("こんにちは\n世界\nさようなら"));

  TextBox* box = w.txt内容[0];
  QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  QApplication::sendEvent(box, &ctrl);
  QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
  QApplication::sendEvent(box, &a);
  EXPECT_EQ(box->textCursor().selectionStart(), 0);
  EXPECT_EQ(box->textCursor().selectionEnd(), box->toPlainText().size());

  // Files dropped on the text box replace its text with theirs, in drop order.
  w.テキスト()->setPlainText(QStringLiteral("old"));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(sjis)),
                QUrl::fromLocalFile(QString::fromStdString(utf8))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box->viewport(), &drop);
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("さようなら\nこんにちは\n世界"));

  // Open from the menu, through the chooser.
  h.prompts.onModal = [&](QDialog& d) {
    auto& f = static_cast<frmファイル&>(d);
    EXPECT_EQ(f.cmd実行->text(), QStringLiteral("開く"));
    f.SetFolder(h.program.path());
    EXPECT_EQ(f.fleファイル->count(), 2);  // u.txt and s.txt, *.txt only
    f.txtファイル->setText(QStringLiteral("s.txt"));
    f.Confirm();
  };
  w.M_Open->trigger();
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("さようなら"));
}

TEST(MainWindow, WindowSpringsBackToItsSmallestSize) {
  Harness h;
  frmメイン& w = h.Start();
  w.resize(100, 40);
  QApplication::processEvents();
  // No smaller than the old fixed limit, nor than what keeps every button and slider visible.
  EXPECT_EQ(w.width(), std::max(3200 / frmメイン::kTwips, w.minimumWidth()));
  EXPECT_EQ(w.height(), std::max(1365 / frmメイン::kTwips, w.minimumHeight()));
  EXPECT_TRUE(w.centralWidget()->rect().contains(w.sld速度->geometry()));
  w.resize(800, 500);
  QApplication::processEvents();
  // The text box fills the width and the buttons sit right under it.
  EXPECT_EQ(w.テキスト()->width(), w.centralWidget()->width());
  EXPECT_GT(w.chk再生->y(), w.テキスト()->height() - 1);
  EXPECT_GT(w.sld速度->x(), w.sld音量->x() + w.sld音量->width());
}

TEST(MainWindow, ARecordingStoppedAtTheSizeLimitIsKept) {
  Harness h;
  frmメイン& w = h.Start();
  std::string path = h.WritableFolder() + "long.wav";
  w.メイン()->RECORD(true);
  w.メイン()->PATH(path);
  size_t kept = 44 + 2 * (1600 + 6400);  // two pieces of the fake voice, each after "。"
  w.メイン()->Wave().RecordingLimit(kept + 10);
  h.Read(QStringLiteral("あ\nい\nう"));
  EXPECT_EQ(h.Spoken(), (Lines{U"あ。", U"い。"}));
  EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Kotonel - 読み上げエラー「601:")));
  EXPECT_TRUE(h.prompts.messages.empty());
  EXPECT_EQ(std::filesystem::file_size(path), kept);
}

TEST(MainWindow, RemovesOnlyItsOwnLeftoverTemporaryFiles) {
  Harness h;
  std::string dir = h.ProgramFolder(), config = h.WritableFolder();
  ASSERT_TRUE(WriteFileAtomic(config + "Kotonel.ini", "Kotonel\t3\r\n"));
  // A write of ours cut off by a kill: an incomplete file that must not become the settings.
  pid_t child = fork();
  if (child == 0) {
    OutputFile out;
    bool ok = out.Open(config + "Kotonel.ini") && out.Write("half", 4);
    _exit(ok ? 0 : 1);  // no Commit: the process dies in the middle of the write
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  auto ours = [](const std::string& folder) {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      n += IsOurTemporaryName(entry.path().filename().string());
    return n;
  };
  ASSERT_EQ(ours(config), 1);
  // Other programs' files (an install to ~/.local/bin shares its folder) are not ours.
  WriteFileAtomic(dir + "a.txt", "old");
  ASSERT_TRUE(WriteBytes(dir + "a.txt.tmp", Bytes{'n', 'e', 'w'}));
  ASSERT_TRUE(WriteBytes(dir + "b.txt.tmp", Bytes{'b'}));
  h.Start();
  EXPECT_EQ(ours(config), 0);
  std::string data;
  ASSERT_TRUE(ReadWholeFile(config + "Kotonel.ini", data));
  EXPECT_EQ(data, "Kotonel\t3\r\n");
  ASSERT_TRUE(ReadWholeFile(dir + "a.txt.tmp", data));
  EXPECT_EQ(data, "new");
  ASSERT_TRUE(ReadWholeFile(dir + "a.txt", data));
  EXPECT_EQ(data, "old");
  EXPECT_TRUE(FileExists(dir + "b.txt.tmp"));
  EXPECT_FALSE(FileExists(dir + "b.txt"));
}

TEST(MainWindow, RefusesASettingsFolderOthersMayWriteInto) {
  Harness h;
  ASSERT_EQ(chmod(h.WritableFolder().c_str(), 0777), 0);
  frmメイン& w = h.Start();
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QString::fromStdString(h.WritableFolder())));
  EXPECT_TRUE(h.prompts.messages[0].text.contains(QStringLiteral("他のユーザー")));
  w.close();
  EXPECT_FALSE(FileExists(h.SettingsPath()));
  EXPECT_TRUE(std::filesystem::is_empty(h.WritableFolder()));
}

TEST(MainWindow, VersionBoxAndMenus) {
  Harness h;
  frmメイン& w = h.Start();
  EXPECT_EQ(w.M_Mokuji->text(), QStringLiteral("目次(&C)       F1"));
  w.M_Version->trigger();
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_EQ(h.prompts.messages[0].title, QStringLiteral("Kotonelのバージョン情報"));
  EXPECT_EQ(h.prompts.messages[0].icon, QMessageBox::Information);
  EXPECT_TRUE(h.prompts.messages[0].text.startsWith(QStringLiteral("　Kotonel Ver 1.56\n　")));
  EXPECT_TRUE(w.VersionText().endsWith(QStringLiteral("\r\n\r\n")));
}

}  // namespace
}  // namespace kotonel::test
