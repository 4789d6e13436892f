// Width and kana conversions with the semantics of the Japanese code page 932: full width to
// half width and back, hiragana and katakana, and voiced forms found by code + 1.
#pragma once

#include <string>
#include <string_view>

namespace kotonel {

// Full-width forms to half width: U+FF01..U+FF5E to ASCII, the ideographic space to a space,
// "￥" to "\", "’" and "”" to "'" and '"', full-width katakana (voiced ones as two characters),
// "ー", "・", "「」", "、。", "゛゜" to their half-width forms. Characters without a half-width
// form stay.
std::u32string ToNarrow(std::u32string_view text);
// The reverse: ASCII and half-width katakana and marks to full width, one character for one
// (a half-width voicing mark becomes "゛"; WidenText merges it with the kana before it).
std::u32string ToWide(std::u32string_view text);

std::u32string ToHiragana(std::u32string_view text);  // full-width katakana ァ..ン to ぁ..ん
std::u32string ToKatakana(std::u32string_view text);  // ぁ..ん to ァ..ン

// The character whose code page 932 code is `delta` above that of c, or 0 when c or the result
// has no code.
char32_t ShiftCp932(char32_t c, int delta);

bool IsHalfWidthKatakana(char32_t c);  // U+FF66..U+FF9F
std::u32string ToLowerAscii(std::u32string_view text);

}  // namespace kotonel
