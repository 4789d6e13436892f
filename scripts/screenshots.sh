#!/usr/bin/env bash
# Renders Kotonel's windows under a virtual X server into docs/*.png.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake -S . -B "$dir" >/dev/null
cmake --build "$dir" -j2 --target kotonel-screenshots
mkdir -p docs
# The pictures do not depend on the dictionaries; without the shipped ones the engine's small
# test dictionaries do.
dict="$dir/bin/dll/"
[ -f "$dict/num.ktn" ] || dict="$PWD/tests/data/engine/"
KOTONEL_AUDIO=null QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$dir/bin/kotonel-screenshots" docs "$dict"
