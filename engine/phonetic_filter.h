// The two character-level passes that make sure only symbols the synthesizer knows reach it,
// in sequences it accepts. Neither fails on any input.
#pragma once

#include <string>
#include <string_view>

namespace kotonel {

// The synthesizer's alphabet, hiragana and katakana forms.
struct KanaSet {
  std::u32string base;    // 71 base kana with "っ" and "ー"
  std::u32string small;   // ぁぃぅぇぉゃゅょゎ
  std::u32string pairs;   // the 64 two-character small-kana pairs, concatenated
  std::u32string sokuon;  // っ
};
const KanaSet& HiraganaSet();
const KanaSet& KatakanaSet();
// ",、。？'/;+": the first four are the punctuation marks.
inline constexpr std::u32string_view kPhoneticMarks = U",、。？'/;+";

// Replaces every character outside the alphabet by "、" (taking the place of an accent or
// phrase mark just before it) and turns small kana without a partner into full-size hiragana.
std::u32string FilterPhonetic(std::u32string_view s);
// Drops marks, sokuon and long-vowel marks that stand where they make no sense.
std::u32string CleanPhonetic(std::u32string_view s);

}  // namespace kotonel
