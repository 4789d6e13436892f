#include "util/mailbox.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "util/encoding.h"
#include "util/files.h"

namespace kotonel {

namespace {

// An offer: magic, then the folder and the text, each as a 32-bit little-endian length and
// UTF-8 bytes. The answer is one byte.
constexpr char kMagic[4] = {'K', 'T', 'N', '1'};
constexpr size_t kHeader = sizeof kMagic + 4;
constexpr char kTaken = 'Y';
constexpr char kBusy = 'N';

void PutLength(std::string& out, size_t n) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
}

uint32_t GetLength(const std::string& in, size_t at) {
  uint32_t n = 0;
  for (int i = 0; i < 4; ++i)
    n |= static_cast<uint32_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
  return n;
}

std::string EncodeOffer(const MailItem& item) {
  std::string text = ToUtf8(item.text);
  std::string out(kMagic, sizeof kMagic);
  PutLength(out, item.folder.size());
  out += item.folder;
  PutLength(out, text.size());
  out += text;
  return out;
}

enum class Parse { Incomplete, Complete, Invalid };

// Checks the bytes received so far; fills item once the offer is complete.
Parse DecodeOffer(const std::string& data, MailItem& item) {
  size_t have = std::min(data.size(), sizeof kMagic);
  if (std::memcmp(data.data(), kMagic, have) != 0) return Parse::Invalid;
  if (data.size() < kHeader) return Parse::Incomplete;
  uint32_t folderSize = GetLength(data, sizeof kMagic);
  if (folderSize > MailboxReceiver::kMaxBytes) return Parse::Invalid;
  size_t textAt = kHeader + folderSize + 4;
  if (data.size() < textAt) return Parse::Incomplete;
  uint32_t textSize = GetLength(data, textAt - 4);
  if (textSize > MailboxReceiver::kMaxBytes) return Parse::Invalid;
  if (data.size() < textAt + textSize) return Parse::Incomplete;
  if (data.size() > textAt + textSize) return Parse::Invalid;
  item.folder = data.substr(kHeader, folderSize);
  item.text = FromUtf8(std::string_view(data).substr(textAt, textSize));
  return Parse::Complete;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

bool FillAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.data(), path.size());
  return true;
}

// A new folder that only this user can enter, for the socket. The runtime folder first (it is
// private already and emptied at logout), else the temporary folder.
std::string MakePrivateFolder() {
  constexpr size_t kRoom = sizeof(sockaddr_un{}.sun_path) - sizeof "/kotonel-XXXXXX/mailbox";
  std::vector<std::string> bases;
  for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"})
    if (const char* dir = std::getenv(name); dir && *dir) bases.emplace_back(dir);
  bases.emplace_back("/tmp");
  for (std::string base : bases) {
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (base.size() > kRoom || !IsDirectory(base)) continue;
    std::string pattern = base + "/kotonel-XXXXXX";
    if (::mkdtemp(pattern.data())) return pattern;  // mkdtemp makes it with mode 0700
  }
  return std::string();
}

// Whether anybody listens on the socket at path. Only a refused connection means nobody does: a
// handle file copied with its folder names a receiver that is very much alive.
bool NobodyListens(const std::string& socketPath) {
  sockaddr_un addr;
  if (!FillAddress(socketPath, addr)) return false;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  int rc;
  do {
    rc = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  } while (rc != 0 && errno == EINTR);
  bool refused = rc != 0 && errno == ECONNREFUSED;
  ::close(fd);
  return refused;
}

// Takes away the socket and folder of a receiver that ended without closing (it was killed),
// as named by its handle file: only a socket called "mailbox" alone in a folder of ours that
// looks like one this program makes, and only when nobody listens on it any more.
void RemoveStaleMailbox(const std::string& socketPath) {
  std::string folder = FolderOf(socketPath);
  if (folder.size() < 2 || FileNameOf(socketPath) != "mailbox") return;
  folder.pop_back();
  std::string name = FileNameOf(folder);
  if (name.size() != sizeof "kotonel-XXXXXX" - 1 || name.rfind("kotonel-", 0) != 0) return;
  struct stat st;
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return;
  if (::lstat(socketPath.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid())
    return;
  if (!NobodyListens(socketPath)) return;
  ::unlink(socketPath.c_str());
  ::rmdir(folder.c_str());  // fails, harmlessly, when anything else is inside
}

bool PeerIsThisUser(int fd) {
  ucred cred = {};
  socklen_t size = sizeof cred;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0) return false;
  return cred.uid == ::geteuid();
}

std::string ErrnoText(int error) {
  return std::strerror(error);
}

// Writes the handle file whole, readable and writable by this user alone: a temporary file
// made exclusively beside it (no link followed), synced, then renamed over it.
bool WriteHandleFile(const std::string& path, const std::string& text, std::string& problem) {
  std::string temp = path + ".XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);  // O_EXCL, mode 0600
  if (fd < 0) {
    problem = path + ": " + ErrnoText(errno);
    return false;
  }
  size_t done = 0;
  bool ok = true;
  while (ok && done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n > 0)
      done += static_cast<size_t>(n);
    else if (n < 0 && errno == EINTR)
      continue;
    else
      ok = false;
  }
  ok = ok && ::fsync(fd) == 0;
  int error = errno;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    problem = path + ": " + ErrnoText(error);
    ::unlink(temp.c_str());
  }
  return ok;
}

// The folder part of a path without its trailing '/', "/" for the root, "." for a bare name.
std::string FolderNoSlash(const std::string& path) {
  std::string folder = FolderOf(path);
  if (folder.empty()) return ".";
  if (folder.size() > 1) folder.pop_back();
  return folder;
}

// Why files can never be made in folder (read-only, no room left), or empty when they can.
std::string CannotWriteIn(const std::string& folder) {
  if (::access(folder.c_str(), W_OK) != 0) return folder + ": " + ErrnoText(errno);
  struct statvfs fs;
  // Some file systems report no inode counts at all (f_files 0): that is not "full".
  if (::statvfs(folder.c_str(), &fs) == 0 && fs.f_blocks > 0 &&
      (fs.f_bavail == 0 || (fs.f_files > 0 && fs.f_favail == 0)))
    return folder + ": " + ErrnoText(ENOSPC);
  return std::string();
}

}  // namespace

// ---------------------------------------------------------------------------------------------

InstanceLock::Result InstanceLock::Acquire(const std::string& path) {
  if (fd_ >= 0) return Result::Acquired;
  problem_.clear();
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  int error = errno;
  // A read-only folder still lets an existing lock file be locked read-only, and any folder lets
  // itself be locked: both serve as well, as long as every start finds the same one.
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) fd = ::open(FolderNoSlash(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    problem_ = path + ": " + ErrnoText(error);
    return Result::Failed;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    bool busy = errno == EWOULDBLOCK;
    if (!busy) problem_ = path + ": " + ErrnoText(errno);
    ::close(fd);
    return busy ? Result::Busy : Result::Failed;
  }
  fd_ = fd;
  return Result::Acquired;
}

void InstanceLock::Release() {
  // The file stays: deleting it would let a process that opened the old one lock a file nobody
  // else sees.
  CloseFd(fd_);
}

// ---------------------------------------------------------------------------------------------

bool MailboxReceiver::Open(const std::string& handleFile) {
  Close();
  problem_.clear();
  folder_ = MakePrivateFolder();
  if (folder_.empty()) {
    problem_ = "no folder for the mailbox socket: " + ErrnoText(errno);
    return false;
  }
  socketPath_ = folder_ + "/mailbox";
  sockaddr_un addr;
  FillAddress(socketPath_, addr);
  listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listener_, 64) != 0) {
    problem_ = socketPath_ + ": " + ErrnoText(errno);
    Close();
    return false;
  }
  // The handle file: deleted first, then written whole through a temporary file, so a sender
  // never reads half a path.
  RemoveStaleMailbox(ReadHandleFile(handleFile));
  DeleteFile(handleFile);
  std::string problem;
  if (!WriteHandleFile(handleFile, socketPath_ + "\r\n", problem)) {
    Close();
    problem_ = problem;
    return false;
  }
  handleFile_ = handleFile;
  return true;
}

void MailboxReceiver::Close() {
  for (Connection& c : connections_) CloseFd(c.fd);
  connections_.clear();
  // A newer first instance may have replaced a handle file that was left behind; leave that one.
  if (!handleFile_.empty() && ReadHandleFile(handleFile_) == socketPath_) DeleteFile(handleFile_);
  handleFile_.clear();
  CloseFd(listener_);
  if (!socketPath_.empty()) ::unlink(socketPath_.c_str());
  if (!folder_.empty()) ::rmdir(folder_.c_str());
  socketPath_.clear();
  folder_.clear();
}

MailItem MailboxReceiver::Take() {
  MailItem item = std::move(mailbox_);
  mailbox_ = MailItem();
  return item;
}

void MailboxReceiver::Poll() {
  if (listener_ < 0) return;
  while (connections_.size() < 64) {
    int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) break;
    if (!PeerIsThisUser(fd)) {
      ::close(fd);
      continue;
    }
    connections_.push_back(Connection{fd, std::string(), clock_.NowMs()});
  }
  // In arrival order, so the first sender to finish its offer fills an empty mailbox.
  for (size_t i = 0; i < connections_.size();) {
    if (Serve(connections_[i])) {
      CloseFd(connections_[i].fd);
      connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

bool MailboxReceiver::Serve(Connection& c) {
  char buf[65536];
  for (;;) {
    ssize_t n = ::recv(c.fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n > 0) {
      c.data.append(buf, static_cast<size_t>(n));
      c.lastActivity = clock_.NowMs();
      if (c.data.size() > 2 * static_cast<size_t>(kMaxBytes) + 64) return true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    MailItem item;
    Parse parse = DecodeOffer(c.data, item);
    if (parse == Parse::Invalid) return true;
    if (parse == Parse::Complete) {
      // Test and write in one step: the mailbox is filled only when it is empty.
      char answer = kBusy;
      if (mailbox_.text.empty()) {
        mailbox_ = std::move(item);
        answer = kTaken;
      }
      [[maybe_unused]] ssize_t sent = ::send(c.fd, &answer, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
      return true;
    }
    // Incomplete: wait for more unless the sender has gone or stalled.
    if (n == 0) return true;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return true;
    return clock_.NowMs() - c.lastActivity >= kStallMs;
  }
}

// ---------------------------------------------------------------------------------------------

MailboxSender::MailboxSender(std::string handleFile, MailItem item, Clock& clock)
    : handleFile_(std::move(handleFile)), message_(EncodeOffer(item)), clock_(clock) {}

MailboxSender::~MailboxSender() {
  Drop();
}

void MailboxSender::Start() {
  deadline_ = clock_.NowMs() + kTimeoutMs;
  state_ = State::Offering;
}

namespace {
bool AnythingAt(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}
}  // namespace

bool MailboxSender::WaitForReceiver(const MessagePump& pump) {
  if (deadline_ == 0) Start();
  for (;;) {
    if (AnythingAt(handleFile_)) return true;
    // The running instance cannot publish where nothing can be written: no use waiting.
    if (std::string why = CannotWriteIn(FolderNoSlash(handleFile_)); !why.empty()) {
      Refuse("the running instance cannot publish its mailbox: " + why);
      return false;
    }
    WaitMs(100, clock_, pump);
    if (clock_.NowMs() >= deadline_) return AnythingAt(handleFile_);
  }
}

MailboxSender::State MailboxSender::Refuse(std::string problem) {
  Drop();
  problem_ = std::move(problem);
  state_ = State::GaveUp;
  return state_;
}

void MailboxSender::Drop() {
  CloseFd(fd_);
  sent_ = 0;
}

MailboxSender::State MailboxSender::Tick() {
  if (state_ != State::Offering) return state_;
  if (deadline_ == 0) Start();
  if (clock_.NowMs() >= deadline_) {
    Drop();
    state_ = State::GaveUp;
    return state_;
  }
  if (fd_ < 0) {
    // A new offer. A handle file naming a receiver that is gone refuses the connection; the
    // sender tries again on the next tick, and a new first instance replaces the file meanwhile.
    HandleFileCheck check = CheckHandleFile(handleFile_);
    if (check.verdict == HandleFileCheck::Untrusted) return Refuse(check.problem);
    if (check.verdict != HandleFileCheck::Usable) return state_;
    sockaddr_un addr;
    if (!FillAddress(check.socketPath, addr)) return state_;
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return state_;
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      Drop();
      return state_;
    }
    if (!PeerIsThisUser(fd_))
      return Refuse(check.socketPath + ": the receiver is another user's program");
  }
  while (sent_ < message_.size()) {
    ssize_t n =
        ::send(fd_, message_.data() + sent_, message_.size() - sent_, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent_ += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return state_;  // the receiver has not read yet; the rest goes on a later tick
    } else {
      Drop();
      return state_;
    }
  }
  char answer = 0;
  ssize_t n;
  do {
    n = ::recv(fd_, &answer, 1, MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return state_;  // not answered yet
  Drop();
  // Taken: done. Busy, or the receiver went away without answering: offer again next tick.
  if (n == 1 && answer == kTaken) state_ = State::Delivered;
  return state_;
}

// ---------------------------------------------------------------------------------------------

std::string ParseHandleFile(std::string_view data) {
  size_t start = data.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::string();
  size_t end = data.find_first_of("\r\n", start);
  std::string path(data.substr(start, end == std::string_view::npos ? end : end - start));
  if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) return std::string();
  return path;
}

namespace {

// Opens the handle file without following a link or waiting on a pipe; fills st. -1 and errno
// when it cannot be opened.
int OpenHandleFile(const std::string& handleFile, struct stat& st) {
  int fd = ::open(handleFile.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// At most the first kMaxHandleFileBytes + 1 bytes of a regular file.
std::string ReadSmall(int fd) {
  std::string data;
  char buf[1024];
  while (data.size() <= kMaxHandleFileBytes) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0)
      data.append(buf, static_cast<size_t>(n));
    else if (n < 0 && errno == EINTR)
      continue;
    else
      break;
  }
  return data;
}

bool OthersMayWrite(const struct stat& st) {
  return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

}  // namespace

std::string ReadHandleFile(const std::string& handleFile) {
  struct stat st;
  int fd = OpenHandleFile(handleFile, st);
  if (fd < 0) return std::string();
  std::string path;
  if (S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= kMaxHandleFileBytes) {
    std::string data = ReadSmall(fd);
    if (data.size() <= kMaxHandleFileBytes) path = ParseHandleFile(data);
  }
  ::close(fd);
  return path;
}

HandleFileCheck CheckHandleFile(const std::string& handleFile) {
  HandleFileCheck check;
  auto untrusted = [&](const std::string& what, const std::string& why) {
    check.verdict = HandleFileCheck::Untrusted;
    check.problem = what + ": " + why;
    return check;
  };
  struct stat st;
  int fd = OpenHandleFile(handleFile, st);
  if (fd < 0) {
    if (errno == ENOENT) return check;
    if (errno == ELOOP) return untrusted(handleFile, "is a symbolic link");
    return untrusted(handleFile, ErrnoText(errno));
  }
  std::string data;
  bool regular = S_ISREG(st.st_mode);
  if (regular && static_cast<uint64_t>(st.st_size) <= kMaxHandleFileBytes) data = ReadSmall(fd);
  ::close(fd);
  if (!regular) return untrusted(handleFile, "is not a regular file");
  if (st.st_uid != ::geteuid()) return untrusted(handleFile, "belongs to another user");
  if (OthersMayWrite(st)) return untrusted(handleFile, "may be written by other users");
  if (static_cast<uint64_t>(st.st_size) > kMaxHandleFileBytes || data.size() > kMaxHandleFileBytes)
    return untrusted(handleFile, "is too large to be a handle file");

  check.verdict = HandleFileCheck::Stale;
  check.socketPath = ParseHandleFile(data);
  if (check.socketPath.empty()) return check;
  std::string folder = FolderNoSlash(check.socketPath);
  if (::lstat(folder.c_str(), &st) != 0) return check;  // gone with its receiver
  if (!S_ISDIR(st.st_mode)) return untrusted(folder, "is not a folder");
  if (st.st_uid != ::geteuid()) return untrusted(folder, "belongs to another user");
  if (OthersMayWrite(st)) return untrusted(folder, "may be written by other users");
  if (::lstat(check.socketPath.c_str(), &st) != 0) return check;
  if (!S_ISSOCK(st.st_mode)) return untrusted(check.socketPath, "is not a socket");
  if (st.st_uid != ::geteuid()) return untrusted(check.socketPath, "belongs to another user");
  check.verdict = HandleFileCheck::Usable;
  return check;
}

bool SendCommandLine(const std::string& handleFile, const MailItem& item, Clock& clock,
                     const MessagePump& pump) {
  MailboxSender sender(handleFile, item, clock);
  sender.Start();
  if (!sender.WaitForReceiver(pump)) return false;
  for (;;) {
    switch (sender.Tick()) {
      case MailboxSender::State::Delivered:
        return true;
      case MailboxSender::State::GaveUp:
        return false;
      case MailboxSender::State::Offering:
        break;
    }
    clock.SleepMs(MailboxSender::kTickMs);
    if (pump) pump();
  }
}

std::string CurrentFolder() {
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) return std::string();
  std::string folder(buf);
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace kotonel
