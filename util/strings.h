// String helpers shared by the engine, the analysis and the windows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kotonel {

// Every run of two or more consecutive copies of unit becomes one copy of replacement.
std::u32string CollapseRuns(std::u32string_view text, std::u32string_view unit,
                            std::u32string_view replacement);
std::u32string RepeatText(int64_t count, std::u32string_view text);
// Full width, with a separate voicing mark merged into the katakana before it (ｶﾞ -> ガ).
std::u32string WidenText(std::u32string_view text);
// The element at index (0-based), or fallback when there is none.
std::u32string ArrayItemOr(const std::vector<std::u32string>& items, int64_t index,
                           std::u32string_view fallback);

std::u32string ReplaceAll(std::u32string_view text, std::u32string_view from,
                          std::u32string_view to);
// Splits at every occurrence of sep; n separators give n + 1 fields.
std::vector<std::u32string> SplitText(std::u32string_view text, char32_t sep);
bool Contains(std::u32string_view text, std::u32string_view piece);
bool StartsWith(std::u32string_view text, std::u32string_view prefix);
bool StartsWithAny(std::u32string_view text, std::span<const std::u32string_view> prefixes);
bool EndsWith(std::u32string_view text, std::u32string_view suffix);

// Reads a leading decimal integer as a lenient number reader does: optional spaces and sign,
// digits up to the first other character; no digits reads 0. Saturates at the 32-bit range.
int32_t ParseIntLenient(std::u32string_view text);
// Whole-field integer: false when the field is not exactly an optional sign and digits.
bool ParseIntStrict(std::u32string_view text, int32_t& value);

// Rounds x to the nearest integer, halves to even.
int64_t RoundHalfEven(double x);

}  // namespace kotonel
