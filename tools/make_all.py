#!/usr/bin/env python3
"""Rebuild every dictionary file in dll/ and check them. usage: make_all.py"""

import subprocess
import sys
import os

HERE = os.path.dirname(os.path.abspath(__file__))
STEPS = ["make_marks.py", "make_num.py", "make_eng.py", "make_acc.py", "make_dic.py", "check_ktn.py"]

for step in STEPS:
    print(f"== {step}", flush=True)
    if subprocess.run([sys.executable, os.path.join(HERE, step)]).returncode != 0:
        sys.exit(f"{step} failed")
