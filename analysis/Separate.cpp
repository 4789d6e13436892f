#include "analysis/Separate.h"

#include <algorithm>

#include "analysis/CharacterKinds.h"
#include "util/strings.h"
#include "util/width.h"

namespace kotonel {

namespace {

constexpr std::u32string_view kIterationMarks = U"ヽヾゝゞ〃";

bool IsIterationMark(char32_t c) {
  return c != 0 && kIterationMarks.find(c) != std::u32string_view::npos;
}

bool IsKana(int32_t kind) {
  return kind == 4 || kind == 5;
}

// Symbols and digits are kept half width, Latin words half width and lower case.
std::u32string Normalize(std::u32string word, int32_t kind) {
  switch (kind) {
    case 0:
    case 2:
      return ToNarrow(word);
    case 3:
      return ToLowerAscii(ToNarrow(word));
    default:
      return word;
  }
}

}  // namespace

Separate::Separate(const std::string& dictionaryFolder) {
  std::string folder = dictionaryFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  // The special marks first: a broken mrk.ktn stops before join.ktn is read.
  marks_.Load(folder + "mrk.ktn");
  joins_.Load(folder + "join.ktn");
}

int32_t Separate::単語数() const {
  return words_.Count();
}

std::u32string Separate::単語(int32_t i) const {
  return ItemOf(words_, i);
}
void Separate::単語(int32_t i, std::u32string value) {
  SetItem(words_, std::move(value), i);
}
int32_t Separate::種類(int32_t i) const {
  return ItemOf(kinds_, i);
}
void Separate::種類(int32_t i, int32_t value) {
  SetItem(kinds_, value, i);
}
std::u32string Separate::発音(int32_t i) const {
  return ItemOf(pronunciations_, i);
}
void Separate::発音(int32_t i, std::u32string value) {
  SetItem(pronunciations_, std::move(value), i);
}
int32_t Separate::品詞(int32_t i) const {
  return ItemOf(partsOfSpeech_, i);
}
void Separate::品詞(int32_t i, int32_t value) {
  SetItem(partsOfSpeech_, value, i);
}

int32_t Separate::KindOf(char32_t c) const {
  return CharacterKind(c);
}

void Separate::単語分割(std::u32string_view text) {
  words_.Clear();
  kinds_.Clear();
  pronunciations_.Clear();
  partsOfSpeech_.Clear();
  FirstPass(marks_.Replace(text));
  SecondPass();
}

void Separate::種類分け(std::u32string_view text) {
  FirstPass(text);
}

void Separate::AppendWord(std::u32string word, int32_t kind) {
  words_.Add(std::move(word));
  kinds_.Add(kind);
  pronunciations_.Add(U"");
  partsOfSpeech_.Add(-1);
}

std::u32string Separate::ReplaceIterationMark(const JoinSlot& previous, char32_t mark) const {
  if (previous.kind == 8) return U"々";
  if (mark == U'ゞ' || mark == U'ヾ') {
    char32_t base = previous.character;
    if (previous.kind == 5) base = ToWide(std::u32string(1, base))[0];
    // The voiced kana is the next code on the Japanese code page. A kana with no character
    // there (ヶ) keeps the mark rather than turning into nothing.
    char32_t voiced = ShiftCp932(base, 1);
    return std::u32string(1, voiced != 0 ? voiced : mark);
  }
  return std::u32string(1, previous.character);
}

void Separate::FirstPass(std::u32string_view text) {
  const size_t length = text.size();
  JoinSlot previous;
  JoinSlot current;
  JoinSlot next;
  if (length > 0) next = {text[0], KindOf(text[0])};
  // The first split test compares the first character's kind with itself.
  current.kind = next.kind;
  std::u32string word;
  for (size_t p = 1; p <= length; ++p) {
    previous = current;
    current = next;
    next = p < length ? JoinSlot{text[p], KindOf(text[p])} : JoinSlot{};
    std::u32string piece(1, text[p - 1]);
    if (IsIterationMark(current.character) && (IsKana(previous.kind) || previous.kind == 8)) {
      // The mark keeps its own kind, so it stands as a word of its own.
      piece = ReplaceIterationMark(previous, current.character);
      current.character = piece[0];
    } else {
      joins_.Apply(previous, current, next);
    }
    if (IsKana(previous.kind) && current.kind == 6) {
      current.kind = previous.kind;  // a long-vowel mark belongs to the kana before it
    } else if (previous.kind != current.kind) {
      AppendWord(Normalize(std::move(word), previous.kind), previous.kind);
      word.clear();
    }
    word += piece;
  }
  AppendWord(Normalize(std::move(word), current.kind), current.kind);
}

void Separate::SecondPass() {
  StringList texts;
  IntList kinds;
  const int32_t n = 単語数();
  texts.Reserve(static_cast<size_t>(n));
  kinds.Reserve(static_cast<size_t>(n));
  auto add = [&](std::u32string text, int32_t kind) {
    texts.Add(std::move(text));
    kinds.Add(kind);
  };
  for (int32_t i = 1; i <= n; ++i) {
    const std::u32string& word = words_[i];
    const int32_t kind = kinds_[i];
    if (!word.empty() && MarkTable::IsCurrencySign(word.back()) && 種類(i + 1) == 2) {
      // A sign before a number is read after it: $100 -> 100 ドル.
      std::u32string reading = marks_.CurrencyReading(word.back());
      std::u32string rest = word.substr(0, word.size() - 1);
      if (!rest.empty()) add(std::move(rest), kind);
      add(words_[i + 1], kinds_[i + 1]);
      add(reading, KindOf(reading.empty() ? 0 : reading[0]));
      ++i;
    } else if (kind == 0 && !word.empty() &&
               std::any_of(word.begin(), word.end(), MarkTable::IsCurrencySign)) {
      for (char32_t c : word) {
        if (MarkTable::IsCurrencySign(c)) {
          std::u32string reading = marks_.CurrencyReading(c);
          add(reading, KindOf(reading.empty() ? 0 : reading[0]));
        } else {
          add(std::u32string(1, c), 0);
        }
      }
    } else if (kind == 5) {
      add(WidenText(word), 5);
    } else {
      add(word, kind);
    }
  }

  words_.Clear();
  kinds_.Clear();
  pronunciations_.Clear();
  partsOfSpeech_.Clear();
  if (kinds.Empty()) return;
  int32_t previousKind = kinds[1];
  std::u32string word;
  for (int32_t j = 1; j <= kinds.Count(); ++j) {
    int32_t kind = kinds[j];
    if (IsKana(previousKind) && kind == 6) {
      kind = previousKind;
    } else if (previousKind != kind) {
      AppendWord(std::move(word), previousKind);
      word.clear();
    }
    word += texts[j];
    previousKind = kind;
  }
  AppendWord(std::move(word), previousKind);
}

}  // namespace kotonel
