// One reading instance per user, and the mailbox through which later starts hand their command
// lines to it.
//
// The first instance holds an flock on a lock file for its whole life; the kernel drops the lock
// when the process ends, however it ends, so a crash never blocks the next start. The mailbox is
// a Unix-domain socket in a folder only the user can enter; the handle file names it. A sender
// connects, offers its command line and waits for the answer; the receiver takes the text only
// when its mailbox is empty, in the same step in which it answers, so no command line is ever
// overwritten or delivered twice. Nothing here starts a thread: the receiver is polled from the
// window's timer and the engine's Wait, the sender from its own timer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/clock.h"

namespace kotonel {

// The lock file that tells the first instance from the later ones.
class InstanceLock {
 public:
  InstanceLock() = default;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock() { Release(); }

  enum class Result { Acquired, Busy, Failed };
  // Takes the lock on path (created when missing). A lock file that cannot be made (a read-only
  // or full folder) is locked read-only when it exists, else the folder itself is locked, so
  // starts still tell each other apart. Busy when another process holds it; Failed when nothing
  // can be locked at all; Problem() then says why.
  Result Acquire(const std::string& path);
  bool Held() const { return fd_ >= 0; }
  void Release();
  const std::string& Problem() const { return problem_; }

 private:
  int fd_ = -1;
  std::string problem_;
};

// A command line as it travels: the text and the working folder of the process that sent it,
// so that file names in it mean what they meant to the sender.
struct MailItem {
  std::u32string text;
  std::string folder;  // absolute, with a trailing '/'; empty when unknown
};

// The receiving end, owned by the first instance.
class MailboxReceiver {
 public:
  explicit MailboxReceiver(Clock& clock = SystemClock()) : clock_(clock) {}
  MailboxReceiver(const MailboxReceiver&) = delete;
  MailboxReceiver& operator=(const MailboxReceiver&) = delete;
  ~MailboxReceiver() { Close(); }

  // Opens the socket in a new private folder and publishes its path in handleFile. An older
  // handle file is replaced and the socket it names, left by a receiver that was killed, taken
  // away; so only the holder of the instance lock may call this. False when the socket or the
  // handle file could not be made; Problem() then says why.
  bool Open(const std::string& handleFile);
  const std::string& Problem() const { return problem_; }
  bool IsOpen() const { return listener_ >= 0; }
  // Deletes the handle file (when it still names this mailbox), the socket and its folder.
  void Close();

  // Accepts waiting senders and answers every complete offer: taken when the mailbox was empty.
  // Never blocks.
  void Poll();

  const MailItem& Mailbox() const { return mailbox_; }
  bool Empty() const { return mailbox_.text.empty(); }
  void SetMailbox(MailItem item) { mailbox_ = std::move(item); }
  // The mailbox's content; the mailbox is empty afterwards.
  MailItem Take();

  const std::string& SocketPath() const { return socketPath_; }
  // The socket's descriptor, for an event loop that wants to poll as soon as a sender knocks.
  int ListenerFd() const { return listener_; }

  // A sender that has not finished its offer within this time is dropped.
  static constexpr uint64_t kStallMs = 10000;
  // Largest offer accepted; a command line on Linux is at most 2 MiB.
  static constexpr uint32_t kMaxBytes = 4u << 20;

 private:
  struct Connection {
    int fd = -1;
    std::string data;
    uint64_t lastActivity = 0;
  };
  // True when the connection is finished with (answered, broken or stalled).
  bool Serve(Connection& c);

  Clock& clock_;
  int listener_ = -1;
  std::string folder_;
  std::string socketPath_;
  std::string handleFile_;
  std::vector<Connection> connections_;
  MailItem mailbox_;
  std::string problem_;
};

// The sending end: a later start that hands its command line over.
class MailboxSender {
 public:
  enum class State { Offering, Delivered, GaveUp };

  MailboxSender(std::string handleFile, MailItem item, Clock& clock = SystemClock());
  MailboxSender(const MailboxSender&) = delete;
  MailboxSender& operator=(const MailboxSender&) = delete;
  ~MailboxSender();

  // Starts the deadline: the sender gives up this long after it begins to wait.
  void Start();
  // Waits for the handle file, checking every 100 ms and letting pump run, until it exists (true)
  // or the deadline passes (false). Gives up at once when the handle file can never come (its
  // folder cannot be written), with Problem() saying so.
  bool WaitForReceiver(const MessagePump& pump);
  // One timer tick: reads the answer to an offer in flight, or makes a new offer when there is
  // none. Never blocks. A handle file, socket or receiver that is not this user's own ends the
  // sending at once (GaveUp, with Problem() saying why): the command line goes to nobody else.
  State Tick();
  State CurrentState() const { return state_; }
  uint64_t Deadline() const { return deadline_; }
  // Why the sender gave up early; empty when it did not, or only ran out of time.
  const std::string& Problem() const { return problem_; }

  static constexpr uint32_t kTimeoutMs = 300000;
  static constexpr uint32_t kTickMs = 500;

 private:
  void Drop();
  State Refuse(std::string problem);

  std::string handleFile_;
  std::string message_;
  Clock& clock_;
  uint64_t deadline_ = 0;
  int fd_ = -1;
  size_t sent_ = 0;
  State state_ = State::Offering;
  std::string problem_;
};

// Largest handle file read; a socket path is far shorter.
constexpr size_t kMaxHandleFileBytes = 4096;

// The socket path in the text of a handle file: the first line after leading blanks, when it
// is an absolute path; else empty.
std::string ParseHandleFile(std::string_view data);
// The socket path named in a handle file, or empty when there is none. Only a small regular
// file is read, without following a symbolic link and without waiting on a named pipe.
std::string ReadHandleFile(const std::string& handleFile);

// What a sender finds at the handle file before it trusts it.
struct HandleFileCheck {
  enum Verdict {
    Missing,    // no handle file: no receiver has published one (yet)
    Stale,      // names no socket that exists: a receiver that is gone; a new one may replace it
    Untrusted,  // not this user's own, or writable by others: never to be sent to
    Usable,
  };
  Verdict verdict = Missing;
  std::string socketPath;
  std::string problem;  // for Untrusted: why, for the user
};
// The handle file and the socket's folder must be this user's own and writable by nobody else;
// the handle file a small regular file, the socket a socket of this user.
HandleFileCheck CheckHandleFile(const std::string& handleFile);
// Hands item over through the handle file: waits for a receiver and offers every 500 ms, with
// the clock's sleeps in between, until it is taken (true) or 300 seconds have passed (false).
bool SendCommandLine(const std::string& handleFile, const MailItem& item, Clock& clock,
                     const MessagePump& pump);
// The working folder of this process, with a trailing '/'.
std::string CurrentFolder();

}  // namespace kotonel
