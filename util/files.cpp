#include "util/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <new>
#include <stdexcept>
#include <utility>

#include "util/encoding.h"

namespace kotonel {

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) {
  if (!FileExists(path)) return true;
  return ::unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& oldPath, const std::string& newPath) {
  if (oldPath == newPath || !FileExists(oldPath) || FileExists(newPath)) return false;
  return std::rename(oldPath.c_str(), newPath.c_str()) == 0;
}

namespace {

// Not an errno: the path names something other than a folder or a regular file.
constexpr int kNotRegular = -1;

std::string ReadErrorText(int error) {
  if (error == kNotRegular) return "Not a regular file";
  char buffer[256];
  // The GNU strerror_r hands back its own text or the buffer.
  return ::strerror_r(error, buffer, sizeof buffer);
}

// Reads a regular file whole; the errno of the failure otherwise (0 on success, kNotRegular).
int ReadRegularFile(const std::string& path, std::string& data) {
  if (path.empty()) return ENOENT;
  // Non-blocking, so that opening a named pipe does not wait for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return errno;
  struct stat st;
  int error = 0;
  if (::fstat(fd, &st) != 0) {
    error = errno;
  } else if (S_ISDIR(st.st_mode)) {
    error = EISDIR;
  } else if (!S_ISREG(st.st_mode)) {
    error = kNotRegular;  // a pipe, socket or device has no whole content to read
  } else {
    try {
      // Straight into the string at the size the file has; a file that grows meanwhile is read
      // on to its end.
      std::string out(static_cast<size_t>(st.st_size), '\0');
      size_t filled = 0;
      char more[4096];
      for (;;) {
        bool full = filled == out.size();
        ssize_t n = full ? ::read(fd, more, sizeof more)
                         : ::read(fd, out.data() + filled, out.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
          error = errno;
          break;
        }
        if (n == 0) break;
        if (full) out.append(more, static_cast<size_t>(n));
        filled += static_cast<size_t>(n);
      }
      out.resize(filled);
      if (error == 0) data = std::move(out);
    } catch (const std::bad_alloc&) {
      error = ENOMEM;
    } catch (const std::length_error&) {
      error = EFBIG;
    }
  }
  ::close(fd);
  return error;
}

// Fills why from the outcome of a read and answers whether it succeeded.
bool Report(int error, std::string* why) {
  if (why) *why = error == 0 ? std::string() : ReadErrorText(error);
  return error == 0;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& data, std::string* why) {
  return Report(ReadRegularFile(path, data), why);
}

std::vector<std::u32string> SplitLines(std::u32string_view text) {
  std::vector<std::u32string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'\r' && text[i] != U'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool ReadLines(const std::string& path, StringList& list, std::string* why) {
  std::string data;
  int error = ReadRegularFile(path, data);
  if (error == 0) {
    try {
      for (auto& line : SplitLines(FromCp932(data))) list.Add(std::move(line));
    } catch (const std::bad_alloc&) {
      error = ENOMEM;
    }
  }
  return Report(error, why);
}

namespace {

std::string ErrorText(int err) {
  return std::strerror(err);
}

// The process's umask without changing it (Linux reports it in /proc); the classic
// set-and-restore only where that is missing.
mode_t CurrentUmask() {
  if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, f))
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(f);
    if (found) return static_cast<mode_t>(mask);
  }
  mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

std::string CanonicalFolder(const std::string& folder) {
  char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
  if (!real) return std::string();
  std::string result = real;
  std::free(real);
  if (result.back() != '/') result += '/';
  return result;
}

std::mutex refusedMutex;
std::vector<std::pair<std::string, std::string>>& RefusedFolders() {
  static std::vector<std::pair<std::string, std::string>> folders;
  return folders;
}

bool SyncFolder(const std::string& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return ok;
}

constexpr const char* kTempMark = ".kotonel-";
constexpr size_t kMaxStem = 160;  // keeps the temporary name within NAME_MAX

// The file name cut to at most kMaxStem bytes, not inside a UTF-8 sequence.
std::string TempStem(const std::string& name) {
  if (name.size() <= kMaxStem) return name;
  size_t cut = kMaxStem;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut);
}

// The writing process's id in one of our temporary names, or -1.
long TempOwnerPid(const std::string& name) {
  // "." STEM ".kotonel-" PID "-" XXXXXX ".tmp"
  constexpr size_t kTail = 1 + 6 + 4;
  if (name.size() < 1 + std::strlen(kTempMark) + 1 + kTail || name[0] != '.') return -1;
  if (name.compare(name.size() - 4, 4, ".tmp") != 0) return -1;
  size_t random = name.size() - 4 - 6;
  for (size_t i = random; i < random + 6; ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return -1;
  if (name[random - 1] != '-') return -1;
  size_t digitsEnd = random - 1, digits = digitsEnd;
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
  if (digits == digitsEnd || digitsEnd - digits > 9) return -1;
  size_t markLength = std::strlen(kTempMark);
  if (digits < 1 + markLength || name.compare(digits - markLength, markLength, kTempMark) != 0)
    return -1;
  return std::stol(name.substr(digits, digitsEnd - digits));
}

}  // namespace

OutputFile::~OutputFile() {
  Discard();
}

bool OutputFile::Fail(const std::string& what, int err) {
  error_ = what + ": " + ErrorText(err);
  Discard();
  return false;
}

bool OutputFile::Open(const std::string& path) {
  Discard();
  error_.clear();
  path_ = path;
  written_ = 0;
  if (path.empty()) {
    error_ = "no file name given";
    return false;
  }
  if (path == "-") {
    fd_ = STDOUT_FILENO;
    ownFd_ = false;
    target_ = "standard output";
    return true;
  }
  target_ = path;
  struct stat st;
  bool exists = ::lstat(path.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return Fail(path, errno);
  if (exists && S_ISLNK(st.st_mode)) {
    // Followed only when the user (or root) made it: a link planted by someone else in a
    // shared folder must not point our write at the user's own files.
    if (st.st_uid != ::geteuid() && st.st_uid != 0) {
      error_ = path + ": a symbolic link that belongs to another user";
      return false;
    }
    if (::stat(path.c_str(), &st) != 0) return Fail(path, errno);
    if (S_ISREG(st.st_mode)) {
      char* real = ::realpath(path.c_str(), nullptr);
      if (!real) return Fail(path, errno);
      target_ = real;
      std::free(real);
    }
  }
  if (exists && S_ISBLK(st.st_mode)) {
    error_ = path + ": a disk device, not written to";  // a mistyped name must not wipe a disk
    return false;
  }
  if (exists && (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode))) {
    // Written through: /dev/null stays a device, a FIFO's reader gets the bytes.
    fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) return Fail(path, errno);
    return true;
  }
  if (exists && S_ISDIR(st.st_mode)) return Fail(path, EISDIR);
  if (exists && !S_ISREG(st.st_mode)) {
    error_ = path + ": not a file that can be written";
    return false;
  }

  std::string folder = FolderOf(target_);
  if (std::string reason = FolderWritesRefused(folder); !reason.empty()) {
    error_ = target_ + ": " + reason;
    return false;
  }
  bool folderWritable =
      ::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
  if (exists) {
    // A file made read-only stays as it is, also for root, who could write it anyway.
    uid_t me = ::geteuid();
    bool readOnly = st.st_uid == me ? !(st.st_mode & S_IWUSR) : !(st.st_mode & 0222);
    if (readOnly) {
      error_ = target_ + ": " + ErrorText(EACCES) + " (the file is read-only)";
      return false;
    }
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) return Fail(target_, errno);
    mode_ = st.st_mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID);
    group_ = st.st_gid;
    if (!folderWritable || st.st_nlink > 1 || st.st_uid != me) {
      // Replacing would fail, cut other links or change the owner: rewrite in place.
      fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
      if (fd_ < 0) return Fail(target_, errno);
      inPlace_ = true;
      return true;
    }
  } else {
    mode_ = 0666 & ~CurrentUmask();
  }
  std::string name =
      "." + TempStem(FileNameOf(target_)) + kTempMark + std::to_string(::getpid()) + "-XXXXXX.tmp";
  std::string temp = folder + name;
  // O_EXCL: a name someone planted (a symlink too) makes this fail rather than be followed.
  fd_ = ::mkostemps(temp.data(), 4, O_CLOEXEC | O_NOFOLLOW);
  if (fd_ < 0) return Fail(folder.empty() ? target_ : folder, errno);
  tempPath_ = temp;
  return true;
}

bool OutputFile::WriteAll(const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd_, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(target_, n < 0 ? errno : EIO);
    p += n;
    size -= static_cast<size_t>(n);
    written_ += static_cast<uint64_t>(n);
  }
  return true;
}

bool OutputFile::Write(const void* data, size_t size) {
  if (fd_ < 0) {
    if (error_.empty()) error_ = path_ + ": not open";
    return false;
  }
  return WriteAll(data, size);
}

bool OutputFile::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (!CanSeek()) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(target_, n < 0 ? errno : EIO);
    p += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

bool OutputFile::Commit() {
  if (fd_ < 0) {
    if (error_.empty()) error_ = path_ + ": not open";
    return false;
  }
  if (!ownFd_) {  // standard output: the caller's descriptor stays open
    fd_ = -1;
    return true;
  }
  if (inPlace_ && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) return Fail(target_, errno);
  if (!tempPath_.empty()) {
    // The replaced file's group where the user may give it; else the new file keeps ours.
    if (group_ != static_cast<gid_t>(-1) && ::fchown(fd_, static_cast<uid_t>(-1), group_) != 0)
      group_ = static_cast<gid_t>(-1);
    if (::fchmod(fd_, mode_) != 0) return Fail(target_, errno);
  }
  // Devices and pipes cannot be synced (EINVAL); their bytes are handed over all the same.
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) return Fail(target_, errno);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) return Fail(target_, errno);
  if (tempPath_.empty()) return true;
  if (::rename(tempPath_.c_str(), target_.c_str()) != 0) return Fail(target_, errno);
  tempPath_.clear();
  SyncFolder(FolderOf(target_));  // the new name survives a crash; a failure changes nothing
  return true;
}

void OutputFile::Discard() {
  if (fd_ >= 0 && ownFd_) ::close(fd_);
  fd_ = -1;
  ownFd_ = true;
  inPlace_ = false;
  group_ = static_cast<gid_t>(-1);
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

bool IsOurTemporaryName(const std::string& name) {
  return TempOwnerPid(name) > 0;
}

void RemoveLeftoverTemporaryFiles(const std::string& folder) {
  if (folder.empty() || !FolderWritesRefused(folder).empty()) return;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  int dfd = ::dirfd(dir);
  while (struct dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    long pid = TempOwnerPid(name);
    if (pid <= 0 || pid == ::getpid()) continue;
    // A process still writing it (another start, a kotonel-say) keeps its file.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) continue;
    struct stat st;
    if (::fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    ::unlinkat(dfd, name.c_str(), 0);
  }
  ::closedir(dir);
}

void RefuseWritesInto(const std::string& folder, const std::string& reason) {
  std::string canonical = CanonicalFolder(folder);
  if (canonical.empty()) return;
  std::lock_guard<std::mutex> lock(refusedMutex);
  RefusedFolders().emplace_back(canonical, reason);
}

std::string FolderWritesRefused(const std::string& folder) {
  std::lock_guard<std::mutex> lock(refusedMutex);
  if (RefusedFolders().empty()) return std::string();
  std::string canonical = CanonicalFolder(folder);
  for (const auto& [refused, reason] : RefusedFolders())
    if (refused == canonical) return reason;
  return std::string();
}

bool WriteFileAtomic(const std::string& path, const std::string& data, std::string* error) {
  OutputFile out;
  bool ok = out.Open(path) && out.Write(data.data(), data.size()) && out.Commit();
  if (!ok && error) *error = out.Error();
  return ok;
}

bool WriteLines(const std::string& path, const StringList& list) {
  std::string data;
  for (const auto& line : list) {
    data += ToCp932(line);
    data += "\r\n";
  }
  return WriteFileAtomic(path, data);
}

bool ReadBytes(const std::string& path, Bytes& bytes, int64_t position, std::string* why) {
  std::string data;
  int error = ReadRegularFile(path, data);
  if (error == ENOENT) bytes.assign(1, 0);
  if (error != 0) return Report(error, why);
  try {
    // The array keeps the file's size; a read that starts late leaves the tail zero.
    bytes.assign(data.size(), 0);
    size_t from = position > 1 ? static_cast<size_t>(position - 1) : 0;
    if (from < data.size())
      std::copy(data.begin() + static_cast<std::ptrdiff_t>(from), data.end(), bytes.begin());
  } catch (const std::bad_alloc&) {
    error = ENOMEM;
  }
  return Report(error, why);
}

bool WriteBytes(const std::string& path, const Bytes& bytes, int64_t position) {
  if (position <= 1) return WriteFileAtomic(path, std::string(bytes.begin(), bytes.end()));
  if (!FolderWritesRefused(FolderOf(path)).empty()) return false;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
  if (fd < 0) return false;
  const uint8_t* p = bytes.data();
  size_t left = bytes.size();
  off_t at = static_cast<off_t>(position - 1);
  bool ok = true;
  while (ok && left > 0) {
    ssize_t n = ::pwrite(fd, p, left, at);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) {
      p += n;
      left -= static_cast<size_t>(n);
      at += n;
    }
  }
  return ::close(fd) == 0 && ok;
}

std::string FolderOf(const std::string& path) {
  size_t p = path.rfind('/');
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileNameOf(const std::string& path) {
  size_t p = path.rfind('/');
  return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace kotonel
