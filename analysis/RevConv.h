// Reading conversion of kanji words through the word dictionary dic.ktn. A word, with up to
// two hiragana that follow it, is cut into the longest headwords the dictionary knows; of a
// headword's readings one is chosen by the word's context, and the accent template grows
// piece by piece through the Intonation object.
//
// dic.ktn: one entry per line, fields separated by single spaces:
//   headword readings codes [accent]
// e.g. "日 ひ,にち 5,23": readings and their part-of-speech codes are ","-separated lists, the
// code at position k belonging to the reading at position k.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/dictionary_cache.h"

namespace kotonel {

class Intonation;

class RevConv {
 public:
  // Loads dictionaryFolder + "dic.ktn". A missing file, a line with fewer than three fields, a
  // repeated headword (letter case ignored) or a codes list that is empty, not numeric or longer
  // than the readings list throws DictionaryError.
  explicit RevConv(const std::string& dictionaryFolder);

  // The word to convert.
  void 元字(std::u32string_view text) { word_ = text; }
  // The word before it; only its last character is kept, and whether the word converted last
  // took the whole of it in as okurigana ending in a verb stem (殴り of 殴り書き): the word then
  // continues a compound.
  void 直前(std::u32string_view text);
  // The hiragana word after it (or nothing); only its first two characters are kept.
  void 仮名(std::u32string_view text);
  // Kinds of the previous word (k = 0), the word (1) and the next word (2); another k throws
  // std::out_of_range.
  void 種類(int32_t k, int32_t kind);
  int32_t 種類(int32_t k) const;
  // Part-of-speech code of the last piece converted; the engine writes -1 after a word that
  // was not looked up.
  int32_t 品詞() const { return code_; }
  void 品詞(int32_t code) {
    code_ = code;
    taken_ = 0;
  }
  // Okurigana the last conversion read into the word (手渡 + した: し), which the engine's
  // hiragana word after it still holds.
  size_t 送り() const { return taken_; }
  // The last piece of the last conversion was an adverb of two kanji or more (突然, 一見).
  bool EndsInAdverb() const { return endsInAdverb_; }
  const std::u32string& 読み() const { return reading_; }
  const std::u32string& 発音() const { return template_; }
  // Builds the accent templates; set once by the engine. Not owned. Without it 発音 stays empty.
  void 抑揚(Intonation* intonation) { intonation_ = intonation; }

  // Converts 元字: fills 読み, 発音 and 品詞.
  void Convert();

  int32_t EntryCount() const { return static_cast<int32_t>(entries_.size()); }
  // Whether text (letter case ignored) is a headword.
  bool Contains(std::u32string_view text) const;

 private:
  struct Entry {
    uint32_t key;       // headword, letter case folded, in text_
    uint32_t readings;  // readings field in text_
    uint32_t accent;    // accent field in text_
    uint32_t codes;     // first code in codes_
    uint32_t keyLength;
    uint32_t readingsLength;
    uint32_t accentLength;
    uint32_t codeCount;
  };

  void Load(const std::string& path);
  // Takes the tables from a cache of the file; false when it has none or they do not hold.
  bool LoadCache(const DictionaryCache& cache);
  int32_t Find(std::string_view key) const;  // entry index or -1
  std::string_view Bytes(uint32_t offset, uint32_t length) const {
    return std::string_view(bytes_.data(), bytes_.size()).substr(offset, length);
  }
  // The canonical key bytes of text, with the byte offset where each character ends (ends[0]
  // is 0), and for each position how many characters from there on the code page can hold: a
  // character it cannot hold (an emoji, 𩸽) is in no headword, so a match never spans it, but
  // the characters after it are looked up as usual. True when every character could be encoded.
  static bool EncodeKey(std::u32string_view text, std::string& bytes, std::vector<size_t>& ends,
                        std::vector<size_t>& runs);
  size_t SelectReading(const Entry& e, bool single, bool lone, bool firstLone, bool innerLone,
                       bool afterStem, bool afterKanaNoun, bool afterHonorific,
                       const std::vector<std::u32string_view>& readings, char32_t prev,
                       char32_t next) const;
  // Whether text, the hiragana word before a kanji word, ends in a noun that compounds with
  // a voiced kanji after it (うがい of うがい薬).
  bool EndsInKanaNoun(std::u32string_view text) const;

  // The file as read (code page 932); every field of every entry is a view into it. The
  // tables are built from the text or mapped from the file's cache.
  Table<char> bytes_;
  Table<Entry> entries_;
  Table<int32_t> codes_;
  // Open-addressing index from headword to entry (0 = empty slot).
  Table<uint64_t> slots_;
  size_t maxKeyLength_ = 0;
  // Per first character (canonical code): the longest headword starting with it, in
  // characters (255 = that many or more).
  Table<uint8_t> longestByFirst_;

  std::u32string word_;
  std::u32string before_;
  std::u32string kana_;
  int32_t kinds_[3] = {0, 0, 0};
  int32_t code_ = 0;
  // Okurigana the last conversion took from the hiragana word after it.
  size_t taken_ = 0;
  bool endsInAdverb_ = false;
  bool afterStem_ = false;
  bool afterKanaNoun_ = false;
  // The word before ends in an honorific verb, present or past (くださる, なさった).
  bool afterHonorific_ = false;
  bool afterHonorificPast_ = false;
  std::u32string reading_;
  std::u32string template_;
  Intonation* intonation_ = nullptr;
};

}  // namespace kotonel
