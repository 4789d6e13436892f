#include "analysis/dictionary_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "util/files.h"

namespace kotonel {

namespace {

constexpr char kMagic[8] = {'K', 'T', 'N', 'C', 'A', 'C', 'H', '1'};
constexpr uint64_t kByteOrder = 0x0102030405060708ULL;
constexpr size_t kMaxSections = 16;
constexpr const char* kSuffix = ".cache";

// Everything a cache must agree with before its sections are used.
struct Header {
  char magic[8];
  uint64_t byteOrder;
  uint64_t format;
  uint64_t sectionCount;
  // The source file as it was when it was read.
  uint64_t size, mtimeSec, mtimeNsec, ctimeSec, ctimeNsec, inode, device;
  // The program that read it: another build may read the text differently.
  uint64_t programSize, programMtimeSec, programMtimeNsec, programInode;
  uint64_t sourcePathBytes;  // the source's absolute path follows, padded to 8 bytes
};

size_t Padded(size_t n) {
  return (n + 7) & ~size_t{7};
}

uint64_t Fnv(std::string_view s, uint64_t h = 0xcbf29ce484222325ULL) {
  for (char c : s) h = (h ^ static_cast<uint8_t>(c)) * 0x100000001b3ULL;
  return h;
}

std::string RealPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return std::string();
  std::string result = real;
  std::free(real);
  return result;
}

std::string CacheFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
    base = xdg;
  else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
    base = std::string(home) + "/.cache";
  else
    return std::string();
  if (base.back() != '/') base += '/';
  return base + "kotonel/";
}

bool ProgramIdentity(struct stat& st) {
  return ::stat("/proc/self/exe", &st) == 0;
}

void FillHeader(Header& h, const std::string& source, const struct stat& identity,
                const struct stat& program, uint32_t format, size_t sectionCount) {
  std::memset(&h, 0, sizeof h);
  std::memcpy(h.magic, kMagic, sizeof kMagic);
  h.byteOrder = kByteOrder;
  h.format = format;
  h.sectionCount = sectionCount;
  h.size = static_cast<uint64_t>(identity.st_size);
  h.mtimeSec = static_cast<uint64_t>(identity.st_mtim.tv_sec);
  h.mtimeNsec = static_cast<uint64_t>(identity.st_mtim.tv_nsec);
  h.ctimeSec = static_cast<uint64_t>(identity.st_ctim.tv_sec);
  h.ctimeNsec = static_cast<uint64_t>(identity.st_ctim.tv_nsec);
  h.inode = static_cast<uint64_t>(identity.st_ino);
  h.device = static_cast<uint64_t>(identity.st_dev);
  h.programSize = static_cast<uint64_t>(program.st_size);
  h.programMtimeSec = static_cast<uint64_t>(program.st_mtim.tv_sec);
  h.programMtimeNsec = static_cast<uint64_t>(program.st_mtim.tv_nsec);
  h.programInode = static_cast<uint64_t>(program.st_ino);
  h.sourcePathBytes = source.size();
}

struct Mapping {
  void* address = MAP_FAILED;
  size_t bytes = 0;
  ~Mapping() {
    if (address != MAP_FAILED) ::munmap(address, bytes);
  }
};

// The source path a cache file names, or empty when the file is not a cache of ours.
std::string SourceOf(const std::string& cachePath) {
  int fd = ::open(cachePath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return std::string();
  Header h;
  std::string source;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid() &&
      ::pread(fd, &h, sizeof h, 0) == static_cast<ssize_t>(sizeof h) &&
      std::memcmp(h.magic, kMagic, sizeof kMagic) == 0 && h.sourcePathBytes > 0 &&
      h.sourcePathBytes < PATH_MAX) {
    source.resize(h.sourcePathBytes);
    if (::pread(fd, source.data(), source.size(), sizeof h) != static_cast<ssize_t>(source.size()))
      source.clear();
  }
  ::close(fd);
  return source;
}

// Removes the caches in folder whose source file no longer exists (a dictionary in a folder
// that was deleted), so that the folder does not grow without end.
void RemoveOrphans(const std::string& folder, const std::string& keep) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name.size() <= std::strlen(kSuffix) ||
        name.compare(name.size() - std::strlen(kSuffix), std::string::npos, kSuffix) != 0)
      continue;
    std::string path = folder + name;
    if (path == keep) continue;
    std::string source = SourceOf(path);
    struct stat st;
    if (!source.empty() && ::stat(source.c_str(), &st) != 0 && errno == ENOENT)
      ::unlink(path.c_str());
  }
  ::closedir(dir);
}

}  // namespace

bool DictionaryCache::Identify(const std::string& source, struct stat& identity) {
  return ::stat(source.c_str(), &identity) == 0 && S_ISREG(identity.st_mode) &&
         identity.st_size >= kMinimumSize;
}

std::string DictionaryCache::PathFor(const std::string& source, std::string_view kind) {
  std::string folder = CacheFolder();
  std::string real = RealPath(source);
  std::string program = RealPath("/proc/self/exe");
  if (folder.empty() || real.empty()) return std::string();
  // One cache per program and file: two programs never take turns rewriting it.
  uint64_t h = Fnv(program, Fnv(std::string_view("\0", 1), Fnv(real)));
  char name[40];
  std::snprintf(name, sizeof name, "-%016llx", static_cast<unsigned long long>(h));
  return folder + std::string(kind) + name + kSuffix;
}

DictionaryCache DictionaryCache::Open(const std::string& source, const struct stat& identity,
                                      std::string_view kind, uint32_t format, size_t sectionCount) {
  DictionaryCache cache;
  struct stat program;
  std::string path = PathFor(source, kind);
  std::string real = RealPath(source);
  if (path.empty() || sectionCount > kMaxSections || !ProgramIdentity(program)) return cache;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return cache;
  struct stat st;
  auto mapping = std::make_shared<Mapping>();
  // Only a regular file of the user's own is trusted to be what this program wrote.
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid() &&
      static_cast<size_t>(st.st_size) >= sizeof(Header)) {
    mapping->bytes = static_cast<size_t>(st.st_size);
    // Every page is used at once (the index is checked whole), so map them in one step.
    mapping->address =
        ::mmap(nullptr, mapping->bytes, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  }
  ::close(fd);
  if (mapping->address == MAP_FAILED) return cache;

  const auto* bytes = static_cast<const unsigned char*>(mapping->address);
  const size_t total = mapping->bytes;
  Header want, have;
  FillHeader(want, real, identity, program, format, sectionCount);
  std::memcpy(&have, bytes, sizeof have);
  if (std::memcmp(&want, &have, sizeof want) != 0) return cache;
  size_t at = sizeof(Header);
  if (total - at < Padded(real.size()) ||
      std::string_view(reinterpret_cast<const char*>(bytes + at), real.size()) != real)
    return cache;
  at += Padded(real.size());
  if ((total - at) / sizeof(uint64_t) < sectionCount) return cache;
  std::vector<uint64_t> sizes(sectionCount);
  std::memcpy(sizes.data(), bytes + at, sectionCount * sizeof(uint64_t));
  at += sectionCount * sizeof(uint64_t);
  for (uint64_t size : sizes) {
    if (size > total - at || Padded(size) > total - at) return cache;
    cache.sections_.push_back({bytes + at, static_cast<size_t>(size)});
    at += Padded(size);
  }
  if (at != total) {
    cache.sections_.clear();
    return cache;
  }
  cache.mapping_ = std::shared_ptr<const void>(mapping, mapping->address);
  return cache;
}

void DictionaryCache::Write(const std::string& source, const struct stat& identity,
                            std::string_view kind, uint32_t format,
                            std::initializer_list<Section> sections) {
  struct stat program;
  std::string path = PathFor(source, kind);
  std::string real = RealPath(source);
  if (path.empty() || sections.size() > kMaxSections || !ProgramIdentity(program)) return;
  std::string folder = FolderOf(path);
  // The folders are the user's own: made private, as the rest of the user's cache.
  std::string parent = FolderOf(folder.substr(0, folder.size() - 1));
  if (!IsDirectory(parent) && ::mkdir(parent.c_str(), 0700) != 0) return;
  if (!IsDirectory(folder) && ::mkdir(folder.c_str(), 0700) != 0) return;

  Header h;
  FillHeader(h, real, identity, program, format, sections.size());
  std::vector<uint64_t> sizes;
  for (const Section& s : sections) sizes.push_back(s.bytes);
  static const char kZeros[8] = {};
  OutputFile out;
  bool ok = out.Open(path) && out.Write(&h, sizeof h) && out.Write(real.data(), real.size()) &&
            out.Write(kZeros, Padded(real.size()) - real.size()) &&
            out.Write(sizes.data(), sizes.size() * sizeof(uint64_t));
  for (const Section& s : sections)
    ok = ok && out.Write(s.data, s.bytes) && out.Write(kZeros, Padded(s.bytes) - s.bytes);
  if (!ok || !out.Commit()) {
    out.Discard();
    return;
  }
  RemoveOrphans(folder, path);
}

}  // namespace kotonel
