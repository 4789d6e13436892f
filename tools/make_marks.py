#!/usr/bin/env python3
"""Build dll/mrk.ktn (symbol readings, applied to a line before it is cut into words) and
dll/join.ktn (which characters join the number or word next to them).

mrk.ktn entries are replaced in file order, each over the text the earlier ones left,
so compound keys (->, ㎞, 4月) come before the single characters they contain.
"""

import csv
import sys

import ktn_common as kc

# Numbers whose reading with a counter the number reader cannot make (よじ, しがつ, ふたり,
# ふつか): written as kanji they reach the word dictionary, which knows 四時 and 二日.
# A digit before them would make the kanji wrong (14日 is not 1 + 四日), so every longer
# number is first given the counter in kana, which the number reader reads as usual.
SPECIAL = [  # (digits, counter, kanji form, counter in kana, digits that may stand before)
    ("24", "時", "二十四時", "じ", ""), ("14", "時", "十四時", "じ", ""), ("4", "時", "四時", "じ", "02"),
    ("4", "分の", "四分の", "ぶんの", "0123456789"),
    ("14", "分", "十四分", "ふん", ""), ("24", "分", "二十四分", "ふん", ""), ("34", "分", "三十四分", "ふん", ""),
    ("44", "分", "四十四分", "ふん", ""), ("54", "分", "五十四分", "ふん", ""), ("4", "分", "四分", "ふん", "0"),
    ("4", "月", "四月", "がつ", "01"), ("7", "月", "七月", "がつ", "01"), ("9", "月", "九月", "がつ", "01"),
    ("1", "人", "一人", "にん", "0123456789"), ("2", "人", "二人", "にん", "0123456789"),
    ("4", "人", "四人", "にん", "0123456789"),
    ("24", "日", "二十四日", "にち", "0123456789"), ("20", "日", "二十日", "にち", "0123456789"),
    ("14", "日", "十四日", "にち", "0123456789"), ("10", "日", "十日", "にち", "0123456789"),
    ("2", "日", "二日", "にち", "01236"), ("3", "日", "三日", "にち", "01236"), ("4", "日", "四日", "にち", "01236"),
    ("5", "日", "五日", "にち", "012356"), ("6", "日", "六日", "にち", "01236"), ("7", "日", "七日", "にち", "01236"),
    ("8", "日", "八日", "にち", "01236"), ("9", "日", "九日", "にち", "01236"),
    # 二十歳 is はたち; 9時 and 7時 are くじ and しちじ, which no kanji headword holds, so the
    # kana are written straight away (9時間 stays きゅうじかん, below)
    ("20", "歳", "二十歳", "さい", "0123456789"),
    ("9", "時", "くじ", "じ", "0123456789"), ("7", "時", "しちじ", "じ", "0123456789"),
]
# Lengths of time are read by the number reader: 9時間 きゅうじかん, 7時間 ななじかん.
KEEP = [("9時間", "9じかん"), ("7時間", "7じかん")]
# Dates and times have at most two digits: a guard is only needed for the digits that make a
# longer number people write (12日, 30日, 60日, 365日); other numbers keep their own reading.


def special_marks():
    # full-width digits are narrowed first, so that the rules below see one form only
    out = [(chr(0xFF10 + i), str(i)) for i in range(10)]
    # 3分の1 and 三分の一 are fractions (さんぶんのいち), not minutes: before a number 分の is
    # written in kana, which the number reader takes as the counter ぶんの
    out += [("分の" + d, "ぶんの" + d) for d in "0123456789一二三四五六七八九十百千"]
    # the first day of a month is ついたち; 1日 alone is more often a day's length
    out.append(("月1日", "月ついたち"))
    out += KEEP
    for digits, counter, kanji, kana, before in sorted(SPECIAL, key=lambda x: -len(x[0])):
        for d in before:
            out.append((d + digits + counter, d + digits + kana))
        out.append((digits + counter, kanji))
    return out


# Upper-case G after a digit is a generation of mobile networks (5G ごじー), not grams; the
# reader sees Latin letters in lower case, so this is decided here. Gigabytes and gigahertz
# keep their unit.
def generations():
    out = [("GHz", "ギガヘルツ")]
    out += [(f"{d}GB", f"{d}ギガバイト") for d in "0123456789"]
    out += [(f"{d}G", f"{d}ジー") for d in "23456"]
    return out


MARKS = special_marks() + generations() + [
    # the scheme of an address: https://www... えいちてぃーてぃーぴーえすころんすらっしゅすらっしゅ
    ("://", "コロンスラッシュスラッシュ"),
    # an honorific ご in kana before a kanji that alone reads otherwise (飯 めし)
    ("ご飯", "御飯"),
    # ヴ is not in the synthesizer's alphabet: its nearest sounds are the バ row
    ("ヴァ", "バ"), ("ヴィ", "ビ"), ("ヴェ", "ベ"), ("ヴォ", "ボ"), ("ヴュ", "ビュ"), ("ヴ", "ブ"),
    # counters written with a small ke or a kana ka become the kanji form 箇, so that the
    # counter is one word with its kanji (5ヶ月分 ごかげつぶん, not ごか + 月分 つきぶん); a
    # full-size カ only after a digit, since アメリカ国内 has one too
    ] + [(k + c, "箇" + c) for c in "月国所条年" for k in "ヶヵか"] + [
    (d + "カ" + c, d + "箇" + c) for c in "月国所条" for d in "0123456789"] + [
    ("ヶ", "ガ"), ("ヵ", "カ"),
    # arrows and compound marks
    ("->", "ヤジルシ"), ("=>", "ヤジルシ"), ("<=", "ショーナリイコール"), (">=", "ダイナリイコール"),
    ("!=", "ノットイコール"), ("==", "イコール"), ("&&", "アンド"), ("||", "オア"), ("...", "、"),
    ("…", "、"), ("‥", "、"), ("・・・", "、"),
    # symbols people write in prose
    ("％", "パーセント"), ("%", "パーセント"), ("＆", "アンド"), ("&", "アンド"), ("＋", "プラス"),
    ("+", "プラス"), ("＝", "イコール"), ("=", "イコール"), ("±", "プラスマイナス"), ("×", "カケル"),
    ("÷", "ワル"), ("≠", "ノットイコール"), ("≒", "ニアリーイコール"), ("≦", "ショーナリイコール"),
    ("≧", "ダイナリイコール"), ("∞", "ムゲンダイ"), ("℃", "ド"), ("°", "ド"), ("‰", "パーミル"),
    ("＃", "シャープ"), ("#", "シャープ"), ("＠", "アット"), ("@", "アット"), ("§", "セクション"),
    ("※", "、"), ("〒", "ユービン"), ("→", "ヤジルシ"), ("←", "ヤジルシ"), ("↑", "ヤジルシ"),
    ("↓", "ヤジルシ"), ("⇒", "ヤジルシ"), ("⇔", "ソーゴ"), ("♪", "、"), ("☆", "ホシ"), ("★", "ホシ"),
    ("○", "マル"), ("●", "マル"), ("◎", "ニジューマル"), ("△", "サンカク"), ("▲", "サンカク"),
    ("□", "シカク"), ("■", "シカク"), ("◇", "ヒシガタ"), ("◆", "ヒシガタ"), ("♂", "オス"), ("♀", "メス"),
    ("〆", "シメ"), ("㎜", "ミリメートル"), ("㎝", "センチメートル"), ("㎞", "キロメートル"),
    ("㎎", "ミリグラム"), ("㎏", "キログラム"), ("㏄", "シーシー"), ("㎡", "ヘーホーメートル"),
    ("㍉", "ミリ"), ("㌔", "キロ"), ("㌢", "センチ"), ("㍍", "メートル"), ("㌘", "グラム"), ("㌧", "トン"),
    ("㌃", "アール"), ("㍑", "リットル"), ("㌦", "ドル"), ("㌫", "パーセント"), ("㍻", "ヘーセー"),
    ("㍼", "ショーワ"), ("㍽", "タイショー"), ("㍾", "メージ"), ("№", "ナンバー"), ("℡", "テル"),
    ("㈱", "カブシキガイシャ"), ("㈲", "ユーゲンガイシャ"), ("㊤", "ジョー"), ("㊥", "チュー"),
    ("㊦", "ゲ"), ("①", "1"), ("②", "2"), ("③", "3"), ("④", "4"), ("⑤", "5"), ("⑥", "6"),
    ("⑦", "7"), ("⑧", "8"), ("⑨", "9"), ("⑩", "10"), ("Ⅰ", "1"), ("Ⅱ", "2"), ("Ⅲ", "3"), ("Ⅳ", "4"),
    ("Ⅴ", "5"), ("～", "から"), ("〜", "から"), ("！", "。"), ("!", "。"), ("；", "、"), (";", "、"),
    ("：", "、"), ("「", "、"), ("」", "、"), ("『", "、"), ("』", "、"), ("（", "、"), ("）", "、"),
    ("【", "、"), ("】", "、"), ("・", "、"), ("･", "、"), ("／", "、"), ("\u3000", "、"),
]

# Join rules: kind digit plus ",c" per listed character; a trailing empty third field makes
# a two-column rule (current, next).
JOINS = [
    "2 0,.,． 2",        # 3.14: a decimal point between digits stays in the number
    "2 0,,,， 2",        # 1,000 with a full-width comma; the half-width one is punctuation
    "2 7,,,， 2",        # the half-width comma between digits, too
    "2 0,-,－,‐ 2",      # 03-1234-5678, 123-4567, 3-5: the number reader reads the parts
    "2 6,ー,ｰ 2",        # 486ー2435: a long-vowel mark written for the hyphen
    # a minus sign before a number that follows no digit or letter: -5, 気温は-5℃, (−3)
    "0 0,-,－ 2", "4 0,-,－ 2", "5 0,-,－ 2", "6 0,-,－ 2", "7 0,-,－ 2", "8 0,-,－ 2",
    # example.com, co.jp, index.html, and/or: the English reader reads the parts and the marks
    "3 0,.,． 3", "3 0,/ 3",
]
# The okurigana inside a compound verb or noun (持ち帰る, 引き起こす, 落ち葉, 受け付け) makes
# one kanji word with its neighbours, which the dictionary's okurigana compounds read. Counted
# on UniDic's words written kanji + kana + kanji against the same kana between kanji in text:
# these are inside a word far more often than a particle or a word of their own; し (少し前)
# and い (古い物, 新しい本) are not. ん between kanji is always inside one (真ん中, 赤ん坊,
# 踏ん張る): a verb's ん is followed by kana (読んだ). Kept in step with JOIN_KANA of
# make_dic.py.
JOIN_KANA = "りきちみけげべれえびめぎっん"
# Not before 始 and 終: a stem before 始める, 終える, 終わる makes words UniDic does not list
# (読み始めました), which the joined word would cut inside its ending (よ'みはじ/めま'した).
# Kept in step with JOIN_BEFORE_NOT of make_dic.py.
JOIN_BEFORE_NOT = "始終"


def okurigana_join():
    """The join rule: a joining kana between a kanji and one of the kanji that follow such a
    kana inside UniDic's words (a rule can only list the characters it allows)."""
    after = set()
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            for i in range(1, len(s) - 1):
                if s[i] in JOIN_KANA and kc.kind(s[i - 1]) == 8 and kc.kind(s[i + 1]) == 8:
                    after.add(s[i + 1])
    after = sorted(c for c in after - set(JOIN_BEFORE_NOT) if kc.cp932_ok(c))
    return "8 4," + ",".join(JOIN_KANA) + " 8," + ",".join(after)


def main():
    lines = []
    seen = set()
    for key, rep in MARKS:
        # a key Shift_JIS cannot keep apart (〜 is read back as ～) would only repeat another
        if key in seen or not kc.cp932_ok(key):
            continue
        seen.add(key)
        assert " " not in key and " " not in rep
        lines.append(f"{key} {rep}")
    path, size = kc.write_ktn("mrk.ktn", lines)
    print(f"{path}: {len(lines)} entries, {size} bytes", file=sys.stderr)
    path, size = kc.write_ktn("join.ktn", JOINS + [okurigana_join()])
    print(f"{path}: {len(JOINS)} rules, {size} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
