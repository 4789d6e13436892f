#include "util/mailbox.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "util/files.h"

namespace kotonel {
namespace {

namespace fs = std::filesystem;

std::string ReadRaw(const std::string& path) {
  std::string data;
  ReadWholeFile(path, data);
  return data;
}

// A raw client, for offers the real sender never makes.
int ConnectTo(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.data(), path.size());
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// A socket file nobody listens on, as a receiver that was killed leaves it.
void BindDeadSocket(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.data(), path.size());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);
}

using State = MailboxSender::State;
using Lock = InstanceLock::Result;

TEST(InstanceLock, OneHolderAtATimeAndACrashFreesIt) {
  test::TempFolder dir;
  std::string path = dir.File("Kotonel.lock");
  {
    InstanceLock first, second;
    EXPECT_EQ(first.Acquire(path), Lock::Acquired);
    EXPECT_EQ(second.Acquire(path), Lock::Busy);
    EXPECT_FALSE(second.Held());
    first.Release();
    EXPECT_EQ(second.Acquire(path), Lock::Acquired);
  }
  EXPECT_TRUE(fs::exists(path));  // the file stays; only the lock goes

  // A holder killed without any clean-up does not block the next start.
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstanceLock lock;
    char ok = lock.Acquire(path) == Lock::Acquired ? 1 : 0;
    [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
    ::pause();
    ::_exit(0);
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 1);
  InstanceLock lock;
  EXPECT_EQ(lock.Acquire(path), Lock::Busy);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(lock.Acquire(path), Lock::Acquired);
  ::close(ready[0]);
  ::close(ready[1]);

  InstanceLock nowhere;
  EXPECT_EQ(nowhere.Acquire(dir.File("missing/Kotonel.lock")), Lock::Failed);
}

TEST(Mailbox, HandleFileLifecycleAndPrivateFolder) {
  test::TempFolder dir;
  std::string handle = dir.File("Kotonel.hwnd");
  std::ofstream(handle) << "/nowhere/old\r\n";  // left behind by a crash
  VirtualClock clock;
  MailboxReceiver receiver(clock);
  ASSERT_TRUE(receiver.Open(handle));
  std::string socket = receiver.SocketPath();
  EXPECT_EQ(ReadRaw(handle), socket + "\r\n");
  EXPECT_EQ(ReadHandleFile(handle), socket);
  EXPECT_FALSE(fs::exists(handle + ".tmp"));
  struct stat st;
  ASSERT_EQ(::stat(FolderOf(socket).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A sender leaves the handle file alone.
  MailboxSender sender(handle, {U"a", ""}, clock);
  sender.Start();
  EXPECT_EQ(sender.Tick(), State::Offering);
  receiver.Poll();
  EXPECT_EQ(sender.Tick(), State::Delivered);
  EXPECT_EQ(ReadRaw(handle), socket + "\r\n");

  receiver.Close();
  EXPECT_FALSE(fs::exists(handle));
  EXPECT_FALSE(fs::exists(FolderOf(socket)));

  // A receiver that was killed leaves its handle file and socket; the next one takes both away,
  // but nothing that does not look like its own.
  fs::create_directory(dir.File("kotonel-abc123"));
  std::string killed = dir.File("kotonel-abc123/mailbox");
  BindDeadSocket(killed);
  std::ofstream(handle) << killed << "\r\n";
  {
    MailboxReceiver next(clock);
    ASSERT_TRUE(next.Open(handle));
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_FALSE(fs::exists(FolderOf(killed)));
    EXPECT_EQ(ReadHandleFile(handle), next.SocketPath());
  }
  receiver.Close();
  fs::create_directory(dir.File("kotonel-keepme"));
  std::ofstream(dir.File("kotonel-keepme/mailbox")) << "a plain file";
  std::ofstream(handle) << dir.File("kotonel-keepme/mailbox") << "\r\n";
  ASSERT_TRUE(receiver.Open(handle));
  EXPECT_TRUE(fs::exists(dir.File("kotonel-keepme/mailbox")));
  receiver.Close();

  // A handle file that names another receiver is not ours to delete.
  ASSERT_TRUE(receiver.Open(handle));
  std::ofstream(handle) << "/somewhere/else\r\n";
  receiver.Close();
  EXPECT_TRUE(fs::exists(handle));

  // Readers take the path after leading blanks, up to the line end.
  std::ofstream(handle) << "  /run/x/mailbox\r\nrest";
  EXPECT_EQ(ReadHandleFile(handle), "/run/x/mailbox");
  std::ofstream(handle) << "12345\r\n";
  EXPECT_EQ(ReadHandleFile(handle), "");
  EXPECT_EQ(ReadHandleFile(dir.File("missing.hwnd")), "");
}

TEST(Mailbox, TakesAnOfferOnlyIntoAnEmptyMailbox) {
  test::TempFolder dir;
  std::string handle = dir.File("Kotonel.hwnd");
  VirtualClock clock;
  MailboxReceiver receiver(clock);
  ASSERT_TRUE(receiver.Open(handle));
  receiver.SetMailbox({U"first's own", "/home/a/"});

  MailboxSender sender(handle, {U"読んで /s:150", "/home/b/"}, clock);
  sender.Start();
  EXPECT_EQ(sender.Tick(), State::Offering);
  receiver.Poll();
  EXPECT_EQ(receiver.Mailbox().text, U"first's own");  // never overwritten
  EXPECT_EQ(sender.Tick(), State::Offering);           // answered busy: offers again
  EXPECT_EQ(receiver.Take().text, U"first's own");
  EXPECT_TRUE(receiver.Empty());
  receiver.Poll();
  EXPECT_TRUE(receiver.Empty());  // the busy offer was closed; nothing arrives twice
  EXPECT_EQ(sender.Tick(), State::Offering);
  receiver.Poll();
  EXPECT_EQ(sender.Tick(), State::Delivered);
  MailItem got = receiver.Take();
  EXPECT_EQ(got.text, U"読んで /s:150");
  EXPECT_EQ(got.folder, "/home/b/");
  EXPECT_EQ(sender.Tick(), State::Delivered);

  // Two senders at once: one is taken, the other is told to wait; both get through once.
  MailboxSender a(handle, {U"A", ""}, clock), b(handle, {U"B", ""}, clock);
  a.Start();
  b.Start();
  a.Tick();
  b.Tick();
  receiver.Poll();
  EXPECT_EQ(receiver.Take().text, U"A");
  EXPECT_EQ(a.Tick(), State::Delivered);
  EXPECT_EQ(b.Tick(), State::Offering);
  receiver.Poll();
  EXPECT_TRUE(receiver.Empty());
  b.Tick();
  receiver.Poll();
  EXPECT_EQ(receiver.Take().text, U"B");
  EXPECT_EQ(b.Tick(), State::Delivered);
}

TEST(Mailbox, BrokenAndStalledOffersAreDropped) {
  test::TempFolder dir;
  std::string handle = dir.File("Kotonel.hwnd");
  VirtualClock clock;
  MailboxReceiver receiver(clock);
  ASSERT_TRUE(receiver.Open(handle));

  int cut = ConnectTo(receiver.SocketPath());  // half an offer, then gone
  ASSERT_GE(cut, 0);
  ASSERT_EQ(::send(cut, "KTN1\x05\x00", 6, 0), 6);
  ::close(cut);
  int junk = ConnectTo(receiver.SocketPath());
  ASSERT_EQ(::send(junk, "GET / HTTP/1.0\r\n", 16, 0), 16);
  int stalled = ConnectTo(receiver.SocketPath());
  ASSERT_EQ(::send(stalled, "KTN1", 4, 0), 4);
  receiver.Poll();
  EXPECT_TRUE(receiver.Empty());
  char answer;
  EXPECT_EQ(::recv(junk, &answer, 1, 0), 0);  // closed without an answer
  ::close(junk);

  // The stalled one does not hold up a real sender...
  MailboxSender sender(handle, {U"ok", ""}, clock);
  sender.Start();
  sender.Tick();
  receiver.Poll();
  EXPECT_EQ(sender.Tick(), State::Delivered);
  EXPECT_EQ(receiver.Take().text, U"ok");
  // ...and is closed once it has been silent too long.
  clock.Advance(MailboxReceiver::kStallMs);
  receiver.Poll();
  EXPECT_EQ(::recv(stalled, &answer, 1, 0), 0);
  ::close(stalled);
}

TEST(Mailbox, SenderOutlivesAStaleHandleFileUntilTheDeadline) {
  test::TempFolder dir;
  std::string handle = dir.File("Kotonel.hwnd");
  VirtualClock clock;
  // A receiver that crashed: its handle file and socket file remain, nobody listens.
  std::string dead = dir.File("dead.sock");
  {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr = {};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, dead.data(), dead.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
  }
  std::ofstream(handle) << dead << "\r\n";

  MailboxSender sender(handle, {U"late", ""}, clock);
  sender.Start();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(sender.Tick(), State::Offering);
    clock.Advance(MailboxSender::kTickMs);
  }
  // A new first instance replaces the stale file; the sender finds it on its next offer.
  MailboxReceiver receiver(clock);
  ASSERT_TRUE(receiver.Open(handle));
  sender.Tick();
  receiver.Poll();
  EXPECT_EQ(sender.Tick(), State::Delivered);
  EXPECT_EQ(receiver.Take().text, U"late");
  receiver.Close();

  // Nobody ever answers: the sender gives up 300 seconds after it began.
  std::ofstream(handle) << dead << "\r\n";
  MailboxSender lost(handle, {U"lost", ""}, clock);
  lost.Start();
  uint64_t start = clock.NowMs();
  while (lost.Tick() == State::Offering) clock.Advance(MailboxSender::kTickMs);
  EXPECT_EQ(clock.NowMs() - start, MailboxSender::kTimeoutMs);
  EXPECT_EQ(lost.CurrentState(), State::GaveUp);

  // An offer in flight to a receiver that never polls is given up at the deadline as well.
  MailboxReceiver silent(clock);
  ASSERT_TRUE(silent.Open(handle));
  MailboxSender waiting(handle, {U"w", ""}, clock);
  waiting.Start();
  EXPECT_EQ(waiting.Tick(), State::Offering);
  clock.Advance(MailboxSender::kTimeoutMs);
  EXPECT_EQ(waiting.Tick(), State::GaveUp);
}

TEST(Mailbox, SenderWaitsForTheHandleFileOnTheClock) {
  test::TempFolder dir;
  std::string handle = dir.File("Kotonel.hwnd");
  VirtualClock clock;
  MailboxReceiver receiver(clock);
  int pumps = 0;
  uint64_t start = clock.NowMs();
  clock.onSleep = [&](uint64_t now) {
    if (now - start == 2000) {
      ASSERT_TRUE(receiver.Open(handle));
    }
    receiver.Poll();
  };
  EXPECT_TRUE(SendCommandLine(handle, {U"こんにちは", CurrentFolder()}, clock, [&] { ++pumps; }));
  EXPECT_GE(clock.NowMs() - start, 2000u);
  EXPECT_LT(clock.NowMs() - start, 3200u);
  EXPECT_GT(pumps, 0);
  MailItem got = receiver.Take();
  EXPECT_EQ(got.text, U"こんにちは");
  EXPECT_EQ(got.folder, CurrentFolder());
  receiver.Close();

  // No receiver ever: false after exactly the deadline, with the pump run throughout.
  clock.onSleep = nullptr;
  start = clock.NowMs();
  MailboxSender sender(dir.File("none.hwnd"), {U"x", ""}, clock);
  sender.Start();
  EXPECT_FALSE(sender.WaitForReceiver([&] { ++pumps; }));
  EXPECT_GE(clock.NowMs() - start, MailboxSender::kTimeoutMs);
  EXPECT_LT(clock.NowMs() - start, MailboxSender::kTimeoutMs + 200);
}

}  // namespace
}  // namespace kotonel

namespace kotonel {
namespace {

// A sender offered to whatever the handle file named: with a folder others can write into,
// another user could have captured every command line.
TEST(MailboxTrust, SendsOnlyToThisUsersOwnHandleFileFolderAndReceiver) {
  test::TempFolder dir;
  std::string handle = dir.File("Kotonel.hwnd");
  VirtualClock clock;
  MailboxReceiver receiver(clock);
  ASSERT_TRUE(receiver.Open(handle));
  std::string folder = FolderOf(receiver.SocketPath());
  folder.pop_back();
  struct stat st;
  ASSERT_EQ(::stat(handle.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);  // the handle file is the user's alone

  // Each one is refused at once, with the reason, and nothing reaches the receiver.
  auto refused = [&](const char* what) {
    MailboxSender sender(handle, {U"secret", ""}, clock);
    sender.Start();
    State state = sender.Tick();
    receiver.Poll();
    EXPECT_EQ(state, State::GaveUp) << what;
    EXPECT_FALSE(sender.Problem().empty()) << what;
    EXPECT_TRUE(receiver.Empty()) << what;
    EXPECT_EQ(CheckHandleFile(handle).verdict, HandleFileCheck::Untrusted) << what;
  };
  ::chmod(handle.c_str(), 0620);
  refused("handle file writable by the group");
  ::chmod(handle.c_str(), 0602);
  refused("handle file writable by anybody");
  ::chmod(handle.c_str(), 0600);
  ::chmod(folder.c_str(), 0777);
  refused("socket folder writable by anybody");
  ::chmod(folder.c_str(), 0700);
  std::string real = dir.File("real.hwnd");
  fs::rename(handle, real);
  fs::create_symlink(real, handle);
  refused("handle file that is a symbolic link");
  fs::remove(handle);
  fs::rename(real, handle);

  if (::geteuid() == 0) {
    const uid_t other = 65534;
    ASSERT_EQ(::chown(handle.c_str(), other, other), 0);
    refused("handle file of another user");
    ASSERT_EQ(::chown(handle.c_str(), 0, 0), 0);
    ASSERT_EQ(::chown(folder.c_str(), other, other), 0);
    refused("socket folder of another user");
    ASSERT_EQ(::chown(folder.c_str(), 0, 0), 0);

    // A listener of another user behind a socket in a folder of ours: the peer's uid tells.
    std::string otherSocket = dir.File("theirs");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un addr = {};
      addr.sun_family = AF_UNIX;
      std::memcpy(addr.sun_path, otherSocket.data(), otherSocket.size());
      char ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                        ::setuid(other) == 0 && ::listen(fd, 8) == 0
                    ? 1
                    : 0;
      [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
      ::pause();
      ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);
    std::ofstream(handle) << otherSocket << "\r\n";
    MailboxSender sender(handle, {U"secret", ""}, clock);
    sender.Start();
    EXPECT_EQ(sender.Tick(), State::GaveUp);
    EXPECT_NE(sender.Problem().find("another user"), std::string::npos) << sender.Problem();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    std::ofstream(handle) << receiver.SocketPath() << "\r\n";
  }

  // All put right: delivered.
  MailboxSender sender(handle, {U"fine", ""}, clock);
  sender.Start();
  sender.Tick();
  receiver.Poll();
  EXPECT_EQ(sender.Tick(), State::Delivered);
  EXPECT_EQ(receiver.Take().text, U"fine");
}

// A handle file that is a named pipe held the start forever; a link to /dev/zero was read
// without end.
TEST(MailboxTrust, OnlyASmallRegularHandleFileIsRead) {
  test::TempFolder dir;
  std::string handle = dir.File("Kotonel.hwnd");
  VirtualClock clock;
  auto check = [&](const char* what) {
    EXPECT_EQ(ReadHandleFile(handle), "") << what;
    EXPECT_EQ(CheckHandleFile(handle).verdict, HandleFileCheck::Untrusted) << what;
    MailboxSender sender(handle, {U"x", ""}, clock);
    sender.Start();
    EXPECT_TRUE(sender.WaitForReceiver(nullptr)) << what;  // something is there at once
    EXPECT_EQ(sender.Tick(), State::GaveUp) << what;       // and is refused, not waited on
    fs::remove_all(handle);
  };
  ASSERT_EQ(::mkfifo(handle.c_str(), 0600), 0);
  check("named pipe");
  fs::create_symlink("/dev/zero", handle);
  check("link to /dev/zero");
  fs::create_directory(handle);
  check("folder");
  std::ofstream(handle) << "/run/x/mailbox\r\n" << std::string(1 << 20, ' ');
  check("a megabyte");

  // A folder in the handle file's place: the receiver says why it cannot publish, and nothing
  // is thrown.
  fs::create_directory(handle);
  MailboxReceiver receiver(clock);
  EXPECT_FALSE(receiver.Open(handle));
  EXPECT_NE(receiver.Problem().find("Kotonel.hwnd"), std::string::npos) << receiver.Problem();
  EXPECT_TRUE(fs::is_directory(handle));

  // The text of a handle file: the first line, an absolute path, nothing else.
  EXPECT_EQ(ParseHandleFile(" \t/a/b\r\n/c"), "/a/b");
  EXPECT_EQ(ParseHandleFile("/a/b"), "/a/b");
  EXPECT_EQ(ParseHandleFile("a/b\r\n"), "");
  EXPECT_EQ(ParseHandleFile(std::string("/a\0b", 4)), "");
  EXPECT_EQ(ParseHandleFile(""), "");
}

// Copying the settings folder while an instance runs, then starting from the copy, took the
// running instance's socket away.
TEST(MailboxTrust, ALiveReceiverNamedByACopiedHandleFileKeepsItsSocket) {
  test::TempFolder live, copy;
  VirtualClock clock;
  MailboxReceiver running(clock);
  ASSERT_TRUE(running.Open(live.File("Kotonel.hwnd")));
  fs::copy_file(live.File("Kotonel.hwnd"), copy.File("Kotonel.hwnd"));
  {
    MailboxReceiver fromCopy(clock);
    ASSERT_TRUE(fromCopy.Open(copy.File("Kotonel.hwnd")));
    EXPECT_TRUE(fs::exists(running.SocketPath()));
    EXPECT_EQ(ReadHandleFile(copy.File("Kotonel.hwnd")), fromCopy.SocketPath());
  }
  MailboxSender sender(live.File("Kotonel.hwnd"), {U"still here", ""}, clock);
  sender.Start();
  sender.Tick();
  running.Poll();
  EXPECT_EQ(sender.Tick(), State::Delivered);
  EXPECT_EQ(running.Take().text, U"still here");
}

// Without a lock file (a read-only settings folder) every start used to read aloud on its own.
TEST(InstanceLockFallback, StartsAreToldApartWhereNoLockFileCanBeMade) {
  test::TempFolder dir;
  // A lock file that cannot be made: the folder itself is locked.
  std::string dangling = dir.File("Kotonel.lock");
  fs::create_symlink(dir.File("nowhere/x"), dangling);
  {
    InstanceLock first, second;
    EXPECT_EQ(first.Acquire(dangling), Lock::Acquired);
    EXPECT_EQ(second.Acquire(dangling), Lock::Busy);
    EXPECT_FALSE(fs::exists(dir.File("nowhere")));  // the link was not followed
  }
  fs::remove(dangling);
  // A folder in the lock file's place is locked as it is.
  fs::create_directory(dangling);
  {
    InstanceLock first, second;
    EXPECT_EQ(first.Acquire(dangling), Lock::Acquired);
    EXPECT_EQ(second.Acquire(dangling), Lock::Busy);
  }
  // Nothing at all to lock: Failed, and why.
  InstanceLock none;
  EXPECT_EQ(none.Acquire(dir.File("missing/Kotonel.lock")), Lock::Failed);
  EXPECT_NE(none.Problem().find("Kotonel.lock"), std::string::npos) << none.Problem();

  // A sender whose running instance can never publish (nothing can be made in the folder)
  // gives up at once and says why, instead of waiting 300 seconds.
  VirtualClock clock;
  MailboxSender sender("/proc/self/Kotonel.hwnd", {U"x", ""}, clock);
  sender.Start();
  uint64_t start = clock.NowMs();
  EXPECT_FALSE(sender.WaitForReceiver(nullptr));
  EXPECT_LT(clock.NowMs() - start, 1000u);
  EXPECT_EQ(sender.CurrentState(), State::GaveUp);
  EXPECT_NE(sender.Problem().find("/proc/self"), std::string::npos) << sender.Problem();
}

}  // namespace
}  // namespace kotonel
