// The special-mark table: text replacements applied to a whole line before it is cut into words,
// built-in entries followed by the lines of mrk.ktn. Five built-in entries also give the
// readings of the currency signs (the yen sign "\", "$", "￡", "￠" and "€").
#pragma once

#include <string>
#include <string_view>

#include "util/lists.h"

namespace kotonel {

class MarkTable {
 public:
  // Holds the built-in entries.
  MarkTable();

  // Appends the entries of the file at path; a missing file adds nothing. A line with fewer
  // than two space-separated fields throws DictionaryError.
  void Load(const std::string& path);

  // Applies every entry in table order, each to the text the earlier ones left. Entries whose
  // key is empty or a piece of the currency signs are skipped.
  std::u32string Replace(std::u32string_view text) const;

  // The reading of one of the four currency signs (empty for any other character).
  std::u32string CurrencyReading(char32_t sign) const;
  static bool IsCurrencySign(char32_t c);

  int32_t Count() const { return keys_.Count(); }
  const std::u32string& Key(int32_t i) const { return keys_[i]; }
  const std::u32string& Replacement(int32_t i) const { return replacements_[i]; }

  static constexpr char32_t kMessage[] = U"特殊文字ファイルの以下の行でエラーが発生しました。";

 private:
  void Add(std::u32string key, std::u32string replacement);

  StringList keys_;
  StringList replacements_;
};

}  // namespace kotonel
