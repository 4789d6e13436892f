// English word reading: a word in Latin letters becomes kana, from a whole-word table, else
// piece by piece (two- and three-letter pieces and word endings with single letters between),
// else spelled out letter by letter when no piece at all is known.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/dictionary_cache.h"

namespace kotonel {

class EnjConv {
 public:
  // Loads eng.ktn from dictionaryFolder (ending in '/'). A missing file, a line with fewer than
  // three fields, a table number outside 0..4 or a key its table already holds (letter case
  // ignored) throws DictionaryError.
  explicit EnjConv(const std::string& dictionaryFolder);

  // The kana reading of strWRD; empty for an empty word. Letters no table knows read nothing.
  // A word holding "." or "/" (example.com, and/or) that table 0 lacks is read part by part.
  std::u32string Convert(std::u32string_view strWRD) const;

 private:
  enum Table { kWords = 0, kPieces = 1, kEndings = 2, kLetters = 3, kNames = 4, kTables = 5 };

  // A word of parts joined by "." or "/": each part read as a word, the marks by table 3.
  std::u32string ConvertParts(std::u32string_view strWRD) const;
  // A word of letters only: by pieces, else spelled out.
  std::u32string ConvertWord(std::u32string_view strWRD) const;

  // The reading stored under key in table, or empty text; letter case does not matter.
  std::u32string LookUp(Table table, std::u32string_view key) const;
  struct Entry {
    uint32_t key;  // the key, letter case folded, in text_
    uint32_t reading;
    uint32_t keyLength;
    uint32_t readingLength;
    uint32_t table;
  };
  // The entry of key (letter case ignored) in table, or -1.
  static int32_t Find(const char32_t* text, const Entry* entries, const uint32_t* slots,
                      size_t slotCount, uint32_t table, std::u32string_view key);
  // Takes the tables from a cache of the file; false when it has none or they do not hold.
  bool LoadCache(const DictionaryCache& cache);

  // The file as read; every key and reading is a view into it. The tables are built from the
  // text or mapped from the file's cache.
  kotonel::Table<char32_t> text_;
  kotonel::Table<Entry> entries_;
  // Open-addressing index over every table: entry number + 1 (0 = empty slot).
  kotonel::Table<uint32_t> slots_;
};

}  // namespace kotonel
