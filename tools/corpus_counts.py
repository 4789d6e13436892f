#!/usr/bin/env python3
"""Count how often each kanji word is read which way in Japanese prose, as MeCab with
UniDic reads it, to rank the readings of dic.ktn by use rather than by UniDic's costs alone.

usage: corpus_counts.py > tools/corpus_counts.tsv
Corpus: the Japanese manual pages of Debian's manpages-ja (/usr/share/man/ja), stripped of
their formatting. Needs the mecab and unidic-mecab packages. Output lines:
surface TAB pronunciation TAB part of speech TAB count, for surfaces holding a kanji, seen at least twice,
and (part of speech 連語) runs of kanji that MeCab reads as several words, seen three times, with
"|" between MeCab's words.
"""

import collections
import csv
import glob
import gzip
import re
import subprocess
import sys

import ktn_common as kc

FORMAT = re.compile(r"\\f[BIRP]|\\\(..|\\.")
JAPANESE = re.compile(r"[\u3040-\u30ff\u4e00-\u9fff]")


def corpus():
    lines = []
    for path in sorted(glob.glob("/usr/share/man/ja/man*/*")):
        try:
            with gzip.open(path, "rt", encoding="utf-8", errors="replace") as f:
                text = f.read()
        except OSError:
            continue
        for line in text.split("\n"):
            if line.startswith('.\\"'):
                continue
            line = FORMAT.sub("", re.sub(r"^\.[A-Za-z]*", "", line))
            if JAPANESE.search(line):
                lines.append(line)
    return lines


def kanji_runs(tokens, runs):
    """Count the runs of kanji that MeCab cuts into two or more words of kanji only, with
    their reading: the reader sees such a run as one word."""
    cur = []
    for surface, pron in tokens + [("", None)]:
        if surface and all(kc.kind(ch) == 8 for ch in surface) and pron:
            cur.append((surface, pron))
            continue
        # a token that mixes kanji with kana (見る) ends the run where MeCab ends it, so the
        # run is kept only when the token after it holds no kanji at all
        if len(cur) > 1 and not any(kc.kind(ch) == 8 for ch in surface):
            runs[("|".join(s for s, _ in cur), "".join(p for _, p in cur))] += 1
        cur = []


def main():
    text = "\n".join(corpus()) + "\n"
    run = subprocess.run(["mecab"], input=text, capture_output=True, text=True, check=True)
    counts = collections.Counter()
    runs = collections.Counter()
    tokens = []
    for line in run.stdout.split("\n"):
        if line == "EOS":
            kanji_runs(tokens, runs)
            tokens = []
            continue
        if "\t" not in line:
            continue
        surface, feature = line.split("\t", 1)
        f = next(csv.reader([feature]))
        pron = f[9] if len(f) > 9 and f[9] not in ("", "*") else None
        tokens.append((surface, pron))
        if not any(kc.kind(ch) == 8 for ch in surface):
            continue
        if pron:
            counts[(surface, pron, f[0])] += 1
    for (surface, pron, pos), n in sorted(counts.items()):
        if n >= 2:
            sys.stdout.write(f"{surface}\t{pron}\t{pos}\t{n}\n")
    for (surface, pron), n in sorted(runs.items()):
        if n >= 3:
            sys.stdout.write(f"{surface}\t{pron}\t連語\t{n}\n")


if __name__ == "__main__":
    main()
