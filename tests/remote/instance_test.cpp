// How the running instance starts, ends and keeps taking commands: later starts without a
// display, options meant for the window system, signals, and messages that must not hold up the
// queue.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "world.h"

namespace kotonel {
namespace {

using namespace remote;

TEST(Instance, ALaterStartNeedsNoDisplayAndWindowOptionsAreText) {
  World w;
  w.Settings(true, true);
  // "-style" would take the next argument as a style's name: the text to read was lost.
  Process first = w.StartFirst({"-style", "/w:あいうえお"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));

  // From ssh or cron: no display at all, and still handed over.
  Process sender = w.Start({"-reverse", "/w:かきくけこ"}, "", true);
  EXPECT_EQ(sender.Wait(), 0) << w.Output();
  EXPECT_TRUE(w.WaitHeard("かきくけこ"));
  Process session = w.Start({"-session", "/w:さしすせそ"}, "", true);
  EXPECT_EQ(session.Wait(), 0) << w.Output();
  EXPECT_TRUE(w.WaitHeard("さしすせそ"));
  EXPECT_TRUE(first.Running());
}

TEST(Instance, HangupClosesAndSavesLikeTerminate) {
  World w;
  w.Settings(false, true);
  std::string before = w.SettingsText();
  Process first = w.StartFirst();
  first.Signal(SIGHUP);  // the terminal it was started from is closed
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_FALSE(FileExists(w.HandleFile()));
  std::string after = w.SettingsText();
  EXPECT_NE(after, before);  // written back whole at closing
  EXPECT_NE(after.find("lblW読速度"), std::string::npos) << after;
}

TEST(Instance, TerminateDuringASlowStartWaitsUntilTheWindowCanClose) {
  World w;
  w.Settings(false, true);
  // The start waits on a pipe before the dictionaries load, as long as the test likes.
  std::string gate = w.Work("gate");
  ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);
  ::setenv("KOTONEL_START_GATE", gate.c_str(), 1);
  Process first = w.StartFirst();  // the mailbox is published before the dictionaries load
  ::unsetenv("KOTONEL_START_GATE");
  first.Signal(SIGTERM);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  // Opened without blocking: a start that never reached the gate fails the test, not hangs it.
  int fd = -1;
  ASSERT_TRUE(WaitUntil([&] {
    fd = ::open(gate.c_str(), O_WRONLY | O_NONBLOCK);
    return fd >= 0;
  })) << "the start never reached the gate";
  EXPECT_EQ(::write(fd, "go\n", 3), 3);
  ::close(fd);
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_FALSE(FileExists(w.HandleFile()));
  EXPECT_NE(w.SettingsText().find("lblW読速度"), std::string::npos);
}

TEST(Instance, AMessageDuringACommandedReadingDoesNotHoldUpTheQueue) {
  World w;
  w.Settings(true, true);
  Process first = w.StartFirst();
  // The recording cannot be saved (a folder has its name): a message the user reads later.
  fs::create_directory(w.Work("rec.wav"));
  w.Send({"/r:rec.wav", "/w:あいうえお"});
  ASSERT_TRUE(w.WaitHeard("あいうえお"));
  w.Send({"/w:かきくけこ"});
  EXPECT_TRUE(w.WaitHeard("かきくけこ"));
  w.Send({"/close_now"});
  EXPECT_EQ(first.Wait(), 0);

  // A recording path that the entry cannot hold records nothing, and the reading goes on.
  World cut;
  cut.Settings(true, true);
  Process second = cut.StartFirst();
  cut.Send({"/r:" + cut.Work("x.wav"), "/w:さしすせそ"});
  ASSERT_TRUE(cut.WaitHeard("さしすせそ"));
  cut.Send({"/w:たちつてと"});
  EXPECT_TRUE(cut.WaitHeard("たちつてと"));
  EXPECT_FALSE(FileExists(cut.Work("x.wav")));
  cut.Send({"/close_now"});
  EXPECT_EQ(second.Wait(), 0);
}

TEST(Instance, StartingFromACopiedSettingsFolderLeavesTheRunningInstanceAlone) {
  World w;
  w.Settings(false, true);
  Process first = w.StartFirst();
  std::string copy = w.Work("copy/");
  fs::copy(w.Config(), copy);
  std::string socket = ReadHandleFile(w.HandleFile());
  ASSERT_EQ(ReadHandleFile(copy + "Kotonel.hwnd"), socket);
  // The copy's lock is nobody's: a second reading instance starts on it, and must not take the
  // first one's mailbox away.
  Process fromCopy = w.Start({}, "", false, copy);
  ASSERT_TRUE(WaitUntil([&] {
    std::string path = ReadHandleFile(copy + "Kotonel.hwnd");
    return !path.empty() && path != socket;
  }));
  EXPECT_TRUE(fs::exists(socket));
  w.Send({"あいうえお"});
  EXPECT_TRUE(w.WaitHeard("あいうえお"));
  EXPECT_TRUE(first.Running());
}

}  // namespace
}  // namespace kotonel
