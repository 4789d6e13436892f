#include "analysis/dictionary_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include "analysis/EnjConv.h"
#include "analysis/RevConv.h"
#include "support/temp_folder.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel {
namespace {

// Points the cache folder at a folder of the test's own while it lives.
class CacheHome {
 public:
  explicit CacheHome(const std::string& folder) {
    if (const char* old = getenv("XDG_CACHE_HOME")) old_ = old, had_ = true;
    setenv("XDG_CACHE_HOME", folder.c_str(), 1);
  }
  ~CacheHome() {
    if (had_)
      setenv("XDG_CACHE_HOME", old_.c_str(), 1);
    else
      unsetenv("XDG_CACHE_HOME");
  }

 private:
  std::string old_;
  bool had_ = false;
};

std::u32string Read(RevConv& rc, std::u32string_view word) {
  rc.元字(word);
  rc.直前(U"");
  rc.仮名(U"");
  for (int k = 0; k < 3; ++k) rc.種類(k, k == 1 ? 8 : -1);
  rc.Convert();
  return rc.読み();
}

// A word dictionary large enough to be cached, with 見本 read as reading.
std::string LargeDictionary(std::u32string_view reading, std::u32string_view extra = U"") {
  std::u32string text;
  for (int i = 0; i < 30000; ++i) text += U"語" + FromUtf8(std::to_string(i)) + U" ご 5\r\n";
  text += U"見本 " + std::u32string(reading) + U" 5\r\n" + std::u32string(extra);
  return ToCp932(text);
}

std::string Slurp(const std::string& path) {
  std::string data;
  EXPECT_TRUE(ReadWholeFile(path, data)) << path;
  return data;
}

// Replaces the first occurrence of from by to (of the same length) in the file at path.
void Patch(const std::string& path, const std::string& from, const std::string& to) {
  std::string data = Slurp(path);
  size_t at = data.find(from);
  ASSERT_NE(at, std::string::npos);
  data.replace(at, from.size(), to);
  ASSERT_TRUE(WriteFileAtomic(path, data));
}

// The word dictionary is read from its cache only while the cache was made from the file as
// it is: an edit takes effect at the next start even when size and modification time stay, and
// a cache that is stale, cut short or garbled is passed over for the text.
TEST(DictionaryCache, UsedOnlyWhileItMatchesTheFile) {
  test::TempFolder home, dict;
  CacheHome cacheHome(home.Folder());
  const std::string dic = dict.File("dic.ktn");
  dict.Write("dic.ktn", LargeDictionary(U"みほん"));
  const std::string cache = DictionaryCache::PathFor(dic, "dic");
  ASSERT_EQ(cache.rfind(home.Folder() + "kotonel/", 0), 0u) << cache;
  {
    RevConv rc(dict.Folder());
    EXPECT_EQ(Read(rc, U"見本"), U"みほん");
    EXPECT_EQ(rc.EntryCount(), 30001);
  }
  ASSERT_TRUE(FileExists(cache));

  // A matching cache is what the next start reads: a change made to the cache alone shows.
  Patch(cache, ToCp932(U"みほん"), ToCp932(U"みほむ"));
  {
    RevConv rc(dict.Folder());
    EXPECT_EQ(Read(rc, U"見本"), U"みほむ");
    EXPECT_EQ(Read(rc, U"語29999"), U"ご");
  }
  const std::string stale = Slurp(cache);

  // The file edited in place to the same size, its modification time put back: the stale
  // cache is not used, and a new one replaces it.
  struct stat before;
  ASSERT_EQ(stat(dic.c_str(), &before), 0);
  {
    std::string data = Slurp(dic);
    data.replace(data.find(ToCp932(U"みほん")), 6, ToCp932(U"けんぽ"));
    int fd = open(dic.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(pwrite(fd, data.data(), data.size(), 0), static_cast<ssize_t>(data.size()));
    close(fd);
    timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, dic.c_str(), times, 0), 0);
  }
  {
    RevConv rc(dict.Folder());
    EXPECT_EQ(Read(rc, U"見本"), U"けんぽ");
  }
  ASSERT_TRUE(WriteFileAtomic(cache, stale));
  {
    RevConv rc(dict.Folder());
    EXPECT_EQ(Read(rc, U"見本"), U"けんぽ");
  }

  // A current cache cut short, or with its tables overwritten, is passed over.
  { RevConv rc(dict.Folder()); }
  const std::string good = Slurp(cache);
  ASSERT_TRUE(WriteFileAtomic(cache, good.substr(0, good.size() - 100)));
  {
    RevConv rc(dict.Folder());
    EXPECT_EQ(Read(rc, U"見本"), U"けんぽ");
  }
  for (size_t from : {good.size() / 2, good.size() - 300000, good.size() - 4096}) {
    std::string garbled = good;
    for (size_t i = from; i < garbled.size(); ++i) garbled[i] = '\xFF';
    ASSERT_TRUE(WriteFileAtomic(cache, garbled));
    RevConv rc(dict.Folder());
    EXPECT_EQ(Read(rc, U"見本"), U"けんぽ");
    EXPECT_EQ(Read(rc, U"語123"), U"ご");
  }

  // A line the loader refuses is reported as ever, whatever cache there was.
  dict.Write("dic.ktn", LargeDictionary(U"みほん", U"本\r\n"));
  try {
    RevConv rc(dict.Folder());
    ADD_FAILURE() << "a broken dic.ktn loaded";
  } catch (const DictionaryError& e) {
    EXPECT_EQ(e.Line(), U"本");
    EXPECT_EQ(e.LineNumber(), 30002);
  }
}

// The English file is cached the same way: a matching cache is used, an edit takes effect,
// and letter case is still ignored when the tables come from the cache.
TEST(DictionaryCache, EnglishFile) {
  test::TempFolder home, dict;
  CacheHome cacheHome(home.Folder());
  auto english = [](std::u32string_view reading) {
    std::u32string text;
    for (int i = 0; i < 20000; ++i)
      text += U"0 word" + FromUtf8(std::to_string(i)) + U" わーど\r\n";
    return ToCp932(text + U"0 Kotonel " + std::u32string(reading) + U"\r\n");
  };
  dict.Write("eng.ktn", english(U"ことねる"));
  const std::string cache = DictionaryCache::PathFor(dict.File("eng.ktn"), "eng");
  EXPECT_EQ(EnjConv(dict.Folder()).Convert(U"kotonel"), U"ことねる");
  ASSERT_TRUE(FileExists(cache));
  std::string data = Slurp(cache);
  const std::u32string from = U"ことねる", to = U"ことのは";
  std::string fromBytes(reinterpret_cast<const char*>(from.data()), from.size() * 4);
  std::string toBytes(reinterpret_cast<const char*>(to.data()), to.size() * 4);
  Patch(cache, fromBytes, toBytes);
  EXPECT_EQ(EnjConv(dict.Folder()).Convert(U"KOTONEL"), U"ことのは");
  dict.Write("eng.ktn", english(U"ことねーる"));
  EXPECT_EQ(EnjConv(dict.Folder()).Convert(U"Kotonel"), U"ことねーる");
  EXPECT_EQ(EnjConv(dict.Folder()).Convert(U"word19999"), U"わーど");
}

// The cache of a dictionary that is gone is removed when another cache is written; small
// files are never cached.
TEST(DictionaryCache, KeepsTheFolderTidy) {
  test::TempFolder home;
  CacheHome cacheHome(home.Folder());
  std::string goneCache;
  {
    test::TempFolder dict;
    dict.Write("dic.ktn", LargeDictionary(U"みほん"));
    RevConv rc(dict.Folder());
    goneCache = DictionaryCache::PathFor(dict.File("dic.ktn"), "dic");
    ASSERT_TRUE(FileExists(goneCache));
  }
  test::TempFolder small, large;
  small.Write("dic.ktn", ToCp932(U"見本 みほん 5\r\n"));
  { RevConv rc(small.Folder()); }
  EXPECT_FALSE(FileExists(DictionaryCache::PathFor(small.File("dic.ktn"), "dic")));
  EXPECT_TRUE(FileExists(goneCache));
  large.Write("dic.ktn", LargeDictionary(U"みほん"));
  { RevConv rc(large.Folder()); }
  EXPECT_TRUE(FileExists(DictionaryCache::PathFor(large.File("dic.ktn"), "dic")));
  EXPECT_FALSE(FileExists(goneCache));
}

}  // namespace
}  // namespace kotonel
