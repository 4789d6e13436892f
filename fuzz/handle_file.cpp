// Handle files as a sender or a new first instance finds them: the bytes are written as the
// handle file (and, by the first byte's bits, given the mode others may write, or put behind a
// link), then read and checked the way a start does before it trusts the socket they name.
// A trusted path is always absolute, one line, and no longer than a handle file may be.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "util/files.h"
#include "util/mailbox.h"

using namespace kotonel;

namespace {

// limited: read from a file, which may be no longer than a handle file.
void CheckPath(const std::string& path, bool limited = true) {
  if (path.empty()) return;
  if (path[0] != '/' || (limited && path.size() > kMaxHandleFileBytes) ||
      path.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = fuzz::ScratchFolder();
  static const std::string handle = folder + "Kotonel.hwnd";
  static const std::string target = folder + "target";
  if (size == 0) return 0;
  uint8_t flags = data[0];
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  CheckPath(ParseHandleFile(bytes), false);

  ::unlink(handle.c_str());
  ::unlink(target.c_str());
  std::string file = (flags & 2) ? target : handle;
  if (!WriteFileAtomic(file, std::string(bytes))) return 0;
  ::chmod(file.c_str(), (flags & 1) ? 0666 : 0600);
  if (flags & 2) ::symlink(target.c_str(), handle.c_str());

  std::string read = ReadHandleFile(handle);
  CheckPath(read);
  HandleFileCheck check = CheckHandleFile(handle);
  CheckPath(check.socketPath);
  // Writable by others, or a link: never trusted.
  if ((flags & 3) && check.verdict != HandleFileCheck::Untrusted) __builtin_trap();
  if (check.verdict == HandleFileCheck::Usable && check.socketPath != read) __builtin_trap();
  return 0;
}
