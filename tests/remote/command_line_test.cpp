// Real Kotonel processes driving each other through the command line: offscreen, on the silent
// audio device that logs every piece it plays, each test in its own writable folder.
#include "world.h"

namespace kotonel {
namespace {

using namespace remote;

// Lines of kana that take a while to read, each one recognisable in the log.
std::string LongText(int lines) {
  static const char* kRows[] = {"あいうえおあいうえお", "かきくけこかきくけこ",
                                "さしすせそさしすせそ", "たちつてとたちつてと",
                                "なにぬねのなにぬねの", "はひふへほはひふへほ",
                                "まみむめもまみむめも", "やゆよやゆよやゆよ"};
  std::string text;
  for (int i = 0; i < lines; ++i) text += std::string(kRows[i % 8]) + "\n";
  return text;
}

TEST(CommandLine, ASecondStartHandsItsTextOverAndLeavesTheHandleFile) {
  World w;
  w.Settings(false, false);
  Process first = w.StartFirst();
  std::string handle;
  ReadWholeFile(w.HandleFile(), handle);

  // With argument interpretation off, "/play" is text like any other.
  w.Send({"/play"});
  ASSERT_TRUE(WaitUntil([&] { return w.Played().size() == 1; }));
  EXPECT_EQ(w.Played()[0], w.Reading("/play"));
  std::string after;
  ReadWholeFile(w.HandleFile(), after);
  EXPECT_EQ(after, handle);  // a sender never touches the handle file
  EXPECT_TRUE(first.Running());

  // A second start with an empty command line ends at once, with nothing handed over.
  Process empty = w.Start({});
  EXPECT_EQ(empty.Wait(), 0);
  w.Send({"こんにちは"});
  ASSERT_TRUE(WaitUntil([&] { return w.Played().size() == 2; }));
  EXPECT_EQ(w.Played()[1], w.Reading("こんにちは"));  // nothing came from the empty start

  // The handle file goes with the first instance.
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_FALSE(FileExists(w.HandleFile()));
  EXPECT_FALSE(fs::exists(after.substr(0, after.find('\r'))));  // nor is its socket left
}

TEST(CommandLine, FileOptionsAndTextWithInterpretationOn) {
  World w;
  w.Settings(true, false);
  w.WriteWork("note.txt", "いちぎょうめ\nにぎょうめ\n");
  // Started elsewhere: the file is found in the sender's folder.
  Process first = w.StartFirst({}, w.Config());

  w.Send({"note.txt", "/s:150", "/t:3", "/w:hello/world"});
  ASSERT_TRUE(WaitUntil([&] { return w.Played().size() == 3; }));
  EXPECT_EQ(w.Played(),
            (std::vector<std::string>{w.Reading("hello/world"), w.Reading("いちぎょうめ"),
                                      w.Reading("にぎょうめ")}));

  // Values outside the controls: volume clamped, voice ignored (3 stays); the reading is
  // recorded into the sender's folder.
  w.Send({"/v:80", "/t:9", "/r:rec.wav", "/w:おわり"});
  EXPECT_TRUE(WaitUntil([&] { return FileExists(w.Work("rec.wav")); }));
  EXPECT_TRUE(w.Heard("おわり"));

  // "/close2" shows the window before closing, so the settings are saved.
  w.Send({"/close2"});
  EXPECT_EQ(first.Wait(), 0);
  std::string settings = w.SettingsText();
  EXPECT_NE(settings.find("lblW読速度\t\t150\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("lblW読音量\t\t60\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("opt声色\t3\tTrue\r\n"), std::string::npos) << settings;
  EXPECT_FALSE(FileExists(w.HandleFile()));
}

TEST(CommandLine, StopInCapitalsWithBlanksIsObeyed) {
  World w;
  w.Settings(true, true);
  w.WriteWork("long.txt", LongText(8));
  Process first = w.StartFirst({"long.txt"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));
  w.Send({"/STOP "});
  w.Send({"/w:おわり"});  // read only once nothing else is
  EXPECT_TRUE(w.WaitHeard("おわり"));
  EXPECT_FALSE(w.Heard("やゆよ"));
  EXPECT_TRUE(first.Running());
}

TEST(CommandLine, CloseWaitsForTheReadingCloseNowDoesNot) {
  World w;
  w.Settings(true, true);
  w.WriteWork("long.txt", LongText(3));
  std::string before = w.SettingsText();
  Process first = w.StartFirst({"long.txt"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));
  w.Send({"/pause"});  // holds the reading for as long as the test needs
  w.Send({"/close"});
  w.Send({"/w:まだ"});  // taken: the first instance is still there, the close still waiting
  EXPECT_TRUE(first.Running());
  w.Send({"/resume_now"});
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_TRUE(w.Heard("さしすせそ"));   // the whole text was read first
  EXPECT_FALSE(w.Heard("まだ"));        // queued behind the close
  EXPECT_EQ(w.SettingsText(), before);  // "/close" hides the window: nothing saved
  EXPECT_FALSE(FileExists(w.HandleFile()));

  World now;
  now.Settings(true, true);
  now.WriteWork("long.txt", LongText(3));
  Process second = now.StartFirst({"long.txt"});
  ASSERT_TRUE(now.WaitHeard("あいうえお"));
  now.Send({"/pause"});
  now.Send({"/close_now"});
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_FALSE(now.Heard("さしすせそ"));
  EXPECT_FALSE(FileExists(now.HandleFile()));
}

TEST(CommandLine, ClearEmptiesTheQueue) {
  World w;
  w.Settings(true, true);
  w.WriteWork("long.txt", LongText(3));
  Process first = w.StartFirst({"long.txt"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));
  w.Send({"/pause"});
  // Queued while the text is read: "/clear_now" takes them all away at once.
  w.Send({"/w:いちいち"});
  w.Send({"/w:ににに"});
  w.Send({"/clear_now"});
  // A plain "/clear" waits its turn, then takes away what came after it.
  w.Send({"/w:さんさん"});
  w.Send({"/clear"});
  w.Send({"/w:よんよん"});
  w.Send({"/stop_now"});
  ASSERT_TRUE(w.WaitHeard("さんさん"));
  w.Send({"/w:おわり"});
  ASSERT_TRUE(w.WaitHeard("おわり"));
  EXPECT_FALSE(w.Heard("かきくけこ"));  // stopped on the first line
  EXPECT_FALSE(w.Heard("いちいち"));
  EXPECT_FALSE(w.Heard("ににに"));
  EXPECT_FALSE(w.Heard("よんよん"));
}

TEST(CommandLine, TwoSendersStartedTogetherBothGetThrough) {
  World w;
  w.Settings(false, true);
  Process first = w.StartFirst();
  std::vector<Process> senders;
  for (const char* text : {"あいうえお", "かきくけこ", "さしすせそ"})
    senders.push_back(w.Start({text}));
  for (Process& s : senders) EXPECT_EQ(s.Wait(), 0);
  EXPECT_TRUE(WaitUntil([&] { return w.Played().size() == 3; }));
  for (const char* text : {"あいうえお", "かきくけこ", "さしすせそ"}) EXPECT_TRUE(w.Heard(text));
}

TEST(CommandLine, AStaleHandleFileDoesNotBlockANewFirstInstance) {
  World w;
  w.Settings(false, true);
  {
    Process crashed = w.StartFirst();
    crashed.Signal(SIGKILL);
    crashed.Wait();
  }
  std::string stale = ReadHandleFile(w.HandleFile());
  ASSERT_FALSE(stale.empty());

  Process first = w.Start({"あいうえお"}, w.Config());
  ASSERT_TRUE(w.WaitHeard("あいうえお"));  // it read its own command line: not a sender
  std::string fresh = ReadHandleFile(w.HandleFile());
  EXPECT_NE(fresh, stale);
  w.Send({"かきくけこ"});
  EXPECT_TRUE(w.WaitHeard("かきくけこ"));
}

}  // namespace
}  // namespace kotonel
