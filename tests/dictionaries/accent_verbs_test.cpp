// Accents of verbs and predicates with the dictionaries shipped in dll/.

#include <gtest/gtest.h>

#include "shipped.h"

namespace kotonel {
namespace {

class ShippedVerbAccents : public test::Shipped {};

// A verb written in hiragana after a particle is a phrase of its own with the verb's accent:
// where the dictionary form has it, and in an ichidan verb's て and た forms one mora earlier.
// Kana that only look like such a verb keep theirs: okurigana (結ばれる, 見とれる), the copula
// (であった), 来る before んだ.
TEST_F(ShippedVerbAccents, HiraganaVerbsAfterAParticleHaveTheirAccent) {
  EXPECT_EQ(Read(U"帽子をかぶる。"), "ぼーしを/かぶ'る。");
  EXPECT_EQ(Read(U"家にもどった。"), "いえ'に/もど'った。");
  EXPECT_EQ(Read(U"パンをはさんで食べる。"), "パ'ンを/はさ'んで/たべ'る。");
  EXPECT_EQ(Read(U"枝がのびた。"), "えだが/の'びた。");
  EXPECT_EQ(Read(U"息をつめて、考えた。"), "い'きを/つ'めて、かんが'えた。");
  EXPECT_EQ(Read(U"目をそらした。"), "め'を/そら'した。");
  // the desiderative, which begins as the た form does, has its accent on the た of たい
  EXPECT_EQ(Read(U"パンをたべたい。"), "パ'ンを/たべた'い。");
  EXPECT_EQ(Read(U"目をそらしたい。"), "め'を/そらした'い。");
  EXPECT_EQ(Read(U"縁が結ばれる。"), "え'んが/むすばれる。");
  EXPECT_EQ(Read(U"景色に見とれる。"), "け'しきに/みとれる。");
  EXPECT_EQ(Read(U"重要であった。"), "じゅーよーであ'った。");
  EXPECT_EQ(Read(U"頭にくるんだ。"), "あた'まに/く'るんだ。");
  // つける, かける may follow another verb too; after a particle they are verbs of their own
  EXPECT_EQ(Read(U"眼鏡をかけている。"), "め'がねを/か'けている。");
  EXPECT_EQ(Read(U"タバコに火をつけるのを"), "タバコに/ひ'を/つけ'るのを。");
  // common verbs mostly written in kanji (走る) are ranked as common in hiragana too
  EXPECT_EQ(Read(U"道をはしる。"), "みちを/はし'る。");
  EXPECT_EQ(Read(U"犬がはしった。"), "いぬ'が/はし'った。");
}

// So does an adjective written in hiragana after a particle or an adverb's boundary.
TEST_F(ShippedVerbAccents, HiraganaAdjectivesAfterAParticleHaveTheirAccent) {
  EXPECT_EQ(Read(U"問題がむずかしい。"), "もんだいが/むずかし'い。");
  EXPECT_EQ(Read(U"痛みがとてもひどかった。"), "いたみ'が/とても/ひど'かった。");
  EXPECT_EQ(Read(U"彼にやさしくする。"), "か'れに/やさ'しくする。");
  // adjectives mostly written in kanji (難しい, 煩い) are ranked as common in hiragana too
  EXPECT_EQ(Read(U"とてもむずかしくて"), "とても/むずか'しくて。");
  EXPECT_EQ(Read(U"外がうるさかったので"), "そ'とが/うる'さかったので。");
}

// A verb's conditional has the verb's accent before ば (たべ'れば, の'れば), though its stem is
// also the potential's, which keeps its own (のれ'る); a flat ichidan verb's takes it on れ.
TEST_F(ShippedVerbAccents, ConditionalsHaveTheVerbsAccent) {
  EXPECT_EQ(Read(U"食べれば"), "たべ'れば。");
  EXPECT_EQ(Read(U"見れば"), "み'れば。");
  EXPECT_EQ(Read(U"乗れば"), "の'れば。");
  EXPECT_EQ(Read(U"下がれば"), "さが'れば。");
  EXPECT_EQ(Read(U"乗れる"), "のれ'る。");
  EXPECT_EQ(Read(U"変えれば"), "かえれ'ば。");
  EXPECT_EQ(Read(U"並べれば"), "ならべれ'ば。");
  EXPECT_EQ(Read(U"使えば"), "つかえ'ば。");
}

// A flat godan verb whose headword stops before the kana that conjugates (終わ, 始ま, 見つか)
// takes a flat verb's accents on its endings as the others do (つかった'ので); the classical
// conditional ねば takes the accent as ば does.
TEST_F(ShippedVerbAccents, FlatVerbsCutBeforeTheirEndingsHaveTheFlatVerbsEndings) {
  EXPECT_EQ(Read(U"終わったので"), "おわった'ので。");
  EXPECT_EQ(Read(U"始まったら"), "はじまった'ら。");
  EXPECT_EQ(Read(U"見つかっても"), "みつかって'も。");
  EXPECT_EQ(Read(U"変わったと"), "かわった'と。");
  EXPECT_EQ(Read(U"乗らねば"), "のらね'ば。");
  EXPECT_EQ(Read(U"使わねば"), "つかわね'ば。");
  // an accented verb keeps its own, and ん before a flat verb's last kana stays the
  // explanatory ん (ちがう'んだ)
  EXPECT_EQ(Read(U"驚いたので"), "おどろ'いたので。");
  EXPECT_EQ(Read(U"違うんだ"), "ちがう'んだ。");
  EXPECT_EQ(Read(U"行くんです"), "いく'んです。");
  // ば that goes on as a verb's kana is no conditional's (散らばる, where 散ら of 散る stands)
  EXPECT_EQ(Read(U"散らばっていた"), "ちらばっていた。");
  EXPECT_EQ(Read(U"使えばいい"), "つかえ'ば/い'い。");
  // a flat noun's quotative って is no verb's ても, ては
  EXPECT_EQ(Read(U"学校ってもの"), "がっこーってもの'。");
  EXPECT_EQ(Read(U"学校ってわけ"), "がっこーってわ'け。");
}

// しまう after a flat verb's て form is flat, and its endings take the accent as a flat verb's
// do; くる and みる there keep their own accent in the verb's phrase. After an accented verb the
// verb's accent stays.
TEST_F(ShippedVerbAccents, ShimauAndKuruAfterAFlatVerbsTeForm) {
  EXPECT_EQ(Read(U"眠ってしまったのが"), "ねむってしまった'のが。");
  EXPECT_EQ(Read(U"洗ってしまったら"), "あらってしまった'ら。");
  EXPECT_EQ(Read(U"学んでしまえば"), "まなんでしまえ'ば。");
  EXPECT_EQ(Read(U"忘れてしまった"), "わすれてしまった。");
  EXPECT_EQ(Read(U"済んでしまった"), "す'んでしまった。");
  EXPECT_EQ(Read(U"聞こえてこなかった"), "きこえてこ'なかった。");
  EXPECT_EQ(Read(U"続いてきた"), "つずいてき'た。");
  EXPECT_EQ(Read(U"追ってくる"), "おってく'る。");
  EXPECT_EQ(Read(U"連れてきて"), "つれて/き'て。");
  EXPECT_EQ(Read(U"降ってきた"), "ふ'ってきた。");
  EXPECT_EQ(Read(U"座ってみると"), "すわってみ'ると。");
  EXPECT_EQ(Read(U"探してみたが"), "さがしてみ'たが。");
  // くれる is no form of くる
  EXPECT_EQ(Read(U"使ってくれる"), "つかって/くれる。");
}

// もらう, くれる and あげる after a て form begin a phrase and are flat verbs: their endings take
// the accent as a flat verb's do, their plain forms stay flat. After a flat verb's て form
// もらう is no ても.
TEST_F(ShippedVerbAccents, GivingAndReceivingVerbsAfterATeFormAreFlatVerbs) {
  EXPECT_EQ(Read(U"待ってもらいたいと"), "ま'って/もらいた'いと。");
  EXPECT_EQ(Read(U"短くしてもらわなければ"), "みじ'かくして/もらわな'ければ。");
  EXPECT_EQ(Read(U"替えてくれるのは"), "かえて/くれる'のわ。");
  EXPECT_EQ(Read(U"教えてあげたので"), "おしえて/あげた'ので。");
  EXPECT_EQ(Read(U"読んでもらった"), "よ'んで/もらった。");
  EXPECT_EQ(Read(U"買ってもらった"), "かって/もらった。");
  EXPECT_EQ(Read(U"使っても"), "つかって'も。");
}

// べき and だろう take the accent on their first mora after a flat verb, and stay flat after
// an accented one.
TEST_F(ShippedVerbAccents, BekiAndDarouAfterAFlatVerb) {
  EXPECT_EQ(Read(U"始めるべきです"), "はじめるべ'きです。");
  EXPECT_EQ(Read(U"勉強するべき"), "べんきょーするべ'き。");
  EXPECT_EQ(Read(U"行くだろう"), "いくだ'ろう。");
  EXPECT_EQ(Read(U"読むべき"), "よ'むべき。");
  EXPECT_EQ(Read(U"読むだろう"), "よ'むだろう。");
}

// する after a flat noun, and after a particle where it begins a phrase, has a flat verb's
// desiderative.
TEST_F(ShippedVerbAccents, SuruDesiderativeAfterAFlatNoun) {
  EXPECT_EQ(Read(U"検討したい"), "けんとーした'い。");
  EXPECT_EQ(Read(U"勉強したいので"), "べんきょーした'いので。");
  EXPECT_EQ(Read(U"話がしたいわ"), "はなし'が/した'いわ。");
}

}  // namespace
}  // namespace kotonel
