// A derived, binary copy of what a loader built from a large dictionary file, kept under
// $XDG_CACHE_HOME/kotonel/ (default ~/.cache/kotonel/) so that the next start maps it instead
// of parsing the text again. The text file stays the only source: a cache is used only when it
// was made by this very program from the file as it is now (same path, size, modification and
// change times, inode and device), and when its layout is whole; anything else is ignored and
// rebuilt. No cache is kept for small files, which parse faster than a cache is checked.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kotonel {

// A read-only array that either owns its elements or views them in a mapped cache file.
template <class T>
class Table {
 public:
  Table() = default;
  // Takes over a container of T with data() and size() (a vector, a string).
  template <class Container>
  static Table Own(Container&& items) {
    auto kept = std::make_shared<std::decay_t<Container>>(std::forward<Container>(items));
    return Table(kept->data(), kept->size(), kept);
  }
  Table(const T* data, size_t size, std::shared_ptr<const void> keeper)
      : data_(data), size_(size), keeper_(std::move(keeper)) {}

  const T* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const T& operator[](size_t i) const { return data_[i]; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

 private:
  const T* data_ = nullptr;
  size_t size_ = 0;
  std::shared_ptr<const void> keeper_;
};

class DictionaryCache {
 public:
  // Files smaller than this are never cached.
  static constexpr int64_t kMinimumSize = 256 * 1024;

  // The identity of source, taken before it is read; false when it cannot be had (then no
  // cache is used or written).
  static bool Identify(const std::string& source, struct stat& identity);

  // The cache of source of this kind (a short name, such as "dic") and format, when one
  // matches identity and holds sectionCount sections; else an empty object.
  static DictionaryCache Open(const std::string& source, const struct stat& identity,
                              std::string_view kind, uint32_t format, size_t sectionCount);
  // Writes the cache of source, replacing any other; failures are silent (a cache is only ever
  // an aid). Caches whose source files are gone are removed at the same time.
  struct Section {
    const void* data;
    size_t bytes;
  };
  static void Write(const std::string& source, const struct stat& identity, std::string_view kind,
                    uint32_t format, std::initializer_list<Section> sections);
  // Where the cache of source of this kind is (or would be); empty when there is no cache
  // folder.
  static std::string PathFor(const std::string& source, std::string_view kind);

  explicit operator bool() const { return mapping_ != nullptr; }
  // Section k as an array of T; empty unless its size is a whole number of T.
  template <class T>
  Table<T> Get(size_t k) const {
    const Span& s = sections_[k];
    if (s.bytes % sizeof(T) != 0) return Table<T>();
    return Table<T>(reinterpret_cast<const T*>(s.data), s.bytes / sizeof(T), mapping_);
  }
  size_t Bytes(size_t k) const { return sections_[k].bytes; }

 private:
  struct Span {
    const unsigned char* data;
    size_t bytes;
  };
  std::shared_ptr<const void> mapping_;
  std::vector<Span> sections_;
};

}  // namespace kotonel
