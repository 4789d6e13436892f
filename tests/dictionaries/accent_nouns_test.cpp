// Accent of nouns with the dictionaries shipped in dll/: compounds the word dictionary holds
// whole take the accent their parts give them.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"

namespace kotonel {
namespace {

class ShippedNounAccents : public test::Shipped {};

// A compound read as one word has the one accent its last part gives it: on the last mora of
// what precedes (機, 番号, 情報), on its own first mora (関係, 要素), or its own accent (自身);
// never on ー, ん or っ, from which the pitch cannot fall.
TEST_F(ShippedNounAccents, CompoundsHeldWholeTakeTheirPartsAccent) {
  EXPECT_EQ(Read(U"飛行機の発明。"), "ひこ'ーきの/はつめー。");
  EXPECT_EQ(Read(U"電話番号を忘れた。"), "でんわば'んごーを/わすれた。");
  EXPECT_EQ(Read(U"自分自身が。"), "じぶんじ'しんが。");
  EXPECT_EQ(Read(U"設定情報や。"), "せってーじょ'ーほーや。");
  EXPECT_EQ(Read(U"依存関係を。"), "いぞんか'んけーを。");
  EXPECT_EQ(Read(U"構成要素の。"), "こーせーよ'ーその。");
  EXPECT_EQ(Read(U"最小限の。"), "さいしょ'ーげんの。");
}

}  // namespace
}  // namespace kotonel
