// Writing whole files: nothing half-written, nothing followed that someone else planted, the
// mode of the file kept, and devices written through rather than replaced.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "util/files.h"
#include "util/program.h"

namespace kotonel {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

// Every name in folder, sorted.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class UmaskGuard {
 public:
  explicit UmaskGuard(mode_t mask) : old_(::umask(mask)) {}
  ~UmaskGuard() { ::umask(old_); }

 private:
  mode_t old_;
};

TEST(AtomicWrite, ReplacesWithTheModeKeptAndLeavesNoTemporaryFile) {
  TempFolder dir;
  std::string path = dir.File("Kotonel.ini");
  {
    UmaskGuard mask(027);
    ASSERT_TRUE(WriteFileAtomic(path, "one"));
    EXPECT_EQ(ModeOf(path) & 0777, 0640u);  // a new file: 0666 & ~umask
  }
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(WriteFileAtomic(path, "two, longer"));
  EXPECT_EQ(Slurp(path), "two, longer");
  EXPECT_EQ(ModeOf(path) & 0777, 0600u);  // a private file stays private
  ASSERT_TRUE(WriteLines(path, StringList{U"短い"}));
  EXPECT_EQ(Slurp(path).size(), 6u);  // a shorter content leaves no old bytes behind
  EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"Kotonel.ini"});

  // A file with another link is rewritten in place: both names see the new content.
  ASSERT_EQ(::link(path.c_str(), dir.File("other").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomic(path, "shared"));
  EXPECT_EQ(Slurp(dir.File("other")), "shared");
  EXPECT_EQ(Names(dir.Folder()), (std::vector<std::string>{"Kotonel.ini", "other"}));
}

TEST(AtomicWrite, NeverFollowsWhatSomeoneElsePlanted) {
  TempFolder dir;
  std::string victim = dir.File("victim"), path = dir.File("Kotonel.hwnd");
  dir.Write("victim", "precious");
  // The name the old writer used for its temporary file, planted as a link to the victim.
  ASSERT_EQ(::symlink(victim.c_str(), (path + ".tmp").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomic(path, "/run/socket\r\n"));
  EXPECT_EQ(Slurp(victim), "precious");
  EXPECT_TRUE(S_ISLNK(ModeOf(path + ".tmp")));
  EXPECT_EQ(Slurp(path), "/run/socket\r\n");

  // A link at the target itself made by another user is not followed.
  std::string planted = dir.File("planted.ini");
  ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
  if (::lchown(planted.c_str(), 65534, 65534) == 0) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(planted, "evil", &error));
    EXPECT_NE(error.find("another user"), std::string::npos) << error;
    EXPECT_EQ(Slurp(victim), "precious");
    EXPECT_TRUE(S_ISLNK(ModeOf(planted)));
  }
  // The user's own link: the file it points to is replaced, the link stays a link.
  std::string mine = dir.File("mine.wav");
  ASSERT_EQ(::symlink("victim", mine.c_str()), 0);
  ASSERT_EQ(::chmod(victim.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomic(mine, "new"));
  EXPECT_TRUE(S_ISLNK(ModeOf(mine)));
  EXPECT_EQ(Slurp(victim), "new");
  EXPECT_EQ(ModeOf(victim) & 0777, 0640u);
}

TEST(AtomicWrite, RefusesWhatCannotBeWrittenAndSaysWhy) {
  TempFolder dir;
  std::string error;
  dir.Write("ro.wav", "keep");
  ASSERT_EQ(::chmod(dir.File("ro.wav").c_str(), 0444), 0);
  EXPECT_FALSE(WriteFileAtomic(dir.File("ro.wav"), "x", &error));
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(Slurp(dir.File("ro.wav")), "keep");

  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/folder/x"), "x", &error));
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  EXPECT_FALSE(WriteFileAtomic(dir.Folder(), "x", &error));
  EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
  EXPECT_FALSE(WriteFileAtomic("", "x", &error));
  EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"ro.wav"});

  // A folder refused for the user's protection gets nothing at all.
  TempFolder shared;
  RefuseWritesInto(shared.Folder(), "the folder may be written by other users");
  EXPECT_FALSE(WriteFileAtomic(shared.File("Kotonel.ini"), "x", &error));
  EXPECT_NE(error.find("other users"), std::string::npos) << error;
  EXPECT_FALSE(WriteBytes(shared.File("b"), Bytes{'x'}, 3));
  EXPECT_TRUE(fs::is_empty(shared.Folder()));
}

TEST(AtomicWrite, DevicesAndFifosAreWrittenThroughNotReplaced) {
  TempFolder dir;
  std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // The reader is there first (without blocking), as a FIFO's reader would be.
  int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(WriteFileAtomic(fifo, "through the pipe"));
  char buf[64] = {};
  ssize_t n = ::read(reader, buf, sizeof buf);
  ::close(reader);
  EXPECT_EQ(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0), "through the pipe");
  // Stops here if the FIFO was replaced: a device must never be put at risk the same way.
  ASSERT_TRUE(S_ISFIFO(ModeOf(fifo)));

  std::string full = dir.File("full");  // a private /dev/full
  if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) GTEST_SKIP() << "no mknod";
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(full, "x", &error));
  EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
  EXPECT_TRUE(S_ISCHR(ModeOf(full)));
}

TEST(TemporaryFiles, OnlyOurOwnLeftoversOfFinishedProcessesAreRemoved) {
  TempFolder dir;
  dir.Write("Kotonel.ini", "settings");
  // A write cut off by a kill: the process is gone, its temporary file stays behind.
  pid_t child = ::fork();
  if (child == 0) {
    OutputFile out;
    _exit(out.Open(dir.File("Kotonel.ini")) && out.Write("half", 4) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  // One of a process still writing, others' files, and an old-style name.
  OutputFile live;
  ASSERT_TRUE(live.Open(dir.File("live.wav")));
  for (const char* name : {"other.tmp", "Kotonel.ini.tmp", ".x.kotonel-1-abc.tmp"})
    dir.Write(name, "not ours");
  std::vector<std::string> before = Names(dir.Folder());
  ASSERT_EQ(before.size(), 6u);
  int ours = 0;
  for (const auto& name : before) ours += IsOurTemporaryName(name);
  EXPECT_EQ(ours, 2);

  RemoveLeftoverTemporaryFiles(dir.Folder());
  std::vector<std::string> after = Names(dir.Folder());
  EXPECT_EQ(after.size(), 5u);
  for (const auto& name : after)
    EXPECT_TRUE(!IsOurTemporaryName(name) ||
                name.find(std::to_string(::getpid())) != std::string::npos)
        << name;
  EXPECT_EQ(Slurp(dir.File("Kotonel.ini")), "settings");  // never promoted
  EXPECT_EQ(Slurp(dir.File("other.tmp")), "not ours");
  live.Discard();
  EXPECT_EQ(Names(dir.Folder()).size(), 4u);
}

TEST(SettingsFolder, OthersMayWriteIntoIt) {
  TempFolder dir;
  std::string f = dir.Folder();
  ASSERT_EQ(::chmod(f.c_str(), 0700), 0);
  EXPECT_FALSE(OthersMayWriteInto(f));
  ASSERT_EQ(::chmod(f.c_str(), 0757), 0);
  EXPECT_TRUE(OthersMayWriteInto(f));
  ASSERT_EQ(::chmod(f.c_str(), 01777), 0);  // sticky: others cannot replace the user's files
  EXPECT_FALSE(OthersMayWriteInto(f));
  // A group of several people (not the user's own private group).
  if (const struct group* users = ::getgrnam("users");
      users && ::chown(f.c_str(), static_cast<uid_t>(-1), users->gr_gid) == 0) {
    ASSERT_EQ(::chmod(f.c_str(), 0770), 0);
    EXPECT_TRUE(OthersMayWriteInto(f));
  }
  ASSERT_EQ(::chmod(f.c_str(), 0700), 0);
  if (::geteuid() == 0 && ::chown(f.c_str(), 65534, static_cast<gid_t>(-1)) == 0) {
    EXPECT_TRUE(OthersMayWriteInto(f));  // someone else's folder
    ASSERT_EQ(::chown(f.c_str(), 0, static_cast<gid_t>(-1)), 0);
  }
}

}  // namespace
}  // namespace kotonel
