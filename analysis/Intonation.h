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
#include <memory>
#include <span>
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
  // A rule's pattern and replacement lie one after the other in the text pool.
  struct Rule {
    const char32_t* text;
    uint32_t patternLength;
    uint32_t replacementLength;
    uint32_t key;  // its key's number; kNoKey for a prefix or suffix rule of no characters
    uint8_t mode;
    bool accentsNext;  // mode 3 with code 5 or 29: may fire the special rule
    std::u32string_view pattern() const { return {text, patternLength}; }
    std::u32string_view replacement() const { return {text + patternLength, replacementLength}; }
  };
  static constexpr uint32_t kNoKey = 0xFFFFFFFF;
  // A key of one of the indexes below: a text the rules of one index share (the head or the
  // whole of their pattern). Every key's rule numbers lie side by side in ruleNumbers_,
  // ascending, so that loading makes no allocation per key.
  struct Key {
    const char32_t* text;  // in the pattern of the first rule with the key
    uint32_t length;
    uint32_t begin;  // while loading: how many rules have the key
    uint32_t end;
  };
  // Rule numbers by key: an open-addressing table of key numbers, at most half full.
  struct KeyIndex {
    // The key's hash in the high half, its number + 1 in the low one; 0 is a free slot.
    std::vector<uint64_t> slots;
    size_t keys = 0;
  };
  // The rules of one word kind, with indexes that find the next rule (in file order) that can
  // possibly fire on a given text without scanning the rules that cannot.
  struct RuleSet {
    // Replacing rules by the first (up to) three characters of their pattern, with the head
    // lengths there are: many rules share a first character (a particle before a verb form).
    KeyIndex infixByHead;
    std::vector<size_t> infixHeadLengths;
    // Prefix and suffix rules by their whole pattern, with the pattern lengths there are: a
    // text's own prefixes and suffixes of those lengths find exactly the rules that match it.
    KeyIndex prefixByPattern;
    KeyIndex suffixByPattern;
    std::vector<size_t> prefixLengths;
    std::vector<size_t> suffixLengths;
    std::vector<uint32_t> emptyPrefix;
    std::vector<uint32_t> emptySuffix;
    KeyIndex whole;
  };

  static bool 品詞判定(int32_t code);
  void 規則適用(int32_t i);
  void 型当て(int32_t i, bool own);
  void AddRule(int32_t kind, std::u32string_view pattern, std::u32string_view replacement,
               int32_t mode, bool accentsNext);
  const char32_t* Keep(std::u32string_view pattern, std::u32string_view replacement);
  // The number of the key (a view into the pool) in index, added if it is new, counting one
  // more rule with it.
  uint32_t AddKey(KeyIndex& index, std::u32string_view key);
  size_t Slot(const KeyIndex& index, std::u32string_view key, uint32_t hash) const;
  // Lays the rule numbers out by key; once, after the last rule.
  void FinishKeys();
  // The ascending numbers of the rules with exactly this key (none: an empty span).
  std::span<const uint32_t> Find(const KeyIndex& index, std::u32string_view key) const;

  // Patterns and replacements, in blocks that never move once written (the rules and keys
  // point into them).
  std::vector<std::unique_ptr<char32_t[]>> pool_;
  size_t poolUsed_ = 0;
  size_t poolSize_ = 0;
  // Every rule, of all kinds, in file order; the indexes hold numbers into it.
  std::vector<Rule> rules_;
  std::vector<Key> keys_;  // of all indexes
  std::vector<uint32_t> ruleNumbers_;
  Separate* words_ = nullptr;
  std::unordered_map<int32_t, RuleSet> rulesByKind_;
  RuleSet* lastSet_ = nullptr;  // while loading: the set of the last rule, of lastKind_
  int32_t lastKind_ = 0;
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
