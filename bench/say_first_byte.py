#!/usr/bin/env python3
"""kotonel-say streaming: from starting the process to the first sound byte on its standard
output (--raw: the first sample; -o -: the first byte after the 44-byte header), with the
dictionaries shipped in the build tree. Median and minimum of several runs, in milliseconds.

usage: bench/say_first_byte.py [--bin DIR] [--runs N] [TEXT]
"""
import argparse
import statistics
import subprocess
import time


def first_byte_ms(command, skip):
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.PIPE)
    got = process.stdout.read(skip + 1)
    elapsed = (time.monotonic() - start) * 1000
    process.stdout.read()
    if process.wait() != 0 or len(got) != skip + 1:
        raise SystemExit(f"{' '.join(command)} failed")
    return elapsed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", default="build/bin")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("text", nargs="?", default="今日は良い天気です")
    args = parser.parse_args()
    say = f"{args.bin}/kotonel-say"
    for label, options, skip in (("--raw", ["--raw"], 0), ("-o -", ["-o", "-"], 44)):
        times = [first_byte_ms([say, *options, args.text], skip) for _ in range(args.runs)]
        print(f"kotonel-say {label:5} first sound byte: median {statistics.median(times):6.1f} ms,"
              f" min {min(times):6.1f} ms")


if __name__ == "__main__":
    main()
