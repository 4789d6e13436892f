"""Helpers shared by the dictionary generators: character kinds, kana, file writing."""

import os

UNIDIC_LEX = "/usr/share/mecab/dic/unidic/lex_3_1.csv"
CMUDICT = "/usr/share/festival/dicts/cmu/cmudict-0.4.out"

HERE = os.path.dirname(os.path.abspath(__file__))
DLL = os.path.join(os.path.dirname(HERE), "dll")

# The eight character sets of the word splitter; anything else is kind 8 (kanji and the like).
_SYMBOLS = (
    "".join(chr(c) for c in range(0x20, 0x7F)
            if not chr(c).isalnum() and chr(c) not in '",?|')
    + "｢｣･・\u3000"
    + "，．：；！゛゜´｀¨＾￣＿―‐／＼～∥｜…‥‘’（）〔〕［］｛｝〈〉《》「」『』【】＋－±×÷＝≠＜＞≦≧∞∴♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽▼※〒→←↑↓〓∈∋⊆⊇⊂⊃∪∩∧∨￢⇒⇔∀∃∠⊥⌒∂∇≡≒≪≫√∽∝∵∫∬Å‰♯♭♪†‡¶◯─│┌┐┘└├┬┤┴┼━┃┏┓┛┗┣┳┫┻╋┠┯┨┷┿┝┰┥┸╂①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱⑲⑳ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩ〝〟∮∑∟⊿ヽヾゝゞ〃㍉㌔㌢㍍㌘㌧㌃㌶㍑㍗㌍㌦㌣㌫㍊㌻㎜㎝㎞㎎㎏㏄㎡㍻㍾㍽㍼№㏍℡㊤㊥㊦㊧㊨㈱㈲㈹"
)
_GREEK = "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψωАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"
_DIGITS = "0123456789０１２３４５６７８９"
_LATIN = ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
          "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ")
HIRAGANA = "".join(chr(c) for c in range(0x3041, 0x3094))
_KATAKANA = ("".join(chr(c) for c in range(0xFF66, 0xFFA0) if c != 0xFF70)
             + "".join(chr(c) for c in range(0x30A1, 0x30F7)))
_CLASSES = [_SYMBOLS, _GREEK, _DIGITS, _LATIN, HIRAGANA, _KATAKANA, "ーｰ", ",、。､｡?？"]


def kind(ch):
    for k, members in enumerate(_CLASSES):
        if ch in members:
            return k
    return 8


def to_hiragana(s):
    return "".join(chr(ord(c) - 0x60) if 0x30A1 <= ord(c) <= 0x30F6 else c for c in s)


def to_katakana(s):
    return "".join(chr(ord(c) + 0x60) if 0x3041 <= ord(c) <= 0x3096 else c for c in s)


# What the synthesizer can say: base kana, small kana only inside these pairs.
BASE = "あいうえおかがきぎくぐけげこごさざしじすずせぜそぞただちっつてでとどなにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもやゆよらりるれろわをんー"
SMALL = "ぁぃぅぇぉゃゅょゎ"
PAIRS = set("いぇ きゃ きゅ きぇ きょ しゃ しゅ しぇ しょ じゃ じゅ じぇ じょ ちゃ ちゅ ちぇ ちょ にゃ にゅ にぇ にょ ひゃ ひゅ ひぇ ひょ みゃ みゅ みぇ みょ りゃ りゅ りぇ りょ ぎゃ ぎゅ ぎぇ ぎょ うぃ うぇ うぉ つぁ つぃ つぇ つぉ ふぁ ふぃ ふぇ ふぉ びゃ びゅ びぇ びょ ぴゃ ぴゅ ぴぇ ぴょ すぃ てぃ ずぃ でぃ とぅ どぅ でゅ てゅ".split())

# Sounds outside that alphabet, rewritten to the nearest sayable kana.
_RESPELL = [
    ("ゔぁ", "ば"), ("ゔぃ", "び"), ("ゔぇ", "べ"), ("ゔぉ", "ぼ"), ("ゔゅ", "びゅ"), ("ゔ", "ぶ"),
    ("ぢ", "じ"), ("づ", "ず"), ("ゐ", "い"), ("ゑ", "え"), ("ゎ", "わ"),
    ("くぁ", "くあ"), ("ぐぁ", "ぐあ"), ("とぃ", "てぃ"), ("どぃ", "でぃ"), ("ちぃ", "ち"),
    ("しぃ", "し"), ("じぃ", "じ"), ("ひぃ", "ひ"), ("ふゅ", "ひゅ"), ("ふょ", "ひょ"),
    ("いぃ", "い"), ("ゔょ", "びょ"),
]


def sayable(reading):
    """Hiragana reading respelled into the synthesizer's alphabet, or None if that fails."""
    s = to_hiragana(reading).replace("ヴ", "ゔ")
    s = s.replace("\u3094", "ゔ")
    for a, b in _RESPELL:
        s = s.replace(a, b)
    out = []
    for i, ch in enumerate(s):
        if ch in BASE:
            out.append(ch)
        elif ch in SMALL:
            if i > 0 and s[i - 1] + ch in PAIRS:
                out.append(ch)
            else:
                out.append("あいうえおやゆよわ"[SMALL.index(ch)])
        else:
            return None
    return "".join(out) if out else None


def morae_to_chars(reading, morae):
    """Number of characters spanned by the first `morae` morae of a kana reading."""
    n = 0
    count = 0
    for i, ch in enumerate(reading):
        if ch in SMALL and i > 0:
            n = i + 1
            continue
        if count == morae:
            break
        count += 1
        n = i + 1
    if count < morae:
        return None
    # a following small kana belongs to the last mora
    while n < len(reading) and reading[n] in SMALL:
        n += 1
    return n


def cp932_ok(s):
    """True when s survives Shift_JIS unchanged (〜 U+301C would come back as ～ U+FF5E)."""
    try:
        return s.encode("cp932").decode("cp932") == s
    except UnicodeEncodeError:
        return False


def write_ktn(name, lines):
    """Write a dictionary file: Shift_JIS (code page 932), CR LF after every line."""
    data = "".join(line + "\r\n" for line in lines).encode("cp932")
    path = os.path.join(DLL, name)
    with open(path, "wb") as f:
        f.write(data)
    return path, len(data)


def narrow_ascii(s):
    """Full-width ASCII letters and digits to half width."""
    return "".join(chr(ord(c) - 0xFEE0) if 0xFF01 <= ord(c) <= 0xFF5E else c for c in s)
