#!/usr/bin/env python3
"""Build dll/mrk.ktn (symbol readings, applied to a line before it is cut into words) and
dll/join.ktn (which characters join the number or word next to them).

mrk.ktn entries are replaced in file order, each over the text the earlier ones left,
so compound keys (->, ㎞, 4月) come before the single characters they contain.
"""

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
]
# Dates and times have at most two digits: a guard is only needed for the digits that make a
# longer number people write (12日, 30日, 60日, 365日); other numbers keep their own reading.


def special_marks():
    # full-width digits are narrowed first, so that the rules below see one form only
    out = [(chr(0xFF10 + i), str(i)) for i in range(10)]
    # the first day of a month is ついたち; 1日 alone is more often a day's length
    out.append(("月1日", "月ついたち"))
    for digits, counter, kanji, kana, before in sorted(SPECIAL, key=lambda x: -len(x[0])):
        for d in before:
            out.append((d + digits + counter, d + digits + kana))
        out.append((digits + counter, kanji))
    return out


MARKS = special_marks() + [
    # an honorific ご in kana before a kanji that alone reads otherwise (飯 めし)
    ("ご飯", "御飯"),
    # ヴ is not in the synthesizer's alphabet: its nearest sounds are the バ row
    ("ヴァ", "バ"), ("ヴィ", "ビ"), ("ヴェ", "ベ"), ("ヴォ", "ボ"), ("ヴュ", "ビュ"), ("ヴ", "ブ"),
    # counters written with a small katakana ke
    ("ヶ月", "カ月"), ("ヵ月", "カ月"), ("か月", "カ月"), ("か国", "カ国"), ("か所", "カ所"), ("ヶ国", "カ国"), ("ヵ国", "カ国"), ("ヶ所", "カ所"),
    ("ヵ所", "カ所"), ("ヶ条", "カ条"), ("ヵ条", "カ条"), ("ヶ", "ガ"), ("ヵ", "カ"),
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
    ("Ⅴ", "5"), ("～", "カラ"), ("〜", "カラ"), ("！", "。"), ("!", "。"), ("；", "、"), (";", "、"),
    ("：", "、"), ("「", "、"), ("」", "、"), ("『", "、"), ("』", "、"), ("（", "、"), ("）", "、"),
    ("【", "、"), ("】", "、"), ("・", "、"), ("･", "、"), ("／", "、"), ("\u3000", "、"),
]

# Join rules: kind digit plus ",c" per listed character; a trailing empty third field makes
# a two-column rule (current, next).
JOINS = [
    "2 0,.,． 2",        # 3.14: a decimal point between digits stays in the number
    "2 0,,,， 2",        # 1,000 with a full-width comma; the half-width one is punctuation
    "2 7,,,， 2",        # the half-width comma between digits, too
]


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
    path, size = kc.write_ktn("join.ktn", JOINS)
    print(f"{path}: {len(JOINS)} rules, {size} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
