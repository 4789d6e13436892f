#!/usr/bin/env python3
"""Very long inputs: each case runs the real programs and reports time, peak memory and outcome.

usage: bench/long_inputs.py [--bin DIR] [--dict DIR] [--case NAME ...] [--timeout S]

Cases:
  text-10mb       a 10 MB UTF-8 text file through kotonel-say -p (whole conversion)
  text-10mb-play  the same file read aloud on the silent device for a while: memory must stay
                  flat however long the reading goes on
  line-100k       one line of 100,000 characters of prose, through kotonel-say -p
  line-100k-bare  one line of 100,000 characters without a single punctuation mark
  settings-50mb-* the desktop program started (offscreen) on a 50 MB settings file of each kind:
                  words (a huge word list), junk (lines of no control), old (the older format),
                  migrate (an old version asking for migration), then closed with SIGTERM
  words-10k       the desktop program started on a word list of 10,000 entries, reading a line
                  its own command line gives it (with the words applied)
  window-10mb     the desktop program told on its command line to read the 10 MB file: time to
                  the first piece spoken, memory while reading on, and closing with SIGTERM
  record-hours    kotonel-say -o recording several hours of speech to a WAV file: the recording
                  goes to disk as it is made, so memory must stay flat however long it gets
A case fails when the program crashes, exits with an error, or does not finish (or, for the
window, does not become idle) within the timeout. Python 3 standard library only.
"""
import argparse
import atexit
import gzip
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from proc_stats import cpu_ticks, status_kb

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DEBIAN_REFERENCE = "/usr/share/debian-reference/debian-reference.ja.txt.gz"
FALLBACK = ("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした"
            "所でニャーニャー泣いていた事だけは記憶している。2024年12月7日、気温は-3.5度、CPUは3個。")


def prose():
    try:
        with gzip.open(DEBIAN_REFERENCE, "rt", encoding="utf-8", errors="replace") as f:
            lines = [l.strip() for l in f if any("\u3040" <= c <= "\u9fff" for c in l)]
        return "".join(lines)
    except OSError:
        return FALLBACK * 200


def run_to_end(cmd, stdin_path, timeout, env=None):
    """Runs cmd on the file to the end; its own peak memory comes from wait4."""
    start = time.monotonic()
    with open(stdin_path, "rb") as stdin, tempfile.TemporaryFile() as out, \
            tempfile.TemporaryFile() as err:
        p = subprocess.Popen(cmd, stdin=stdin, stdout=out, stderr=err, env=env)
        while True:
            pid, status, usage = os.wait4(p.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() - start > timeout:
                p.kill()
                os.wait4(p.pid, 0)
                return f"FAIL: not done after {timeout} s", 0
            time.sleep(0.05)
        wall = time.monotonic() - start
        p.returncode = os.waitstatus_to_exitcode(status)
        if p.returncode:
            err.seek(0)
            return f"FAIL: exit {p.returncode}: {err.read().decode(errors='replace')[:200]}", \
                usage.ru_maxrss
        out.seek(0)
        lines = out.read().count(b"\n")
    return f"ok: {wall:.1f} s, {lines} lines out", usage.ru_maxrss


def play_for(cmd, stdin_path, seconds, env):
    """Starts a real-time silent reading, samples its memory, and stops it."""
    with open(stdin_path, "rb") as stdin:
        p = subprocess.Popen(cmd, stdin=stdin, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, env=env)
        samples = []
        for _ in range(int(seconds)):
            time.sleep(1)
            if p.poll() is not None:
                return f"FAIL: ended early with {p.returncode}", max(samples or [0])
            samples.append(status_kb(p.pid, "VmRSS"))
        p.send_signal(signal.SIGTERM)
        p.wait()
    first, last = samples[min(2, len(samples) - 1)], samples[-1]
    verdict = "ok" if last <= first * 1.2 + 2048 else "FAIL: memory grows"
    return f"{verdict}: RSS {first // 1024} MB after 3 s, {last // 1024} MB after {seconds} s", \
        max(samples)


def window_until_idle(cmd, env, timeout, close=True):
    """Starts the window and waits until it has used no CPU for two seconds (it is waiting in
    its event loop); then closes it with SIGTERM, which saves the settings."""
    start = time.monotonic()
    p = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
    last, still = None, 0.0
    while True:
        time.sleep(0.25)
        if p.poll() is not None:
            return f"FAIL: exited with {p.returncode}: " \
                f"{p.stderr.read().decode(errors='replace')[:200]}", 0
        ticks = cpu_ticks(p.pid)
        still = still + 0.25 if ticks == last else 0.0
        last = ticks
        if still >= 2.0:
            break
        if time.monotonic() - start > timeout:
            p.kill()
            return f"FAIL: still busy after {timeout} s", status_kb(p.pid, "VmHWM")
    ready = time.monotonic() - start - 2.0
    peak = status_kb(p.pid, "VmHWM")
    closed = time.monotonic()
    p.send_signal(signal.SIGTERM)
    try:
        p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        p.kill()
        return f"FAIL: ready after {ready:.1f} s but did not close in {timeout} s", peak
    if p.returncode:
        return f"FAIL: closing ended with {p.returncode}", peak
    return f"ok: ready after {ready:.1f} s, closed in {time.monotonic() - closed:.1f} s", peak


def window_reading(cmd, env, cwd, log, timeout, seconds=15):
    """Starts the window on a reading and reports when its first piece reached the (silent)
    device, its memory while it reads on, and how fast it closes in the middle of it."""
    start = time.monotonic()
    p = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                         env=dict(env, KOTONEL_AUDIO_LOG=log))
    while not (os.path.exists(log) and os.path.getsize(log) > 0):
        time.sleep(0.1)
        if p.poll() is not None:
            return f"FAIL: exited with {p.returncode}", 0
        if time.monotonic() - start > timeout:
            p.kill()
            return f"FAIL: nothing spoken after {timeout} s", 0
    first = time.monotonic() - start
    samples = []
    for _ in range(seconds):
        time.sleep(1)
        samples.append(status_kb(p.pid, "VmRSS"))
    closed = time.monotonic()
    p.send_signal(signal.SIGTERM)
    try:
        p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        p.kill()
        return f"FAIL: did not close within {timeout} s", max(samples)
    with open(log, encoding="utf-8", errors="replace") as f:
        pieces = sum(1 for _ in f)
    grows = samples[-1] > samples[0] * 1.2 + 2048
    return (f"{'FAIL: memory grows' if grows else 'ok'}: first piece after {first:.1f} s, "
            f"{pieces} pieces in {seconds} s, RSS {samples[0] // 1024} -> "
            f"{samples[-1] // 1024} MB, closed in {time.monotonic() - closed:.1f} s",
            max(samples))


def record(cmd, stdin_path, wav, timeout):
    """Records to wav, sampling memory as the recording grows; checks the finished header."""
    start = time.monotonic()
    samples = []
    with open(stdin_path, "rb") as stdin:
        p = subprocess.Popen(cmd + ["-o", wav], stdin=stdin, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
        while True:
            pid, status, usage = os.wait4(p.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() - start > timeout:
                p.kill()
                os.wait4(p.pid, 0)
                return f"FAIL: not done after {timeout} s", max(samples or [0])
            rss = status_kb(p.pid, "VmRSS")
            if rss:
                samples.append(rss)
            time.sleep(0.2)
    wall = time.monotonic() - start
    code = os.waitstatus_to_exitcode(status)
    if code:
        return f"FAIL: exit {code}: {p.stderr.read().decode(errors='replace')[:200]}", \
            usage.ru_maxrss
    size = os.path.getsize(wav)
    with open(wav, "rb") as f:
        header = f.read(44)
    riff, data = int.from_bytes(header[4:8], "little"), int.from_bytes(header[40:44], "little")
    if header[:4] != b"RIFF" or riff != size - 8 or data != size - 44:
        return f"FAIL: header does not match the file's {size} bytes", usage.ru_maxrss
    hours = data / 16000 / 3600
    # Memory once the engine is loaded and the recording under way, against the end.
    early = samples[min(len(samples) - 1, max(5, len(samples) // 10))] if samples else 0
    late = samples[-1] if samples else 0
    flat = usage.ru_maxrss <= early * 1.2 + 2048
    return (f"{'ok' if flat else 'FAIL: memory grows'}: {hours:.1f} h of speech, "
            f"{size // (1024 * 1024)} MB WAV in {wall:.1f} s, RSS {early // 1024} MB early, "
            f"{late // 1024} MB at the end", usage.ru_maxrss)


def settings_file(path, kind, size):
    header = {"migrate": "Kotonel\t1", "old": None}.get(kind, "Kotonel\t3")
    lines, n, i = [], 0, 0
    if header:
        lines.append(header)
    while n < size:
        if kind == "words":
            line = f"lst単語\t\tよみ{i}\t語{i}\t0"
        elif kind == "junk":
            line = f"txtNOPE{i}\t{i}\t" + "あ" * 40
        elif kind == "old":
            line = f"1\tよみ{i}\t語{i}\t0"
        else:  # migrate: lines the migration of an old version removes, among others
            line = "chkCLIP\t\t1" if i % 2 else f"lst単語\t\tよみ{i}\t語{i}\t0"
        lines.append(line)
        n += len(line.encode("cp932")) + 2
        i += 1
    with open(path, "w", encoding="cp932", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--bin", default=os.path.join(ROOT, "build", "bin"))
    ap.add_argument("--dict")
    ap.add_argument("--case", action="append")
    ap.add_argument("--timeout", type=float, default=300)
    args = ap.parse_args()
    say = [os.path.join(args.bin, "kotonel-say")] + (["--dict", args.dict] if args.dict else [])
    gui = os.path.join(args.bin, "Kotonel")
    work = tempfile.mkdtemp(prefix="kotonel-long-")
    atexit.register(shutil.rmtree, work, True)  # the texts and sounds made here are big
    text = prose()
    cases = args.case or ["line-100k", "line-100k-bare", "text-10mb", "text-10mb-play",
                          "record-hours", "words-10k", "window-10mb", "settings-50mb-words", "settings-50mb-junk",
                          "settings-50mb-old", "settings-50mb-migrate"]
    env = dict(os.environ, KOTONEL_AUDIO="null", QT_QPA_PLATFORM="offscreen")

    big = os.path.join(work, "10mb.txt")
    if any(c.startswith("text-10mb") or c == "window-10mb" for c in cases):
        with open(big, "w", encoding="utf-8") as f:
            paragraph, n = text[:2000], 0
            while n < 10 * 1024 * 1024:
                f.write(paragraph + "\n")
                n += len(paragraph.encode()) + 1

    for case in cases:
        if case == "text-10mb":
            result, rss = run_to_end(say + ["-p"], big, args.timeout)
        elif case == "text-10mb-play":
            result, rss = play_for(say, big, 20, env)
        elif case.startswith("line-100k"):
            line = (text * (100000 // len(text) + 1))[:100000]
            if case.endswith("bare"):
                line = "".join(c for c in line if c not in "、。，．,.？?！!「」『』（）() \t")
                line = (line * (100000 // len(line) + 1))[:100000]
            path = os.path.join(work, case + ".txt")
            with open(path, "w", encoding="utf-8") as f:
                f.write(line + "\n")
            result, rss = run_to_end(say + ["-p"], path, args.timeout)
        elif case == "window-10mb":
            config = os.path.join(work, case)
            os.makedirs(config, exist_ok=True)
            with open(os.path.join(config, "Kotonel.ini"), "w", newline="") as f:
                f.write("Kotonel\t3\r\nchkFILE\t\t1\r\n")  # take the command line as a file name
            result, rss = window_reading([gui, "10mb.txt"], dict(env, KOTONEL_CONFIG_DIR=config),
                                         work, os.path.join(work, "pieces.log"), args.timeout)
        elif case == "record-hours":
            # About 66 minutes of speech per 20,000 characters of this prose: 4 hours.
            path = os.path.join(work, case + ".txt")
            body = (text * (80000 // len(text) + 1))[:80000]
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(body[i:i + 200] for i in range(0, len(body), 200)) + "\n")
            wav = os.path.join(work, "hours.wav")
            result, rss = record(say, path, wav, args.timeout)
            if os.path.exists(wav):
                os.unlink(wav)  # hundreds of MB
        elif case.startswith("settings-50mb") or case == "words-10k":
            config = os.path.join(work, case)
            os.makedirs(config, exist_ok=True)
            ini = os.path.join(config, "Kotonel.ini")
            if case == "words-10k":
                with open(ini, "w", encoding="cp932", newline="") as f:
                    f.write("Kotonel\t3\r\n" + "".join(
                        f"lst単語\t\tよみ{i}\t語{i}\t{i % 2}\r\n" for i in range(10000)))
            else:
                settings_file(ini, case.rsplit("-", 1)[1], 50 * 1024 * 1024)
            line = ["語1と語9999と語5000を読む。"] if case == "words-10k" else []
            result, rss = window_until_idle([gui] + line, dict(env, KOTONEL_CONFIG_DIR=config),
                                            args.timeout)
            if os.path.exists(ini):
                result += f", settings file now {os.path.getsize(ini) // 1024} kB"
        else:
            sys.exit(f"unknown case {case}")
        print(f"{case:22s} {result}; peak RSS {rss // 1024} MB", flush=True)


if __name__ == "__main__":
    sys.exit(main())
