// Accent marks and accent-phrase boundaries. The word dictionary builds a per-word accent
// template through 発音判定 while it converts a kanji word; アクセント later fits that template
// onto the word's reading (carrying marks that fall past the reading onto the hiragana word
// after it) and applies the rules of acc.ktn to the word.
//
// acc.ktn: one rule per line, fields separated by single spaces:
//   kind code pattern replacement mode
// kind is the word kind the rule applies to; mode 0 replaces the pattern everywhere, 1 at the
// start (first matching rule only), 2 at the end (likewise), 3 the whole word (the first
// matching mode-3 rule ends the scan); code is used by mode 3 only.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kotonel {

class Separate;

class Intonation {
 public:
  // Loads dictionaryFolder + "acc.ktn". A missing file or a line with fewer than five fields
  // throws DictionaryError.
  explicit Intonation(const std::string& dictionaryFolder);
  Intonation(const Intonation&) = delete;  // the rules point into this object's own text
  Intonation& operator=(const Intonation&) = delete;

  // The word table worked on; set once by the engine. Not owned.
  void 分割(Separate* words) { words_ = words; }
  // Part-of-speech code of the dictionary piece before the one whose template is built next.
  void 旧品詞(int32_t code) { previousCode_ = code; }
  // The on/off switch (true after construction); off leaves every word as it is.
  void Enabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }
  // Whether the last アクセント call changed the word's text.
  bool Change() const { return change_; }
  // Whether the last アクセント call fired the special whole-word rule.
  bool 特殊() const { return special_; }

  // The template str発音 extended by the blanks and marks for one more reading.
  std::u32string 発音判定(std::u32string_view str発音, std::u32string_view str読み,
                          std::u32string_view str発音設定, int32_t lngIDX, int32_t lng現品詞) const;
  // The accent step for word i of the word table; called for i = 1 .. 単語数 in order.
  void アクセント(int32_t i);

  // The rules that can change a word (those of no mode, or that replace a text by itself or
  // an empty text everywhere, are left out).
  int32_t RuleCount() const { return ruleCount_; }

 private:
  // Views into text_, which holds the whole rule file: 40,000 rules read without an allocation
  // each.
  struct Rule {
    std::u32string_view pattern;
    std::u32string_view replacement;
    int32_t mode;
    bool accentsNext;  // mode 3 with code 5 or 29: may fire the special rule
  };
  // The rules of one word kind, in file order, with indexes that find the next rule that can
  // possibly fire on a given text without scanning the rules that cannot.
  struct RuleSet {
    std::deque<Rule> rules;  // grows without moving the rules already read
    // Replacing rules by the first (up to) three characters of their pattern, with the head
    // lengths there are: many rules share a first character (a particle before a verb form).
    std::unordered_map<std::u32string_view, std::vector<uint32_t>> infixByHead;
    std::vector<size_t> infixHeadLengths;
    // Prefix and suffix rules by their whole pattern, with the pattern lengths there are: a
    // text's own prefixes and suffixes of those lengths find exactly the rules that match it.
    std::unordered_map<std::u32string_view, std::vector<uint32_t>> prefixByPattern;
    std::unordered_map<std::u32string_view, std::vector<uint32_t>> suffixByPattern;
    std::vector<size_t> prefixLengths;
    std::vector<size_t> suffixLengths;
    std::vector<uint32_t> emptyPrefix;
    std::vector<uint32_t> emptySuffix;
    std::unordered_map<std::u32string_view, std::vector<uint32_t>> whole;
  };

  static bool 品詞判定(int32_t code);
  void 規則適用(int32_t i);
  void 型当て(int32_t i, bool own);
  void AddRule(int32_t kind, Rule rule);

  std::u32string text_;  // the rule file, which the rules point into
  Separate* words_ = nullptr;
  std::unordered_map<int32_t, RuleSet> rulesByKind_;
  int32_t ruleCount_ = 0;
  bool enabled_ = true;
  bool change_ = false;
  bool special_ = false;
  int32_t previousCode_ = 0;
  int32_t carry_ = 0;
};

// The seam-aware join of the accent rules: "/" goes between two neighbours that both carry an
// accent mark unless one of them already has a "/" at that seam.
std::u32string 連結(std::u32string_view left, std::u32string_view middle,
                    std::u32string_view right);
// Replaces every occurrence of pattern in s through 連結; an empty pattern changes nothing.
std::u32string 置換(std::u32string_view s, std::u32string_view pattern,
                    std::u32string_view replacement);

}  // namespace kotonel
