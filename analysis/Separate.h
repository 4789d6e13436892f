// Character kinds and word segmentation: one line of text becomes the word table (word text,
// kind, pronunciation, part of speech) on which the whole conversion works.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/JoinRules.h"
#include "analysis/MarkTable.h"
#include "util/lists.h"

namespace kotonel {

class Separate {
 public:
  // Loads mrk.ktn and join.ktn from dictionaryFolder (both may be missing); a malformed line
  // throws DictionaryError.
  explicit Separate(const std::string& dictionaryFolder);

  int32_t 単語数() const;
  std::u32string 単語(int32_t i) const;
  void 単語(int32_t i, std::u32string value);
  int32_t 種類(int32_t i) const;
  void 種類(int32_t i, int32_t value);
  std::u32string 発音(int32_t i) const;
  void 発音(int32_t i, std::u32string value);
  int32_t 品詞(int32_t i) const;
  void 品詞(int32_t i, int32_t value);

  // Replaces the word table by the segmentation of text.
  void 単語分割(std::u32string_view text);
  // The first pass alone, appending to the word table.
  void 種類分け(std::u32string_view text);

  // The kind 0..8 of one character (the empty string, i.e. char 0, has kind 0).
  int32_t KindOf(char32_t c) const;

 private:
  void FirstPass(std::u32string_view text);
  void SecondPass();
  void AppendWord(std::u32string word, int32_t kind);
  std::u32string ReplaceIterationMark(const JoinSlot& previous, char32_t mark) const;

  MarkTable marks_;
  JoinRules joins_;
  StringList words_;
  IntList kinds_;
  StringList pronunciations_;
  IntList partsOfSpeech_;
};

}  // namespace kotonel
