// Accent nuclei of whole classes of words with the dictionaries shipped in dll/: numerals with
// a counter, where the number reader or the dictionary decides where the pitch falls.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class ShippedNuclei : public test::Shipped {};

// 人 after a number takes the accent on its own first mora, also in the numerals the dictionary
// writes out (4人); 何 and 数 before a counter with an accent of its own keep the counter's
// accent, and before other counters their own; an ordinal (番目, 回目, 度目) ends in its accent.
TEST_F(ShippedNuclei, NumeralsWithACounter) {
  EXPECT_EQ(Read(U"５人の"), "ごに'んの。");
  EXPECT_EQ(Read(U"三人"), "さんに'ん。");
  EXPECT_EQ(Read(U"4人"), "よに'ん。");
  EXPECT_EQ(Read(U"何週間も"), "なんしゅ'うかんも。");
  EXPECT_EQ(Read(U"何時間"), "なんじ'かん。");
  EXPECT_EQ(Read(U"何人"), "な'んにん。");
  EXPECT_EQ(Read(U"何本"), "な'んぼん。");
  EXPECT_EQ(Read(U"数時間の"), "すーじ'かんの。");
  EXPECT_EQ(Read(U"数週間"), "すーしゅ'うかん。");
  EXPECT_EQ(Read(U"数人"), "すーにん。");
  // an ordinal's め takes the accent
  EXPECT_EQ(Read(U"三番目の"), "さんばんめ'の。");
  EXPECT_EQ(Read(U"２回目に"), "にかいめ'に。");
  EXPECT_EQ(Read(U"二度目の"), "にどめ'の。");
}

}  // namespace
}  // namespace kotonel
