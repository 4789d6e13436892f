// The command window on its own, on a virtual clock: the instance test, the handle file, the
// queue and how a sender ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTimer>
#include <filesystem>

#include "ui/frm_dummy.h"
#include "util/files.h"

namespace kotonel {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    path_ = fs::temp_directory_path() /
            ("kotonel-dummy-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(path_);
  }
  ~Folder() { fs::remove_all(path_); }
  std::string Path() const { return path_.string() + "/"; }

 private:
  static inline int counter_ = 0;
  fs::path path_;
};

TEST(CommandWindow, FirstInstanceQueuesItsOwnLineBeforeASendersLine) {
  Folder dir;
  VirtualClock clock;
  frmダミー first(dir.Path(), "Kotonel", clock), second(dir.Path(), "Kotonel", clock);
  std::vector<int> quits;
  second.quit = [&](int status) { quits.push_back(status); };
  second.folder = "/home/sender/";

  EXPECT_FALSE(first.PreviousInstanceRunning());
  EXPECT_TRUE(second.PreviousInstanceRunning());
  first.Load(U"own line", true);
  EXPECT_TRUE(first.IsFirst());
  EXPECT_TRUE(FileExists(first.HandleFile()));
  EXPECT_FALSE(first.timCMD->isActive());  // the main window starts it at the end of startup

  second.Load(U"sent line", false);  // the handle file is there: no waiting
  EXPECT_TRUE(second.timCMD->isActive());
  // Offers until the first instance's mailbox is free; its own line goes first.
  for (int i = 0; i < 10 && quits.empty(); ++i) {
    second.Tick();
    first.CMD_NOW();
  }
  ASSERT_EQ(quits, std::vector<int>{0});
  ASSERT_EQ(first.Queue().size(), 2u);
  EXPECT_EQ(first.Queue()[0].text, U"own line");
  EXPECT_EQ(first.Queue()[1].text, U"sent line");
  EXPECT_EQ(first.Queue()[1].folder, "/home/sender/");
  EXPECT_FALSE(second.timCMD->isActive());

  // The sender leaves the handle file; the first instance takes it away, and its lock with it.
  second.Unload();
  EXPECT_TRUE(FileExists(first.HandleFile()));
  first.Unload();
  EXPECT_FALSE(FileExists(first.HandleFile()));
  EXPECT_TRUE(first.Queue().empty());
  frmダミー third(dir.Path(), "Kotonel", clock);
  EXPECT_FALSE(third.PreviousInstanceRunning());
}

TEST(CommandWindow, SenderGivesUpAfterThreeHundredSeconds) {
  Folder dir;
  VirtualClock clock;
  frmダミー first(dir.Path(), "Kotonel", clock), sender(dir.Path(), "Kotonel", clock);
  std::vector<int> quits;
  sender.quit = [&](int status) { quits.push_back(status); };
  int pumps = 0;
  sender.pump = [&] { ++pumps; };
  ASSERT_FALSE(first.PreviousInstanceRunning());
  ASSERT_TRUE(sender.PreviousInstanceRunning());

  // No handle file (the first instance has not published one): the start waits, then gives up.
  uint64_t start = clock.NowMs();
  sender.Load(U"text", false);
  EXPECT_GE(clock.NowMs() - start, 300000u);
  EXPECT_GT(pumps, 0);
  EXPECT_FALSE(sender.timCMD->isActive());
  sender.EnableTimer();
  sender.Tick();
  EXPECT_EQ(quits, std::vector<int>{1});  // a script can tell it was not handed over
}

// A handle file that cannot be published (a folder has its name) used to leave the first
// instance silent and its senders waiting 300 seconds.
TEST(CommandWindow, WhenTheMailboxCannotBePublishedEveryoneIsToldAtOnce) {
  Folder dir;
  VirtualClock clock;
  frmダミー first(dir.Path(), "Kotonel", clock), sender(dir.Path(), "Kotonel", clock);
  fs::create_directory(first.HandleFile());
  std::vector<std::string> told, senderTold;
  first.warn = [&](const std::string& text) { told.push_back(text); };
  sender.warn = [&](const std::string& text) { senderTold.push_back(text); };
  std::vector<int> quits;
  sender.quit = [&](int status) { quits.push_back(status); };

  ASSERT_FALSE(first.PreviousInstanceRunning());
  first.Load(U"", true);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("Kotonel.hwnd"), std::string::npos) << told[0];

  ASSERT_TRUE(sender.PreviousInstanceRunning());
  uint64_t start = clock.NowMs();
  sender.Load(U"text", false);
  sender.EnableTimer();
  sender.Tick();
  EXPECT_LT(clock.NowMs() - start, 1000u);
  EXPECT_EQ(quits, std::vector<int>{1});
  ASSERT_EQ(senderTold.size(), 1u);
  EXPECT_NE(senderTold[0].find("Kotonel.hwnd"), std::string::npos) << senderTold[0];
}

// Where no lock file can be made, the folder itself tells the starts apart: one reads, the
// next hands over.
TEST(CommandWindow, StartsAreToldApartWithoutALockFile) {
  Folder dir;
  VirtualClock clock;
  frmダミー first(dir.Path(), "Kotonel", clock), second(dir.Path(), "Kotonel", clock);
  fs::create_symlink(dir.Path() + "nowhere/x", first.LockFile());
  std::vector<std::string> told;
  first.warn = [&](const std::string& text) { told.push_back(text); };
  EXPECT_FALSE(first.PreviousInstanceRunning());
  EXPECT_TRUE(second.PreviousInstanceRunning());
  first.Load(U"", true);
  EXPECT_TRUE(told.empty());
  EXPECT_TRUE(FileExists(first.HandleFile()));
}

}  // namespace
}  // namespace kotonel
