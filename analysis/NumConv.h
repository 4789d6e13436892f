// Number reading: a number as written (digits, grouping commas, a decimal point) becomes its
// kana reading, and a counter word after it (本, 個, 年, つ ...) is read with the sound changes
// Japanese makes where the two meet (いっぽん, さんぼん, みっつ). Numbers shortly after an
// identifier keyword ("tel", "郵便番号" ...) are read digit by digit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/lists.h"

namespace kotonel {

class NumConv {
 public:
  // Loads the counter words of num.ktn from dictionaryFolder (ending in '/'). A missing file or
  // a line with fewer than three fields throws DictionaryError.
  explicit NumConv(const std::string& dictionaryFolder);

  // Tells the reader that word lngPOS of the sentence is strWRD. A word holding an identifier
  // keyword makes the first number among the next five positions read digit by digit.
  void BefWord(std::u32string_view strWRD, int32_t lngPOS);

  // Reads the number strBfNm (word lngPOS) followed by the word strBfWd (empty when none):
  // strAfNm receives the number's reading, strAfWd the following word, rewritten when it
  // begins with a known counter. Clears the keyword position. After a counter the two carry the
  // accent mark of number + counter as num.ktn's reading places it (いち' + じ, いっ +
  // しゅ'うかん). A minus sign before the number reads まいなす; kanji multipliers at the start of
  // strBfWd (3千本, 1万円) belong to the number; numbers joined by hyphens are read part by part,
  // and telephone numbers (a first part beginning with 0) and postal codes (123-4567) digit by
  // digit with their zeros.
  void Convert(std::u32string_view strBfNm, std::u32string_view strBfWd, std::u32string& strAfNm,
               std::u32string& strAfWd, int32_t lngPOS);

  // The length of the counter of num.ktn that word begins with, 0 when none (katakana and
  // Latin words must be the counter as a whole).
  size_t CounterLength(std::u32string_view word) const;

  // The kanji numeral at the start of text (三, 二十四, 八千, 一万五千, 二〇二四): its length
  // in characters and its value in digits. False when text does not begin with one.
  static bool ParseKanjiNumber(std::u32string_view text, size_t& length, std::u32string& digits);

 private:
  struct Counter {
    std::u32string surface;
    std::u32string reading;  // empty: the word keeps its own text
    int32_t type;            // voicing type 0..5; other values shift nothing
    bool accentOnNumber;     // the compound's accent falls on the number's last mora
  };

  void ReadWithCounter(const std::u32string& number, const std::u32string& word, bool fromKeyword,
                       std::u32string& reading, std::u32string& after);
  void ReadGroups(const std::u32string& number, const std::u32string& word, std::u32string& reading,
                  std::u32string& after);
  bool LookUpCounter(const std::u32string& word, std::u32string& rewritten, int32_t& type);
  std::u32string ReadNumber(const std::u32string& number, int32_t counterClass,
                            bool digitByDigit) const;
  std::u32string Voice(const std::u32string& number, std::u32string reading, int32_t type) const;
  std::u32string PlacePhrases(const std::u32string& number, std::u32string& reading) const;

  std::vector<Counter> counters_;
  StringList bigUnits_;
  StringList keywords_;
  int32_t keywordPosition_ = 0;
  bool decimal_ = false;
  bool accentOnNumber_ = false;  // the counter of the last look-up puts the accent on the number
};

}  // namespace kotonel
