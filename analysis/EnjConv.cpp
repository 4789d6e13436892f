#include "analysis/EnjConv.h"
#include "analysis/dictionary_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "analysis/numeric_field.h"
#include "util/dictionary_error.h"
#include "util/files.h"
#include "util/lists.h"
#include "util/strings.h"

namespace kotonel {

namespace {

constexpr std::u32string_view kLoadError = U"英語ファイルの以下の行でエラーが発生しました。";
// The cache of the English file: its name, and the layout of what it holds.
constexpr std::string_view kCacheKind = "eng";
constexpr uint32_t kCacheFormat = 1;

// Marks that join the parts of an address or a file name into one Latin word.
constexpr std::u32string_view kMarks = U"./";

// Keys are stored and looked up in lower case. Besides ASCII this folds the full-width Latin,
// Greek and Cyrillic capitals, which a file or a caller may also use.
char32_t FoldCase(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= 0xFF21 && c <= 0xFF3A) ||
      (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) || (c >= 0x0410 && c <= 0x042F))
    return c + 0x20;
  return c == 0x0401 ? 0x0451 : c;
}

// The hash of a folded key in a table.
uint64_t KeyHash(uint32_t table, std::u32string_view key) {
  uint64_t h = 0xcbf29ce484222325ULL ^ table;
  for (char32_t c : key) h = (h ^ FoldCase(c)) * 0x100000001b3ULL;
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  return h ^ (h >> 33);
}

}  // namespace

EnjConv::EnjConv(const std::string& dictionaryFolder) {
  const std::string path = dictionaryFolder + "eng.ktn";
  // A large file is read through its cache when the cache matches the file as it is now.
  struct stat identity;
  const bool cached = DictionaryCache::Identify(path, identity);
  if (cached && LoadCache(DictionaryCache::Open(path, identity, kCacheKind, kCacheFormat, 3)))
    return;

  std::u32string text;
  std::vector<Entry> entries;
  std::vector<uint32_t> slots;
  auto insert = [&](uint32_t entry) {
    const Entry& e = entries[entry];
    const size_t mask = slots.size() - 1;
    size_t h = KeyHash(e.table, std::u32string_view(text).substr(e.key, e.keyLength)) & mask;
    while (slots[h] != 0) h = (h + 1) & mask;
    slots[h] = entry + 1;
  };
  auto rehash = [&](size_t atLeast) {
    size_t capacity = 16;
    while (capacity < atLeast) capacity *= 2;
    slots.assign(capacity, 0);
    for (uint32_t k = 0; k < entries.size(); ++k) insert(k);
  };
  ReadDictionaryText(path, kLoadError, 3, text, [&](std::u32string_view line, auto& fields) {
    if (slots.empty()) {
      // Sized once from the text: a line per line end, the index at most half full.
      size_t lines = std::max(std::count(text.begin(), text.end(), U'\n'),
                              std::count(text.begin(), text.end(), U'\r')) +
                     1;
      entries.reserve(lines);
      rehash(lines * 2);
    }
    const int32_t table = RoundedField(fields[0]);
    if (table < 0 || table >= kTables)
      throw DictionaryError(std::u32string(kLoadError), std::u32string(line), path);
    if (Find(text.data(), entries.data(), slots.data(), slots.size(), static_cast<uint32_t>(table),
             fields[1]) >= 0)
      throw DictionaryError(std::u32string(kLoadError), std::u32string(line), path);
    if ((entries.size() + 1) * 2 > slots.size()) rehash(slots.size() * 2);
    // The key is kept folded, so that looking up compares it as it stands.
    const auto key = static_cast<uint32_t>(fields[1].data() - text.data());
    for (size_t k = 0; k < fields[1].size(); ++k) text[key + k] = FoldCase(text[key + k]);
    Entry e{key, static_cast<uint32_t>(fields[2].data() - text.data()),
            static_cast<uint32_t>(fields[1].size()), static_cast<uint32_t>(fields[2].size()),
            static_cast<uint32_t>(table)};
    entries.push_back(e);
    insert(static_cast<uint32_t>(entries.size() - 1));
  });
  if (text.size() >= UINT32_MAX)
    throw DictionaryError::Unreadable(std::u32string(kLoadError), path, std::strerror(EFBIG));
  if (cached)
    DictionaryCache::Write(path, identity, kCacheKind, kCacheFormat,
                           {{text.data(), text.size() * sizeof(char32_t)},
                            {entries.data(), entries.size() * sizeof(Entry)},
                            {slots.data(), slots.size() * sizeof(uint32_t)}});
  text_ = kotonel::Table<char32_t>::Own(std::move(text));
  entries_ = kotonel::Table<Entry>::Own(std::move(entries));
  slots_ = kotonel::Table<uint32_t>::Own(std::move(slots));
}

bool EnjConv::LoadCache(const DictionaryCache& cache) {
  if (!cache) return false;
  kotonel::Table<char32_t> text = cache.Get<char32_t>(0);
  kotonel::Table<Entry> entries = cache.Get<Entry>(1);
  kotonel::Table<uint32_t> slots = cache.Get<uint32_t>(2);
  // Whatever the file holds, every view must stay inside the text and every probe must end.
  if (text.size() * sizeof(char32_t) != cache.Bytes(0) ||
      entries.size() * sizeof(Entry) != cache.Bytes(1) || slots.size() < 16 ||
      (slots.size() & (slots.size() - 1)) != 0 || slots.size() <= entries.size())
    return false;
  for (const Entry& e : entries)
    if (uint64_t{e.key} + e.keyLength > text.size() ||
        uint64_t{e.reading} + e.readingLength > text.size() || e.table >= kTables)
      return false;
  size_t empty = 0;
  for (uint32_t slot : slots) {
    if (slot == 0)
      ++empty;
    else if (slot > entries.size())
      return false;
  }
  if (empty == 0) return false;
  text_ = std::move(text);
  entries_ = std::move(entries);
  slots_ = std::move(slots);
  return true;
}

int32_t EnjConv::Find(const char32_t* text, const Entry* entries, const uint32_t* slots,
                      size_t slotCount, uint32_t table, std::u32string_view key) {
  if (slotCount == 0) return -1;
  const size_t mask = slotCount - 1;
  for (size_t h = KeyHash(table, key) & mask;; h = (h + 1) & mask) {
    const uint32_t slot = slots[h];
    if (slot == 0) return -1;
    const Entry& e = entries[slot - 1];
    if (e.table != table || e.keyLength != key.size()) continue;
    const char32_t* stored = text + e.key;
    size_t k = 0;
    while (k < key.size() && stored[k] == FoldCase(key[k])) ++k;
    if (k == key.size()) return static_cast<int32_t>(slot - 1);
  }
}

std::u32string EnjConv::LookUp(Table table, std::u32string_view key) const {
  const int32_t found = Find(text_.data(), entries_.data(), slots_.data(), slots_.size(),
                             static_cast<uint32_t>(table), key);
  if (found < 0) return std::u32string();
  const Entry& e = entries_[static_cast<size_t>(found)];
  return std::u32string(
      std::u32string_view(text_.data(), text_.size()).substr(e.reading, e.readingLength));
}

std::u32string EnjConv::Convert(std::u32string_view strWRD) const {
  if (strWRD.empty()) return U"";
  std::u32string whole = LookUp(kWords, strWRD);
  if (!whole.empty()) return whole;
  if (strWRD.find_first_of(kMarks) != std::u32string_view::npos) return ConvertParts(strWRD);
  return ConvertWord(strWRD);
}

std::u32string EnjConv::ConvertParts(std::u32string_view strWRD) const {
  // An address or a file name (www.example.com, index.html, and/or) is read part by part as
  // people say it, the marks by their single-letter readings (どっと, すらっしゅ). Parts of
  // one letter each are an abbreviation (e.g, u.s.a): its letters are spelled, the marks
  // left silent.
  std::vector<std::u32string_view> parts;
  std::vector<char32_t> marks;
  size_t from = 0;
  bool letters = true;
  for (size_t at = 0; at <= strWRD.size(); ++at) {
    if (at < strWRD.size() && kMarks.find(strWRD[at]) == std::u32string_view::npos) continue;
    parts.push_back(strWRD.substr(from, at - from));
    letters = letters && parts.back().size() <= 1;
    if (at < strWRD.size()) marks.push_back(strWRD[at]);
    from = at + 1;
  }
  std::u32string result;
  for (size_t k = 0; k < parts.size(); ++k) {
    if (letters) {
      if (!parts[k].empty()) result += LookUp(kNames, parts[k]);
      continue;
    }
    if (!parts[k].empty()) {
      std::u32string known = LookUp(kWords, parts[k]);
      result += known.empty() ? ConvertWord(parts[k]) : known;
    }
    if (k < marks.size()) result += LookUp(kLetters, std::u32string_view(&marks[k], 1));
  }
  return result;
}

std::u32string EnjConv::ConvertWord(std::u32string_view strWRD) const {
  const size_t n = strWRD.size();
  std::u32string result;
  bool found = false;
  for (size_t p = 0; p < n; ++p) {
    // A piece may begin at the word's start or at a consonant; a vowel inside the word only
    // ever starts an ending. The test is exact: words arrive lower-cased from segmentation.
    const bool start =
        p == 0 || std::u32string_view(U"aiueo").find(strWRD[p]) == std::u32string_view::npos;
    bool read = false;
    for (size_t b : {3u, 2u}) {
      if (n <= b) continue;
      const std::u32string_view piece = strWRD.substr(p, b);
      std::u32string reading;
      if (p + b == n) reading = LookUp(kEndings, piece);
      if (reading.empty() && piece.size() == b && start) reading = LookUp(kPieces, piece);
      if (!reading.empty()) {
        result += reading;
        found = true;
        p += b - 1;
        read = true;
        break;
      }
    }
    if (!read) result += LookUp(kLetters, strWRD.substr(p, 1));
  }

  if (!found) {
    // Not a single known piece: spell the word out.
    result.clear();
    for (size_t p = 0; p < n; ++p) result += LookUp(kNames, strWRD.substr(p, 1));
  }
  return result;
}

}  // namespace kotonel
