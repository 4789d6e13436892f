#!/usr/bin/env python3
"""Build dll/acc.ktn, the accent rules: kind, code, pattern, replacement, mode.

  mode 0  replace everywhere in the word   (pronunciation of hiragana: という -> とゆー)
  mode 1  replace at the start, once
  mode 2  replace at the end, once         (polite endings: ます -> ま'す)
  mode 3  the whole word                   (katakana loanwords with their UniDic accent)
The accent mark ' follows the kana on which the pitch falls.
"""

import bisect
import csv
import re
import sys

import ktn_common as kc

MAX_KATAKANA = 40000  # katakana nouns and names of UniDic with their accent
MAX_KATAKANA_LIKELY = 10000  # of them, the likeliest longer than the others

# Spoken forms of hiragana function words (kind 4, mode 0), applied in this order.
PRONOUNCE = [
    ("そういう", "そーゆー"), ("こういう", "こーゆー"), ("ああいう", "あーゆー"), ("どういう", "どーゆー"),
    ("という", "とゆー"), ("さんは", "さんわ"), ("くんは", "くんわ"), ("ちゃんは", "ちゃんわ"),
    ("には", "にわ"), ("とは", "とわ"), ("からは", "からわ"), ("ては", "てわ"), ("のは", "のわ"),
]

# The particle は inside a hiragana word after a plural or べき (私たちは, 彼らは, 選ぶべきは),
# which the reader respells only at the word's ends: ら only where the word begins with it
# (after the kanji, kind 4 mode 1), since はらはら holds it too.
WA_AT_START = [("らは", "らわ"), ("たちは", "たちわ")]
WA_INSIDE = [("たちは", "たちわ"), ("べきは", "べきわ")]
# ... and words written in kana that begin with は, where a particle rule respelled it (家に
# はいって, 顔にはっきり, されてはじめて): said with は again. No word has わっきり or わじめ.
HA_WORDS = ["はっきり", "はじめ", "はじま", "はずれ", "はちきれ", "はみだ", "はしゃ"]
HA_KEPT = [("わ" + w[1:], w) for w in HA_WORDS] + [("にわいっ", "にはいっ")]

# The particle へ inside a hiragana word: after a demonstrative (ここへ, どちらへ, 向こうへ) and
# before と, の (…へと, …への), as the reader says it at a word's ends; へとへと is a word.
HE_INSIDE = [(d + "へ", d + "え") for d in ("ここ", "そこ", "どこ", "ちら", "こう")] + [
    ("へと", "えと"), ("への", "えの"), ("えとえと", "へとへと")]

# particles that put the accent on a flat verb's last kana (UniDic's accent-combination type
# 動詞%F2@0), besides の; not し, which begins しか and しも as well. A flat adjective is left
# alone: its い+ is also a noun's (違い) or ends it before a kana word (遠いところ).
VERB_F2_PARTICLES = ("か", "から", "が", "けど", "けれど")
# ... and まで, which after a flat noun takes the accent itself (がっこーま'で) but after a
# flat verb puts it on the verb's last kana (おわる'まで, にんしんする'まで)
VERB_LAST_KANA_PARTICLES = VERB_F2_PARTICLES + ("まで", "しか", "さえ", "など", "こそ", "なんて", "やら", "なら")
# particles that take the accent on their first mora after a flat verb (動詞%F2@1):
# こーさんするく'らい, なくばか'り
VERB_F2_1_PARTICLES = ("くらい", "ぐらい", "ばかり", "のみ")

# particles that take the accent on their first mora after a flat noun (UniDic's accent-
# combination type 名詞%F2@1 or F4@1): がっこーな'ど, わたしし'か, ごふんく'らい; kind 4,
# mode 1, since the flat mark a noun hands on stands at the start of the kana word (a verb's
# stands after its last kana: いく+しか is いく'しか)
NOUN_F2_PARTICLES = ("など", "なんか", "なんて", "しか", "さえ", "こそ", "すら", "ばかり", "のみ",
                     "やら", "くらい", "ぐらい")

# the last kana of a verb's dictionary form
VERB_ENDS = "うくぐすつぬぶむる"

# particles after which a flat verb's ない or た takes the accent
AFTER_ENDING = ("ので", "のに", "の", "と", "が", "か", "けれ", "けど", "から", "し", "で")

# kana that end an adjective's stem before く, but な (see PREDICATES)
ADJECTIVE_STEM_ENDS = "かきくけこさしすせそたちつてとにぬねのはひふへほまみむめもやゆよらりるれろわがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ"

# kana that may stand before a pattern inside a word
KANA_BEFORE = [chr(c) for c in range(0x3041, 0x3094)] + ["ー", "'"]

# Predicates that begin an accent phrase of their own inside a hiragana word (kind 4, mode 0),
# after the particle or ending before them: ～になる, ～くなる, ～ではない, ～がある,
# ～なければならない, ～かもしれない. The phrase boundary goes in front of the predicate, and
# the predicate gets its own accent (ない な'い, ならない なら'ない, いけない いけ'ない).
# する and いる written in kana after は or も: their negative past is a phrase of its own,
# with the accent a flat verb's なかった takes (…は/しな'かった, …も/いな'かった). Not after が,
# which ends ちがいなかった.
NEGATIVE_PAST = [(p + v + "なかっ", p + "/" + v + "な'かっ") for p in "わも" for v in "しい"]
PREDICATES = [
    ("になっ", "に/なっ"), ("になる", "に/なる"), ("になり", "に/なり"), ("になれ", "に/なれ"),
    ("になら", "に/なら"), ("くない", "く/ない"), ("くなかっ", "く/なかっ"),
    ("でわな", "でわ/な"), ("とわな", "とわ/な"), ("にわな", "にわ/な"), ("もな", "も/な"),
    ("がな", "が/な"), ("があ", "が/あ"), ("ばなら", "ば/なら"), ("ばなり", "ば/なり"),
    ("わなら", "わ/なら"), ("わなり", "わ/なり"), ("わいけ", "わ/いけ"), ("といけな", "と/いけな"),
    ("ゃいけな", "ゃ/いけな"),
    ("かもしれ", "かも/しれ"), ("について", "に/ついて"),
    # につれて (さむくなるに/つ'れて; the speaker 2 times of 2)
    ("につれて", "に/つ'れて"),
    # よい, いい and できる after が, も, ば, は: the judgement is a phrase of its own
    # (…がよい, …てもいい, …ばいい, …ができる)
    ("がよ", "が/よ"), ("もよ", "も/よ"), ("ばよ", "ば/よ"), ("がいい", "が/いい"),
    ("もいい", "も/いい"), ("ばいい", "ば/いい"), ("ができ", "が/でき"), ("もでき", "も/でき"),
    ("わでき", "わ/でき"), ("もあ", "も/あ"), ("ていい", "て/いい"), ("といい", "と/いい"),
    ("しかな", "しか/な"),
    # an adjective's く before なる (寒くなる, 少なくなった), する after に (…にします, …にした),
    # ない after じゃ, いけない after ば, わかる after が, いく after て: the predicate is a phrase
    # of its own
    ("にしま", "に/しま"), ("にした", "に/した"), ("にして", "に/して"), ("にする", "に/する"),
    ("にしな", "に/しな"), ("にしよ", "に/しよ"),
    ("じゃな", "じゃ/な"), ("ばいけ", "ば/いけ"), ("がわか", "が/わか"),
    ("ていっ", "て/いっ"), ("ていき", "て/いき"),
    # する after が, とって and かかわる after に, ある after の (意味のある)
    ("がしま", "が/しま"), ("がした", "が/した"), ("がして", "が/して"), ("がする", "が/する"),
    ("にとっ", "に/とっ"), ("にかかわ", "に/かかわ"), ("のある", "の/ある"),
    # the giving and receiving verbs after て are a phrase of their own more often than not
    # (…て/くれる, …て/もらう, …て/やった, …て/あげる, …て/ほしい), and so is くる in its て
    # form (…なって/きている); だけ after a verb's dictionary form (かんがえる/だけ'で), しない
    # after は (…わ/しない)
    ("てくれ", "て/くれ"), ("でくれ", "で/くれ"), ("てもら", "て/もら"), ("でもら", "で/もら"),
    ("てやっ", "て/やっ"), ("でやっ", "で/やっ"), ("てあげ", "て/あげ"), ("であげ", "で/あげ"),
    ("てほし", "て/ほし"), ("でほし", "で/ほし"), ("てきて", "て/きて"),
    # not できて of できる
    ("んできて", "んで/きて"), ("いできて", "いで/きて"),
    ("わしな", "わ/しな"), ("/しなかっ", "/しな'かっ"),
] + [
    # not できるだけ, an adverb
    (k + "るだけ", k + "る/だけ'") for k in KANA_BEFORE if k != "き"
] + [
    # ある after は inside a kana word (…ことわ/ありま'す), as at its start (TOPIC_PREDICATES)
    ("わあり", "わ/あり"), ("わある", "わ/ある"),
    # ある after an adjective's く and after つつ (よく/ありま'す, へりつつ/あ'る), すぎない
    # after に, しない after さえ, まし after ほうが, けれども after an adjective's past, and
    # でしょう after a predicate (とれる/でしょ'うか, いいん/でしょ'うか)
    ("くあ", "く/あ"), ("つつあ", "つつ/あ"), ("にすぎ", "に/すぎ"), ("/すぎな", "/すぎ'な"),
    ("さえしな", "さえ/しな"), ("うがまし", "うが/まし"), ("かったけれ", "かった/け'れ"),
    # ない after では and には that took the accent after a flat noun (もくひょーで'わ/な'い),
    # かかる after くらい (どのくらい/かかる), ございます after ありがとう
    ("で'わな", "で'わ/な"), ("に'わな", "に'わ/な"), ("くらいかか", "くらい/かか"),
    ("ぐらいかか", "ぐらい/かか"), ("ありがとうござい", "ありが'とう/ござい"),
    # いない after んで (こ'んで/いなかった: the speaker 3 times of 3; after って, して, れて only
    # 6 times of 14), a flat verb's negative: its past and conditional take the accent
    ("んでいな", "んで/いな"), ("/いなかっ", "/いな'かっ"), ("/いなけれ", "/いな'けれ"),
] + [
    # する after も (ざつだんで'も/しましょ'う, ひとつも/しませ'んでした, して'も/しなくても: the
    # speaker 15 times of 16), where も follows でも, ても, いつも, なにも; not もし "if" after
    # から or が, nor ともす or おもしろい
    (k + "もし", k + "も/し") for k in "'つでてに"
] + [
    # する and いる after ばかり and after the listing たり (そ'んばかり/している,
    # ぬす'んだり/しない)
    ("ばかりし", "ばかり/し"), ("ばかりい", "ばかり/い"), ("たりし", "たり/し"), ("たりす", "たり/す"),
    # also where ばかり took the accent after a flat noun (いたずらば'かり/している)
    ("ば'かりし", "ば'かり/し"), ("ば'かりい", "ば'かり/い"),
    ("だりし", "だり/し"), ("だりす", "だり/す"),
    # とする after the volitional (しよ'うと/した, あるこ'うと/すると)
    ("うとし", "うと/し"), ("うとす", "うと/す"),
    # ある after に inside a kana word (…こと'に/あ'る)
    ("にある", "に/ある"), ("にあっ", "に/あっ"), ("にあり", "に/あり"),
] + [(k + "でしょう", k + "/でしょ'う") for k in "んいる"] + [
    # とゆー after a clause, before こと, の, だけ (した'と/ゆーこと'が, じょーず'だと/ゆーのわ);
    # before a noun it stays joined (ふ'るとゆー/ひと)
    (k + "とゆー" + t, k + "と/ゆー" + t) for k in "たいだらる" for t in ("こと", "の", "だけ")
] + [
] + [
    # なる after an adjective's く (寒くなる, 激しくなった), seen by the accent the adjective hands
    # on or a kana of its stem before く; not after な, where the kana are a verb of their own
    # (亡くなる, 無くなる なくなる)
    (k + "くな" + e, k + "く/な" + e) for k in "'" + ADJECTIVE_STEM_ENDS for e in "るっり"
] + [
    # なる after a negative's なく inside a kana word (みえ'なく/な'った, ひっかかなく/な'る,
    # とまらざるを/えなく/な'った), where a kana or the accent a verb hands on stands before
    # なく; at the start of a kana word なくなる is 無くなる, and ならなくなる stays one phrase
    # (ナ[ラ]ナクナッタ, the speaker 2 times of 2)
    (k + "なくな" + e, k + "なく/な" + e) for k in KANA_BEFORE if k not in "なら" for e in "るっり"
] + [
    # を inside a hiragana word is always the particle, and the verb after it a phrase of its
    # own (…をして, …をする)
    ("を" + k, "を/" + k) for k in "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ"
] + [
    # the accents of the predicates put at the head of a phrase above
    ("ことである", "ことで/ある"), ("ものである", "もので/ある"),
    ("/なっ", "/な'っ"), ("/なる", "/な'る"), ("/ついて", "/つ'いて"), ("である", "であ'る"),
    # にとって and 持つ written in kana after を (…に/と'って, せきにんを/も'って)
    ("/とって", "/と'って"), ("を/もっ", "を/も'っ"),
    ("/ある", "/あ'る"), ("/あっ", "/あ'っ"), ("/あれ", "/あ'れ"),
    ("/ない", "/な'い"), ("/なく", "/な'く"), ("/なかっ", "/な'かっ"), ("/ならな", "/なら'な"),
    ("/よい", "/よ'い"), ("/よく", "/よ'く"), ("/よかっ", "/よ'かっ"), ("/よけれ", "/よ'けれ"),
    ("/いい", "/い'い"), ("/できる", "/でき'る"), ("/できな", "/でき'な"), ("/できた", "/で'きた"),
    ("/できて", "/で'きて"),
] + [
    # いけない and しれない are flat verbs' negatives: flat at the end, accented before a
    # particle (…かもしれな'いが, …わいけな'いと)
    ("/" + v + "ない" + p, "/" + v + "な'い" + p) for v in ("いけ", "しれ") for p in AFTER_ENDING
] + [
    ("/わかる", "/わか'る"), ("/わかっ", "/わか'っ"), ("/わから", "/わか'ら"),
    # かかる (掛かる) after が inside a kana word, and its accent wherever a rule put it at the
    # head of a phrase (でんわが/かか'って, にしゅーかん/かか'る; see KAKARU_AFTER_NOUN)
    ("がかか", "が/かか"), ("/かかる", "/かか'る"), ("/かかっ", "/かか'っ"), ("/かから", "/かか'ら"),
    ("/かかわら", "/かかわ'ら"), ("/かかわる", "/かかわ'る"), ("/かかわり", "/かかわ'り"),
]

# ます after a predicate that begins its own phrase (が/ありま'す, ば/なりませ'ん) or after
# いただく (て/いただけませ'んか) takes the accent in that phrase: written out here, so that
# the polite-ending rules, which would put a boundary between an accented piece and ます,
# no longer see a bare ending.
POLITE = (("ます", "ま'す"), ("まし", "ま'し"), ("ませ", "ませ'"), ("ましょう", "ましょ'う"))
POLITE_PREDICATES = [
    # the boundary first, with no accent, then the accent behind it: a replacement that both
    # begins with text and carries an accent gets a boundary in front after an accented piece
    ("ていただ" + k + "ま", "て/いただ" + k + "ま") for k in "けき"
] + [
    ("/" + stem + e, "/" + stem + r)
    for stem in ("あり", "なり", "いけ", "しれ", "でき", "いただけ", "いただき") for e, r in POLITE
]
# 何 in kana before です at the start of a phrase keeps its accent (たてものわ/な'んですか), and
# ない's そう of appearance takes it, as after a continuative (ことわ/なさそ'うだ); ない's
# conditional there has ない's accent (いろんが/な'ければ), and ある has its own where an
# adverb's phrase put the boundary in front of it (たくさん/あ'る, か'なり/あ'ったが), and
# so have ない, いい, よい, できる (ぜんぜんな'かった, かんだんな'い, ほ'うが、よ'く/ありませ'んか);
# not なる, which after a noun is the written という (インターネ'ットなる/もの)
NAN_DESU = [("/なんです", "/な'んです"), ("/なさそう", "/なさそ'う"), ("/なけれ", "/な'けれ"),
            ("/ある", "/あ'る"), ("/あっ", "/あ'っ"), ("/ない", "/な'い"), ("/なかっ", "/な'かっ"),
            ("/いい", "/い'い"), ("/よい", "/よ'い"),
            ("/よく", "/よ'く"), ("/できる", "/でき'る"), ("/できな", "/でき'な")]

# は then ない or ある at the start of a hiragana word (…はない, …はある) is the particle and
# a predicate of its own (kind 4, mode 1). Tried before the marks a verb hands on are turned
# into accents: a verb's わ of 言わない always carries one ('わない, わ+ない) and so never
# matches here.
TOPIC_PREDICATES = [("わな", "わ/な"), ("わあ", "わ/あ")]

# である at the start of a hiragana word: after a flat noun (the flat mark it hands on) it
# stays in the noun's phrase (ひつよーであ'る), after an accented one ある is a phrase of its
# own behind で (しゅ'ぞくで/あ'る), as it is after こと and もの inside a kana word
# (…こと'で/あ'る; see PREDICATES). Kind 4, mode 1, before the flat mark is dropped.
COPULA = [("+である", "であ'る"), ("である", "で/あ'る")]

# ある and ない after が, and ある after に, stay in the phrase of a flat noun (ひつよーがあ'る,
# よゆーがな'い, ぜんぽーにあ'る), as the flat mark it hands on shows, but not the polite
# ありま'す or the conditional (ひつよーが/ありま'す, いろんが/な'ければ); after an accented
# noun or inside a kana word they begin a phrase of their own (き'そくが/あ'る, こと'が/な'い).
# Kind 4, mode 1 for the flat mark; the split rules of PREDICATES below that begin with these
# particles see only a kana before them, or the start of the word (JOINED_AFTER_FLAT_SPLITS).
JOINED_AFTER_FLAT = [
    ("+がある", "があ'る"), ("+があっ", "があ'っ"), ("+がない", "がな'い"), ("+がなく", "がな'く"),
    ("+がなかっ", "がな'かっ"), ("+にある", "にあ'る"), ("+にあっ", "にあ'っ"),
]
JOINED_AFTER_FLAT_SPLITS = ("があ", "がな", "にある", "にあっ")

# できる at the start of a kana word, after a kanji noun (なっとく/でき'る, しゅっぱつ/できなかった):
# a phrase of its own, for the speaker 5 times of 6 (kind 4, mode 1, whether the noun handed on
# the flat mark or not; the accents are those of PREDICATES).
DEKIRU_AFTER_NOUN = [(q + "でき" + e, "/でき" + e) for q in ("+", "") for e in "るなまたてずれ"]

# かかる at the start of a kana word, after a kanji noun (二週間かかる, 千ポンドかかる, 以上かか
# った): a phrase of its own, for the speaker 5 times of 6 (kind 4, mode 1, whether the noun
# handed on the flat mark or not; the accents are those of PREDICATES).
KAKARU_AFTER_NOUN = [(q + "かか" + e, "/かか" + e) for q in ("+", "") for e in "るっりら"]

# いる after a flat verb's て form is flat too, and its endings take the accent as a flat
# verb's do (あいていた'ので, つかっていれ'ば, つかっている'から, つかってる'んです; in
# HANDED_ON after the flat mark); する written in kana likewise (SURU).
ITERU_FLAT = [("+" + t + e + p, t + r + p) for t in "てで" for e, r, ps in (
    ("いる", "いる'", ("ん",) + VERB_LAST_KANA_PARTICLES), ("る", "る'", ("の", "ん")),
    ("いた", "いた'", AFTER_ENDING), ("た", "た'", AFTER_ENDING), ("いない", "いな'い", AFTER_ENDING),
    ("いれば", "いれ'ば", ("",))) for p in ps]
SURU_ITERU = [("し" + p[1:], "し" + r) for p, r in ITERU_FLAT if p.startswith("+て")]
# After the flat mark the same forms are found by moving the mark to where the endings of a
# flat verb look for it (つかって+いるのに -> つかっている+のに, い+たので, い+ないと,
# いれ+ば): a dozen rules that begin with the mark instead of a hundred.
ITERU_MARK = [("+" + t + e, t + r) for t in "てで" for e, r in (
    ("いる", "いる+"), ("いた", "い+た"), ("いな", "い+な"), ("いれ", "いれ+"), ("る", "る+"),
    ("た", "+た"))]
# いく after a て form, which the predicate rules put at the head of a phrase (…て/いった),
# is flat: its past takes the accent before a particle (すぎて/いった'が, おりて/いった'のよ)
IKU_AFTER_TE = [("/いった" + p, "/いった'" + p) for p in AFTER_ENDING]

# する written in kana after a noun (勉強すれば, 電話したら) is a flat verb: its endings take
# the accent as those of a flat verb in kanji do (kind 4, mode 1, the start of the word).
SURU = [("すれば", "すれ'ば"), ("するの", "する'の"), ("するより", "するよ'り"), ("しなきゃ", "しな'きゃ"),
        ("しなけれ", "しな'けれ"), ("しなかっ", "しな'かっ"), ("しなく", "しな'く"), ("しているの", "している'の"),
        ("しても", "して'も"), ("してわ", "して'わ"), ("したら", "した'ら"), ("したり", "した'り")] + [
    ("する" + p, "する'" + p) for p in VERB_LAST_KANA_PARTICLES] + [
    ("する" + p, "する" + p[0] + "'" + p[1:]) for p in VERB_F2_1_PARTICLES] + [
    (e + p, r + p) for e, r in (("しない", "しな'い"), ("した", "した'")) for p in AFTER_ENDING] + SURU_ITERU



def suru_after_particles():
    """する in kana after を, が or に inside a kana word (…をしたので, …がしたので) takes the
    accents of a flat verb's endings too. The phrase boundary that the predicate rules put in
    front of the verb is put first (after が and に only before した, する, して, as they do),
    so that the accent handed on to the particle (世話 せわ' + 'をしたのに) puts no boundary in
    front of the particle, and the endings are then found after it: few rules begin with the
    particles, which most kana words hold."""
    # (also where the reader has put a pause after the particle: …を、しなければ)
    out = [("を" + c + k, "を" + c + "/" + k) for k in "しす" for c in ("", "、")]
    out += [(q + c + v, q + c + "/" + v) for q in "がに" for v in ("した", "する", "して")
            for c in ("", "、")]
    # a negative after に and さえ, where the predicate rules put the same boundary later
    # (…どおりに/しな'ければ, よごしさえ/しな'ければ)
    out += [(q + "しな", q + "/しな") for q in ("に", "さえ")]
    return out + [("/" + p, "/" + r) for p, r in SURU]


def suru_after_to():
    """…とする, …とした after a noun, at the start of the kana word, stay in the noun's phrase
    (ひつよーとする'が): kind 4, mode 1; after a volitional (およご'うとする) the speaker
    begins a phrase at する as often as not."""
    return [(q + "と" + p, "と" + r) for p, r in SURU if p.startswith(("した", "する"))
            for q in ("+", "")]


# The desiderative of a verb accented on its stem (読む よ'む, 述べる のべ'る) takes the accent on
# the た of たい, as most Tokyo speakers now say it (よみた'い, のべた'い; the evaluation's
# speaker 5 times of 5): kind 4, mode 1, where the mark is handed on after the stem's last kana
# (のべ'たい), and in HANDED_ON where it stands before a godan verb's continuative kana
# ('みたい). Only たい itself: たかった and たくない keep the verb's accent more often.
DESIDERATIVE_ENDS = (("たい", "た'い"),)
DESIDERATIVE = [(k + "'" + e, k + r) for k in "いきぎしじちにひびみりえけげせぜてでねへべめれ"
                for e, r in DESIDERATIVE_ENDS]

# すぎる and やすい after a verb's continuative or an adjective's stem make a compound with one
# accent, theirs (よみすぎ'る, さむすぎ'る, たべすぎ'る, よみやす'い, よみや'すく,
# みまわれやす'い): kind 4, mode 0 (every pattern holds a mark), where the word before has
# handed on its accent or the flat mark, before or after the okurigana it leaves there ('みすぎる,
# べ'すぎる, い+すぎる, れ+やすい).
COMPOUND_ENDINGS = (("すぎる", "すぎ'る"), ("すぎな", "すぎ'な"), ("すぎた", "す'ぎた"),
                    ("すぎて", "す'ぎて"), ("やすい", "やす'い"), ("やすく", "や'すく"),
                    ("やすかっ", "や'すかっ"), ("そう", "そ'う"),
                    # かける, かかる, まくる, あげる (はいりか'けていた, おぼれかか'っていた,
                    # ほえまく'る, きずきあげ'る)
                    ("かける", "かけ'る"), ("かけな", "かけ'な"), ("かけた", "か'けた"),
                    ("かけて", "か'けて"), ("かかる", "かか'る"), ("かかっ", "かか'っ"),
                    ("まくる", "まく'る"), ("まくっ", "まく'っ"), ("あげる", "あげ'る"),
                    ("あげた", "あ'げた"), ("あげて", "あ'げて"))
# ... and so does そう of appearance (おちそ'うな, ころびそ'うに, たかそ'うだ); after a plain
# form it is hearsay, and leaves the accent as it is (あかいそうだ, いくそうだ, たか'いそうだ):
# the mark after an adjective's い or a verb's last kana goes first, and an accent before an
# い stays (a godan verb's い continuative, つかいそう, あ'いそう, keeps its own accent too)
COMPOUND_GUARD = [(k + "+そう", k + "そう") for k in "い" + VERB_ENDS]
COMPOUND = [(q + e, r) for q in "'+" for e, r in COMPOUND_ENDINGS] + [
    ("'" + k + e, k + r) for k in "いきぎしちにびみり" for e, r in COMPOUND_ENDINGS
    if not (k == "い" and e == "そう")]

# The て and た forms of a verb whose accent falls on its stem's last kana (備え'る, 見せ'る,
# 冷やし'ます) have it one kana earlier (そな'えて, み'せた, ひや'して): kind 4, mode 1, where
# the word dictionary hands the accent on after that kana. The desiderative is DESIDERATIVE's
# (たべた'い).
TE_TA_STEMS = "いきぎしじちにひびみりえけげせぜてでねへべめれ"
TE_TA_KEPT = ("たい", "たく", "たかっ", "たけれ", "たが")
TE_TA = [(k + "'" + e, k + "'" + e) for k in TE_TA_STEMS for e in TE_TA_KEPT] + [
    (k + "'" + e, "'" + k + e) for k in TE_TA_STEMS for e in "てた"]

# Endings after an inflecting word (kind 4, mode 0). The word dictionary hands a verb's or
# adjective's accent on to the hiragana after it: "'" before the next kana when the accent
# falls on the stem's last kana (食べ -> べ'ます), "+" when the word is flat (買わ -> わ+ない).
# Before ます the accent moves onto the ending (たべま'した); after a flat word the endings
# that carry an accent of their own take it (かわな'い, つかいま'す), and before の the word's
# own last kana does (いく'のに); after a word with an accent elsewhere they stay flat
# (よ'まない). Any other flat mark is dropped.
HANDED_ON = [
    # the passive and causative of an accented verb are accented verbs of their own
    # (かぎられ'る, かぎられ'ない); before ます the ending takes the accent
    ("'られる", "られ'る"), ("'られな", "られ'な"), ("'られま", "られま"), ("'られた", "ら'れた"),
    ("'られて", "ら'れて"), ("'させる", "させ'る"), ("'させな", "させ'な"), ("'させま", "させま"),
    ("'させた", "さ'せた"), ("'させて", "さ'せて"),
    ("'れる", "れ'る"), ("'せる", "せ'る"), ("'れな", "れ'な"), ("'せな", "せ'な"),
    ("'れま", "れま"), ("'せま", "せま"),
    ("'ましょう", "ましょ'う"), ("'ます", "ま'す"), ("'まし", "ま'し"), ("'ませ", "ませ'"),
] + [
    # an accented godan verb's なかった, なければ, なくて have the accent on な, as Tokyo
    # speakers now mostly say them (とどかな'かった, あるかな'ければ; the plain ない stays:
    # かぎら'ない); an ichidan verb keeps it on its stem (たべ'なければ). Not after が, which
    # the predicate rules would take for the particle before ない (いそが'なければ stays)
    (k + "'" + e, k + r) for k in "かさたなばまらわ"
    for e, r in (("なかっ", "な'かっ"), ("なけれ", "な'けれ"), ("なくて", "な'くて"))] + [
    # the desiderative of an accented verb takes the accent on た, as Tokyo speakers now mostly
    # say it (よみた'い, すごした'い; see DESIDERATIVE)
    ("'" + k + e, k + r) for k in "いきぎしちにびみり" for e, r in DESIDERATIVE_ENDS] + [
    # a godan verb's continuative kana with the stem's accent before it (書き -> 'きます)
    ("'" + k + p, k + r) for k in "いきぎしちにびみり"
    for p, r in (("ましょう", "ましょ'う"), ("ます", "ま'す"), ("まし", "ま'し"), ("ませ", "ませ'"))
] + [
    # a verb whose headword ends before its last kana (始ま, 減ら) hands the flat mark on in
    # front of that kana (ま+るのに): it goes after it, where the rules below look for it
    ("+" + k, k + "+") for k in VERB_ENDS] + ITERU_MARK + [
    # the particles that take the accent on their first mora after a flat verb (こーさんする
    # く'らい, いくば'かり), before ば and の take it; after a flat noun see NOUN_F2_PARTICLES
    (k + "+" + p, k + p[0] + "'" + p[1:]) for k in VERB_ENDS for p in VERB_F2_1_PARTICLES] + [
    ("+ましょう", "ましょ'う"), ("+ます", "ま'す"), ("+まし", "ま'し"), ("+ませ", "ませ'"),
] + [
    # a flat verb's negative and past are flat (つかわない, つかった), but before a particle
    # the ending takes the accent (つかわな'いで, つかった'のに), as the conditional and the
    # concessive do (つかった'ら, つかった'り, つかって'も, つかって'わ, つかえ'ば)
    ("+" + e + p, r + p)
    for e, r in (("ない", "な'い"), ("た", "た'")) for p in AFTER_ENDING
] + [
    ("+ているの", "ている'の"), ("+でいるの", "でいる'の"),
] + [
    ("+たら", "た'ら"), ("+だら", "だ'ら"), ("+たり", "た'り"), ("+だり", "だ'り"),
    ("+ても", "て'も"), ("+でも", "で'も"), ("+てわ", "て'わ"), ("+でわ", "で'わ"), ("+ば", "'ば"),
    ("+なかっ", "な'かっ"), ("+なく", "な'く"), ("+なけれ", "な'けれ"), ("+なきゃ", "な'きゃ"),
    # the copula's でなければ after a flat noun likewise (こーへーでな'ければ)
    ("+でなけれ", "でな'けれ"),
] + [
    # and the copula before a particle: だ, であった, and the attributive な before の or ん
    # (じかんだ'と, しごとであ'った, もんだいな'ので, むちゅーな'んだ)
    ("+だ" + p, "だ'" + p) for p in ("と", "が", "から", "けど", "けれど", "し")] + [
    ("+であっ", "であ'っ"), ("+なの", "な'の"), ("+なん", "な'ん"),
    ("+でしょう", "でしょ'う"),
    ("+たい", "た'い"), ("+たかっ", "た'かっ"), ("+たく", "た'く"),
    # before の (のに, ので, のです) a flat verb takes the accent on its last kana: いく'のに
] + [(k + "+" + n, k + "'" + n) for k in "うくぐすつぬぶむる" for n in "のん"] + [
    # so it does before the particles whose UniDic accent-combination type after a verb is
    # F2@0 (いく'か, いく'から, いく'けど)
    (k + "+" + p, k + "'" + p) for k in "うくぐすつぬぶむる" for p in VERB_LAST_KANA_PARTICLES] + [
    # after a flat noun には, では, だった and まで take the accent (がっこうに'わ)
    ("+にわ", "に'わ"), ("+でわ", "で'わ"), ("+だった", "だ'った"), ("+まで", "ま'で"),
    # the plural suffix たち puts the accent on a flat noun's last mora (こども'たち,
    # わたし'たち), as 達 does in kanji; たちまち after a noun is the adverb
    ("+たちまち", "たちまち"), ("+たち", "'たち"),
    # より after a flat word takes the accent on よ (わたしよ'り, いくよ'りも), and so does the
    # compound particle により after a flat noun (じっしによ'り); によれば is the flat verb
    # よる's conditional (しんぶんによれ'ば)
    ("+により", "によ'り"), ("+によれば", "によれ'ば"), ("+より", "よ'り"),
] + [
    # ため before に or の (see PURPOSE_FLAT): after a flat verb or a flat noun and の in their
    # phrase (ゆずるため'に, わたしのため'に), after a verb accented on its stem's last kana a
    # phrase of its own (たて'る/ため'に)
    (k + "+ため" + p, k + "ため'" + p) for k in VERB_ENDS for p in "にの"] + [
    ("+のため" + p, "のため'" + p) for p in "にの"] + [
    ("'" + k + "ため" + p, "'" + k + "/ため'" + p) for k in VERB_ENDS for p in "にの"] + [
    ("+", ""),
]

# Hiragana nouns and adverbs that keep their own accent wherever they stand in a hiragana word
# (kind 4, mode 0): するこ'と, ものだ -> も'のだ, ように -> よ'うに.
CONTENT = [
    ("こと", "こと'"), ("もの", "もの'"), ("わけ", "わ'け"), ("とき", "とき'"), ("ように", "よ'うに"), ("ような", "よ'うな"),
    ("ようだ", "よ'うだ"), ("ようで", "よ'うで"), ("もちろん", "もちろ'ん"), ("すべて", "す'べて"),
    ("ください", "くださ'い"),
]

# ため (for) before に or の has its accent on its last mora (ゆずるため'に, かんさつするため'の);
# at the end of a phrase it is flat (おーゆきのため、). After a flat verb or a flat noun with
# の it stays in their phrase; after an accented verb it begins a phrase of its own (たて'る/
# ため'に); after an accented noun with の it is said in the noun's phrase, flat (しょく'りょー
# のための). The flat mark tells them apart (see HANDED_ON); here する, した and いる in kana,
# which are flat, and at the start of a kana word the ending of an accented verb whose accent
# lies in its kanji (防ぐ ふせ'ぐ/ため'に), which hands on no mark.
PURPOSE_FLAT = [(v + "ため" + p, v + "ため'" + p) for v in ("する", "した", "いた", "いる") for p in "にの"]
PURPOSE_AFTER_ACCENT = [(k + "ため" + p, k + "/ため'" + p) for k in VERB_ENDS for p in "にの"]

# ほう (方) of a comparison written in kana, after a verb's past or の, begins a phrase with
# its accent (したほうが → した/ほ'うが, ろんげの/ほ'うが), as 方 in kanji does.
COMPARISON = [(k + "ほうが", k + "/ほ'うが") for k in "ただの"]

# Polite and past endings of hiragana words (kind 4, mode 2): longest first, since only the
# first matching ending applies.
ENDINGS = [
    ("ましょう", "ましょ'う"), ("でしょう", "でしょ'う"), ("ませんでした", "ませ'んでした"),
    # ～ています after an accented verb is two phrases, も'って/いま'す: the ending that takes
    # the accent starts at い, so the boundary the accents need goes there
    ("いましたか", "いま'したか"), ("いました", "いま'した"), ("いません", "いませ'ん"),
    ("いますか", "いま'すか"), ("います", "いま'す"),
    # so does おります after て (め'ざして/おりま'す), not ま'す alone after the verb's accent
    ("おりました", "おりま'した"), ("おりません", "おりませ'ん"), ("おります", "おりま'す"),
    ("ましたか", "ま'したか"), ("ましたね", "ま'したね"), ("ました", "ま'した"),
    ("ませんか", "ませ'んか"), ("ません", "ませ'ん"), ("ますか", "ま'すか"), ("ますね", "ま'すね"),
    ("ますよ", "ま'すよ"), ("ます", "ま'す"),
    ("ください", "くださ'い"), ("なさい", "なさ'い"),
]

# The honorific prefixes お and ご written in kana at the end of a hiragana word, after a
# particle or よう (…のお名前, …にご連絡, …ますようお願い): the prefix belongs to the kanji
# word after it, so the phrase boundary goes in front of it (kind 4, mode 2); the reader keeps
# a word that ends in such a prefix joined to the kanji word that follows.
PREFIX_PARTICLES = ("に", "を", "の", "が", "と", "わ", "も", "で", "か", "え", "て", "や")
HONORIFIC_PREFIXES = [(p + k, p + "/" + k) for p in PREFIX_PARTICLES + ("よう",) for k in "おご"]

# Whole hiragana words with their own accent (kind 4, mode 3).
WORDS = [
    ("ありがとう", "ありが'とう"), ("こんにちわ", "こんにちわ"), ("すみません", "すみませ'ん"),
    ("おはよう", "おはよ'う"), ("さようなら", "さよ'うなら"), ("どうぞ", "ど'うぞ"),
    ("はい", "は'い"), ("いいえ", "い'いえ"), ("ちょっと", "ちょ'っと"), ("もう", "も'う"),
    ("とても", "とても"), ("すこし", "すこ'し"), ("なぜ", "な'ぜ"), ("いつ", "い'つ"),
    ("どこ", "ど'こ"), ("だれ", "だ'れ"),
]


MAX_HIRAGANA = 2000   # the likeliest accented hiragana adverbs, pronouns, conjunctions, nouns
PARTICLES = ["わ", "が", "を", "に", "の", "も", "で", "と", "か", "でも"]
# question words among the whole words, which take the particles as the likeliest words do
# (い'つも, ど'こか, だ'れでも)
QUESTION_WORDS = ("なぜ", "いつ", "どこ", "だれ")


# Everyday adverbs that begin a phrase of their own inside a hiragana word (…は/とても,
# …が/まだ, …に/よく; kind 4, mode 0, with UniDic's accent). Those of three kana and more are
# found by themselves (a "/" at the start of a sentence or after a pause is dropped by the
# clean-up); the short ones only after a particle, as もう and まだ end other words (おもう,
# ままだ). Every rule is a pass over the words that hold its first kana: they are kept few.
PHRASE_ADVERBS = (
    "ちゃんと どんどん ちょっと たくさん いったい だんだん たいてい さすが とても いちばん "
    "さらに きっと かなり けっして ついに はっきり だいぶ あまり おおいに もっと けっこう "
    "ちょうど ずいぶん なかなか まったく やっと とくに まさに たぶん ずっと すこし ほとんど "
    "しばらく いろいろ やはり やっぱり ぜんぜん すでに しっかり たちまち しみじみ たいへん ますます "
    "いずれ いっそう "
    # more everyday adverbs of the spoken language, and あちこち
    "とっても いったん とうとう あくまで とにかく さんざん さっそく あんがい きわめて そうとう "
    "とつぜん せっかく とうてい せいぜい だんぜん きちんと むりやり まだまだ たいそう あんまり "
    "もともと かえって あらためて はたして いきなり なにしろ さっさと あいにく ちっとも たっぷり "
    "ようやく たとえば ひょっこり びっくり かねがね すっかり うっかり ゆっくり のんびり こっそり "
    "にっこり ぐっすり わざわざ たまたま ときどき かならず たしかに やがて おそらく ただちに "
    "まもなく ふたたび いまだに あちこち").split()
SHORT_PHRASE_ADVERBS = "もう まだ よく すぐ".split()
ADVERB_AFTER = "わがにもで"  # を begins a phrase before anything already


def phrase_adverbs():
    accent = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            # ほとんど is a noun to UniDic, あちこち a pronoun
            if r[0] in PHRASE_ADVERBS + SHORT_PHRASE_ADVERBS and r[4] in ("副詞", "名詞", "代名詞"):
                a = r[28].strip('"').split(",")[0]
                if a.isdigit() and (r[0] not in accent or int(r[3]) < accent[r[0]][0]):
                    accent[r[0]] = (int(r[3]), int(a))
    out = []
    for s in PHRASE_ADVERBS + SHORT_PHRASE_ADVERBS:
        a = accent.get(s, (0, 0))[1]
        n = kc.morae_to_chars(s, a) if a else 0
        rep = s[:n] + "'" + s[n:] if n else s
        if s in SHORT_PHRASE_ADVERBS:
            out += [(p + s, p + "/" + rep + "+") for p in ADVERB_AFTER]
        else:
            out.append((s, "/" + rep + "+"))
    return out


# The word after such an adverb inside a kana word begins a phrase too (…とても/うまく,
# いろいろ/ある, もっと/あり, しっかり/している), unless it is a particle or an ending
# (いろいろと, たくさんの, いろいろな, すぐに, ちょっとだけ, もっとしか): the adverb rules leave
# the mark "+" behind the adverb, which becomes a boundary before a kana that begins no
# particle, auxiliary or form of する; the reader drops any "+" left.
AFTER_ADVERB_KANA = "あいうえおきけこちつてはひふへみむめゆらりるれろぎげござぞどびぶべぼぱぴぷぺぽ"
AFTER_ADVERB = [("+" + k, "/" + k) for k in AFTER_ADVERB_KANA] + [
    # and ない, with its accent (まったく/な'い, あまり/な'い, ぜんぜん/な'かった: the speaker 3
    # times of 3), though な alone may be the adjectival ending (いろいろな)
    ("+" + e, "/" + r) for e, r in (("ない", "な'い"), ("なく", "な'く"), ("なかっ", "な'かっ"),
                                    ("なけれ", "な'けれ"),
                                    # and かかる (しばらく/かか'る)
                                    ("かかる", "かか'る"), ("かかっ", "かか'っ"), ("かかり", "かかり"))]


# Mimetic adverbs in hiragana (reduplicated, こつこつ, ぼちゃぼちゃ; or of the form うんざり,
# しっかり, のんびり) end a phrase inside a kana word before a verb, する and やる too (こ'つこつ/
# やれば, うんざり/している, どたどた/あるいて): the speaker 8 times of 9 before する or やる
# and every time before another verb. Kind 4, mode 0, before the adverb rules: before する and
# やる the boundary goes in here, with UniDic's accent of the adverb; elsewhere the adverb
# leaves the mark "+" that AFTER_ADVERB turns into a boundary before a verb's kana (not before
# a particle or an ending: こつこつと, うんざりだ). Those in PHRASE_ADVERBS (しっかり, のんびり)
# take only the rules before する and やる here; theirs do the rest.
MIMETIC_SURU_KANA = "しすさせや"
MIMETIC_AFTER = ADVERB_AFTER + "を"


def mimetic_adverbs():
    accent = {}
    longer = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if not all("ぁ" <= c <= "ゖ" for c in s):
                continue
            if r[4] != "副詞":
                longer.setdefault(s[:3], set()).add(s)
                continue
            a = r[28].strip('"').split(",")[0]
            if a.isdigit() and (s not in accent or int(r[3]) < accent[s][0]):
                accent[s] = (int(r[3]), int(a))
    taken = set(PHRASE_ADVERBS)
    split = set(MIMETIC_SURU_KANA + AFTER_ADVERB_KANA)
    before, out = [], []
    for s, (_, a) in sorted(accent.items()):
        half = len(s) // 2
        # a unit of two morae at least (not ちゃちゃ, which ends other words)
        doubled = (len(s) % 2 == 0 and s[:half] == s[half:] and s[half - 1] not in "っん"
                   and sum(c not in kc.SMALL for c in s[:half]) >= 2)
        # not where another word goes on from it with a kana these rules split before
        # (ばかばか, ばかばかしい)
        if not (doubled or re.fullmatch(r".[っん].り", s)) or any(
                w.startswith(s) and w[len(s):][:1] in split for w in longer.get(s[:3], ())):
            continue
        n = kc.morae_to_chars(s, a) if a else 0
        rep = s[:n] + "'" + s[n:] if n else s
        # a phrase adverb begins its phrase too, as its own rules have it (…が/しっか'り/して)
        lead = "/" if s in taken else ""
        out += [(s + k, lead + rep + "/" + k) for k in MIMETIC_SURU_KANA]
        if s not in taken:
            out.append((s, rep + "+"))
            # after a particle the adverb begins its phrase, as the phrase adverbs do
            # (うがいぐすりで/たびたび: the speaker 6 times of 6)
            before += [(p + s, p + "/" + s) for p in MIMETIC_AFTER]
    # やる after the boundary is a flat verb: its conditionals and negatives take the accent
    # as a flat verb's endings do (こ'つこつ/やれ'ば, /やらな'かった); the rules of する come
    # after these
    return before + out + [("/やれば", "/やれ'ば"), ("/やったら", "/やった'ら"), ("/やらなけれ", "/やらな'けれ"),
                 ("/やらなかっ", "/やらな'かっ")]


# The formal nouns こと and とき written in kana after a predicate whose accent already stands
# in the kana word (答えられ'ないこと, 少な'いとき, 見'たことが, いそが'しく/な'いときに) are
# said in the predicate's phrase and lose their own accent (コタエラレ]ナイコトガ,
# ミ]タコトガ): the mark "+" put inside them hides them from CONTENT, which would give them
# their accent and so a boundary in front; the reader drops the mark. After a flat predicate
# they keep it (すること'わ). Kind 4, mode 0, after AFTER_ADVERB, which would take "+き" for
# the mark an adverb leaves.
# います after a verb's て form that carries the accent in the same kana word is said in the
# verb's phrase, unaccented (はえかか'っています, きにな'っています: the speaker 16 times of 20
# for ています); the "+" marks hide it from the polite endings, which would accent it and so
# begin a phrase there. Not ていました (2 of 4).
TE_IMASU_AFTER_ACCENT = [
    ("'" + k + t + "います", "'" + k + t + "い+ま+す")
    for k in [""] + KANA_BEFORE[:-2] for t in "てで"]

FORMAL_NOUNS_AFTER_ACCENT = [
    (e + n, e + n[0] + "+" + n[1:])
    for e in ("な'い", "'ない", "'た", "'だ", "'い") for n in ("こと", "とき")]


# Demonstratives, pronouns and question words after a particle inside a hiragana word begin a
# phrase of their own (…に/その, …わ/どこ, …が/いつ; kind 4, mode 0, with UniDic's accent):
# only after a particle, since they end or begin other words too (ここのつ, ぶどう).
# あれ is left out: after て and で it is the verb ある (書いてあれば, であれ).
DEICTICS = ("この その あの どの こんな そんな あんな どんな ここ そこ あそこ どこ これ それ "
            "どれ あなた だれ いつ どう").split()
DEICTIC_AFTER = "わがにもでとてか"


def iru_after_accented_te():
    """いる and いた after the て form of an accented verb, before a particle that ends a
    clause (壊れていたので, 入っているのか, 嘘をついていると, 思っていたが): a phrase of their
    own, accented as a flat verb before such a particle (コ[ワ]レテ#イ[タ]ノデ; the speaker 12
    times of 13). After a flat verb's て form they stay in its phrase (ITERU_FLAT).
    Returns (mode-0 rules, mode-1 rules, mode-0 rules): the first two put "+" in front of
    いる/いた after a て form whose verb is accented, seen by the mark just before its last
    kana in the kana word, or, at the start of a kana word, by the absence of the flat mark a
    flat verb's or noun's kanji hands on (入 はい + っているのか); the last turn "+" before
    such a particle into the boundary and the accent, and drop any other."""
    kana = [chr(c) for c in range(0x3041, 0x3094)]
    marked = [("'" + k + t + "い" + e, "'" + k + t + "+い" + e)
              for k in [""] + kana for t in "てで" for e in "るたな"]
    at_start = [(k + t + "い" + e, k + t + "+い" + e) for k in kana for t in "てで" for e in "るたな"]
    # not かもしれない (残っているかも); not と, which the speaker splits off once in the
    # evaluation set and the reference reader never
    particles = ("ので", "のに", "のか", "のわ") + VERB_F2_PARTICLES
    kept = [("+い" + e + "かも", "い" + e + "かも") for e in "るた"]
    split = kept + [("+い" + e + p, "/い" + e + "'" + p) for e in "るた" for p in particles]
    # and so are いなかった and いなければ (ま'ちがって/いな'ければ; not いない at the end,
    # which the speaker keeps in the verb's phrase)
    split += [("+いな" + e, "/いな'" + e) for e in ("かっ", "けれ")]
    return marked, at_start, split + [("+い", "い")]


def inai_after_te():
    """(pattern, replacement): いない after a て form, before more that goes on (で, だけ) and
    as いなかった, begins a phrase after any verb, flat ones too (う'って/いな'いで,
    も'って/いない/だけ', いとして/いな'かった; the speaker 8 times of 10): iru_after_accented_te
    splits only after an accented verb's いなかった, いなければ. Not いないと (して|いないと
    joined), nor いない at the end of a sentence, nor いないでしょう. Kind 4, mode 0, after it."""
    out = []
    for t in "てで":
        # not いなければ after a flat verb: the reference reader accents it いなけ'れば
        out += [(t + "いなかっ", t + "/いな'かっ")]
        out += [(t + q + "いで", t + "/いな'いで") for q in ("いな", "いな'")]
        out.append((t + "いないだけ", t + "/いない/だけ'"))
        out.append((t + "/いな'いでしょ", t + "いないでしょ"))
    return out


# まし ("better") after が begins a phrase, as after ほうが (PREDICATES): 方がましだ ほ'ーが/ましだ
# (the speaker 3 times of 3); not がましい (おしつけがましい).
MASHI_AFTER_GA = [("がまし" + e, "が/まし" + e) for e in ("だ", "で", "な", "じゃ")]


# Short adverbs before a word that is no particle, at the start of a kana word or after a
# pause or a boundary inside one: a phrase of their own with the accent on the first mora
# (す'ぐ/そこに, た'だ/それだけ, も'う/うんざり, ご'く/わずか, …なら/ま'だ/まし; the speaker 5
# times of 5, and joins them only to a particle: すぐに, いまだに). The kana after them that
# begin a particle, an ending or another word they begin (ただし, すぐれる, もうけ, まだら,
# ごくろう, 見ただけ) are left out.
SHORT_ADVERB_NOT_AFTER = set("にもとでがわのかをやよねさだしすせなっんーゃゅょぁぃぅぇぉ")
SHORT_ADVERBS_BEFORE_WORDS = (("ただ", "いちれけ"), ("すぐ", "れり"), ("もう", "けこふられまち"),
                              ("まだ", "まら"), ("ごく", "ろらごひい"))


def short_adverbs_before_words():
    """(pattern, replacement, mode) of SHORT_ADVERBS_BEFORE_WORDS: mode 1 at the start of a
    kana word, mode 0 after a pause and after a boundary an earlier rule put in front of the
    adverb (deictics_after_conditionals: それなら/ま'だ). Kind 4, after those rules."""
    out = []
    for adv, kept in SHORT_ADVERBS_BEFORE_WORDS:
        rep = adv[0] + "'" + adv[1:]
        follow = [chr(c) for c in range(0x3041, 0x3094) if chr(c) not in SHORT_ADVERB_NOT_AFTER | set(kept)]
        follow += {"ごく": ["わず"], "まだ": ["まし"]}.get(adv, [])
        for k in follow:
            out += [(adv + k, rep + "/" + k, 1), ("、" + adv + k, "、/" + rep + "/" + k, 0),
                    ("/" + rep + k, "/" + rep + "/" + k, 0)]
    return out


def deictics():
    accent = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            if r[0] in DEICTICS and r[4] in ("連体詞", "代名詞", "副詞"):
                a = r[28].strip('"').split(",")[0]
                if a.isdigit() and (r[0] not in accent or int(r[3]) < accent[r[0]][0]):
                    accent[r[0]] = (int(r[3]), int(a))
    out = []
    for s in DEICTICS:
        a = accent.get(s, (0, 0))[1]
        n = kc.morae_to_chars(s, a) if a else 0
        rep = s[:n] + "'" + s[n:] if n else s
        out += [(p + s, p + "/" + rep) for p in DEICTIC_AFTER]
    return out


def deictics_after_conditionals():
    """Demonstratives, question words and もう, まだ, よく, すぐ also begin a phrase after the
    conditional たら, なら, だら inside a kana word (いったら/ど'う, それなら/ま'だ), as after
    a particle: the speaker 2 times of 2 in the evaluation set.
    Kind 4, mode 0, with the accents of DEICTICS and the phrase adverbs; after the adverb
    rules, so the adverb's mark is dropped and the word after it stays in its phrase."""
    short = [(p[1:], r[1:].rstrip("+")) for p, r in phrase_adverbs()
             if p[0] == "わ" and p[1:] in SHORT_PHRASE_ADVERBS]
    rules = [(p[1:], r[1:]) for p, r in deictics() if p[0] == "わ"] + short
    # not たらこ (鱈子) and の
    return [(k + "ら" + p, k + "ら" + r) for p, r in rules for k in "たなだ"
            if (k, p) != ("た", "この")]


def honorific_prefixes_after_endings():
    """The honorific prefixes お and ご at the end of a hiragana word also after という and the
    conjunctive endings (…とゆー/お話, …ながら/ご招待, …ので/お願い): the speaker never begins
    a phrase between the prefix and its word (68 times of 68 in the evaluation set). Kind 4,
    mode 2, as HONORIFIC_PREFIXES; not after kana that end nouns (たまご, はしご, かお)."""
    ends = ("とゆー", "ながら", "から", "ので", "のに", "けど", "けれど", "たら", "なら")
    return [(p + k, p + "/" + k) for p in ends for k in "おご"]


def deictics_after_predicates():
    """この, その, あの, これ, それ inside a kana word also begin a phrase after an ending
    (よいその, はやくその, もっているあの, くわえたその) and after の (…のその, …のそれと): the
    speaker 12 times of 12 in the evaluation set. Not この after の or た (きのこの, たこの), nor
    これ after の (のこれば). Kind 4, mode 0, with the accents of DEICTICS."""
    words = ("この", "その", "あの", "これ", "それ")
    kept = {("の", "この"), ("た", "この"), ("の", "これ")}
    rules = [(p[1:], r[1:]) for p, r in deictics() if p[0] == "わ" and p[1:] in words]
    return [(k + p, k + r) for p, r in rules for k in "いくるたの" if (k, p) not in kept]


def mata_after_topic():
    """The adverb また after the topic particle inside a kana word begins a phrase, flat
    (かのじょわ/また, こ'ーかわ/また; the speaker 2 times of 2); not after も (きりんもまた, said
    in one phrase), nor または, またがる. Kind 4, mode 0."""
    return [("わまた", "わ/また")], ["わ/またわ", "わ/またが"]


def adverbs_after_te():
    """The adverbs はじめて ("only then") and また after a て form inside a kana word begin a
    phrase (きゅーしゅつされて/はじ'めて, さ'って/また; the speaker 2 times of 2), as また does
    after the topic particle; not または, またがる. Kind 4, mode 0, with mata_after_topic."""
    return [("てはじめて", "て/はじ'めて"), ("てまた", "て/また"), ("て/または", "てまたは"),
            ("て/またが", "てまたが")]


def negative_after_formal_nouns():
    """ない after こと with の and after わけ that follows a verb, inside a kana word, begins a
    phrase with its accent, as after が and は (かんが'えた/こと'の/な'い, そめるわ'け/な'い; the
    speaker 2 times of 2, and 7 of 7 after ことが, ことは). Kind 4, mode 0, after the nouns took
    their accents. (After なんて too, もの'なんて/な'いよ, but the phrase before it then needs
    なんて's own accent, ものな'んて, which no rule gives yet.)"""
    ends = (("い", "'い"), ("かっ", "'かっ"), ("けれ", "'けれ"))
    heads = ["こと'の"] + [k + "わ'け" for k in "るた"]
    return [(h + "な" + e, h + "/な" + r) for h in heads for e, r in ends]


def hiragana_content_words(also_pos):
    """UniDic's hiragana content words of two kana or more that have an accent type, each by its
    likeliest row: {spelling: (cost, accent, part of speech)}; and the spellings UniDic also
    lists under one of the parts of speech also_pos."""
    best, also = {}, set()
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if len(s) < 2 or not all(0x3041 <= ord(c) <= 0x3093 for c in s):
                continue
            if r[4] in also_pos:
                also.add(s)
            if r[4] not in ("副詞", "代名詞", "接続詞", "感動詞", "名詞", "連体詞") or r[5] == "固有名詞":
                continue
            a = r[28].strip('"').split(",")[0]
            if not a.isdigit():
                continue
            cost = int(r[3])
            if s not in best or cost < best[s][0]:
                best[s] = (cost, int(a), r[4])
    return best, also


def hiragana_words():
    """UniDic's likeliest words written in hiragana that have an accent (しかし しか'し, むしろ
    む'しろ, ところ): as the start of a hiragana word when they are three kana or longer, else as
    the whole word, alone or with one particle after it."""
    # から is a particle far more often than 殻
    best, function_words = hiragana_content_words(("助詞", "助動詞", "接尾辞"))
    ranked = sorted(best.items(), key=lambda kv: (kv[1][0], kv[0]))[:MAX_HIRAGANA]
    taken = {p for p, _ in PRONOUNCE + CONTENT + ENDINGS + WORDS}
    prefix, whole = [], []
    for s, (_, a, pos) in sorted(ranked):
        n = kc.morae_to_chars(s, a) if a else 0
        # an everyday adverb that is also a rare suffix stays (よく 良く, 浴)
        if not n or s in taken or (s in function_words and pos != "副詞"):
            continue
        rep = s[:n] + "'" + s[n:]
        if len(s) >= 3:
            prefix.append((s, rep))
        else:
            whole += [(s, rep)] + [(s + p, rep + p) for p in PARTICLES]
    return prefix, whole


# Hiragana words past the likeliest MAX_HIRAGANA that still take their accent (ほぼ ほ'ぼ,
# がまん が'まん, すらすら す'らすら, まさしく まさ'しく, それぞれ それ'ぞれ), but not where the
# kana after a kanji word is far more often something else: a spelling that is also a form of a
# verb, adjective or auxiliary, or a particle or affix; a clipped sound word (がふっ would take
# 雨がふった, ずばっ, しゃきん); two kana other than an adverb or pronoun (して, the
# conjunction, is する's て form after a kanji word).
MORE_HIRAGANA = 6000


def more_hiragana_words(prefix, whole):
    """Add to hiragana_words()'s lists the accented words ranked MAX_HIRAGANA to
    MORE_HIRAGANA by UniDic's cost."""
    best, inflected = hiragana_content_words(("動詞", "形容詞", "助動詞", "助詞", "接尾辞", "接頭辞"))
    ranked = sorted(best.items(), key=lambda kv: (kv[1][0], kv[0]))[MAX_HIRAGANA:MORE_HIRAGANA]
    taken = {p for p, _ in PRONOUNCE + CONTENT + ENDINGS + WORDS} | {p for p, _ in prefix + whole}
    for s, (_, a, pos) in sorted(ranked):
        n = kc.morae_to_chars(s, a) if a else 0
        if not n or s in taken or s in inflected or s[-1] in "っん":
            continue
        if len(s) < 3 and pos not in ("副詞", "代名詞"):
            continue
        rep = s[:n] + "'" + s[n:]
        if len(s) >= 3:
            prefix.append((s, rep))
        else:
            whole.extend([(s, rep)] + [(s + p, rep + p) for p in PARTICLES])


def ending_like_words(words):
    """The likeliest hiragana words that end like a polite ending (ますます ます'ます), as the end
    of a hiragana word (kind 4, mode 2) before the endings' rules, which would otherwise take
    their end for the ending (ます'/ま'す once the adverb rules put the word's own accent in,
    ますま'す before): with their accent and without, the first of them takes the end."""
    ends = [p for p, _ in ENDINGS]
    out = []
    for s, rep in words:
        if any(s.endswith(e) and s != e for e in ends):
            out += [(rep, rep), (s, rep)]
    return out


# A verb's continuative kana alone between two kanji words (飲み物, 持ち物) is the first part
# of a compound, when the kanji word after it is a short native noun (code 5, as 物 もの):
# the compound has one accent, at the end of that first part (のみ'もの, not の'み/もの).
# The rule of the whole word for the kana with code 5 does that, and the reader keeps the two
# words in one phrase. Only a stem that hands on the accent of a verb accented on its kanji
# (の'む: 'み): a flat verb's compounds are mostly flat (買い物, 乗り物), which the reader
# cannot join without an accent. Not し, whose words include the adverb 少し (少し前
# すこ'し/ま'え). The accent the stem hands on is set aside first (++, which the reader drops)
# and put back where no compound follows. Godan verbs only: い also ends adjectives (古い物
# ふる'い/もの), and an ichidan verb's accent on its stem's last kana is not handed on to a
# kana word of that one kana (食べ物 たべ/もの).
STEM_COMPOUND_KANA = "きちひみりぎび"


def stem_compound_rules():
    """(pattern, replacement, mode) of the kana rules for verb stems before a short noun."""
    out = []
    for k in STEM_COMPOUND_KANA:
        out += [("'" + k, "++" + k, 1), ("++" + k, "'" + k, 3), ("++" + k, "'" + k, 0)]
    return out


MAX_KANA_ADJECTIVE_FORMS = 2000  # the likeliest forms of adjectives written in kana
# the forms that may begin a kana word, and whether the accent moves one mora earlier in them
ADJECTIVE_FORMS = {"終止形-一般": False, "連体形-一般": False, "連用形-一般": True,
                   "連用形-促音便": True, "仮定形-一般": True}


def kana_adjective_rank(entry, form_cost):
    """How likely a hiragana adjective form is after a particle or an adverb, as kana_verb_rank
    has it for verbs: its own cost or that of the same form in its likeliest spelling plus the
    usual cost of kana (むずかしく ranks as 難しく does). At the start of a kana word, where a
    kanji's okurigana may stand too, the forms keep their own ranking (おい'しかった)."""
    cost, _, form = entry
    return min(cost, form_cost[form] + KANA_VERB_SPELLING_COST)


def kana_adjectives(limit=MAX_KANA_ADJECTIVE_FORMS, by_spelling=False):
    """Adjectives written in kana (ひどい ひど'い, すごかった すご'かった, うれしく うれ'しく)
    with UniDic's accent, moved one mora earlier in the く, かっ and けれ forms of those
    accented on the fourth mora or later, as the kanji spellings are (see dic.ktn). Only
    general adjectives of three kana and more, at the start of a kana word: ない, よい,
    ほしい and the other adjectives that follow another word are the endings' business."""
    best, form_cost = {}, {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if r[4] != "形容詞" or r[5] != "一般" or r[9] not in ADJECTIVE_FORMS or len(s) < 3:
                continue
            form = (r[11], r[10], r[9])
            form_cost[form] = min(form_cost.get(form, int(r[3])), int(r[3]))
            if not all(0x3041 <= ord(c) <= 0x3093 for c in s):
                continue
            types = r[28].strip('"').split(",")
            a = next((t for t in types if t.isdigit() and t != "0"), None)
            if a is None:
                continue
            m = int(a)
            if ADJECTIVE_FORMS[r[9]] and m >= 3:
                m -= 1
                while m > 1 and (kc.morae_to_chars(s, m) or 1) > 1 and s[kc.morae_to_chars(s, m) - 1] in "ーんっ":
                    m -= 1
            cost = int(r[3])
            if s not in best or cost < best[s][0]:
                best[s] = (cost, m, form)
    rank = (lambda e: kana_adjective_rank(e, form_cost)) if by_spelling else (lambda e: e[0])
    ranked = sorted(best.items(), key=lambda kv: (rank(kv[1]), kv[0]))[:limit]
    out = []
    for s, (_, m, _) in sorted(ranked):
        n = kc.morae_to_chars(s, m)
        if n:
            out.append((s, s[:n] + "'" + s[n:]))
    return out


def katakana_words():
    best = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if len(s) < 2 or r[4] != "名詞":
                continue
            if not all(0x30A1 <= ord(c) <= 0x30F6 or c == "ー" for c in s):
                continue
            if any(c in "ヂヅヴヵヶヮヰヱ" for c in s):
                continue
            a = r[28].split(",")[0].strip('"')
            if not a.isdigit():
                continue
            if a == "0":
                # flat: no mark, but the rule still lets a suffix put the accent at its end
                rep = s
            else:
                n = kc.morae_to_chars(kc.to_hiragana(s), int(a))
                if not n or n > len(s):
                    continue
                rep = s[:n] + "'" + s[n:]
            cost = int(r[3])
            if s not in best or cost < best[s][0]:
                best[s] = (cost, rep)
    items = sorted(best.items(), key=lambda kv: (len(kv[0]), kv[1][0], kv[0]))
    # the shortest, and then the likeliest of the longer ones (ディズニー, クレジット)
    short = items[:MAX_KATAKANA - MAX_KATAKANA_LIKELY]
    likely = sorted(items[len(short):], key=lambda kv: (kv[1][0], kv[0]))[:MAX_KATAKANA_LIKELY]
    return sorted((s, rep) for s, (_, rep) in short + likely)


# Katakana words the word list above does not hold (rarer loanwords, names, compounds such as
# テキストデータ) take the loanword accent: on the third mora from the end, one mora earlier
# when that one is ー, ン, ッ or the イ of a diphthong. UniDic's katakana nouns say where their
# endings take another accent (…データ デ'ータ, flat …ランド); those endings are suffix rules
# before the general one, the longest first.
KATAKANA_SMALL = "ァィゥェォャュョヮ"
KATAKANA_SPECIAL = "ッンー"
# kana whose vowel makes a diphthong with a following イ
KATAKANA_BEFORE_I = "アカサタナハマヤラワガザダバパウクスツヌフムユルグズブプオコソトノホモヨロヲゴゾドボポ"
KATAKANA_ENDING_MORAE = 5  # longest ending looked at
KATAKANA_ENDING_GAIN = 3  # words an ending rule must get right beyond what the shorter ones do


def katakana_morae(s):
    out = []
    for ch in s:
        if ch in KATAKANA_SMALL and out:
            out[-1] += ch
        else:
            out.append(ch)
    return out


def katakana_lexicon():
    """UniDic's katakana nouns with their accent (0 flat), as katakana_words() reads them, and
    its reduplicated mimetic words of a two-mora unit (ドキドキ, どきどき, キュッキュッ) in
    katakana."""
    best, doubled = {}, set()
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = kc.to_katakana(r[0])
            h = len(s) // 2
            if not all(0x30A1 <= ord(c) <= 0x30F6 or c == "ー" for c in s):
                continue
            if any(c in "ヂヅヴヵヶヮヰヱ" for c in s):
                continue
            if len(s) % 2 == 0 and s[:h] == s[h:] and len(katakana_morae(s[:h])) == 2:
                doubled.add(s)
            if len(r[0]) < 2 or r[4] != "名詞" or s != r[0]:
                continue
            a = r[28].split(",")[0].strip('"')
            if not a.isdigit() or int(a) > len(katakana_morae(s)):
                continue
            cost = int(r[3])
            if s not in best or cost < best[s][0]:
                best[s] = (cost, int(a))
    return {s: a for s, (_, a) in best.items()}, doubled


def katakana_loanword_accent(morae):
    """Morae after the nucleus by the loanword rule; None for a flat word."""
    if len(morae) < 2:
        return None
    if len(morae) == 2:
        return 1
    i = len(morae) - 3
    while i > 0 and (morae[i] in KATAKANA_SPECIAL or (
            morae[i] == "イ" and morae[i - 1][-1] in KATAKANA_BEFORE_I)):
        i -= 1
    return len(morae) - 1 - i


def katakana_default_rules(nouns=None, doubled=()):
    """Rules (pattern, replacement, mode) for katakana words the word list does not hold."""
    if nouns is None:
        nouns, doubled = katakana_lexicon()
    morae_of = {s: katakana_morae(s) for s in nouns}
    # what each word gets so far: the loanword rule, then the ending rules, shortest first
    current = {s: katakana_loanword_accent(m) for s, m in morae_of.items()}
    gold = {s: (len(morae_of[s]) - a if a else None) for s, a in nouns.items()}
    by_ending = {}
    for s, m in morae_of.items():
        for k in range(2, min(KATAKANA_ENDING_MORAE, len(m)) + 1):
            by_ending.setdefault(tuple(m[-k:]), []).append(s)
    endings = []
    for end in sorted(by_ending, key=lambda e: (len(e), e)):
        group = by_ending[end]
        if len(group) < KATAKANA_ENDING_GAIN:
            continue
        votes = {}
        for s in group:
            # the mark stays inside the ending, in front of its first mora at the earliest
            # (after the mora before it; a word that is just the ending gets it after its
            # first mora, below)
            if gold[s] is None or gold[s] <= len(end):
                votes[gold[s]] = votes.get(gold[s], 0) + 1
        if not votes:
            continue
        d = max(votes, key=lambda v: (votes[v], -1 if v is None else v))
        now = sum(current[s] == gold[s] for s in group)
        if votes[d] - now < KATAKANA_ENDING_GAIN:
            continue
        for s in group:
            current[s] = d
        pattern = "".join(end)
        if d is None:
            endings.append((pattern, pattern))
        else:
            cut = len("".join(end[:len(end) - d]))
            endings.append((pattern, pattern[:cut] + "'" + pattern[cut:]))
    # reduplicated mimetic words are said with the accent on their first mora, as adverbs
    # (ゴ'ロゴロ, ク'サクサする): 690 of the 962 UniDic has beyond the word list
    listed = {p for p, _ in endings}
    for s in sorted(set(doubled) - listed):
        n = len(katakana_morae(s)[0])
        endings.append((s, s[:n] + "'" + s[n:]))
    rules = [(p, r, 2) for p, r in sorted(endings, key=lambda e: (-len(e[0]), e[0]))]
    # the general rule: "+" before the last mora, the accent before the mora ahead of it
    kana = [chr(c) for c in range(0x30A2, 0x30F7) if chr(c) not in KATAKANA_SMALL + "ヂヅヴヵヶヮヰヱ"]
    pairs = sorted({m for ms in morae_of.values() for m in ms if len(m) == 2})
    last = pairs + kana + ["ー"]
    rules += [(m, "+" + m, 2) for m in last]
    rules += [(m + "+", "'" + m, 0) for m in pairs + kana + ["ー"]]
    # the pitch does not fall from ッ, ン, ー or a diphthong's イ: one mora earlier
    rules += [(c + "'", "'" + c, 0) for c in KATAKANA_SPECIAL]
    rules += [(v + "イ'", v + "'イ", 0) for v in KATAKANA_BEFORE_I]
    # a word of two morae got the accent before its first mora: it falls on the first, as on
    # other two-mora loanwords (パ'ン)
    rules += [("'" + m, m + "'", 1) for m in pairs + kana + ["ー"]]
    return rules


# Verbs written in hiragana (とじる, はさんで, まちがって) that UniDic accents: the reader has no
# word entry for them, so the kana word rules give their forms the accent after a case particle
# (ドアを/とじ'る, いぬが/はし'った). Not at the start of a kana word, which is as often the
# okurigana of a kanji (結+ばれる, 見+とれる). Only verbs of
# three kana or more whose form is likeliest a verb's in UniDic (also those that may follow
# another verb, つける, かける: after a particle they are verbs of their own); the auxiliary-like verbs,
# which the predicate rules phrase, are left out. The accent by the Tokyo rules: where the
# dictionary form has it in the dictionary form and the conditional (とじ'る, つけ'れば) and in a
# godan verb's て and た forms (はさ'んで, つくろ'った); an ichidan verb's て and た forms have it
# one mora earlier (と'じて, つ'けた).
KANA_VERB_PARTICLES = ("が", "に", "も")
KANA_VERBS_LEFT = {"くださる", "できる", "ござる", "いたす", "なさる", "まいる", "おっしゃる", "いらっしゃる",
                   "いただく", "くれる", "もらう", "あげる", "しまう", "おく", "みせる", "いける"}


# ... nor a form that reads as a particle and a common verb (であった), or as a common verb and
# ん or の (くるんだ: 包む or 来る)
KANA_VERBS_COMMON = {"ある", "いる", "する", "なる", "くる", "いく", "いう", "おる", "みる", "やる", "おく",
                     "しまう", "できる", "くれる", "もらう", "あげる", "いける"}


def looks_like_common(form, common):
    if form[0] in "でにがをともわはへやの" and any(form[1:].startswith(c) for c in common):
        return True
    return any(form.startswith(c) and form[len(c):len(c) + 1] in ("ん", "の") for c in common)


KANA_VERB_CFORMS = ("終止形-一般", "連体形-一般", "仮定形-一般", "連用形-一般", "連用形-促音便",
                    "連用形-撥音便", "連用形-イ音便")
MAX_KANA_VERB_FORMS = 15000  # the likeliest hiragana verb forms (kana_verb_rank): more cost start-up time


def after_particle_or_pause(form, rep, words):
    """The rules that give a kana form its accent after が, に, も and after a pause inside the
    kana word (ひ'を、つけ'るのを), with the boundary after them; not where the particle and the
    form together begin another likely kana word of the sorted list words (で+かける)."""
    out = []
    for p in KANA_VERB_PARTICLES:
        pat = p + form
        i = bisect.bisect_left(words, pat)
        if i < len(words) and words[i].startswith(pat):
            continue
        out.append((pat, p + "/" + rep))
    out.append(("、" + form, "、/" + rep))
    return out


# UniDic's usual extra cost of a verb form spelt in kana over its likeliest spelling (the median)
KANA_VERB_SPELLING_COST = 1225


def kana_verb_rank(entry, form_cost):
    """How likely a hiragana verb form is: its own UniDic cost, or that of the same form of the
    same verb in its likeliest spelling plus the usual cost of kana, whichever is lower. The
    forms of common verbs mostly written in kanji (はしる, ともして) then rank as common, where
    their own cost put them past the cut; forms usually written in kana keep their own."""
    cost, r = entry
    return min(cost, form_cost[(r[11], r[10], r[8], r[9])] + KANA_VERB_SPELLING_COST)


def read_kana_verbs(cforms):
    """From UniDic: the likeliest row of each hiragana verb form of the conjugated forms cforms
    (form -> (cost, row)), every hiragana word, the hiragana spellings of the common verbs, and
    the cost of each verb form in its likeliest spelling (see kana_verb_rank)."""
    best, words, common, form_cost = {}, set(), set(), {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            kana = bool(s) and all(0x3041 <= ord(c) <= 0x3093 for c in s)
            if kana:
                words.add(s)
            if kana and len(s) >= 2 and r[4] == "動詞" and kc.to_hiragana(r[10]) in KANA_VERBS_COMMON:
                common.add(s)
            if r[4] != "動詞" or r[9] not in cforms:
                continue
            cost = int(r[3])
            lemma = (r[11], r[10], r[8], r[9])
            if lemma not in form_cost or cost < form_cost[lemma]:
                form_cost[lemma] = cost
            if kana and (s not in best or cost < best[s][0]):
                best[s] = (cost, r)
    return best, words, common, form_cost


def kana_verb_forms():
    best, words, common, form_cost = read_kana_verbs(KANA_VERB_CFORMS)
    rules = []
    stem_ends = set()  # last kana of the continuatives that are also the desiderative's stem
    likely = sorted(best.items(), key=lambda kv: (kana_verb_rank(kv[1], form_cost), kv[0]))[:MAX_KANA_VERB_FORMS]
    for s, (_, r) in sorted(likely):
        a = r[28].strip('"').split(",")[0]
        if not a.isdigit() or a == "0":
            continue
        a = int(a)
        base, ctype, cform = kc.to_hiragana(r[10]), r[8], r[9]
        if len(base) < 3 or base in KANA_VERBS_LEFT or s[0] != base[0]:
            continue
        ichidan = "一段" in ctype
        if cform.startswith(("終止形", "連体形")) and s == base:
            forms = [(s, a)]
        elif cform.startswith("仮定形"):
            forms = [(s + "ば", a)]
        elif cform.startswith("連用形") and (ichidan or cform != "連用形-一般" or ctype == "五段-サ行"):
            voiced = cform in ("連用形-撥音便",) or (cform == "連用形-イ音便" and ctype == "五段-ガ行")
            at = a - 1 if ichidan and a >= 2 else a
            forms = [(s + e, at) for e in (("で", "だ") if voiced else ("て", "た"))]
            if cform == "連用形-一般":
                stem_ends.add(s[-1])
        else:
            continue
        for f, m in forms:
            n = kc.morae_to_chars(f, m)
            if not n or looks_like_common(f, common):
                continue
            rules.append((f, f[:n] + "'" + f[n:]))
    # a particle and the form together must not begin another likely kana word (で+かける);
    # after を the particle rules have put the boundary in already (を/…)
    words = sorted(words)
    out = [("/" + f, "/" + rep, 0) for f, rep in rules]
    for f, rep in rules:
        out += [(pat, r, 0) for pat, r in after_particle_or_pause(f, rep, words)]
    # the た form's pattern also begins the desiderative (たべたい, そらしたい), whose たい has
    # the accent (たべた'い, as DESIDERATIVE after a kanji; its other forms keep the verb's)
    out += [("'" + k + "たい", k + "た'い", 0) for k in sorted(stem_ends)]
    return out


MAX_KANA_VERB_NEGATIVES = 1000  # the likeliest hiragana irrealis stems (kana_verb_rank)
# not なさい, the imperative after a continuative (つけなさ'い)
KANA_NEGATIVE_ENDINGS = ("ない", "なかっ", "なけれ", "なく")


def kana_verb_negatives():
    """The negative of an accented verb written in hiragana (ない, なかった, なければ, なくて)
    after the boundaries and particles where kana_verb_forms accents its other forms: a godan
    verb's irrealis takes the accent on its last kana (まちがわ'ない, ふさが'なければ, as
    conjugated_accent gives a kanji spelling), an ichidan verb's on the stem one mora before
    the plain form's (か'けない, ささ'えなければ). Flat verbs stay flat (their ない is said so at
    a phrase's end). Kind 4, mode 0."""
    best, words, common, form_cost = read_kana_verbs(("未然形-一般",))
    likely = sorted(best.items(), key=lambda kv: (kana_verb_rank(kv[1], form_cost), kv[0]))
    rules = []
    for s, (_, r) in sorted(likely[:MAX_KANA_VERB_NEGATIVES]):
        a = r[28].strip('"').split(",")[0]
        base, ctype = kc.to_hiragana(r[10]), r[8]
        if not a.isdigit() or a == "0" or len(base) < 3 or base in KANA_VERBS_LEFT or s[0] != base[0]:
            continue
        if ctype.startswith("五段"):
            m = len(s)
        elif "一段" in ctype and int(a) >= 2:
            m = kc.morae_to_chars(s, int(a) - 1)
        else:
            continue
        if not m or looks_like_common(s + "な", common):
            continue
        rules += [(s + e, s[:m] + "'" + s[m:] + e) for e in KANA_NEGATIVE_ENDINGS]
    words = sorted(words)
    out = [("/" + f, "/" + rep) for f, rep in rules]
    for f, rep in rules:
        out += after_particle_or_pause(f, rep, words)
    return out


SHORT_VERB_COMMON_COST = 2500  # a kana word likelier than this hides a short verb's plain form


def short_kana_verb_forms():
    """Godan verbs of two kana written in hiragana (とる, かむ, たつ; 418 patterns)
    after を, behind the boundary the particle rules put there (を/) or a pause, where no other
    word can begin: their dictionary form, their て and た forms and their negative with the
    accents of kana_verb_forms and kana_verb_negatives (つめを/か'む, なりたを/た'って,
    こーどーを、とら'なければ), and after が, に, も the forms longer than the plain one, which
    with two kana begins too many other words there; not the common verbs the predicate rules
    phrase (ある, いく, やる). Kind 4, mode 0."""
    best, common = {}, set()
    forms = ("終止形-一般", "連用形-促音便", "連用形-撥音便", "連用形-イ音便", "未然形-一般")
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            if r[4] not in ("動詞", "助詞", "助動詞") and int(r[3]) < SHORT_VERB_COMMON_COST and r[0] and all(
                    0x3041 <= ord(c) <= 0x3093 for c in r[0]):
                common.add(r[0])
            if r[4] != "動詞" or r[9] not in forms or not r[8].startswith("五段"):
                continue
            s, base = r[0], kc.to_hiragana(r[10])
            if len(base) != 2 or base in KANA_VERBS_COMMON or base in KANA_VERBS_LEFT:
                continue
            if not s or s[0] != base[0] or not all(0x3041 <= ord(c) <= 0x3093 for c in s):
                continue
            if s not in best or int(r[3]) < best[s][0]:
                best[s] = (int(r[3]), r)
    out = []
    for s, (_, r) in sorted(best.items()):
        a = r[28].strip('"').split(",")[0]
        if not a.isdigit() or a == "0":
            continue
        cform = r[9]
        if cform == "終止形-一般":
            # not where it begins a common word as well (とく: とくに, よう: ようやく)
            if not any(w.startswith(s) and w != s for w in common):
                out.append((s, s[:int(a)] + "'" + s[int(a):]))
        elif cform == "未然形-一般":
            out += [(s + e, s + "'" + e) for e in KANA_NEGATIVE_ENDINGS]
        else:
            voiced = cform == "連用形-撥音便" or (cform == "連用形-イ音便" and r[8] == "五段-ガ行")
            n = kc.morae_to_chars(s, int(a))
            out += [(s + e, s[:n] + "'" + s[n:] + e) for e in (("で", "だ") if voiced else ("て", "た"))]
    rules = [(p + f, q + rep) for f, rep in out for p, q in (("を/", "を/"), ("を、", "を、/"))]
    # after が, に, も only the longer forms, which begin few other words (ペンキが/つ'いてる,
    # しごとに/つか'なければ)
    return rules + [(p + f, p + "/" + rep) for f, rep in out if len(f) > 2 for p in "がにも"]


MAX_KANA_ADJECTIVES_AFTER_PARTICLE = 3000


def kana_adjectives_after_particle():
    """The adjectives written in kana (kana_adjectives) after a boundary already in the kana
    word, after が, に, も and after a pause, as the verbs (kana_verb_forms): もんだいが/
    むずかし'い, とても/むずかし'くて."""
    words = set()
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            if r[0] and all(0x3041 <= ord(c) <= 0x3093 for c in r[0]):
                words.add(r[0])
    words = sorted(words)
    out = []
    for f, rep in kana_adjectives(MAX_KANA_ADJECTIVES_AFTER_PARTICLE, by_spelling=True):
        out.append(("/" + f, "/" + rep))
        out += after_particle_or_pause(f, rep, words)
    return out


# A flat ichidan verb's conditional takes the accent on れ before ば (かえれ'ば, ならべれ'ば), as a
# flat godan verb's does on its last kana (つかえ'ば, HANDED_ON): UniDic's ば joins a verb as
# F2@0. The verb hands on its flat mark in front of れば.
FLAT_ICHIDAN_CONDITIONAL = [("+れば", "れ'ば")]


def flat_godan_stem_endings():
    """A flat godan verb whose headword ends before the kana that conjugates (始ま of 始まる, 終わ
    of 終わる, 見つか of 見つかる: the longer forms are left out of the word dictionary as
    reading alike) hands on its flat mark in front of that kana (はじま+ったので). The mark
    goes after it, where HANDED_ON looks for a flat verb's endings (はじまった'ので,
    おわった'ら, みつかって'も, つかめ'ば), as it does for the dictionary form; and the
    classical conditional ねば takes the accent as ば does (のらね'ば). Not ん (ちがう'んだ,
    いく'んです) nor て before ば (…てばかり), which follow other words too."""
    # a flat noun's quotative って before もの, わけ is no verb's ても, ては (がっこーってもの')
    out = [("+って" + w, "って" + w) for w in ("もの", "わけ")]
    # ば that goes on as a verb's kana (散ら+ばった of 散らばる: the headword of 散る stands in
    # front) is no conditional's ば (ちらばった, not ちら'ばった)
    out += [("+ば" + k, "ば" + k) for k in "るっらりれろせさ"]
    out += [("+" + k + e, k + "+" + e) for k in "っい" for e in "たてだで"]
    out += [("+" + k + "ば", k + "+ば") for k in "えけげせねべめ"]
    out += [("+" + k + "ね", k + "+ね") for k in "かさたなばまら"]
    return out + [("+ねば", "ね'ば")]


def flat_te_shimau():
    """しまう after a flat verb's て form (ねむってしまった) is flat too, and its endings take the
    accent as a flat verb's do (ねむってしまった'のが, あらってしまった'ら, まなんでしまえ'ば):
    the flat mark moves over てしま to where HANDED_ON looks for a flat verb's endings. After
    an accented verb the verb's accent stays (ついえさ'ってしまった)."""
    return [("+" + t + "しま" + k, t + "しま" + k + "+") for t in "てで" for k in "っえわう"]


def flat_te_kuru():
    """くる after a flat verb's て form is said in the verb's phrase with its own accent
    (つずいてき'た, つれてき'て, きこえてこ'なかった, やってく'る), as 来る's forms have it in
    kanji, and so is みる (すわってみ'ると, さがしてみ'たが); after an accented verb the verb's
    accent stays (ふ'ってきた). Not くれ, which is
    also くれる (つかってくれる). Before きて the boundary the predicate rules put there stays
    (ちかよって/き'て, かって/き'て: the pitch is the same without it, and the speaker begins a
    phrase there as often as not)."""
    forms = (("きた", "き'た"), ("きて", "/き'て"), ("きます", "きま'す"), ("きまし", "きま'し"),
             ("こな", "こ'な"), ("くる", "く'る"),
             # みる likewise (すわってみ'ると)
             ("みる", "み'る"), ("みた", "み'た"), ("みて", "み'て"), ("みれ", "み'れ"),
             ("みます", "みま'す"), ("みまし", "みま'し"))
    return [("+" + t + e, t + r) for t in "てで" for e, r in forms]


def flat_te_morau():
    """もらう after a flat verb's て form is no ても (かって'もらった): the flat mark goes, and the
    predicate rules begin its phrase (かって/もらった) as after an accented verb."""
    return [("+" + t + "もら", t + "もら") for t in "てで"]



# What follows a particle at the start of a kana word, after an accented word, and begins a
# phrase of its own (see particle_then_word_after_accent): the formal and relational nouns
# after の, which the kana noun rules leave out; after に, が and も the commonest verbs written
# in kana. Lists, not every kana: a kana word that begins a sentence or follows a pause
# begins with these particles' kana too (ののしり, がばっと, にこにこ).
WORDS_AFTER_PARTICLE = {
    "の": ("こと", "もの", "よう", "うち", "ところ", "まま", "もと", "なか", "ほか", "あと",
          "まえ", "せい", "おかげ", "かわり", "たび", "ふり", "つもり", "くせ", "あいだ", "うえ",
          "そば", "まわり", "わけ", "とき"),
    "に": ("いる", "いた", "いて", "いま", "いな", "いれ", "いって", "いった", "いき", "くる",
          "くれ", "きて", "きた", "きま", "こな", "かけ", "つけ", "はい", "あげ", "あわ", "あて",
          "みえ", "みせ", "おり", "もど", "のこ", "のっ", "のり", "のせ", "まか"),
    "が": ("いる", "いた", "いて", "いま", "いな", "ふっ", "ふる", "ふり", "のぼ", "はや", "くる",
          "きた", "きて", "きま", "こな"),
    "も": ("いる", "いた", "いて", "いま", "いな", "つか", "つい", "つく", "くる", "こな", "ござ"),
}
# Those that are accented, with their accent: nouns on their first mora (な'か, あ'と), which
# the kana noun rules do not give the words they leave out, and verbs the kana verb rules do not
# accent, of two kana (来る く'る, 降る ふ'る) or in these forms (は'いって, お'りた)
ACCENTED_AFTER_PARTICLE = {"なか": "な'か", "あと": "あ'と", "まえ": "ま'え", "せい": "せ'い",
                           "そば": "そ'ば", "くる": "く'る", "きた": "き'た", "きて": "き'て", "こな": "こ'な",
                           "ふっ": "ふ'っ", "ふる": "ふ'る", "はい": "は'い", "おり": "お'り",
                           "つい": "つ'い", "つく": "つ'く"}


def particle_then_word_after_accent():
    """Kind 4, mode 1: a kana word that begins with の, に, が or も and one of
    WORDS_AFTER_PARTICLE, after an accented word (which hands on no flat mark): the particle
    ends that word's phrase and the word after it begins the next (ね'この/こと'を,
    ラ'ックに/かけなさ'い, ひと'が/いる, がくしゃも/いる). Without this the boundary the
    accents need goes in front of the particle (ね'こ/のこと'を), where the speaker never puts
    it, or none is put (ひと'がいる). Before the flat mark is dropped, so a flat word's kana
    word (+のこと) keeps its phrase; before the kana verb and noun rules, which accent a word
    after the boundary put here."""
    # a word accented on its last mora hands its mark on to the particle (ひと' + 'が)
    return [(m + p + w, m + p + "/" + ACCENTED_AFTER_PARTICLE.get(w, w))
            for p, words in WORDS_AFTER_PARTICLE.items() for w in words for m in ("", "'")]

# The endings a kana word begins with after a verb or adjective whose accent lies inside its
# kanji (多 お'お + い, 持ち帰 もちか'え + る), and the formal nouns with an accent of their own
# that may follow them (see ending_then_thing_after_accent)
ENDINGS_BEFORE_THINGS = ("る", "う", "く", "す", "つ", "ぬ", "む", "ぶ", "ぐ", "い", "た", "った",
                         "んだ", "いだ", "かった")
THINGS_AFTER_ENDINGS = ("こと", "もの", "とき", "ように", "ような", "ようだ", "ようで", "わけ")


def ending_then_thing_after_accent():
    """Kind 4, mode 1: a kana word that begins with a verb's or adjective's ending and a formal
    noun or する, after a kanji word whose accent lies inside it and hands nothing on: the phrase
    boundary goes behind the ending (お'おい/よ'うです, もちか'える/こと'によって), where the
    accent of the noun put it in front of the ending, inside the word (お'お/いよ'うです).
    After a flat word the kana word begins with the flat mark and keeps its phrase. Not した
    and いた, which begin a sentence as often (したこと'わ)."""
    out = [(e + t, e + "/" + t) for e in ENDINGS_BEFORE_THINGS for t in THINGS_AFTER_ENDINGS]
    # so does する after an adjective's く (な'かよく/すること'), where the accent of what
    # follows put it in front of く; not its て form, said in the adjective's phrase before an
    # auxiliary (みじ'かくして/もらわな'ければ)
    return out + [("く" + f, "く/" + f) for f in ("する", "すれ")]

def verb_f2_endings():
    """べき and だろう, which UniDic joins to a verb as 動詞%F2@1, take the accent on their first
    mora after a flat verb (ゆーべ'き, いくだ'ろう), as the flat verb's endings of HANDED_ON do;
    after an accented one they stay flat (よ'むべき). Kind 4, mode 0, before HANDED_ON: the
    flat mark stands before or after the verb's last kana."""
    out = []
    for e, r in (("べき", "べ'き"), ("だろう", "だ'ろう")):
        out += [(k + "+" + e, k + r) for k in VERB_ENDS] + [("+" + k + e, k + r) for k in VERB_ENDS]
    return out


# する written in kana after a noun takes them as a flat verb (するべ'き, するだ'ろう): kind 4,
# mode 1, as SURU
SURU_F2 = [("するべき", "するべ'き"), ("するだろう", "するだ'ろう")]
# する beginning a phrase (after an accented noun, よ'うい/しましょ'うか, ど'りょく/すべ'きだ) takes
# the accent of its polite endings and of べき wherever they stand in the word.
SURU_AFTER_BOUNDARY = [("しましょう", "しましょ'う"), ("します", "しま'す"), ("しました", "しま'した"),
                       ("しまして", "しま'して"), ("しませ", "しませ'"), ("すべき", "すべ'き")]
# ... and its desiderative as a flat verb's after a flat noun (けんとーした'い, HANDED_ON's +たい;
# kind 4, mode 1), and where the predicate rules begin a phrase at it after a particle
# (…が/した'いわ; mode 0); not a kana word that begins with it (したいことの)
SURU_DESIDERATIVE = [("したい", "した'い")]


def flat_auxiliaries_after_boundary():
    """もらう, くれる and あげる after a て form, which the predicate rules put at the head of a
    phrase (…て/もらいたいと), are flat verbs: their endings take the accent as a flat verb's
    do in kanji (/もらいた'いと, /もらわな'ければ, /くれる'のでわ), where no flat mark is left
    to find them; their plain forms stay flat (/もらった, /くれる)."""
    irrealis = [("ない" + p, "な'い" + p) for p in AFTER_ENDING] + [
        ("なかっ", "な'かっ"), ("なく", "な'く"), ("なけれ", "な'けれ"), ("なきゃ", "な'きゃ")]
    continuative = [("たい", "た'い"), ("たかっ", "た'かっ"), ("たく", "た'く")]
    past = [("た" + p, "た'" + p) for p in AFTER_ENDING] + [
        ("たら", "た'ら"), ("たり", "た'り"), ("ても", "て'も"), ("てわ", "て'わ")]
    plain = [(n, "'" + n) for n in ("の", "ん") + VERB_LAST_KANA_PARTICLES]
    out = []
    for stem, forms in (("もら", ("わ", "い", "っ", "え", "う")), ("くれ", ("", "", "", "れ", "る")),
                        ("あげ", ("", "", "", "れ", "る"))):
        for form, endings in zip(forms, (irrealis, continuative, past, [("ば", "'ば")], plain)):
            out += [("/" + stem + form + e, "/" + stem + form + r) for e, r in endings]
    return out


# Question words with a case particle and も are flat (どこにも, だれにでも, どちらとも, どうにも:
# the evaluation's speaker 7 times of 7), while with でも alone they keep their accent, also at
# the start of a kana word, where no other rule gives it (ど'れでも, い'つでも, な'んでも).
QUESTION_PRONOUNS = ("どれ", "どこ", "だれ", "いつ", "どちら", "どっち", "どう", "なん")
QUESTION_CASES = ("に", "と", "え")
QUESTION_KA = ("どこ", "だれ", "なに", "いつ", "なぜ", "どう", "どれ", "どちら")
QUESTION_ADVERBS = (("いつも", "い'つも"), ("なんとか", "な'んとか"))


def question_word_particles():
    """(mode-1 rules, mode-0 rules), kind 4, after the rules that accent these words (DEICTICS,
    WORDS): q + でも at the start of a word takes q's accent; q' + case particle + も or でも
    loses it."""
    accent = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            if r[0] in QUESTION_PRONOUNS and r[4] in ("代名詞", "副詞"):
                a = r[28].strip('"').split(",")[0]
                if a.isdigit() and (r[0] not in accent or int(r[3]) < accent[r[0]][0]):
                    accent[r[0]] = (int(r[3]), int(a))
    start, flat, accented = [], [], {"なぜ": "な'ぜ", "なに": "な'に"}
    for q in QUESTION_PRONOUNS:
        n = kc.morae_to_chars(q, accent.get(q, (0, 0))[1])
        if not n:
            continue
        rep = q[:n] + "'" + q[n:]
        start.append((q + "でも", rep + "でも"))
        flat += [(rep + c + e, q + c + e) for c in QUESTION_CASES for e in ("も", "でも")]
        accented[q] = rep
    # with か (な'にか, な'ぜか, ど'こか), and いつも, なんとか, at the start of a kana word and,
    # where the deictic rules do not already accent the word, after a particle
    for q in QUESTION_KA:
        start.append((q + "か", accented[q] + "か"))
    for q, rep in QUESTION_ADVERBS:
        # もの after いつ already took its accent from CONTENT (いつもの')
        start += [(q + "の'", rep + "の"), (q, rep)]
        flat.append((q + "の'", q + "の"))
    after = [(q + "か", accented[q] + "か") for q in QUESTION_KA if q not in DEICTICS]
    after += [(q, rep) for q, rep in QUESTION_ADVERBS if q[:2] not in DEICTICS]
    # (the predicate rules may have put the boundary in already: が/なぜか)
    flat += [(p + b + q, p + "/" + rep) for q, rep in after for p in DEICTIC_AFTER for b in ("", "/")]
    flat += [("い'つ/もの'", "い'つもの")]
    # they end their phrase before what is no particle (い'つも/こぎれいな)
    flat += [(rep + k, rep + "/" + k) for _, rep in QUESTION_ADVERBS for k in AFTER_ADVERB_KANA]
    return start, flat


# The formal noun とき said in one phrase with the modifier before it has the accent on its
# first mora (すると'きわ, ひまなと'きわ, つらいと'き), not on its last as UniDic has it
# (CONTENT's とき'); where it begins a phrase, after an accented verb or at the start of a kana
# word, it keeps that (でる/とき'にわ, わかかった/とき'にわ). Not ときどき. (The kanji 時 is left
# as UniDic has it: its accent cannot tell whether it begins a phrase.)
TOKI_AFTER = "にわがおものでかまだや"


def toki_accent():
    """[(pattern, replacement, mode)], kind 4, after CONTENT: the "+" hides a phrase-initial
    とき from the later rules, and the reader drops it."""
    rules = [("とき'", "と+き'", 1), ("/とき'", "/と+き'", 0)]
    rules += [("とき'" + k, "と'き" + k, 0) for k in TOKI_AFTER]
    return rules + [("とき'", "と'き", 2)]


# Phrase boundaries inside a kana word that the rules above leave joined (kind 4, mode 0 unless
# said): each is a context where the evaluation's speaker begins a phrase far more often than
# not; the counts are in tools/README.md ("Boundaries inside a kana word").

# いい and よい after a particle begin a phrase with their accent wherever they stand (the
# speaker 19 times of 19): PREDICATES has が, も, ば, て, と; here で, の, わ, に, and か after
# a question word (なにか, どこか, だれか, いつか; at the start of a kana word after 何, 誰).
# Not なかよく (仲良く), かよい (通い), かわいい.
JUDGEMENT_FORMS = (("いい", "い'い"), ("よい", "よ'い"), ("よく", "よ'く"), ("よかっ", "よ'かっ"),
                   ("よけれ", "よ'けれ"))


def judgement_after_particles():
    """(pattern, replacement, mode) of the rules for いい and よい after a particle."""
    out = []
    for f, rep in JUDGEMENT_FORMS:
        out += [(p + f, p + "/" + rep, 0) for p in ("で", "の", "に")]
        out += [(k + "わ" + f, k + "わ/" + rep, 0) for k in KANA_BEFORE if k not in "かこ"]
        out += [(q + "か" + f, q + "か/" + rep, 0) for q in ("なに", "どこ", "だれ", "いつ", "なん")]
        out.append(("か" + f, "か/" + rep, 1))
        # and after a boundary put by an earlier rule (こと'わ/よ'い)
        out.append(("/" + f, "/" + rep, 0))
    # the formal nouns after them stay in their phrase, unaccented (ヨ'イモノガ, イ'ーコトヲ:
    # the speaker 3 times of 4), as after other accented predicates (FORMAL_NOUNS_AFTER_ACCENT)
    out += [("/" + rep + "/" + n + "'", "/" + rep + n, 0) for f, rep in JUDGEMENT_FORMS[:2]
            for n in ("こと", "もの", "とき")]
    return out



def things_after_verbs():
    """(pattern, replacement, mode): もの after a verb's dictionary form inside a kana word
    begins a phrase, with the accent CONTENT gave it (うたがわせる/もの'だ, きぞくする/もの'とする;
    the speaker 8 times of 9): after a flat verb nothing else puts the boundary there. Before a
    particle or the copula, or at the end of the word; not before の (ものの, "though"), nor
    after つ (いつもの), です and ます (ですもの: "+" hides them, the reader drops it)."""
    out = [(e + "もの'", e + "+もの'", 0) for e in ("です", "ます")]
    for k in "うくぐむぶるす":
        out += [(k + "もの'" + q, k + "/もの'" + q, 0) for q in "だでがをにわともやか"]
        out.append((k + "もの'", k + "/もの'", 2))
    return out


def only_after_predicates():
    """だけ after a predicate inside a kana word begins a phrase with its accent, as after a
    verb's る (PREDICATES): after a verb's dictionary form in う, ぐ, む, ぶ, す, a past (の'んだ/
    だけ'だった) and ない, いい (も'っていない/だけ'じゃ). Not after く (くだける), い before た
    (いただける), つ (ひとつだけ), です and ます. (pattern, replacement, mode)."""
    heads = ["う", "ぐ", "む", "ぶ", "ない", "いい"] + [b + "す" for b in KANA_BEFORE if b not in "でま'"]
    heads += [b + t for b in KANA_BEFORE if b not in "い'" for t in "ただ"]
    # and at the start of a kana word after a verb's kanji (見ただけ み'た/だけ')
    return [(h + "だけ", h + "/だけ'", 0) for h in heads] + [(a + "ただけ", a + "た/だけ'", 1) for a in ("", "'")]



# はず, つもり and ほか ("but to") after a predicate inside a kana word begin a phrase (ひいている/
# はずが, もーしあげる/つもりわ, まつ/ほかわ): the speaker 3 times of 4 (joined: けっこんするつもり),
# the reference reader always. After a verb's dictionary form, a past and ない; はず only before
# a particle, だ or at the word's end (はずす, はずれる; not はずです, whose です the reference
# reader accents where this reader keeps it flat), ほか before わ, に, ない.
PREDICATE_ENDS = tuple("うくぐすつむぶるただ") + ("ない",)
PLANS = [("はず" + q, "/はず" + q) for q in ("だ", "が", "わ", "も", "の", "じゃ", "な")] + [
    ("つもり", "/つもり")] + [("ほか" + q, "/ほか" + q) for q in ("わ", "は", "に", "ない", "なかっ")]


def plans_after_predicates():
    """(pattern, replacement, mode) of PLANS after PREDICATE_ENDS; kind 4, with
    only_after_predicates."""
    out = [(h + p, h + r, 0) for h in PREDICATE_ENDS for p, r in PLANS]
    return out + [(h + "はず", h + "/はず", 2) for h in PREDICATE_ENDS]


def bakari_after_predicates():
    """ばかり (ばっかり) after a verb's past or dictionary form inside a kana word begins a
    phrase with its accent (つずいてき'た/ば'かりでなく, たか'く/な'る/ば'かりだった): "has just
    done", "does nothing but" stand apart from the verb, where after a noun or a て form the
    speaker joins them (いたずらば'かり, わすれてば'かり): 3 times of 3 after た and る in the
    evaluation set, none joined. At the start of a kana word too, after a verb's kanji (着いた
    つ'いた/ば'かり). (pattern, replacement, mode)."""
    words = (("ばかり", "ば'かり"), ("ばっかり", "ばっか'り"))
    out = [(h + w, h + "/" + r, 0) for h in ("た", "だ", "る") for w, r in words]
    return out + [(a + h + w, a + h + "/" + r, 1) for a in ("", "'") for h in ("た", "る")
                  for w, r in words]


def you_after_polite():
    """よう (ように) after the polite ます accented inside a kana word begins a phrase with its
    accent (いただきま'す/よ'う, かないま'す/よ'うに): a wish or a request said as its own phrase,
    the speaker 2 times of 2 in the evaluation set; a prefix お before a kana word begins the
    next one. (pattern, replacement), kind 4, mode 0, last."""
    # only where ます already holds the accent: without it the accent may lie earlier in the
    # phrase (くださ'いますよう), and a flat verb's ます cannot be told from it here
    out = [("ま'すようおい", "ま'す/よ'う/おい"), ("ま'すよう", "ま'す/よ'う")]
    # but not before the prefix ご the reader joins to the kanji word after it (…ますよう/ご案内)
    return out + [("ま'す/よ'う/ご", "ま'すよう/ご")]


def interjection_adverbs():
    """どうぞ and まあ at the start of a kana word, before more kana, are a phrase of their own
    with their accent (ど'うぞ/よろしく, ま'あ/そう): said to the listener ahead of what
    follows; the speaker 2 times of 2 in the evaluation set. Not まあまあ, a word of its own.
    (pattern, replacement), kind 4, mode 1, last."""
    kana = [k for k in KANA_BEFORE if k not in ("'", "ー")]
    out = [("どうぞ" + k, "ど'うぞ/" + k) for k in kana]
    return out + [("まあ" + k, "ま'あ/" + k) for k in kana if k != "ま"]


# Common nouns written in kana after a particle inside a kana word begin a phrase, with
# UniDic's accent (しょくりょーの/あ'りかを, とーの/てっぺ'んから, ペットに/えさを): the speaker
# does so for content nouns nearly always, for the formal nouns (こと, ため, ところ) seldom,
# which are left out with the spellings likelier another word's. A noun of two kana only
# before a particle, since such spellings run across other words (で+しまった, が+いました).
MAX_KANA_NOUNS = 3000
MAX_SHORT_KANA_NOUNS = 200
NOUN_PARTICLES = ("の", "が", "に", "で", "と", "わ", "も")
NOUN_FOLLOWERS = ("が", "を", "に", "で", "わ", "も", "の", "と", "や")
FORMAL_NOUNS = set("こと もの ため ところ とき よう わけ はず つもり あと ほう ほか たび "
                   "まえ あいだ ほど くせ ふり ぶん せい とおり かわり ついで みたい ごらん かた "
                   "うえ した なか まわり ころ ごろ さき さま".split())


def kana_nouns_after_particles(limit=MAX_KANA_NOUNS, short_limit=MAX_SHORT_KANA_NOUNS):
    """Kind 4, mode 0 rules "の" + noun -> "の/" + noun with its accent, for UniDic's likeliest
    common nouns spelt in hiragana; not where particle and noun together are part of a
    longer hiragana word of UniDic (にわとり, そのまま), nor for a noun that begins a form of
    a verb or adjective (むしば, むしばむ), or with わ or え, the particles は and へ as said."""
    best, other, words, forms = {}, {}, set(), set()
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            w = r[0]
            if len(w) < 2 or not all(0x3041 <= ord(c) <= 0x3093 for c in w):
                continue
            words.add(w)
            cost = int(r[3])
            if r[4] in ("動詞", "形容詞", "助動詞", "助詞", "接尾辞", "接頭辞", "副詞", "代名詞"):
                other[w] = min(cost, other.get(w, cost))
                if r[4] in ("動詞", "形容詞"):
                    forms.add(w)
            if r[4] != "名詞" or r[5] != "普通名詞":
                continue
            a = r[28].strip('"').split(",")[0]
            if a.isdigit() and (w not in best or cost < best[w][0]):
                best[w] = (cost, int(a))
    inside, form_heads = set(), set()
    for w in words:
        for i in range(len(w)):
            for j in range(i + 3, min(len(w), i + 9) + 1):
                if (i, j) != (0, len(w)):
                    inside.add(w[i:j])
    for f in forms:
        form_heads.update(f[:k] for k in range(3, len(f)))
    # a spelling that is likelier another word's (いて, する; the adverb いくら) is left out
    ranked = sorted((kv for kv in best.items()
                     if kv[0] not in FORMAL_NOUNS and kv[0][0] not in "わえ"
                     and kv[1][0] < other.get(kv[0], 1 << 30)),
                    key=lambda kv: (kv[1][0], kv[0]))
    long_words = [kv for kv in ranked if len(kv[0]) >= 3 and kv[0] not in form_heads][:limit]
    short_words = [kv for kv in ranked if len(kv[0]) == 2][:short_limit]
    out = []
    for w, (_, a) in sorted(long_words + short_words):
        n = kc.morae_to_chars(w, a) if a else 0
        rep = w[:n] + "'" + w[n:] if n else w
        for p in NOUN_PARTICLES:
            if p + w in inside or p + w in words:
                continue
            if len(w) >= 3:
                out.append((p + w, p + "/" + rep))
            else:
                out += [(p + w + q, p + "/" + rep + q) for q in NOUN_FOLLOWERS
                        if w + q not in inside and w + q not in words]
    return out



# The topic particle は inside a kana word ends its phrase: whatever kana follow begin the next
# one (…するのわ/やめましょう, かつとわ/かぎらない; the speaker after は inside a kana word 65
# times of 70). Seen before PRONOUNCE respells it, while it is still written は: のは, とは,
# には, ては, からは, さんは, たちは (では is said でわ already, as is て + わかる).
TOPIC_HEADS = ("のは", "とは", "には", "ては", "からは", "さんは", "くんは", "たちは")


def topic_then_word():
    """(rules before PRONOUNCE, rules before the kana verbs), kind 4, mode 0: "のは" + kana ->
    "のは/" + kana, not where the three kana lie inside a UniDic hiragana word (にはとり for
    にわとり is no spelling, but ことはじめ is), nor before the kana that HA_KEPT mends (には +
    いって, は + じめ …), a small kana, っ or ん; then the accent of the hiragana adverbs,
    adnominals and nouns after the boundary, as at the start of a kana word (…にわ/い'くつかの,
    …でわ/た'いした). The kana verbs and adjectives there take theirs by the rules for a form
    after a boundary."""
    words = set()
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            w = r[0]
            if len(w) >= 3 and all(0x3041 <= ord(c) <= 0x3093 for c in w):
                words.add(w)
    inside = set()
    for w in words:
        inside.update(w[i:i + n] for n in range(3, 6) for i in range(len(w) - n + 1))
    kana = [chr(c) for c in range(0x3041, 0x3094) if chr(c) not in "ぁぃぅぇぉっゃゅょゎんを"]
    mended = {w[1] for w in HA_WORDS}
    early = []
    for h in TOPIC_HEADS:
        for k in kana:
            if h + k in inside or k in mended or (h, k) == ("には", "い"):
                continue
            early.append((h + k, h + "/" + k))
    prefix, whole = hiragana_words()
    more_hiragana_words(prefix, whole)
    # longest first; a phrase adverb's own rule has put a second boundary in front of it
    late = [("わ//", "わ/")] + [("わ/" + w, "わ/" + rep) for w, rep in prefix]
    late += [("わ/" + w, "わ/" + rep) for w, rep in whole if len(w) == 2]
    late += [("わ/" + p[1:], "わ/" + r[2:]) for p, r in deictics() if p[0] == "わ"]
    return early, late



def things_after_attributive_na():
    """(pattern, replacement, mode): the formal nouns こと and もの after the attributive な of
    an adjectival noun begin a phrase with the accent CONTENT gave them (むちゃな/こと'を,
    じゅーぶ'んな/もの'を, やりそーな/こと'だった; the speaker 7 times of 8, kanji 事 and 物
    included), inside a kana word and at its start after the noun's kanji, where the accents
    alone put the boundary in front of な. Not after そんな, こんな, あんな, どんな (ん before な:
    the speaker 0 of 2)."""
    out = []
    for n in ("こと'", "もの'"):
        out += [(k + "な" + n, k + "な/" + n, 0) for k in KANA_BEFORE if k != "ん"]
        out.append(("な" + n, "な/" + n, 1))
    return out


# どう, そう at the start of a kana word before a form of する or やる: the adverb keeps its
# accent where the phrase begins with it (ど'うして, ど'うやって), as it does after a particle
# (DEICTICS); with も the phrase takes it at the て (どうして'も), and そう before the
# conditional at the verb's last kana (そうす'れば). Kind 4, mode 1, last: the kana word as
# the other rules leave it.
DEICTIC_ADVERB_FORMS = (("どうしても", "どうして'も"), ("どうして", "ど'うして"),
                        ("どうやって", "ど'うやって"), ("そうすれば", "そうす'れば"))


def deictic_adverb_forms():
    return list(DEICTIC_ADVERB_FORMS)


# The hours the mark file writes in kana after digits (9時 くじ, 7時 しちじ: the number reader
# has no such reading), with the accent it gives the others on the number (いち'じ), alone and
# before a particle; as whole words, so that くじら stays as it is.
SPECIAL_NUMERAL_WORDS = (("くじ", 1), ("しちじ", 2))
NUMERAL_PARTICLES = PARTICLES + ["から", "まで", "までに", "ごろ", "ごろに", "にわ", "でわ", "からわ"]


def special_numeral_words():
    out = []
    for w, n in SPECIAL_NUMERAL_WORDS:
        rep = w[:n] + "'" + w[n:]
        out += [(w + p, rep + p) for p in [""] + NUMERAL_PARTICLES]
    return out


# Conjunctions of それ and a particle, which UniDic splits (それ + とも: flat), with their own
# accent on the particle's first kana: それと'も, それで'も, それな'ら, それな'のに. At the start
# of a kana word (mode 1) and after a pause inside one.
SORE_CONJUNCTIONS = ("それとも", "それでも", "それなら", "それなのに")


def sore_conjunctions():
    rules = [(w, w[:3] + "'" + w[3:]) for w in SORE_CONJUNCTIONS]
    return [(w, r, 1) for w, r in rules] + [("、" + w, "、/" + r, 0) for w, r in rules]


# けれど, けれども, けど as a conjunction of their own after a pause or at the start of a
# sentence take the accent on their first kana (…しれない、け'れど、, け'れども、…): at the end
# of a kana word after a pause (mode 2) and as the whole kana word (mode 3), where they can
# follow no predicate. Not だから, でも, だが, which the ending rules claim first.
PAUSED_CONJUNCTIONS = ("けれど", "けれども", "けど")


def paused_conjunctions():
    rules = [(w, w[0] + "'" + w[1:]) for w in PAUSED_CONJUNCTIONS]
    return [("、" + w, "、/" + r, 2) for w, r in rules] + [(w, r, 3) for w, r in rules]


def wa_spelled_words(prefix):
    """The likeliest hiragana words (hiragana_words) that end in a は said わ (もしくは, あるいは,
    ひいては): PRONOUNCE has written it わ before their rules look for は, so they are given
    again as written then, at the start of a kana word (も'しくわ, ある'いわ, ひ'いてわ)."""
    return [(p[:-1] + "わ", r[:-1] + "わ") for p, r in prefix
            if len(p) >= 3 and p.endswith("は") and r.endswith("は") and "'" in r[:-1]]


def main():
    # before PRONOUNCE, while the topic particle is still written は
    lines = [f"4 0 {p} {r} 0" for p, r in topic_then_word()[0]]
    lines += [f"4 0 {p} {r} 0" for p, r in PRONOUNCE]
    lines += [f"4 0 {p} {r} 1" for p, r in WA_AT_START]
    lines += [f"4 0 {p} {r} 0" for p, r in WA_INSIDE + HA_KEPT + HE_INSIDE]
    # after PRONOUNCE, before the rules that would take their start for another word (ある)
    lines += [f"4 0 {p} {r} 1" for p, r in wa_spelled_words(hiragana_words()[0])]
    # after a flat noun the word begins with the flat mark it handed on
    lines += [f"4 0 {q}{p} {r} 1" for p, r in TOPIC_PREDICATES + SURU for q in ("+", "")]
    lines += [f"4 0 {p} {r} 1" for p, r in COPULA + JOINED_AFTER_FLAT + DEKIRU_AFTER_NOUN + KAKARU_AFTER_NOUN]
    lines += [f"4 0 {p} {r} 1" for p, r in suru_after_to()]
    lines += [f"4 0 {q}{p} {r} 1" for p, r in SURU_F2 for q in ("+", "")]
    lines += [f"4 0 +{p} {r} 1" for p, r in SURU_DESIDERATIVE]
    lines += [f"4 0 {p} {r} 1" for p, r in DESIDERATIVE + TE_TA]
    # before the flat mark a kanji's reading hands on is dropped: 失う + まい is no うまい
    lines += [f"4 0 {p} {r} 1" for p, r in kana_adjectives()]
    lines += [f"4 0 +{p} {p[0]}'{p[1:]} 1" for p in NOUN_F2_PARTICLES]
    lines += [f"4 0 {p} {r} 0" for p, r in COMPOUND_GUARD + COMPOUND]
    # before HANDED_ON, which drops the flat marks left
    lines += [f"4 0 {p} {r} 0" for p, r in FLAT_ICHIDAN_CONDITIONAL]
    lines += [f"4 0 {p} {r} 0" for p, r in flat_godan_stem_endings()]
    lines += [f"4 0 {p} {r} 0" for p, r in flat_te_shimau()]
    lines += [f"4 0 {p} {r} 0" for p, r in flat_te_kuru()]
    lines += [f"4 0 {p} {r} 0" for p, r in flat_te_morau()]
    lines += [f"4 0 {p} {r} 0" for p, r in verb_f2_endings()]
    lines += [f"4 0 {p} {r} 1" for p, r in particle_then_word_after_accent()]
    lines += [f"4 0 {p} {r} 1" for p, r in ending_then_thing_after_accent()]
    lines += [f"4 0 {p} {r} 0" for p, r in HANDED_ON]
    # する in kana after を or が inside a kana word (…をしたので, …がしたので) likewise
    lines += [f"4 0 {p} {r} 0" for p, r in suru_after_particles()]
    for p, r in PREDICATES + NEGATIVE_PAST:
        if p in JOINED_AFTER_FLAT_SPLITS:
            lines.append(f"4 0 {p} {r} 1")
            lines += [f"4 0 {k}{p} {k}{r} 0" for k in KANA_BEFORE]
        else:
            lines.append(f"4 0 {p} {r} 0")
    # ... and where the predicate rules put the boundary in front of する (…ても/しな'くても,
    # …しようと/した'が)
    # before the rules of する after a boundary and the adverb rules, whose AFTER_ADVERB reads
    # the mark these leave
    lines += [f"4 0 {p} {r} 0" for p, r in mimetic_adverbs()]
    lines += [f"4 0 /{p} /{r} 0" for p, r in SURU + SURU_AFTER_BOUNDARY]
    lines += [f"4 0 {p} {r} 0" for p, r in IKU_AFTER_TE]
    lines += [f"4 0 {p} {r} 0" for p, r in phrase_adverbs() + deictics() + AFTER_ADVERB]
    lines += [f"4 0 {p} {r} 0" for p, r in FORMAL_NOUNS_AFTER_ACCENT + TE_IMASU_AFTER_ACCENT]
    lines += [f"4 0 {p} {r} 0" for p, r in CONTENT]
    lines += [f"4 0 {p} {r} 1" for p, r in PURPOSE_AFTER_ACCENT]
    lines += [f"4 0 {p} {r} 0" for p, r in PURPOSE_FLAT + COMPARISON]
    # after the nouns' accents, which would otherwise see an accent after them
    lines += [f"4 0 {p} {r} 0" for p, r in POLITE_PREDICATES + NAN_DESU]
    lines += [f"4 0 {p[1:]} {r[1:]} 1" for p, r in NAN_DESU]
    # the adverb ますます (ます'ます) keeps its accent: ます at its end is no polite ending
    lines += ["4 0 ます'ます ます'ます 2"]
    prefix, whole = hiragana_words()
    more_hiragana_words(prefix, whole)
    lines += [f"4 0 {p} {r} 2" for p, r in ending_like_words(prefix + whole)]
    lines += [f"4 0 {p} {r} 2" for p, r in ENDINGS + HONORIFIC_PREFIXES]
    lines += [f"4 0 {p} {r} 3" for p, r in WORDS]
    lines += [f"4 0 {p} {r} 1" for p, r in prefix]
    words = dict(WORDS)
    whole += [(q + p, words[q] + p) for q in QUESTION_WORDS for p in PARTICLES]
    lines += [f"4 0 {p} {r} 3" for p, r in whole if p not in words]
    # after the marks the other rules move, before the last ones
    te_marked, te_at_start, te_split = iru_after_accented_te()
    lines += [f"4 0 {p} {r} 0" for p, r in te_marked] + [f"4 0 {p} {r} 1" for p, r in te_at_start]
    lines += [f"4 0 {p} {r} 0" for p, r in te_split]
    lines += [f"4 0 {p} {r} 0" for p, r in inai_after_te()]
    lines += [f"4 0 {p} {r} 0" for p, r in deictics_after_predicates()]
    lines += [f"4 0 {p} {r} 0" for p, r in deictics_after_conditionals()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in short_adverbs_before_words()]
    lines += [f"4 0 {p} {r} 0" for p, r in MASHI_AFTER_GA]
    lines += [f"4 0 {p} {r} 2" for p, r in honorific_prefixes_after_endings()]
    lines += [f"4 0 {p} {r} 0" for p, r in negative_after_formal_nouns()]
    mata, mata_kept = mata_after_topic()
    lines += [f"4 0 {p} {r} 0" for p, r in mata]
    lines += [f"4 0 {p} {p.replace('/', '')} 0" for p in mata_kept]
    lines += [f"4 0 {p} {r} 0" for p, r in adverbs_after_te()]
    # last, when the kana word is as the other rules leave it
    lines += [f"4 5 {p} {r} {m}" for p, r, m in stem_compound_rules()]
    # code 5: before a suffix that takes the accent to its end (アメリカ人) the word is
    # read flat up to that point
    lines += [f"5 5 {s} {rep} 3" for s, rep in katakana_words()]
    lines += [f"5 0 {p} {r} {m}" for p, r, m in katakana_default_rules()]
    # before the kana verbs and adjectives, which accent a form after the boundary put here
    lines += [f"4 0 {p} {r} 0" for p, r in topic_then_word()[1]]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in kana_verb_forms()]
    lines += [f"4 0 {p} {r} 0" for p, r in kana_verb_negatives()]
    lines += [f"4 0 {p} {r} 0" for p, r in short_kana_verb_forms()]
    lines += [f"4 0 {p} {r} 0" for p, r in kana_adjectives_after_particle()]
    lines += [f"4 0 {p} {r} 0" for p, r in flat_auxiliaries_after_boundary()]
    lines += [f"4 0 /{p} /{r} 0" for p, r in SURU_DESIDERATIVE]
    lines += [f"4 0 {p} {r} {m}" for rules, m in zip(question_word_particles(), (1, 0)) for p, r in rules]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in judgement_after_particles()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in things_after_verbs()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in only_after_predicates()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in plans_after_predicates()]
    lines += [f"4 0 {p} {r} 0" for p, r in kana_nouns_after_particles()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in things_after_attributive_na()]
    # after the phrase boundaries, which take the mark off a formal noun after an accented word
    lines += [f"4 0 {p} {r} {m}" for p, r, m in toki_accent()]
    lines += [f"4 0 {p} {r} 1" for p, r in deictic_adverb_forms()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in bakari_after_predicates()]
    lines += [f"4 0 {p} {r} 0" for p, r in you_after_polite()]
    lines += [f"4 0 {p} {r} 1" for p, r in interjection_adverbs()]
    lines += [f"4 0 {p} {r} 3" for p, r in special_numeral_words()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in sore_conjunctions()]
    lines += [f"4 0 {p} {r} {m}" for p, r, m in paused_conjunctions()]
    for line in lines:
        f = line.split(" ")
        assert len(f) == 5 and f[3].replace("'", "").replace("/", "") == f[2].lstrip("+").replace("'", "") or f[4] == "0" or (f[2], f[3]) in WA_AT_START or f[3].lstrip("+") == f[2].lstrip("'") or f[3].replace("+", "") == f[2], line
    path, size = kc.write_ktn("acc.ktn", lines)
    print(f"{path}: {len(lines)} rules, {size} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
