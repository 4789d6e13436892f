#!/usr/bin/env python3
"""Check the dictionary files in dll/ against their formats, as the reader loads them.

usage: check_ktn.py [DIR]   (default: dll/ beside tools/). Exit status 1 on any fault.
Checks: Shift_JIS decoding, CR LF line ends with no stray CR or LF, no empty line, the
minimum number of fields, unique keys, codes lists no longer than readings lists, readings
made only of what the synthesizer can say, counters never shadowed by a shorter one before
them, and accent fields that parse.
"""

import os
import re
import sys

import ktn_common as kc
from make_dic import JOIN_KANA

faults = []


def fault(name, n, line, msg):
    faults.append(f"{name}:{n}: {msg}: {line!r}")


def lines_of(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        data = f.read()
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError as e:
        faults.append(f"{name}: not Shift_JIS: {e}")
        return []
    if not text.endswith("\r\n"):
        faults.append(f"{name}: the last line does not end with CR LF")
    lines = text.split("\r\n")[:-1]
    for n, line in enumerate(lines, 1):
        if "\r" in line or "\n" in line:
            fault(name, n, line, "stray CR or LF")
        if line == "":
            fault(name, n, line, "empty line")
    return lines


def sayable_text(s):
    """Kana and the marks the readers may put in a reading (',' after big units)."""
    return bool(s) and kc.sayable(s.replace(",", "")) == kc.to_hiragana(s.replace(",", ""))


ACCENT_ITEM = re.compile(r"^\d+.?$")


def check_dic(folder):
    seen = set()
    for n, line in enumerate(lines_of(folder, "dic.ktn"), 1):
        f = (line + " ").split(" ")
        if len(f) < 3 or f[0] == "":
            fault("dic.ktn", n, line, "fewer than three fields")
            continue
        head = f[0].rstrip(kc.HIRAGANA)
        # (a joining kana between kanji is part of the kanji word: 持ち帰, 買い物)
        if not head or len(f[0]) - len(head) > 2 or any(
                kc.kind(ch) != 8 and not (ch in JOIN_KANA and 0 < i < len(head) - 1 and kc.kind(head[i + 1]) == 8)
                for i, ch in enumerate(head)):
            fault("dic.ktn", n, line, "headword is not kanji and at most two kana")
        key = f[0].lower()
        if key in seen:
            fault("dic.ktn", n, line, "headword repeated")
        seen.add(key)
        readings = f[1].split(",")
        codes = f[2].split(",")
        if not codes or len(codes) > len(readings) or not all(c.isdigit() for c in codes):
            fault("dic.ktn", n, line, "codes do not match readings")
        hira = f[0][len(f[0].rstrip(kc.HIRAGANA)):]
        for r in readings:
            # the okurigana at the end is cut off again when read (the hiragana word says it)
            if not sayable_text(r[: len(r) - len(hira)] if hira else r):
                fault("dic.ktn", n, line, f"reading {r!r} not sayable")
        if hira and not all(r.endswith(hira) for r in readings):
            fault("dic.ktn", n, line, "okurigana missing from a reading")
        if len(f) > 3 and f[3]:
            for el in f[3].split(","):
                if el != "0" and not all(ACCENT_ITEM.match(i) for i in el.split("-")):
                    fault("dic.ktn", n, line, f"accent {el!r} does not parse")
    return len(seen)


def check_num(folder):
    items = []
    for n, line in enumerate(lines_of(folder, "num.ktn"), 1):
        f = line.split(" ")
        if len(f) < 3:
            fault("num.ktn", n, line, "fewer than three fields")
            continue
        if not f[2].isdigit() or int(f[2]) > 6:
            fault("num.ktn", n, line, "voicing type not 0-6")
        # one accent mark: at the start (on the number) or inside (the counter's own)
        if f[1] and (f[1].count("'") > 1 or not sayable_text(f[1].replace("'", ""))):
            fault("num.ktn", n, line, "reading not sayable")
        for m, (s, _) in enumerate(items, 1):
            if f[0].startswith(s):
                fault("num.ktn", n, line, f"shadowed by line {m} ({s})")
        items.append((f[0], f[1]))
    return len(items)


def check_eng(folder):
    keys = [set() for _ in range(5)]
    for n, line in enumerate(lines_of(folder, "eng.ktn"), 1):
        f = line.split(" ")
        if len(f) < 3 or not f[0].isdigit() or int(f[0]) > 4:
            fault("eng.ktn", n, line, "fewer than three fields or table not 0-4")
            continue
        t = int(f[0])
        if f[1].lower() in keys[t]:
            fault("eng.ktn", n, line, "key repeated in its table")
        keys[t].add(f[1].lower())
        if not sayable_text(f[2]):
            fault("eng.ktn", n, line, "reading not sayable")
    if len(keys[0]) < 20000:
        faults.append(f"eng.ktn: table 0 holds only {len(keys[0])} words")
    if set("abcdefghijklmnopqrstuvwxyz") - keys[4]:
        faults.append("eng.ktn: table 4 lacks letters")
    return [len(k) for k in keys]


def check_acc(folder):
    count = 0
    for n, line in enumerate(lines_of(folder, "acc.ktn"), 1):
        f = line.split(" ")
        if len(f) < 5:
            fault("acc.ktn", n, line, "fewer than five fields")
            continue
        if f[4] not in ("0", "1", "2", "3") or (f[4] == "0" and f[2] == ""):
            fault("acc.ktn", n, line, "bad mode or empty pattern")
        # only marks may change or move (accents, boundaries, the flat mark a word hands on), besides the
        # particle は said わ at a word's start (彼らは)
        kana = f[3].replace("'", "").replace("/", "").replace("+", "")
        pattern = f[2].replace("+", "").replace("'", "")
        if f[4] != "0" and kana != pattern and not (f[4] == "1" and kana.replace("わ", "は") == pattern):
            fault("acc.ktn", n, line, "replacement changes the kana")
        count += 1
    return count


def check_marks(folder):
    m = 0
    for n, line in enumerate(lines_of(folder, "mrk.ktn"), 1):
        if len(line.split(" ")) < 2 or line.split(" ")[0] == "":
            fault("mrk.ktn", n, line, "fewer than two fields or empty key")
        m += 1
    j = 0
    for n, line in enumerate(lines_of(folder, "join.ktn"), 1):
        f = line.split(" ")
        if len(f) < 3:
            fault("join.ktn", n, line, "fewer than three fields")
        j += 1
    return m, j


def main(argv):
    folder = argv[1] if len(argv) > 1 else kc.DLL
    print(f"dic.ktn: {check_dic(folder)} headwords")
    print(f"num.ktn: {check_num(folder)} counters")
    print(f"eng.ktn: tables 0-4 hold {check_eng(folder)} keys")
    print(f"acc.ktn: {check_acc(folder)} rules")
    print("mrk.ktn, join.ktn: %d marks, %d join rules" % check_marks(folder))
    for f in faults[:50]:
        print(f)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
