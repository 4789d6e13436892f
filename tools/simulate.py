#!/usr/bin/env python3
"""Read text the way the reader does, with the dictionaries in dll/, to measure them.

A model of the reader's segmentation, number, English and word-dictionary steps and its
particle rules (accent marks are left out: they do not change the kana). It lets the
generators be checked before, and independently of, the C++ engine.

usage: simulate.py [--tsv GOLD.tsv] [text ...]   (reads stdin lines when no text is given)
"""

import os
import sys

import ktn_common as kc
from make_dic import LISTS

CURRENCY = "\\$￡￠"


def read_ktn(name):
    path = os.path.join(kc.DLL, name)
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        data = f.read().decode("cp932")
    lines = data.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


def narrow(s):
    out = []
    for ch in s:
        o = ord(ch)
        if 0xFF01 <= o <= 0xFF5E:
            out.append(chr(o - 0xFEE0))
        elif ch == "\u3000":
            out.append(" ")
        elif ch == "￥":
            out.append("\\")
        else:
            out.append(ch)
    return "".join(out)


class Reader:
    def __init__(self):
        self.marks = [("|", "｜"), ('"', "、"), ("\u201c", "\u2018"), ("\u201d", "\u2019"),
                      ("\\", "円"), ("$", "ドル"), ("￡", "ポンド"), ("￠", "セント")]
        for line in read_ktn("mrk.ktn") or []:
            f = line.split(" ")
            self.marks.append((f[0], f[1]))
        self.joins = []
        for line in read_ktn("join.ktn") or []:
            f = line.split(" ")
            cols = [(int(x[0]) if x[:1].isdigit() else 0, x[1:]) for x in f[:3]]
            self.joins.append((cols, f[2] == ""))
        self.counters = []
        for line in read_ktn("num.ktn"):
            f = line.split(" ")
            self.counters.append((f[0], f[1], int(f[2]) if f[2].isdigit() else 0))
        self.eng = [dict() for _ in range(5)]
        for line in read_ktn("eng.ktn"):
            f = line.split(" ")
            self.eng[int(f[0])][f[1].lower()] = f[2]
        self.dic = {}
        for line in read_ktn("dic.ktn"):
            f = (line + " ").split(" ")
            self.dic[f[0].lower()] = (f[1].split(","), [int(x) for x in f[2].split(",")])
        self.pos = 0
        self.acc = []
        for line in read_ktn("acc.ktn") or []:
            f = line.split(" ")
            if f[4] == "0":
                self.acc.append((int(f[0]), f[2], f[3]))

    # ---- segmentation
    def join_kind(self, prev, cur, nxt):
        for cols, two in self.joins:
            slots = [cur, nxt] if two else [prev, cur, nxt]
            used = cols[:2] if two else cols
            ok = True
            for (k, lst), (ch, kd) in zip(used, slots):
                if k != kd or (lst and (not ch or ("," + ch) not in lst)):
                    ok = False
                    break
            if ok:
                return used[-1][0]
        return None

    def first_pass(self, text):
        words = []
        w = ""
        nxt = (text[:1], kc.kind(text[0]) if text else 0)
        cur = ("", nxt[1])
        for p in range(len(text)):
            prev = cur
            cur = nxt
            nc = text[p + 1] if p + 1 < len(text) else ""
            nxt = (nc, kc.kind(nc) if nc else 0)
            ch, kd = cur
            if ch in "ヽヾゝゞ〃" and prev[1] in (4, 5, 8):
                if prev[1] == 8:
                    ch = "々"
                elif ch in "ゞヾ":
                    ch = chr(ord(prev[0]) + 1)
                else:
                    ch = prev[0]
            else:
                j = self.join_kind(prev, cur, nxt)
                if j is not None:
                    kd = j
            if prev[1] in (4, 5) and kd == 6:
                kd = prev[1]
                split = False
            else:
                split = prev[1] != kd
            if split:
                words.append((self.norm(w, prev[1]), prev[1]))
                w = ""
            w += ch
            cur = (ch, kd)
        words.append((self.norm(w, cur[1]), cur[1]))
        return words

    @staticmethod
    def norm(w, k):
        if k in (0, 2):
            return narrow(w)
        if k == 3:
            return narrow(w).lower()
        return w

    def split(self, text):
        for key, rep in self.marks:
            if key and key not in CURRENCY:
                text = text.replace(key, rep)
        words = self.first_pass(text)
        tw = []
        i = 0
        n = len(words)
        while i < n:
            w, k = words[i]
            nk = words[i + 1][1] if i + 1 < n else -1
            if w and w[-1] in CURRENCY and nk == 2:
                r = self.marks[4 + CURRENCY.index(w[-1])][1]
                if w[:-1]:
                    tw.append((w[:-1], k))
                tw.append(words[i + 1])
                tw.append((r, kc.kind(r[0])))
                i += 2
                continue
            if k == 0 and w and any(c in CURRENCY for c in w):
                for c in w:
                    if c in CURRENCY:
                        r = self.marks[4 + CURRENCY.index(c)][1]
                        tw.append((r, kc.kind(r[0])))
                    else:
                        tw.append((c, 0))
            elif k == 5:
                tw.append((widen(w), 5))
            else:
                tw.append((w, k))
            i += 1
        out = []
        pk = tw[0][1] if tw else 0
        w = ""
        for t, k in tw:
            if pk in (4, 5) and k == 6:
                k = pk
            elif pk != k:
                out.append([w, pk])
                w = ""
            w += t
            pk = k
        out.append([w, pk])
        return out

    # ---- numbers
    def num(self, bf, wd, kwpos, pos):
        dec = "." in bf
        af_wd = wd
        vtype = 0
        found = False
        if wd:
            for surf, rd, t in self.counters:
                if wd.startswith(surf):
                    if rd:
                        af_wd = rd + wd[len(surf):]
                    vtype = t
                    found = True
                    break
        digit_req = kwpos != 0 and kwpos < pos <= kwpos + 5 and not found
        cls = 0
        if found:
            if af_wd[:1] and af_wd[0] in "かきくけこはひふへほ":
                cls = 1
            if af_wd[:1] and af_wd[0] in "たちつてとさしすせそ":
                cls = 2
            if wd.startswith("年"):
                cls = 3
            if wd.startswith("つ"):
                cls = 4
        return self.number(bf, cls, digit_req, dec), self.voice(af_wd, bf, vtype, dec)

    def voice(self, r, t, v, dec):
        if v == 0 or not r:
            return r
        if len(t) == 1 or dec:
            tail = t[-1]
            if tail == "0":
                tail = ""
        else:
            tail = t[-1]
            for n in (4, 3, 2):
                if len(t) >= n and t[-n:] == "0" * n:
                    tail = t[-n:]
                    break
        table = {"1": (0, 2, 2, 0), "0": (0, 2, 2, 0), "00": (0, 2, 2, 0), "3": (1, 2, 1, 1),
                 "6": (2, 2, 2, 0), "8": (2, 2, 2, 0), "000": (0, 0, 1, 0), "0000": (0, 0, 1, 0)}
        shift = table.get(tail, (0, 0, 0, 0))[v - 1] if 1 <= v <= 4 else 0
        return chr(ord(r[0]) + shift) + r[1:]

    def number(self, text, cls, digit_req, dec):
        if not text:
            return ""
        frac = dec
        head = text.split(".")[0]
        digit = text.count(".") >= 2 or len(head) > 72 or digit_req
        work = narrow(text).replace(",", "").lstrip("0")
        units = ["まん", "おく", "ちょー", "けい", "がい", "じょ", "じょー", "こう", "かん", "せい", "さい",
                 "ごく", "ごうがしゃ", "あそうぎ", "なゆた", "ふかしぎ", "むりょーたいすー"]
        r = ""
        j = 0
        k = 0
        after = False
        L = len(work)
        for idx in range(L - 1, -1, -1):
            c = work[idx]
            j += 1
            if (frac or digit) and j == 4:
                r = "," + r
                j = 0
            if not frac and not digit:
                if j == 1:
                    if c != "0":
                        after = False
                elif j == 2:
                    if c != "0":
                        if after or (r == "" and cls in (1, 2, 4)):
                            r = "じゅっ" + r
                        else:
                            r = "じゅう" + r
                    after = False
                elif j == 3:
                    if c != "0":
                        base = "ひゃっ" if r == "" and cls == 1 else "ひゃく"
                        r = self.voice(base, c, 1, False) + r
                elif j == 4:
                    if c != "0":
                        r = self.voice("せん", c, 4, False) + r
                elif j == 5:
                    k += 1
                    seg = work[max(0, idx - 3):idx + 1]
                    if seg.strip("0") != "" and k <= 17:
                        r = units[k - 1] + "," + r
                    j = 1
            nb = r == ""
            posn = not frac and not digit
            d = ""
            if c == "1":
                if nb and cls == 4:
                    d = "ひと"
                elif nb and cls in (1, 2):
                    d = "いっ"
                elif posn and j == 4:
                    d = "いっ"
                elif j == 1 or not posn:
                    d = "いち"
            elif c == "2":
                d = "ふた" if nb and cls == 4 else ("にー" if not posn and idx != L - 1 else "に")
            elif c == "3":
                d = "みっ" if nb and cls == 4 else "さん"
            elif c == "4":
                d = "よっ" if nb and cls == 4 else ("よ" if nb and cls == 3 else "よん")
            elif c == "5":
                d = "いつ" if nb and cls == 4 else "ご"
            elif c == "6":
                d = "むっ" if nb and cls == 4 else ("ろっ" if (nb and cls == 1) or (posn and j == 3) else "ろく")
            elif c == "7":
                d = "なな"
            elif c == "8":
                d = "やっ" if nb and cls == 4 else ("はっ" if (nb and cls in (1, 2)) or (posn and j in (3, 4)) else "はち")
            elif c == "9":
                d = "ここの" if nb and cls == 4 else "きゅう"
            elif c == "0":
                d = "れー" if not posn else ""
            elif c == ".":
                r = "てん," + r
                after = True
                frac = False
                j = 0
            r = d + r
        if r.endswith(","):
            r = r[:-1]
        elif work == "" and r == "":
            r = "れー"
        elif work.startswith("."):
            r = "れー" + r
        return r

    # ---- English
    def english(self, w):
        t = self.eng
        if not w:
            return ""
        r = t[0].get(w.lower(), "")
        if r:
            return r
        res = ""
        found = False
        n = len(w)
        p = 0
        while p < n:
            start = p == 0 or w[p] not in "aiueo"
            got = ""
            for b in (3, 2):
                piece = w[p:p + b]
                if n > b:
                    if p == n - b:
                        got = t[2].get(piece.lower(), "")
                    if not got and len(piece) == b and start:
                        got = t[1].get(piece.lower(), "")
                    if got:
                        res += got
                        found = True
                        p += len(piece) - 1
                        break
            if not got:
                res += t[3].get(w[p].lower(), "")
            p += 1
        if not found:
            res = "".join(t[4].get(c.lower(), "") for c in w)
        return res

    # ---- kanji words
    def revconv(self, word, before, kana, kinds):
        okuri = kana[:2]
        s = word + okuri
        n = len(okuri)
        prev = before[-1:] if before else ""
        R = ""
        step = 0
        matched_before = False
        while len(s) > n:
            step += 1
            c = len(s)
            entry = None
            while c >= 1:
                entry = self.dic.get(s[:c].lower())
                if entry:
                    break
                c -= 1
            if not entry:
                R += s[0]
                c = 1
            else:
                nxt = s[c] if c >= len(s) - n and c < len(s) else ""
                single = len(word) == 1 and c == 1
                lone = len(word + okuri) == 1
                first_lone = len(word) > 1 and c == 1 and not matched_before
                inner_lone = len(word) > 1 and c == 1 and step > 1
                k = self.select(entry, single, lone, first_lone, inner_lone, prev, nxt, kinds)
                self.pos = entry[1][k] if k < len(entry[1]) else 0
                R += entry[0][k]
                matched_before = True
            s = s[c:]
            prev = ""
        d = n - len(s)
        if d > 0:
            R = R[:-d]
        return R

    def select(self, entry, single, lone, first_lone, inner_lone, prev, nxt, kinds):
        readings, codes = entry
        if len(readings) == 1:
            return 0
        P = self.pos
        K0, K2 = kinds[0], kinds[2]

        def first(pred):
            for i, c in enumerate(codes):
                if pred(c):
                    return i
            return None

        def contains(c, ch):
            # the lists are written with commas, so a comma is in every one of them
            lst = {34: "ただうくするの", 35: "りみにいきしえれめ"}.get(c, LISTS.get(c, ""))
            return bool(lst) and (ch in lst or ch == ",")

        tries = []
        if single and P == -1 and K0 in (2, 3, 5):
            tries.append(lambda: first(lambda c: c == 32 or (c == 23 and K0 == 2)))
        if lone and K2 == 5:
            tries.append(lambda: first(lambda c: c == 25))
        if first_lone:
            tries.append(lambda: first(lambda c: c == 25))
        if P in (16, 17, 18, 19, 30):
            tries.append(lambda: first(lambda c: c == 34))
        if prev:
            tries.append(lambda: first(lambda c: c == 35 and contains(c, prev)))
        elif P in (3, 4, 5):
            tries.append(lambda: first(lambda c: c == 35))
        if prev:
            tries.append(lambda: first(lambda c: c == 34 and contains(c, prev)))
        if P in (27, 29, 31):
            tries.append(lambda: first(lambda c: c == 36))
        if nxt:
            tries.append(lambda: first(lambda c: c not in (34, 35) and contains(c, nxt)))
        if P in (27, 31):
            tries.append(lambda: first(lambda c: c in (27, 31)))
        if inner_lone:
            tries.append(lambda: first(lambda c: c == 33))
            tries.append(lambda: first(lambda c: c == 32))
        tries.append(lambda: first(lambda c: c in (5, 15, 18, 20, 21, 23, 24, 26, 28, 29, 30)))
        for t in tries:
            k = t()
            if k is not None and k < len(readings):
                return k
        return 0

    # ---- the sentence
    def convert(self, sentence):
        ws = self.split(sentence)
        n = len(ws)

        def W(i):
            return ws[i - 1][0] if 1 <= i <= len(ws) else ""

        def K(i):
            return ws[i - 1][1] if 1 <= i <= len(ws) else -1

        kwpos = 0
        for i in range(1, n + 1):
            if any(k in W(i) for k in ("id", "tel", "pass", "address", "郵便番号", "電話番号")):
                kwpos = i
            if K(i) == 2:
                bw = W(i + 1) if i < len(ws) else ""
                a, b = self.num(W(i), bw, kwpos, i)
                kwpos = 0
                ws[i - 1][0] = a
                if i < len(ws):
                    ws[i][0] = b
        for i in range(1, n + 1):
            k = K(i)
            if k == 8:
                kana = W(i + 1) if K(i + 1) == 4 else ""
                ws[i - 1][0] = self.revconv(W(i), W(i - 1), kana, (K(i - 1), k, K(i + 1)))
            elif k == 3:
                ws[i - 1][0] = self.english(W(i))
                self.pos = -1
            elif k == 5:
                ws[i - 1][0] = W(i).replace("ヂ", "ジ").replace("ヅ", "ズ")
                self.pos = -1
            elif k != 4:
                self.pos = -1
        # particles
        c = 0
        for i in range(1, len(ws) + 1):
            w = W(i)
            ln = len(w)
            if K(i) == 7:
                c = 0
            else:
                c += ln
            if w and K(i) == 4:
                for ctx in ["で", "れ", "れら", "また", "こと", "あるい", "ついて", "やつ"]:
                    if "は" in w:
                        w = w.replace(ctx + "は", ctx + "わ")
                if i > 1 and K(i - 1) != 7:
                    f = w[:2]
                    p = w[0] if f and f != "へん" else ""
                    p = {"は": "わ", "へ": "え", "を": "を"}.get(p, "")
                    if p:
                        if c >= 14 and ln > 1 and f not in ("へと", "への", "へも", "をも"):
                            p += "、"
                            c = 0
                        w = p + w[1:]
                p = "" if w[-2:] in ("この", "その", "あの", "どの") else w[-1:]
                if p in ("は", "へ"):
                    p = {"は": "わ", "へ": "え"}[p]
                elif p not in list("かがくてでとどにばもやをの"):
                    p = ""
                if p:
                    if K(i + 1) != 7 and c >= 14:
                        p += "、"
                        c = 0
                    w = w[:-1] + p
            ws[i - 1][0] = w.replace("ぢ", "じ").replace("づ", "ず")
        for wk in ws:
            for k, pat, rep in self.acc:
                if k == wk[1]:
                    wk[0] = wk[0].replace(pat, rep)
        return "/".join(w for w, _ in ws)


def widen(s):
    # half-width katakana to full width, merging voicing marks
    import unicodedata
    return unicodedata.normalize("NFKC", s) if any(0xFF61 <= ord(c) <= 0xFF9F for c in s) else s


def read_line(reader, line):
    out = []
    start = 0
    for i, ch in enumerate(line):
        if ch in "、。？":
            out.append(reader.convert(line[start:i + 1]))
            start = i + 1
    if start < len(line):
        out.append(reader.convert(line[start:]))
    return "".join(out)


def main(argv):
    reader = Reader()
    if len(argv) > 2 and argv[1] == "--tsv":
        with open(argv[2], encoding="utf-8") as f:
            for line in f:
                parts = line.rstrip("\n").split("\t")
                print(parts[0] + "\t" + read_line(reader, parts[1]))
        return 0
    texts = argv[1:] or [l.rstrip("\n") for l in sys.stdin]
    for t in texts:
        print(read_line(reader, t))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
