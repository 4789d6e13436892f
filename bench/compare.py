#!/usr/bin/env python3
"""Kotonel side by side with other readers, in one run, as one table.

usage: bench/compare.py [--say PATH] [--startup PATH] [--synth PATH] [--dict DIR] [--chars N]
                        [--voices LIST] [EVAL_DIR]

Figures (each against its peer from the same run, as a ratio Kotonel / peer):
  conversion   characters per CPU second turning Japanese prose into readings:
               kotonel-say -p against kakasi and MeCab with UniDic (pronunciation field)
  synthesis    seconds of speech per CPU second on the same kana: every Kotonel voice
               (its synthesizer, bench_synth_file) against espeak-ng's Japanese voice
  start-up     time from starting the process to the first sound byte of a one-line reading,
               and peak resident memory, against espeak-ng on the same line's kana
  accuracy     character error rate and exact sentences on EVAL_DIR/*.tsv, scored by
               EVAL_DIR/kana_score.py, against kakasi and MeCab with UniDic
CPU times are the children's user + system time; a run on empty input is subtracted from
the conversion and synthesis runs, so start-up costs are counted only in the start-up row.
EVAL_DIR defaults to ../shared/eval beside the repository. Python 3 standard library only.
"""
import argparse
import atexit
import glob
import gzip
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DEBIAN_REFERENCE = "/usr/share/debian-reference/debian-reference.ja.txt.gz"
UNIDIC = "/var/lib/mecab/dic/unidic"
VOICES = ["f1", "f2", "m1", "m2", "r1", "imd1", "dvd", "jgr"]
ONE_LINE = "今日は良い天気ですね、散歩に行きましょうか。"


def run(cmd, stdin_path=None, stdin_text=None, env=None, stdin_bytes=None):
    """Runs cmd to the end; returns its output, the wall time and its error output."""
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.PIPE
    start = time.monotonic()
    p = subprocess.Popen(cmd, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         env=env)
    if stdin_text is not None:
        stdin_bytes = stdin_text.encode()
    out, err = p.communicate(stdin_bytes)
    wall = time.monotonic() - start
    if stdin_path:
        stdin.close()
    if p.returncode:
        sys.exit(f"{' '.join(cmd)} failed ({p.returncode}): {err.decode(errors='replace')}")
    return out, wall, err


def cpu_of(cmd, **kw):
    """The output, CPU seconds (user + system) and wall seconds of one run of cmd."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    out, wall, _ = run(cmd, **kw)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return out, cpu, wall


def japanese_share(s):
    jp = sum(1 for c in s if "\u3040" <= c <= "\u30ff" or "\u4e00" <= c <= "\u9fff")
    return jp / max(1, len(s))


def make_corpus(path, chars):
    """Japanese paragraphs of the Debian Reference, one paragraph a line, about chars long."""
    with gzip.open(DEBIAN_REFERENCE, "rt", encoding="utf-8", errors="replace") as f:
        text = f.read()
    paragraphs, total = [], 0
    for block in re.split(r"\n\s*\n", text):
        line = "".join(part.strip() for part in block.splitlines())
        if len(line) < 20 or japanese_share(line) < 0.5:
            continue
        paragraphs.append(line)
        total += len(line)
    if not paragraphs:
        sys.exit(f"no Japanese prose found in {DEBIAN_REFERENCE}")
    out, n, i = [], 0, 0
    while n < chars:  # repeat the book when more text is asked for than it holds
        out.append(paragraphs[i % len(paragraphs)])
        n += len(out[-1])
        i += 1
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return n


def net_cpu(cmd, corpus, empty, repeat=1):
    best = None
    for _ in range(repeat):
        _, cpu, _ = cpu_of(cmd, stdin_path=corpus)
        best = cpu if best is None else min(best, cpu)
    _, base, _ = cpu_of(cmd, stdin_path=empty)
    return max(best - base, 1e-6)


def wav_seconds(path):
    with wave.open(path, "rb") as w:
        return w.getnframes() / w.getframerate()


def score(scorer, gold, hyp_lines, ids):
    with tempfile.NamedTemporaryFile("w", suffix=".tsv", delete=False, encoding="utf-8") as f:
        for i, r in zip(ids, hyp_lines):
            f.write(f"{i}\t{r}\n")
        hyp = f.name
    out = subprocess.run([sys.executable, scorer, gold, hyp], capture_output=True, text=True)
    os.unlink(hyp)
    m = re.search(r"CER\s*([\d.]+)%.*?exact\s*([\d.]+)%", out.stdout, re.S | re.I)
    if not m:
        sys.exit(f"cannot read the score: {out.stdout} {out.stderr}")
    return float(m.group(1)), float(m.group(2))


def peak_rss_kb(cmd, path):
    """cmd run under GNU time, which writes the peak resident memory (kB) to path: wait4's own
    figure would count the memory of this Python process that the child was forked from."""
    return ["/usr/bin/time", "-f", "%M", "-o", path] + cmd


def read_kb(path):
    with open(path) as f:
        return int(f.read().split()[-1])


def first_sound_byte_espeak(kana, work):
    """Seconds from spawning espeak-ng to its first sample byte, and its peak RSS (kB)."""
    rss = os.path.join(work, "espeak.rss")
    start = time.monotonic()
    p = subprocess.Popen(peak_rss_kb(["espeak-ng", "-v", "ja", "--stdout", kana], rss),
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    got = b""
    while len(got) < 45:  # the 44-byte header, then the first sound byte
        chunk = p.stdout.read1(45 - len(got))
        if not chunk:
            sys.exit("espeak-ng gave no sound")
        got += chunk
    first = time.monotonic() - start
    p.stdout.read()
    p.wait()
    return first, read_kb(rss)


def first_sound_byte_kotonel(startup, dictionary, work):
    rss = os.path.join(work, "kotonel.rss")
    start = time.monotonic()
    p = subprocess.Popen(peak_rss_kb([startup, "--since", repr(start), dictionary, "0", ONE_LINE],
                                     rss), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         text=True)
    out, err = p.communicate()
    if p.returncode:
        sys.exit(f"bench_startup failed: {err}")
    fields = dict(line.split() for line in out.splitlines() if line.strip())
    return float(fields["first_byte_s"]), read_kb(rss), float(fields["engine_s"])


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("eval_dir", nargs="?", default=os.path.join(ROOT, "..", "shared", "eval"))
    ap.add_argument("--say", default=os.path.join(ROOT, "build", "bin", "kotonel-say"))
    ap.add_argument("--startup", default=os.path.join(ROOT, "build", "bin", "bench_startup"))
    ap.add_argument("--synth", default=os.path.join(ROOT, "build", "bin", "bench_synth_file"))
    ap.add_argument("--dict", help="dictionary folder (default: dll/ beside kotonel-say)")
    ap.add_argument("--chars", type=int, default=1500000, help="size of the conversion text")
    ap.add_argument("--voices", default=",".join(VOICES))
    args = ap.parse_args()
    dictionary = args.dict or os.path.join(os.path.dirname(os.path.abspath(args.say)), "dll")
    say = [args.say, "--dict", dictionary]
    eval_dir = os.path.abspath(args.eval_dir)
    golds = sorted(glob.glob(os.path.join(eval_dir, "*.tsv")))
    scorer = os.path.join(eval_dir, "kana_score.py")
    if not golds or not os.path.exists(scorer):
        sys.exit(f"no evaluation set (*.tsv and kana_score.py) in {eval_dir}")

    rows = []  # (figure, Kotonel's value, peer, peer's value, ratio)
    work = tempfile.mkdtemp(prefix="kotonel-bench-")
    atexit.register(shutil.rmtree, work, True)  # the texts and sounds made here are big
    empty = os.path.join(work, "empty.txt")
    open(empty, "w").close()

    # Conversion speed.
    corpus = os.path.join(work, "corpus.txt")
    n = make_corpus(corpus, args.chars)
    print(f"conversion: {n} characters of the Debian Reference (Japanese)", file=sys.stderr)
    k = n / net_cpu(say + ["-p"], corpus, empty, repeat=3)
    # kakasi is given EUC-JP, its own encoding: with -iutf8 it can hang when a character
    # straddles its read buffer. Characters EUC-JP lacks are dropped from its copy.
    peers = {
        "kakasi": (["kakasi", "-JH", "-KH"], "euc_jp"),
        "MeCab+UniDic": (["mecab", "-d", UNIDIC, "-b", "10000000", "-O", "", "-F", "%f[9]", "-U", "%m",
                          "-E", "\\n"], "utf-8"),
    }
    for name, (cmd, encoding) in peers.items():
        source = corpus
        if encoding != "utf-8":
            source = os.path.join(work, f"corpus.{encoding}")
            with open(corpus, encoding="utf-8") as f, open(source, "wb") as g:
                g.write(f.read().encode(encoding, errors="ignore"))
        p = n / net_cpu(cmd, source, empty, repeat=3)
        rows.append(("conversion, chars/CPU s", f"{k:,.0f}", name, f"{p:,.0f}", k / p))

    # Reading accuracy on the evaluation set; the peers read the same sentences.
    for gold in golds:
        ids, texts = [], []
        with open(gold, encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\r\n").split("\t")
                if len(fields) >= 3:
                    ids.append(fields[0])
                    texts.append(fields[1])
        src = "\n".join(texts) + "\n"
        mine = run(say + ["-p"], stdin_text=src)[0].decode().split("\n")[: len(texts)]
        kc, ke = score(scorer, gold, mine, ids)
        name = os.path.basename(gold)
        for peer, (cmd, encoding) in peers.items():
            out = run(cmd, stdin_bytes=src.encode(encoding, errors="ignore"))[0]
            theirs = out.decode(encoding, errors="replace").split("\n")[: len(texts)]
            pc, pe = score(scorer, gold, theirs, ids)
            rows.append((f"{name} CER (lower is better)", f"{kc:.2f}%", peer, f"{pc:.2f}%",
                         kc / pc if pc else float("inf")))
            rows.append((f"{name} sentences exact", f"{ke:.1f}%", peer, f"{pe:.1f}%",
                         ke / pe if pe else float("inf")))

    # Synthesis speed on the same kana: Kotonel's phonetic strings of the text, cut after every
    # pause mark as the engine cuts them, and for espeak-ng the same strings without the accent
    # and phrase marks. Kotonel's figure is its synthesizer alone (bench_synth_file), so the
    # pauses the wave player puts between pieces are not counted as made sound.
    kana = run(say + ["-p"], stdin_path=corpus)[0].decode().split("\n")
    kana_text, total = [], 0
    for line in kana:
        for piece in re.findall(r"[^、。？]+[、。？]?", line):
            if piece.strip() and total < 6000:
                kana_text.append(piece)
                total += len(piece)
    kana_path = os.path.join(work, "kana.txt")
    with open(kana_path, "w", encoding="utf-8") as f:
        f.write("\n".join(kana_text) + "\n")
    plain_path = os.path.join(work, "kana-plain.txt")
    with open(plain_path, "w", encoding="utf-8") as f:
        f.write("\n".join(re.sub(r"['/;+]", "", line) for line in kana_text) + "\n")
    espeak_wav = os.path.join(work, "espeak.wav")
    _, ecpu, _ = cpu_of(["espeak-ng", "-v", "ja", "-f", plain_path, "-w", espeak_wav])
    _, ebase, _ = cpu_of(["espeak-ng", "-v", "ja", "-f", empty, "-w", espeak_wav + "0"])
    e_rate = wav_seconds(espeak_wav) / max(ecpu - ebase, 1e-6)
    out = run([args.synth, kana_path, dictionary, args.voices])[0].decode().split("\n")[1:]
    for line in out:
        if not line.strip():
            continue
        voice, speech, cpu = line.split()
        rate = float(speech) / max(float(cpu), 1e-6)
        rows.append((f"synthesis {voice}, speech s/CPU s", f"{rate:,.0f}", "espeak-ng ja",
                     f"{e_rate:,.0f}", rate / e_rate))
    print(f"synthesis: {total} kana in {len(kana_text)} pieces", file=sys.stderr)

    # Start-up: the median of five runs each.
    plain_line = re.sub(r"['/;+]", "", run(say + ["-p"], stdin_text=ONE_LINE + "\n")[0].decode()
                        .strip())
    ks = [first_sound_byte_kotonel(args.startup, dictionary, work) for _ in range(5)]
    es = [first_sound_byte_espeak(plain_line, work) for _ in range(5)]
    kt, et = statistics.median(x[0] for x in ks), statistics.median(x[0] for x in es)
    km, em = max(x[1] for x in ks), max(x[1] for x in es)
    engine = statistics.median(x[2] for x in ks)
    rows.append(("start-up to first sound byte, ms", f"{kt * 1000:.0f}", "espeak-ng ja",
                 f"{et * 1000:.0f}", kt / et))
    rows.append(("  of which engine construction, ms", f"{engine * 1000:.0f}", "", "", None))
    rows.append(("peak resident memory, MB", f"{km / 1024:.1f}", "espeak-ng ja",
                 f"{em / 1024:.1f}", km / em))

    print(f"Kotonel benchmarks, {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}, "
          f"{os.cpu_count()} CPUs")
    head = ("Figure", "Kotonel", "Peer", "Peer's", "Kotonel/peer")
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(4)]
    print("| " + " | ".join(h.ljust(w) for h, w in zip(head, widths + [12])) + " |")
    print("|" + "|".join("-" * (w + 2) for w in widths + [12]) + "|")
    for figure, mine, peer, theirs, ratio in rows:
        r = "" if ratio is None else f"{ratio:.2f}"
        print(f"| {figure.ljust(widths[0])} | {mine.rjust(widths[1])} | {peer.ljust(widths[2])} "
              f"| {theirs.rjust(widths[3])} | {r.rjust(12)} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
