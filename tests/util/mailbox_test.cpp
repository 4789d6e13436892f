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
  ASSERT_TRUE(receiver.Open(handle));
  std::string killed = receiver.SocketPath();
  {
    MailboxReceiver next(clock);
    ASSERT_TRUE(next.Open(handle));  // takes over while the old one still has its folder
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
