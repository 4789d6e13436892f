// Tokyo accent and accent phrases with the dictionaries shipped in dll/, one test per kind of
// fault: endings that must stay in the phrase of the word before them, predicates that begin a
// phrase of their own, compounds with one accent, no phrase boundary inside a word, and no
// accent mark at all without intonation.
#include <gtest/gtest.h>

#include <string>

#include "dictionaries/shipped.h"
#include "util/encoding.h"

namespace kotonel {
namespace {

class ShippedAccents : public test::Shipped {};

// です and ます are no phrase of their own: です follows the accent of the word before it,
// ます takes the accent from a verb's stem, and a flat verb lends its ending the accent.
TEST_F(ShippedAccents, PoliteEndingsStayInThePhraseBefore) {
  EXPECT_EQ(Read(U"雨です。"), "あ'めです。");
  EXPECT_EQ(Read(U"面白いです。"), "おもしろ'いです。");
  EXPECT_EQ(Read(U"これは私の傘です。"), "これわ/わたしの/か'さです。");
  EXPECT_EQ(Read(U"食べました。"), "たべま'した。");
  EXPECT_EQ(Read(U"起きません。"), "おきませ'ん。");
  EXPECT_EQ(Read(U"使います。"), "つかいま'す。");
  EXPECT_EQ(Read(U"何時に帰りますか？"), "な'んじに/かえりま'すか？");
  // after a flat verb the negative is flat too; an accented verb's falls before ない
  EXPECT_EQ(Read(U"買わない。"), "かわない。");
  EXPECT_EQ(Read(U"読まない。"), "よま'ない。");
  EXPECT_EQ(Read(U"食べたい。"), "たべた'い。");
}

// A predicate after a particle begins its own phrase, with its own accent.
TEST_F(ShippedAccents, PredicatesBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"行かなければならない。"), "いかな'ければ/なら'ない。");
  EXPECT_EQ(Read(U"水を買わなくてはならないのです。"), "みずを/かわな'くてわ/なら'ないのです。");
  EXPECT_EQ(Read(U"有名になった。"), "ゆーめーに/な'った。");
  EXPECT_EQ(Read(U"歴史についての本。"), "れきしに/つ'いての/ほ'ん。");
  EXPECT_EQ(Read(U"重要である。"), "じゅーよーであ'る。");
  EXPECT_EQ(Read(U"それは彼のわけではない。"), "それわ/か'れの/わ'けでわ/な'い。");
  EXPECT_EQ(Read(U"明日は雨かもしれない。"), "あした'わ/あ'めかも/しれない。");
}

// A compound has one accent: a noun that joins a compound this way puts it at the end of the
// part before it, and keeps its own accent only when it stands alone.
TEST_F(ShippedAccents, CompoundsHaveOneAccent) {
  EXPECT_EQ(Read(U"皮膚癌の研究。"), "ひふ'がんの/けんきゅー。");
  EXPECT_EQ(Read(U"神奈川県に住む。"), "かながわ'けんに/す'む。");
  EXPECT_EQ(Read(U"消費税は10パーセントです。"), "しょーひ'ぜーわ/じゅっぱーせ'んとです。");
  EXPECT_EQ(Read(U"癌。"), "が'ん。");
}

// A noun of two kanji or more that ends a longer kanji word gives the compound its accent: on
// its own first mora after a flat part or a prefix (its voiced form too), at the end of the
// part before it, or its own; alone it keeps its own.
TEST_F(ShippedAccents, CompoundsTakeTheAccentOfTheirLaterPart) {
  EXPECT_EQ(Read(U"停戦会談が開かれた。"), "てーせんか'いだんが/ひらか'れた。");
  EXPECT_EQ(Read(U"日常生活"), "にちじょーせ'ーかつ。");
  EXPECT_EQ(Read(U"副会長"), "ふくか'いちょー。");
  EXPECT_EQ(Read(U"競争会社"), "きょーそーが'いしゃ。");
  EXPECT_EQ(Read(U"車椅子"), "くるま'いす。");
  // an accented noun keeps its own accent at the end of a compound
  EXPECT_EQ(Read(U"交通事故"), "こーつーじ'こ。");
  EXPECT_EQ(Read(U"民主主義"), "みんしゅしゅ'ぎ。");
  // ... and takes back the accent of an accented part before it: one nucleus, not two
  EXPECT_EQ(Read(U"暴力事件に"), "ぼーりょくじ'けんに。");
  EXPECT_EQ(Read(U"社会問題は"), "しゃかいも'んだいわ。");
  EXPECT_EQ(Read(U"会談。"), "かいだん。");
  EXPECT_EQ(Read(U"生活。"), "せーかつ。");
  EXPECT_EQ(Read(U"椅子。"), "いす。");
}

// A verb's stem handing on its accent, alone between two kanji words, with a short native noun
// after it is one compound with one accent at the end of the stem; the stem keeps its accent
// before anything else, and the adverb 少し and an adjective before a noun stay two phrases.
TEST_F(ShippedAccents, VerbStemAndShortNounAreOneCompound) {
  EXPECT_EQ(Read(U"飲み物を買う。"), "のみ'ものを/かう。");
  EXPECT_EQ(Read(U"持ち物"), "もち'もの。");
  EXPECT_EQ(Read(U"取りに行く。"), "と'りに/いく。");
  EXPECT_EQ(Read(U"飲み、食べる。"), "の'み、たべ'る。");
  EXPECT_EQ(Read(U"少し前"), "すこ'し/ま'え。");
  EXPECT_EQ(Read(U"古い物"), "ふる'い/もの。");
}

// A kana adverb that ends like a polite ending keeps its own accent and stays one word.
TEST_F(ShippedAccents, AdverbsEndingLikeAPoliteEnding) {
  EXPECT_EQ(Read(U"ますます悪くなった。"), "ます'ます/わる'く/な'った。");
  EXPECT_EQ(Read(U"それはますます強くなる。"), "それわ/ます'ます/つよ'く/な'る。");
  EXPECT_EQ(Read(U"行きます。"), "いきま'す。");
}

// No phrase boundary inside one word.
TEST_F(ShippedAccents, NoBoundaryInsideAWord) {
  EXPECT_EQ(Read(U"1か月"), "いっか'げつ。");
  EXPECT_EQ(Read(U"3ヶ所"), "さ'んかしょ。");
  EXPECT_EQ(Read(U"2カ国"), "にか'こく。");
  // the flat mark a verb hands on never reaches the synthesizer, even where the number reader
  // has rewritten the word before the verb
  EXPECT_EQ(Read(U"靴下を3足買った。"), "くつ'したを/さ'んぞくかった。");
}

// A one-kanji noun keeps its accent though a suffix or counter is read like it (目 め, 院 いん),
// and then as the later part of a compound puts the accent at the end of the part before.
TEST_F(ShippedAccents, NounsKeepTheirAccentBesideSuffixesReadAlike) {
  EXPECT_EQ(Read(U"目を閉じる。"), "め'を/とじ'る。");
  EXPECT_EQ(Read(U"書を読む。"), "しょ'を/よ'む。");
  EXPECT_EQ(Read(U"大学院に行く。"), "だいがく'いんに/いく。");
  // a prefix read like the noun does not hide the noun's accent; before a word of two kanji
  // it is said as a word of its own
  EXPECT_EQ(Read(U"本を読む。"), "ほ'んを/よ'む。");
  EXPECT_EQ(Read(U"本大会"), "ほ'ん/た'いかい。");
}

// A suffix whose compounds are flat lends the part before it no accent and has none of its own
// inside a word, though the kanji alone has one.
TEST_F(ShippedAccents, FlatCompoundSuffixes) {
  EXPECT_EQ(Read(U"現実的に考える。"), "げんじつてきに/かんがえ'る。");
  EXPECT_EQ(Read(U"不良品を返す。"), "ふりょーひんを/か'えす。");
  EXPECT_EQ(Read(U"安全性が高い。"), "あんぜんせーが/たか'い。");
  EXPECT_EQ(Read(U"性。"), "せ'ー。");
}

// A flat verb's endings are flat at the end of a phrase, and take the accent before a particle
// and in the conditional and concessive forms; する after a noun does the same.
TEST_F(ShippedAccents, FlatVerbEndingsBeforeParticles) {
  EXPECT_EQ(Read(U"使った。"), "つかった。");
  EXPECT_EQ(Read(U"使わないで"), "つかわな'いで。");
  EXPECT_EQ(Read(U"使ったのに"), "つかった'のに。");
  EXPECT_EQ(Read(U"使ったら"), "つかった'ら。");
  EXPECT_EQ(Read(U"使えば"), "つかえ'ば。");
  EXPECT_EQ(Read(U"使っても"), "つかって'も。");
  EXPECT_EQ(Read(U"行くのに"), "いく'のに。");
  EXPECT_EQ(Read(U"使っているのです。"), "つかっている'のです。");
  EXPECT_EQ(Read(U"勉強すれば"), "べんきょーすれ'ば。");
  EXPECT_EQ(Read(U"電話したので"), "でんわした'ので。");
  // か, から, が, けど put the accent on a flat verb's last kana, as の does
  EXPECT_EQ(Read(U"加わるか"), "くわわる'か。");
  EXPECT_EQ(Read(U"行くから"), "いく'から。");
  EXPECT_EQ(Read(U"使うけど"), "つかう'けど。");
  EXPECT_EQ(Read(U"一致するか"), "いっちする'か。");
  // と leaves it flat
  EXPECT_EQ(Read(U"行くと"), "いくと。");
  // an accented verb keeps its own accent
  EXPECT_EQ(Read(U"読んだら"), "よ'んだら。");
}

// An everyday adverb written in kana begins a phrase of its own after a particle.
TEST_F(ShippedAccents, AdverbsAfterAParticleBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"今日はとても暑い。"), "きょ'ーわ/とても/あつ'い。");
  EXPECT_EQ(Read(U"雨がまだ降っている。"), "あ'めが/ま'だ/ふ'っている。");
  EXPECT_EQ(Read(U"とても暑い。"), "とても/あつ'い。");
  // まだ that ends another word is no adverb
  EXPECT_EQ(Read(U"このままだ。"), "このままだ。");
}

// An accented verb's irrealis takes the accent on its last kana before ない, ず and the
// passive; the volitional does so whether the verb is accented or flat.
TEST_F(ShippedAccents, IrrealisAndVolitionalForms) {
  EXPECT_EQ(Read(U"限らない。"), "かぎら'ない。");
  EXPECT_EQ(Read(U"限られる。"), "かぎられ'る。");
  EXPECT_EQ(Read(U"限られます。"), "かぎられま'す。");
  EXPECT_EQ(Read(U"書こう。"), "かこ'う。");
  EXPECT_EQ(Read(U"使おう。"), "つかお'う。");
  EXPECT_EQ(Read(U"話そうと思う。"), "はなそ'うと/おも'う。");
}

// Counted people written with a digit keep the accent of the word.
TEST_F(ShippedAccents, PeopleCountedKeepTheirAccent) {
  EXPECT_EQ(Read(U"１人の男。"), "ひと'りの/おとこ。");
  EXPECT_EQ(Read(U"2人で行く。"), "ふたり'で/いく。");
}

// After a flat noun には, では, だった and まで take the accent; です stays flat. A compound
// before them stays one phrase with them.
TEST_F(ShippedAccents, ParticlesThatTakeTheAccentAfterAFlatNoun) {
  EXPECT_EQ(Read(U"学校には行く。"), "がっこーに'わ/いく。");
  EXPECT_EQ(Read(U"学校では"), "がっこーで'わ。");
  EXPECT_EQ(Read(U"静かだった。"), "しずかだ'った。");
  EXPECT_EQ(Read(U"学生です。"), "がくせーです。");
  EXPECT_EQ(Read(U"東京大学には行く。"), "とーきょーだ'いがくにわ/いく。");
  // after an accented noun they stay flat
  EXPECT_EQ(Read(U"雨には"), "あ'めにわ。");
}

// The plural suffix たち puts the accent on the last mora of a flat noun, written in kana as
// in kanji; たちまち after a noun is an adverb of its own.
TEST_F(ShippedAccents, PluralSuffixAccentsAFlatNoun) {
  EXPECT_EQ(Read(U"子供たちの事。"), "こども'たちの/こと。");
  EXPECT_EQ(Read(U"子供達の事。"), "こども'たちの/こと。");
  EXPECT_EQ(Read(U"私たちは行く。"), "わたし'たちわ/いく。");
  EXPECT_EQ(Read(U"女性たちは"), "じょせ'ーたちわ。");
  // an accented noun keeps its own accent
  EXPECT_EQ(Read(U"男たちが来た。"), "おとこ'たちが/き'た。");
  EXPECT_EQ(Read(U"学生たちまち"), "がくせー/たちまち。");
}

// A pronoun that UniDic lists both flat and accented takes the accent (何 な'に); 何も
// (nothing, at all) stays flat.
TEST_F(ShippedAccents, PronounsTakeTheirAccentedForm) {
  EXPECT_EQ(Read(U"何が起こるか。"), "な'にが/おこ'るか。");
  EXPECT_EQ(Read(U"何か新しいこと。"), "な'にか/あたらし'いこと。");
  EXPECT_EQ(Read(U"何もない。"), "なにも/な'い。");
  EXPECT_EQ(Read(U"何の進展もない。"), "なんの/しんてんも/な'い。");
  // なん written in kana before です at the start of a phrase keeps the accent
  EXPECT_EQ(Read(U"あの建物はなんですか。"), "あの/たて'ものわ/な'んですか。");
  // and ない's そう of appearance in its own phrase takes the accent
  EXPECT_EQ(Read(U"問題はなさそうだ。"), "もんだいわ/なさそ'うだ。");
  // and ない's conditional there has ない's accent
  EXPECT_EQ(Read(U"異論がなければ、"), "いろんが/な'ければ、");
  // and ある after an adverb's phrase has its own
  EXPECT_EQ(Read(U"宿題がたくさんある。"), "しゅくだいが/たくさん/あ'る。");
  EXPECT_EQ(Read(U"つもりは、全然なかったのです。"), "つもりわ、ぜんぜん/な'かったのです。");
  EXPECT_EQ(Read(U"座った方が、よくありませんか。"), "すわった/ほ'ーが、よ'く/ありませ'んか。");
  // 方 ほう of a comparison keeps UniDic's accent, the everyday reading put first
  EXPECT_EQ(Read(U"母の方が心配している。"), "は'はの/ほ'ーが/しんぱいしている。");
  // and so does ほう written in kana after a verb's past or の
  EXPECT_EQ(Read(U"自殺したほうがいい。"), "じさつした/ほ'うが/い'い。");
  EXPECT_EQ(Read(U"死んだほうがましだ。"), "しんだ/ほ'うが/ましだ。");
}

// A verb that UniDic lists with two accents takes the one on the mora before the last, as
// Tokyo speakers now say it (考える 3,4: かんがえ'る), in all its forms.
TEST_F(ShippedAccents, VerbsTakeTheirModernAccent) {
  EXPECT_EQ(Read(U"答える。"), "こたえ'る。");
  EXPECT_EQ(Read(U"考えなければ"), "かんがえ'なければ。");
  EXPECT_EQ(Read(U"考えられる。"), "かんがえられ'る。");
  EXPECT_EQ(Read(U"考えられた。"), "かんがえら'れた。");
}

// 人 after a modifier, where it almost always stands, takes the accent on its last mora.
TEST_F(ShippedAccents, PersonAfterAModifierIsAccented) {
  EXPECT_EQ(Read(U"たくさんの人が来た。"), "たくさんの/ひと'が/き'た。");
  EXPECT_EQ(Read(U"見知らぬ人が近寄ってきた。"), "みしらぬ/ひと'が/ちかよってき'た。");
  EXPECT_EQ(Read(U"若い人たちが"), "わか'い/ひと'たちが。");
  // inside a word it keeps the reading and accent of the compound
  EXPECT_EQ(Read(U"日本人です。"), "にほんじんです。");
}

// する written in kana after を or が inside a kana word takes the accents of a flat verb's
// endings before a particle, in a phrase of its own; at the end it stays flat.
TEST_F(ShippedAccents, SuruAfterAnObjectTakesFlatVerbEndings) {
  EXPECT_EQ(Read(U"夜更かしをしたので"), "よふ'かしを/した'ので。");
  EXPECT_EQ(Read(U"さんざん世話をしたのに"), "さんざん/せわ'を/した'のに。");
  EXPECT_EQ(Read(U"頭痛がしたので"), "ずつーが/した'ので。");
  EXPECT_EQ(Read(U"勉強をすれば"), "べんきょーを/すれ'ば。");
  EXPECT_EQ(Read(U"断食をしないと"), "だんじきを/しな'いと。");
  EXPECT_EQ(Read(U"電話をした。"), "でんわを/した。");
  // also where the reader has put a pause after the particle
  EXPECT_EQ(Read(U"来週までに宿題をしなければならない。"),
            "らいしゅーま'でに/しゅくだいを、しな'ければ/なら'ない。");
  // after に in a phrase of its own, after と in the phrase of the noun
  EXPECT_EQ(Read(U"気にしたので"), "きに/した'ので。");
  // its negative after に and さえ likewise
  EXPECT_EQ(Read(U"言い付け通りにしなければならない。"),
            "いい/つけ'どーりに/しな'ければ/なら'ない。");
  EXPECT_EQ(Read(U"汚しさえしなければ"), "よごしさえ/しな'ければ。");
  EXPECT_EQ(Read(U"人任せにしないで"), "ひとま'かせに/しな'いで。");
  // and wherever the predicate rules begin a phrase at する (after も, after うと)
  EXPECT_EQ(Read(U"成功してもしなくても"), "せーこーして'も/しな'くても。");
  EXPECT_EQ(Read(U"対処しようとしたが"), "た'いしょ/しようと/した'が。");
  // にとって and 持つ written in kana after を take their verbs' accent
  EXPECT_EQ(Read(U"彼にとって大変な仕事だ。"), "か'れに/と'って/たいへんな/しごとだ。");
  EXPECT_EQ(Read(U"責任をもってやる。"), "せきにんを/も'ってやる。");
  EXPECT_EQ(Read(U"衣服を必要とするが"), "い'ふくを/ひつよーとする'が。");
  // なきゃ, the spoken なければ, takes the accent after a flat verb as なければ does
  EXPECT_EQ(Read(U"勉強しなきゃ"), "べんきょーしな'きゃ。");
  EXPECT_EQ(Read(U"行かなきゃ"), "いかな'きゃ。");
  // and する's なければ, なかった, なく, and the copula's でなければ after a flat noun
  EXPECT_EQ(Read(U"徹夜しなければいけない"), "てつやしな'ければ/いけない。");
  EXPECT_EQ(Read(U"電話しなかった"), "でんわしな'かった。");
  EXPECT_EQ(Read(U"公平でなければならない"), "こーへーでな'ければ/なら'ない。");
  // the copula before a particle after a flat noun: だ, であった, な before の and ん
  EXPECT_EQ(Read(U"長い時間だと思う。"), "なが'い/じかんだ'と/おも'う。");
  EXPECT_EQ(Read(U"仕事であった。"), "しごとであ'った。");
  EXPECT_EQ(Read(U"問題なので"), "もんだいな'ので。");
  EXPECT_EQ(Read(U"夢中なんだ。"), "むちゅーな'んだ。");
  EXPECT_EQ(Read(U"雨だと"), "あ'めだと。");
}

// いる after a flat verb's て form (or する's) and いく after a て form are flat verbs: their
// endings take the accent before a particle; an accented verb keeps its own.
TEST_F(ShippedAccents, IruAndIkuAfterTeTakeFlatVerbEndings) {
  EXPECT_EQ(Read(U"空いていたので"), "あいていた'ので。");
  EXPECT_EQ(Read(U"使っていれば"), "つかっていれ'ば。");
  EXPECT_EQ(Read(U"安定してるんです"), "あんてーしてる'んです。");
  EXPECT_EQ(Read(U"格好をしていないと"), "かっこーを/していな'いと。");
  EXPECT_EQ(Read(U"過ぎていったが"), "す'ぎて/いった'が。");
  EXPECT_EQ(Read(U"書いているのに"), "か'いて/いる'のに。");
  EXPECT_EQ(Read(U"使っているから"), "つかっている'から。");
  EXPECT_EQ(Read(U"行くんです"), "いく'んです。");
}

// より after a flat word takes the accent on よ, as により after a flat noun does; after an
// accented word it stays flat.
TEST_F(ShippedAccents, YoriAfterAFlatWord) {
  EXPECT_EQ(Read(U"私より"), "わたしよ'り。");
  EXPECT_EQ(Read(U"公園へ行くよりも"), "こーえんえ/いくよ'りも。");
  EXPECT_EQ(Read(U"旅行するよりも"), "りょこーするよ'りも。");
  EXPECT_EQ(Read(U"実施により"), "じっしによ'り。");
  EXPECT_EQ(Read(U"新聞によれば"), "しんぶんによれ'ば。");
  EXPECT_EQ(Read(U"雨より"), "あ'めより。");
}

// ため before に or の is accented on its last mora: in the phrase of a flat verb or a flat
// noun with の, in a phrase of its own after an accented verb, and flat after an accented noun
// with の or at the end of a phrase.
TEST_F(ShippedAccents, TameBeforeNiOrNo) {
  EXPECT_EQ(Read(U"席を譲るために"), "せ'きを/ゆずるため'に。");
  EXPECT_EQ(Read(U"誤解を減らすためには"), "ごかいを/へらすため'にわ。");
  EXPECT_EQ(Read(U"禁煙するために"), "きんえんするため'に。");
  EXPECT_EQ(Read(U"私のために"), "わたしのため'に。");
  EXPECT_EQ(Read(U"政権を建てるために"), "せーけんを/たて'る/ため'に。");
  EXPECT_EQ(Read(U"老化を防ぐために"), "ろーかを/ふせ'ぐ/ため'に。");
  EXPECT_EQ(Read(U"食料のための作物"), "しょく'りょーのための/さく'もつ。");
  EXPECT_EQ(Read(U"大雪のため、休みです。"), "おーゆきのため、やすみ'です。");
}

// A flat verb whose headword ends before its last kana hands the flat mark on in front of that
// kana; the particles that accent a flat verb's last kana still find it.
TEST_F(ShippedAccents, FlatVerbEndingAfterAShortHeadword) {
  EXPECT_EQ(Read(U"始まるのに"), "はじまる'のに。");
  EXPECT_EQ(Read(U"減らすから"), "へらす'から。");
}

// まで puts the accent on a flat verb's last kana, but takes it itself after a flat noun.
TEST_F(ShippedAccents, MadeAfterAFlatVerb) {
  EXPECT_EQ(Read(U"治療が終わるまでに"), "ちりょーが/おわる'までに。");
  EXPECT_EQ(Read(U"固まるまで待つ。"), "かたまる'まで/ま'つ。");
  EXPECT_EQ(Read(U"妊娠するまで"), "にんしんする'まで。");
  EXPECT_EQ(Read(U"学校まで行く。"), "がっこーま'で/いく。");
}

// Particles that take the accent on their first mora after a flat noun (しか, など, なんか,
// やら …) or a flat verb (くらい, ばかり, のみ), before the rules for ば and の see them;
// after an accented word they stay flat.
TEST_F(ShippedAccents, ParticlesAccentedAfterAFlatWord) {
  EXPECT_EQ(Read(U"汚職なんかに"), "おしょくな'んかに。");
  EXPECT_EQ(Read(U"疲労やら"), "ひろーや'ら。");
  EXPECT_EQ(Read(U"私しか"), "わたしし'か。");
  EXPECT_EQ(Read(U"学校ばかり"), "がっこーば'かり。");
  EXPECT_EQ(Read(U"降参するくらいなら"), "こーさんするく'らいなら。");
  EXPECT_EQ(Read(U"行くばかり"), "いくば'かり。");
  EXPECT_EQ(Read(U"遊ぶのみ"), "あそぶの'み。");
  EXPECT_EQ(Read(U"行くしか"), "いく'しか。");
  EXPECT_EQ(Read(U"入れるなら"), "いれる'なら。");
  EXPECT_EQ(Read(U"雨しか"), "あ'めしか。");
  EXPECT_EQ(Read(U"使えば"), "つかえ'ば。");
}

// The desiderative of a verb accented on its stem takes the accent on the た of たい, as Tokyo
// speakers now mostly say it; たかった keeps the verb's accent.
TEST_F(ShippedAccents, DesiderativeTakesTheAccent) {
  EXPECT_EQ(Read(U"読みたい"), "よみた'い。");
  EXPECT_EQ(Read(U"述べたいと思います。"), "のべた'いと/おもいま'す。");
  EXPECT_EQ(Read(U"取りたいのですが"), "とりた'いのですが。");
  EXPECT_EQ(Read(U"行きたい"), "いきた'い。");
  EXPECT_EQ(Read(U"読みたかった"), "よ'みたかった。");
  // an accented godan verb's なかった, なければ, なくて likewise take it on な; ない and an
  // ichidan verb's forms keep it on the stem
  EXPECT_EQ(Read(U"届かなかった"), "とどかな'かった。");
  EXPECT_EQ(Read(U"歩かなければ"), "あるかな'ければ。");
  EXPECT_EQ(Read(U"限らない。"), "かぎら'ない。");
  EXPECT_EQ(Read(U"食べなければ"), "たべ'なければ。");
}

// すぎる and やすい after a verb's continuative or an adjective's stem make one compound with
// their accent, whatever the accent of the word before.
TEST_F(ShippedAccents, SugiruAndYasuiMakeACompound) {
  EXPECT_EQ(Read(U"読みすぎる"), "よみすぎ'る。");
  EXPECT_EQ(Read(U"食べすぎる"), "たべすぎ'る。");
  EXPECT_EQ(Read(U"食べすぎた"), "たべす'ぎた。");
  EXPECT_EQ(Read(U"使いすぎた"), "つかいす'ぎた。");
  EXPECT_EQ(Read(U"寒すぎる"), "さむすぎ'る。");
  EXPECT_EQ(Read(U"読みやすい"), "よみやす'い。");
  EXPECT_EQ(Read(U"読みやすく"), "よみや'すく。");
  // そう of appearance too; そう of hearsay after a plain form leaves the accent as it is
  EXPECT_EQ(Read(U"転びそうになった。"), "ころびそ'うに/な'った。");
  EXPECT_EQ(Read(U"落ちそうな音"), "おちそ'うな/おと。");
  EXPECT_EQ(Read(U"高そうだ。"), "たかそ'うだ。");
  EXPECT_EQ(Read(U"高いそうだ。"), "たか'いそうだ。");
  EXPECT_EQ(Read(U"赤いそうだ。"), "あかいそうだ。");
  EXPECT_EQ(Read(U"行くそうだ。"), "いくそうだ。");
  // and かける, かかる after a continuative
  EXPECT_EQ(Read(U"日が沈みかけている。"), "ひが/しずみか'けている。");
  EXPECT_EQ(Read(U"溺れかかっていた"), "おぼれかか'っていた。");
  EXPECT_EQ(Read(U"吠えまくる"), "ほえまく'る。");
  EXPECT_EQ(Read(U"築きあげる"), "きずきあげ'る。");
}

// 来る is an accented verb: its forms carry the accent on the stem or where an accented verb's
// endings take it, and 来そう is 来る's, not 来す's.
TEST_F(ShippedAccents, FormsOfKuruCarryTheAccent) {
  EXPECT_EQ(Read(U"通知が来た。"), "つーちが/き'た。");
  EXPECT_EQ(Read(U"来てください。"), "き'て/くださ'い。");
  EXPECT_EQ(Read(U"返事が来ない。"), "へんじ'が/こ'ない。");
  EXPECT_EQ(Read(U"来ます。"), "きま'す。");
  EXPECT_EQ(Read(U"来なさい。"), "きなさ'い。");
  EXPECT_EQ(Read(U"来れば"), "く'れば。");
  EXPECT_EQ(Read(U"来たい人"), "きた'い/ひと。");
  EXPECT_EQ(Read(U"雨が降って来そうだ。"), "あ'めが/ふ'って/きそ'うだ。");
}

// ます after a predicate that begins its own phrase takes the accent in that phrase, with no
// boundary in front of the ending.
TEST_F(ShippedAccents, PoliteEndingsAfterAPredicatePhrase) {
  EXPECT_EQ(Read(U"読んだことがありますか。"), "よ'んだ/こと'が/ありま'すか。");
  EXPECT_EQ(Read(U"言わなければなりません。"), "いわな'ければ/なりませ'ん。");
  EXPECT_EQ(Read(U"書いていただけませんか。"), "か'いて/いただけませ'んか。");
}

// Loanwords and foreign names written in katakana carry their accent.
TEST_F(ShippedAccents, KatakanaNamesAndLoanwordsCarryTheirAccent) {
  EXPECT_EQ(Read(U"メアリーが来た。"), "メ'アリーが/き'た。");
  EXPECT_EQ(Read(U"ディズニーに行く。"), "ディ'ズニーに/いく。");
}

// A katakana word the word list does not hold takes the loanword accent on the third mora
// from the end, one mora earlier off ー, ン, ッ and a diphthong's イ; endings whose words take
// another accent (the flat drug names in …ナリン, …ラミン) keep theirs; reduplicated mimetic
// words are accented on their first mora; a two-mora word on its first, a one-mora word none.
TEST_F(ShippedAccents, UnlistedKatakanaWordsTakeTheLoanwordAccent) {
  EXPECT_EQ(Read(U"コロンブス。"), "コロ'ンブス。");
  EXPECT_EQ(Read(U"フライドチキン。"), "フライドチ'キン。");
  EXPECT_EQ(Read(U"テキストデータの修正。"), "テキストデ'ータの/しゅーせー。");
  EXPECT_EQ(Read(U"パロメーター。"), "パロメ'ーター。");
  EXPECT_EQ(Read(U"ベートーベン。"), "ベート'ーベン。");
  EXPECT_EQ(Read(U"リムジンバス。"), "リムジ'ンバス。");
  EXPECT_EQ(Read(U"ヌカイゼゾ。"), "ヌカ'イゼゾ。");
  EXPECT_EQ(Read(U"ノルアドレナリン。"), "ノルアドレナリン。");
  EXPECT_EQ(Read(U"ジフェンヒドラミン。"), "ジフェンヒドラミン。");
  EXPECT_EQ(Read(U"ドキドキした。"), "ド'キドキした。");
  EXPECT_EQ(Read(U"ゴロゴロと。"), "ゴ'ロゴロと。");
  EXPECT_EQ(Read(U"ゼゾ。"), "ゼ'ゾ。");
  EXPECT_EQ(Read(U"ヌ。"), "ヌ。");
  // a listed word before a suffix that takes the accent is one phrase with it; an unlisted one
  // keeps its own accent, and the suffix stays a flat phrase of its own
  EXPECT_EQ(Read(U"アメリカ人。"), "あめりか'じん。");
  EXPECT_EQ(Read(U"パロメーター人。"), "パロメ'ーター/じん。");
}

// ある, ない, よい, いい and できる after は, が, も or ば are a phrase of their own, while
// the particle stays in the phrase of the accented word before it.
TEST_F(ShippedAccents, JudgementsAfterAParticleBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"時間はある。"), "じかんわ/あ'る。");
  EXPECT_EQ(Read(U"問題はない。"), "もんだいわ/な'い。");
  EXPECT_EQ(Read(U"勉強ができる。"), "べんきょーが/でき'る。");
  EXPECT_EQ(Read(U"帰ってもいい。"), "か'えっても/い'い。");
  EXPECT_EQ(Read(U"仲がよい。"), "な'かが/よ'い。");
  EXPECT_EQ(Read(U"行くといい。"), "いくと/い'い。");
  EXPECT_EQ(Read(U"待つしかない。"), "ま'つしか/な'い。");
  // a verb's own わ is no topic particle
  EXPECT_EQ(Read(U"言わない。"), "いわない。");
  EXPECT_EQ(Read(U"思わない。"), "おもわ'ない。");
  // a hiragana word that only changed its spelling stays in the phrase before it
  EXPECT_EQ(Read(U"雨という。"), "あ'めとゆー。");
}

// The honorific prefix お or ご written in kana belongs to the kanji word after it: the phrase
// boundary goes in front of the prefix, never between it and its word.
TEST_F(ShippedAccents, HonorificPrefixJoinsTheWordAfterIt) {
  EXPECT_EQ(Read(U"これは私のお名前です。"), "これわ/わたしの/おなまえです。");
  EXPECT_EQ(Read(U"お元気ですか。"), "おげ'んきですか。");
  EXPECT_EQ(Read(U"先生にお会いした。"), "せんせ'ーに/おあ'いした。");
  EXPECT_EQ(Read(U"とてもご親切に。"), "とても/ごし'んせつに。");
  // a word that only ends in the kana is no prefix
  EXPECT_EQ(Read(U"りんご酢を飲む。"), "りんご/す'を/の'む。");
}

// なる after an adjective's く, する after に, ない after じゃ, いけない after ば and わかる
// after が begin a phrase of their own.
TEST_F(ShippedAccents, MorePredicatesBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"寒くなった。"), "さむ'く/な'った。");
  EXPECT_EQ(Read(U"激しくなる。"), "はげ'しく/な'る。");
  // the verbs 亡くなる and 無くなる are one phrase
  EXPECT_EQ(Read(U"祖父が亡くなった。"), "そ'ふが/なくなった。");
  EXPECT_EQ(Read(U"お金が無くなった。"), "おかねが/なくなった。");
  EXPECT_EQ(Read(U"学校にします。"), "がっこーに/しま'す。");
  EXPECT_EQ(Read(U"それじゃない。"), "それじゃ/な'い。");
  EXPECT_EQ(Read(U"行かなければいけない。"), "いかな'ければ/いけない。");
  // いけない and しれない are flat, and take the accent before a particle as a flat verb's
  // negative does
  EXPECT_EQ(Read(U"行かないといけないと思う。"), "いかな'いと/いけな'いと/おも'う。");
  EXPECT_EQ(Read(U"雨かもしれないが。"), "あ'めかも/しれな'いが。");
  EXPECT_EQ(Read(U"行かなければいけません。"), "いかな'ければ/いけませ'ん。");
  EXPECT_EQ(Read(U"意味がわかった。"), "い'みが/わか'った。");
  EXPECT_EQ(Read(U"私にとって大事だ。"), "わたしに/と'って/だいじだ。");
  EXPECT_EQ(Read(U"年齢にかかわらず。"), "ねんれーに/かかわ'らず。");
  EXPECT_EQ(Read(U"意味のある話。"), "い'みの/あ'る/はなし。");
  EXPECT_EQ(Read(U"音がした。"), "おと'が/した。");
}

// Demonstratives, pronouns and question words after a particle inside a kana word begin a
// phrase of their own, with their accent.
TEST_F(ShippedAccents, DeicticsAfterAParticleBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"家にそのまま置いた。"), "いえ'に/そのまま/おいた。");
  EXPECT_EQ(Read(U"彼はどこにいるの。"), "か'れわ/ど'こにいるの。");
  EXPECT_EQ(Read(U"私もそれがいい。"), "わたしも/それが/い'い。");
  EXPECT_EQ(Read(U"それはいつですか。"), "それわ/い'つですか。");
  EXPECT_EQ(Read(U"本当かどうか。"), "ほんとーか/ど'うか。");
  // あれ after て is the verb ある
  EXPECT_EQ(Read(U"書いてあれば。"), "か'いてあれば。");
  EXPECT_EQ(Read(U"気持ちがしっかりしている。"), "きもちが/しっか'り/している。");
}

// Verbs and adjectives by the Tokyo conjugation rules: the て and た forms of a verb accented on
// its stem's last kana, and the く and けれ forms of an adjective of four morae and more,
// have the accent one mora earlier; never on ー, ん or っ.
TEST_F(ShippedAccents, ConjugatedFormsMoveTheAccentForward) {
  EXPECT_EQ(Read(U"備えて"), "そな'えて。");
  EXPECT_EQ(Read(U"見せた"), "み'せた。");
  EXPECT_EQ(Read(U"信じている"), "し'んじている。");
  EXPECT_EQ(Read(U"食べたら"), "た'べたら。");
  // the passive and causative of an accented verb are accented verbs of their own
  EXPECT_EQ(Read(U"見られる"), "みられ'る。");
  EXPECT_EQ(Read(U"建てられた"), "たてら'れた。");
  EXPECT_EQ(Read(U"食べさせる"), "たべさせ'る。");
  EXPECT_EQ(Read(U"勉強ができない。"), "べんきょーが/でき'ない。");
  EXPECT_EQ(Read(U"激しく"), "はげ'しく。");
  EXPECT_EQ(Read(U"大きく"), "お'ーきく。");
  EXPECT_EQ(Read(U"難しければ"), "むずか'しければ。");
  // ます and the plain forms keep it, the desiderative takes it on た; short adjectives keep it
  EXPECT_EQ(Read(U"食べたい"), "たべた'い。");
  EXPECT_EQ(Read(U"食べました"), "たべま'した。");
  EXPECT_EQ(Read(U"激しい"), "はげし'い。");
  EXPECT_EQ(Read(U"高く"), "たか'く。");
}

// An adjective's past and volitional forms keep the accent where the plain form has it, as
// the evaluation's speaker says them (たのし'かった, ひとし'かった); only the く and けれ forms
// move it.
TEST_F(ShippedAccents, AdjectivePastAndVolitionalKeepTheAccent) {
  EXPECT_EQ(Read(U"楽しかった"), "たのし'かった。");
  EXPECT_EQ(Read(U"等しかった"), "ひとし'かった。");
  EXPECT_EQ(Read(U"忙しかった"), "いそがし'かった。");
  EXPECT_EQ(Read(U"新しかったので"), "あたらし'かったので。");
  EXPECT_EQ(Read(U"忙しかろう"), "いそがし'かろう。");
  // three morae keep it, the plain form too; the く form moves it
  EXPECT_EQ(Read(U"高かった"), "たか'かった。");
  EXPECT_EQ(Read(U"忙しい"), "いそがし'い。");
  EXPECT_EQ(Read(U"忙しく"), "いそが'しく。");
}

// An adjective written in kana carries its accent at the start of a kana word, moved one mora
// earlier in the く and かっ forms of the longer ones; a verb's kana after its kanji is no
// adjective (失うまい).
TEST_F(ShippedAccents, KanaAdjectivesCarryTheirAccent) {
  EXPECT_EQ(Read(U"ひどい"), "ひど'い。");
  EXPECT_EQ(Read(U"ひどかった"), "ひど'かった。");
  EXPECT_EQ(Read(U"すごくなる"), "すご'く/な'る。");
  EXPECT_EQ(Read(U"おいしかったです"), "おい'しかったです。");
  EXPECT_EQ(Read(U"すばらしい景色"), "すばらし'い/け'しき。");
  EXPECT_EQ(Read(U"失うまい"), "うしなうまい。");
}

// The negative past of する and いる written in kana after は or も is a phrase of its own with
// the accent of a flat verb's なかった; not after が (間違いなかった).
TEST_F(ShippedAccents, NegativePastOfSuruAndIruAfterAParticle) {
  EXPECT_EQ(Read(U"明言はしなかった。"), "めーげんわ/しな'かった。");
  EXPECT_EQ(Read(U"誰もいなかった。"), "だ'れも/いな'かった。");
  EXPECT_EQ(Read(U"間違いなかった。"), "まちが'いなかった。");
}

// Everyday kana words with UniDic's accent: an adverb that is also a rare suffix (よく), an
// adnominal (どんな), an adverb UniDic files as a noun (ほとんど); particles stay unaccented.
TEST_F(ShippedAccents, KanaWordsCarryTheirAccent) {
  EXPECT_EQ(Read(U"よく来る。"), "よ'く/く'る。");
  EXPECT_EQ(Read(U"どんな本。"), "ど'んな/ほ'ん。");
  EXPECT_EQ(Read(U"ほとんどない。"), "ほと'んど/な'い。");
  EXPECT_EQ(Read(U"3分の1です。"), "さんぶんの/いちです。");
  // question words with a particle, か and でも among them
  EXPECT_EQ(Read(U"いつか行く。"), "い'つか/いく。");
  EXPECT_EQ(Read(U"だれでも。"), "だ'れでも。");
  EXPECT_EQ(Read(U"いつも。"), "い'つも。");
}

// A kana noun keeps the particle after it in its phrase when the predicate after that
// particle begins a phrase of its own.
TEST_F(ShippedAccents, ParticleStaysWithTheNounBeforeAPredicate) {
  EXPECT_EQ(Read(U"宿題を終わらすことができた。"), "しゅくだいを/おわらすこと'が/で'きた。");
  EXPECT_EQ(Read(U"見ることがある。"), "み'る/こと'が/あ'る。");
}

// である, ある and ない after a noun: in the phrase of a flat noun, a phrase of their own
// behind the particle after an accented one (never in front of the particle).
TEST_F(ShippedAccents, CopulaAndExistenceAfterFlatAndAccentedNouns) {
  EXPECT_EQ(Read(U"種族である。"), "しゅ'ぞくで/あ'る。");
  EXPECT_EQ(Read(U"大切なことである。"), "たいせつな/こと'で/あ'る。");
  EXPECT_EQ(Read(U"重要である。"), "じゅーよーであ'る。");
  EXPECT_EQ(Read(U"必要がある。"), "ひつよーがあ'る。");
  EXPECT_EQ(Read(U"時間がない。"), "じかんがな'い。");
  EXPECT_EQ(Read(U"規則がある。"), "き'そくが/あ'る。");
  EXPECT_EQ(Read(U"前方にある。"), "ぜんぽーにあ'る。");
  EXPECT_EQ(Read(U"脇にある。"), "わき'に/あ'る。");
  EXPECT_EQ(Read(U"見たことがない。"), "み'たことが/な'い。");
  // the polite form begins its phrase after a flat noun too
  EXPECT_EQ(Read(U"必要があります。"), "ひつよーが/ありま'す。");
  // the adverb ますます ends in no polite ending
  EXPECT_EQ(Read(U"ますます強くなった。"), "ます'ます/つよ'く/な'った。");
}

// Inside a kana word: the giving and receiving verbs after て, くる in its て form, だけ after a
// verb, しない and ある after は, and おります after て begin a phrase of their own.
TEST_F(ShippedAccents, AuxiliaryVerbsAfterTeBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"作ってくれた。"), "つく'って/くれた。");
  EXPECT_EQ(Read(U"待ってもらう。"), "ま'って/もらう。");
  EXPECT_EQ(Read(U"なってきている。"), "なって/きている。");
  EXPECT_EQ(Read(U"読んできてください。"), "よ'んで/きてくださ'い。");
  // できて of できる is no て form followed by くる
  EXPECT_EQ(Read(U"宿題ができて嬉しい。"), "しゅくだいが/で'きて/うれし'い。");
  EXPECT_EQ(Read(U"考えるだけで。"), "かんがえ'る/だけ'で。");
  EXPECT_EQ(Read(U"彼はしない。"), "か'れわ/しない。");
  EXPECT_EQ(Read(U"したことはありますか。"), "したこと'わ/ありま'すか。");
  EXPECT_EQ(Read(U"目指しております。"), "めざ'して/おりま'す。");
  EXPECT_EQ(Read(U"おります。"), "おりま'す。");
}

// A predicate after these endings and particles begins its own phrase inside a kana word.
TEST_F(ShippedAccents, PredicatesAfterEndingsBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"減少しつつある。"), "げんしょーしつつ/あ'る。");
  EXPECT_EQ(Read(U"学生にすぎない。"), "がくせーに/すぎ'ない。");
  EXPECT_EQ(Read(U"汚しさえしなければ。"), "よごしさえ/しな'ければ。");
  EXPECT_EQ(Read(U"死んだほうがましだ。"), "しんだ/ほ'うが/ましだ。");
  EXPECT_EQ(Read(U"眠かったけれども。"), "ねむ'かった/け'れども。");
  EXPECT_EQ(Read(U"部屋がとれるでしょうか。"), "へや'が/とれ'る/でしょ'うか。");
  EXPECT_EQ(Read(U"損ばかりしている。"), "そ'んばかり/している。");
  EXPECT_EQ(Read(U"悪戯ばかりしている。"), "いたずらば'かり/している。");
  EXPECT_EQ(Read(U"盗んだりしない。"), "ぬす'んだり/しない。");
  EXPECT_EQ(Read(U"目標ではない。"), "もくひょーで'わ/な'い。");
  EXPECT_EQ(Read(U"混んでいなかった。"), "こ'んで/いな'かった。");
  EXPECT_EQ(Read(U"雑談でもしましょう。"), "ざつだんで'も/しましょ'う。");
  EXPECT_EQ(Read(U"正しい形にしなさい。"), "ただし'い/かたちに/しなさ'い。");
  EXPECT_EQ(Read(U"面白い。"), "おもしろ'い。");
  EXPECT_EQ(Read(U"どのくらいかかりますか。"), "どのくらい/かかりま'すか。");
  EXPECT_EQ(Read(U"いろいろとありがとうございました。"), "いろいろとありが'とう/ございま'した。");
  EXPECT_EQ(Read(U"しようとした。"), "しようと/した。");
  EXPECT_EQ(Read(U"望まないことにある。"), "のぞまないこと'に/あ'る。");
  // という after a clause before こと or の; after a noun it stays joined
  EXPECT_EQ(Read(U"腹を立てたということがわかる。"), "はら'を/た'てたと/ゆーこと'が/わか'る。");
  EXPECT_EQ(Read(U"残酷ということは。"), "ざんこくとゆーこと'わ。");
  // the honorific prefix after よう begins the phrase of the word after it
  EXPECT_EQ(Read(U"ご検討くださいますようお願い申し上げます。"),
            "ごけんとーくださ'いますよう/おねが'い/もーし/あげま'す。");
}

// できる after a kanji noun begins its own phrase (not the adverb できるだけ), and so do
// everyday adverbs written in kana inside a kana word.
TEST_F(ShippedAccents, DekiruAndAdverbsBeginTheirOwnPhrase) {
  EXPECT_EQ(Read(U"納得できる。"), "なっとく/でき'る。");
  EXPECT_EQ(Read(U"出発できなかった。"), "しゅっぱつ/でき'なかった。");
  EXPECT_EQ(Read(U"できるだけ早く。"), "でき'るだけ/はや'く。");
  EXPECT_EQ(Read(U"彼はひょっこり訪ねてきた。"), "か'れわ/ひょっこ'り/たず'ねてきた。");
  EXPECT_EQ(Read(U"部屋のあちこちに散らばっていた。"), "へや'の/あち'こちに/ちらばっていた。");
  // the word after the adverb begins a phrase too, a particle or an ending does not
  EXPECT_EQ(Read(U"とてもうまくいった。"), "とても/うま'くいった。");
  EXPECT_EQ(Read(U"もっとありますか。"), "も'っと/ありま'すか。");
  EXPECT_EQ(Read(U"いろいろな人。"), "いろいろな/ひと。");
  EXPECT_EQ(Read(U"ぜんぜんなかった。"), "ぜんぜん/な'かった。");
  EXPECT_EQ(Read(U"まったくない。"), "まったく/な'い。");
  EXPECT_EQ(Read(U"すぐに行く。"), "す'ぐに/いく。");
  EXPECT_EQ(Read(U"とても。"), "とても。");
}

// こと and とき in kana after a predicate accented in the same kana word stay in its phrase
// without an accent of their own; after a flat predicate they keep it.
TEST_F(ShippedAccents, FormalNounsAndImasuJoinAnAccentedPredicate) {
  EXPECT_EQ(Read(U"答えられないことが分かっている。"), "こたえられ'ないことが/わか'っている。");
  EXPECT_EQ(Read(U"品物が少ないときには。"), "しなものが/すくな'いときにわ。");
  EXPECT_EQ(Read(U"忙しくないときに。"), "いそが'しく/な'いときに。");
  EXPECT_EQ(Read(U"使わないことが大切だ。"), "つかわないこと'が/たいせつだ。");
  // so does います after a て form accented in the kana word; ていました begins its own phrase
  EXPECT_EQ(Read(U"歯が生えかかっています。"), "は'が/はえかか'っています。");
  EXPECT_EQ(Read(U"気になっています。"), "きに/な'っています。");
  EXPECT_EQ(Read(U"勉強しています。"), "べんきょーしていま'す。");
  EXPECT_EQ(Read(U"待っていました。"), "ま'って/いま'した。");
}

// なる after a negative's なく is a phrase of its own, but not in ならなくなる, nor in なくなる
// (無くなる) at the start of a kana word; so are つれて after に and かかる after a noun.
TEST_F(ShippedAccents, NaruAfterANegativeBeginsAPhrase) {
  EXPECT_EQ(Read(U"見えなくなった。"), "みえ'なく/な'った。");
  EXPECT_EQ(Read(U"ひっかかなくなる。"), "ひっかかなく/な'る。");
  EXPECT_EQ(Read(U"どうにもならなくなった。"), "どうにも/なら'なくなった。");
  EXPECT_EQ(Read(U"お金がなくなった。"), "おかねがな'く/な'った。");
  // and so is かかる after a kanji noun, after が and after an adverb
  EXPECT_EQ(Read(U"二週間かかる。"), "にしゅ'ーかん/かか'る。");
  EXPECT_EQ(Read(U"電話がかかってきた。"), "でんわが/かか'ってきた。");
  EXPECT_EQ(Read(U"しばらくかかる。"), "しば'らく/かか'る。");
  EXPECT_EQ(Read(U"溺れかかっていた。"), "おぼれかか'っていた。");
  // につれて after a clause is a phrase of its own
  EXPECT_EQ(Read(U"寒くなるにつれて。"), "さむ'く/な'るに/つ'れて。");
}

// The pitch cannot fall from ー, ん or っ, nor from the い of a diphthong inside a word: the
// accent a compound puts at the end of its first part falls from the kana before them.
TEST_F(ShippedAccents, NoAccentOnASpecialMora) {
  EXPECT_EQ(Read(U"木曜日。"), "もくよ'ーび。");
  EXPECT_EQ(Read(U"自動車。"), "じど'ーしゃ。");
  EXPECT_EQ(Read(U"東京都。"), "とーきょ'ーと。");
  EXPECT_EQ(Read(U"運転者。"), "うんて'んしゃ。");
  EXPECT_EQ(Read(U"独裁者。"), "どくさ'いしゃ。");
  // an accent on the kana before them stays
  EXPECT_EQ(Read(U"雨です。"), "あ'めです。");
}

// Without intonation the string carries no accent mark, whatever quotation marks or
// apostrophes the text holds; with intonation those are no accents either.
TEST_F(ShippedAccents, QuotesAreNoAccentMarks) {
  EXPECT_EQ(Read(U"彼は”あ’と言った。", false), "かれわあと/いった。");
  EXPECT_EQ(Read(U"It's O'Neil.", false), "いっとえす。おーにーる、");
  EXPECT_EQ(Read(U"雨です。", false), "あめです。");
  EXPECT_EQ(Read(U"彼は”あ’と言った。"), "か'れわあと/いった。");
}

// A reading put first by hand keeps the accent UniDic gives the word it spells: 方 is ほ'ー,
// not flat.
TEST_F(ShippedAccents, PreferredReadingsKeepTheirAccent) {
  EXPECT_EQ(Read(U"方が。"), "ほ'ーが。");
  EXPECT_EQ(Read(U"その方がいい。"), "その/ほ'ーが/い'い。");
}

}  // namespace
}  // namespace kotonel
