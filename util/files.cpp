#include "util/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

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

bool ReadWholeFile(const std::string& path, std::string& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
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

bool ReadLines(const std::string& path, StringList& list) {
  if (!FileExists(path)) return false;
  std::string data;
  if (!ReadWholeFile(path, data)) return false;
  for (auto& line : SplitLines(FromCp932(data))) list.Add(std::move(line));
  return true;
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

bool ReadBytes(const std::string& path, Bytes& bytes, int64_t position) {
  if (!FileExists(path)) {
    bytes.assign(1, 0);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) return false;
  bytes.assign(static_cast<size_t>(size), 0);
  in.seekg(position > 0 ? position - 1 : 0);
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  return true;  // a read that starts late leaves the tail zero, as the array keeps the file's size
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
