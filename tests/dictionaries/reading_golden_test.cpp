// Readings of ordinary prose with the shipped dictionaries, one group per class of misreading
// found on text nobody tuned for: each group fails when its class comes back.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class Readings : public test::Shipped {};

TEST_F(Readings, IchidanVerbWrittenWithItsKanjiAloneIsItsStem) {
  // 着る, 見る, 寝る have no okurigana before て, た, ない: the kanji reads its stem and the
  // kana after it complete the word, never a second time
  EXPECT_EQ(Kana(U"新しいシャツを着て出かけた。"), "あたらしいシャツをきてでかけた。");
  EXPECT_EQ(Kana(U"上着を着たまま寝た。"), "うわぎをきたままねた。");
  EXPECT_EQ(Kana(U"着ない服は捨てる。"), "きないふくわすてる。");
}

}  // namespace
}  // namespace kotonel
