#include "util/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <stdexcept>

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

bool WriteFileAtomic(const std::string& path, const std::string& data) {
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.flush();
    if (!out) {
      out.close();
      ::unlink(tmp.c_str());
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    return false;
  }
  return true;
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
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  if (!out) out.open(path, std::ios::binary | std::ios::out);
  if (!out) return false;
  out.seekp(position - 1);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
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
