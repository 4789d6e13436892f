// The nine character kinds every character and every word of the segmentation carries.
#pragma once

#include <cstdint>

namespace kotonel {

// 0 symbol, 1 Greek or Cyrillic letter, 2 digit, 3 Latin letter, 4 hiragana, 5 katakana (half
// and full width), 6 long-vowel mark, 7 punctuation, 8 anything else (kanji). Membership is
// exact, with no folding of case or width. Char 0 stands for "no character" and has kind 0.
int32_t CharacterKind(char32_t c);

}  // namespace kotonel
