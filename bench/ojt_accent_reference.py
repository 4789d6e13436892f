#!/usr/bin/env python3
"""Open JTalk's reading and pitch accent of a set of sentences, as a silver reference.

usage: bench/ojt_accent_reference.py IN.tsv OUT.tsv [--voice FILE.htsvoice] [--dic DIR]

IN.tsv:  id <TAB> text (more columns are ignored), e.g. ../shared/eval/ita-emotion.tsv or a
         prose set of tools/prose_set.py: text that no accent rule was tuned on.
OUT.tsv: id <TAB> text <TAB> kana <TAB> accent string in the notation of jsut-basic-dev.tsv
         (^ start, # phrase boundary, _ pause, ] after the nucleus, $ end), which
         ../shared/eval/accent_score.py takes as its gold. Open JTalk (Debian's open-jtalk and
         open-jtalk-mecab-naist-jdic) is run once per sentence and its full-context labels are
         read back: the morae of each accent phrase, its accent type and the pauses.

Open JTalk scores mora high/low 87% on the human accents of jsut-basic-dev.tsv, so agreement
with it on unseen text shows whether a change of the accent rules carries over beyond the
sentences it was made on; it is no measure of correctness by itself. Python 3 standard
library only.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

ROWS = {"": "あいうえお", "k": "かきくけこ", "g": "がぎぐげご", "s": "さしすせそ", "z": "ざじずぜぞ",
        "t": "たちつてと", "d": "だぢづでど", "n": "なにぬねの", "h": "はひふへほ", "b": "ばびぶべぼ",
        "p": "ぱぴぷぺぽ", "m": "まみむめも", "r": "らりるれろ", "y": "やいゆえよ", "w": "わいうえお",
        "v": "ばびぶべぼ"}
# Consonants whose kana are not a row's (し, ち, つ, じ, ふ and the kana of loanwords).
SPELLED = {"sh": "し", "ch": "ち", "j": "じ", "ts": "つ", "f": "ふ"}
IRREGULAR = {("t", "i"): "てぃ", ("d", "i"): "でぃ", ("t", "u"): "とぅ", ("d", "u"): "どぅ",
             ("w", "i"): "うぃ", ("w", "e"): "うぇ", ("w", "o"): "うぉ", ("y", "e"): "いぇ",
             ("sh", "i"): "し", ("ch", "i"): "ち", ("j", "i"): "じ", ("ts", "u"): "つ", ("f", "u"): "ふ"}
SMALL = {"a": "ゃ", "u": "ゅ", "o": "ょ", "e": "ぇ", "i": "ぃ"}
SMALL_VOWEL = {"a": "ぁ", "i": "ぃ", "u": "ぅ", "e": "ぇ", "o": "ぉ"}


def kana(phonemes):
    """The kana of one mora's phonemes (a devoiced vowel is written in upper case)."""
    if phonemes == ["N"]:
        return "ん"
    if phonemes == ["cl"]:
        return "っ"
    vowel, consonant = phonemes[-1].lower(), "".join(phonemes[:-1])
    if (consonant, vowel) in IRREGULAR:
        return IRREGULAR[(consonant, vowel)]
    if consonant in SPELLED:
        base = SPELLED[consonant]
        return base + (SMALL[vowel] if base in "しちじ" else SMALL_VOWEL[vowel])
    if len(consonant) > 1 and consonant.endswith("y") and consonant[:-1] in ROWS:
        return ROWS[consonant[:-1]][1] + SMALL[vowel]
    return ROWS.get(consonant, "?????")["aiueo".index(vowel)]


def labels(text, dic, voice):
    with tempfile.TemporaryDirectory() as tmp:
        trace = os.path.join(tmp, "trace.txt")
        subprocess.run(["open_jtalk", "-x", dic, "-m", voice, "-ow", os.devnull, "-ot", trace],
                       input=text.encode(), check=True, capture_output=True)
        with open(trace, encoding="utf-8", errors="replace") as f:
            section = f.read().split("[Output label]")[1].strip().split("\n\n")[0]
    return [line.split()[-1] for line in section.split("\n") if "/A:" in line]


def accent_string(text, dic, voice):
    """^ morae with # between accent phrases, _ at a pause and ] after the nucleus, $."""
    morae, last, pause = [], None, False
    for label in labels(text, dic, voice):
        phoneme = re.search(r"-(.+?)\+", label).group(1)
        if phoneme == "sil":
            continue
        if phoneme == "pau":
            pause = True
            continue
        in_phrase = int(re.search(r"/A:[^+]+\+(\d+)\+", label).group(1))
        size, nucleus = (int(x) for x in re.search(r"/F:(\d+)_(\d+)", label).groups())
        # a mora is the phonemes that share a place in the same phrase of the same breath group
        key = (in_phrase, re.search(r"/F:[^/]*", label).group(0), re.search(r"/I:[^/]*", label).group(0))
        if key != last:
            morae.append([in_phrase, [], size, nucleus, pause])
            pause, last = False, key
        morae[-1][1].append(phoneme)
    out = "^"
    for i, (in_phrase, phonemes, size, nucleus, pause_before) in enumerate(morae):
        if i and in_phrase == 1:
            out += "_" if pause_before else "#"
        out += kana(phonemes)
        if in_phrase == nucleus and nucleus != size:  # a fall after the last mora is not marked
            out += "]"
    return out + "$"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("inp")
    ap.add_argument("out")
    ap.add_argument("--dic", default="/var/lib/mecab/dic/open-jtalk/naist-jdic")
    ap.add_argument("--voice", default=os.path.join(ROOT, "dll", "models", "nitech_jp_atr503_m001.htsvoice"))
    args = ap.parse_args()
    done = 0
    with open(args.inp, encoding="utf-8") as src, open(args.out, "w", encoding="utf-8") as dst:
        for line in src:
            cols = line.rstrip("\n").split("\t")
            if len(cols) < 2 or not cols[1]:
                continue
            accent = accent_string(cols[1], args.dic, args.voice)
            plain = re.sub(r"[\^$#_\]]", "", accent)
            dst.write(f"{cols[0]}\t{cols[1]}\t{plain}\t{accent}\n")
            done += 1
    print(f"{done} sentences written to {args.out}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
