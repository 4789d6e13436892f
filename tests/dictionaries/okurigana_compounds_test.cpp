// Words written kanji + kana + kanji (持ち帰る, 引き起こす, 受け付け, 落ち葉) with the
// dictionaries shipped in dll/: the kana inside joins the kanji on both sides into one word,
// which the dictionary reads whole, in one accent phrase; a particle between two kanji, and
// the kana that end words of their own (少し, 古い), keep the boundary.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class ShippedOkuriganaCompounds : public test::Shipped {};

// Compound verbs: one phrase, the accent of the whole verb, not one per part.
TEST_F(ShippedOkuriganaCompounds, CompoundVerbsAreOnePhrase) {
  EXPECT_EQ(Read(U"引き起こす。"), "ひきおこ'す。");
  EXPECT_EQ(Read(U"名前を呼び出して。"), "なまえを/よびだ'して。");
  EXPECT_EQ(Read(U"書き直す。"), "かきなお'す。");
  EXPECT_EQ(Read(U"受け付けました。"), "うけつけま'した。");
  EXPECT_EQ(Read(U"ボールを持ち込もうとした。"), "ボールを/もちこも'うと/した。");
  EXPECT_EQ(Kana(U"本を持ち帰る。"), "ほんをもちかえる。");
  EXPECT_EQ(Kana(U"箱を組み立てる。"), "はこをくみたてる。");
  EXPECT_EQ(Kana(U"少女は人形を抱き締めた。"), "しょーじょわにんぎょーをだきしめた。");
}

// A compound verb listed both flat and accented is said with its accent.
TEST_F(ShippedOkuriganaCompounds, CompoundVerbsTakeTheirAccentedType) {
  EXPECT_EQ(Read(U"本を持ち帰る。"), "ほ'んを/もちか'える。");
  EXPECT_EQ(Read(U"カメラを取り出した。"), "カ'メラを/とりだ'した。");
  EXPECT_EQ(Read(U"箱を組み立てる。"), "はこを/くみたて'る。");
}

// Compound nouns: read as UniDic's word, with the voiced later part where it is voiced.
TEST_F(ShippedOkuriganaCompounds, CompoundNounsAreReadWhole) {
  EXPECT_EQ(Read(U"一枚の落ち葉が。"), "いち'まいの/お'ちばが。");
  EXPECT_EQ(Read(U"個性の持ち主なのに。"), "こ'せーの/もち'ぬしなのに。");
  EXPECT_EQ(Read(U"読み方。"), "よ'みかた。");
  EXPECT_EQ(Kana(U"手続き通りに。"), "てつずきどーりに。");
  EXPECT_EQ(Kana(U"記事を切り貼りして。"), "きじをきりばりして。");
  EXPECT_EQ(Kana(U"取り扱いに注意。"), "とりあつかいにちゅーい。");
  // ん between kanji is inside a word too; a verb's ん before kana is not
  EXPECT_EQ(Read(U"真ん中に"), "まんなかに。");
  EXPECT_EQ(Read(U"赤ん坊が"), "あかんぼーが。");
  EXPECT_EQ(Read(U"踏ん張る"), "ふんば'る。");
  EXPECT_EQ(Read(U"読んだ本"), "よ'んだ/ほ'ん。");
}

// A particle between two kanji, and the kana ending a word of its own, keep the boundary.
TEST_F(ShippedOkuriganaCompounds, ParticlesAndWordEndsStayApart) {
  EXPECT_EQ(Read(U"山の上。"), "やま'の/うえ。");
  EXPECT_EQ(Read(U"水を飲む。"), "みずを/の'む。");
  EXPECT_EQ(Read(U"東京に行く。"), "とーきょーに/いく。");
  EXPECT_EQ(Read(U"少し前。"), "すこ'し/ま'え。");
  EXPECT_EQ(Read(U"古い物。"), "ふる'い/もの。");
  EXPECT_EQ(Kana(U"新しい本。"), "あたらしいほん。");
}

// A stem before 出す reads だ even where UniDic lists only the 出る compound (歩き出る), and a
// stem before 始める or 終える, whose compounds UniDic mostly does not list, stays a word of its
// own rather than being cut inside its ending.
TEST_F(ShippedOkuriganaCompounds, ProductiveSecondVerbsKeepTheirReadingAndPhrase) {
  EXPECT_EQ(Kana(U"彼は歩き出した。"), "かれわあるきだした。");
  EXPECT_EQ(Kana(U"急に走り出す。"), "きゅーにはしりだす。");
  EXPECT_EQ(Kana(U"外へ飛び出る。"), "そとえとびでる。");
  EXPECT_EQ(Read(U"本を読み始めました。"), "ほ'んを/よ'み/はじめま'した。");
  EXPECT_EQ(Read(U"読み終えれば。"), "よ'み/おえれ'ば。");
}

}  // namespace
}  // namespace kotonel
