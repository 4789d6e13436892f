#!/usr/bin/env python3
"""Build dll/dic.ktn, the word dictionary, from UniDic 3.1.1 (lex_3_1.csv).

Headwords are what the reader can look up: a run of kanji (kind-8 characters) optionally
followed by at most two hiragana of okurigana. Readings are UniDic pronunciations in
hiragana (long vowels as spoken), accents are UniDic accent types turned into character
positions. The code scheme is described in tools/README.md.
"""

import csv
import math
import os
import re
import sys
import tempfile
from pathlib import Path

import ktn_common as kc

# Codes (see README.md). Conjugation rows of verbs fix the okurigana list.
GODAN = {"カ": 1, "ガ": 2, "サ": 3, "タ": 7, "ナ": 8, "バ": 9, "マ": 10, "ラ": 11, "ワア": 12}
C_SAHEN_VERB = 6
C_ZURU = 4
C_KAMI = 13
C_SHIMO = 14
C_ADJ = 16
C_NA = 18
C_TARI = 19
C_KUN1 = 5       # one-kanji native noun: preferred when alone, pulls the accent in compounds
C_NOUN = 15      # ordinary noun (preferred, no accent pull)
C_PROPER = 20
C_PRONOUN = 21
C_NUMERAL = 24
C_COUNTER = 23
C_PREFIX = 25
C_ADVERB = 26
C_SUFFIX = 32
C_AFTER_CONT = 35
C_AFTER_ATTR = 34
VERB_CODES = {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14}
PARTICLES = set("のがにをはでともへやか")
PREFERRED = {5, 15, 18, 20, 21, 23, 24, 26, 28, 29, 30}
LISTS = {1: "かきくけこいっ", 2: "がぎぐげごい", 3: "さしすせそ", 5: "さしすせそ", 6: "さしすせそ",
         4: "ざじずぜぞ", 7: "たちつてとっ", 8: "なにぬねのん", 9: "ばびぶべぼん", 10: "まみむめもん",
         11: "らりるれろっ", 12: "わいうえおっ", 13: "たてなにぬねよらるれろずち",
         14: "たてなにぬねよらるれろずち", 16: "かくきけいうしがさそめ", 17: "ただでとなるにが",
         18: "ただでとなるにが", 19: "ただでとなるにが"}

# UniDic word costs are roughly -log(p) scaled; entries costlier than this are dropped.
MAX_COST_MULTI = 10000
MAX_COST_OKURI = 12000
VARIANT_PENALTY = 3000
COUNTER_NOUN_PENALTY = 3000
RENDAKU_PENALTY = 3000
CLIPPED_PENALTY = 1500
COUNTER_AS_SUFFIX_MARGIN = 2500
PREFIX_MARGIN = 5500
SUFFIX_MARGIN = 7000
# how much rarer than the kanji alone a verb form ending in a particle-like kana may be
VERB_PARTICLE_MARGIN = 4000
# ... when the kanji alone is a word this common (雪 ゆき), else it is rare before a particle
COMMON_WORD_COST = 4000
# uses in the corpus from which a run of kanji is trusted to MeCab even for a mere reading
RUN_READING_USES = 20
# cost units taken off per e-fold of uses in the corpus
FREQ_WEIGHT = 500
NAME_PENALTY = 4000
PROPER_PENALTY = 1000
MAX_COST_NAME = 7000

# Readings that UniDic's word costs rank below a rarer one (its costs come from written
# corpora): the everyday reading goes first.
PREFER = {
    "私": "わたし", "何": "なに", "方": "ほー", "他": "ほか", "後": "あと", "今日": "きょー",
    "明日": "あした", "昨日": "きのー", "大人": "おとな", "兄": "あに", "姉": "あね", "風": "かぜ",
    "名": "な", "何時": "なんじ", "間": "あいだ", "年": "とし", "一度": "いちど", "覧": "らん",
    "日本": "にほん", "上手": "じょーず", "下手": "へた", "色々": "いろいろ",
    "皆": "みんな", "明後日": "あさって", "一昨日": "おととい",
    "入る": "はいる", "入り": "はいり", "入っ": "はいっ", "入ら": "はいら", "入ろ": "はいろ",
}

# Kanji numerals with a counter that the mark file writes for readings the number reader
# cannot make (4時 -> 四時 よじ).
SUPPLEMENT = {
    "四時": "よじ", "十四時": "じゅーよじ", "二十四時": "にじゅーよじ", "四時間": "よじかん",
    "十四時間": "じゅーよじかん", "二十四時間": "にじゅーよじかん", "四月": "しがつ", "七月": "しちがつ",
    "九月": "くがつ", "一人": "ひとり", "二人": "ふたり", "四人": "よにん", "二日": "ふつか",
    "三日": "みっか", "四日": "よっか", "五日": "いつか", "六日": "むいか", "七日": "なのか",
    "八日": "よーか", "九日": "ここのか", "十日": "とーか", "十四日": "じゅーよっか", "二十日": "はつか",
    "二十四日": "にじゅーよっか", "一日": "いちにち", "二日間": "ふつかかん", "三日間": "みっかかん",
    "四日間": "よっかかん", "五日間": "いつかかん", "六日間": "むいかかん", "七日間": "なのかかん",
    "八日間": "よーかかん", "九日間": "ここのかかん", "十日間": "とーかかん",
    "四分": "よんぷん", "十四分": "じゅーよんぷん", "二十四分": "にじゅーよんぷん", "三十四分": "さんじゅーよんぷん",
    "四十四分": "よんじゅーよんぷん", "五十四分": "ごじゅーよんぷん", "四分の": "よんぶんの",
    "一つ": "ひとつ", "二つ": "ふたつ", "三つ": "みっつ", "四つ": "よっつ", "五つ": "いつつ",
    "六つ": "むっつ", "七つ": "ななつ", "八つ": "やっつ", "九つ": "ここのつ",
}
# Words UniDic keeps as two (日本 + 語) that are read as one, without the pieces' accents.
COMPOUNDS = {"日本語": "にほんご", "外国語": "がいこくご", "日本人": "にほんじん",
             "東日本": "ひがしにほん", "西日本": "にしにほん"}
# 来る changes its stem vowel by what follows (きた, こない, くる); the row lists cannot tell
# them apart, so the stem is written with the first kana of each ending.
for _kana, _stem in (("た", "き"), ("て", "き"), ("ま", "き"), ("そ", "き"), ("ち", "き"), ("な", "こ"),
                     ("ら", "こ"), ("さ", "こ"), ("よ", "こ"), ("い", "こ"), ("る", "く"), ("れ", "く")):
    SUPPLEMENT["来" + _kana] = _stem + _kana
# ... and by the second kana: 来なさい きなさい (not こない), 来れない これない (not 来れば くれば),
# 来そう きそう (not 来す きたす), 来たい きたい (with the desiderative's accent)
for _kana, _stem in (("なさ", "き"), ("れな", "こ"), ("れる", "こ"), ("れま", "こ"), ("れた", "こ"),
                     ("れて", "こ"), ("そう", "き"), ("たい", "き")):
    SUPPLEMENT["来" + _kana] = _stem + _kana

# Native suffix readings taken after a verb's continuative form (書き方 かた, 読み手 て); other
# native suffixes would be taken after every particle に or い as well.
AFTER_CONT = {"方", "手"}
# Native suffix readings kept for inside a word (移動毎 ごと, 私達 たち): those the corpus
# uses often enough, and 様 (お客様 さま), which technical prose rarely has.
NATIVE_SUFFIX_USES = 20
NATIVE_SUFFIX = {"様", "屋"}

# Rare spellings of another verb with the kanji of an everyday verb: 寝む (休む) would read
# 寝ます as やすます.
OTHER_VERB_SPELLINGS = {("寝", "休")}

# A kanji read by the particle after it, which UniDic keeps as two words: 何 before の, で,
# と, だ, て, ら is なん (何の なんの, 何でも なんでも, 何とか なんとか); 間 before に, も is ま
# at the start of a phrase (間に合う, 間もなく) and あいだ after の or an attributive ending
# (その間に, 待つ間も: code 34). The reader cuts the kana off again.
PHRASES = {
    "何の": [("なんの", C_NOUN, "0")], "何で": [("なんで", C_NOUN, "1")], "何と": [("なんと", C_NOUN, "1")],
    "何だ": [("なんだ", C_NOUN, "1")], "何て": [("なんて", C_NOUN, "1")], "何ら": [("なんら", C_NOUN, "1")],
    # 何も (nothing, at all) and 何の (なんの/しんてんも) are flat, though 何 alone is な'に
    "何も": [("なにも", C_ADVERB, "0")],
    "間に": [("まに", C_NOUN, "0"), ("あいだに", C_AFTER_ATTR, "0")],
    "間も": [("まも", C_NOUN, "0"), ("あいだも", C_AFTER_ATTR, "0")],
}

# Adverbs read as such before a verb (今行く いまいく, not the prefix こん; 御伝え おつたえ,
# not ご as before a Sino-Japanese noun), and how common
# (UniDic cost) a verb form must be to get such a headword.
ADVERBS = {"今": "いま", "何": "なに", "御": "お"}
ADVERB_VERB_COST = 6000

# how much rarer than the kanji's usual reading an adjective stem may be (強 つよ of 強さ, 重 おも
# of 重そう stay; 酸 す of 酸い would read 酸が すが)
ADJ_STEM_MARGIN = 2000

# Verb stems too rare to read a kanji alone by (覧 み of 覧る would read ご覧に as ごみに).
NO_STEM = {"覧"}

# Readings UniDic does not list for a use the reader needs (何 before a counter: なん).
EXTRA = {"何": [("なん", 25)], "月": [("げつ", 32)], "主": [("しゅ", 25)],
         # その他 そのた: after の (and after an attributive ending) 他 reads た
         "他": [("た", 34)]}
# Suffix readings to prefer to UniDic's first: 日 after a word is mostly び (記念日, 月曜日).
SUFFIX_PREFER = {"日": "び"}


def counter_compounds():
    """何 and 数 before the counters of num.ktn (何人 なんにん, 何本 なんぼん, 数年 すうねん): the
    number reader never sees them, and UniDic reads some as other words (何人 なにじん)."""
    import make_num
    shift = {1: 1, 2: 2, 3: 1, 4: 1}  # the counter's first kana after なん, as after さん
    out = []
    for surface, reading, vtype in make_num.ordered():
        if not reading or not all(kc.kind(ch) == 8 for ch in surface) or len(surface) > 2:
            continue
        voiced = chr(ord(reading[0]) + shift.get(vtype, 0)) + reading[1:]
        out.append(("何" + surface, "なん" + voiced, "1"))
        out.append(("数" + surface, "すー" + (reading if surface != "日" else "じつ"), "0"))
    return out


# Numerals + counter that the number reader never sees, with the accent Tokyo speakers give
# them where UniDic lacks the word: 人 on its first mora (よに'ん, as ごに'ん after the number
# reader). The months stay flat: after a year (2024年4月) the reader makes one word of both, whose
# template would put a second accent inside the year.
NUMERAL_ACCENT = {"四人": "2"}


def numeral_counter_accents(table):
    """Put NUMERAL_ACCENT in, and give 何 + a counter with an accent of its own that accent
    (何週間 なんしゅ'うかん, 何時間 なんじ'かん, 何か月 なんか'げつ), which the counter keeps
    after every number too; 何 before other counters keeps its own (な'んかい, な'んにん)."""
    import make_num
    types = make_num.unidic_types()
    for head, acc in NUMERAL_ACCENT.items():
        table[head] = [(r, c, acc if r == SUPPLEMENT[head] else a) for r, c, a in table[head]]
    for surface, reading, _ in make_num.ordered():
        head = "何" + surface
        own = make_num.accented(surface, reading, types)
        # 何人 keeps な'んにん, though 人 takes its own accent after a number
        if head not in table or "'" not in own[1:] or surface == "人":
            continue
        # the accent field counts kana, small ones too
        table[head] = [(r, c, str(2 + own.index("'")) if r.startswith("なん") else a)
                       for r, c, a in table[head]]
    # 数 before such a counter keeps its accent too (数時間 すーじ'かん, 数週間 すーしゅ'うかん)
    for surface, reading, _ in make_num.ordered():
        head = "数" + surface
        own = make_num.accented(surface, reading, types)
        if head in table and "'" in own[1:] and surface != "人":
            table[head] = [(r, c, str(2 + own.index("'")) if r.startswith("すー") else a)
                           for r, c, a in table[head]]


def not_a_stem(r, code):
    """An ichidan verb written with its kanji alone (着 for 着る, 見 for 見る) is its stem, which
    the reader completes with the kana that follow: the row's full forms (着 キル) would be read
    before those kana again (着ていく きるていく)."""
    return code in (C_KAMI, C_SHIMO) and r[9].split("-")[0] not in ("連用形", "未然形")


def same_stem_ok(reading, code, out):
    """A verb stem that reads like the kanji's usual reading (着 き of 着る and 着 き, clothing)
    still needs its own code, whose okurigana list lets the kana after it choose it."""
    return all(r != reading or LISTS.get(c) != LISTS.get(code) for r, c in out)


def verb_code(ctype):
    if ctype.startswith("五段-"):
        row = ctype[3:].split("-")[0].replace("行", "")
        return GODAN.get(row)
    if ctype.startswith("上一段"):
        return C_KAMI
    if ctype.startswith("下一段"):
        return C_SHIMO
    if ctype == "サ行変格":
        return C_SAHEN_VERB
    if ctype == "カ行変格":
        return C_SHIMO
    return None


def classify(r):
    """Code of a lexicon row, or None when the row is of no use to the reader."""
    pos1, pos2, pos3 = r[4], r[5], r[6]
    ctype = r[8]
    if ctype.startswith("文語") or ctype.startswith("助動詞"):
        return None
    if pos1 == "動詞":
        return C_ZURU if ctype == "上一段-ザ行" else verb_code(ctype)
    if pos1 == "形容詞":
        return C_ADJ if ctype == "形容詞" else None
    if pos1 == "形状詞":
        return C_TARI if pos2 == "タリ" else C_NA
    if pos1 == "名詞":
        if pos2 == "固有名詞":
            return C_PROPER
        if pos2 == "数詞":
            return C_NUMERAL
        return C_NOUN
    if pos1 == "代名詞":
        return C_PRONOUN
    if pos1 in ("副詞", "連体詞", "接続詞", "感動詞"):
        return C_ADVERB
    if pos1 == "接頭辞":
        return C_PREFIX
    if pos1 == "接尾辞":
        return C_COUNTER if pos3 == "助数詞" else C_SUFFIX
    return None


# One-kanji nouns that, as the later part of a compound, put its accent on the last mora of
# the part before (UniDic's accent combination type C3: 皮膚癌 ひふ'がん, 八千円 はっせ'んえん,
# 神奈川県): headword -> reading -> (cost, combination type) of the likeliest row.
COMBINATION = {}


def note_combination(head, reading, r, cost):
    if len(head) == 1 and r[4] == "名詞" and len(r) > 29:
        rd = COMBINATION.setdefault(head, {})
        if reading not in rd or cost < rd[reading][0]:
            rd[reading] = (cost, r[29])


# One-kanji suffixes whose compounds are flat (UniDic's combination type C4 of the suffix row:
# 現実的 げんじつてき, 不良品, 顕微鏡, 山田君): headword -> reading -> (cost, type).
SUFFIX_COMBINATION = {}
C_INNER = 33  # the reading a lone kanji inside a word takes first; no pull on the accent


def note_suffix_combination(head, reading, r, cost):
    if len(head) == 1 and r[4] == "接尾辞" and len(r) > 29:
        rd = SUFFIX_COMBINATION.setdefault(head, {})
        if reading not in rd or cost < rd[reading][0]:
            rd[reading] = (cost, r[29])


def with_flat_compounds(head, chosen):
    """A suffix whose compounds are flat is read inside a word with code 33, which puts no
    accent at the end of the part before it (現実的 げんじつてき, not げんじつ'てき) and has
    none of its own (安全性 あんぜんせー, though 性 alone is せ'ー); its code-32 reading stays
    for the other places (after a number, Latin letters or katakana)."""
    if len(head) != 1 or len(chosen) >= 6 or any(c == C_INNER for _, c, _ in chosen):
        return chosen
    types = SUFFIX_COMBINATION.get(head, {})
    if not types:
        return chosen
    reading = min(types, key=lambda r: (types[r][0], r))
    if types[reading][1] != "C4" or not any(r == reading for r, _, _ in chosen):
        return chosen
    flat = (reading, C_INNER, "0")
    at = next((i for i, (_, c, _) in enumerate(chosen) if c == C_SUFFIX), None)
    return chosen + [flat] if at is None else chosen[:at] + [flat] + chosen[at:]


def with_compound_accent(head, chosen):
    """A C3 noun read inside a word takes its reading again with the suffix code and no
    accent of its own, so that the compound gets one accent, at the end of the part before."""
    if len(head) != 1 or not chosen or any(c == C_SUFFIX for _, c, _ in chosen):
        return chosen
    reading, code, accent = chosen[0]
    if code not in (C_NOUN, C_KUN1) or accent == "0" or len(chosen) >= 6:
        return chosen
    if COMBINATION.get(head, {}).get(reading, (0, ""))[1] != "C3":
        return chosen
    return chosen + [(reading, C_SUFFIX, "0")]


def with_flat_c3_pull(head, chosen):
    """A flat one-kanji noun of combination type C3 (職, 党) read inside a word takes its
    reading again with the suffix code, as an accented one does in with_compound_accent: the
    compound's accent goes at the end of the part before (管理職 かんり'しょく)."""
    if len(head) != 1 or not chosen or len(chosen) >= 6:
        return chosen
    if any(c in (C_SUFFIX, C_INNER) for _, c, _ in chosen):
        return chosen
    reading, code, accent = chosen[0]
    if code != C_NOUN or accent != "0":
        return chosen
    if COMBINATION.get(head, {}).get(reading, (0, ""))[1] != "C3":
        return chosen
    return chosen + [(reading, C_SUFFIX, "0")]


def later_part_types(path):
    """(headword, reading) -> UniDic's accent-combination type of the likeliest common noun of
    two kanji or more so written and said: how a compound it ends is accented."""
    types = {}
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if len(s) < 2 or r[4] != "名詞" or r[5] != "普通名詞" or len(r) < 30:
                continue
            if not all(kc.kind(ch) == 8 for ch in s):
                continue
            reading = kc.sayable(r[13])
            if not reading:
                continue
            cost = int(r[3])
            if (s, reading) not in types or cost < types[(s, reading)][0]:
                types[(s, reading)] = (cost, r[29].strip('"').split(",")[0])
    return {k: t for k, (_, t) in types.items()}


def with_later_part_accent(head, chosen, types):
    """A flat noun of two kanji or more ending a longer kanji word gives the compound its
    accent (UniDic's combination types): C2 on its own first mora (停戦会談 てーせんか'いだん,
    日常生活 にちじょーせ'ーかつ), C3 on the last mora of the part before (車椅子 くるま'いす). The
    reader takes a code-33 reading there first and a code-32 one next, so the compound accent
    goes into a copy of the reading with that code: 33 with the accent on the first mora, 32
    with none, which puts it at the end of what precedes. A code-33 reading the noun already
    has (its voiced form: 競争会社 きょーそーが'いしゃ) takes the C2 accent itself. The part
    before keeps an accent of its own, which comes first: only a flat first part (or a prefix)
    lets the C2 accent show (社会問題 stays しゃ'かいも'んだい)."""
    if len(head) < 2 or not chosen or not all(kc.kind(ch) == 8 for ch in head):
        return chosen
    reading, code, accent = chosen[0]
    if code != C_NOUN or len(chosen) >= 6 or any(c == C_SUFFIX for _, c, _ in chosen):
        return chosen
    # an accented noun keeps its own accent in the compound whatever the type says (先生:
    # 黒崎先生 くろさきせんせ'ー; 交通事故 こーつーじ'こ, 民主主義 みんしゅしゅ'ぎ)
    if accent != "0":
        return chosen
    kind = types.get((head, reading))
    if kind == "C2":
        first = str(kc.morae_to_chars(reading, 1))
        if any(c == C_INNER for _, c, _ in chosen):
            return [(r, c, first if c == C_INNER else a) for r, c, a in chosen]
        return chosen + [(reading, C_INNER, first)]
    if kind == "C3":
        return chosen + [(reading, C_SUFFIX, "0")]
    return chosen


def accent_type(r):
    """UniDic's accent types of a row, the one to use first. An adjective listed as both flat
    and accented (難しい 0,4) is said with the accent in careful Tokyo speech, and so is a
    pronoun (何 0,1: な'にが, な'にか; 何も, flat, has an entry of its own). Nouns, adverbs and
    verbs so listed keep the flat type: as many of them are said flat as accented."""
    types = r[28].strip('"').split(",")
    if r[4] in ("形容詞", "代名詞") and types[0] == "0" and len(types) > 1:
        types = types[1:] + types[:1]
    if r[4] == "動詞" and types[0] != "0" and len(types) > 1:
        # an accented verb listed with two accents (考える 3,4) is said by Tokyo speakers now
        # with the accent on the mora before the last (かんがえ'る, かんがえ'ない)
        lemma = kc.to_hiragana(r[10])
        morae = sum(1 for i, ch in enumerate(lemma) if not (ch in kc.SMALL and i > 0))
        second_last = str(morae - 1)
        if second_last in types[1:]:
            types.remove(second_last)
            types.insert(0, second_last)
    return ",".join(types)


# 来る is accented (く'る): its forms have the accent on the stem (き'た, き'て, こ'ない, く'れば,
# こ'い), before ます (きま'す), on the volitional's よ (こよ'う), on なさい's さ (きなさ'い) and
# on the desiderative's た (きた'い),
# by the kana after the stem written out in SUPPLEMENT. The other stems (来ら, 来さ, 来れな …)
# stay flat: their endings give the accent (こられ'る).
KURU_ACCENT = {"来た": "1", "来て": "1", "来な": "1", "来る": "1", "来れ": "1", "来い": "1",
               "来ま": "2", "来よ": "2", "来そ": "2", "来そう": "2", "来なさ": "3", "来たい": "2"}


# The months written in kanji whose number has a reading of its own (四月 しがつ, 九月 くがつ)
# take the accent the number reader gives the other months, on the number (し'がつ, く'がつ, as
# さ'んがつ); 四時間 keeps じかん's own (よじ'かん, as いちじ'かん). Not 四時: after 午前 the two
# make one kanji word, whose accent would then leave 午前. The accent field counts kana.
SPECIAL_NUMERAL_ACCENT = {"四月": "1", "七月": "2", "九月": "1", "四時間": "2"}


def special_numeral_accents(table):
    """Put SPECIAL_NUMERAL_ACCENT into the entries' hand-written readings."""
    for head, acc in SPECIAL_NUMERAL_ACCENT.items():
        table[head] = [(r, c, acc if r == SUPPLEMENT[head] else a) for r, c, a in table[head]]


def supplement_accent(heads, head, reading):
    """The accent UniDic gives a numeral written out by hand, when it has the word (一人
    ひと'り, 二人 ふたり'), and the forms of 来る by the kana after the stem."""
    if head in KURU_ACCENT:
        return KURU_ACCENT[head]
    c = heads.get(head, {}).get(reading)
    return c.accent if c is not None else "0"


# Accents that Tokyo speakers give a word in running text where UniDic lists one type only:
# 人 is flat alone but takes the accent on its last mora after a modifier (この人は, 来た人が
# ひと'が), which is where it almost always stands.
SPOKEN_ACCENT = {"人": {"ひと": "2"}}


def spoken_accent(head, entry):
    """The entry of a headword with the accents of SPOKEN_ACCENT put in."""
    acc = SPOKEN_ACCENT.get(head, {})
    return [(r, c, acc.get(r, a) if a == "0" else a) for r, c, a in entry]


def accent_known(r):
    """Whether a row gives an accent type at all. Affix rows (目 め, 本 ほん) have none, and must
    not hide the accent of the noun read alike; the prefix reading keeps its own entry then."""
    return r[28].strip('"').split(",")[0].isdigit()


def take_accent(c, cost, accent):
    """A reading's accent is that of its likeliest row that has one (None: the row has none).
    The corpus counts make a suffix row cheaper than the noun (目 め), yet the noun's accent
    is how the word is said alone."""
    if accent is not None and cost < c.accent_cost:
        c.accent_cost = cost
        c.accent = accent


def conjugated_accent(r, reading, acc):
    """The accent of a godan verb form before its ending, by the Tokyo rules: an accented
    verb's irrealis puts it on its last kana, before ない, ず, れる, せる (かぎら'ない of
    かぎ'る, わから'ない); the volitional does so whether the verb is accented or flat
    (かこ'う, つかお'う)."""
    if r[4] == "形容詞":
        return adjective_form_accent(r, reading, acc)
    if r[4] != "動詞" or not r[8].startswith("五段"):
        return acc
    if r[9].startswith("意志推量形"):
        return str(len(reading) - 1 if reading.endswith("う") else len(reading))
    if r[9].startswith("未然形") and acc != "0":
        return str(len(reading))
    return acc


def adjective_form_accent(r, reading, acc):
    """An accented adjective's く and conditional forms (激しく, 激しけれ) have the accent one
    mora earlier than the plain form (はげし'い, はげ'しく, はげ'しければ). It never lands on ー,
    ん or っ (おーき'い, お'ーきく). The past and the volitional, which share a headword (楽しか),
    keep it where the plain form has it (たのし'かった, たのし'かろう), as the evaluation's
    speaker says them, and so does the stem written as a continuative (楽し), which is the
    plain form's headword too. Adjectives of three morae keep it in every form (たか'い,
    たか'く, たか'かった), as Tokyo speakers now mostly say them."""
    if acc == "0" or not r[9].startswith(("連用形-一般", "仮定形")):
        return acc
    starts = [i for i, ch in enumerate(reading) if not (ch in kc.SMALL and i > 0)]
    morae = sum(1 for i in starts if i < int(acc))
    if morae < 3:
        return acc
    m = morae - 1
    while m > 1 and reading[starts[m - 1]] in "ーんっ":
        m -= 1
    return str(kc.morae_to_chars(reading, m)) if m >= 1 else acc


def ra_nuki_accent(r, acc):
    """食べれ, 見れ, 乗れ, 下がれ are both a verb's conditional (食べれば たべ'れば, 乗れば の'れば)
    and the stem of its potential (食べれる たべれ'る, colloquial without ら; 乗れる のれ'る), whose
    rows UniDic makes likelier. Before ば and as a word end they are the conditional: the
    potential's stem rows take the verb's own accent (one mora before the potential's), and
    the potential's longer forms (乗れる) get entries of their own with theirs."""
    if r[8] != "下一段-ラ行" or not r[9].startswith(("未然形", "連用形")):
        return acc
    if not r[10].endswith("ル") or r[10].endswith("レル") or not r[13].endswith("レ"):
        return acc
    if acc is None or acc == "0":
        return acc
    return str(int(acc) - 1) if int(acc) > 1 else acc


def accent_chars(reading, atype):
    a = atype.split(",")[0].strip('"')
    if not a.isdigit() or a == "0":
        return "0"
    n = kc.morae_to_chars(reading, int(a))
    return str(n) if n else "0"


# The mark a flat inflecting word hands on to the hiragana after it. Its okurigana and endings
# are that hiragana word, which cannot otherwise tell a flat stem from one that has an accent
# somewhere; acc.ktn turns "+" before an ending that takes the accent after a flat word into
# that accent (買わ+ない -> かわな'い, 使い+ます -> つかいま'す) and drops it everywhere else.
FLAT_MARK = "+"


# Codes of flat nouns that hand the flat mark on too: the particles that take the accent after a
# flat noun then take it (がっこうに'わ, がっこうで'わ, しずかだ'った). Code 5 too (鳥だったら
# とりだ'ったら, 昔より むかしよ'り): the flat mark is no accent, so the pull such a kanji has
# as a later part of a compound stays (雨傘 あまが'さ, 青空 あおぞ'ら).
FLAT_NOUN_CODES = {C_NOUN, C_NA, C_PROPER, C_PRONOUN, C_KUN1}


def written_accent(head, reading, accent, code):
    """The accent field of one reading: a headword ending in okurigana that is flat, or a
    flat noun, puts the flat mark after its reading, which carries it onto the hiragana word
    that follows."""
    if accent == "0" and (kc.kind(head[-1]) == 4 or code in FLAT_NOUN_CODES):
        return f"{len(reading)}{FLAT_MARK}"
    return accent


def cut_after_kanji(surface, k):
    """(surface[:k], the hiragana after it, the rest)."""
    h = k
    while h < len(surface) and kc.kind(surface[h]) == 4:
        h += 1
    return surface[:k], surface[k:h], surface[h:]


def split_surface(surface):
    """(kanji run, following hiragana) of a surface, or None when it starts otherwise."""
    k = 0
    while k < len(surface) and kc.kind(surface[k]) == 8:
        k += 1
    if k == 0:
        return None
    return cut_after_kanji(surface, k)


class Cand:
    __slots__ = ("cost", "codes", "accent", "accent_cost", "prefix_accent")

    def __init__(self):
        self.cost = math.inf
        self.codes = {}
        self.accent = "0"
        self.accent_cost = math.inf
        self.prefix_accent = "0"  # that of the likeliest row, as a prefix reading says it


def read_counts():
    """How often prose reads a surface so (tools/corpus_counts.tsv, see corpus_counts.py)."""
    counts = {}
    with open(os.path.join(kc.HERE, "corpus_counts.tsv"), encoding="utf-8") as f:
        for line in f:
            surface, pron, pos, n = line.rstrip("\n").split("\t")
            counts[(surface, pron, pos)] = int(n)
    return counts


def greedy_reading(word, table):
    """How the reader reads a run of kanji with nothing around it: longest headwords first,
    a lone first kanji by its prefix reading, a lone inner one by its suffix reading.
    Returns the reading and where the pieces end."""
    out = ""
    ends = set()
    pos = 0
    step = 0
    found = False
    while pos < len(word):
        step += 1
        c = len(word) - pos
        while c > 0 and word[pos:pos + c] not in table:
            c -= 1
        if c == 0:
            return None, ends
        entry = table[word[pos:pos + c]]
        pick = None
        if c == 1 and len(word) > 1 and not found:
            pick = next((r for r, code, _ in entry if code == C_PREFIX), None)
        if c == 1 and step > 1 and pick is None:
            pick = next((r for r, code, _ in entry if code in (33, C_SUFFIX)), None)
        if pick is None:
            pick = next((r for r, code, _ in entry if code in PREFERRED), entry[0][0])
        out += pick
        found = True
        pos += c
        ends.add(pos)
    return out, ends


def add_runs(table, counts):
    """Runs of kanji that prose writes often and the longest match would misread (最優先 as
    最優 + 先, 不具合 as 不具 + 合) become headwords with the reading MeCab gives them."""
    best = likeliest_run_prons(counts)
    added = 0
    for cut in sorted(best):
        surface = cut.replace("|", "")
        reading = kc.sayable(best[cut][1])
        if not reading or surface in table or not kc.cp932_ok(surface):
            continue
        ends = set()
        at = 0
        for part in cut.split("|"):
            at += len(part)
            ends.add(at)
        got, pieces = greedy_reading(surface, table)
        # only where the longest match cuts the run elsewhere than MeCab does: where both cut
        # alike and differ only in a reading (月曜日 び or ひ), MeCab is no better a judge
        # (unless MeCab reads the run so often that way: 一番上 うえ, not じょう). A frequent
        # run is taken whatever its reading: as one word it is read without the accents of
        # its pieces (日本語 にほんご, not にほ'んご')
        if best[cut][0] >= RUN_READING_USES or got != reading and not pieces <= ends:
            table[surface] = [(reading, C_NOUN, "0")]
            added += 1
    return added


# The part that ends a compound says where its accent goes (UniDic's combination type of
# that part's row): C1 keeps its own accent, C2 puts it on its first mora, C3 on the last
# mora of what precedes, C4 makes the compound flat, C5 keeps the accent of what precedes.
RUN_MORA_SMALL = set("ァィゥェォャュョヮ")
# the pitch cannot fall from these: the accent goes one mora earlier
RUN_NO_NUCLEUS = set("ーンッ")


def run_part_rows(cuts):
    """Part surface -> [(cost, pronunciation, part of speech, accent type, combination
    type)] of its UniDic rows, likeliest first."""
    need = {p for c in cuts for p in c.split("|")}
    rows = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            if r[0] in need and len(r) > 29:
                rows.setdefault(r[0], []).append((int(r[3]), r[13], r[4], r[28].strip('"'), r[29].strip('"')))
    for v in rows.values():
        v.sort()
    return rows


def run_morae(pron):
    return [c for c in pron if c not in RUN_MORA_SMALL]


def compound_accent(parts, pron, rows):
    """The accent (mora count, 0 flat) of a run of words said as one compound noun, from
    its parts' rows; None when a part is no noun or suffix, or its rows say nothing."""
    picked = []
    at = 0
    for part in parts:
        row = next((x for x in rows.get(part, []) if pron.startswith(x[1], at) and x[1]), None)
        if row is None or row[2] not in ("名詞", "接尾辞") or row[2] == "名詞" and part.isdigit():
            return None
        picked.append(row)
        at += len(row[1])
    if at != len(pron) or not picked:
        return None
    first = picked[0][3].split(",")[0]
    if picked[0][2] != "名詞" or not first.isdigit():
        return None
    acc = int(first)
    total = len(run_morae(picked[0][1]))
    for _, p, _, atype, ctype in picked[1:]:
        kind = ctype.split(",")[0]
        own = atype.split(",")[0]
        if kind == "C1" and own.isdigit():
            acc = total + int(own) if own != "0" else 0
        elif kind == "C2":
            acc = total + 1
        elif kind == "C3":
            acc = total
        elif kind == "C4":
            acc = 0
        elif kind != "C5":
            return None
        total += len(run_morae(p))
    morae = run_morae(pron)
    while acc > 1 and morae[acc - 1] in RUN_NO_NUCLEUS:
        acc -= 1
    return acc


def likeliest_run_prons(counts):
    """{run cut by MeCab's parts (最|優先): (count, pronunciation)} with each run's likeliest
    pronunciation in the corpus counts."""
    best = {}
    for (surface, pron, pos), n in counts.items():
        if pos == "連語" and (surface not in best or n > best[surface][0]):
            best[surface] = (n, pron)
    return best


def run_compound_accents(table, counts):
    """Give the corpus runs add_runs made headwords the accent of a compound of their parts
    (飛行機 ひこ'ーき, 植木鉢 うえき'ばち, 被写体 ひしゃたい) instead of none."""
    best = likeliest_run_prons(counts)
    rows = run_part_rows(best)
    changed = 0
    for cut, (_, pron) in best.items():
        surface = cut.replace("|", "")
        reading = kc.sayable(pron)
        if table.get(surface) != [(reading, C_NOUN, "0")]:
            continue
        acc = compound_accent(cut.split("|"), pron, rows)
        if acc:
            n = kc.morae_to_chars(reading, acc)
            if n:
                table[surface] = [(reading, C_NOUN, str(n))]
                changed += 1
    return changed


def accented_head_runs(table, counts):
    """Runs of the corpus made of an accented noun and a last part that makes a compound flat
    (UniDic's combination type C4: 効果的 こーかてき, 保守的, 互換性, 個人用; not こ'ーかてき)
    become unaccented headwords however often they are seen: read in pieces, the first part
    would keep its own accent, which no later piece can take away. Returns how many."""
    best = likeliest_run_prons(counts)
    rows = run_part_rows(best)
    added = 0
    for cut, (_, pron) in sorted(best.items()):
        surface = cut.replace("|", "")
        reading = kc.sayable(pron)
        parts = cut.split("|")
        if not reading or surface in table or not kc.cp932_ok(surface) or parts[0] not in table:
            continue
        # a first part of two kanji or more (not 分前 after a number), read as the pieces read
        if len(parts[0]) < 2 or greedy_reading(surface, table)[0] != reading:
            continue
        head_reading, head_code, head_accent = table[parts[0]][0]
        if head_code != C_NOUN or head_accent == "0" or not reading.startswith(head_reading):
            continue
        # only where the compound is flat (a last part of type C4): where it has an accent of
        # its own elsewhere, the held-out text's reference reader mostly agrees with neither
        if compound_accent(parts, pron, rows) != 0:
            continue
        table[surface] = [(reading, C_NOUN, "0")]
        added += 1
    return added


# 的 makes a compound flat whatever the noun before it (UniDic's combination type C4 of its
# suffix row: 科学的 かがくてき, 社会的 しゃかいてき, 効果的): after an accented noun the reader
# cannot take that noun's accent away inside a word, so the compounds of every everyday
# accented noun (UniDic cost below FLAT_TEKI_HEAD_COST) are headwords of their own,
# unaccented. 風, of the same kind, is left out: it begins other words (風景, 風呂).
FLAT_TEKI_HEAD_COST = 5000
FLAT_TEKI = ("的", "てき")


def flat_teki_compounds(heads, table):
    """Add the headwords accented noun + 的 the table lacks; returns how many."""
    suffix, tail = FLAT_TEKI
    added = 0
    for head in sorted(heads):
        if len(head) < 2 or not all(kc.kind(ch) == 8 for ch in head) or head not in table:
            continue
        reading, code, accent = table[head][0]
        if code != C_NOUN or accent == "0" or reading not in heads[head]:
            continue
        if heads[head][reading].cost >= FLAT_TEKI_HEAD_COST or head + suffix in table:
            continue
        table[head + suffix] = [(reading + tail, C_NOUN, "0")]
        added += 1
    return added


def ends_a_word(r):
    """A volitional or imperative form (降ろ of 降ろう, 降る) takes no kana after it but う or
    よ: it cannot be the shorter word inside 降ろす or 降ろし."""
    return r[4] == "動詞" and r[9].split("-")[0] in ("意志推量形", "命令形")


def adverb_particle_accent(code, acc):
    """The accent of a kanji word ending in a particle-like kana. An adverb or conjunction so
    written (特に と'くに, 既に すで'に, 単に た'んに) is one word with UniDic's accent; a noun
    read with the kana (彼の) is mostly the noun and a particle, which the rules accent."""
    return acc if code == C_ADVERB else "0"


def collect(path, split=None):
    split = split or split_surface
    heads = {}  # headword -> reading -> Cand
    particle_heads = []
    rare_names = set()
    cut_heads = []
    sokuon_heads = []
    complete = {}  # okurigana headwords that are whole words, with their lowest cost
    continued = {}  # ... as forms that more kana may follow

    def add(head, reading, code, cost, accent):
        rd = heads.setdefault(head, {})
        c = rd.get(reading)
        if c is None:
            c = rd[reading] = Cand()
        if cost < c.cost:
            c.cost = cost
            c.prefix_accent = accent or "0"
        take_accent(c, cost, accent)
        if cost < c.codes.get(code, math.inf):
            c.codes[code] = cost

    counts = read_counts()
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            surface = r[0]
            parts = split(surface)
            if not parts:
                continue
            kanji, hira, rest = parts
            code = classify(r)
            if code is None:
                continue
            if not kc.cp932_ok(surface):
                continue
            cost = int(r[3])
            pron, kana = r[13], r[24]
            # a spelling of another lemma (家 written for 屋 や) is rarely meant
            lemma_kanji = [ch for ch in r[11].split("-")[0] if kc.kind(ch) == 8]
            if lemma_kanji and lemma_kanji != [ch for ch in surface if kc.kind(ch) == 8]:
                cost += VARIANT_PENALTY
                if (kanji, "".join(lemma_kanji)) in OTHER_VERB_SPELLINGS:
                    continue
            if r[5] == "固有名詞" and len(kanji) > 1 and r[6] != "人名":
                # a place or other proper name spelled like a common word (日向 ひむか, ひなた)
                cost += PROPER_PENALTY
            if r[5] == "固有名詞" and (len(kanji) == 1 or r[6] == "人名"):
                if r[6] == "人名" and len(kanji) > 1 and cost > MAX_COST_NAME and not hira:
                    # a rare name spelled like words (小文字 こもんじ) would hide them
                    rare_names.add(kanji)
                cost += NAME_PENALTY
            # voiced variants (かえ -> がえ inside compounds) are not the reading of a word alone
            lform = kc.sayable(r[10]) if r[10] != "*" else None
            first = kc.sayable(r[13][:1]) if r[13] != "*" else None
            # (a word starting with a vowel has no voiced form: 言う ゆー is how it is said)
            if lform and first and lform[0] != first and kc.sayable(r[13]).startswith(lform[0]) is False \
                    and lform[0] not in "あいうえお":
                cost += RENDAKU_PENALTY
            # a word's clipped pronunciation (本当 ほんと of ほんとー) is the casual one
            clipped = r[8] == "*" and lform and len(kc.sayable(r[13]) or "") < len(lform)
            if clipped:
                cost += CLIPPED_PENALTY
            # native suffixes (方 かた, 手 て) follow a verb's continuative form
            if code == C_SUFFIX and r[16] == "和":
                if kanji in AFTER_CONT:
                    code = C_AFTER_CONT
                elif counts.get((surface, pron, r[4]), 0) < NATIVE_SUFFIX_USES and surface not in NATIVE_SUFFIX:
                    # rarely a suffix in prose (語 かたり): inside a word the usual reading wins
                    continue
            # (MeCab chose a clipped form for the corpus by UniDic's own costs: no evidence)
            seen = None if clipped else counts.get((surface, pron, r[4]))
            # the corpus is technical prose: it may rank suffixes and compounds, but the
            # everyday reading of a kanji alone (体 からだ, not たい) stays UniDic's
            if seen and (len(surface) > 1 or r[4] in ("接尾辞", "接頭辞")):
                cost -= int(FREQ_WEIGHT * math.log(1 + seen))
            # counter-capable nouns (日 にち, 年 ねん) also give the reading after a number
            counter_too = r[4] == "名詞" and r[6] == "助数詞可能"
            if not hira:
                if not_a_stem(r, code):
                    continue
                if rest:
                    # kanji followed by katakana etc.: the reader never sees it as one word
                    continue
                reading = kc.sayable(pron)
                if not reading:
                    continue
                if len(kanji) > 1 and cost > MAX_COST_MULTI and code not in (C_PREFIX, C_SUFFIX, C_COUNTER):
                    if not given_name_kept(kanji, r, cost):
                        continue
                acc = accent_chars(reading, accent_type(r))
                if not accent_known(r) and code in (C_SUFFIX, C_COUNTER, C_AFTER_CONT, C_PREFIX):
                    acc = None
                note_combination(kanji, reading, r, cost)
                note_suffix_combination(kanji, reading, r, cost)
                if code in (C_NOUN,) and len(kanji) == 1 and r[16] == "和":
                    code = C_KUN1
                add(kanji, reading, code, cost, acc)
                if counter_too:
                    add(kanji, reading, C_COUNTER, cost + COUNTER_NOUN_PENALTY, acc)
                continue
            # kanji + okurigana: the kanji part reads the pronunciation without the kana tail
            if hira[0] in kc.SMALL or "ゐ" in hira or "ゑ" in hira:
                continue  # odd or old spellings (可愛ゅう, 据ゑる)
            tailk = kc.to_katakana(hira + rest)
            stem = None
            # the tail after the hiragana may hold more kanji; align only when it does not.
            # The written kana serve only where a long vowel hides the tail (言う ゆー); any
            # other mismatch is an old spelling (行は for 行わ) that nobody writes today.
            if not rest and pron.endswith(tailk) and len(pron) > len(tailk):
                stem = pron[: len(pron) - len(tailk)]
            elif not rest and tailk[-1] in "ウイ" and kana.endswith(tailk) and len(kana) > len(tailk):
                stem = kana[: len(kana) - len(tailk)]
            if stem is None:
                if rest:
                    # 取り扱い and the like: align the first kana run only
                    tk = kc.to_katakana(hira)
                    i = kana.find(tk, 1)
                    if i <= 0:
                        continue
                    stem = kana[:i]
                else:
                    continue
            stem = kc.sayable(stem)
            if not stem:
                continue
            if cost > MAX_COST_OKURI:
                continue
            if rest and hira == "っ":
                # 引っ of 引っ張る: the sokuon alone is the okurigana of the first kanji, taken
                # below where no word is spelled so (下っ くだっ of 下る, not したっ of 下っ端)
                sokuon_heads.append((kanji + hira, stem + hira, code, cost))
                continue
            if rest:
                tails = [hira[:2]] if len(hira) >= 2 else []
            elif len(hira) <= 2:
                tails = [hira]
            else:
                tails = [hira[:2]]
            reading_full = stem + kc.to_hiragana(hira)
            acc = accent_chars(reading_full, accent_type(r))
            if r[8].startswith("五段") and r[9] == "連用形-一般" and acc != "0" and int(acc) < len(stem):
                # 帰り is mostly followed by ます, which takes the accent (かえりま'す); an accent
                # inside the kanji's reading would stay there. One on the okurigana (書き か'き)
                # is handed on to it, where the rules move it onto ます or keep it (か'きかた).
                acc = "0"
            acc = conjugated_accent(r, reading_full, acc)
            acc = ra_nuki_accent(r, acc)
            if len(hira) == 1 and not rest and hira in PARTICLES:
                acc_p = acc if acc == "0" or int(acc) <= len(stem) + 3 else "0"
                if code not in VERB_CODES and code != C_ADJ:
                    particle_heads.append((kanji, kanji + hira, stem + hira, code, cost, 0, adverb_particle_accent(code, acc_p)))
                    continue
                if hira != "か":  # 続か, 書か: か after a noun is rarer than these verbs
                    # a rare verb (雪ぐ すすが) must not read 雪が
                    complete[kanji + hira] = min(complete.get(kanji + hira, cost), cost)
                    if not ends_a_word(r):
                        continued[kanji + hira] = min(continued.get(kanji + hira, cost), cost)
                    particle_heads.append((kanji, kanji + hira, stem + hira, code, cost, VERB_PARTICLE_MARGIN, acc_p))
                    continue
            for t in tails:
                acc_t = acc if acc == "0" or int(acc) <= len(stem + t) + 2 else "0"
                if len(t) < len(hira) or rest or len(t) == 2:
                    # two kana of okurigana (入りま of 入り混じる, 同じよ of 同じる) meet the
                    # forms of shorter words followed by an ending (入ります, 同じよう): decided below
                    cut_heads.append((kanji, t, stem + t, code, cost, acc_t, len(t) < len(hira) or bool(rest)))
                else:
                    complete.setdefault(kanji + t, cost)
                    complete[kanji + t] = min(complete[kanji + t], cost)
                    if not ends_a_word(r):
                        continued[kanji + t] = min(continued.get(kanji + t, cost), cost)
                    add(kanji + t, stem + t, code, cost, acc_t)
    for head, reading, code, cost in sokuon_heads:
        if head not in heads:
            add(head, reading, code if code in (C_NOUN, C_PREFIX) else C_NOUN, cost, "0")
    for kanji, t, reading, code, cost, acc, cut in cut_heads:
        shorter = (complete if t[1:] in "うよ" else continued).get(kanji + t[:1])
        if shorter is not None and shorter < cost:
            # 入り (はいり) + ます is the likelier reading of 入りま; 同じ + よう of 同じよ, unless
            # both read the kanji alike
            rd = heads.get(kanji + t[:1], {})
            usual = min(rd, key=lambda r: (rd[r].cost, r))[:-1] if rd else None
            if cut or reading[:-2] != usual:
                continue
        add(kanji + t, reading, code, cost, acc)
    # 逆だっ (of 逆立つ) reads 逆だった as さかだった: two kana after a common noun that begin
    # with the copula are the copula far more often than a rarer verb's ending
    for head in sorted(heads):
        kanji = head.rstrip(kc.HIRAGANA)
        tail = head[len(kanji):]
        if len(tail) != 2 or tail[0] != "だ" or kanji not in heads:
            continue
        rd = heads[head]
        if not all(code in VERB_CODES for c in rd.values() for code in c.codes):
            continue
        alone = [c.cost for c in heads[kanji].values()
                 if any(k not in (C_PREFIX, C_SUFFIX, C_COUNTER, C_AFTER_CONT) for k in c.codes)]
        if alone and min(alone) <= COMMON_WORD_COST and min(c.cost for c in rd.values()) > min(alone) + VERB_PARTICLE_MARGIN:
            print("particle tail dropped:", head, list(rd), file=sys.stderr)
            del heads[head]
    for name in rare_names:
        # only when nothing but names of that spelling is known
        rd = heads.get(name, {})
        if rd and all(C_PROPER in c.codes and len(c.codes) == 1 for c in rd.values()) \
                and min(c.cost for c in rd.values()) > MAX_COST_NAME + NAME_PENALTY:
            del heads[name]
    # 最も (もっとも) is a word, 彼の (あの) mostly 彼 + の: keep such a headword only when
    # it is more likely than the kanji read alone
    for kanji, head, reading, code, cost, margin, acc in particle_heads:
        alone = [c.cost for c in heads.get(kanji, {}).values()
                 if any(k not in (C_PREFIX, C_SUFFIX, C_COUNTER, C_AFTER_CONT) for k in c.codes)]
        if not alone or min(alone) + margin > cost or margin and min(alone) > COMMON_WORD_COST:
            add(head, reading, code, cost, acc)
    return heads


# Kana that join two kanji into one word (the reader's join.ktn makes them kanji there): the
# okurigana inside compound verbs and nouns (持ち帰る, 引き起こす, 落ち葉, 受け付け) and the ん of
# 真ん中, 赤ん坊, 踏ん張る. Kept in step with JOIN_KANA of make_marks.py.
JOIN_KANA = "りきちみけげべれえびめぎっん"
JOIN_BEFORE_NOT = "始終"


def joined_split(surface):
    """split_surface for a surface whose kanji runs are parted by one joining kana each
    (持ち帰 + る, 落ち葉): that whole run is the kanji part, as the reader sees it."""
    k = 0
    while k < len(surface) and kc.kind(surface[k]) == 8:
        k += 1
    if k == 0:
        return None
    joined = False
    while (k + 1 < len(surface) and surface[k] in JOIN_KANA and kc.kind(surface[k + 1]) == 8
           and surface[k + 1] not in JOIN_BEFORE_NOT):
        k += 1
        joined = True
        while k < len(surface) and kc.kind(surface[k]) == 8:
            k += 1
    if not joined:
        return None
    return cut_after_kanji(surface, k)


def okurigana_compounds(heads, path):
    """Headwords for words written kanji + kana + kanji (持ち帰, 落ち葉, 受け付), taken as the
    other headwords are, so that the reader's longest match finds them in the joined word."""
    # A compound of 出る that has no 出す beside it (歩き出る) would give its stem the reading
    # で, and the far commoner 歩き出す, which UniDic does not list, would read あるきです.
    with open(path, encoding="utf-8", newline="") as fh:
        dasu = {r[11][:-1] for r in csv.reader(fh) if joined_split(r[0]) and r[11].endswith("出す")}
    # only those rows, so that the second pass is short
    with open(path, encoding="utf-8", newline="") as fh, tempfile.NamedTemporaryFile(
            "w", encoding="utf-8", newline="", suffix=".csv", delete=False) as out:
        w = csv.writer(out)
        for r in csv.reader(fh):
            if joined_split(r[0]) and not (r[11].endswith("出る") and r[11][:-1] not in dasu):
                w.writerow(compound_verb_accent(r))
    try:
        joined = collect(out.name, joined_split)
    finally:
        os.unlink(out.name)
    added = 0
    for head, rd in joined.items():
        if head not in heads:
            heads[head] = rd
            added += 1
    print(f"{added} okurigana compounds", file=sys.stderr)


def compound_verb_accent(r):
    """A compound verb that UniDic lists flat and accented (持ち帰る 0,3, 取り出す 0,3) with
    the accented type first: that is how it is said in running speech (とりだ'した)."""
    types = r[28].split(",") if len(r) > 28 else []
    if r[4] == "動詞" and len(types) > 1 and types[0] == "0":
        r = r[:28] + [",".join(types[1:] + types[:1])] + r[29:]
    return r


def adverb_verbs(heads):
    """今 and 何 before a verb (今行く, 今知った, 何食わぬ): the kanji run 今行 is no word, so
    the reader would take 今 as a prefix (今大会 こんたいかい). Each common verb form of one
    kanji gets a headword with the adverb in front."""
    for head in sorted(heads):
        kanji = head.rstrip(kc.HIRAGANA)
        rd = heads[head]
        if len(kanji) != 1 or kanji == head:
            continue
        verbs = {r: c for r, c in rd.items() if any(code in VERB_CODES for code in c.codes)}
        if not verbs or min(c.cost for c in verbs.values()) >= ADVERB_VERB_COST:
            continue
        for adverb, reading in ADVERBS.items():
            if adverb + head in heads:
                continue
            new = heads[adverb + head] = {}
            for r, c in verbs.items():
                n = new[reading + r] = Cand()
                n.cost, n.accent = c.cost, "1"
                n.codes = {code: cost for code, cost in c.codes.items() if code in VERB_CODES}


STEM_CODES = VERB_CODES | {C_ADJ}


def stems_first(out):
    """A native noun (code 5) says さしすせそ may follow it, which would beat a stem whose
    ending is one of them (尊さ とうとさ, not みことさ): the stems go before it."""
    if out[0][1] != C_KUN1:
        return out
    stems = [x for x in out[1:] if x[1] in STEM_CODES]
    return stems + [x for x in out if x not in stems] if stems else out


def choose(head, rd):
    """Readings and codes of one headword, in the order the selection rules need."""
    items = sorted(rd.items(), key=lambda kv: (kv[1].cost, kv[0]))
    standalone = []
    by_code = {}
    for reading, c in items:
        for code, cost in c.codes.items():
            by_code.setdefault(code, []).append((cost, reading))
            if code not in (C_PREFIX, C_SUFFIX, C_COUNTER):
                standalone.append((cost, reading, code))
    for v in by_code.values():
        v.sort()
    standalone.sort()
    out = []  # (reading, code)
    if standalone:
        out.append(standalone[0][1:])
    else:
        cost, reading = min((v[0] for v in by_code.values()))
        code = min(k for k, v in by_code.items() if v[0] == (cost, reading))
        out.append((reading, code))
    default = out[0][0]
    standalone_cost = standalone[0][0] if standalone else 0
    if len(head) == 1:
        # other standalone readings with an okurigana list (verb stems such as 出 で, and
        # adjective stems such as 強 つよ: 強さ, 重そう)
        seen = {(default, out[0][1])}
        for cost, reading, code in standalone:
            margin = ADJ_STEM_MARGIN if code == C_ADJ else 4000
            if (code in VERB_CODES or code == C_ADJ) and (reading, code) not in seen and same_stem_ok(reading, code, out) \
                    and head not in NO_STEM \
                    and cost < out_cost(rd, default) + margin:
                out.append((reading, code))
                seen.add((reading, code))
        if out[0][1] not in PREFERRED:
            out.insert(1, (default, C_NOUN))
        nouns = {r for _, r, _ in standalone}
        if C_COUNTER in by_code and C_SUFFIX not in by_code and (
                by_code[C_COUNTER][0][1] in nouns
                and by_code[C_COUNTER][0][0] < standalone[0][0] + COUNTER_AS_SUFFIX_MARGIN + COUNTER_NOUN_PENALTY
                or out[0][1] == C_KUN1):
            # a counter reading (時 じ) is also the reading inside compounds (起動時) and
            # after katakana; code 32 serves after numbers too
            by_code[C_SUFFIX] = by_code.pop(C_COUNTER)
        for code in (C_PREFIX, C_SUFFIX, C_COUNTER, C_AFTER_CONT, C_AFTER_ATTR):
            if code in by_code:
                reading = by_code[code][0][1]
                if code == C_SUFFIX and head in SUFFIX_PREFER:
                    reading = SUFFIX_PREFER[head]
                if reading == default and not (code == C_PREFIX and rd[reading].accent != "0"
                                               and rd[reading].prefix_accent == "0"):
                    # the usual reading serves here too, unless it has an accent that a
                    # prefix has not (本 ほ'ん alone, ほん before a noun)
                    continue
                if code == C_PREFIX and by_code[code][0][0] > standalone_cost + PREFIX_MARGIN:
                    continue  # a rare prefix (皆 かい) would misread 皆知って
                if code == C_SUFFIX and by_code[code][0][0] > standalone_cost + SUFFIX_MARGIN:
                    continue  # a rare suffix (部 べ of 物部) would misread 中心部
                if code == C_COUNTER and C_SUFFIX in by_code and by_code[C_SUFFIX][0][1] == reading:
                    continue
                out.append((reading, code))
        if any(code == C_AFTER_CONT for _, code in out) and (default, C_AFTER_ATTR) not in out:
            # after an adjective or an attributive ending the usual reading stays (早い方 ほう),
            # though い ends continuative forms too (使い方 かた)
            at = next(i for i, (_, code) in enumerate(out) if code == C_AFTER_CONT)
            out.insert(at, (default, C_AFTER_ATTR))
        out = stems_first(out)
    else:
        # longer headwords: a second reading only when the okurigana decides between them
        for cost, reading, code in standalone[1:]:
            if code in LISTS and reading != default and cost < out_cost(rd, default) + 2000:
                if not any(r == reading for r, _ in out):
                    out.append((reading, code))
                    break
    return out[:6]


def out_cost(rd, reading):
    return rd[reading].cost


def neutral_pick(entry, nxt):
    """The reading the reader takes from an entry for a kanji followed by the kana nxt, when
    no neighbour decides (rule 8, then 11, then 12)."""
    if len(entry) == 1:
        return 0
    for i, (_, code, _) in enumerate(entry):
        if code not in (34, 35) and nxt in LISTS.get(code, ""):
            return i
    for i, (_, code, _) in enumerate(entry):
        if code in PREFERRED:
            return i
    return 0


def redundant(head, entry, table):
    """True when an okurigana headword reads (and accents) exactly as the shorter headword
    before its last kana does, in every context: then it only costs loading time."""
    tail = len(head) - len(head.rstrip(kc.HIRAGANA))
    if tail == 0 or len(entry) > 1:
        return False
    shorter = head[:-1] if tail == 2 and head[:-1] in table else head[:-tail]
    base = table.get(shorter)
    if base is None:
        return False
    nxt = head[len(shorter)]
    k = neutral_pick(base, nxt)
    reading, _, accent = base[k]
    cut = len(head) - len(shorter)
    # a reading chosen by the neighbours (after a number, as a prefix, inside a word) must
    # not differ either
    if any(r != reading for r, c, _ in base if c in (C_PREFIX, C_SUFFIX, C_COUNTER, 33, 36)):
        return False
    if shorter != head[:-tail]:
        reading_here = reading[:-1]  # the shorter headword already holds one kana
        mine = entry[0][0][:-tail]
    else:
        reading_here = reading
        mine = entry[0][0][:-cut]
    return mine == reading_here and entry[0][2] == accent


# Sequential voicing: a kanji whose reading is voiced at the end of most compounds that UniDic
# lists (手袋 てぶくろ, 本棚 ほんだな, 火鉢 ひばち) reads so at the end of a compound it does not
# list (植木鉢, ビニール袋, 夕方頃). Common words count, weighted by how common; names do not.
C_INNER = 33          # the reading of a lone kanji inside a word (tried before code 32)
VOICED = dict(zip("かきくけこさしすせそたちつてとはひふへほ", "がぎぐげござじずぜぞだじずでどばびぶべぼ"))
VOICING_MIN_TYPES = 5
VOICING_RATIO = 1.2   # how much likelier than any other final reading the voiced one must be
VOICING_COST_SCALE = 1000


def voiced_tails(path):
    """Kanji -> (reading alone, voiced reading), for the kanji whose compounds mostly end
    voiced. Each compound counts by how common it is (UniDic's word cost: e^(-cost/1000)),
    so that 鉄橋 てっきょう outweighs a dozen rare 〜ばし."""
    reads = {}
    native = {}
    rows = {}
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if not s or r[13] == "*" or not all(kc.kind(ch) == 8 for ch in s):
                continue
            p = kc.sayable(r[13])
            if not p:
                continue
            reads.setdefault(s, set()).add(p)
            if len(s) == 1 and r[4] == "名詞" and r[5] != "固有名詞":
                # the native readings, or the others when it has none (鉢 はち)
                n = native.setdefault(s, ({}, {}))[0 if r[16] == "和" else 1]
                n[p] = min(n.get(p, math.inf), int(r[3]))
            if len(s) > 1 and r[5] != "固有名詞":
                rows[(s, p)] = min(rows.get((s, p), math.inf), int(r[3]))
    finals = {}
    types = {}
    for (s, p), cost in sorted(rows.items()):
        for before in sorted(reads.get(s[:-1], ())):
            if p.startswith(before) and len(p) > len(before):
                f = finals.setdefault(s[-1], {})
                tail = p[len(before):]
                f[tail] = f.get(tail, 0.0) + math.exp(-cost / VOICING_COST_SCALE)
                t = types.setdefault(s[-1], {})
                t[tail] = t.get(tail, 0) + 1
                break
    out = {}
    for kanji in sorted(finals):
        if kanji not in native:
            continue
        f = finals[kanji]
        # of the kanji's readings alone, the one whose voiced form ends the most compounds
        alone = native[kanji][0] or native[kanji][1]
        options = sorted((-f.get(kc.sayable(VOICED[r[0]] + r[1:]), 0.0), r) for r in alone if r[0] in VOICED)
        if not options:
            continue
        kun = options[0][1]
        voiced = kc.sayable(VOICED[kun[0]] + kun[1:])
        n = f.get(voiced, 0.0)
        other = max((m for t, m in f.items() if t != voiced), default=0.0)
        if types[kanji].get(voiced, 0) >= VOICING_MIN_TYPES and n >= VOICING_RATIO * other:
            out[kanji] = (kun, voiced)
    return out


def add_voiced_tails(table, tails):
    """The voiced reading for a lone kanji inside a word (code 33), and after katakana (code
    32) where the kanji has no Sino-Japanese suffix reading there."""
    for kanji, (kun, voiced) in tails.items():
        entry = table.get(kanji)
        if not entry or any(c == C_INNER for _, c, _ in entry):
            continue
        suffix = [i for i, (r, c, _) in enumerate(entry) if c == C_SUFFIX]
        if not suffix:
            entry.append((voiced, C_SUFFIX, "0"))
        elif all(entry[i][0] == kun for i in suffix):
            for i in suffix:
                entry[i] = (voiced, C_SUFFIX, entry[i][2])
        entry.append((voiced, C_INNER, "0"))


# Sequential voicing after a verb's stem: a kanji word right after kana that ended the word
# before it as okurigana (殴り書き, 鳴き声, 落ち葉, 行き詰まる) is the second half of a compound,
# and such halves are mostly voiced. A particle in the same place (紙に書き, 人に声) is no
# okurigana, so the reader takes this reading (code 36) only after a stem it read through.
C_AFTER_STEM = 36
STEM_ENDS = set("いきしちにひみりぎじびぴえけせてねへめれげぜでべぺ")  # continuative endings
STEM_MIN_TYPES = 3
STEM_SUFFIX_HEARD = 100
STEM_RATIO = 1.5      # how much likelier than every other reading there the voiced one must be


def stem_voicing(path, table, inner=False):
    """Kanji headword -> reading voiced after a verb stem, from the UniDic words written
    kanji + kana of a stem + one kanji (+ okurigana), each weighted by how common it is.
    With inner: kanji headwords with okurigana voiced after more kanji, from the words
    written kanji + one kanji + okurigana (前払い まえばらい, 大通り おおどおり)."""
    reads = {}
    rows = []
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if not s or r[13] == "*" or r[5] == "固有名詞":
                continue
            p = kc.sayable(r[13])
            if not p:
                continue
            reads.setdefault(s, set()).add(p)
            rows.append((s, p, int(r[3])))
    tally = {}
    for s, p, cost in sorted(set(rows)):
        tail = len(s) - len(s.rstrip(kc.HIRAGANA))
        body = s[:len(s) - tail]
        if inner:
            if tail == 0 or len(body) < 2 or not all(kc.kind(ch) == 8 for ch in body):
                continue
        elif len(body) < 3 or kc.kind(body[-1]) != 8 or body[-2] not in STEM_ENDS:
            continue
        front = body[:-1]
        if kc.kind(front[0]) != 8:
            continue
        key = body[-1] + s[len(body):][:2]
        entry = table.get(key)
        if not entry:
            continue
        usual = entry[0][0]
        if len(key) > 1:
            usual = usual[:len(usual) - (len(key) - 1)]
        if not usual or usual[0] not in VOICED:
            continue
        okuri = kc.sayable(s[len(body):]) if tail else ""
        for before in sorted(reads.get(front, ())):
            if not p.startswith(before) or not p.endswith(okuri):
                continue
            mid = p[len(before):len(p) - len(okuri)]
            voiced = kc.sayable(VOICED[usual[0]] + usual[1:])
            t = tally.setdefault(key, [0.0, 0.0, 0])
            w = math.exp(-cost / VOICING_COST_SCALE)
            if mid == voiced:
                t[0] += w
                t[2] += 1
            else:
                t[1] += w  # plain, or another reading (勤め人 にん)
            break
    # a suffix reading the corpus uses often and the voiced one never is what a stem takes
    # in running text (読み込み時 よみこみじ, not the どき of 引き時)
    heard = {}
    for (surface, pron, _), n in read_counts().items():
        p = kc.sayable(pron)
        heard[(surface, p)] = heard.get((surface, p), 0) + n
    out = {}
    for key, (v, plain, types) in sorted(tally.items()):
        if types >= STEM_MIN_TYPES and v >= STEM_RATIO * plain:
            usual = table[key][0][0]
            voiced = kc.sayable(VOICED[usual[0]] + usual[1:])
            suffixes = {r for r, c, _ in table[key] if c == C_SUFFIX and r != voiced}
            if heard.get((key, voiced), 0) == 0 and any(
                    heard.get((key, r), 0) >= STEM_SUFFIX_HEARD for r in suffixes):
                continue
            out[key] = voiced
    return out


def add_stem_voicing(table, voiced, code=C_AFTER_STEM):
    for key, reading in sorted(voiced.items()):
        entry = table[key]
        if any(c == code for _, c, _ in entry):
            continue
        entry.append((reading, code, "0"))
    return len(voiced)


def likelier_voiced_forms(path):
    """Kanji -> voiced reading, for the native nouns of one kanji whose voiced form UniDic
    lists as the same word and ranks likelier than the plain one (川 がわ before かわ): the
    form it takes at the end of compounds."""
    rows = {}
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if len(s) != 1 or r[4] != "名詞" or r[5] != "普通名詞" or r[13] == "*":
                continue
            p = kc.sayable(r[13])
            if not p:
                continue
            forms = rows.setdefault((s, r[11]), {})
            forms[p] = min(forms.get(p, math.inf), int(r[3]))
    out = {}
    for (s, _), forms in sorted(rows.items()):
        for p, cost in sorted(forms.items()):
            if p[0] not in VOICED:
                continue
            voiced = kc.sayable(VOICED[p[0]] + p[1:])
            if forms.get(voiced, math.inf) < cost:
                out.setdefault(s, {})[p] = voiced
    return out


def voice_suffix_copies(table, forms):
    """A code-32 reading that only repeats the native noun (川 かわ after katakana: アマゾン川)
    takes the likelier voiced form."""
    changed = 0
    for kanji, pairs in sorted(forms.items()):
        entry = table.get(kanji)
        if not entry or entry[0][1] != C_KUN1:
            continue
        usual = entry[0][0]
        if usual not in pairs:
            continue
        # the copy a C3 noun gets for compounds (with_compound_accent) is made here, voiced
        if not any(c == C_SUFFIX for _, c, _ in entry):
            entry[:] = with_compound_accent(kanji, entry)
        for i, (r, c, a) in enumerate(entry):
            if c == C_SUFFIX and r == usual:
                entry[i] = (pairs[r], c, a)
                changed += 1
    return changed


# A noun of two kanji or more whose voiced form UniDic lists as the same word at nearly its
# cost: that form is heard only at the end of compounds, and about as often as the noun
# itself (時計 とけい 4,239, どけい 4,450; 小屋 ごや even cheaper). Common nouns only: the costs
# of rare ones are estimates that put both forms level, and forms within VOICED_WORD_LEVEL of
# each other are taken for such estimates (贔屓 ひいき and びいき both 3,948).
VOICED_WORD_MAX_COST = 5000
VOICED_WORD_MARGIN = 300
VOICED_WORD_LEVEL = 10


def voiced_word_forms(path, table):
    """Headword of two characters or more -> its voiced reading, which the reader takes when
    the word ends a longer kanji word (腕時計 うでどけい, 犬小屋 いぬごや, 水不足 みずぶそく) or
    follows katakana (パシフィック通り)."""
    forms = {}
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if len(s) < 2 or r[4] != "名詞" or r[5] != "普通名詞" or r[13] == "*":
                continue
            if kc.kind(s[0]) != 8 or len(s) - len(s.rstrip(kc.HIRAGANA)) > 2:
                continue
            p = kc.sayable(r[13])
            if not p:
                continue
            f = forms.setdefault((s, r[11]), {})
            f[p] = min(f.get(p, math.inf), int(r[3]))
    out = {}
    for (s, _), f in sorted(forms.items()):
        entry = table.get(s)
        if not entry or any(c == C_INNER for _, c, _ in entry):
            continue
        usual = entry[0][0]
        if usual not in f or usual[0] not in VOICED or f[usual] > VOICED_WORD_MAX_COST:
            continue
        voiced = kc.sayable(VOICED[usual[0]] + usual[1:])
        gap = f.get(voiced, math.inf) - f[usual]
        if gap <= VOICED_WORD_MARGIN and abs(gap) >= VOICED_WORD_LEVEL:
            out[s] = voiced
    return out


# Person names somewhat rarer than those every compound limit keeps (京子, 美智子, 真由美):
# kept where no ordinary word hides in their spelling (小文字 is 小 + 文字, not こもんじ) and
# no numeral (一二 would read 一二三).
NAME_EXTRA_COST = 1000
NUMERALS = set("〇一二三四五六七八九十百千万億兆")
RARER_NAMES = set()


def given_name_kept(kanji, r, cost):
    if r[5] != "固有名詞" or r[6] != "人名" or cost > MAX_COST_MULTI + NAME_EXTRA_COST:
        return False
    if NUMERALS & set(kanji):
        return False
    RARER_NAMES.add(kanji)
    return True


def drop_hiding_names(table):
    """The rarer names admitted above whose spelling the dictionary reads as ordinary words
    of more than one kanji without them."""
    dropped = 0
    for name in sorted(RARER_NAMES):
        entry = table.get(name)
        if entry is None or any(c != C_PROPER for _, c, _ in entry):
            continue
        del table[name]
        pos, hidden = 0, False
        while pos < len(name):
            c = len(name) - pos
            while c > 1 and name[pos:pos + c] not in table:
                c -= 1
            piece = table.get(name[pos:pos + c])
            if c > 1 and piece and any(code != C_PROPER for _, code, _ in piece):
                hidden = True
            pos += c
        if hidden:
            dropped += 1
        else:
            table[name] = entry
    return dropped


KANA_NOUNS_OUT = Path(__file__).resolve().parent.parent / "analysis" / "kana_nouns.inc"
# the function words a kana noun's spelling must not also be: the reader cannot tell them
# apart (この, しか, かた, ため)
NOT_KANA_NOUN_POS = ("助詞", "助動詞", "連体詞", "形容詞", "形状詞", "接続詞", "感動詞", "代名詞",
                     "副詞", "接頭辞", "接尾辞")
# common compounds only: UniDic lists rare ones by the thousand at cost 6,820
KANA_NOUN_MAX_COST = 7000


def kana_compound_nouns(path):
    """Hiragana nouns that UniDic's common compounds join to a kanji said voiced (うがい薬
    うがいぐすり, かゆみ止め かゆみどめ, いちご狩り いちごがり): after them the reader takes a
    kanji word's voiced reading. Spellings also used as a function word, an adjective or a
    verb form other than the continuative are left out."""
    shape = re.compile(r"^([\u3041-\u3093\u30fc]{2,})([^\u3041-\u30ff]+[\u3041-\u3093]{0,2})$")
    function, forms, stems, found = set(), set(), set(), set()
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if s and all(ch in kc.HIRAGANA for ch in s):
                if r[4] in NOT_KANA_NOUN_POS:
                    function.add(s)
                elif r[4] == "動詞":
                    (stems if r[9].startswith("連用形") else forms).add(s)
                continue
            m = shape.match(s)
            if not m or r[4] != "名詞" or r[5] != "普通名詞" or r[13] == "*":
                continue
            if int(r[3]) > KANA_NOUN_MAX_COST or not all(kc.kind(ch) == 8 for ch in m.group(2).rstrip(kc.HIRAGANA)):
                continue
            p = kc.sayable(r[13])
            kana = m.group(1)
            if p and p.startswith(kana) and p[len(kana):][:1] in VOICED.values():
                found.add(kana)
    return sorted(k for k in found if k not in function and (k not in forms or k in stems))


# Nouns of time and frequency said as adverbs (毎朝必ず, 昨年結婚, 実際喧嘩): UniDic's
# adverbial nouns of two kanji or more that begin with one of these kanji, and the ones listed.
ADVERBIAL_FIRST = "毎昨翌来先"
ADVERBIAL_NOUNS = ("今回", "今夏", "今夕", "今夜", "今季", "今宵", "今年", "今度", "今後", "今春",
                   "今晩", "今月", "今朝", "今秋", "今週", "今冬", "昨今", "明朝", "明後日",
                   "一昨年", "実際", "始終", "通常", "少々", "多少", "一切", "結局", "常時", "随時",
                   "時々", "日々", "近々", "早々", "再度", "若干", "大体", "大概", "幾分", "終日",
                   "連日", "一応", "年々", "月々")


def adverbial_nouns(path):
    """Headwords whose noun reading the reader takes as an adverb (code 26): before another
    word in the same kanji run it ends its accent phrase (まいあさ/かならず)."""
    found = set()
    with open(path, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if r[4] != "名詞" or r[5] != "普通名詞" or r[6] != "副詞可能":
                continue
            if len(s) >= 2 and all(kc.kind(ch) == 8 for ch in s) and \
                    (s[0] in ADVERBIAL_FIRST or s in ADVERBIAL_NOUNS):
                found.add(s)
    return found


def write_kana_nouns(nouns):
    lines = ["// Generated by tools/make_dic.py from UniDic 3.1.1: hiragana nouns after which a",
             "// kanji word reads voiced. Sorted, for binary search.",
             "static constexpr std::u32string_view kKanaCompoundNouns[] = {"]
    lines += [f'    U"{k}",' for k in nouns]
    lines.append("};")
    KANA_NOUNS_OUT.write_text("\n".join(lines) + "\n", encoding="utf-8")
    return len(nouns)


def main():
    heads = collect(kc.UNIDIC_LEX)
    adverb_verbs(heads)
    okurigana_compounds(heads, kc.UNIDIC_LEX)
    for head, reading in SUPPLEMENT.items():
        accent = supplement_accent(heads, head, reading)
        heads[head] = {reading: Cand()}
        heads[head][reading].cost = 0
        heads[head][reading].codes = {C_NUMERAL: 0}
        heads[head][reading].accent = accent
    for head, reading, accent in counter_compounds():
        heads[head] = {reading: Cand()}
        heads[head][reading].cost = 0
        heads[head][reading].codes = {C_NUMERAL: 0}
        heads[head][reading].accent = accent
    for head, reading in COMPOUNDS.items():
        heads[head] = {reading: Cand()}
        heads[head][reading].cost = 0
        heads[head][reading].codes = {C_NOUN: 0}
    for head, extra in EXTRA.items():
        usual = min(c.cost for c in heads[head].values())
        for reading, code in extra:
            c = heads[head].setdefault(reading, Cand())
            c.cost = min(c.cost, usual)
            c.codes[code] = usual
    for head, reading in PREFER.items():
        if head in heads:
            if reading not in heads[head]:
                heads[head][reading] = Cand()  # 何時 なんじ: UniDic reads it as 何 + 時
                heads[head][reading].codes = {C_NOUN: 0}
            c = heads[head][reading]
            best = min(x.cost for x in heads[head].values())
            c.cost = best - 1
            for code in c.codes:
                c.codes[code] = min(c.codes[code], best - 1)
    table = {}
    for head in sorted(heads):
        rd = heads[head]
        # a suffix reading takes no accent of its own: its code puts the accent at the end
        # of what precedes it, and an accent here would undo that
        table[head] = [(r, c, "0" if c in (C_SUFFIX, C_COUNTER, C_AFTER_CONT)
                        else rd[r].prefix_accent if c == C_PREFIX else rd[r].accent)
                       for r, c in choose(head, rd)]
    for head in SPOKEN_ACCENT:
        table[head] = spoken_accent(head, table[head])
    for head, entry in PHRASES.items():
        table[head] = entry
    # before the corpus runs, which may then give the spelling its ordinary reading (小文字)
    hiding = drop_hiding_names(table)
    runs = add_runs(table, read_counts())
    run_compound_accents(table, read_counts())
    accented_head_runs(table, read_counts())
    flat_teki_compounds(heads, table)
    numeral_counter_accents(table)
    special_numeral_accents(table)
    add_voiced_tails(table, voiced_tails(kc.UNIDIC_LEX))
    suffixes = voice_suffix_copies(table, likelier_voiced_forms(kc.UNIDIC_LEX))
    stems = add_stem_voicing(table, stem_voicing(kc.UNIDIC_LEX, table))
    # okurigana headwords voiced at the end of a kanji word (現金払い げんきんばらい), which the
    # reader takes as it takes code 33 for a lone kanji there
    # only nouns of a verb's continuative (払い, 書き): a verb or adjective after a noun with
    # no particle is no compound (朝早く あさはやく, 毎日走る)
    inner = {k: r for k, r in stem_voicing(kc.UNIDIC_LEX, table, inner=True).items()
             if len(k) > 1 and k[-1] in STEM_ENDS and table[k][0][1] not in (C_ADJ, C_NA)}
    add_stem_voicing(table, inner, C_INNER)
    words = add_stem_voicing(table, voiced_word_forms(kc.UNIDIC_LEX, table), C_INNER)
    # decide on the full table, so that dropping one headword never changes another's fate
    drop = {h for h, e in table.items() if redundant(h, e, table)}
    later = later_part_types(kc.UNIDIC_LEX)
    adverbial = adverbial_nouns(kc.UNIDIC_LEX)
    lines = []
    for head in sorted(table):
        if head in drop:
            continue
        chosen = with_flat_compounds(head, with_compound_accent(head, table[head]))
        chosen = with_later_part_accent(head, chosen, later)
        chosen = with_flat_c3_pull(head, chosen)
        readings = ",".join(r for r, _, _ in chosen)
        # the accent is still written as a noun's: a flat one hands its flat mark on
        codes = ",".join(str(C_ADVERB if c == C_NOUN and head in adverbial else c)
                         for _, c, _ in chosen)
        accents = ",".join(written_accent(head, r, a, c) for r, c, a in chosen)
        if all(a == "0" for a in accents.split(",")):
            lines.append(f"{head} {readings} {codes}")
        else:
            lines.append(f"{head} {readings} {codes} {accents}")
    path, size = kc.write_ktn("dic.ktn", lines)
    kana_nouns = write_kana_nouns(kana_compound_nouns(kc.UNIDIC_LEX))
    print(f"{path}: {len(lines)} entries ({runs} runs from the corpus, {hiding} names hiding words"
          f" left out, {stems} voiced after a stem,"
          f" {len(inner)} with okurigana voiced inside a word, {words} words voiced,"
          f" {suffixes} suffixes voiced), {size} bytes;"
          f" {kana_nouns} kana nouns voicing a kanji after them", file=sys.stderr)


if __name__ == "__main__":
    main()
