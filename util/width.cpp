#include "util/width.h"

#include <unordered_map>

#include "util/encoding.h"

namespace kotonel {

namespace {

// Half-width katakana U+FF61..U+FF9F and their full-width forms, in code order.
constexpr char32_t kHalfFrom = 0xFF61;
const char32_t kFullOfHalf[] =
    U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    U"マミムメモヤユヨラリルレロワン゛゜";

struct WidthTables {
  std::unordered_map<char32_t, std::u32string> narrow;  // full -> half (one or two chars)
  std::unordered_map<char32_t, char32_t> wide;          // half -> full

  WidthTables() {
    for (char32_t c = 0x21; c <= 0x7E; ++c) {
      char32_t full = 0xFF01 + (c - 0x21);
      narrow[full] = std::u32string(1, c);
      wide[c] = full;
    }
    // On the Japanese code page the backslash is the yen sign.
    narrow[0xFFE5] = U"\\";
    wide[U'\\'] = 0xFFE5;
    narrow[0x3000] = U" ";
    wide[U' '] = 0x3000;
    // The code page's full-width apostrophe and double quote are the right-hand quotation marks,
    // so these narrow too (one way only: the ASCII marks widen to ＇ and ＂).
    narrow[0x2019] = U"'";
    narrow[0x201D] = U"\"";
    for (size_t i = 0; kFullOfHalf[i]; ++i) {
      char32_t half = kHalfFrom + static_cast<char32_t>(i);
      narrow[kFullOfHalf[i]] = std::u32string(1, half);
      wide[half] = kFullOfHalf[i];
    }
    // Voiced and semi-voiced katakana narrow to the kana plus a separate mark.
    for (size_t i = 0; kFullOfHalf[i]; ++i) {
      char32_t full = kFullOfHalf[i];
      char32_t half = kHalfFrom + static_cast<char32_t>(i);
      for (int delta : {1, 2}) {
        char32_t voiced = ShiftCp932(full, delta);
        bool isKana = voiced >= 0x30A1 && voiced <= 0x30F4;
        if (!isKana || narrow.count(voiced)) continue;
        bool voicedRow = (full >= U'カ' && full <= U'ト') || (full >= U'ハ' && full <= U'ホ');
        bool semiRow = full >= U'ハ' && full <= U'ホ';
        if ((delta == 1 && voicedRow) || (delta == 2 && semiRow))
          narrow[voiced] = std::u32string{half, delta == 1 ? U'ﾞ' : U'ﾟ'};
      }
    }
    narrow[U'ヴ'] = U"ｳﾞ";
  }
};

const WidthTables& Tables() {
  static const WidthTables tables;
  return tables;
}

}  // namespace

std::u32string ToNarrow(std::u32string_view text) {
  const auto& t = Tables();
  std::u32string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    auto it = t.narrow.find(c);
    if (it == t.narrow.end())
      out.push_back(c);
    else
      out += it->second;
  }
  return out;
}

std::u32string ToWide(std::u32string_view text) {
  const auto& t = Tables();
  std::u32string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    auto it = t.wide.find(c);
    out.push_back(it == t.wide.end() ? c : it->second);
  }
  return out;
}

std::u32string ToHiragana(std::u32string_view text) {
  std::u32string out(text);
  for (char32_t& c : out)
    if (c >= 0x30A1 && c <= 0x30F3) c -= 0x60;
  return out;
}

std::u32string ToKatakana(std::u32string_view text) {
  std::u32string out(text);
  for (char32_t& c : out)
    if (c >= 0x3041 && c <= 0x3093) c += 0x60;
  return out;
}

char32_t ShiftCp932(char32_t c, int delta) {
  int code = Cp932Code(c);
  if (code < 0) return 0;
  return FromCp932Code(code + delta);
}

bool IsHalfWidthKatakana(char32_t c) {
  return c >= 0xFF66 && c <= 0xFF9F;
}

std::u32string ToLowerAscii(std::u32string_view text) {
  std::u32string out(text);
  for (char32_t& c : out)
    if (c >= U'A' && c <= U'Z') c += 32;
  return out;
}

}  // namespace kotonel
