#!/usr/bin/env python3
"""Build dll/num.ktn, the counter words read after a number.

Each entry: surface, reading, voicing type. The voicing type decides how the counter's
first kana changes after the number's last digits (see README.md):
  0  never changes                      (回 かい, 個 こ, 歳 さい ...)
  1  3 voiced, 6/8 half-voiced          (ひゃく inside numbers)
  2  1/3/6/8/10/100 half-voiced         (分 ふん, 泊 はく, 発 はつ, 歩 ほ)
  3  3 and 1000 voiced, 1/6/8/10/100 half-voiced   (本 ほん, 杯 はい, 匹 ひき)
  4  3 voiced only                      (階 かい, 軒 けん, 足 そく, せん)
  5  as 2, and half-voiced after 千 and 万 too (分 ふん: せんぷん, いちまんぷん)
  6  a native counter: 1 and 2 alone read ひと and ふた (一晩 ひとばん, 1組 ひとくみ), no voicing
The number itself turns into いっ/ろっ/はっ/じゅっ/ひゃっ by the first kana of the reading.
Longer surfaces come before shorter ones that begin them, since the first match wins.
"""

import csv
import sys

import ktn_common as kc

# (surface, reading, type). Readings empty keep the word as written (read by the dictionary).
COUNTERS = [
    # time
    ("年間", "ねんかん", 0), ("年度", "ねんど", 0), ("年生", "ねんせい", 0), ("年代", "ねんだい", 0),
    ("年前", "ねんまえ", 0), ("年後", "ねんご", 0), ("年目", "ねんめ", 0), ("年", "ねん", 0),
    ("ヶ月間", "かげつかん", 0), ("ヵ月間", "かげつかん", 0), ("カ月間", "かげつかん", 0),
    ("か月間", "かげつかん", 0), ("ヶ月", "かげつ", 0), ("ヵ月", "かげつ", 0), ("カ月", "かげつ", 0),
    ("か月", "かげつ", 0), ("箇月", "かげつ", 0), ("箇年", "かねん", 0), ("箇国", "かこく", 0), ("月間", "げつかん", 0), ("月末", "がつまつ", 0),
    ("月号", "がつごう", 0), ("月", "がつ", 0),
    ("週間", "しゅうかん", 0), ("週目", "しゅうめ", 0), ("週", "しゅう", 0),
    ("日間", "にちかん", 0), ("日目", "にちめ", 0), ("日後", "にちご", 0), ("日前", "にちまえ", 0),
    ("日", "にち", 0),
    ("時間半", "じかんはん", 0), ("時間", "じかん", 0), ("時半", "じはん", 0), ("時限", "じげん", 0),
    ("時頃", "じごろ", 0), ("時", "じ", 0),
    ("分間", "ふんかん", 5), ("分の", "ぶんの", 0), ("分後", "ふんご", 5), ("分前", "ふんまえ", 5),
    ("分", "ふん", 5), ("秒間", "びょうかん", 0), ("秒", "びょう", 0),
    ("世紀", "せいき", 0), ("代目", "だいめ", 0), ("代", "だい", 0), ("周年", "しゅうねん", 0),
    ("泊", "はく", 5), ("晩", "ばん", 6),
    # people and animals
    ("人目", "にんめ", 0), ("人前", "にんまえ", 0), ("人分", "にんぶん", 0), ("人", "にん", 0),
    ("名様", "めいさま", 0), ("名", "めい", 0), ("匹", "ひき", 3), ("頭", "とう", 0), ("羽", "わ", 0),
    ("歳", "さい", 0), ("才", "さい", 0), ("組", "くみ", 6), ("位", "い", 0), ("等", "とう", 0),
    ("世帯", "せたい", 0), ("家族", "かぞく", 0), ("児", "じ", 0),
    # things
    ("個目", "こめ", 0), ("個", "こ", 0), ("コ", "こ", 0), ("本目", "ほんめ", 3), ("本", "ほん", 3),
    ("枚目", "まいめ", 0), ("枚", "まい", 0), ("冊目", "さつめ", 0), ("冊", "さつ", 0),
    ("台", "だい", 0), ("機", "き", 0), ("両", "りょう", 0), ("隻", "せき", 0), ("艘", "そう", 0),
    ("杯目", "はいめ", 3), ("杯", "はい", 3), ("着", "ちゃく", 0), ("足", "そく", 4), ("束", "たば", 6),
    ("箱", "はこ", 6), ("袋", "ふくろ", 6), ("缶", "かん", 0), ("粒", "つぶ", 6), ("切れ", "きれ", 6),
    ("通", "つう", 0), ("件目", "けんめ", 0), ("件", "けん", 0), ("点", "てん", 0), ("品", "ひん", 5),
    ("部", "ぶ", 0), ("部屋", "へや", 6), ("軒", "けん", 4), ("戸", "こ", 0), ("棟", "とう", 0),
    ("室", "しつ", 0), ("階建て", "かいだて", 4), ("階", "かい", 4), ("畳", "じょう", 0),
    ("坪", "つぼ", 0), ("基", "き", 0), ("脚", "きゃく", 0), ("面", "めん", 0), ("門", "もん", 0),
    ("錠", "じょう", 0), ("包", "ほう", 5), ("服", "ふく", 5), ("膳", "ぜん", 0), ("皿", "さら", 6),
    ("品目", "ひんもく", 5), ("種類", "しゅるい", 0), ("種", "しゅ", 0), ("色", "しょく", 0),
    ("行目", "ぎょうめ", 0), ("行", "ぎょう", 0), ("文字", "もじ", 0), ("字", "じ", 0),
    ("語", "ご", 0), ("ページ", "ぺーじ", 0), ("頁", "ぺーじ", 0), ("章", "しょう", 0),
    ("節", "せつ", 0), ("項", "こう", 0), ("条", "じょう", 0), ("巻", "かん", 0), ("号", "ごう", 0),
    ("話", "わ", 0), ("曲", "きょく", 0), ("首", "しゅ", 0), ("句", "く", 0), ("編", "へん", 5),
    ("篇", "へん", 5), ("作", "さく", 0), ("票", "ひょう", 3), ("通り", "とおり", 6),
    # events and turns
    ("回目", "かいめ", 0), ("回戦", "かいせん", 0), ("回", "かい", 0), ("度目", "どめ", 0),
    ("度", "ど", 0), ("番目", "ばんめ", 0), ("番線", "ばんせん", 0), ("番地", "ばんち", 0),
    ("番", "ばん", 0), ("勝", "しょう", 0), ("敗", "はい", 5), ("戦", "せん", 0), ("試合", "しあい", 0),
    ("位", "い", 0), ("着目", "ちゃくめ", 0), ("発", "はつ", 5), ("打", "だ", 0), ("球", "きゅう", 0),
    ("点差", "てんさ", 0), ("周", "しゅう", 0), ("歩", "ほ", 5), ("段", "だん", 0), ("期", "き", 0),
    ("期生", "きせい", 0), ("学期", "がっき", 0), ("学年", "がくねん", 0), ("限", "げん", 0),
    ("便", "びん", 0), ("列", "れつ", 0), ("層", "そう", 0), ("社", "しゃ", 0), ("校", "こう", 0),
    ("店", "てん", 0), ("局", "きょく", 0), ("県", "けん", 0), ("市", "し", 0), ("区", "く", 0),
    ("ヶ国", "かこく", 0), ("ヵ国", "かこく", 0), ("カ国", "かこく", 0), ("か国", "かこく", 0),
    ("ヶ所", "かしょ", 0), ("ヵ所", "かしょ", 0), ("カ所", "かしょ", 0), ("か所", "かしょ", 0),
    ("箇所", "かしょ", 0), ("国", "こく", 0), ("倍", "ばい", 0), ("割", "わり", 0), ("分", "ふん", 5),
    ("厘", "りん", 0), ("番", "ばん", 0), ("桁", "けた", 6), ("拍", "はく", 5), ("秒", "びょう", 0),
    ("時", "じ", 0),
    # money and measures
    ("円玉", "えんだま", 0), ("円札", "えんさつ", 0), ("円", "えん", 0), ("万円", "まんえん", 0),
    ("億円", "おくえん", 0), ("ドル", "どる", 0), ("ユーロ", "ゆーろ", 0), ("ポンド", "ぽんど", 0),
    ("セント", "せんと", 0), ("元", "げん", 0), ("ウォン", "うぉん", 0), ("銭", "せん", 0),
    ("%", "ぱーせんと", 0), ("パーセント", "ぱーせんと", 0), ("度", "ど", 0), ("℃", "ど", 0),
    ("キロメートル", "きろめーとる", 0), ("キログラム", "きろぐらむ", 0), ("キロ", "きろ", 0),
    ("メートル", "めーとる", 0), ("センチ", "せんち", 0), ("ミリ", "みり", 0), ("グラム", "ぐらむ", 0),
    ("トン", "とん", 0), ("リットル", "りっとる", 0), ("キロバイト", "きろばいと", 0),
    ("メガバイト", "めがばいと", 0), ("ギガバイト", "ぎがばいと", 0), ("バイト", "ばいと", 0),
    ("ビット", "びっと", 0), ("ヘルツ", "へるつ", 0), ("ワット", "わっと", 0), ("ボルト", "ぼると", 0),
    ("カロリー", "かろりー", 0), ("インチ", "いんち", 0), ("フィート", "ふぃーと", 0),
    ("マイル", "まいる", 0), ("ヤード", "やーど", 0), ("km", "きろめーとる", 0), ("kg", "きろぐらむ", 0),
    ("cm", "せんちめーとる", 0), ("mm", "みりめーとる", 0), ("m", "めーとる", 0), ("g", "ぐらむ", 0),
    ("t", "とん", 0), ("ml", "みりりっとる", 0), ("l", "りっとる", 0), ("kb", "きろばいと", 0),
    ("mb", "めがばいと", 0), ("gb", "ぎがばいと", 0), ("tb", "てらばいと", 0), ("hz", "へるつ", 0),
    ("khz", "きろへるつ", 0), ("ms", "みりびょう", 0), ("km/h", "きろめーとるまいじ", 0), ("m/s", "めーとるまいびょう", 0), ("min", "ふん", 5), ("sec", "びょう", 0), ("mhz", "めがへるつ", 0), ("ghz", "ぎがへるつ", 0), ("w", "わっと", 0),
    ("kw", "きろわっと", 0), ("v", "ぼると", 0), ("mg", "みりぐらむ", 0), ("kcal", "きろかろりー", 0),
    ("cc", "しーしー", 0), ("dB", "でしべる", 0), ("db", "でしべる", 0), ("px", "ぴくせる", 0),
    ("キロカロリー", "きろかろりー", 0), ("ピクセル", "ぴくせる", 0), ("ページ目", "ぺーじめ", 0),
    ("ポイント", "ぽいんと", 0), ("ゴール", "ごーる", 0), ("ヒット", "ひっと", 5), ("ホール", "ほーる", 5),
    ("にん", "にん", 0), ("にち", "にち", 0), ("がつ", "がつ", 0), ("じ", "じ", 0),
    ("ふん", "ふん", 5), ("ぶんの", "ぶんの", 0),
    # カ月, カ国 after the marks: the カ alone is the counter (いっかげつ, ろっかこく)
    ("カ", "か", 0), ("ヵ", "か", 0), ("ヶ", "か", 0),
    ("つ目", "つめ", 0), ("つ", "つ", 0), ("個所", "かしょ", 0), ("合", "ごう", 0), ("升", "しょう", 0),
    ("斤", "きん", 0), ("貫", "かん", 0), ("里", "り", 0), ("寸", "すん", 0), ("尺", "しゃく", 0),
    ("間", "けん", 0), ("丁目", "ちょうめ", 0), ("丁", "ちょう", 0), ("号室", "ごうしつ", 0),
    ("号館", "ごうかん", 0), ("号車", "ごうしゃ", 0), ("番地", "ばんち", 0), ("カ条", "かじょう", 0),
    ("ヶ条", "かじょう", 0), ("か条", "かじょう", 0), ("箇条", "かじょう", 0),
]


# Accent of number + counter, as one word. UniDic gives most counters the combination type C3:
# the accent falls on the number's last mora (いち'じ, さ'んねん, い'っぽん, にせんにじゅうよ'ねん;
# the reader moves it off ん, っ, ー and a long vowel's う). Written as a reading that begins
# with the mark.
ON_NUMBER = {
    "年", "月", "日", "時", "分", "秒", "本", "本目", "杯", "匹", "冊", "軒", "錠", "歳", "才",
    "番", "号", "枚", "個", "コ", "つ", "晩", "組", "台", "件", "円", "頭", "羽", "通", "点",
    "粒", "箱", "袋", "皿", "束", "切れ", "泊", "発", "歩", "足", "着", "巻", "章", "曲", "票",
    "倍", "割", "社", "校", "局", "機", "隻", "艘", "基", "脚", "膳", "包", "服", "缶", "桁",
    "にち", "じ", "ふん", "がつ", "キロ", "ドル",
}
# Counters whose own accent the compound keeps (UniDic's C1, and C2, which puts it on the
# counter's first mora: 週間 しゅ'うかん, 時間 じ'かん, か月 か'げつ, loanwords): いっしゅ'うかん,
# いちじ'かん, さんか'げつ, じゅっぱーせ'んと, ごじゅうめ'ーとる.
OWN_ACCENT = {
    "週間": "しゅ'うかん", "時間": "じ'かん", "ヶ月": "か'げつ", "ヵ月": "か'げつ",
    "カ月": "か'げつ", "か月": "か'げつ", "箇月": "か'げつ", "世紀": "せ'いき",
    "%": "ぱーせ'んと", "パーセント": "ぱーせ'んと", "メートル": "め'ーとる",
    "キロメートル": "きろめ'ーとる", "キログラム": "きろぐ'らむ", "グラム": "ぐ'らむ",
    "ポンド": "ぽ'んど", "マイル": "ま'いる", "セント": "せ'んと", "フィート": "ふぃ'ーと",
    "インチ": "い'んち", "ヤード": "や'ーど", "リットル": "り'っとる", "ユーロ": "ゆ'ーろ",
    "カロリー": "か'ろりー", "ページ": "ぺ'ーじ", "頁": "ぺ'ーじ",
}
# 人 on its own first mora (ごに'ん, さんに'ん, よに'ん), as Tokyo speakers say it; UniDic has no
# counter row for it.
OWN_ACCENT["人"] = "に'ん"
# An ordinal's め takes the accent (さんばんめ'の, にかいめ'に), as Tokyo speakers say it.
OWN_ACCENT.update({"番目": "ばんめ'", "回目": "かいめ'", "度目": "どめ'"})
# Latin-letter counters (km, kg) are read by the English reader, which takes no marks.
# Counters that make the compound flat, whatever UniDic says (回, 階, 度 are C3 there, but
# Tokyo speakers say いっかい, にかい, いちど flat). Latin-letter counters carry no mark: the
# English reader reads them.
# 面 too: UniDic's 一面 is flat (いちめん), though 面 alone is C3.
FLAT = {"回", "階", "度", "℃", "回目", "度目", "番目", "号室", "号館", "号車", "面"}

SMALL = set("ぁぃぅぇぉゃゅょゎ")


def mark_after_mora(r, n):
    """r with the accent mark after its n-th mora (a small kana belongs to the mora before)."""
    count = 0
    for i, c in enumerate(r):
        if c in SMALL:
            continue
        count += 1
        if count == n + 1:
            return r[:i] + "'" + r[i:]
    return r + "'" if count == n else r


def unidic_types():
    """(surface, pronunciation) -> (accent type, combination type) of UniDic's counter rows."""
    out = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8") as f:
        for row in csv.reader(f):
            if len(row) < 30 or "助数詞" not in row[5] + row[6]:
                continue
            out.setdefault((row[0], row[13]), (row[28], row[29]))
    return out


def accented(s, r, types):
    """The reading with its accent mark: "'" first for UniDic's C3 (on the number), inside
    for C1 (the counter's own accent) and C2 (its first mora), none for C4 and the rest."""
    if s in OWN_ACCENT:
        assert OWN_ACCENT[s].replace("'", "") == r, (s, r)
        return OWN_ACCENT[s]
    if s in ON_NUMBER:
        return "'" + r
    if s in FLAT or s.isascii():
        return r
    pron = "".join(chr(ord(c) + 0x60) if "ぁ" <= c <= "ゖ" else c for c in r)
    a_type, con = types.get((s, pron), types.get((s, pron.replace("ウ", "ー")), ("*", "*")))
    first = a_type.split(",")[0]
    if con == "C3":
        return "'" + r
    if con == "C2":
        return mark_after_mora(r, 1)
    if con == "C1" and first.isdigit() and int(first) > 0:
        return mark_after_mora(r, int(first))
    return r


def ordered():
    """Drop repeats, then make sure no surface follows a shorter one that begins it."""
    seen = set()
    items = []
    for s, r, t in COUNTERS:
        if s in seen:
            continue
        seen.add(s)
        items.append((s, r, t))
    out = []
    for s, r, t in items:
        # insert before the first earlier entry whose surface is a prefix of this one
        at = len(out)
        for i, (s2, _, _) in enumerate(out):
            if s.startswith(s2) and s != s2:
                at = i
                break
        out.insert(at, (s, r, t))
    return out


def main():
    items = ordered()
    for s, r, t in items:
        # half-voicing shifts a kana by two codes: only the は row has such forms
        assert t in (0, 4, 6) or t in (2, 3, 5) and r[0] in "はひふへほ" or t == 1 and r[0] in "かきくけこさしすせそたちつてと", (s, r, t)
    for i, (s, _, _) in enumerate(items):
        for s2, _, _ in items[i + 1:]:
            assert not (s2.startswith(s) and s2 != s), (s, s2)
    types = unidic_types()
    lines = [f"{s} {accented(s, r, types)} {t}" for s, r, t in items]
    path, size = kc.write_ktn("num.ktn", lines)
    print(f"{path}: {len(lines)} counters, {size} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
