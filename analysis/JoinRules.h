// Join rules from join.ktn: patterns over three neighbouring characters that let a character
// take the kind of the one after it, so that for example a decimal point between digits stays
// inside the number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kotonel {

// One position of the segmentation window: a character (0 when there is none, beyond the ends
// of the text) and the kind it has at that moment.
struct JoinSlot {
  char32_t character = 0;
  int32_t kind = 0;
};

class JoinRules {
 public:
  struct Field {
    int32_t kind = 0;     // the value of the field's first character when it is a digit, else 0
    std::u32string list;  // the rest of the field: a comma before each listed character
  };
  struct Rule {
    Field fields[3];
    bool twoColumn = false;  // the third field is empty: compare current and next only
  };

  // Appends the rules of the file at path; a missing file adds nothing. A line with fewer than
  // three space-separated fields throws DictionaryError.
  void Load(const std::string& path);

  // Tries the rules in file order; the first that matches gives current the kind of its last
  // compared field. Returns whether a rule matched.
  bool Apply(const JoinSlot& previous, JoinSlot& current, const JoinSlot& next) const;

  int32_t Count() const { return static_cast<int32_t>(rules_.size()); }
  const Rule& At(int32_t i) const { return rules_[static_cast<size_t>(i - 1)]; }

  static Rule ParseRule(const std::vector<std::u32string>& fields);

  static constexpr char32_t kMessage[] = U"結合ファイルの以下の行でエラーが発生しました。";

 private:
  std::vector<Rule> rules_;
};

}  // namespace kotonel
