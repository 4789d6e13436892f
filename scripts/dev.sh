#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   scripts/dev.sh run    install what is missing, build, and run Kotonel
#   scripts/dev.sh test   install what is missing, build, and run every test
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libsdl2-dev libhtsengine-dev fonts-noto-cjk python3 sox clang-14 libclang-rt-14-dev
  speech-dispatcher procps)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

# A few seconds of every fuzz target, from its seeds, when clang with libFuzzer is there.
fuzz_smoke() {
  if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++-14 -fsanitize=fuzzer -x c++ - -o /tmp/kotonel-fuzz-probe 2>/dev/null; then
    echo "clang-14 with libFuzzer not found: fuzz smoke run skipped"
    return 0
  fi
  build build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DKOTONEL_FUZZ=ON -DKOTONEL_TESTS=OFF \
    -DKOTONEL_BENCH=OFF
  local corpus
  corpus=$(mktemp -d)
  for target in build-fuzz/bin/fuzz_*; do
    local name=${target##*/fuzz_}
    mkdir -p "$corpus/$name"
    echo "fuzz smoke: $name"
    if ! QT_QPA_PLATFORM=offscreen "$target" -max_total_time=5 -timeout=30 -rss_limit_mb=2560 \
      -artifact_prefix="$corpus/" "$corpus/$name" "fuzz/seeds/$name" >"$corpus/$name.log" 2>&1; then
      tail -n 40 "$corpus/$name.log"
      echo "fuzz_$name failed; its input is in $corpus"
      exit 1
    fi
    grep -h "^Done" "$corpus/$name.log" || true
  done
  rm -rf "$corpus"
}

case "${1:-}" in
  run)
    install_missing
    build build
    if [ -x build/bin/Kotonel ]; then
      exec build/bin/Kotonel "${@:2}"
    fi
    build/bin/kotonel-say -m phonetic -o kotonel-sample.wav "こんにちわ。"
    echo "Wrote kotonel-sample.wav"
    ;;
  test)
    install_missing
    build build
    fuzz_smoke
    # Once more under AddressSanitizer and UndefinedBehaviorSanitizer, without the windows.
    build build-asan -DKOTONEL_SANITIZE=ON -DKOTONEL_GUI=OFF -DKOTONEL_BENCH=OFF
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$(nproc)" -LE ui)
    # The whole suite last, so its summary closes the output.
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
    ;;
  *)
    echo "usage: scripts/dev.sh run|test" >&2
    exit 2
    ;;
esac
