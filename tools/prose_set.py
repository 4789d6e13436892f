#!/usr/bin/env python3
"""Make a prose test set for bench/reading_accuracy.py from Debian's Japanese documents, with
MeCab + UniDic's reading as a silver reference.

usage: prose_set.py reference|faq OUT.tsv
  reference: /usr/share/debian-reference/debian-reference.ja.txt.gz (debian-reference-ja)
  faq:       the Debian FAQ and the Debian Edu manual (debian-faq-ja, debian-edu-doc-ja)
Sentences of 15-70 characters ending in 。, of Japanese only (no Latin letters, digits or
symbols, which the silver reference does not read as a reader would), in a fixed random order.
"""

import glob
import gzip
import random
import re
import subprocess
import sys

SOURCES = {
    "reference": (["/usr/share/debian-reference/debian-reference.ja.txt.gz"], 1, None, "DREF"),
    "faq": (["/usr/share/doc/debian/FAQ/debian-faq.ja.txt.gz"]
            + sorted(glob.glob("/usr/share/doc/debian-edu-doc-ja/**/*.html", recursive=True)),
            2, 600, "FAQ"),
}
NOT_JAPANESE = re.compile(r"[A-Za-z0-9０-９Ａ-Ｚａ-ｚ/\\_\-\"'()\[\]<>=*+:;@#$%&|~{}]")


def text_of(path):
    if path.endswith(".gz"):
        with gzip.open(path, "rt", encoding="utf-8", errors="replace") as f:
            return f.read()
    with open(path, encoding="utf-8", errors="replace") as f:
        return re.sub(r"<[^>]*>", "", f.read())


def sentences(paths):
    out, seen = [], set()
    for path in paths:
        for line in text_of(path).split("\n"):
            for s in re.split(r"(?<=。)", line.strip()):
                s = s.strip()
                if not 15 <= len(s) <= 70 or not s.endswith("。") or NOT_JAPANESE.search(s):
                    continue
                kana_kanji = sum(1 for c in s if "\u3040" <= c <= "\u30ff" or "\u4e00" <= c <= "\u9fff")
                if kana_kanji / len(s) < 0.85 or s in seen:
                    continue
                seen.add(s)
                out.append(s)
    return out


def silver(texts):
    run = subprocess.run(["mecab"], input="\n".join(texts) + "\n", capture_output=True, text=True,
                         check=True)
    readings, cur, ok = [], [], True
    for line in run.stdout.split("\n"):
        if line == "EOS":
            readings.append("".join(cur) if ok else None)
            cur, ok = [], True
            continue
        if "\t" not in line:
            continue
        surface, feature = line.split("\t", 1)
        f = feature.split(",")
        pron = f[9] if len(f) > 9 and f[9] not in ("", "*") else None
        if pron is None:
            if all("\u3040" <= c <= "\u30ff" for c in surface):
                pron = surface
            elif all(not c.isalnum() for c in surface):
                pron = ""
            else:
                ok = False  # a word MeCab does not know: no reference for this sentence
                pron = ""
        cur.append(pron)
    return readings


def main(argv):
    if len(argv) != 3 or argv[1] not in SOURCES:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    paths, seed, limit, prefix = SOURCES[argv[1]]
    texts = sentences(paths)
    random.seed(seed)
    random.shuffle(texts)
    texts = texts[:limit] if limit else texts
    with open(argv[2], "w", encoding="utf-8") as f:
        for i, (s, r) in enumerate(zip(texts, silver(texts))):
            if r:
                f.write(f"{prefix}{i:04d}\t{s}\t{r}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
