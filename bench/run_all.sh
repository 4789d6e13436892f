#!/usr/bin/env bash
# Every benchmark in one table: Kotonel side by side with kakasi, MeCab + UniDic and espeak-ng,
# measured in the same run. Installs the peers (and the Japanese text to convert) from Debian
# when they are missing, builds what it runs, and prints the table.
#
# usage: bench/run_all.sh [EVAL_DIR] [--dict DIR] [--chars N]
#   EVAL_DIR  the evaluation set (default: ../shared/eval beside the repository)
#   --dict    dictionary folder (default: build/bin/dll)
#   BUILD_DIR environment variable: the build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

PEERS=(kakasi mecab unidic-mecab espeak-ng debian-reference-ja time)
missing=()
for p in "${PEERS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >&2
fi

BUILD_DIR=${BUILD_DIR:-build}
[ -f "$BUILD_DIR/CMakeCache.txt" ] ||
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target kotonel-say bench_startup bench_synth_file >&2

exec python3 bench/compare.py --say "$BUILD_DIR/bin/kotonel-say" \
  --startup "$BUILD_DIR/bin/bench_startup" --synth "$BUILD_DIR/bin/bench_synth_file" "$@"
