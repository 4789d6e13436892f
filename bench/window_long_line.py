#!/usr/bin/env python3
"""A text of one very long line in the desktop program: how long it takes to show it and to
start reading it, and how soon a "/stop_now" sent meanwhile is taken and obeyed.

usage: bench/window_long_line.py [--bin DIR] [--mb N] [--after S] [--timeout S]

The program starts (offscreen, or on $DISPLAY with --x11) on its own command line naming a
file of N MB (default 50) of "あいうえお。" with no line break, taken as a file name (the
setting chkFILE is on in a temporary settings folder): it puts the text into the window and
reads it on the silent audio device. A second start sends "/stop_now" --after seconds later
(default 1, while the text is still going in). Reported:
  first piece    time from the start until the first piece reached the device (no stop sent)
  stop_now taken how long the second start waited until the reading instance took its command
  stopped        time from sending "/stop_now" until the window was idle (the reading over)
  closed         how long SIGTERM takes to close the window with the text in it
  peak RSS       the reading instance's peak memory
Python 3 standard library only.
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from proc_stats import cpu_ticks, status_kb


def wait_idle(p, timeout, quiet=1.0):
    """Seconds until the process has used no CPU for `quiet` seconds (its event loop waits)."""
    start = time.monotonic()
    last, still = None, 0.0
    while time.monotonic() - start < timeout:
        time.sleep(0.1)
        if p.poll() is not None:
            return None
        ticks = cpu_ticks(p.pid)
        still = still + 0.1 if ticks == last else 0.0
        last = ticks
        if still >= quiet:
            return time.monotonic() - start - quiet
    return None


def close(p, timeout):
    began = time.monotonic()
    p.send_signal(signal.SIGTERM)
    try:
        p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        p.kill()
        p.wait()
        return None
    return time.monotonic() - began


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--bin", default=os.path.join(os.path.dirname(os.path.dirname(
        os.path.abspath(__file__))), "build", "bin"))
    ap.add_argument("--mb", type=float, default=50)
    ap.add_argument("--after", type=float, default=1.0)
    ap.add_argument("--timeout", type=float, default=300)
    ap.add_argument("--x11", action="store_true", help="use $DISPLAY instead of offscreen")
    args = ap.parse_args()
    gui = os.path.join(args.bin, "Kotonel")
    work = tempfile.mkdtemp(prefix="kotonel-longline-")
    try:
        config = os.path.join(work, "config")
        os.mkdir(config, 0o700)
        with open(os.path.join(config, "Kotonel.ini"), "w", newline="") as f:
            f.write("Kotonel\t3\r\nchkFILE\t\t1\r\n")  # the command line names a file
        unit = "あいうえお。"
        count = int(args.mb * 1024 * 1024) // len(unit.encode())
        with open(os.path.join(work, "line.txt"), "w", encoding="utf-8") as f:
            f.write(unit * count)
        env = dict(os.environ, KOTONEL_AUDIO="null", KOTONEL_CONFIG_DIR=config)
        if not args.x11:
            env["QT_QPA_PLATFORM"] = "offscreen"
        print(f"one line of {count * len(unit):,} characters ({args.mb:g} MB), "
              f"{'X11 ' + os.environ.get('DISPLAY', '') if args.x11 else 'offscreen'}")

        # 1. Until the first piece is spoken.
        log = os.path.join(work, "pieces.log")
        start = time.monotonic()
        p = subprocess.Popen([gui, "line.txt"], cwd=work, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, env=dict(env, KOTONEL_AUDIO_LOG=log))
        first = None
        while time.monotonic() - start < args.timeout and p.poll() is None:
            if os.path.exists(log) and os.path.getsize(log) > 0:
                first = time.monotonic() - start
                break
            time.sleep(0.05)
        peak = status_kb(p.pid, "VmHWM")
        closed = close(p, args.timeout)
        print(f"  first piece     {first:.2f} s" if first is not None else "  first piece     FAIL")
        print(f"  closed          {closed:.2f} s" if closed is not None else "  closed          FAIL")

        # 2. A stop sent while the text goes in.
        p = subprocess.Popen([gui, "line.txt"], cwd=work, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, env=env)
        time.sleep(args.after)
        sent = time.monotonic()
        rc = subprocess.run([gui, "/stop_now"], cwd=work, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, env=env, timeout=args.timeout).returncode
        taken = time.monotonic() - sent
        idle = wait_idle(p, args.timeout)
        stopped = None if idle is None else time.monotonic() - sent - 1.0
        peak = max(peak, status_kb(p.pid, "VmHWM"))
        close(p, args.timeout)
        print(f"  stop_now taken  {taken:.2f} s (sender exit {rc}), sent {args.after:g} s "
              f"after the start")
        print(f"  stopped         {stopped:.2f} s after sending" if stopped is not None else
              "  stopped         FAIL: still busy")
        print(f"  peak RSS        {peak // 1024} MB")
        return 0 if first is not None and stopped is not None and rc == 0 else 1
    finally:
        shutil.rmtree(work, True)


if __name__ == "__main__":
    sys.exit(main())
