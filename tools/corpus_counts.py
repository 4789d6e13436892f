#!/usr/bin/env python3
"""Count how often each kanji word is read which way in Japanese prose, as MeCab with
UniDic reads it, to rank the readings of dic.ktn by use rather than by UniDic's costs alone.

usage: corpus_counts.py > tools/corpus_counts.tsv
Corpus: the Japanese manual pages of Debian's manpages-ja (/usr/share/man/ja), stripped of
their formatting. Needs the mecab and unidic-mecab packages. Output lines:
surface TAB pronunciation TAB part of speech TAB count, for surfaces holding a kanji, seen at least twice.
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


def main():
    text = "\n".join(corpus()) + "\n"
    run = subprocess.run(["mecab"], input=text, capture_output=True, text=True, check=True)
    counts = collections.Counter()
    for line in run.stdout.split("\n"):
        if "\t" not in line:
            continue
        surface, feature = line.split("\t", 1)
        if not any(kc.kind(ch) == 8 for ch in surface):
            continue
        f = next(csv.reader([feature]))
        if len(f) > 9 and f[9] not in ("", "*"):
            counts[(surface, f[9], f[0])] += 1
    for (surface, pron, pos), n in sorted(counts.items()):
        if n >= 2:
            sys.stdout.write(f"{surface}\t{pron}\t{pos}\t{n}\n")


if __name__ == "__main__":
    main()
