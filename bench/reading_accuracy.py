#!/usr/bin/env python3
"""Reading accuracy of kotonel-say on a set of sentences with their careful readings.

usage: bench/reading_accuracy.py [--say PATH] [--dict DIR] [--mode accent|plain]
                                 [--scorer PATH] [--worst N] [--keep HYP.tsv] GOLD.tsv ...

GOLD.tsv: id <TAB> text <TAB> reading, one sentence per line. Every text is converted with
`kotonel-say -p` in one run, and the readings are scored by kana_score.py (by default the one
beside the first GOLD file). Python 3 standard library only.
"""
import argparse
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("gold", nargs="+")
    ap.add_argument("--say", default=os.path.join(ROOT, "build", "bin", "kotonel-say"))
    ap.add_argument("--dict")
    ap.add_argument("--mode", default="accent", choices=["accent", "plain"])
    ap.add_argument("--scorer")
    ap.add_argument("--worst", type=int, default=0)
    ap.add_argument("--keep", help="also write the produced readings to this file")
    args = ap.parse_args()

    status = 0
    for gold in args.gold:
        ids, texts = [], []
        with open(gold, encoding="utf-8") as f:
            for n, line in enumerate(f, 1):
                line = line.rstrip("\r\n")
                if not line:
                    continue
                fields = line.split("\t")
                if len(fields) < 3:
                    sys.exit(f"{gold}:{n}: expected id, text and reading separated by tabs")
                ids.append(fields[0])
                # One sentence is one line of the reader's input.
                texts.append(fields[1].replace("\r", " ").replace("\n", " "))
        cmd = [args.say, "-p", "-m", args.mode]
        if args.dict:
            cmd += ["--dict", args.dict]
        run = subprocess.run(cmd, input="\n".join(texts) + "\n", capture_output=True,
                             text=True, encoding="utf-8")
        if run.returncode != 0:
            sys.exit(f"kotonel-say failed ({run.returncode}): {run.stderr.strip()}")
        readings = run.stdout.split("\n")[: len(texts)]
        if len(readings) != len(texts):
            sys.exit(f"kotonel-say printed {len(readings)} lines for {len(texts)} sentences")
        hyp = args.keep or tempfile.NamedTemporaryFile("w", suffix=".tsv", delete=False).name
        with open(hyp, "w", encoding="utf-8") as f:
            for i, r in zip(ids, readings):
                f.write(f"{i}\t{r}\n")
        scorer = args.scorer or os.path.join(os.path.dirname(os.path.abspath(gold)),
                                             "kana_score.py")
        score_cmd = [sys.executable, scorer, gold, hyp]
        if args.worst:
            score_cmd += ["--worst", str(args.worst)]
        print(f"{os.path.basename(gold)} ({len(texts)} sentences, mode {args.mode}):", flush=True)
        status |= subprocess.run(score_cmd).returncode
        if not args.keep:
            os.unlink(hyp)
    return status


if __name__ == "__main__":
    sys.exit(main())
