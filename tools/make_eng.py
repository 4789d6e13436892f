#!/usr/bin/env python3
"""Build dll/eng.ktn, the English reading tables.

Table 0 (whole words): English spellings of UniDic 3.1.1 loanwords with their katakana
pronunciation (UniDic is the better source: it gives the reading Japanese speakers use),
and words of the CMU pronouncing dictionary 0.4 (festlex-cmu) whose transliteration is a
katakana word of UniDic, with UniDic's reading; then other CMU words, transliterated to kana
by rule. Tables 1-3 read unknown words piece by piece; table 4
holds the letter names used to spell a word out. Readings are written in hiragana.
"""

import csv
import re
import sys

import ktn_common as kc

MAX_UNIDIC = 30000      # cap of UniDic words kept (most frequent first)
MAX_TOTAL = 50000       # cap of table 0
WORD = re.compile(r"^[a-z]+$")


def unidic_words():
    best = {}  # word -> (cost, reading)
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            lemma = r[11]
            surface = r[0]
            cost = int(r[3])
            cand = []
            plain = kc.narrow_ascii(surface).lower() if hasattr(kc, "narrow_ascii") else None
            if plain and WORD.match(plain) and len(plain) > 1:
                cand.append(plain)
            if "-" in lemma:
                eng = lemma.rsplit("-", 1)[1].lower()
                kana_lemma = lemma.rsplit("-", 1)[0]
                if WORD.match(eng) and len(eng) > 1 and surface == kana_lemma:
                    cand.append(eng)
            if not cand:
                continue
            if r[4] not in ("名詞", "形状詞", "感動詞", "副詞", "接頭辞", "接尾辞", "動詞", "代名詞"):
                continue
            reading = kc.sayable(r[13]) if r[13] != "*" else None
            if not reading:
                continue
            for w in cand:
                old = best.get(w)
                if old is None or cost < old[0]:
                    best[w] = (cost, reading)
    items = sorted(best.items(), key=lambda kv: (kv[1][0], kv[0]))[:MAX_UNIDIC]
    return {w: rd for w, (_, rd) in items}


# ---- ARPAbet to kana -------------------------------------------------------------------
VOWEL = {"aa": "a", "ae": "a", "ah": "a", "ao": "o", "aw": "au", "ax": "a", "ay": "ai",
         "eh": "e", "er": "aa", "ey": "ei", "ih": "i", "iy": "ii", "ow": "ou", "oy": "oi",
         "uh": "u", "uw": "uu", "axr": "aa", "ix": "i"}
ROW = {  # consonant -> kana for a, i, u, e, o, and the kana used when no vowel follows
    "": "あいうえお", "k": "かきくけこ", "g": "がぎぐげご", "s": "さすぃすせそ", "z": "ざずぃずぜぞ",
    "t": "たてぃとぅてと", "d": "だでぃどぅでど", "n": "なにぬねの", "h": "はひふへほ", "b": "ばびぶべぼ",
    "p": "ぱぴぷぺぽ", "m": "まみむめも", "y": "やいゆいぇよ", "r": "らりるれろ", "l": "らりるれろ",
    "w": "わうぃううぇを", "f": "ふぁふぃふふぇふぉ", "v": "ばびぶべぼ", "th": "さしすせそ",
    "dh": "ざじずぜぞ", "sh": "しゃししゅしぇしょ", "zh": "じゃじじゅじぇじょ",
    "ch": "ちゃちちゅちぇちょ", "jh": "じゃじじゅじぇじょ", "ng": "んぎんぐんげんご", "hh": "はひふへほ",
}
CODA = {"k": "く", "g": "ぐ", "s": "す", "z": "ず", "t": "と", "d": "ど", "n": "ん", "h": "ふ",
        "b": "ぶ", "p": "ぷ", "m": "む", "y": "い", "r": "", "l": "る", "w": "う", "f": "ふ",
        "v": "ぶ", "th": "す", "dh": "ず", "sh": "しゅ", "zh": "じゅ", "ch": "ち", "jh": "じ",
        "ng": "んぐ", "hh": "ふ"}


def split_row(row):
    """The five kana of a row (some rows hold two-character kana)."""
    out = []
    i = 0
    while i < len(row):
        if i + 1 < len(row) and row[i + 1] in kc.SMALL:
            out.append(row[i:i + 2])
            i += 2
        else:
            out.append(row[i])
            i += 1
    return out


ROWS = {c: split_row(v) for c, v in ROW.items()}
IDX = {"a": 0, "i": 1, "u": 2, "e": 3, "o": 4}
ROWS["t"] = ["た", "てぃ", "とぅ", "て", "と"]
ROWS["d"] = ["だ", "でぃ", "どぅ", "で", "ど"]
ROWS["s"] = ["さ", "し", "す", "せ", "そ"]
ROWS["z"] = ["ざ", "じ", "ず", "ぜ", "ぞ"]
ROWS["w"] = ["わ", "うぃ", "う", "うぇ", "うぉ"]
ROWS["y"] = ["や", "い", "ゆ", "いぇ", "よ"]
ROWS["f"] = ["ふぁ", "ふぃ", "ふ", "ふぇ", "ふぉ"]
ROWS["ng"] = ["んが", "んぎ", "んぐ", "んげ", "んご"]


def arpabet_to_kana(phones):
    out = []
    i = 0
    n = len(phones)
    while i < n:
        p = phones[i]
        if p in VOWEL:
            v = VOWEL[p]
            out.append(ROWS[""][IDX[v[0]]] + vowel_tail(v))
            i += 1
            continue
        # consonant
        nxt = phones[i + 1] if i + 1 < n else None
        if nxt in VOWEL:
            v = VOWEL[nxt]
            out.append(ROWS.get(p, ROWS[""])[IDX[v[0]]] + vowel_tail(v))
            i += 2
            continue
        # a consonant with no vowel after it
        if p == "r":
            if out and not out[-1].endswith("ー") and i > 0 and phones[i - 1] in VOWEL:
                out.append("ー")
        elif p in ("t", "d") and nxt == "s":
            out.append("つ" if p == "t" else "ず")
            i += 2
            continue
        else:
            coda = CODA.get(p, "")
            if p in ("k", "p", "t", "ch", "jh", "d", "g", "sh") and i > 0 and phones[i - 1] in (
                    "ae", "eh", "ih", "uh", "ah") and (nxt is None or i + 1 == n):
                coda = "っ" + coda
            if p in ("t", "d") and nxt is not None:
                coda = {"t": "と", "d": "ど"}[p]
            out.append(coda)
        i += 1
    s = "".join(out)
    s = re.sub("ー+", "ー", s)
    return s


def vowel_tail(v):
    if len(v) == 1:
        return ""
    if v in ("aa", "ii", "uu"):
        return "ー"
    if v == "ei":
        return "ー"
    if v == "ou":
        return "ー"
    return {"i": "い", "u": "う"}[v[1]]


def cmu_words():
    words = {}
    pat = re.compile(r'^\("([a-z]+)" \S+ \((.*)\)\)$')
    with open(kc.CMUDICT, encoding="latin-1") as f:
        for line in f:
            m = pat.match(line.strip())
            if not m:
                continue
            w = m.group(1)
            if w in words:
                continue
            phones = re.findall(r"[a-z]+", re.sub(r"\d", "", m.group(2)))
            kana = arpabet_to_kana(phones)
            reading = kc.sayable(kana)
            if reading:
                words[w] = reading
    return words


LETTERS = {"a": "えー", "b": "びー", "c": "しー", "d": "でぃー", "e": "いー", "f": "えふ", "g": "じー",
           "h": "えっち", "i": "あい", "j": "じぇー", "k": "けー", "l": "える", "m": "えむ", "n": "えぬ",
           "o": "おー", "p": "ぴー", "q": "きゅー", "r": "あーる", "s": "えす", "t": "てぃー", "u": "ゆー",
           "v": "ぶい", "w": "だぶりゅー", "x": "えっくす", "y": "わい", "z": "ぜっと"}
SINGLE = {"a": "あ", "b": "ぶ", "c": "く", "d": "ど", "e": "え", "f": "ふ", "g": "ぐ", "h": "ふ",
          "i": "い", "j": "じ", "k": "く", "l": "る", "m": "む", "n": "ん", "o": "お", "p": "ぷ",
          "q": "く", "r": "る", "s": "す", "t": "と", "u": "あ", "v": "ぶ", "w": "う", "x": "くす",
          "y": "い", "z": "ず",
          # marks inside an address or a file name (example.com, and/or), read between its parts
          ".": "どっと", "/": "すらっしゅ"}
# consonant spellings at a syllable start -> romaji-like row
ONSET = {"b": "b", "c": "k", "d": "d", "f": "f", "g": "g", "h": "h", "j": "jh", "k": "k", "l": "r",
         "m": "m", "n": "n", "p": "p", "r": "r", "s": "s", "t": "t", "v": "b", "w": "w", "y": "y",
         "z": "z", "ch": "ch", "sh": "sh", "th": "s", "ph": "f", "wh": "w", "qu": "kw"}
VOW = {"a": "a", "e": "e", "i": "i", "o": "o", "u": "a", "y": "i"}
ENDINGS = {"ing": "いんぐ", "ed": "ど", "er": "あー", "or": "あー", "ly": "りー", "es": "ず", "ty": "てぃー",
           "ry": "りー", "ny": "にー", "cy": "しー", "gy": "じー", "al": "る", "le": "る", "ic": "いっく",
           "ics": "いっくす", "ism": "いずむ", "ist": "いすと", "ous": "あす", "ful": "ふる", "ble": "ぶる",
           "ive": "いぶ", "ize": "あいず", "ise": "あいず", "ent": "えんと", "ant": "あんと", "ment": "",
           "ion": "よん", "ness": "", "ck": "っく", "ll": "る", "ss": "す", "tt": "っと", "ght": "と",
           "ate": "えいと", "ine": "いん", "one": "おーん", "ore": "おあ", "ure": "あー", "are": "えあ",
           "ire": "あいあ", "ake": "えいく", "ike": "あいく", "oke": "おーく", "ame": "えいむ", "ime": "あいむ",
           "ome": "おーむ", "ane": "えいん", "ude": "うーど", "ide": "あいど", "ade": "えいど",
           "ode": "おーど", "ey": "いー", "ay": "えい", "oy": "おい", "ow": "おう", "ew": "ゆー", "aw": "おー",
           "ee": "いー", "oo": "うー", "th": "す", "sh": "しゅ", "ch": "ち", "ng": "んぐ", "nk": "んく",
           "ts": "つ", "ds": "ず", "st": "すと", "ft": "ふと", "nt": "んと", "nd": "んど", "rt": "あーと",
           "rd": "あーど", "rs": "あーず", "ks": "くす", "ps": "ぷす", "ms": "むず", "ns": "んず", "ls": "るず"}


def row_kana(cons, vowel):
    if cons == "kw":
        return "く" + ROWS["w"][IDX[vowel]]
    return ROWS[cons][IDX[vowel]]


def pieces():
    t1 = {}
    for spell, cons in ONSET.items():
        for vs, v in VOW.items():
            key = spell + vs
            if len(key) <= 3:
                t1[key] = row_kana(cons, v)
    # two-consonant clusters before a vowel: the first consonant takes u (o after t/d)
    for c1 in "bcdfgkpst":
        for c2 in "lr":
            for vs, v in VOW.items():
                key = c1 + c2 + vs
                first = {"t": "と", "d": "ど"}.get(c1, SINGLE[c1] if c1 != "c" else "く")
                t1[key] = first + row_kana("r", v)
    for vs, v in VOW.items():
        for c in "ckmnpt":
            t1.setdefault(vs + c, ROWS[""][IDX[v]] + {"c": "っく", "k": "っく", "m": "む", "n": "ん",
                                                       "p": "っぷ", "t": "っと"}[c])
    t1["sta"] = "すた"
    t1["sto"] = "すと"
    t1["ste"] = "すて"
    t1["sti"] = "すてぃ"
    t2 = {k: v for k, v in ENDINGS.items() if 2 <= len(k) <= 3 and v}
    return t1, t2


VOWEL_ROWS = {"a": "あかさたなはまやらわがざだばぱゃ", "i": "いきしちにひみりぎじびぴぃ",
              "u": "うくすつぬふむゆるぐずぶぷゅぅ", "e": "えけせてねへめれげぜでべぺぇ",
              "o": "おこそとのほもよろをごぞどぼぽょぉ"}
VOWEL_OF = {ch: v for v, chars in VOWEL_ROWS.items() for ch in chars}


def loose(kana):
    """A kana reading with its long vowels written ー (とうきょう and とーきょー alike), and
    an ending ー dropped (コンピューター and コンピュータ alike), for matching."""
    out = []
    for ch in kana:
        v = VOWEL_OF.get(out[-1]) if out else None
        if v and (ch == "あいうえお"["aiueo".index(v)] or ch == "う" and v in "ou" or ch == "い" and v == "e"):
            ch = "ー"
        out.append(ch)
    return "".join(out).rstrip("ー")


def katakana_nouns():
    """Loose form -> (cost, reading) of UniDic's katakana nouns: the loanwords Japanese uses."""
    best = {}
    with open(kc.UNIDIC_LEX, encoding="utf-8", newline="") as fh:
        for r in csv.reader(fh):
            s = r[0]
            if r[4] != "名詞" or len(s) < 2 or not all(0x30A1 <= ord(c) <= 0x30FC for c in s):
                continue
            reading = kc.sayable(r[13]) if r[13] != "*" else None
            if not reading:
                continue
            key = loose(reading)
            cost = int(r[3])
            if key not in best or cost < best[key][0]:
                best[key] = (cost, reading)
    return best


# Brand and technical words UniDic and the CMU dictionary lack, read as Japanese say them
# (a reviewed list; the spelling rules would make よあたべ of youtube).
BRANDS = {
    "youtube": "ゆーちゅーぶ", "iphone": "あいふぉーん", "ipad": "あいぱっど", "ipod": "あいぽっど",
    "imac": "あいまっく", "ios": "あいおーえす", "icloud": "あいくらうど", "itunes": "あいちゅーんず",
    "airpods": "えあーぽっず", "macbook": "まっくぶっく", "gmail": "じーめーる",
    "facebook": "ふぇいすぶっく", "tiktok": "てぃっくとっく", "linkedin": "りんくといん",
    "netflix": "ねっとふりっくす", "microsoft": "まいくろそふと", "powerpoint": "ぱわーぽいんと",
    "teams": "ちーむず", "discord": "でぃすこーど", "github": "ぎっとはぶ", "gitlab": "ぎっとらぼ",
    "git": "ぎっと", "chrome": "くろーむ", "firefox": "ふぁいあふぉっくす", "nintendo": "にんてんどー",
    "playstation": "ぷれいすてーしょん", "xbox": "えっくすぼっくす", "uber": "うーばー",
    "airbnb": "えあびーあんどびー", "paypal": "ぺいぱる", "mastercard": "ますたーかーど",
    "bluetooth": "ぶるーとぅーす", "ubuntu": "うぶんとぅ", "https": "えいちてぃーてぃーぴーえす",
    "http": "えいちてぃーてぃーぴー", "ceo": "しーいーおー", "cto": "しーてぃーおー",
    "cfo": "しーえふおー", "sns": "えすえぬえす", "chatgpt": "ちゃっとじーぴーてぃー",
    "gpt": "じーぴーてぃー", "openai": "おーぷんえーあい", "covid": "こびっど", "tv": "てぃーびー",
    "npo": "えぬぴーおー", "ngo": "えぬじーおー", "sdgs": "えすでぃーじーず", "led": "えるいーでぃー",
    "ufo": "ゆーふぉー", "instagram": "いんすたぐらむ", "whatsapp": "わっつあっぷ",
    "wikipedia": "うぃきぺでぃあ", "javascript": "じゃばすくりぷと", "typescript": "たいぷすくりぷと",
    "iot": "あいおーてぃー", "usb": "ゆーえすびー", "pdf": "ぴーでぃーえふ", "url": "ゆーあーるえる",
    "www": "だぶりゅーだぶりゅーだぶりゅー", "spotify": "すぽてぃふぁい", "amazon": "あまぞん",
    "kindle": "きんどる", "alexa": "あれくさ", "siri": "しり", "pixel": "ぴくせる",
    "galaxy": "ぎゃらくしー", "xperia": "えくすぺりあ", "huawei": "ふぁーうぇい",
    "tesla": "てすら", "nvidia": "えぬびでぃあ", "qualcomm": "くあるこむ", "adobe": "あどび",
    "photoshop": "ふぉとしょっぷ", "dropbox": "どろっぷぼっくす", "onedrive": "わんどらいぶ",
    "zoom": "ずーむ", "slack": "すらっく", "notion": "のーしょん", "wordpress": "わーどぷれす",
}

OVERRIDE = {"email": "いーめーる", "mail": "めーる", "smartphone": "すまーとふぉん", "online": "おんらいん",
            "offline": "おふらいん", "website": "うぇぶさいと", "app": "あぷり", "wifi": "わいふぁい"}


def main():
    uni = unidic_words()
    cmu = cmu_words()
    nouns = katakana_nouns()
    # A CMU word that UniDic lacks but whose kana reading is a loanword UniDic knows
    # (password パスワード) takes UniDic's reading.
    matched = {w: nouns[loose(k)][1] for w, k in cmu.items() if len(w) > 3 and len(k) > 2 and loose(k) in nouns}
    table0 = dict(matched)
    table0.update(uni)
    # UniDic's English lemmas include other languages' words spelled alike (エマイユ-email)
    table0.update(OVERRIDE)
    table0.update(BRANDS)
    # then the other CMU words, shortest first
    for w in sorted(cmu, key=lambda w: (len(w), w)):
        if len(table0) >= MAX_TOTAL:
            break
        if w not in table0 and len(w) > 1:
            table0[w] = cmu[w]
    t1, t2 = pieces()
    lines = []
    for w in sorted(table0):
        if kc.cp932_ok(table0[w]):
            lines.append(f"0 {w} {table0[w]}")
    lines += [f"1 {k} {v}" for k, v in sorted(t1.items())]
    lines += [f"2 {k} {v}" for k, v in sorted(t2.items())]
    lines += [f"3 {k} {v}" for k, v in sorted(SINGLE.items())]
    lines += [f"4 {k} {v}" for k, v in sorted(LETTERS.items())]
    # counters written in Latin letters reach this reader already read (5km -> きろめーとる)
    import make_num
    for s, r, _ in make_num.COUNTERS:
        if re.match(r"^[a-z/]+$", s) and r not in table0:
            table0[r] = r
            lines.append(f"0 {r} {r}")
    path, size = kc.write_ktn("eng.ktn", lines)
    print(f"{path}: {len(lines)} lines, table 0 {len(table0)} words ({len(uni)} UniDic), {size} bytes",
          file=sys.stderr)


if __name__ == "__main__":
    main()
