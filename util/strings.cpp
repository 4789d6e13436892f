#include "util/strings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "util/width.h"

namespace kotonel {

std::u32string CollapseRuns(std::u32string_view text, std::u32string_view unit,
                            std::u32string_view replacement) {
  std::u32string result(text);
  if (unit.empty()) return result;
  std::u32string twice = std::u32string(unit) + std::u32string(unit);
  // Each pass restarts from the beginning of the new text; the replacement never holds two
  // copies of unit, so a pass never recreates the run it removed and the loop ends.
  size_t from = 0;
  for (;;) {
    size_t p = result.find(twice, from);
    if (p == std::u32string::npos) return result;
    size_t q = p;
    while (q + unit.size() <= result.size() &&
           std::u32string_view(result).substr(q, unit.size()) == unit)
      q += unit.size();
    result = result.substr(0, p) + std::u32string(replacement) + result.substr(q);
    // Text before p cannot hold a new run except one that ends in the replacement.
    from = p >= twice.size() ? p - twice.size() + 1 : 0;
  }
}

std::u32string RepeatText(int64_t count, std::u32string_view text) {
  std::u32string out;
  for (int64_t i = 0; i < count; ++i) out += text;
  return out;
}

std::u32string WidenText(std::u32string_view text) {
  std::u32string wide = ToWide(text);
  std::u32string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (i + 1 < wide.size() && (wide[i + 1] == U'゛' || wide[i + 1] == U'゜')) {
      char32_t voiced = ShiftCp932(c, wide[i + 1] == U'゛' ? 1 : 2);
      // Only a kana whose half-width form takes two characters is a voiced katakana.
      if (voiced != 0 && ToNarrow(std::u32string(1, voiced)).size() == 2 &&
          IsHalfWidthKatakana(ToNarrow(std::u32string(1, voiced))[0]))
        c = voiced;
      out.push_back(c);
      ++i;
      continue;
    }
    out.push_back(c);
  }
  return out;
}

std::u32string ArrayItemOr(const std::vector<std::u32string>& items, int64_t index,
                           std::u32string_view fallback) {
  if (index < 0 || index >= static_cast<int64_t>(items.size())) return std::u32string(fallback);
  return items[static_cast<size_t>(index)];
}

std::u32string ReplaceAll(std::u32string_view text, std::u32string_view from,
                          std::u32string_view to) {
  if (from.empty()) return std::u32string(text);
  std::u32string out;
  size_t start = 0;
  for (;;) {
    size_t p = text.find(from, start);
    if (p == std::u32string_view::npos) break;
    out.append(text.substr(start, p - start));
    out.append(to);
    start = p + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::vector<std::u32string> SplitText(std::u32string_view text, char32_t sep) {
  std::vector<std::u32string> fields;
  size_t start = 0;
  for (;;) {
    size_t p = text.find(sep, start);
    if (p == std::u32string_view::npos) {
      fields.emplace_back(text.substr(start));
      return fields;
    }
    fields.emplace_back(text.substr(start, p - start));
    start = p + 1;
  }
}

bool Contains(std::u32string_view text, std::u32string_view piece) {
  return text.find(piece) != std::u32string_view::npos;
}
bool StartsWith(std::u32string_view text, std::u32string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}
bool StartsWithAny(std::u32string_view text, std::span<const std::u32string_view> prefixes) {
  return std::any_of(prefixes.begin(), prefixes.end(),
                     [&](std::u32string_view p) { return StartsWith(text, p); });
}
bool EndsWith(std::u32string_view text, std::u32string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

int32_t ParseIntLenient(std::u32string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == U' ' || text[i] == U'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == U'-' || text[i] == U'+')) negative = text[i++] == U'-';
  int64_t v = 0;
  for (; i < text.size() && text[i] >= U'0' && text[i] <= U'9'; ++i) {
    v = v * 10 + (text[i] - U'0');
    if (v > std::numeric_limits<int32_t>::max()) v = std::numeric_limits<int32_t>::max() + 1LL;
  }
  v = negative ? -v : v;
  if (v > std::numeric_limits<int32_t>::max()) v = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

bool ParseIntStrict(std::u32string_view text, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == U'-' || text[i] == U'+')) negative = text[i++] == U'-';
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < U'0' || text[i] > U'9') return false;
    v = v * 10 + (text[i] - U'0');
    if (v > (1LL << 31)) return false;
  }
  v = negative ? -v : v;
  if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min())
    return false;
  value = static_cast<int32_t>(v);
  return true;
}

int64_t RoundHalfEven(double x) {
  return static_cast<int64_t>(std::nearbyint(x));
}

}  // namespace kotonel
